// Snapping a click to the drawing: station marks of each shape in each kind of scan found at their
// centre; text, grids, walls and toss-ups left alone.
#include "views/ClickSnap.h"

#include <QFont>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <functional>

Q_DECLARE_METATYPE(std::optional<QPointF>)

namespace {

enum class Scan { Colour, RedInk, Grey, OneBit, Palette };
const Scan AllScans[] = {Scan::Colour, Scan::RedInk, Scan::Grey, Scan::OneBit, Scan::Palette};
const char *const ScanNames[] = {"colour", "red ink", "grey", "1-bit", "palette"};

using Drawing = std::function<void(QPainter &)>;

// A 160 x 120 scan of that kind with the drawing in ink (cream paper on colour scans).
QImage scan(Scan kind, const Drawing &draw)
{
    QImage canvas(160, 120, QImage::Format_RGB32);
    canvas.fill(kind <= Scan::RedInk ? qRgb(246, 240, 222) : qRgb(255, 255, 255));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing, kind != Scan::OneBit);
    const QColor ink = kind == Scan::RedInk ? QColor(210, 40, 40) : QColor(20, 20, 20);
    painter.setPen(QPen(ink, 1.6));
    painter.setBrush(ink);
    draw(painter);
    painter.end();
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_RGB32, QImage::Format_Grayscale8,
                                      QImage::Format_Mono, QImage::Format_Indexed8};
    return canvas.convertToFormat(formats[int(kind)], Qt::ThresholdDither);
}

// The marks, each centred on `c` (an equilateral triangle's centre is its centroid). Each is drawn
// on a painter of its own, so the brush and pen they change need no restoring.
void dot(QPainter &p, QPointF c) { p.drawEllipse(c, 4.0, 4.0); }
void ring(QPainter &p, QPointF c) { p.setBrush(Qt::NoBrush); p.drawEllipse(c, 5.0, 5.0); }
void triangle(QPainter &p, QPointF c, bool filled)
{
    const double r = 6.5, s = r * std::sqrt(3.0) / 2;
    if (!filled)
        p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(s, r / 2), c + QPointF(-s, r / 2)}));
}
void cross(QPainter &p, QPointF c, QPointF arm)
{
    p.setPen(QPen(p.pen().color(), 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(c - arm, c + arm);
    p.drawLine(c - QPointF(-arm.y(), arm.x()), c + QPointF(-arm.y(), arm.x()));
}
// A dot of stipple, as on a passage's floor.
void speck(QPainter &p, QPointF at) { p.drawEllipse(at, 0.9, 0.9); }
void label(QPainter &p, QPointF baseline)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(baseline, QStringLiteral("A12"));
}
void grid(QPainter &p)
{
    for (double at = 10.5; at < 160; at += 40)
        p.drawLines(QVector<QLineF>{{at, 0, at, 120}, {0, at, 160, at}});
}
void walls(QPainter &p) { p.drawLines(QVector<QLineF>{{0, 40, 160, 52}, {0, 78, 160, 90}}); }

const QPointF Centre(70.3, 61.7);

// A grey 160 x 120 scan drawn as cavers draw, about Centre: the sheet turned `turnDeg` on the
// scanner, then the scanner's blur.
QImage asDrawn(const Drawing &draw, double turnDeg)
{
    QImage canvas(160, 120, QImage::Format_RGB32);
    canvas.fill(qRgb(246, 240, 222));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(Centre);
    painter.rotate(turnDeg);
    painter.setPen(QPen(QColor(20, 20, 20), 1.4));
    draw(painter);
    painter.end();
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

// The centre line through the station at the origin, bending there; a wall along it.
void centreLine(QPainter &p)
{
    p.save();
    p.setPen(QPen(p.pen().color(), 1.0));
    p.drawPolyline(QPolygonF({{-90, 6}, {0, 0}, {90, -14}}));
    p.restore();
}
void wallAt(QPainter &p, double y)
{
    p.save();
    p.setPen(QPen(p.pen().color(), 2.2));
    p.drawLine(QLineF(-90, y, 90, y + 3));
    p.restore();
}
void text(QPainter &p, QPointF baseline, const QString &words)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    p.setFont(font);
    p.drawText(baseline, words);
}

// Each row: a scan, a click, the search radius or reach, and where the click should go.
void addColumns()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<double>("radius");
    QTest::addColumn<std::optional<QPointF>>("expected");
}

