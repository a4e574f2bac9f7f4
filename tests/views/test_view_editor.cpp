// What the view strip and the panes do to a view, without a window: opening a scan, the zoom and
// scroll arithmetic of the buttons and of a mouse release, and fixing the scale from the grid entries.
#include "survey/CommandError.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "views/ScaleCalibration.h"
#include "views/ViewEditor.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(ViewSide)
Q_DECLARE_METATYPE(ViewEditor::Opened)
Q_DECLARE_METATYPE(ScaleCalibration::Outcome)

namespace {

constexpr ViewSide Plan = ViewSide::Plan;
constexpr ViewSide Profile = ViewSide::Profile;
ViewSide other(ViewSide side) { return side == Plan ? Profile : Plan; }

} // namespace

class ViewEditorTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void openingReadsTheScanAndTakesTheScale_data();
    void openingReadsTheScanAndTakesTheScale();
    void zoomButtonsKeepTheMiddleAndStopAtTheirBounds_data();
    void zoomButtonsKeepTheMiddleAndStopAtTheirBounds();
    void releasePansAndCtrlZoomsAboutThePoint_data();
    void releasePansAndCtrlZoomsAboutThePoint();
    void wheelKeepsThePointUnderTheCursor_data();
    void wheelKeepsThePointUnderTheCursor();
    void aRightReleaseWithoutCtrlPlacesAPoint_data();
    void aRightReleaseWithoutCtrlPlacesAPoint();

    void okTakesTheEntriesOrRefusesThem_data();
    void okTakesTheEntriesOrRefusesThem();
    void changeUnlocksWithoutReadingTheEntries();
    void lowerPanelWaitsForBothViews();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void setEntries(ViewSide side, const QString &metres, const QString &pixels)
    {
        document->setGridEntries(side, metres, pixels);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SurveyDocument> document;
    std::unique_ptr<EditSession> session;
};

void ViewEditorTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage image(1000, 800, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 30));
    QVERIFY(image.save(path(QStringLiteral("plan.png"))));
    QFile text(path(QStringLiteral("notes.png")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Survey notes, not a picture.\n");
}

void ViewEditorTest::init()
{
    document = std::make_unique<SurveyDocument>();
    session = std::make_unique<EditSession>();
}

void ViewEditorTest::openingReadsTheScanAndTakesTheScale_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("metres");
    QTest::addColumn<QString>("pixels");
    QTest::addColumn<ViewEditor::Opened>("opened");
    QTest::addColumn<double>("scale");
    using O = ViewEditor::Opened;
    QTest::newRow("plan") << Plan << "plan.png" << "10" << "50" << O::Opened << 0.2;
    QTest::newRow("profile") << Profile << "plan.png" << "5" << "25" << O::Opened << 0.2;
    // Without a scale the image is opened all the same and the old scale stays. A scale no project
    // can hold (it would mirror the legs or make them endless) is none.
    QTest::newRow("negative metres") << Plan << "plan.png" << "-1" << "50" << O::OpenedWithoutScale << 0.7;
    QTest::newRow("above 100000 m/px") << Profile << "plan.png" << "200001" << "2" << O::OpenedWithoutScale << 0.7;
    QTest::newRow("100000 m/px") << Profile << "plan.png" << "200000" << "2" << O::Opened << 100000.0;
    QTest::newRow("zero pixels") << Plan << "plan.png" << "10" << "0" << O::OpenedWithoutScale << 0.7;
    QTest::newRow("profile zero pixels") << Profile << "plan.png" << "10" << "0" << O::OpenedWithoutScale << 0.7;
    QTest::newRow("pixels not a number") << Plan << "plan.png" << "10" << "fifty" << O::OpenedWithoutScale << 0.7;
    QTest::newRow("metres not a number") << Plan << "plan.png" << "" << "50" << O::OpenedWithoutScale << 0.7;
    QTest::newRow("quotient overflows") << Plan << "plan.png" << "1e300" << "1e-300" << O::OpenedWithoutScale << 0.7;
    // Nothing read, nothing changed, and the message names the file and the reason.
    QTest::newRow("not an image") << Plan << "notes.png" << "10" << "0" << O::Nothing << 0.7;
    QTest::newRow("missing file") << Profile << "gone.png" << "10" << "0" << O::Nothing << 0.7;
}

