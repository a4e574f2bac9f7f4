// Gestures on the drawings without a window: clicks that place, snap, pan and zoom, the wheel,
// a station added once placed, marks and walls dragged, and the scale bar and the north arrow
// measured, each a row of gestures and the edit it must make.
#include "support/Editors.h"

#include "stations/PaneInput.h"
#include "survey/CommandError.h"
#include "survey/Truncate.h"
#include "views/PendingGuide.h"
#include "views/ViewSnapshot.h"

#include <QPainter>
#include <QTest>
#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(ViewSide)

namespace {

constexpr ViewSide Plan = ViewSide::Plan;
constexpr ViewSide Profile = ViewSide::Profile;

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A drawn station: a dot of 4 pixels' radius.
QImage dotAt(QPointF centre)
{
    QImage image = blank(400, 300);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(centre, 4.0, 4.0);
    return image;
}

Station stationAt(QPointF plan, QPointF profile)
{
    Station s;
    s.planX = float(plan.x());
    s.planY = float(plan.y());
    s.profileX = float(profile.x());
    s.profileY = float(profile.y());
    return s;
}

// The pane input of a job, with the window's part played here: its scroll position follows what
// the input says, its questions are answered from a script and what it tells is kept.
struct Desk
{
    Editors e;
    QStringList status, told, asked;
    QStringList typed;     // answers to the length question; none left: cancelled
    QList<bool> agreed;    // answers to yes/no questions; none left: No
    bool statusWhileAsked = false; // a status message stood while a question was up
    PaneInput input{e.document, e.session, e.history, e.stations, e.views, e.scale,
                    {[this](const QString &message) { status.append(message); },
                     [this](const QString &, const QString &text) { told.append(text); },
                     [this](const QString &question, QString *answer) {
                         asked.append(question);
                         statusWhileAsked = statusWhileAsked || !status.last().isEmpty();
                         if (typed.isEmpty())
                             return false;
                         *answer = typed.takeFirst();
                         return true;
                     },
                     [this](const QString &question) {
                         asked.append(question);
                         return !agreed.isEmpty() && agreed.takeFirst();
                     },
                     [this] { e.stations.add(e.session.labelEntry(), e.session.commentEntry()); }}};
    PaneInput::Pane pane{QPoint(0, 0), QSize(400, 300), QSize(400, 300)};

    PaneInput::Outcome shown(const PaneInput::Outcome &outcome)
    {
        if (outcome.scroll)
            pane.scroll = *outcome.scroll;
        return outcome;
    }
    PaneInput::Outcome press(ViewSide side, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        return shown(input.press({side, button, button, modifiers, at}, pane));
    }
    PaneInput::Outcome move(ViewSide side, Qt::MouseButtons buttons, QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        return shown(input.move({side, Qt::NoButton, buttons, modifiers, at}, pane));
    }
    PaneInput::Outcome release(ViewSide side, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        return shown(input.release({side, button, Qt::NoButton, modifiers, at}, pane));
    }
    PaneInput::Outcome click(ViewSide side, Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = {})
    {
        press(side, button, at, modifiers);
        return release(side, button, at, modifiers);
    }
    QPointF pending(ViewSide side) const
    {
        const Station &q = e.document.stations().pending();
        return side == Plan ? QPointF(q.planX, q.planY) : QPointF(q.profileX, q.profileY);
    }
};

} // namespace

class PaneInputTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { d = std::make_unique<Desk>(); }
    void cleanup() { d.reset(); }

    void gesturesOnAPane_data();
    void gesturesOnAPane();
    void placingClicksSnap_data();
    void placingClicksSnap();
    void theGuideSnappedToIsTheGuideDrawn_data();
    void theGuideSnappedToIsTheGuideDrawn();
    void aStationIsAddedOncePlaced_data();
    void aStationIsAddedOncePlaced();
    void marksArePickedDraggedAndNudged();
    void wallMarksAreDragged();
    void measuring_data();
    void measuring();
    void theWheelZoomsAtTheCursor_data();
    void theWheelZoomsAtTheCursor();
    void drawingKeys_data();
    void drawingKeys();

