// The image panes in the window, with real clicks: opening images through the dialog, the zoom
// buttons and the scroll bars, mouse releases on the panes, the status bar, the painted pane, and
// the scale grid controls. The arithmetic behind them is pinned in test_view_editor.
#include "widgets/UpDown.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QFile>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <functional>

Q_DECLARE_METATYPE(ViewSide)

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

const QString PlanScaleMessage = QStringLiteral("Введите корректно значения масштаба для Плана!");
const QString ProfileScaleMessage = QStringLiteral("Введите корректно значения масштаба для Профиля!");

// The controls of one side, by their designer names.
struct SideNames
{
    const char *open, *pane, *box, *zoomIn, *ok, *metres, *pixels;
};
const SideNames PlanNames{"OpenLeftBtn", "ImageLeft", "ScrollBox1", "LeftPlus", "Button1", "EditLeftSetka", "EditLeftPixels"};
const SideNames ProfileNames{"OpenRightBtn", "ImageRight", "ScrollBox2", "RightPlus", "Button2", "EditRightSetka",
                             "EditRightPixels"};
const SideNames &names(ViewSide side) { return side == ViewSide::Plan ? PlanNames : ProfileNames; }

} // namespace

class ImageViews : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void openingThroughTheDialog();
    void openingWithoutAScaleShowsTheImageThenTheMessage();
    void openingNothingChangesNothing_data();
    void openingNothingChangesNothing();
    void imageTooLargeForMemorySaysSo();

    void zoomButtonsMoveTheScrollBars();
    void zoomingOutNearTheFarEdge();
    void releasesOnThePanes_data();
    void releasesOnThePanes();
    void statusBarShowsScanPixelsAndMetres();
    void paneShowsTheImageStretched();

    void scaleButtonsLockAndReport_data();
    void scaleButtonsLockAndReport();
    void gridControlsShiftAndHideTheGrid();

private:
    void open(ViewSide side, const QString &file)
    {
        f->dialogs().answerFile(file);
        f->click(names(side).open);
        f->waitForImages();
    }
    ImagePane *pane(ViewSide side) { return f->control<ImagePane>(names(side).pane); }
    QScrollArea *box(ViewSide side) { return f->control<QScrollArea>(names(side).box); }
    QWidget *lowerPanel() { return f->control<QWidget>("Panel2"); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> f;
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
    f = std::make_unique<WindowFixture>();
    box(ViewSide::Plan)->resize(400, 300);
    box(ViewSide::Profile)->resize(400, 300);
}

void ImageViews::cleanup()
{
    f.reset();
}

void ImageViews::openingThroughTheDialog()
{
    f->fillStations(1);
    open(ViewSide::Plan, path(QStringLiteral("plan.png")));
    const ViewSettings &plan = f->document().view(ViewSide::Plan);
    QCOMPARE(plan.imagePath, path(QStringLiteral("plan.png")));
    QCOMPARE(plan.image.size(), QSize(1000, 800));
    QCOMPARE(plan.calibration.metresPerPixel, 0.2);
    QCOMPARE(pane(ViewSide::Plan)->size(), QSize(1000, 800));
    QCOMPARE(pane(ViewSide::Plan)->snapshot().stations.size(), 1); // drawn with the stations
    QCOMPARE(pane(ViewSide::Profile)->size(), QSize(0, 0));
    QVERIFY(lowerPanel()->isEnabled());
    // The station was placed with no scale; the program offers to put its metres right.
    QCOMPARE(f->dialogs().messages().size(), 1);
    QVERIFY(f->dialogs().messages()[0].startsWith(
        QStringLiteral("Пересчитать положение пикетов (1) листа «")));

    open(ViewSide::Profile, path(QStringLiteral("profile.png")));
    QCOMPARE(f->document().view(ViewSide::Profile).calibration.metresPerPixel, 0.2);
    QCOMPARE(pane(ViewSide::Profile)->size(), QSize(300, 200));
    QCOMPARE(pane(ViewSide::Profile)->sourcePicture().pixel(60, 60), qRgb(200, 30, 30));
    QCOMPARE(pane(ViewSide::Profile)->sourcePicture().pixel(290, 190), qRgb(250, 250, 250));
    // Each side has its own dialog, with the images filter; the profile's does not start at the
    // plan's file.
    QList<FileDialog> shown;
    for (const ScriptedDialogs::Shown &dialog : std::as_const(f->dialogs().shown))
        if (dialog.kind == ScriptedDialogs::Shown::Kind::FileDialog)
            shown.append(dialog.dialog);
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[0].filter.startsWith(QStringLiteral("Изображения (")));
    QCOMPARE(shown[1].filter, shown[0].filter);
    QVERIFY(shown[1].fileName.isEmpty());
}