void ViewEditorTest::openingReadsTheScanAndTakesTheScale()
{
    QFETCH(ViewSide, side);
    QFETCH(QString, file);
    QFETCH(QString, metres);
    QFETCH(QString, pixels);
    QFETCH(ViewEditor::Opened, opened);
    QFETCH(double, scale);
    QImage before(5, 5, QImage::Format_RGB32);
    before.fill(Qt::green);
    for (const ViewSide s : {Plan, Profile})
        document->editView(s, [&](ViewSettings &view) {
            view.image = before;
            view.imagePath = QStringLiteral("before.png");
            view.zoom = s == side ? 2.0 : 0.5;
            view.calibration.metresPerPixel = 0.7;
        });
    setEntries(side, metres, pixels);
    setEntries(other(side), QStringLiteral("0"), QStringLiteral("0")); // only the side's own entries count

    if (opened == ViewEditor::Opened::Nothing) {
        const QString message = file == QLatin1String("notes.png")
            ? QStringLiteral("Cannot read plan image %1: Unsupported image format.")
            : QStringLiteral("Cannot read profile image %1: No such file or directory.");
        try {
            ViewEditor(*document, *session).openImage(side, path(file));
            QFAIL("no message");
        } catch (const CommandError &error) {
            QCOMPARE(error.message(), message.arg(path(file)));
        }
    } else {
        QCOMPARE(ViewEditor(*document, *session).openImage(side, path(file)), opened);
    }
    const ViewSettings &view = document->view(side);
    QCOMPARE(view.calibration.metresPerPixel, scale);
    QCOMPARE(session->lowerPanelEnabled(), opened != ViewEditor::Opened::OpenedWithoutScale);
    if (opened == ViewEditor::Opened::Nothing) {
        QCOMPARE(view.imagePath, QStringLiteral("before.png"));
        QCOMPARE(view.image.cacheKey(), before.cacheKey());
        QCOMPARE(view.zoom, 2.0);
    } else {
        QCOMPARE(view.imagePath, path(file));
        QCOMPARE(view.image.size(), QSize(1000, 800));
        QCOMPARE(view.image.pixel(999, 799), qRgb(200, 30, 30));
        QCOMPARE(view.zoom, 1.0);
    }
    const ViewSettings &untouched = document->view(other(side));
    QCOMPARE(untouched.zoom, 0.5);
    QCOMPARE(untouched.image.cacheKey(), before.cacheKey());
    QCOMPARE(untouched.calibration.metresPerPixel, 0.7);
}

void ViewEditorTest::zoomButtonsKeepTheMiddleAndStopAtTheirBounds_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<bool>("in");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<double>("newZoom");
    QTest::addColumn<QPoint>("newScroll");
    // The middle of the box stays: in, scroll x 2 + half the box; out, half - a quarter.
    QTest::newRow("in") << Plan << true << 1.0 << QPoint(100, 50) << QSize(400, 300) << 2.0 << QPoint(400, 250);
    QTest::newRow("out") << Profile << false << 2.0 << QPoint(400, 250) << QSize(400, 300) << 1.0 << QPoint(100, 50);
    QTest::newRow("in, odd numbers") << Profile << true << 1.0 << QPoint(101, 51) << QSize(401, 301) << 2.0 << QPoint(402, 252);
    QTest::newRow("out, odd numbers") << Plan << false << 1.0 << QPoint(101, 51) << QSize(401, 303) << 0.5 << QPoint(-50, -50);
    // The bound is tested before the step: 4 still doubles, 1/16 still halves.
    QTest::newRow("in from 4") << Plan << true << 4.0 << QPoint(0, 0) << QSize(400, 300) << 8.0 << QPoint(200, 150);
    QTest::newRow("in from 8") << Profile << true << 8.0 << QPoint(7, 9) << QSize(400, 300) << 8.0 << QPoint(7, 9);
    QTest::newRow("out from 1/16") << Plan << false << 0.0625 << QPoint(0, 0) << QSize(400, 300) << 0.03125 << QPoint(-100, -75);
    QTest::newRow("out from 1/32") << Profile << false << 0.03125 << QPoint(7, 9) << QSize(400, 300) << 0.03125 << QPoint(7, 9);
}

void ViewEditorTest::zoomButtonsKeepTheMiddleAndStopAtTheirBounds()
{
    QFETCH(ViewSide, side);
    QFETCH(bool, in);
    QFETCH(double, zoom);
    QFETCH(QPoint, scroll);
    QFETCH(QSize, box);
    QFETCH(double, newZoom);
    QFETCH(QPoint, newScroll);
    document->editView(side, [&](ViewSettings &view) { view.zoom = zoom; });
    ViewEditor editor(*document, *session);
    const bool stepped = in ? editor.zoomIn(side) : editor.zoomOut(side);
    const QPoint scrolled = !stepped ? scroll : in ? ZoomPan::scrollAfterZoomIn(scroll, box)
                                                   : ZoomPan::scrollAfterZoomOut(scroll, box);
    QCOMPARE(scrolled, newScroll);
    QCOMPARE(document->view(side).zoom, newZoom);
    QCOMPARE(document->view(other(side)).zoom, 1.0);
}