private:
    std::unique_ptr<Desk> d;
};

void PaneInputTest::gesturesOnAPane_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<double>("zoom");     // 2 before
    QTest::addColumn<QPoint>("scrolled"); // from (200, 200), the box 400 x 300
    QTest::addColumn<QPointF>("placed");  // the pending station's point on the view; (0, 0) = none
    const int left = Qt::LeftButton, right = Qt::RightButton, middle = Qt::MiddleButton, none = Qt::NoModifier,
              ctrl = Qt::ControlModifier;
    QTest::newRow("plan: drag pans") << Plan << left << none << QPoint(400, 300) << QPoint(350, 280) << 2.0
                                     << QPoint(250, 220) << QPointF();
    QTest::newRow("plan: drag along a row pans") << Plan << left << none << QPoint(400, 300) << QPoint(230, 300)
                                                 << 2.0 << QPoint(370, 200) << QPointF();
    QTest::newRow("profile: the middle button pans") << Profile << middle << none << QPoint(400, 300)
                                                     << QPoint(410, 330) << 2.0 << QPoint(190, 170) << QPointF();
    QTest::newRow("profile: Ctrl+right zooms out") << Profile << right << ctrl << QPoint(1000, 800)
                                                   << QPoint(1000, 800) << 1.0 << QPoint(300, 250) << QPointF();
    QTest::newRow("plan: Ctrl+left zooms in") << Plan << left << ctrl << QPoint(401, 250) << QPoint(401, 250) << 4.0
                                              << QPoint(600, 350) << QPointF();
    QTest::newRow("plan: Ctrl+middle recentres") << Plan << middle << ctrl << QPoint(401, 250) << QPoint(401, 250)
                                                 << 2.0 << QPoint(200, 100) << QPointF();
    // A right button places where it is released and never pans.
    QTest::newRow("plan: right drag places") << Plan << right << none << QPoint(421, 270) << QPoint(401, 250) << 2.0
                                             << QPoint(200, 200) << QPointF(200.5, 125);
    QTest::newRow("profile: right click places") << Profile << right << int(Qt::AltModifier) << QPoint(401, 250)
                                                 << QPoint(401, 250) << 2.0 << QPoint(200, 200) << QPointF(200.5, 125);
    QTest::newRow("plan: Shift+right places exactly") << Plan << right << int(Qt::ShiftModifier) << QPoint(401, 250)
                                                      << QPoint(401, 250) << 2.0 << QPoint(200, 200)
                                                      << QPointF(200.5, 125);
}

void PaneInputTest::gesturesOnAPane()
{
    QFETCH(ViewSide, side);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(double, zoom);
    QFETCH(QPoint, scrolled);
    QFETCH(QPointF, placed);
    d->e.document.editView(side, [](ViewSettings &view) {
        view.image = blank(1000, 800);
        view.zoom = 2.0;
    });
    d->pane.scroll = QPoint(200, 200);
    const auto mouse = Qt::MouseButton(button);
    const auto keys = Qt::KeyboardModifiers(modifiers);
    d->press(side, mouse, press, keys);
    QCOMPARE(d->e.session.pressPoint(side), press);
    // While a placing button is held, the point shows where it will land.
    QCOMPARE(d->e.session.previewShown(side), placed != QPointF());
    d->move(side, mouse, release, keys);
    d->release(side, mouse, release, keys);
    QVERIFY(!d->e.session.previewShown(side));
    QCOMPARE(d->e.document.view(side).zoom, zoom);
    QCOMPARE(d->pane.scroll, scrolled);
    QCOMPARE(d->e.session.pointPlaced(side), placed != QPointF());
    if (placed != QPointF())
        QCOMPARE(d->pending(side), placed);
    QCOMPARE(d->input.activeSide(), side);
}

