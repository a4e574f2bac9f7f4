// Finding a passage's walls from a station: the near edge of the line that bounds the passage,
// past stipple, boulders, hatching, labels and the station's own mark, in each kind of scan;
// nothing where the passage is open.
#include "views/WallFinder.h"

#include <QFont>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <functional>
#include <random>

Q_DECLARE_METATYPE(std::optional<double>)
Q_DECLARE_METATYPE(std::vector<QPointF>)

namespace {

enum class Scan { Colour, Grey, OneBit };
const Scan AllScans[] = {Scan::Colour, Scan::Grey, Scan::OneBit};
const char *const ScanNames[] = {"colour", "grey", "1-bit"};

using Drawing = std::function<void(QPainter &)>;

// Walls are drawn 2 pixels wide, so their near edge is a pixel short of the line drawn.
constexpr double WallPen = 2.0;

// A 240 x 200 scan of that kind with the drawing in ink (cream paper on colour scans).
QImage scan(Scan kind, const Drawing &draw)
{
    QImage canvas(240, 200, QImage::Format_RGB32);
    canvas.fill(kind == Scan::Colour ? qRgb(246, 240, 222) : qRgb(255, 255, 255));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, kind != Scan::OneBit);
    painter.setPen(QPen(QColor(30, 25, 20), WallPen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    painter.end();
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_Grayscale8, QImage::Format_Mono};
    return canvas.convertToFormat(formats[int(kind)], Qt::ThresholdDither);
}

// A passage from side to side between y = 40 and y = 84.
void straight(QPainter &p) { p.drawLines(QVector<QLineF>{{0, 40, 240, 40}, {0, 84, 240, 84}}); }

// Details drawn inside a passage, on the painter's pen of their own.
void stipple(QPainter &p, QRectF area)
{
    p.save();
    p.setPen(QPen(p.pen().color(), 1.6));
    for (double y = area.top(); y < area.bottom(); y += 5)
        for (double x = area.left() + std::fmod(y, 7.0); x < area.right(); x += 7)
            p.drawEllipse(QPointF(x, y), 0.9, 0.9);
    p.restore();
}
void boulder(QPainter &p, QPointF centre, double size)
{
    p.save();
    p.setPen(QPen(p.pen().color(), 1.6));
    p.drawPolygon(QPolygonF({centre + QPointF(-size, 0), centre + QPointF(-size / 3, -size * 0.8),
                             centre + QPointF(size, -size / 3), centre + QPointF(size / 2, size * 0.7)}));
    p.restore();
}
void label(QPainter &p, QPointF baseline)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    p.setFont(font);
    p.drawText(baseline, QStringLiteral("A12"));
}
void hatching(QPainter &p, QRectF area)
{
    p.save();
    p.setPen(QPen(p.pen().color(), 1.2));
    for (double x = area.left(); x < area.right(); x += 5)
        p.drawLine(QPointF(x, area.top()), QPointF(x + 6, area.bottom()));
    p.restore();
}

// A passage bending by `turn` radians at `vertex`, walls `half` either side of its middle line;
// `along` gets the bisector, the way the passage runs at the vertex.
QPolygonF offsetLine(QPointF vertex, double turn, double side)
{
    const QPointF in(1, 0), out(std::cos(turn), std::sin(turn));
    const QPointF inNormal(in.y(), -in.x()), outNormal(out.y(), -out.x());
    const QPointF corner = (inNormal + outNormal) / (1 + QPointF::dotProduct(inNormal, outNormal));
    return {vertex - 200 * in + side * inNormal, vertex + side * corner, vertex + 200 * out + side * outNormal};
}