void ViewEditorTest::releasePansAndCtrlZoomsAboutThePoint_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<double>("newZoom");
    QTest::addColumn<QPoint>("newScroll");
    const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton;
    const int none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    // From scroll (200, 200) in a 400 x 300 box. Dragging pans while the mouse moves; a release
    // without Ctrl leaves the view where it is.
    QTest::newRow("left drag") << Plan << left << none << 1.0 << QPoint(400, 300) << QPoint(350, 280) << 1.0 << QPoint(200, 200);
    QTest::newRow("right drag") << Profile << right << none << 1.0 << QPoint(400, 300) << QPoint(390, 290) << 1.0 << QPoint(200, 200);
    // Ctrl: the released point, in source pixels, goes to the middle of the box at the new zoom.
    QTest::newRow("Ctrl+left zooms in") << Plan << left << ctrl << 1.0 << QPoint(500, 400) << QPoint(500, 400) << 2.0 << QPoint(800, 650);
    QTest::newRow("Ctrl+right zooms out") << Profile << right << ctrl << 1.0 << QPoint(500, 400) << QPoint(500, 400) << 0.5 << QPoint(50, 50);
    QTest::newRow("Ctrl+middle recentres") << Plan << middle << ctrl << 1.0 << QPoint(500, 400) << QPoint(500, 400) << 1.0 << QPoint(300, 250);
    // Displayed (601, 301) at zoom 2 is source (300, 150), then displayed (1200, 600).
    QTest::newRow("Ctrl from zoom 2") << Plan << left << ctrl << 2.0 << QPoint(601, 301) << QPoint(601, 301) << 4.0 << QPoint(1000, 450);
    QTest::newRow("Ctrl+left at the top bound") << Profile << left << ctrl << 8.0 << QPoint(4000, 3200) << QPoint(4000, 3200) << 8.0 << QPoint(3800, 3050);
    QTest::newRow("Ctrl+right at the bottom bound") << Plan << right << ctrl << 0.03125 << QPoint(10, 10) << QPoint(10, 10) << 0.03125 << QPoint(-190, -140);
    QTest::newRow("Ctrl drag recentres on the release") << Plan << left << ctrl << 1.0 << QPoint(400, 300) << QPoint(500, 400) << 2.0 << QPoint(800, 650);
}

void ViewEditorTest::releasePansAndCtrlZoomsAboutThePoint()
{
    QFETCH(ViewSide, side);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(double, zoom);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(double, newZoom);
    QFETCH(QPoint, newScroll);
    document->editView(side, [&](ViewSettings &view) { view.zoom = zoom; });
    session->setPressPoint(side, press);
    session->setPressPoint(other(side), QPoint(-1000, -1000)); // each pane has its own press
    const ZoomPan::PaneView view = ViewEditor(*document, *session)
                                       .release(side, QPoint(200, 200), QSize(400, 300), Qt::MouseButton(button),
                                                Qt::KeyboardModifiers(modifiers), release);
    QCOMPARE(view.zoom, newZoom);
    QCOMPARE(view.scroll, newScroll);
    QCOMPARE(document->view(side).zoom, newZoom);
    QCOMPARE(document->view(other(side)).zoom, 1.0);
}

void ViewEditorTest::wheelKeepsThePointUnderTheCursor_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("scroll");
    QTest::addColumn<QPoint>("cursor");
    QTest::addColumn<double>("notches");
    QTest::addColumn<double>("newZoom");
    QTest::addColumn<QPoint>("newScroll");
    // Source (300, 250) is under the cursor at (100, 50) of the box.
    QTest::newRow("one notch in") << 1.0 << QPoint(200, 200) << QPoint(100, 50) << 1.0 << 1.25 << QPoint(275, 263);
    QTest::newRow("one notch out") << 1.0 << QPoint(200, 200) << QPoint(100, 50) << -1.0 << 0.8 << QPoint(140, 150);
    QTest::newRow("three notches") << 1.0 << QPoint(200, 200) << QPoint(100, 50) << 3.0 << 1.953125 << QPoint(486, 438);
    QTest::newRow("held at 8") << 8.0 << QPoint(80, 40) << QPoint(10, 10) << 1.0 << 8.0 << QPoint(80, 40);
    QTest::newRow("held at 1/32") << 0.03125 << QPoint(0, 0) << QPoint(10, 10) << -1.0 << 0.03125 << QPoint(0, 0);
    QTest::newRow("past 8 stops at 8") << 7.0 << QPoint(700, 700) << QPoint(0, 0) << 1.0 << 8.0 << QPoint(800, 800);
    QTest::newRow("a touchpad's half notch") << 1.0 << QPoint(0, 0) << QPoint(0, 0) << 0.5 << std::sqrt(1.25) << QPoint(0, 0);
}