void PaneInputTest::placingClicksSnap_data()
{
    QTest::addColumn<bool>("snapping");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("click"); // displayed pixels
    QTest::addColumn<bool>("onMark");  // on the dot's centre at (150.3, 100.6), else exactly where clicked
    QTest::newRow("near the mark") << true << int(Qt::NoModifier) << 1.0 << QPoint(153, 99) << true;
    QTest::newRow("near it, zoomed in") << true << int(Qt::NoModifier) << 4.0 << QPoint(612, 398) << true;
    QTest::newRow("Shift: exactly there") << true << int(Qt::ShiftModifier) << 1.0 << QPoint(153, 99) << false;
    QTest::newRow("snapping off") << false << int(Qt::NoModifier) << 1.0 << QPoint(153, 99) << false;
    // Six screen pixels reach further on the scan when zoomed out.
    QTest::newRow("beyond reach") << true << int(Qt::NoModifier) << 1.0 << QPoint(162, 100) << false;
    QTest::newRow("within reach, zoomed out") << true << int(Qt::NoModifier) << 0.5 << QPoint(81, 50) << true;
}

void PaneInputTest::placingClicksSnap()
{
    QFETCH(bool, snapping);
    QFETCH(int, modifiers);
    QFETCH(double, zoom);
    QFETCH(QPoint, click);
    QFETCH(bool, onMark);
    const QPointF mark(150.3, 100.6);
    d->e.document.editView(Plan, [&](ViewSettings &view) {
        view.image = dotAt(mark);
        view.zoom = zoom;
    });
    d->input.options().snap.marks = snapping;
    d->input.options().snap.guides = snapping;
    d->click(Plan, Qt::RightButton, click, Qt::KeyboardModifiers(modifiers));
    const QPointF placed = d->pending(Plan);
    if (onMark) {
        QVERIFY2(std::hypot(placed.x() - mark.x(), placed.y() - mark.y()) < 0.3,
                 qPrintable(QStringLiteral("%1 %2").arg(placed.x()).arg(placed.y())));
    } else {
        // Stored from the displayed pixel, as a click always was.
        QCOMPARE(placed, QPointF(float(click.x() / zoom), float(click.y() / zoom)));
    }
}

void PaneInputTest::theGuideSnappedToIsTheGuideDrawn_data()
{
    QTest::addColumn<ViewSide>("side");
    QTest::addColumn<int>("kind"); // ProfileKind
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<QPointF>("landed"); // (0, 0): where clicked
    // Station 0 at (100, 100) on both; the plan at 0.05 m a pixel, the profile at 0.04.
    // The pending plan point 100 pixels east: 5 m, 125 profile pixels either side.
    QTest::newRow("extended profile, right line") << Profile << int(ProfileKind::Extended) << QPoint(228, 150)
                                                  << QPointF(225, 150);
    QTest::newRow("extended profile, left line") << Profile << int(ProfileKind::Extended) << QPoint(-22, 40)
                                                 << QPointF(-25, 40);
    QTest::newRow("extended profile, between") << Profile << int(ProfileKind::Extended) << QPoint(160, 150)
                                               << QPointF();
    // A projected profile looking north-east (north up): the leg east runs 5 m x cos 45.
    QTest::newRow("projected profile, one line") << Profile << int(ProfileKind::Projective) << QPoint(190, 130)
                                                 << QPointF(100 + 125 * M_SQRT1_2, 130);
    QTest::newRow("projected profile, no mirror line") << Profile << int(ProfileKind::Projective) << QPoint(12, 130)
                                                       << QPointF();
    // The pending profile point 80 pixels right: 3.2 m, a circle of 64 plan pixels.
    QTest::newRow("plan circle") << Plan << int(ProfileKind::Extended) << QPoint(166, 100) << QPointF(164, 100);
    QTest::newRow("plan circle, diagonally") << Plan << int(ProfileKind::Extended) << QPoint(147, 147)
                                             << QPointF(100 + 64 * M_SQRT1_2, 100 + 64 * M_SQRT1_2);
    QTest::newRow("no circle by a projected profile") << Plan << int(ProfileKind::Projective) << QPoint(166, 100)
                                                      << QPointF();
}

