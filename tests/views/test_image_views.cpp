// The image panes in the window: opening images, zoom buttons, Ctrl+click, dragging, the status
// bar, what each command redraws, and the scale grid controls.
#include "app/SpeomarkWindows.h"
#include "support/TestFiles.h"
#include "app/TPanel.h"
#include "app/TRadioGroup.h"
#include "app/TUpDown.h"
#include "support/ScriptedDialogs.h"
#include "views/TImagePane.h"

#include <QCheckBox>
#include <QFile>
#include <QImageWriter>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>

namespace {

// Scripted dialogs that can also look at the window while a message box is up.
class WatchingDialogs : public ScriptedDialogs
{
public:
    std::function<void()> whileMessageShows;
    void message(QWidget *parent, const QString &caption, const QString &text, MessageIcon icon) override
    {
        if (whileMessageShows)
            whileMessageShows();
        ScriptedDialogs::message(parent, caption, text, icon);
    }
};

QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    const QRgb colours[4] = {qRgb(200, 30, 30), qRgb(30, 160, 40), qRgb(20, 40, 210), qRgb(250, 250, 250)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, colours[(y >= height / 2) * 2 + (x >= width / 2)]);
    return image;
}

QPoint scroll(QScrollArea *box) { return {box->horizontalScrollBar()->value(), box->verticalScrollBar()->value()}; }

void setScroll(QScrollArea *box, QPoint at)
{
    box->horizontalScrollBar()->setValue(at.x());
    box->verticalScrollBar()->setValue(at.y());
}

const QString PlanPixelsMessage = QStringLiteral("Значение количества пикселей для Плана не может быть нулевым!");
const QString PlanScaleMessage = QStringLiteral("Введите корректно значения масштаба для Плана!");
const QString ProfileScaleMessage = QStringLiteral("Введите корректно значения масштаба для Профиля!");

} // namespace

class ImageViews : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openingSetsSizeZoomAndScale();
    void openingWithoutAScaleShowsTheImageThenTheMessage_data();
    void openingWithoutAScaleShowsTheImageThenTheMessage();
    void openingNothingChangesNothing_data();
    void openingNothingChangesNothing();
    void imageTooLargeForMemorySaysSo();
    void formatsOpenThroughTheCommand_data();
    void formatsOpenThroughTheCommand();

    void zoomButtonsStopAtTheirBounds_data();
    void zoomButtonsStopAtTheirBounds();
    void zoomButtonsKeepTheMiddlePoint();
    void zoomButtonsWorkBeforeAnyImage();
    void ctrlClickZoomsAboutTheClickedPoint_data();
    void ctrlClickZoomsAboutTheClickedPoint();
    void dragPansOnlyWhenBothCoordinatesChange_data();
    void dragPansOnlyWhenBothCoordinatesChange();
    void statusBarShowsDisplayedPixels();
    void releaseRedrawsThePanesItConcerns();
    void rightReleaseWithoutShiftOrCtrlPlaces_data();
    void rightReleaseWithoutShiftOrCtrlPlaces();
    void paneShowsTheImageStretched();

    void calibrationFixesTheScaleAndLocks();
    void changeUnlocksAndOkAgainRedraws();
    void rejectedEntriesLockWithAMessage_data();
    void rejectedEntriesLockWithAMessage();
    void panelWaitsForBothSidesToBeValid();
    void textsThatAreNotNumbersStopThePress_data();
    void textsThatAreNotNumbersStopThePress();
    void upDownsStepByOneOrTenAndRedraw();
    void upDownAtItsEndDoesNotRedraw();
    void gridCheckBoxesRedraw();