void ViewEditorTest::wheelKeepsThePointUnderTheCursor()
{
    QFETCH(double, zoom);
    QFETCH(QPoint, scroll);
    QFETCH(QPoint, cursor);
    QFETCH(double, notches);
    QFETCH(double, newZoom);
    QFETCH(QPoint, newScroll);
    document->editView(Plan, [&](ViewSettings &view) { view.zoom = zoom; });
    const ZoomPan::PaneView view = ViewEditor(*document, *session)
                                       .zoomAt(Plan, std::pow(ZoomPan::WheelStep, notches), cursor, scroll, QSize(400, 300));
    QCOMPARE(view.zoom, newZoom);
    QCOMPARE(view.scroll, newScroll);
    QCOMPARE(document->view(Plan).zoom, newZoom);
}

void ViewEditorTest::aRightReleaseWithoutCtrlPlacesAPoint_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("places");
    QTest::newRow("right") << int(Qt::RightButton) << int(Qt::NoModifier) << true;
    QTest::newRow("right with Alt") << int(Qt::RightButton) << int(Qt::AltModifier) << true;
    QTest::newRow("right with Shift") << int(Qt::RightButton) << int(Qt::ShiftModifier) << true;
    QTest::newRow("right with Ctrl") << int(Qt::RightButton) << int(Qt::ControlModifier) << false;
    QTest::newRow("left") << int(Qt::LeftButton) << int(Qt::NoModifier) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << int(Qt::NoModifier) << false;
}

void ViewEditorTest::aRightReleaseWithoutCtrlPlacesAPoint()
{
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(bool, places);
    QCOMPARE(ZoomPan::placesPoint(Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers)), places);
}

void ViewEditorTest::okTakesTheEntriesOrRefusesThem_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<QStringList>("entries");   // metres, pixels; the other view's metres, pixels
    QTest::addColumn<QString>("outcome");       // accepted, refused, or the error that stops the press
    QTest::addColumn<double>("cell");
    QTest::addColumn<double>("scale");          // 0.3 before
    QTest::addColumn<bool>("panel");            // disabled before
    const QStringList valid{"10", "50"};
    QTest::newRow("accepted") << Plan << QStringList{"5", "40"} + valid << "accepted" << 40.0 << 0.125 << true;
    QTest::newRow("profile accepted") << Profile << QStringList{"10", "50"} + valid << "accepted" << 50.0 << 0.2 << true;
    // Refused: locked all the same, the cell follows the pixels, the scale stays.
    QTest::newRow("zero pixels") << Plan << QStringList{"10", "0"} + valid << "refused" << 0.0 << 0.3 << false;
    QTest::newRow("zero metres") << Plan << QStringList{"0", "50"} + valid << "refused" << 50.0 << 0.3 << false;
    QTest::newRow("negative pixels") << Plan << QStringList{"10", "-50"} + valid << "refused" << -50.0 << 0.3 << false;
    QTest::newRow("negative metres") << Plan << QStringList{"-1", "50"} + valid << "refused" << 50.0 << 0.3 << false;
    QTest::newRow("scale overflows") << Plan << QStringList{"1e300", "1e-300"} + valid << "refused" << 1e-300 << 0.3 << false;
    QTest::newRow("above 100000 m/px") << Plan << QStringList{"100001", "1"} + valid << "refused" << 1.0 << 0.3 << false;
    QTest::newRow("scale vanishes") << Plan << QStringList{"1e-300", "1e300"} + valid << "refused" << 1e300 << 0.3 << false;
    QTest::newRow("profile zero pixels") << Profile << QStringList{"10", "0"} + valid << "refused" << 0.0 << 0.3 << false;
    // Not a number: the press ends where the text is read. Pixels first: nothing is stored.
    QTest::newRow("pixels") << Plan << QStringList{"10", "x", "10", "50"} << "'x' is not a valid floating point value" << 50.0 << 0.3 << false;
    QTest::newRow("empty pixels") << Plan << QStringList{"10", "", "10", "50"} << "'' is not a valid floating point value" << 50.0 << 0.3 << false;
    // Then the metres: only the cell is new.
    QTest::newRow("metres") << Plan << QStringList{"ten", "40", "10", "50"} << "'ten' is not a valid floating point value" << 40.0 << 0.3 << false;
    // The other view is read after the scale is stored, its pixels only when its metres are above zero.
    QTest::newRow("other metres") << Plan << QStringList{"10", "40", "y", "50"} << "'y' is not a valid floating point value" << 40.0 << 0.25 << false;
    QTest::newRow("other pixels") << Profile << QStringList{"10", "40", "5", "z"} << "'z' is not a valid floating point value" << 40.0 << 0.25 << false;
    QTest::newRow("other pixels unread") << Plan << QStringList{"10", "40", "0", "z"} << "accepted" << 40.0 << 0.25 << false;
}