void PaneInputTest::theGuideSnappedToIsTheGuideDrawn()
{
    QFETCH(ViewSide, side);
    QFETCH(int, kind);
    QFETCH(QPoint, click);
    QFETCH(QPointF, landed);
    SurveyDocument &document = d->e.document;
    document.editView(Plan, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.05; });
    document.editView(Profile, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.04; });
    document.setProfileKind(ProfileKind(kind));
    document.setProjectionAzimuthEntry(QStringLiteral("45"));
    document.editStations([](StationTable &table) { table.assign({stationAt({100, 100}, {100, 100})}); });
    d->e.stations.setNewBranch(false); // the leg joins station 0
    d->input.options().addWhenPlaced = false; // the pending station stays to be looked at
    if (side == Profile)
        d->e.stations.placePointAt(Plan, QPointF(200, 100));
    else
        d->e.stations.placePointAt(Profile, QPointF(180, 130));
    d->click(side, Qt::RightButton, click);
    QCOMPARE(d->pending(side), landed.isNull() ? QPointF(click) : QPointF(QPointF(float(landed.x()), float(landed.y()))));

    // What the view draws is the same guide, rounded to whole pixels.
    const PendingGuide guide = PendingGuide::of(side, document, d->e.session);
    const ViewSnapshot view = ViewSnapshot::of(side, document, d->e.session);
    QVERIFY(view.guide == guide.kind);
    if (guide.kind == PendingGuide::Kind::Circle)
        QCOMPARE(view.guideCircleBox, QRect(36, 36, 128, 128));
    else if (guide.kind != PendingGuide::Kind::None)
        QCOMPARE(view.guideLineX[0], truncToInt(std::round(guide.lineX(0))));
}

void PaneInputTest::aStationIsAddedOncePlaced_data()
{
    QTest::addColumn<bool>("addWhenPlaced");
    QTest::addColumn<bool>("moving");
    QTest::addColumn<int>("added");
    QTest::newRow("added at the second click") << true << false << 1;
    QTest::newRow("left for Add") << false << false << 0;
    QTest::newRow("Move mode moves, never adds") << true << true << 0;
}

void PaneInputTest::aStationIsAddedOncePlaced()
{
    QFETCH(bool, addWhenPlaced);
    QFETCH(bool, moving);
    QFETCH(int, added);
    d->e.document.editStations([](StationTable &table) { table.assign({stationAt({10, 10}, {10, 10})}); });
    if (moving)
        QVERIFY(d->e.stations.enterMoveMode());
    d->input.options().addWhenPlaced = addWhenPlaced;
    d->e.session.setLabelEntry(QStringLiteral("A1"));
    d->click(Plan, Qt::RightButton, QPoint(30, 10));
    QCOMPARE(d->e.document.stations().count(), 1);
    d->click(Profile, Qt::RightButton, QPoint(30, 12));
    QCOMPARE(d->e.document.stations().count(), 1 + added);
    QCOMPARE(d->input.takeBackAvailable(), added == 1);
    if (!added)
        return;
    QCOMPARE(d->e.document.stations().at(1).label, QStringLiteral("A1"));
    // Once the proposed label is typed over, Backspace is the box's again.
    d->e.session.setLabelEntry(QStringLiteral("A"));
    QVERIFY(!d->input.takeBackAvailable());
    d->e.session.setLabelEntry(d->e.session.labelEntry() + QStringLiteral("2"));
    QVERIFY(d->input.takeBackAvailable());
    d->e.history.undo();
    QCOMPARE(d->e.document.stations().count(), 1);
    QVERIFY(!d->input.takeBackAvailable());
}

