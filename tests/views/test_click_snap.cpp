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
    const bool colour = kind == Scan::Colour || kind == Scan::RedInk;
    QImage canvas(160, 120, QImage::Format_RGB32);
    canvas.fill(colour ? qRgb(246, 240, 222) : qRgb(255, 255, 255));
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
void label(QPainter &p, QPointF baseline)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(baseline, QStringLiteral("A12"));
}
void grid(QPainter &p)
{
    for (int at = 10; at < 160; at += 40) {
        p.drawLine(QPointF(at + 0.5, 0), QPointF(at + 0.5, 120));
        p.drawLine(QPointF(0, at + 0.5), QPointF(160, at + 0.5));
    }
}
void walls(QPainter &p) { p.drawLines(QVector<QLineF>{{0, 40, 160, 52}, {0, 78, 160, 90}}); }

const QPointF Centre(70.3, 61.7);

// What is wrong with a snap, empty when it is as expected to within `tolerance` pixels.
QString mismatch(std::optional<QPointF> snapped, std::optional<QPointF> expected, double tolerance)
{
    if (snapped.has_value() == expected.has_value() && (!snapped || QLineF(*snapped, *expected).length() <= tolerance))
        return {};
    return snapped ? QStringLiteral("snapped to (%1, %2)").arg(snapped->x()).arg(snapped->y())
                   : QStringLiteral("not snapped");
}

} // namespace

class ClickSnapTest : public QObject
{
    Q_OBJECT
private slots:
    void snapsToMarks_data();
    void snapsToMarks();
};

void ClickSnapTest::snapsToMarks_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QPointF>("click");
    QTest::addColumn<double>("radius");
    QTest::addColumn<std::optional<QPointF>>("expected");

    const std::pair<const char *, Drawing> marks[] = {
        {"dot", [](QPainter &p) { dot(p, Centre); }},
        {"ring", [](QPainter &p) { ring(p, Centre); }},
        {"filled triangle", [](QPainter &p) { triangle(p, Centre, true); }},
        {"hollow triangle", [](QPainter &p) { triangle(p, Centre, false); }},
        {"upright cross", [](QPainter &p) { cross(p, Centre, {5, 0}); }},
        {"diagonal cross", [](QPainter &p) { cross(p, Centre, {5, 5}); }},
    };
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
        QTest::addRow("dot between walls, %s", k)
            << scan(kind, [](QPainter &p) { walls(p); dot(p, Centre); }) << Centre + QPointF(-5, 2) << 6.0
            << std::optional(Centre);
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

void ClickSnapTest::snapsToMarks()
{
    QFETCH(QImage, image);
    QFETCH(QPointF, click);
    QFETCH(double, radius);
    QFETCH(std::optional<QPointF>, expected);

    const QString problem = mismatch(ClickSnap::snapToStationMark(image, click, radius), expected, 0.5);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_MAIN(ClickSnapTest)
#include "test_click_snap.moc"