void check(std::optional<QPointF> (*snap)(const QImage &, QPointF, double), double tolerance)
{
    QFETCH(QImage, image);
    QFETCH(QPointF, click);
    QFETCH(double, radius);
    QFETCH(std::optional<QPointF>, expected);
    const std::optional<QPointF> snapped = snap(image, click, radius);
    QCOMPARE(snapped.has_value(), expected.has_value());
    if (snapped)
        QVERIFY2(QLineF(*snapped, *expected).length() <= tolerance,
                 qPrintable(QStringLiteral("snapped to (%1, %2)").arg(snapped->x()).arg(snapped->y())));
}

} // namespace

class ClickSnapTest : public QObject
{
    Q_OBJECT
private slots:
    void snapsToMarks_data();
    void snapsToMarks();
    void snapsToMarksAsDrawn_data();
    void snapsToMarksAsDrawn();
    void snapsAcrossPassages_data();
    void snapsAcrossPassages();
};

void ClickSnapTest::snapsToMarks_data()
{
    addColumns();

    const std::pair<const char *, Drawing> marks[] = {
        {"dot", [](QPainter &p) { dot(p, Centre); }},
        {"ring", [](QPainter &p) { ring(p, Centre); }},
        {"filled triangle", [](QPainter &p) { triangle(p, Centre, true); }},
        {"hollow triangle", [](QPainter &p) { triangle(p, Centre, false); }},
        {"upright cross", [](QPainter &p) { cross(p, Centre, {5, 0}); }},
        {"diagonal cross", [](QPainter &p) { cross(p, Centre, {5, 5}); }},
    };
    // Each mark with a speck of stipple touching it, which neither hides the mark nor moves it.
    const std::pair<const char *, Drawing> speckled[] = {
        {"dot", [](QPainter &p) { dot(p, Centre); speck(p, Centre + QPointF(4.4, 4.4)); }},
        {"ring", [](QPainter &p) { ring(p, Centre); speck(p, Centre + QPointF(5.0, 5.0)); }},
        {"filled triangle", [](QPainter &p) { triangle(p, Centre, true); speck(p, Centre + QPointF(-6.0, 4.8)); }},
        {"hollow triangle", [](QPainter &p) { triangle(p, Centre, false); speck(p, Centre + QPointF(-2.0, 5.0)); }},
        {"upright cross", [](QPainter &p) { cross(p, Centre, {5, 0}); speck(p, Centre + QPointF(3.0, 2.4)); }},
        {"diagonal cross", [](QPainter &p) { cross(p, Centre, {5, 5}); speck(p, Centre + QPointF(-1.0, 3.4)); }},
    };
    for (Scan kind : AllScans)
        for (const auto &[name, draw] : speckled)
            QTest::addRow("%s touched by a speck, %s", name, ScanNames[int(kind)])
                << scan(kind, draw) << Centre + QPointF(-3.5, -2.5) << 6.0 << std::optional(Centre);
    for (Scan kind : AllScans)
        for (const auto &[name, draw] : marks) {
            QTest::addRow("%s %s, click beside", name, ScanNames[int(kind)])
                << scan(kind, draw) << Centre + QPointF(4.5, -3.5) << 6.0 << std::optional(Centre);
            QTest::addRow("%s %s, click at zoom 4", name, ScanNames[int(kind)])
                << scan(kind, draw) << Centre + QPointF(-1.2, 0.9) << 1.5 << std::optional(Centre);
        }
    const std::optional<QPointF> none;
    for (Scan kind : AllScans) {
        const char *k = ScanNames[int(kind)];
        QTest::addRow("label beside a dot, %s", k)
            << scan(kind, [](QPainter &p) { dot(p, Centre); label(p, Centre + QPointF(12, 5)); })
            << Centre + QPointF(3, 4) << 6.0 << std::optional(Centre);
        // Nearer the label than its dot: the label names the mark meant.
        QTest::addRow("on the label beside a dot, %s", k)
            << scan(kind, [](QPainter &p) { dot(p, Centre); label(p, Centre + QPointF(12, 5)); })
            << Centre + QPointF(9, 3) << 6.0 << std::optional(Centre);
        QTest::addRow("dot between walls, %s", k) << scan(kind, [](QPainter &p) { walls(p); dot(p, Centre); })
                                                  << Centre + QPointF(-5, 2) << 6.0 << std::optional(Centre);
        QTest::addRow("label alone, on its A, %s", k)
            << scan(kind, [](QPainter &p) { label(p, Centre); }) << Centre + QPointF(5, -5) << 6.0 << none;
        QTest::addRow("label alone, on its 2, %s", k)
            << scan(kind, [](QPainter &p) { label(p, Centre); }) << Centre + QPointF(24, -6) << 6.0 << none;
        QTest::addRow("grid crossing, %s", k) << scan(kind, grid) << QPointF(52, 48) << 6.0 << none;
        QTest::addRow("grid line, %s", k) << scan(kind, grid) << QPointF(70, 53) << 6.0 << none;
        QTest::addRow("two dots alike, %s", k)
            << scan(kind, [](QPainter &p) { dot(p, Centre); dot(p, Centre + QPointF(14, 0)); })
            << Centre + QPointF(7, 0) << 6.0 << none;
    }
    const QImage oneDot = scan(Scan::Grey, [](QPainter &p) { dot(p, Centre); });
    QTest::newRow("beyond the radius") << oneDot << Centre + QPointF(11, 0) << 6.0 << none;
    QTest::newRow("bigger than three radii at zoom 0.25")
        << scan(Scan::Grey, [](QPainter &p) { p.drawEllipse(Centre, 40.0, 40.0); }) << Centre << 24.0 << none;
    QTest::newRow("cut off by the scan's edge")
        << scan(Scan::Grey, [](QPainter &p) { dot(p, QPointF(1.5, 60)); }) << QPointF(3, 60) << 6.0 << none;
    QTest::newRow("blank paper") << scan(Scan::Grey, [](QPainter &) {}) << Centre << 6.0 << none;
    QTest::newRow("click off the scan") << oneDot << QPointF(-50, -50) << 6.0 << none;
    QTest::newRow("click NaN") << oneDot << QPointF(qQNaN(), 60) << 6.0 << none;
    QTest::newRow("radius infinite") << oneDot << Centre << qInf() << none;
    QTest::newRow("radius 0") << oneDot << Centre << 0.0 << none;
}