// A 240 x 200 grey scan drawn as a caver draws, about a station at its middle: the sheet turned
// `turnDeg` on the scanner, dust on `speckle` of the paper, the scanner's blur.
const QPointF Station(120, 100);
QImage asDrawn(const Drawing &draw, double turnDeg = 0.0, double speckle = 0.0)
{
    QImage canvas(240, 200, QImage::Format_RGB32);
    canvas.fill(qRgb(246, 240, 222));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(Station);
    painter.rotate(turnDeg);
    painter.setPen(QPen(QColor(30, 25, 20), WallPen, Qt::SolidLine, Qt::RoundCap));
    draw(painter);
    painter.end();
    std::mt19937 random(3);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (std::uniform_real_distribution<double>(0, 1)(random) < speckle) {
                const int darker = 60 + int(random() % 140);
                const QRgb p = canvas.pixel(x, y);
                canvas.setPixel(x, y, qRgb(std::max(0, qRed(p) - darker), std::max(0, qGreen(p) - darker),
                                           std::max(0, qBlue(p) - darker)));
            }
    QImage blurred = canvas.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 1; y + 1 < blurred.height(); ++y)
        for (int x = 1; x + 1 < blurred.width(); ++x) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += qGray(canvas.pixel(x + dx, y + dy)) * (dx ? 1 : 2) * (dy ? 1 : 2);
            blurred.scanLine(y)[x] = uchar(sum / 16);
        }
    return blurred;
}

// Drawn about the station at the origin: walls across the sheet at `ys`, the centre line coming in
// from the left and going off to the right, a ring on the station.
void walls(QPainter &p, std::initializer_list<double> ys)
{
    for (const double y : ys)
        p.drawLine(QLineF(-200, y, 200, y));
}
void centreLine(QPainter &p, QPointF in = {-150, 4}, QPointF out = {150, -6})
{
    p.save();
    p.setPen(QPen(p.pen().color(), 1.0));
    p.drawLine(QLineF(in, QPointF()));
    p.drawLine(QLineF(QPointF(), out));
    p.restore();
}
void ringMark(QPainter &p, double radius = 5.0)
{
    p.save();
    p.setPen(QPen(p.pen().color(), 1.6));
    p.drawEllipse(QPointF(), radius, radius);
    p.restore();
}

} // namespace

class WallFinderTest : public QObject
{
    Q_OBJECT
private slots:
    void findsWalls_data();
    void findsWalls();
    void namesTheSides();
    void readsWallsAsCaversDraw_data();
    void readsWallsAsCaversDraw();
    void stopsWhenCancelled();
};