void ViewEditorTest::okTakesTheEntriesOrRefusesThem()
{
    QFETCH(ViewSide, side);
    QFETCH(QStringList, entries);
    QFETCH(QString, outcome);
    QFETCH(double, cell);
    QFETCH(double, scale);
    QFETCH(bool, panel);
    setEntries(side, entries[0], entries[1]);
    setEntries(other(side), entries[2], entries[3]);
    for (const ViewSide s : {Plan, Profile})
        document->editView(s, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.3; });
    session->setLowerPanelEnabled(false);
    QString error;
    ScaleCalibration::Outcome result = ScaleCalibration::Outcome::Unlocked;
    try {
        result = ScaleCalibration(*document, *session).pressOkOrChange(side);
    } catch (const CommandError &e) {
        error = e.message();
    }
    QCOMPARE(document->view(side).calibration.gridPixels, cell);
    QCOMPARE(document->view(side).calibration.metresPerPixel, scale);
    QCOMPARE(session->lowerPanelEnabled(), panel);
    QCOMPARE(document->view(other(side)).calibration.metresPerPixel, 0.3);
    QCOMPARE(document->view(other(side)).calibration.gridPixels, 50.0);
    QVERIFY(!session->gridLocked(other(side)));
    if (outcome == QLatin1String("accepted") || outcome == QLatin1String("refused")) {
        QVERIFY(error.isEmpty());
        QCOMPARE(result, outcome == QLatin1String("accepted") ? ScaleCalibration::Outcome::Accepted
                                                             : ScaleCalibration::Outcome::Refused);
        QVERIFY(session->gridLocked(side));
    } else {
        QCOMPARE(error, outcome);
        QVERIFY(!session->gridLocked(side));
    }
}

void ViewEditorTest::changeUnlocksWithoutReadingTheEntries()
{
    ScaleCalibration calibration(*document, *session);
    QCOMPARE(calibration.pressOkOrChange(Plan), ScaleCalibration::Outcome::Accepted);
    QCOMPARE(document->view(Plan).calibration.metresPerPixel, 0.2);
    setEntries(Plan, QStringLiteral("x"), QStringLiteral("y")); // not read by "Change"
    QCOMPARE(calibration.pressOkOrChange(Plan), ScaleCalibration::Outcome::Unlocked);
    QVERIFY(!session->gridLocked(Plan));
    QCOMPARE(document->view(Plan).calibration.metresPerPixel, 0.2);
    setEntries(Plan, QStringLiteral("4"), QStringLiteral("10"));
    QCOMPARE(calibration.pressOkOrChange(Plan), ScaleCalibration::Outcome::Accepted);
    QCOMPARE(document->view(Plan).calibration.metresPerPixel, 0.4);
    QCOMPARE(document->view(Plan).calibration.gridPixels, 10.0);
    QVERIFY(session->gridLocked(Plan));
}

void ViewEditorTest::lowerPanelWaitsForBothViews()
{
    ScaleCalibration calibration(*document, *session);
    setEntries(Profile, QStringLiteral("10"), QStringLiteral("0"));
    QCOMPARE(calibration.pressOkOrChange(Profile), ScaleCalibration::Outcome::Refused);
    QVERIFY(!session->lowerPanelEnabled());
    QCOMPARE(calibration.pressOkOrChange(Plan), ScaleCalibration::Outcome::Accepted);
    QCOMPARE(document->view(Plan).calibration.metresPerPixel, 0.2);
    QVERIFY(!session->lowerPanelEnabled()); // the profile's entries are still refused
    calibration.pressOkOrChange(Profile);   // Change
    setEntries(Profile, QStringLiteral("10"), QStringLiteral("25"));
    QCOMPARE(calibration.pressOkOrChange(Profile), ScaleCalibration::Outcome::Accepted);
    QCOMPARE(document->view(Profile).calibration.metresPerPixel, 0.4);
    QVERIFY(session->lowerPanelEnabled());
}

QTEST_MAIN(ViewEditorTest)
#include "test_view_editor.moc"