void PaneInputTest::marksArePickedDraggedAndNudged()
{
    for (const ViewSide side : {Plan, Profile})
        d->e.document.editView(side, [](ViewSettings &view) { view.image = blank(300, 200); });
    d->e.document.editStations([](StationTable &table) {
        table.assign({stationAt({50, 50}, {50, 50}), stationAt({100, 60}, {100, 60}), stationAt({150, 70}, {150, 70})});
    });
    QVERIFY(d->e.stations.enterMoveMode());
    const Station &middle = d->e.document.stations().at(1);
    // A press within 6 pixels of a mark picks it; dragging moves it, held on the drawing, and
    // never pans.
    d->press(Plan, Qt::LeftButton, QPoint(104, 64));
    QCOMPARE(d->e.session.selected(), 1);
    QVERIFY(!d->move(Plan, Qt::LeftButton, QPoint(130, 90)).scroll);
    QVERIFY(!d->move(Plan, Qt::LeftButton, QPoint(400, 95)).scroll);
    d->release(Plan, Qt::LeftButton, QPoint(400, 95));
    QCOMPARE(QPointF(middle.planX, middle.planY), QPointF(299, 95));
    QCOMPARE(d->e.history.count(), 1); // the drag is one step
    // The arrows nudge it on the pane last pressed.
    d->press(Profile, Qt::LeftButton, QPoint(20, 150));
    d->release(Profile, Qt::LeftButton, QPoint(20, 150));
    d->input.nudge(QPoint(-10, 0));
    QCOMPARE(QPointF(middle.profileX, middle.profileY), QPointF(90, 60));
    QCOMPARE(middle.planX, 299.0f);
    // A press away from the marks pans, keeping the selection.
    d->press(Plan, Qt::LeftButton, QPoint(20, 150));
    QCOMPARE(d->move(Plan, Qt::LeftButton, QPoint(10, 150)).scroll, std::optional<QPoint>(QPoint(10, 0)));
    QCOMPARE(d->e.session.selected(), 1);
}

void PaneInputTest::wallMarksAreDragged()
{
    // A passage running east: B's left wall is north, up the plan; unknown, its mark a metre out.
    constexpr double Mpp = 0.05;
    for (const ViewSide side : {Plan, Profile})
        d->e.document.editView(side, [&](ViewSettings &view) {
            view.image = blank(400, 300);
            view.calibration.metresPerPixel = Mpp;
        });
    d->e.document.editStations(
        [](StationTable &table) { table.assign({stationAt({100, 140}, {100, 120}), stationAt({300, 140}, {300, 120})}); });
    QVERIFY(d->e.stations.select(1));
    // Not while walls are not edited: the press pans.
    d->press(Plan, Qt::LeftButton, QPoint(300, 120));
    QVERIFY(d->move(Plan, Qt::LeftButton, QPoint(300, 100)).scroll);
    d->release(Plan, Qt::LeftButton, QPoint(300, 100));
    d->pane.scroll = QPoint(0, 0);
    QVERIFY(!d->e.document.stations().at(1).dimensions.left);

    d->input.options().editingWalls = true;
    d->press(Plan, Qt::LeftButton, QPoint(303, 118));
    QVERIFY(!d->move(Plan, Qt::LeftButton, QPoint(300, 100)).scroll);
    d->move(Plan, Qt::LeftButton, QPoint(305, 80));
    d->release(Plan, Qt::LeftButton, QPoint(305, 80));
    QCOMPARE(d->e.document.stations().at(1).dimensions.left, std::optional<double>(3.0)); // 60 pixels
    QCOMPARE(d->e.history.count(), 1);
    // The roof on the profile, a second step; the station's own mark is not picked meanwhile.
    d->press(Profile, Qt::LeftButton, QPoint(300, 100));
    d->move(Profile, Qt::LeftButton, QPoint(300, 110));
    d->release(Profile, Qt::LeftButton, QPoint(300, 110));
    QCOMPARE(d->e.document.stations().at(1).dimensions.up, std::optional<double>(0.5));
    QCOMPARE(d->e.history.count(), 2);
    QCOMPARE(QPointF(d->e.document.stations().at(1).profileX, d->e.document.stations().at(1).profileY),
             QPointF(300, 120));
}

