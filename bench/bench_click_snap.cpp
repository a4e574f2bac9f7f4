// How well and how fast a click snaps to the drawing, on generated sheets at zoom 1 (a search
// radius of 6 pixels), clicks jittered up to 6 pixels from what they aim at.
//
//   BM_SnapToMarks/S         clicks aimed at station marks (dots, rings, triangles, crosses, each
//                            with its label beside it) on a sheet with a grid, walls and text.
//                            within_half_px: the share that come back within 0.5 px of the mark's
//                            centre; near_half_to_3_px: on the mark but farther off (a speck of
//                            stipple touching it); wrong: the share moved to something else; the
//                            rest stay put.
//   BM_SnapWithoutMarks/S    clicks aimed at text, grid lines and walls on a sheet without marks:
//                            snapped is the share moved at all (each such snap is wrong).
//   BM_SnapAcrossPassage/S   clicks inside passages drawn without marks: within_1_px is the share
//                            moved to within a pixel of the passage's middle.
// S is the scan: 0 colour, 1 grey, 2 1-bit. The time is per snap.
#include "views/ClickSnap.h"

#include "GeneratedScans.h"
#include "RealDrawings.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace {

constexpr double Radius = 6.0; // six screen pixels at zoom 1
constexpr int Width = 2400;
constexpr int Height = 1800;
constexpr int Spacing = 150;       // marks and passages sit in cells this big
constexpr double GridStep = 200.0; // the sheet's ruled grid
constexpr double NearMark = 3.0;   // a snap farther than this from the mark went to something else

struct Sheet
{
    QImage image;
    std::vector<QPointF> marks;   // centres
    std::vector<QPointF> targets; // what clicks aim at on a sheet without marks
    std::vector<std::pair<QPointF, QLineF>> passages; // a point inside and the passage's middle line
};

using GeneratedScans::asScan;

QString randomLabel(std::mt19937 &random) { return GeneratedScans::randomLabel(random, 3); }