private:
    void openPlan(const QString &path);
    void openProfile(const QString &path);
    // A marker the next redraw of a pane picks up: the number of stations it shows.
    void setStationCount(int count) { form->StationCount = count; }
    int planShows() const { return form->ImageLeft->snapshot().stations.size(); }
    int profileShows() const { return form->ImageRight->snapshot().stations.size(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<SpeomarkWindows> m_windows;
    TSpeomarkForm *form = nullptr;
    WatchingDialogs *dialogs = nullptr;
};

void ImageViews::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(quarters(1000, 800).save(path(QStringLiteral("plan.png"))));
    QVERIFY(quarters(2000, 1500).save(path(QStringLiteral("large.png"))));
    QVERIFY(quarters(300, 200).save(path(QStringLiteral("profile.png"))));
    QFile text(path(QStringLiteral("notes.png")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Survey notes, not a picture.\n");
}

void ImageViews::init()
{
    m_windows = std::make_unique<SpeomarkWindows>();
    form = &m_windows->SpeomarkForm;
    auto service = std::make_unique<WatchingDialogs>();
    dialogs = service.get();
    form->setDialogService(std::move(service));
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    form->ScrollBox1->resize(400, 300);
    form->ScrollBox2->resize(400, 300);
}

void ImageViews::cleanup()
{
    m_windows.reset();
    form = nullptr;
}

void ImageViews::openPlan(const QString &file)
{
    dialogs->answerFile(file);
    QTest::mouseClick(form->OpenLeftBtn, Qt::LeftButton);
}

void ImageViews::openProfile(const QString &file)
{
    dialogs->answerFile(file);
    QTest::mouseClick(form->OpenRightBtn, Qt::LeftButton);
}

void ImageViews::openingSetsSizeZoomAndScale()
{
    form->PlanZoom = 4.0;
    form->Stations[0].PlanX = 12.5f;
    setStationCount(1);
    openPlan(path(QStringLiteral("plan.png")));
    QCOMPARE(form->PlanImageFileName, path(QStringLiteral("plan.png")));
    QCOMPARE(form->PlanImageWidth, 1000);
    QCOMPARE(form->PlanImageHeight, 800);
    QCOMPARE(form->PlanBitmap.size(), QSize(1000, 800));
    QCOMPARE(form->PlanZoom, 1.0);
    QCOMPARE(form->PlanMetresPerPixel, 0.2);
    QCOMPARE(form->ImageLeft->size(), QSize(1000, 800));
    QVERIFY(form->Panel2->isEnabled());
    QVERIFY(dialogs->messages().isEmpty());
    // The one dialog serves both sides, with its filter.
    QCOMPARE(dialogs->shown[0].dialog.filter, form->OpenDlg1.filter);
    // The plan is drawn with the stations where they were; the profile is not touched.
    QCOMPARE(planShows(), 1);
    QCOMPARE(form->ImageLeft->snapshot().stations[0].x(), 12.5);
    QCOMPARE(profileShows(), 0);
    QCOMPARE(form->ImageRight->size(), QSize(0, 0));

    openProfile(path(QStringLiteral("profile.png")));
    QCOMPARE(form->ProfileImageWidth, 300);
    QCOMPARE(form->ProfileImageHeight, 200);
    QCOMPARE(form->ProfileMetresPerPixel, 0.2);
    QCOMPARE(form->ImageRight->size(), QSize(300, 200));
    QCOMPARE(form->ImageRight->sourcePicture().pixel(10, 10), qRgb(200, 30, 30));
    QCOMPARE(dialogs->fileDialogsShown(), 2);
}

void ImageViews::openingWithoutAScaleShowsTheImageThenTheMessage_data()
{
    QTest::addColumn<QString>("metres");
    QTest::addColumn<QString>("pixels");
    QTest::newRow("zero pixels") << "10" << "0";
    QTest::newRow("pixels not a number") << "10" << "fifty";
    QTest::newRow("metres not a number") << "" << "50";
}

void ImageViews::openingWithoutAScaleShowsTheImageThenTheMessage()
{
    QFETCH(QString, metres);
    QFETCH(QString, pixels);
    form->EditLeftSetka->setText(metres);
    form->EditLeftPixels->setText(pixels);
    form->PlanMetresPerPixel = 0.7;
    form->PlanZoom = 2.0;
    QSize shownDuringMessage;
    dialogs->whileMessageShows = [&] { shownDuringMessage = form->ImageLeft->snapshot().image.size(); };
    openPlan(path(QStringLiteral("plan.png")));
    QCOMPARE(dialogs->messages(), QStringList{PlanPixelsMessage});
    QCOMPARE(dialogs->shown.last().icon, MessageIcon::None);
    QCOMPARE(shownDuringMessage, QSize(1000, 800));
    QVERIFY(!form->Panel2->isEnabled());
    QCOMPARE(form->PlanMetresPerPixel, 0.7);
    QCOMPARE(form->PlanZoom, 1.0);
    QCOMPARE(form->PlanImageWidth, 1000);
    QCOMPARE(form->ImageLeft->size(), QSize(1000, 800));
    QVERIFY(form->ImageLeft->snapshot().gridShown); // drawn, not only shown

    // The profile has its own message.
    form->EditRightPixels->setText(QStringLiteral("0"));
    openProfile(path(QStringLiteral("profile.png")));
    QCOMPARE(dialogs->messages().last(), QStringLiteral("Значение количества пикселей для Профиля не может быть нулевым!"));
}

void ImageViews::openingNothingChangesNothing_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("dialog cancelled") << QString();
    QTest::newRow("not an image") << "notes.png";
    QTest::newRow("missing file") << "gone.png";
}

void ImageViews::openingNothingChangesNothing()
{
    QFETCH(QString, answer);
    openPlan(path(QStringLiteral("plan.png")));
    form->PlanZoom = 2.0;
    form->PlanMetresPerPixel = 0.5;
    form->EditLeftPixels->setText(QStringLiteral("0"));
    const qint64 image = form->PlanBitmap.cacheKey();
    openPlan(answer.isEmpty() ? QString() : path(answer));
    QCOMPARE(dialogs->fileDialogsShown(), 2);
    QVERIFY(dialogs->messages().isEmpty());
    QCOMPARE(form->PlanImageFileName, path(QStringLiteral("plan.png")));
    QCOMPARE(form->PlanBitmap.cacheKey(), image);
    QCOMPARE(form->ImageLeft->snapshot().image.cacheKey(), image);
    QCOMPARE(form->PlanImageWidth, 1000);
    QCOMPARE(form->PlanZoom, 2.0);
    QCOMPARE(form->PlanMetresPerPixel, 0.5);
    QVERIFY(form->Panel2->isEnabled());
}

void ImageViews::imageTooLargeForMemorySaysSo()
{
    if (TestFiles::systemGrantsEveryAllocation())
        QSKIP("this system grants every allocation");
    openPlan(path(QStringLiteral("plan.png")));
    // A PNG header for 900000 x 900000 colour pixels, valid up to its data.
    openPlan(TestFiles::dataPath(QStringLiteral("huge-header.png")));
    QCOMPARE(dialogs->messages(), QStringList{QStringLiteral("Out of memory")});
    QCOMPARE(form->PlanImageFileName, path(QStringLiteral("plan.png")));
    QCOMPARE(form->PlanImageWidth, 1000);
    QCOMPARE(form->ImageLeft->size(), QSize(1000, 800));
}

void ImageViews::formatsOpenThroughTheCommand_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("bmp") << "q.bmp" << QByteArray("bmp") << 0;
    QTest::newRow("jpeg") << "q.jpg" << QByteArray("jpeg") << 12;
    QTest::newRow("tiff") << "q.tif" << QByteArray("tiff") << 0;
    QTest::newRow("webp") << "q.webp" << QByteArray("webp") << 0;
    QTest::newRow("pgm") << "q.pgm" << QByteArray("pgm") << 0;
    QTest::newRow("palette png") << "q8.png" << QByteArray("png") << 0;
    QTest::newRow("gif") << "quarters.gif" << QByteArray("gif") << 0;
}

