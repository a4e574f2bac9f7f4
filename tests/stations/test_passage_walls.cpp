// A passage running east between two drawn walls, and a profile with its roof and floor: the
// wall marks stand where the values put them (left of the survey is north, up the image), a
// dragged mark gives its wall's value through the scale, Find Walls reads the drawings for the
// unknown walls only, and a drag is one step that Undo takes back to unknown.
#include "support/Editors.h"

#include <QLineF>
#include <QPainter>
#include <QTest>
#include <cmath>

namespace {

constexpr double Mpp = 0.05;
using Wall = PassageWalls::Wall;

QImage drawing(std::initializer_list<int> lineYs)
{
    QImage image(400, 300, QImage::Format_Grayscale8);
    image.fill(255);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 2));
    for (const int y : lineYs)
        painter.drawLine(10, y, 390, y);
    return image;
}

Station at(double x, double y, double profileY, const char *label)
{
    Station s;
    s.planX = float(x);
    s.planY = float(y);
    s.profileX = float(x);
    s.profileY = float(profileY);
    s.planXMetres = float(x * Mpp);
    s.planYMetres = float(y * Mpp);
    s.profileYMetres = float(profileY * Mpp);
    s.label = QString::fromLatin1(label);
    return s;
}

void prepare(Editors &e)
{
    // Walls at y 100 and 180 on the plan; roof at 60 and floor at 200 on the profile.
    e.document.editView(ViewSide::Plan, [](ViewSettings &view) {
        view.image = drawing({100, 180});
        view.calibration.metresPerPixel = Mpp;
    });
    e.document.editView(ViewSide::Profile, [](ViewSettings &view) {
        view.image = drawing({60, 200});
        view.calibration.metresPerPixel = Mpp;
    });
    e.document.editStations([](StationTable &table) { table.assign({at(100, 140, 120, "A"), at(300, 140, 120, "B")}); });
}

} // namespace

Q_DECLARE_METATYPE(QVector<Station>)

class PassageWallsTest : public QObject
{
    Q_OBJECT
private slots:
    void marksDragsAndFoundWalls();
    void directionFromEveryLeg_data();
    void directionFromEveryLeg();
};

void PassageWallsTest::marksDragsAndFoundWalls()
{
    Editors e;
    prepare(e);
    e.stations.setWall(1, Wall::Left, 1.0);
    const QVector<PassageWalls::Mark> plan = PassageWalls::marks(e.document, 1, ViewSide::Plan);
    QCOMPARE(plan.size(), 2);
    QCOMPARE(plan[0].at, QPointF(300, 120)); // 1 m north of B
    QVERIFY(plan[0].set);
    QCOMPARE(plan[1].at, QPointF(300, 160)); // unknown: hollow, a metre south
    QVERIFY(!plan[1].set);
    const QVector<PassageWalls::Mark> profile = PassageWalls::marks(e.document, 1, ViewSide::Profile);
    QCOMPARE(profile[0].at, QPointF(300, 100)); // roof unknown: a metre up
    QCOMPARE(profile[1].at, QPointF(300, 140));

    // Dragged: the distance out along the wall's own direction, never below 0.
    QCOMPARE(PassageWalls::valueAt(e.document, 1, ViewSide::Plan, Wall::Left, {310, 90}), 2.5);
    QCOMPARE(PassageWalls::valueAt(e.document, 1, ViewSide::Plan, Wall::Right, {310, 90}), 0.0);
    QCOMPARE(PassageWalls::valueAt(e.document, 1, ViewSide::Profile, Wall::Down, {300, 190}), 3.5);

    // Found on the drawings, to the middle of the drawn lines: the set left wall is kept.
    const int steps = e.history.count();
    QCOMPARE(e.stations.findWalls(), 7);
    QCOMPARE(e.history.count(), steps + 1);
    const PassageDimensions b = e.document.stations().at(1).dimensions;
    QCOMPARE(b.left, std::optional<double>(1.0));
    QVERIFY(b.right && std::fabs(*b.right - 2.0) <= 0.05);
    QVERIFY(b.up && std::fabs(*b.up - 3.0) <= 0.05);
    QVERIFY(b.down && std::fabs(*b.down - 4.0) <= 0.05);

    // One drag, one step; undone, the wall is unknown again.
    e.stations.setWall(0, Wall::Up, std::nullopt);
    const int before = e.history.count();
    for (const double metres : {0.5, 1.0, 1.5})
        e.stations.setWall(0, Wall::Up, metres, 77);
    QCOMPARE(e.history.count(), before + 1);
    QCOMPARE(e.document.stations().at(0).dimensions.up, std::optional<double>(1.5));
    e.history.undo();
    QCOMPARE(e.document.stations().at(0).dimensions.up, std::optional<double>());
}

// The way a station's passage runs comes from all its legs, in every table entry bearing its
// label: a tie station gets one cross-section, however many times the table lists it.
void PassageWallsTest::directionFromEveryLeg_data()
{
    QTest::addColumn<QVector<Station>>("table");
    QTest::addColumn<QVector<int>>("entries");
    QTest::addColumn<QPointF>("expected");

    Station end = at(300, 100, 0, "C");
    end.branchEnd = true;
    // The main line runs east through B; a branch leaves B again later in the table, going south.
    QTest::newRow("tie with a side branch") << QVector<Station>{at(100, 100, 0, "A"), at(200, 100, 0, "B"), end,
                                                                at(200, 100, 0, "B"), at(200, 200, 0, "D")}
                                            << QVector<int>{1, 3} << QPointF(1, 0);
    const double half = std::sqrt(0.5);
    QTest::newRow("bend") << QVector<Station>{at(100, 100, 0, "A"), at(200, 100, 0, "B"), at(200, 200, 0, "C")}
                          << QVector<int>{1} << QPointF(half, half);
}

void PassageWallsTest::directionFromEveryLeg()
{
    QFETCH(QVector<Station>, table);
    QFETCH(QVector<int>, entries);
    QFETCH(QPointF, expected);
    StationTable stations;
    stations.assign(std::vector<Station>(table.begin(), table.end()));
    for (const int entry : entries) {
        const std::optional<QPointF> along = PassageWalls::planDirection(stations, entry);
        QVERIFY(along);
        QVERIFY2(QLineF(*along, expected).length() < 1e-6, qPrintable(QStringLiteral("(%1, %2)").arg(along->x()).arg(along->y())));
    }
}

QTEST_MAIN(PassageWallsTest)
#include "test_passage_walls.moc"