void WallFinderTest::findsWalls_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QPointF>("from");
    QTest::addColumn<QPointF>("direction");
    QTest::addColumn<double>("reach");
    QTest::addColumn<std::optional<double>>("expected");

    const QPointF up(0, -1), down(0, 1), station(100, 60);
    const std::optional<double> none;
    for (Scan kind : AllScans) {
        const char *k = ScanNames[int(kind)];
        const QImage plain = scan(kind, straight);
        QTest::addRow("straight, up, %s", k) << plain << station << up << 100.0 << std::optional(19.0);
        QTest::addRow("straight, down, %s", k) << plain << station << down << 100.0 << std::optional(23.0);
        QTest::addRow("straight, aslant, %s", k) << plain << station << QPointF(1, 1) << 100.0
                                                 << std::optional(23.0 * std::sqrt(2.0));
        QTest::addRow("beyond reach, %s", k) << plain << station << down << 15.0 << none;

        // A passage at 30 degrees, its walls 22 and 18 pixels off its middle line.
        const QPointF run(std::cos(M_PI / 6), std::sin(M_PI / 6)), left(run.y(), -run.x());
        const QImage slanted = scan(kind, [&](QPainter &p) {
            const QPointF middle(120, 100);
            p.drawLine(QLineF(middle + 22 * left - 200 * run, middle + 22 * left + 200 * run));
            p.drawLine(QLineF(middle - 18 * left - 200 * run, middle - 18 * left + 200 * run));
        });
        QTest::addRow("slanted, left, %s", k) << slanted << QPointF(120, 100) << left << 100.0 << std::optional(21.0);
        QTest::addRow("slanted, right, %s", k) << slanted << QPointF(120, 100) << -left << 100.0 << std::optional(17.0);

        const QImage stippled = scan(kind, [](QPainter &p) {
            straight(p);
            stipple(p, QRectF(0, 45, 240, 36));
        });
        QTest::addRow("stipple, up, %s", k) << stippled << station << up << 100.0 << std::optional(19.0);
        QTest::addRow("stipple, down, %s", k) << stippled << station << down << 100.0 << std::optional(23.0);
        const QImage boulders = scan(kind, [&](QPainter &p) {
            straight(p);
            boulder(p, station + QPointF(2, -10), 7);
            boulder(p, station + QPointF(-3, 12), 9);
        });
        QTest::addRow("boulders, up, %s", k) << boulders << station << up << 100.0 << std::optional(19.0);
        QTest::addRow("boulders, down, %s", k) << boulders << station << down << 100.0 << std::optional(23.0);
        QTest::addRow("hatching, down, %s", k)
            << scan(kind, [](QPainter &p) { straight(p); hatching(p, QRectF(70, 66, 60, 10)); }) << station << down
            << 100.0 << std::optional(23.0);
        // Its label beside the station's mark, and the centre line drawn through it.
        QTest::addRow("mark, label and centre line, down, %s", k)
            << scan(kind,
                    [&](QPainter &p) {
                        p.drawLines(QVector<QLineF>{{0, 30, 240, 30}, {0, 110, 240, 110}});
                        p.save();
                        p.setPen(QPen(p.pen().color(), 1.0));
                        p.drawLine(QLineF(0, 62, 240, 58));
                        p.setBrush(p.pen().color());
                        p.drawEllipse(station, 3.0, 3.0);
                        p.restore();
                        label(p, station + QPointF(-8, 30));
                    })
            << station << down << 100.0 << std::optional(49.0);

        // Turning 40 degrees at the station, the walls 20 pixels off the middle line.
        const double turn = -40 * M_PI / 180, across = 19.0 / std::cos(turn / 2);
        const QPointF bisector(std::sin(turn / 2), -std::cos(turn / 2));
        const QImage bend = scan(kind, [&](QPainter &p) {
            p.drawPolyline(offsetLine(QPointF(120, 110), turn, 20));
            p.drawPolyline(offsetLine(QPointF(120, 110), turn, -20));
        });
        QTest::addRow("bend, left, %s", k) << bend << QPointF(120, 110) << bisector << 100.0 << std::optional(across);
        QTest::addRow("bend, right, %s", k) << bend << QPointF(120, 110) << -bisector << 100.0 << std::optional(across);

        // A side passage 40 wide going down from the main one, closed 100 below it.
        const QImage junction = scan(kind, [](QPainter &p) {
            p.drawLine(QLineF(0, 40, 240, 40));
            p.drawPolyline(QPolygonF({{0, 80}, {100, 80}, {100, 180}, {140, 180}, {140, 80}, {240, 80}}));
        });
        QTest::addRow("junction, down the side passage, %s", k)
            << junction << QPointF(120, 60) << down << 150.0 << std::optional(119.0);
        // The ray runs down the side passage's centre line, past the next station's mark.
        QTest::addRow("junction, along the side passage's centre line, %s", k)
            << scan(kind,
                    [&](QPainter &p) {
                        p.drawImage(0, 0, junction);
                        p.drawPolyline(QPolygonF({{20, 60}, {120, 60}, {120, 150}}));
                        p.drawEllipse(QPointF(120, 130), 2.5, 2.5);
                    })
            << QPointF(120, 60) << down << 150.0 << std::optional(119.0);
        QTest::addRow("junction, side passage beyond reach, %s", k) << junction << QPointF(120, 60) << down << 100.0 << none;
        QTest::addRow("junction, beside the corner, %s", k)
            << junction << QPointF(94, 60) << down << 100.0 << std::optional(19.0);
        QTest::addRow("junction, in the side passage, %s", k)
            << junction << QPointF(120, 130) << QPointF(1, 0) << 100.0 << std::optional(19.0);

        const QImage profile = scan(kind, [](QPainter &p) {
            p.drawPolyline(QPolygonF({{0, 30}, {120, 36}, {240, 30}}));
            p.drawLine(QLineF(0, 150, 240, 150));
            stipple(p, QRectF(0, 140, 240, 6));
        });
        QTest::addRow("profile, ceiling, %s", k) << profile << QPointF(120, 80) << up << 150.0 << std::optional(43.0);
        QTest::addRow("profile, stippled floor, %s", k)
            << profile << QPointF(120, 80) << down << 150.0 << std::optional(69.0);
        QTest::addRow("open side, %s", k) << scan(kind, [](QPainter &p) { p.drawLine(QLineF(0, 40, 240, 40)); })
                                          << station << down << 100.0 << none;
    }
    const QImage plain = scan(Scan::Grey, straight);
    QTest::newRow("off the scan") << plain << QPointF(-5, 60) << QPointF(0, -1) << 100.0 << none;
    QTest::newRow("scan's edge first") << plain << QPointF(100, 60) << QPointF(1, 0) << 500.0 << none;
    QTest::newRow("no direction") << plain << QPointF(100, 60) << QPointF(0, 0) << 100.0 << none;
    QTest::newRow("direction NaN") << plain << QPointF(100, 60) << QPointF(qQNaN(), 1) << 100.0 << none;
    QTest::newRow("station NaN") << plain << QPointF(100, qQNaN()) << QPointF(0, 1) << 100.0 << none;
    QTest::newRow("reach infinite") << plain << QPointF(100, 60) << QPointF(0, 1) << qInf() << none;
    QTest::newRow("blank paper") << scan(Scan::Grey, [](QPainter &) {}) << QPointF(100, 60) << QPointF(0, 1) << 100.0
                                 << none;
}