void ImageViews::formatsOpenThroughTheCommand()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, format);
    QFETCH(int, tolerance);
    QImage source = quarters(64, 48);
    if (format == "pgm")
        source = source.convertToFormat(QImage::Format_Grayscale8);
    if (file == QLatin1String("q8.png"))
        source = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QString name = path(file);
    if (format == "gif") {
        name = TestFiles::dataPath(file);
    } else {
        QImageWriter writer(name, format);
        writer.setQuality(format == "webp" ? 100 : 95);
        QVERIFY2(writer.write(source), qPrintable(writer.errorString()));
    }
    form->CheckBoxLeftSetka->setChecked(false);
    openPlan(name);
    QCOMPARE(form->PlanImageWidth, 64);
    QCOMPARE(form->PlanImageHeight, 48);
    const QImage picture = form->ImageLeft->sourcePicture();
    const QImage expected = source.convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(16, 12), QPoint(48, 12), QPoint(16, 36), QPoint(48, 36)}) {
        const QRgb got = picture.pixel(p);
        const QRgb want = expected.pixel(p);
        QVERIFY2(qAbs(qRed(got) - qRed(want)) <= tolerance && qAbs(qGreen(got) - qGreen(want)) <= tolerance
                     && qAbs(qBlue(got) - qBlue(want)) <= tolerance,
                 qPrintable(QString::number(got, 16)));
    }
}

void ImageViews::zoomButtonsStopAtTheirBounds_data()
{
    QTest::addColumn<bool>("plan");
    QTest::addColumn<bool>("in");
    QTest::addColumn<QList<double>>("zooms");
    const QList<double> out{0.5, 0.25, 0.125, 0.0625, 0.03125, 0.03125};
    const QList<double> in{2.0, 4.0, 8.0, 8.0};
    QTest::newRow("plan minus") << true << false << out;
    QTest::newRow("plan plus") << true << true << in;
    QTest::newRow("profile minus") << false << false << out;
    QTest::newRow("profile plus") << false << true << in;
}