void PaneInputTest::measuring_data()
{
    QTest::addColumn<int>("what"); // PaneInput::Measure
    QTest::addColumn<QPoint>("first");
    QTest::addColumn<QPoint>("second");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("recalculate");
    QTest::addColumn<double>("scale");     // the plan's metres a pixel after; 0.1 before
    QTest::addColumn<float>("metresX");    // station 1's x in metres after; 1 before
    QTest::addColumn<QString>("north");    // the orientation entry after
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("told");
    const int scale = int(PaneInput::Measure::Scale), north = int(PaneInput::Measure::North);
    QTest::newRow("a 20 m bar, stations follow") << scale << QPoint(100, 400) << QPoint(500, 400) << QStringList{"20"}
                                                 << true << 0.05 << 0.5f << "0" << 2 << 0;
    QTest::newRow("a 20 m bar, stations keep their metres")
        << scale << QPoint(100, 400) << QPoint(500, 400) << QStringList{"20"} << false << 0.05 << 1.0f << "0" << 2 << 0;
    QTest::newRow("at zoom 2, a diagonal bar") << scale << QPoint(0, 0) << QPoint(600, 800) << QStringList{"50"}
                                               << false << 0.1 << 1.0f << "0" << 1 << 0;
    QTest::newRow("the length not given") << scale << QPoint(100, 400) << QPoint(500, 400) << QStringList() << true
                                          << 0.1 << 1.0f << "0" << 1 << 0;
    QTest::newRow("both ends at one place") << scale << QPoint(100, 400) << QPoint(100, 400) << QStringList{"20"}
                                            << true << 0.1 << 1.0f << "0" << 0 << 1;
    QTest::newRow("north to the upper right") << north << QPoint(200, 200) << QPoint(300, 100) << QStringList()
                                              << false << 0.1 << 1.0f << "45" << 0 << 0;
    QTest::newRow("north down the sheet") << north << QPoint(200, 100) << QPoint(200, 300) << QStringList() << false
                                          << 0.1 << 1.0f << "180" << 0 << 0;
}

void PaneInputTest::measuring()
{
    QFETCH(int, what);
    QFETCH(QPoint, first);
    QFETCH(QPoint, second);
    QFETCH(QStringList, typed);
    QFETCH(bool, recalculate);
    QFETCH(double, scale);
    QFETCH(float, metresX);
    QFETCH(QString, north);
    QFETCH(int, questions);
    QFETCH(int, told);
    SurveyDocument &document = d->e.document;
    document.editView(Plan, [&](ViewSettings &view) {
        view.image = blank(1000, 800);
        view.calibration.metresPerPixel = 0.1;
        view.zoom = QTest::currentDataTag() == QByteArray("at zoom 2, a diagonal bar") ? 2.0 : 1.0;
    });
    Station placed = stationAt({10, 10}, {10, 10});
    placed.planXMetres = 1.0f;
    document.editStations([&](StationTable &table) { table.assign({stationAt({0, 0}, {0, 0}), placed}); });
    d->typed = typed;
    d->agreed = {recalculate};
    d->input.startMeasuring(Plan, PaneInput::Measure(what));
    QCOMPARE(d->status.size(), 1);
    // The other pane's clicks do not count; this one's do, and do nothing else.
    d->click(Profile, Qt::LeftButton, QPoint(5, 5));
    d->press(Plan, Qt::LeftButton, first);
    QCOMPARE(d->status.size(), 2);
    QVERIFY(!d->status.last().isEmpty()); // now the other end
    QVERIFY(!d->move(Plan, Qt::LeftButton, first + QPoint(40, 40)).scroll);
    d->release(Plan, Qt::LeftButton, first);
    d->press(Plan, Qt::LeftButton, second);
    d->release(Plan, Qt::LeftButton, second);
    QCOMPARE(d->status.size(), 3);
    QVERIFY(d->status.last().isEmpty());
    QVERIFY(!d->statusWhileAsked); // cleared before the length is asked
    QCOMPARE(document.view(Plan).calibration.metresPerPixel, scale);
    QCOMPARE(document.stations().at(1).planXMetres, metresX);
    QCOMPARE(document.orientationEntry(), north);
    QCOMPARE(d->asked.size(), questions);
    QCOMPARE(d->told.size(), told);
    // Done: the next left press pans again.
    d->press(Plan, Qt::LeftButton, QPoint(300, 300));
    QVERIFY(d->move(Plan, Qt::LeftButton, QPoint(310, 300)).scroll);
}