void ImageViews::openingWithoutAScaleShowsTheImageThenTheMessage()
{
    auto service = std::make_unique<WatchingDialogs>();
    WatchingDialogs *dialogs = service.get();
    f->window().setDialogService(std::move(service));
    f->type("EditLeftPixels", QStringLiteral("0"));
    QSize shownDuringMessage;
    dialogs->whileMessageShows = [&] { shownDuringMessage = pane(ViewSide::Plan)->snapshot().image.size(); };
    dialogs->answerFile(path(QStringLiteral("plan.png")));
    f->click("OpenLeftBtn");
    f->waitForImages();
    QCOMPARE(dialogs->messages(), QStringList{QStringLiteral("Значение количества пикселей для Плана не может быть нулевым!")});
    QCOMPARE(dialogs->shown.last().icon, MessageIcon::None);
    QCOMPARE(shownDuringMessage, QSize(1000, 800));
    QVERIFY(!lowerPanel()->isEnabled());
    QCOMPARE(pane(ViewSide::Plan)->size(), QSize(1000, 800));

    // The profile has its own message.
    f->type("EditRightPixels", QStringLiteral("0"));
    dialogs->answerFile(path(QStringLiteral("profile.png")));
    f->click("OpenRightBtn");
    f->waitForImages();
    QCOMPARE(dialogs->messages().last(), QStringLiteral("Значение количества пикселей для Профиля не может быть нулевым!"));
}

void ImageViews::openingNothingChangesNothing_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("message");
    QTest::newRow("dialog cancelled") << QString() << QString();
    QTest::newRow("not an image") << "notes.png" << "Не удаётся прочитать изображение плана %1: Неподдерживаемый формат изображения.";
}

void ImageViews::openingNothingChangesNothing()
{
    QFETCH(QString, answer);
    QFETCH(QString, message);
    open(ViewSide::Plan, path(QStringLiteral("plan.png")));
    f->click("LeftPlus");
    f->type("EditLeftPixels", QStringLiteral("0")); // a new open would complain
    const qint64 image = f->document().view(ViewSide::Plan).image.cacheKey();
    open(ViewSide::Plan, answer.isEmpty() ? QString() : path(answer));
    QCOMPARE(f->dialogs().fileDialogsShown(), 2);
    QCOMPARE(f->dialogs().messages(), message.isEmpty() ? QStringList() : QStringList{message.arg(path(answer))});
    QCOMPARE(f->document().view(ViewSide::Plan).imagePath, path(QStringLiteral("plan.png")));
    QCOMPARE(f->document().view(ViewSide::Plan).image.cacheKey(), image);
    QCOMPARE(pane(ViewSide::Plan)->snapshot().image.cacheKey(), image);
    QCOMPARE(f->document().view(ViewSide::Plan).zoom, 2.0);
    QCOMPARE(pane(ViewSide::Plan)->size(), QSize(2000, 1600));
    QVERIFY(lowerPanel()->isEnabled());
}

void ImageViews::imageTooLargeForMemorySaysSo()
{
    if (TestFiles::systemGrantsEveryAllocation())
        QSKIP("this system grants every allocation");
    open(ViewSide::Plan, path(QStringLiteral("plan.png")));
    // A PNG header for 900000 x 900000 colour pixels, valid up to its data.
    open(ViewSide::Plan, TestFiles::dataPath(QStringLiteral("huge-header.png")));
    QCOMPARE(f->dialogs().messages(), QStringList{QStringLiteral("Не удаётся прочитать изображение плана %1: Не хватает памяти.")
                                                       .arg(TestFiles::dataPath(QStringLiteral("huge-header.png")))});
    QCOMPARE(f->document().view(ViewSide::Plan).imagePath, path(QStringLiteral("plan.png")));
    QCOMPARE(pane(ViewSide::Plan)->size(), QSize(1000, 800));
}