void WallFinderTest::findsWalls()
{
    QFETCH(QImage, image);
    QFETCH(QPointF, from);
    QFETCH(QPointF, direction);
    QFETCH(double, reach);
    QFETCH(std::optional<double>, expected);
    const std::optional<double> found = WallFinder::distanceToWall(image, from, direction, reach);
    QVERIFY2(found.has_value() == expected.has_value(),
             qPrintable(found ? QStringLiteral("found %1").arg(*found) : QStringLiteral("found none")));
    if (found)
        QVERIFY2(std::abs(*found - *expected) <= 2.0, qPrintable(QStringLiteral("found %1").arg(*found)));
}

// Looking along the passage, the left is the wall on the left; the profile's up is up the page.
void WallFinderTest::namesTheSides()
{
    const QImage plain = scan(Scan::Grey, straight);
    const WallFinder::Sides east = WallFinder::leftAndRight(plain, QPointF(100, 60), QPointF(3, 0), 100.0);
    QVERIFY(east.left && std::abs(*east.left - 19.0) <= 2.0);
    QVERIFY(east.right && std::abs(*east.right - 23.0) <= 2.0);
    const WallFinder::Sides west = WallFinder::leftAndRight(plain, QPointF(100, 60), QPointF(-1, 0), 100.0);
    QVERIFY(west.left && std::abs(*west.left - 23.0) <= 2.0);
    const WallFinder::Heights heights = WallFinder::upAndDown(plain, QPointF(100, 60), 100.0);
    QVERIFY(heights.up && std::abs(*heights.up - 19.0) <= 2.0);
    QVERIFY(heights.down && std::abs(*heights.down - 23.0) <= 2.0);
}