void ClickSnapTest::snapsToMarks() { check(ClickSnap::snapToStationMark, 0.5); }

// Marks as cavers draw them, each centred on the origin of the drawing: the centre line through
// them, a wall touching them, the sheet turned on the scanner; and characters of notes that look
// like marks, which are not.
void ClickSnapTest::snapsToMarksAsDrawn_data()
{
    addColumns();
    const std::pair<const char *, Drawing> marks[] = {
        {"ring", [](QPainter &p) { p.drawEllipse(QPointF(), 5.0, 5.0); }},
        {"dot", [](QPainter &p) { p.setBrush(p.pen().color()); p.drawEllipse(QPointF(), 3.5, 3.5); }},
        {"triangle", [](QPainter &p) { triangle(p, QPointF(), false); }},
        {"diagonal cross", [](QPainter &p) { cross(p, QPointF(), {4, 4}); }},
        {"square", [](QPainter &p) { p.drawRect(QRectF(-4, -4, 8, 8)); }},
    };
    for (const auto &[name, mark] : marks) {
        const Drawing draw = mark;
        QTest::addRow("%s, centre line through", name)
            << asDrawn([&](QPainter &p) { centreLine(p); draw(p); }, 0) << Centre + QPointF(3, -2.5) << 6.0
            << std::optional(Centre);
        QTest::addRow("%s, touching a wall", name)
            << asDrawn([&](QPainter &p) { wallAt(p, 7.5); centreLine(p); draw(p); }, 0) << Centre + QPointF(-2, -3) << 6.0
            << std::optional(Centre);
        for (const double turn : {3.0, 8.0, 15.0})
            QTest::addRow("%s, turned %g degrees", name, turn)
                << asDrawn([&](QPainter &p) { centreLine(p); draw(p); text(p, {9, -8}, QStringLiteral("K30")); }, turn)
                << Centre + QPointF(2.5, 3) << 6.0 << std::optional(Centre);
    }
    const std::optional<QPointF> none;
    // The click on the first character of each note, or on the degree sign.
    const std::pair<const char *, QPointF> notes[] = {{"+12", {5, -5}}, {"ox", {4, -4}}, {"O2", {5, -5}}, {"45\u00b0", {20, -9}}};
    for (const auto &[words, on] : notes)
        QTest::addRow("note %s", words) << asDrawn([&](QPainter &p) { text(p, {}, QString::fromUtf8(words)); }, 3)
                                        << Centre + on << 6.0 << none;
    QTest::newRow("label's last digit, its mark beyond reach")
        << asDrawn([](QPainter &p) { centreLine(p); p.drawEllipse(QPointF(), 5.0, 5.0); text(p, {9, -8}, QStringLiteral("K30")); }, 3)
        << Centre + QPointF(29, -13) << 6.0 << none;
}