void ImageViews::zoomButtonsMoveTheScrollBars()
{
    // Before any image the zoom changes all the same.
    f->click("RightMinus");
    QCOMPARE(f->document().view(ViewSide::Profile).zoom, 0.5);
    f->click("RightPlus");
    f->click("RightPlus");
    QCOMPARE(f->document().view(ViewSide::Profile).zoom, 2.0);

    open(ViewSide::Plan, path(QStringLiteral("large.png")));
    QScrollArea *plan = box(ViewSide::Plan);
    setScroll(plan, {100, 50});
    QCOMPARE(scroll(plan), QPoint(100, 50));
    f->click("LeftPlus");
    QCOMPARE(pane(ViewSide::Plan)->size(), QSize(4000, 3000));
    QCOMPARE(scroll(plan), QPoint(2 * 100 + 200, 2 * 50 + 150));
    f->click("LeftMinus");
    QCOMPARE(scroll(plan), QPoint(400 / 2 - 100, 250 / 2 - 75));
    // Shrunk below the box, the positions are held at 0.
    for (int i = 0; i < 3; ++i)
        f->click("LeftMinus");
    QCOMPARE(pane(ViewSide::Plan)->size(), QSize(250, 187));
    QCOMPARE(scroll(plan), QPoint(0, 0));
    QCOMPARE(f->document().view(ViewSide::Profile).zoom, 2.0);
}

void ImageViews::zoomingOutNearTheFarEdge()
{
    // The scroll position is halved as the bars hold it once the pane has shrunk: scrolled to the
    // far corner, zooming out lands half-way back, not at the new far corner.
    open(ViewSide::Plan, path(QStringLiteral("large.png")));
    f->click("LeftPlus");
    QScrollArea *plan = box(ViewSide::Plan);
    setScroll(plan, {100000, 100000});
    f->click("LeftMinus");
    const QPoint shrunkMaximum(plan->horizontalScrollBar()->maximum(), plan->verticalScrollBar()->maximum());
    QCOMPARE(scroll(plan), QPoint(shrunkMaximum.x() / 2 - 100, shrunkMaximum.y() / 2 - 75));
}

// The mouse on the panes reaches the pane input and what it decides is shown: a pan, a zoom, a
// point placed. Every gesture's rule is a row of test_pane_input.
void ImageViews::releasesOnThePanes_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<double>("zoom");     // 2 before
    QTest::addColumn<QPoint>("scrolled"); // from (200, 200)
    QTest::addColumn<QPointF>("placed");  // the pending station's point on the view; (0, 0) = none
    const int left = Qt::LeftButton, right = Qt::RightButton, none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("plan: drag pans") << ViewSide::Plan << left << none << QPoint(400, 300) << QPoint(350, 280)
                                     << 2.0 << QPoint(250, 220) << QPointF();
    QTest::newRow("profile: Ctrl+right zooms out") << ViewSide::Profile << right << ctrl << QPoint(1000, 800) << QPoint(1000, 800)
                                                   << 1.0 << QPoint(300, 250) << QPointF();
    // A right button places where it is released and never pans.
    QTest::newRow("plan: right drag places") << ViewSide::Plan << right << none << QPoint(421, 270) << QPoint(401, 250)
                                             << 2.0 << QPoint(200, 200) << QPointF(200.5, 125);
}

void ImageViews::releasesOnThePanes()
{
    QFETCH(ViewSide, side);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(double, zoom);
    QFETCH(QPoint, scrolled);
    QFETCH(QPointF, placed);
    open(side, path(QStringLiteral("plan.png")));
    f->click(names(side).zoomIn);
    setScroll(box(side), {200, 200});
    QTest::mousePress(pane(side), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), press);
    QCOMPARE(f->session().pressPoint(side), press);
    QTest::mouseMove(pane(side), release);
    QTest::mouseRelease(pane(side), Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers), release);
    QCOMPARE(f->document().view(side).zoom, zoom);
    QCOMPARE(pane(side)->size(), QSize(int(1000 * zoom), int(800 * zoom)));
    QCOMPARE(scroll(box(side)), scrolled);
    const Station &pending = f->document().stations().pending();
    QCOMPARE(side == ViewSide::Plan ? QPointF(pending.planX, pending.planY) : QPointF(pending.profileX, pending.profileY), placed);
    QCOMPARE(f->session().pointPlaced(side), !placed.isNull());
    QCOMPARE(pane(side)->snapshot().pendingShown, !placed.isNull()); // shown at once
}