void ImageViews::zoomButtonsStopAtTheirBounds()
{
    QFETCH(bool, plan);
    QFETCH(bool, in);
    QFETCH(QList<double>, zooms);
    if (plan)
        openPlan(path(QStringLiteral("plan.png")));
    else
        openProfile(path(QStringLiteral("plan.png")));
    QToolButton *button = plan ? (in ? form->LeftPlus : form->LeftMinus) : (in ? form->RightPlus : form->RightMinus);
    TImagePane *pane = plan ? form->ImageLeft : form->ImageRight;
    const double &zoom = plan ? form->PlanZoom : form->ProfileZoom;
    setStationCount(2);
    for (const double expected : zooms) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(zoom, expected);
        QCOMPARE(pane->size(), QSize(int(1000 * expected), int(800 * expected)));
    }
    // Only the pane of the button is redrawn.
    QCOMPARE(plan ? planShows() : profileShows(), 2);
    QCOMPARE(plan ? profileShows() : planShows(), 0);
}

void ImageViews::zoomButtonsKeepTheMiddlePoint()
{
    openPlan(path(QStringLiteral("large.png")));
    setScroll(form->ScrollBox1, {100, 50});
    QCOMPARE(scroll(form->ScrollBox1), QPoint(100, 50));
    QTest::mouseClick(form->LeftPlus, Qt::LeftButton);
    QCOMPARE(form->ImageLeft->size(), QSize(4000, 3000));
    QCOMPARE(scroll(form->ScrollBox1), QPoint(2 * 100 + 200, 2 * 50 + 150));
    QTest::mouseClick(form->LeftMinus, Qt::LeftButton);
    QCOMPARE(scroll(form->ScrollBox1), QPoint(400 / 2 - 100, 250 / 2 - 75));
    // Shrunk below the box, the positions are held at 0.
    QTest::mouseClick(form->LeftMinus, Qt::LeftButton);
    QTest::mouseClick(form->LeftMinus, Qt::LeftButton);
    QTest::mouseClick(form->LeftMinus, Qt::LeftButton);
    QCOMPARE(form->ImageLeft->size(), QSize(250, 187));
    QCOMPARE(scroll(form->ScrollBox1), QPoint(0, 0));
}

void ImageViews::zoomButtonsWorkBeforeAnyImage()
{
    QTest::mouseClick(form->LeftPlus, Qt::LeftButton);
    QTest::mouseClick(form->RightMinus, Qt::LeftButton);
    QCOMPARE(form->PlanZoom, 2.0);
    QCOMPARE(form->ProfileZoom, 0.5);
    QCOMPARE(form->ImageLeft->size(), QSize(0, 0));
    openPlan(path(QStringLiteral("plan.png")));
    QCOMPARE(form->PlanZoom, 1.0);
    QCOMPARE(form->ProfileZoom, 0.5);
}

void ImageViews::ctrlClickZoomsAboutTheClickedPoint_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<double>("startZoom");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("scrolled");
    // (500, 400) of a 1000 x 800 image goes to the middle of the 400 x 300 box.
    QTest::newRow("left zooms in") << int(Qt::LeftButton) << 1.0 << QPoint(500, 400) << 2.0 << QPoint(800, 650);
    QTest::newRow("right zooms out") << int(Qt::RightButton) << 1.0 << QPoint(500, 400) << 0.5 << QPoint(50, 50);
    QTest::newRow("middle recentres") << int(Qt::MiddleButton) << 1.0 << QPoint(500, 400) << 1.0 << QPoint(300, 250);
    // Displayed (601, 301) at zoom 2 is source (300, 150), then displayed (1200, 600).
    QTest::newRow("from zoom 2") << int(Qt::LeftButton) << 2.0 << QPoint(601, 301) << 4.0 << QPoint(1000, 450);
    QTest::newRow("left at the top bound") << int(Qt::LeftButton) << 8.0 << QPoint(4000, 3200) << 8.0 << QPoint(3800, 3050);
    QTest::newRow("right at the bottom bound") << int(Qt::RightButton) << 0.03125 << QPoint(10, 10) << 0.03125 << QPoint(0, 0);
}

void ImageViews::ctrlClickZoomsAboutTheClickedPoint()
{
    QFETCH(int, button);
    QFETCH(double, startZoom);
    QFETCH(QPoint, at);
    QFETCH(double, zoom);
    QFETCH(QPoint, scrolled);
    openPlan(path(QStringLiteral("plan.png")));
    form->PlanZoom = startZoom;
    form->DrawPlanView();
    QTest::mousePress(form->ImageLeft, Qt::MouseButton(button), Qt::ControlModifier, at);
    QTest::mouseRelease(form->ImageLeft, Qt::MouseButton(button), Qt::ControlModifier, at);
    QCOMPARE(form->PlanZoom, zoom);
    QCOMPARE(form->ImageLeft->size(), QSize(int(1000 * zoom), int(800 * zoom)));
    QCOMPARE(scroll(form->ScrollBox1), scrolled);

    // The profile pane works the same with its own fields.
    openProfile(path(QStringLiteral("plan.png")));
    form->ProfileZoom = startZoom;
    form->DrawProfileView();
    QTest::mousePress(form->ImageRight, Qt::MouseButton(button), Qt::ControlModifier, at);
    QTest::mouseRelease(form->ImageRight, Qt::MouseButton(button), Qt::ControlModifier, at);
    QCOMPARE(form->ProfileZoom, zoom);
    QCOMPARE(scroll(form->ScrollBox2), scrolled);
}