void PaneInputTest::theWheelZoomsAtTheCursor_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QPoint>("scrolled"); // from (300, 200)
    QTest::newRow("a notch up zooms in at the cursor") << int(Qt::NoModifier) << QPoint(0, 120) << 1.25
                                                       << QPoint(563 - 150, 375 - 100);
    QTest::newRow("a notch down zooms out") << int(Qt::NoModifier) << QPoint(0, -120) << 0.8 << QPoint(210, 140);
    QTest::newRow("a sideways wheel zooms too") << int(Qt::NoModifier) << QPoint(120, 0) << 1.25
                                                << QPoint(563 - 150, 375 - 100);
    QTest::newRow("Shift scrolls sideways") << int(Qt::ShiftModifier) << QPoint(0, -120) << 1.0 << QPoint(420, 200);
    QTest::newRow("Ctrl scrolls up and down") << int(Qt::ControlModifier) << QPoint(0, 120) << 1.0 << QPoint(300, 80);
    QTest::newRow("no turn, no change") << int(Qt::NoModifier) << QPoint(0, 0) << 1.0 << QPoint(300, 200);
}

void PaneInputTest::theWheelZoomsAtTheCursor()
{
    QFETCH(int, modifiers);
    QFETCH(QPoint, angle);
    QFETCH(double, zoom);
    QFETCH(QPoint, scrolled);
    d->pane.scroll = QPoint(300, 200);
    const QPoint cursor(150, 100); // source (450, 300) at zoom 1
    d->shown(d->input.wheel(Plan, angle, Qt::KeyboardModifiers(modifiers), cursor, d->pane));
    QCOMPARE(d->e.document.view(Plan).zoom, zoom);
    QCOMPARE(d->pane.scroll, scrolled);
}

void PaneInputTest::drawingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("drawing");
    QTest::newRow("+") << int(Qt::Key_Plus) << int(Qt::NoModifier) << true;
    QTest::newRow("+ typed with Shift") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << true;
    QTest::newRow("=") << int(Qt::Key_Equal) << int(Qt::NoModifier) << true;
    QTest::newRow("-") << int(Qt::Key_Minus) << int(Qt::NoModifier) << true;
    QTest::newRow("0, actual size") << int(Qt::Key_0) << int(Qt::NoModifier) << true;
    QTest::newRow("1 is typed") << int(Qt::Key_1) << int(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+0 is the box's") << int(Qt::Key_0) << int(Qt::ControlModifier) << false;
    QTest::newRow("Alt+- is the box's") << int(Qt::Key_Minus) << int(Qt::AltModifier) << false;
}

void PaneInputTest::drawingKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, drawing);
    QCOMPARE(PaneInput::isDrawingKey(key, Qt::KeyboardModifiers(modifiers)), drawing);
}

QTEST_MAIN(PaneInputTest)
#include "test_pane_input.moc"