// The status bar tells where the mouse is on the scan, whatever the zoom, and in metres once
// the drawing has a scale.
void ImageViews::statusBarShowsScanPixelsAndMetres()
{
    open(ViewSide::Plan, path(QStringLiteral("plan.png")));
    open(ViewSide::Profile, path(QStringLiteral("profile.png")));
    f->document().editView(ViewSide::Plan, [](ViewSettings &view) {
        view.zoom = 2.0;
        view.calibration.metresPerPixel = 0.25;
    });
    f->document().editView(ViewSide::Profile, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.0; });
    QTest::mouseMove(pane(ViewSide::Plan), QPoint(120, 45));
    QCOMPARE(f->window().positionText(ViewSide::Plan), QStringLiteral("(60 ; 22)  15.00 ; 5.63 м"));
    QTest::mouseMove(pane(ViewSide::Profile), QPoint(7, 199));
    QCOMPARE(f->window().positionText(ViewSide::Profile), QStringLiteral("(7 ; 199)"));
    QCOMPARE(f->window().positionText(ViewSide::Plan), QStringLiteral("(60 ; 22)  15.00 ; 5.63 м"));
    // Dragged beyond the top-left corner, positions go negative.
    f->window().moveOnPane(ViewSide::Plan, Qt::NoButton, QPoint(-5, -17));
    QCOMPARE(f->window().positionText(ViewSide::Plan), QStringLiteral("(-3 ; -9)  -0.63 ; -2.13 м"));
}

void ImageViews::paneShowsTheImageStretched()
{
    // The pane's own pixels: each source pixel becomes a 4 x 4 block, never a blend.
    QImage checker(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    QVERIFY(checker.save(path(QStringLiteral("checker.png"))));
    f->click("CheckBoxLeftSetka");
    open(ViewSide::Plan, path(QStringLiteral("checker.png")));
    f->click("LeftPlus");
    f->click("LeftPlus");
    const QImage shown = pane(ViewSide::Plan)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(256, 192));
    for (int y = 0; y < 192; y += 3)
        for (int x = 0; x < 256; x += 3)
            QCOMPARE(shown.pixel(x, y), checker.pixel(x / 4, y / 4));
}

void ImageViews::scaleButtonsLockAndReport_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<QString>("message"); // empty: none
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("locked");
    QTest::newRow("plan accepted") << ViewSide::Plan << "40" << QString() << 0 << true;
    QTest::newRow("profile accepted") << ViewSide::Profile << "25" << QString() << 0 << true;
    QTest::newRow("plan refused") << ViewSide::Plan << "0" << PlanScaleMessage << int(MessageIcon::Information) << true;
    QTest::newRow("profile refused") << ViewSide::Profile << "-5" << ProfileScaleMessage << int(MessageIcon::Information) << true;
}

void ImageViews::scaleButtonsLockAndReport()
{
    QFETCH(ViewSide, side);
    QFETCH(QString, pixels);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(bool, locked);
    const SideNames &n = names(side);
    auto *metresEdit = f->control<QLineEdit>(n.metres);
    auto *pixelsEdit = f->control<QLineEdit>(n.pixels);
    f->type(n.pixels, pixels);
    f->click(n.ok);
    if (message.isEmpty()) {
        QVERIFY(f->dialogs().messages().isEmpty());
        QCOMPARE(f->document().view(side).calibration.metresPerPixel, 10.0 / pixels.toDouble());
        QCOMPARE(pane(side)->snapshot().gridPixels, pixels.toDouble());
    } else {
        QCOMPARE(f->dialogs().messages(), QStringList{message});
        QCOMPARE(int(f->dialogs().shown.last().icon), icon);
    }
    QCOMPARE(lowerPanel()->isEnabled(), message.isEmpty() || !locked);
    QCOMPARE(f->session().gridLocked(side), locked);
    QCOMPARE(metresEdit->isEnabled(), !locked);
    QCOMPARE(pixelsEdit->isEnabled(), !locked);
    if (!locked)
        return;
    // "Change" gives the entries back.
    f->click(n.ok);
    QVERIFY(!f->session().gridLocked(side));
    QVERIFY(metresEdit->isEnabled() && pixelsEdit->isEnabled());
}