void ImageViews::dragPansOnlyWhenBothCoordinatesChange_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QPoint>("scrolled");
    QTest::newRow("left drag") << int(Qt::LeftButton) << QPoint(400, 300) << QPoint(350, 280) << QPoint(250, 220);
    QTest::newRow("drag towards the top left") << int(Qt::LeftButton) << QPoint(300, 250) << QPoint(380, 330) << QPoint(120, 120);
    QTest::newRow("same row") << int(Qt::LeftButton) << QPoint(400, 300) << QPoint(230, 300) << QPoint(200, 200);
    QTest::newRow("same column") << int(Qt::LeftButton) << QPoint(400, 300) << QPoint(400, 210) << QPoint(200, 200);
    QTest::newRow("right drag pans too") << int(Qt::RightButton) << QPoint(400, 300) << QPoint(390, 290) << QPoint(210, 210);
    QTest::newRow("plain click") << int(Qt::LeftButton) << QPoint(400, 300) << QPoint(400, 300) << QPoint(200, 200);
}

void ImageViews::dragPansOnlyWhenBothCoordinatesChange()
{
    QFETCH(int, button);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(QPoint, scrolled);
    openPlan(path(QStringLiteral("plan.png")));
    setScroll(form->ScrollBox1, {200, 200});
    QTest::mousePress(form->ImageLeft, Qt::MouseButton(button), Qt::NoModifier, press);
    QCOMPARE(QPoint(form->PlanPressX, form->PlanPressY), press);
    QTest::mouseRelease(form->ImageLeft, Qt::MouseButton(button), Qt::NoModifier, release);
    QCOMPARE(scroll(form->ScrollBox1), scrolled);
    QCOMPARE(form->PlanZoom, 1.0);
}

void ImageViews::statusBarShowsDisplayedPixels()
{
    openPlan(path(QStringLiteral("plan.png")));
    openProfile(path(QStringLiteral("profile.png")));
    form->PlanZoom = 2.0;
    form->DrawPlanView();
    QTest::mouseMove(form->ImageLeft, QPoint(120, 45));
    QCOMPARE(form->statusPanelText(1), QStringLiteral("(120 ; 45)"));
    QTest::mouseMove(form->ImageRight, QPoint(7, 199));
    QCOMPARE(form->statusPanelText(2), QStringLiteral("(7 ; 199)"));
    QCOMPARE(form->statusPanelText(1), QStringLiteral("(120 ; 45)"));
    QVERIFY(form->statusPanelText(0).isEmpty());
    // Dragged beyond the top-left corner, positions go negative.
    form->ImageLeftMouseMove(Qt::NoModifier, -5, -17);
    QCOMPARE(form->statusPanelText(1), QStringLiteral("(-5 ; -17)"));
}