void ClickSnapTest::snapsToMarksAsDrawn() { check(ClickSnap::snapToStationMark, 0.5); }

void ClickSnapTest::snapsAcrossPassages_data()
{
    addColumns();

    // The click's foot on the middle line of the passage, which runs from (0, 59) to (160, 71).
    auto foot = [](QPointF p) {
        QPointF at;
        QLineF(0, 59, 160, 71).intersects(QLineF(p, p + QPointF(-12, 160)), &at);
        return std::optional(at);
    };
    const std::optional<QPointF> none;
    for (Scan kind : AllScans) {
        const char *k = ScanNames[int(kind)];
        QTest::addRow("slanted passage, %s", k) << scan(kind, walls) << QPointF(70.3, 50) << 40.0 << foot({70.3, 50});
        QTest::addRow("near a wall, %s", k) << scan(kind, walls) << QPointF(40, 77) << 40.0 << foot({40, 77});
        QTest::addRow("stipple in the passage, %s", k)
            << scan(kind, [](QPainter &p) {
                   walls(p);
                   for (int i = 0; i < 40; ++i)
                       p.drawEllipse(QPointF(8 + (i * 37) % 150, 58 + (i * 11) % 14), 1.1, 1.1);
               })
            << QPointF(101.5, 60.5) << 40.0 << foot({101.5, 60.5});
        QTest::addRow("station mark beside the click, %s", k)
            << scan(kind, [](QPainter &p) { walls(p); dot(p, Centre); }) << QPointF(78, 60) << 40.0 << foot({78, 60});
        QTest::addRow("on a wall, %s", k) << scan(kind, walls) << QPointF(80, 46) << 40.0 << none;
    }
    const QImage passage = scan(Scan::Grey, walls);
    QTest::newRow("walls beyond reach") << passage << QPointF(70, 64) << 15.0 << none;
    QTest::newRow("one wall only") << scan(Scan::Grey, [](QPainter &p) { p.drawLine(0, 40, 160, 52); }) << QPointF(70, 60)
                                   << 40.0 << none;
    QTest::newRow("blank paper") << scan(Scan::Grey, [](QPainter &) {}) << QPointF(70, 60) << 40.0 << none;
    QTest::newRow("click NaN") << passage << QPointF(70, qQNaN()) << 40.0 << none;
}

void ClickSnapTest::snapsAcrossPassages() { check(ClickSnap::snapAcrossPassage, 1.0); }

QTEST_MAIN(ClickSnapTest)
#include "test_click_snap.moc"