void drawMark(QPainter &painter, QPointF c, int shape, double size)
{
    painter.save();
    switch (shape) {
    case 0: painter.drawEllipse(c, size * 0.8, size * 0.8); break;
    case 1:
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, size, size);
        break;
    case 2: {
        QPainterPath path;
        path.moveTo(c + QPointF(0, -size * 1.2));
        path.lineTo(c + QPointF(size * 1.04, size * 0.6));
        path.lineTo(c + QPointF(-size * 1.04, size * 0.6));
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    default:
        painter.setPen(QPen(painter.pen().color(), 1.8, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(c - QPointF(size, 0), c + QPointF(size, 0));
        painter.drawLine(c - QPointF(0, size), c + QPointF(0, size));
    }
    painter.restore();
}

// Paper with grain, a ruled grid, a passage in every other cell row (two walls, stipple), text,
// and (with marks) a station mark with its label in each cell between the walls.
Sheet makeSheet(int scan, bool withMarks)
{
    Sheet sheet;
    QImage drawn(Width, Height, QImage::Format_RGB32);
    std::mt19937 random(withMarks ? 7 : 11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int y = 0; y < Height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(drawn.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const int grain = int(random() % 9);
            line[x] = qRgb(238 + grain, 234 + grain, 220 + grain);
        }
    }
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(25, 25, 30);
    painter.setPen(QPen(QColor(120, 120, 130), 1.2));
    for (double at = GridStep / 2; at < Width; at += GridStep) {
        painter.drawLine(QPointF(at, 0), QPointF(at, Height));
        for (double along = 10; along < Height; along += 40)
            sheet.targets.push_back(QPointF(at, along));
    }
    for (double at = GridStep / 2; at < Height; at += GridStep) {
        painter.drawLine(QPointF(0, at), QPointF(Width, at));
        for (double along = 10; along < Width; along += 40)
            sheet.targets.push_back(QPointF(along, at));
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    for (int row = 0; row * Spacing + Spacing < Height; ++row)
        for (int column = 0; column * Spacing + Spacing < Width; ++column) {
            const QPointF cell(column * Spacing + 25, row * Spacing + 25);
            font.setPixelSize(13 + int(random() % 6));
            painter.setFont(font);
            painter.setPen(QPen(ink, 1.6));
            painter.setBrush(ink);
            if (row % 2 == 0) {
                // A stretch of passage, walls 30 to 46 pixels apart, stipple between.
                const double width = 30 + 16 * unit(random), slope = 0.3 * (unit(random) - 0.5);
                const QLineF middle(cell + QPointF(0, 45), cell + QPointF(110, 45 + 110 * slope));
                const QPointF half(0, width / 2);
                painter.drawLine(QLineF(middle.p1() - half, middle.p2() - half));
                painter.drawLine(QLineF(middle.p1() + half, middle.p2() + half));
                sheet.targets.push_back(middle.pointAt(0.3) - half);
                for (int dot = 0; dot < 6; ++dot)
                    painter.drawEllipse(middle.pointAt(0.1 + 0.15 * dot) + QPointF(0, (unit(random) - 0.5) * width * 0.5),
                                        0.9, 0.9);
                if (withMarks) {
                    const QPointF centre = middle.pointAt(0.2 + 0.6 * unit(random))
                        + QPointF(unit(random) - 0.5, unit(random) - 0.5);
                    drawMark(painter, centre, int(random() % 4), 4.0 + 1.5 * unit(random));
                    painter.drawText(centre + QPointF(11, -7), randomLabel(random));
                    sheet.marks.push_back(centre);
                } else {
                    sheet.passages.push_back({middle.pointAt(0.15 + 0.1 * (column % 8)), middle});
                }
            } else {
                // A line of text, as notes and labels on the sheet.
                const QString text = randomLabel(random) + QLatin1Char(' ') + randomLabel(random);
                const QPointF at = cell + QPointF(0, 40);
                painter.drawText(at, text);
                const QRectF box = QFontMetricsF(font).boundingRect(text).translated(at);
                for (double x = box.left() + 4; x < box.right(); x += 8)
                    sheet.targets.push_back(QPointF(x, box.center().y()));
            }
        }
    painter.end();
    sheet.image = asScan(drawn, scan);
    return sheet;
}

const Sheet &sheetFor(int scan, bool withMarks)
{
    static Sheet sheets[2][3];
    Sheet &sheet = sheets[withMarks][scan];
    if (sheet.image.isNull())
        sheet = makeSheet(scan, withMarks);
    return sheet;
}

// A click up to six pixels off, anywhere in the disc.
QPointF jittered(QPointF at, std::mt19937 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double distance = Radius * std::sqrt(unit(random)), angle = 2 * M_PI * unit(random);
    return at + distance * QPointF(std::cos(angle), std::sin(angle));
}

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

void BM_SnapToMarks(benchmark::State &state)
{
    const Sheet &sheet = sheetFor(int(state.range(0)), true);
    std::mt19937 random(3);
    double clicks = 0, within = 0, near = 0, wrong = 0;
    for (auto _ : state) {
        const QPointF mark = sheet.marks[random() % sheet.marks.size()];
        const std::optional<QPointF> snapped = ClickSnap::snapToStationMark(sheet.image, jittered(mark, random), Radius);
        clicks += 1;
        const double off = snapped ? distance(*snapped, mark) : 0.0;
        within += snapped && off <= 0.5;
        near += snapped && off > 0.5 && off <= NearMark;
        wrong += snapped && off > NearMark;
    }
    state.counters["within_half_px"] = within / clicks;
    state.counters["near_half_to_3_px"] = near / clicks;
    state.counters["wrong"] = wrong / clicks;
}

void BM_SnapWithoutMarks(benchmark::State &state)
{
    const Sheet &sheet = sheetFor(int(state.range(0)), false);
    std::mt19937 random(5);
    double clicks = 0, snapped = 0;
    for (auto _ : state) {
        const QPointF target = sheet.targets[random() % sheet.targets.size()];
        clicks += 1;
        if (ClickSnap::snapToStationMark(sheet.image, jittered(target, random), Radius))
            snapped += 1;
    }
    state.counters["snapped"] = snapped / clicks;
}

void BM_SnapAcrossPassage(benchmark::State &state)
{
    const Sheet &sheet = sheetFor(int(state.range(0)), false);
    std::mt19937 random(9);
    double clicks = 0, within = 0;
    for (auto _ : state) {
        const auto &[inside, middle] = sheet.passages[random() % sheet.passages.size()];
        const QPointF click = jittered(inside, random);
        const std::optional<QPointF> snapped = ClickSnap::snapAcrossPassage(sheet.image, click, 40.0);
        clicks += 1;
        // The click's foot on the middle line.
        const QPointF along = (middle.p2() - middle.p1()) / middle.length();
        const QPointF foot = middle.p1() + along * QPointF::dotProduct(click - middle.p1(), along);
        if (snapped && distance(*snapped, foot) <= 1.0)
            within += 1;
    }
    state.counters["within_1_px"] = within / clicks;
}

} // namespace

BENCHMARK(BM_SnapToMarks)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_SnapWithoutMarks)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->Iterations(2000);
BENCHMARK(BM_SnapAcrossPassage)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->Iterations(1000);

// Clicks on sheets drawn as cavers draw them (RealDrawings.h), within 3 px of a mark's ink, the
// search radius 6 px.
//
//   BM_SnapOnRealDrawings/T/V   T: the sheet turned 0, 3, 8 or 15 degrees; V: 0 centre line through
//                               the marks, 1 none, 2 the line and 5 % speckle, 3 the line and 15 %.
//                               within_half_px: snapped within 0.5 px of the mark's centre;
//                               elsewhere: snapped more than 3 px from it (to anything else).
//   BM_SnapNearText/T           clicks within 3 px of label digits and lone characters (o, O, +,
//                               degree sign, 0): elsewhere is the share snapped anywhere but a
//                               mark's centre.
namespace {

const RealDrawings::Sheet &realSheet(int turn, int variant)
{
    static std::map<std::pair<int, int>, RealDrawings::Sheet> sheets;
    RealDrawings::Sheet &sheet = sheets[{turn, variant}];
    if (sheet.image.isNull()) {
        static const double turns[] = {0, 3, 8, 15};
        static const double speckles[] = {0, 0, 0.05, 0.15};
        RealDrawings::Options options;
        options.turnDeg = turns[turn];
        options.centreLine = variant != 1;
        options.speckle = speckles[variant];
        options.scan = (turn + variant) % 3;
        sheet = RealDrawings::makeSheet(options, 100u + unsigned(turn * 10 + variant));
    }
    return sheet;
}

QPointF within(QPointF at, double reach, std::mt19937 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double distance = reach * std::sqrt(unit(random)), angle = 2 * M_PI * unit(random);
    return at + distance * QPointF(std::cos(angle), std::sin(angle));
}

void BM_SnapOnRealDrawings(benchmark::State &state)
{
    const RealDrawings::Sheet &sheet = realSheet(int(state.range(0)), int(state.range(1)));
    std::mt19937 random(13);
    double clicks = 0, near = 0, elsewhere = 0;
    for (auto _ : state) {
        const RealDrawings::Station &station = sheet.stations[random() % sheet.stations.size()];
        const QPointF click = within(station.ink[random() % station.ink.size()], 3.0, random);
        const std::optional<QPointF> snapped = ClickSnap::snapToStationMark(sheet.image, click, Radius);
        clicks += 1;
        near += snapped && distance(*snapped, station.at) <= 0.5;
        elsewhere += snapped && distance(*snapped, station.at) > NearMark;
    }
    state.counters["within_half_px"] = near / clicks;
    state.counters["elsewhere"] = elsewhere / clicks;
}

void BM_SnapNearText(benchmark::State &state)
{
    const RealDrawings::Sheet &sheet = realSheet(int(state.range(0)), 0);
    std::mt19937 random(15);
    double clicks = 0, elsewhere = 0;
    for (auto _ : state) {
        const QPointF click = within(sheet.decoys[random() % sheet.decoys.size()], 3.0, random);
        const std::optional<QPointF> snapped = ClickSnap::snapToStationMark(sheet.image, click, Radius);
        clicks += 1;
        if (snapped) {
            bool onMark = false;
            for (const RealDrawings::Station &station : sheet.stations)
                onMark = onMark || distance(*snapped, station.at) <= NearMark;
            elsewhere += !onMark;
        }
    }
    state.counters["elsewhere"] = elsewhere / clicks;
}

} // namespace

BENCHMARK(BM_SnapOnRealDrawings)->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2, 3}})->Unit(benchmark::kMicrosecond)->Iterations(1000);
BENCHMARK(BM_SnapNearText)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond)->Iterations(1000);