void ImageViews::gridControlsShiftAndHideTheGrid()
{
    open(ViewSide::Plan, path(QStringLiteral("plan.png")));
    open(ViewSide::Profile, path(QStringLiteral("profile.png")));
    struct Case
    {
        const char *name;
        ViewSide side;
        bool horizontal;
    };
    for (const Case &c : {Case{"GridL2", ViewSide::Plan, true}, Case{"GridL1", ViewSide::Plan, false},
                          Case{"GridR2", ViewSide::Profile, true}, Case{"GridR1", ViewSide::Profile, false}}) {
        auto *spinner = f->control<UpDown>(c.name);
        auto offset = [&] {
            const QPoint origin = pane(c.side)->snapshot().gridOrigin;
            return c.horizontal ? origin.x() : -origin.y(); // up moves the grid up
        };
        auto stored = [&] {
            const ViewSettings &view = f->document().view(c.side);
            return c.horizontal ? view.gridShiftRight : view.gridShiftUp;
        };
        const QPoint up = spinner->arrowCentre(true);
        const QPoint down = spinner->arrowCentre(false);
        // The press with Ctrl sets a step of 10 that this very press already takes.
        QTest::mousePress(spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QTest::mouseRelease(spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QCOMPARE(spinner->position(), 10);
        QCOMPARE(offset(), 10);
        QCOMPARE(stored(), 10);
        // Without Ctrl, back to single pixels, whatever other key is held.
        QTest::mousePress(spinner, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, down);
        QTest::mouseRelease(spinner, Qt::LeftButton, Qt::NoModifier, down);
        QCOMPARE(offset(), 9);
        // Held down with Ctrl, every repeat steps ten pixels and shows.
        QTest::mousePress(spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QTRY_VERIFY_WITH_TIMEOUT(spinner->position() >= 39, 3000);
        QTest::mouseRelease(spinner, Qt::LeftButton, Qt::ControlModifier, up);
        QCOMPARE(spinner->position() % 10, 9);
        QCOMPARE(offset(), spinner->position());
        // A press with another button sets the step too.
        QTest::mousePress(spinner, Qt::RightButton, Qt::NoModifier, up);
        QTest::mouseRelease(spinner, Qt::RightButton, Qt::NoModifier, up);
        QCOMPARE(spinner->increment(), 1);
    }
    // At its ends the shift stays.
    auto *right = f->control<UpDown>("GridL2");
    f->document().editView(ViewSide::Plan, [](ViewSettings &view) { view.gridShiftRight = 500; });
    QTest::mouseClick(right, Qt::LeftButton, Qt::NoModifier, right->arrowCentre(true));
    QCOMPARE(f->document().view(ViewSide::Plan).gridShiftRight, 500);
    auto *upward = f->control<UpDown>("GridL1");
    f->document().editView(ViewSide::Plan, [](ViewSettings &view) { view.gridShiftUp = -495; });
    QTest::mouseClick(upward, Qt::LeftButton, Qt::ControlModifier, upward->arrowCentre(false));
    QCOMPARE(f->document().view(ViewSide::Plan).gridShiftUp, -500);
    QCOMPARE(pane(ViewSide::Plan)->snapshot().gridOrigin, QPoint(500, 500));

    // The check boxes hide each view's grid, and only that one.
    f->click("CheckBoxLeftSetka");
    QVERIFY(!f->document().view(ViewSide::Plan).gridShown);
    QVERIFY(!pane(ViewSide::Plan)->snapshot().gridShown);
    QVERIFY(pane(ViewSide::Profile)->snapshot().gridShown);
    f->click("CheckBoxRightSetka");
    QVERIFY(!pane(ViewSide::Profile)->snapshot().gridShown);
    f->click("CheckBoxLeftSetka");
    QVERIFY(pane(ViewSide::Plan)->snapshot().gridShown);
}

QTEST_MAIN(ImageViews)
#include "test_image_views.moc"