void ImageViews::releaseRedrawsThePanesItConcerns()
{
    openPlan(path(QStringLiteral("plan.png")));
    openProfile(path(QStringLiteral("profile.png")));
    // A plain click on the plan redraws the plan, and the profile while it is "Extended".
    setStationCount(1);
    QTest::mouseClick(form->ImageLeft, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(planShows(), 1);
    QCOMPARE(profileShows(), 1);
    form->ProfileExtended = 0; // "None"
    setStationCount(2);
    QTest::mouseClick(form->ImageLeft, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(planShows(), 2);
    QCOMPARE(profileShows(), 1);
    // A click on the profile redraws both, whatever the profile mode.
    setStationCount(3);
    QTest::mouseClick(form->ImageRight, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QCOMPARE(planShows(), 3);
    QCOMPARE(profileShows(), 3);
    // No click moves the view or the zoom.
    QCOMPARE(scroll(form->ScrollBox1), QPoint(0, 0));
    QCOMPARE(form->PlanZoom, 1.0);
}

void ImageViews::rightReleaseWithoutShiftOrCtrlPlaces_data()
{
    QTest::addColumn<bool>("plan");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("placed");
    QTest::newRow("plan right") << true << int(Qt::RightButton) << int(Qt::NoModifier) << true;
    QTest::newRow("plan right with Alt") << true << int(Qt::RightButton) << int(Qt::AltModifier) << true;
    QTest::newRow("plan right with Shift") << true << int(Qt::RightButton) << int(Qt::ShiftModifier) << false;
    QTest::newRow("plan right with Ctrl") << true << int(Qt::RightButton) << int(Qt::ControlModifier) << false;
    QTest::newRow("plan left") << true << int(Qt::LeftButton) << int(Qt::NoModifier) << false;
    QTest::newRow("profile right") << false << int(Qt::RightButton) << int(Qt::NoModifier) << true;
    QTest::newRow("profile right with Ctrl") << false << int(Qt::RightButton) << int(Qt::ControlModifier) << false;
    QTest::newRow("profile middle") << false << int(Qt::MiddleButton) << int(Qt::NoModifier) << false;
}

void ImageViews::rightReleaseWithoutShiftOrCtrlPlaces()
{
    QFETCH(bool, plan);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(bool, placed);
    openPlan(path(QStringLiteral("plan.png")));
    openProfile(path(QStringLiteral("plan.png")));
    form->PlanZoom = 2.0;
    form->ProfileZoom = 2.0;
    form->DrawPlanView();
    form->DrawProfileView();
    TImagePane *pane = plan ? form->ImageLeft : form->ImageRight;
    // Placed at the zoom in force when the button went down, and a drag both places and pans.
    QTest::mousePress(pane, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), QPoint(121, 70));
    QTest::mouseRelease(pane, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), QPoint(101, 50));
    const Station &pending = form->Stations[0];
    QCOMPARE(plan ? form->PlanPointPlaced : form->ProfilePointPlaced, std::uint8_t(placed));
    QCOMPARE(plan ? pending.PlanX : pending.ProfileX, placed ? 50.5f : 0.0f);
    QCOMPARE(plan ? pending.PlanY : pending.ProfileY, placed ? 25.0f : 0.0f);
    if (!(modifiers & Qt::ControlModifier)) // (Ctrl recentres instead)
        QCOMPARE(scroll(plan ? form->ScrollBox1 : form->ScrollBox2), QPoint(20, 20));
    // The point shows at once on the view it was placed on.
    QCOMPARE(pane->snapshot().pendingShown, placed);
}

void ImageViews::paneShowsTheImageStretched()
{
    // The pane's own pixels: each source pixel becomes a 4 x 4 block, never a blend.
    QImage checker(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    QVERIFY(checker.save(path(QStringLiteral("checker.png"))));
    form->CheckBoxLeftSetka->setChecked(false);
    openPlan(path(QStringLiteral("checker.png")));
    QTest::mouseClick(form->LeftPlus, Qt::LeftButton);
    QTest::mouseClick(form->LeftPlus, Qt::LeftButton);
    const QImage shown = form->ImageLeft->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(256, 192));
    for (int y = 0; y < 192; y += 3)
        for (int x = 0; x < 256; x += 3)
            QCOMPARE(shown.pixel(x, y), checker.pixel(x / 4, y / 4));
}

void ImageViews::calibrationFixesTheScaleAndLocks()
{
    openPlan(path(QStringLiteral("plan.png")));
    form->EditLeftSetka->setText(QStringLiteral("5"));
    form->EditLeftPixels->setText(QStringLiteral("40"));
    setStationCount(1);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(form->PlanMetresPerPixel, 0.125);
    QCOMPARE(form->PlanGridPixels, 40.0);
    QCOMPARE(form->Button1->text(), QStringLiteral("Change"));
    QVERIFY(!form->EditLeftSetka->isEnabled() && !form->EditLeftPixels->isEnabled());
    QVERIFY(form->Panel2->isEnabled());
    QVERIFY(dialogs->messages().isEmpty());
    QCOMPARE(planShows(), 1);
    QCOMPARE(form->ImageLeft->snapshot().gridPixels, 40.0);
    QCOMPARE(profileShows(), 0);

    QTest::mouseClick(form->Button2, Qt::LeftButton);
    QCOMPARE(form->ProfileMetresPerPixel, 0.2);
    QCOMPARE(form->Button2->text(), QStringLiteral("Change"));
    QCOMPARE(profileShows(), 1);
}

void ImageViews::changeUnlocksAndOkAgainRedraws()
{
    openPlan(path(QStringLiteral("plan.png")));
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    setStationCount(1);
    form->PlanMetresPerPixel = 9.0;
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(form->Button1->text(), QStringLiteral("OK"));
    QVERIFY(form->EditLeftSetka->isEnabled() && form->EditLeftPixels->isEnabled());
    QCOMPARE(form->PlanMetresPerPixel, 9.0);
    QCOMPARE(planShows(), 0);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(form->PlanMetresPerPixel, 0.2);
    QCOMPARE(form->Button1->text(), QStringLiteral("Change"));
    QCOMPARE(planShows(), 1);
}

void ImageViews::rejectedEntriesLockWithAMessage_data()
{
    QTest::addColumn<bool>("plan");
    QTest::addColumn<QString>("metres");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<double>("cell");
    QTest::newRow("zero pixels") << true << "10" << "0" << 0.0;
    QTest::newRow("zero metres") << true << "0" << "50" << 50.0;
    QTest::newRow("negative pixels") << true << "10" << "-50" << -50.0;
    QTest::newRow("negative metres") << true << "-1" << "50" << 50.0;
    QTest::newRow("scale overflows") << true << "1e300" << "1e-300" << 1e-300;
    QTest::newRow("scale vanishes") << true << "1e-300" << "1e300" << 1e300;
    QTest::newRow("profile zero pixels") << false << "10" << "0" << 0.0;
}

void ImageViews::rejectedEntriesLockWithAMessage()
{
    QFETCH(bool, plan);
    QFETCH(QString, metres);
    QFETCH(QString, pixels);
    QFETCH(double, cell);
    QPushButton *button = plan ? form->Button1 : form->Button2;
    (plan ? form->EditLeftSetka : form->EditRightSetka)->setText(metres);
    (plan ? form->EditLeftPixels : form->EditRightPixels)->setText(pixels);
    double &scale = plan ? form->PlanMetresPerPixel : form->ProfileMetresPerPixel;
    scale = 0.3;
    setStationCount(1);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(dialogs->messages(), QStringList{plan ? PlanScaleMessage : ProfileScaleMessage});
    QCOMPARE(dialogs->shown.last().icon, MessageIcon::Information);
    QCOMPARE(scale, 0.3);
    QCOMPARE(plan ? form->PlanGridPixels : form->ProfileGridPixels, cell);
    QVERIFY(!form->Panel2->isEnabled());
    QCOMPARE(button->text(), QStringLiteral("Change"));
    QCOMPARE(plan ? planShows() : profileShows(), 1);
}

void ImageViews::panelWaitsForBothSidesToBeValid()
{
    form->EditRightPixels->setText(QStringLiteral("0"));
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    QVERIFY(!form->Panel2->isEnabled());
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(form->PlanMetresPerPixel, 0.2);
    QVERIFY(!form->Panel2->isEnabled()); // the profile's entries are still refused
    QTest::mouseClick(form->Button2, Qt::LeftButton); // Change
    form->EditRightPixels->setText(QStringLiteral("25"));
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    QCOMPARE(form->ProfileMetresPerPixel, 0.4);
    QVERIFY(form->Panel2->isEnabled());
    QCOMPARE(dialogs->messages(), QStringList{ProfileScaleMessage});
}

void ImageViews::textsThatAreNotNumbersStopThePress_data()
{
    QTest::addColumn<QString>("metres");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("otherMetres");
    QTest::addColumn<QString>("otherPixels");
    QTest::addColumn<QString>("error");   // empty: the press goes through
    QTest::addColumn<double>("cell");
    QTest::addColumn<double>("scale");
    // Pixels are read first: nothing is stored.
    QTest::newRow("pixels") << "10" << "x" << "10" << "50" << "'x' is not a valid floating point value" << 50.0 << 0.3;
    QTest::newRow("empty pixels") << "10" << "" << "10" << "50" << "'' is not a valid floating point value" << 50.0 << 0.3;
    // Then the metres: only the cell size is new.
    QTest::newRow("metres") << "ten" << "40" << "10" << "50" << "'ten' is not a valid floating point value" << 40.0 << 0.3;
    // The other side is read after the scale is stored.
    QTest::newRow("other metres") << "10" << "40" << "y" << "50" << "'y' is not a valid floating point value" << 40.0 << 0.25;
    QTest::newRow("other pixels") << "10" << "40" << "5" << "z" << "'z' is not a valid floating point value" << 40.0 << 0.25;
    // ... and its pixels only when its metres are above zero.
    QTest::newRow("other pixels unread") << "10" << "40" << "0" << "z" << "" << 40.0 << 0.25;
}

void ImageViews::textsThatAreNotNumbersStopThePress()
{
    QFETCH(QString, metres);
    QFETCH(QString, pixels);
    QFETCH(QString, otherMetres);
    QFETCH(QString, otherPixels);
    QFETCH(QString, error);
    QFETCH(double, cell);
    QFETCH(double, scale);
    form->EditLeftSetka->setText(metres);
    form->EditLeftPixels->setText(pixels);
    form->EditRightSetka->setText(otherMetres);
    form->EditRightPixels->setText(otherPixels);
    form->PlanMetresPerPixel = 0.3;
    setStationCount(1);
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    QCOMPARE(form->PlanGridPixels, cell);
    QCOMPARE(form->PlanMetresPerPixel, scale);
    if (error.isEmpty()) {
        QVERIFY(dialogs->messages().isEmpty());
        QCOMPARE(form->Button1->text(), QStringLiteral("Change"));
        QCOMPARE(planShows(), 1);
        return;
    }
    QCOMPARE(dialogs->messages(), QStringList{error});
    QCOMPARE(dialogs->shown.last().icon, MessageIcon::Error);
    // Ended where it failed: no redraw, no lock, the panel as it was.
    QCOMPARE(form->Button1->text(), QStringLiteral("OK"));
    QVERIFY(form->EditLeftSetka->isEnabled());
    QCOMPARE(planShows(), 0);
    QVERIFY(form->Panel2->isEnabled());
}

void ImageViews::upDownsStepByOneOrTenAndRedraw()
{
    openPlan(path(QStringLiteral("plan.png")));
    openProfile(path(QStringLiteral("profile.png")));
    struct Case
    {
        TUpDown *spinner;
        bool plan;
        bool horizontal;
    };
    for (const Case &c : {Case{form->GridL2, true, true}, Case{form->GridL1, true, false},
                          Case{form->GridR2, false, true}, Case{form->GridR1, false, false}}) {
        TImagePane *pane = c.plan ? form->ImageLeft : form->ImageRight;
        auto offset = [&] {
            const QPoint origin = pane->snapshot().gridOrigin;
            return c.horizontal ? origin.x() : -origin.y(); // up moves the grid up
        };
        QCOMPARE(c.spinner->increment(), 1); // before the first press
        const QPoint up = c.spinner->arrowCentre(true);
        const QPoint down = c.spinner->arrowCentre(false);
        // The press with Ctrl sets a step of 10 that this very press already takes.
        QTest::mousePress(c.spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QTest::mouseRelease(c.spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QCOMPARE(c.spinner->position(), 10);
        QCOMPARE(offset(), 10);
        // Without Ctrl, back to single pixels, whatever other key is held.
        QTest::mousePress(c.spinner, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, down);
        QTest::mouseRelease(c.spinner, Qt::LeftButton, Qt::NoModifier, down);
        QCOMPARE(c.spinner->position(), 9);
        QCOMPARE(offset(), 9);
        // Held down with Ctrl, every repeat steps ten pixels and redraws.
        QTest::mousePress(c.spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QTRY_VERIFY_WITH_TIMEOUT(c.spinner->position() >= 39, 3000);
        QTest::mouseRelease(c.spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QCOMPARE(c.spinner->position() % 10, 9);
        QCOMPARE(offset(), c.spinner->position());
        // A press with another button sets the step too.
        QTest::mousePress(c.spinner, Qt::RightButton, Qt::NoModifier, up);
        QTest::mouseRelease(c.spinner, Qt::RightButton, Qt::NoModifier, up);
        QCOMPARE(c.spinner->increment(), 1);
    }
}

void ImageViews::upDownAtItsEndDoesNotRedraw()
{
    openPlan(path(QStringLiteral("plan.png")));
    form->GridL2->setPosition(500);
    form->DrawPlanView();
    setStationCount(1);
    const QPoint up = form->GridL2->arrowCentre(true);
    QTest::mouseClick(form->GridL2, Qt::LeftButton, Qt::NoModifier, up);
    QCOMPARE(form->GridL2->position(), 500);
    QCOMPARE(planShows(), 0);
    form->GridL1->setPosition(-500);
    QTest::mouseClick(form->GridL1, Qt::LeftButton, Qt::ControlModifier, form->GridL1->arrowCentre(false));
    QCOMPARE(form->GridL1->position(), -500);
    QCOMPARE(planShows(), 0);
}

void ImageViews::gridCheckBoxesRedraw()
{
    openPlan(path(QStringLiteral("plan.png")));
    openProfile(path(QStringLiteral("profile.png")));
    form->GridL2->setPosition(7);
    QTest::mouseClick(form->CheckBoxLeftSetka, Qt::LeftButton);
    QVERIFY(!form->ImageLeft->snapshot().gridShown);
    QVERIFY(form->ImageRight->snapshot().gridShown);
    QTest::mouseClick(form->CheckBoxLeftSetka, Qt::LeftButton);
    QVERIFY(form->ImageLeft->snapshot().gridShown);
    QCOMPARE(form->ImageLeft->snapshot().gridOrigin, QPoint(7, 0));
    QCOMPARE(form->ImageLeft->snapshot().gridPixels, 50.0);
    QTest::mouseClick(form->CheckBoxRightSetka, Qt::LeftButton);
    QVERIFY(!form->ImageRight->snapshot().gridShown);
}

QTEST_MAIN(ImageViews)
#include "test_image_views.moc"