// Both sides of a station, up and down the sheet, on drawings as cavers make them: to the middle
// of the line drawn, 0 towards the rock from a wall the station stands on, and nothing (said why)
// where the ink is no drawing or nothing bounds the passage.
void WallFinderTest::readsWallsAsCaversDraw_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<std::vector<QPointF>>("legs");
    QTest::addColumn<std::optional<double>>("up");
    QTest::addColumn<std::optional<double>>("down");

    const std::vector<QPointF> level = {{-150, 4}, {150, -6}};
    const auto ordinary = [](QPainter &p) { walls(p, {-20, 28}); centreLine(p); ringMark(p); };
    QTest::newRow("ring on the centre line") << asDrawn(ordinary) << level << std::optional(20.0) << std::optional(28.0);
    QTest::newRow("15 % speckle") << asDrawn(ordinary, 0, 0.15) << level << std::optional(20.0) << std::optional(28.0);
    QTest::newRow("sheet turned 15 degrees")
        << asDrawn(ordinary, 15) << level << std::optional(20.0 / std::cos(15 * M_PI / 180))
        << std::optional(28.0 / std::cos(15 * M_PI / 180));
    // The ring's edge touches the roof: the roof is no part of the station.
    QTest::newRow("ring touching the roof")
        << asDrawn([](QPainter &p) { walls(p, {-6.8, 30}); centreLine(p); ringMark(p); }) << level << std::optional(6.8)
        << std::optional(30.0);
    // The mark sitting on the floor line, another passage close below it.
    QTest::newRow("ring on the floor line, passage below")
        << asDrawn([](QPainter &p) { walls(p, {-25, 6.8, 14, 40}); centreLine(p); ringMark(p); }) << level
        << std::optional(25.0) << std::optional(6.8);
    QTest::newRow("narrow passage, walls through the ring")
        << asDrawn([](QPainter &p) { walls(p, {-5, 6}); centreLine(p); ringMark(p, 6.0); }) << level << std::optional(5.0)
        << std::optional(6.0);
    // Standing on the roof, its legs going off into the passage below.
    QTest::newRow("station on the roof")
        << asDrawn([](QPainter &p) { walls(p, {0, 35}); centreLine(p, {-100, 50}, {100, 45}); ringMark(p); })
        << std::vector<QPointF>{{-100, 50}, {100, 45}} << std::optional(0.0) << std::optional(35.0);
    QTest::newRow("station on the floor")
        << asDrawn([](QPainter &p) { walls(p, {-30, 0}); centreLine(p, {-100, -40}, {100, -50}); ringMark(p); })
        << std::vector<QPointF>{{-100, -40}, {100, -50}} << std::optional(30.0) << std::optional(0.0);
    const std::optional<double> none;
    QTest::newRow("open below") << asDrawn([](QPainter &p) { walls(p, {-20}); centreLine(p); ringMark(p); }) << level
                                << std::optional(20.0) << none;
    QTest::newRow("halftone") << asDrawn([](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 25, 20));
        for (int y = -100; y < 100; y += 4)
            for (int x = -120; x < 120; x += 4)
                p.drawEllipse(QPointF(x + (y / 4 % 2) * 2, y), 1.6, 1.6);
    }) << level << none << none;
    QTest::newRow("noise") << asDrawn([](QPainter &) {}, 0, 0.6) << level << none << none;
}

void WallFinderTest::readsWallsAsCaversDraw()
{
    QFETCH(QImage, image);
    QFETCH(std::vector<QPointF>, legs);
    QFETCH(std::optional<double>, up);
    QFETCH(std::optional<double>, down);
    const WallFinder::Walls found = WallFinder::bothWays(image, Station, QPointF(0, -1), legs, 100.0);
    for (const auto &[side, expected] : {std::pair(found.ahead, up), std::pair(found.behind, down)}) {
        const QString got = side.distance ? QString::number(*side.distance) : QStringLiteral("none");
        QVERIFY2(side.distance.has_value() == expected.has_value() && side.unsure() != expected.has_value(), qPrintable(got));
        if (expected)
            QVERIFY2(std::abs(*side.distance - *expected) <= 1.0, qPrintable(got));
    }
}

void WallFinderTest::stopsWhenCancelled()
{
    const std::atomic<bool> cancel(true);
    const QImage passage = asDrawn([](QPainter &p) { walls(p, {-20, 28}); });
    const WallFinder::Walls found = WallFinder::bothWays(passage, Station, QPointF(0, -1), {}, 100.0, &cancel);
    QVERIFY(found.cancelled);
    QVERIFY(!found.ahead.distance && !found.behind.distance);
}

QTEST_MAIN(WallFinderTest)
#include "test_wall_finder.moc"
