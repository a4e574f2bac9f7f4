// How well and how fast a station's left and right walls are found, on generated plan sheets:
// straight passages, bends and T junctions 30 to 60 pixels wide, with stipple, boulders, hatching,
// the stations' marks, labels and centre line inside, walls 1.5 to 2.5 pixels wide, drawn
// with a wobble.
//
//   BM_FindWalls/S   for stations along the passages, both sides across the mean direction of
//                    their legs, reaching 100 pixels. within_2_px: the share of stations whose two
//                    sides both come within 2 px of the middle of the wall's line (or are rightly empty,
//                    where the passage is open for longer than the reach); empty: a side left
//                    empty where there is a wall, the other right; wrong: a side more than 2 px
//                    off, or a distance given where the passage is open.
// S is the scan: 0 colour, 1 grey, 2 1-bit. The time is per station (two sides).
#include "views/WallFinder.h"

#include "GeneratedScans.h"
#include "RealDrawings.h"

#include <benchmark/benchmark.h>

#include <QFont>
#include <QPainter>
#include <cmath>
#include <map>
#include <tuple>
#include <random>
#include <vector>

namespace {

constexpr int Width = 2400;
constexpr int Height = 1800;
constexpr int Cell = 300; // each passage piece stays in a cell this big
constexpr double Reach = 100.0;
constexpr double Tolerance = 2.0;

struct Wall
{
    QLineF line;
    double pen;
};

struct Station
{
    QPointF at;
    QPointF along; // the mean direction of its legs
};

struct Sheet
{
    QImage image;
    std::vector<Wall> walls;
    std::vector<Station> stations;
};

double cross(QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); }
QPointF unit(QPointF v) { return v / std::hypot(v.x(), v.y()); }
QPointF leftOf(QPointF v) { return QPointF(v.y(), -v.x()); }

// The true distance to the middle of the first wall along the ray, from the walls as drawn.
std::optional<double> trueDistance(const std::vector<Wall> &walls, QPointF from, QPointF direction)
{
    std::optional<double> nearest;
    for (const Wall &wall : walls) {
        const QPointF run = wall.line.p2() - wall.line.p1();
        const double denominator = cross(direction, run);
        if (std::abs(denominator) < 1e-9)
            continue;
        const QPointF offset = wall.line.p1() - from;
        const double t = cross(offset, run) / denominator, u = cross(offset, direction) / denominator;
        if (u < -1e-9 || u > 1 + 1e-9 || t <= 0) // a ray through a joint meets both pieces
            continue;
        // To the middle of the line drawn, where the caver put the wall.
        if (!nearest || t < *nearest)
            nearest = t;
    }
    if (nearest && *nearest > Reach)
        return std::nullopt;
    return nearest;
}

QString randomLabel(std::mt19937 &random) { return GeneratedScans::randomLabel(random, 2); }

class SheetDrawer
{
public:
    SheetDrawer(Sheet &sheet, QPainter &painter, std::mt19937 &random) : sheet(sheet), painter(painter), random(random) {}

    // A passage along `middle` (a polyline), `half` wide either side, its walls drawn, with its
    // details inside and stations at `stationsAt` (indices into the middle line's points).
    void passage(const QPolygonF &middle, double half, const std::vector<int> &stationsAt, bool leftWall = true,
                 bool rightWall = true)
    {
        const double pen = 1.5 + unitDraw();
        for (double side : {half, -half}) {
            if ((side > 0 && !leftWall) || (side < 0 && !rightWall))
                continue;
            // Drawn by hand: a wobble of up to a pixel either way every 10 pixels.
            const QPolygonF wall = offset(middle, side);
            for (int i = 0; i + 1 < wall.size(); ++i) {
                const QLineF piece(wall[i], wall[i + 1]);
                const QPointF normal = leftOf(unit(piece.p2() - piece.p1()));
                const int pieces = std::max(1, int(piece.length() / 10));
                QPointF from = piece.p1();
                for (int j = 1; j <= pieces; ++j) {
                    const QPointF to = piece.pointAt(double(j) / pieces) + (j < pieces ? (2 * unitDraw() - 1) : 0.0) * normal;
                    drawWall(QLineF(from, to), pen);
                    from = to;
                }
            }
        }
        details(middle, half);
        centreLine(middle, half, stationsAt);
    }

    void drawWall(QLineF line, double pen)
    {
        painter.setPen(QPen(Ink, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(line);
        sheet.walls.push_back({line, pen});
    }

    // Stipple, boulders and now and then hatching, clear of the walls.
    void details(const QPolygonF &middle, double half)
    {
        painter.setBrush(Qt::NoBrush);
        for (int i = 0; i + 1 < middle.size(); ++i) {
            const QLineF piece(middle[i], middle[i + 1]);
            const QPointF normal = leftOf(unit(piece.p2() - piece.p1()));
            painter.setPen(QPen(Ink, 1.6));
            for (int dot = int(piece.length() / 4); dot > 0; --dot)
                painter.drawEllipse(piece.pointAt(unitDraw()) + normal * (half - 4) * (2 * unitDraw() - 1), 0.9, 0.9);
            for (int boulder = int(random() % 3); boulder > 0; --boulder) {
                const double size = 3 + 9 * unitDraw();
                const QPointF c = piece.pointAt(unitDraw()) + normal * (half - size - 4) * (2 * unitDraw() - 1);
                painter.drawPolygon(QPolygonF({c + QPointF(-size, 0), c + QPointF(-size / 3, -size * 0.8),
                                               c + QPointF(size, -size / 3), c + QPointF(size / 2, size * 0.7)}));
            }
            if (random() % 3 == 0) {
                painter.setPen(QPen(Ink, 1.2));
                const QPointF start = piece.pointAt(0.2 + 0.4 * unitDraw());
                const QPointF direction = unit(piece.p2() - piece.p1());
                for (int stroke = 0; stroke < 6; ++stroke) {
                    const QPointF at = start + direction * (5.0 * stroke) + normal * (half * 0.3);
                    painter.drawLine(at, at + normal * 8 + direction * 3);
                }
            }
        }
    }

    // The centre line through the stations, each with its mark and its label: inside the passage
    // beside the mark where it fits, outside the wall where it does not.
    void centreLine(const QPolygonF &middle, double half, const std::vector<int> &stationsAt)
    {
        painter.setPen(QPen(Ink, 1.0));
        painter.drawPolyline(middle);
        QFont font(QStringLiteral("DejaVu Sans"));
        for (int index : stationsAt) {
            const QPointF at = middle[index];
            const QPointF in = index > 0 ? unit(at - middle[index - 1]) : unit(middle[index + 1] - at);
            const QPointF out = index + 1 < middle.size() ? unit(middle[index + 1] - at) : in;
            const QPointF along = unit(in + out);
            painter.setBrush(Ink);
            painter.drawEllipse(at, 2.5, 2.5);
            painter.setBrush(Qt::NoBrush);
            font.setPixelSize(11 + int(random() % 4));
            painter.setFont(font);
            const QString label = randomLabel(random);
            const QRectF box = QFontMetricsF(font).boundingRect(label);
            QPointF baseline = at + along * 6 + leftOf(along) * 3;
            const QRectF placed = box.translated(baseline);
            bool fits = true;
            for (const QPointF corner : {placed.topLeft(), placed.topRight(), placed.bottomLeft(), placed.bottomRight()})
                fits = fits && std::abs(cross(corner - at, along)) < half - 3;
            if (!fits) {
                const double reach = std::hypot(box.width(), box.height()) / 2;
                baseline = at + leftOf(along) * (half + 6 + reach) - box.center();
            }
            painter.drawText(baseline, label);
            sheet.stations.push_back({at, along});
        }
    }

    double unitDraw() { return std::uniform_real_distribution<double>(0.0, 1.0)(random); }

    static QPolygonF offset(const QPolygonF &middle, double side)
    {
        QPolygonF line;
        for (int i = 0; i < middle.size(); ++i) {
            const QPointF in = i > 0 ? leftOf(unit(middle[i] - middle[i - 1])) : leftOf(unit(middle[1] - middle[0]));
            const QPointF out = i + 1 < middle.size() ? leftOf(unit(middle[i + 1] - middle[i])) : in;
            line << middle[i] + side * (in + out) / (1 + QPointF::dotProduct(in, out));
        }
        return line;
    }

    static inline const QColor Ink{25, 25, 30};

private:
    Sheet &sheet;
    QPainter &painter;
    std::mt19937 &random;
};

Sheet makeSheet(int scan)
{
    Sheet sheet;
    QImage drawn(Width, Height, QImage::Format_RGB32);
    std::mt19937 random(17);
    for (int y = 0; y < Height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(drawn.scanLine(y));
        for (int x = 0; x < Width; ++x) {
            const int grain = int(random() % 9);
            line[x] = qRgb(238 + grain, 234 + grain, 220 + grain);
        }
    }
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    SheetDrawer draw(sheet, painter, random);
    for (int row = 0; row * Cell < Height; ++row)
        for (int column = 0; column * Cell < Width; ++column) {
            const QPointF centre(column * Cell + Cell / 2.0, row * Cell + Cell / 2.0);
            const double half = 15 + 15 * draw.unitDraw();
            const double heading = 2 * M_PI * draw.unitDraw();
            const QPointF run(std::cos(heading), std::sin(heading));
            switch ((row * 8 + column) % 3) {
            case 0: // straight, stations every 50 pixels
                draw.passage(QPolygonF({centre - 110 * run, centre - 50 * run, centre, centre + 50 * run, centre + 110 * run}),
                             half, {1, 2, 3});
                break;
            case 1: { // a bend of 20 to 60 degrees either way, a station on it and on each arm
                const double turn = (20 + 40 * draw.unitDraw()) * M_PI / 180 * (random() % 2 ? 1 : -1);
                const QPointF out(std::cos(heading + turn), std::sin(heading + turn));
                draw.passage(QPolygonF({centre - 110 * run, centre - 55 * run, centre, centre + 55 * out, centre + 110 * out}),
                             half, {1, 2, 3});
                break;
            }
            default: { // a T junction: the side passage leaves on the right, open beyond reach
                const QPointF side = -leftOf(run);
                const double sideHalf = 15 + 10 * draw.unitDraw();
                draw.passage(QPolygonF({centre - 120 * run, centre - 60 * run, centre, centre + 60 * run, centre + 120 * run}),
                             half, {1, 2, 3}, true, false);
                const QPolygonF right = SheetDrawer::offset({centre - 120 * run, centre + 120 * run}, -half);
                const double pen = 2.0;
                draw.drawWall(QLineF(right[0], right[0] + (120 - sideHalf) * run), pen);
                draw.drawWall(QLineF(right[1] - (120 - sideHalf) * run, right[1]), pen);
                const QPointF mouth = centre + half * side;
                draw.drawWall(QLineF(mouth - sideHalf * run, mouth - sideHalf * run + 110 * side), pen);
                draw.drawWall(QLineF(mouth + sideHalf * run, mouth + sideHalf * run + 110 * side), pen);
                draw.details(QPolygonF({mouth + 10 * side, mouth + 100 * side}), sideHalf);
                draw.centreLine(QPolygonF({centre, centre + (half + 55) * side, centre + (half + 100) * side}), sideHalf,
                                {1});
            }
            }
        }
    painter.end();
    sheet.image = GeneratedScans::asScan(drawn, scan);
    return sheet;
}

const Sheet &sheetFor(int scan)
{
    static Sheet sheets[3];
    if (sheets[scan].image.isNull())
        sheets[scan] = makeSheet(scan);
    return sheets[scan];
}

enum class Verdict { Right, Empty, Wrong };

Verdict judge(std::optional<double> found, std::optional<double> truth)
{
    if (!found)
        return truth ? Verdict::Empty : Verdict::Right;
    return truth && std::abs(*found - *truth) <= Tolerance ? Verdict::Right : Verdict::Wrong;
}

void BM_FindWalls(benchmark::State &state)
{
    const Sheet &sheet = sheetFor(int(state.range(0)));
    size_t next = 0;
    double stations = 0, within = 0, empty = 0, wrong = 0;
    for (auto _ : state) {
        const Station &station = sheet.stations[next++ % sheet.stations.size()];
        const WallFinder::Sides found = WallFinder::leftAndRight(sheet.image, station.at, station.along, Reach);
        state.PauseTiming();
        const QPointF left = leftOf(station.along);
        const Verdict sides[] = {judge(found.left, trueDistance(sheet.walls, station.at, left)),
                                 judge(found.right, trueDistance(sheet.walls, station.at, -left))};
        stations += 1;
        if (sides[0] == Verdict::Wrong || sides[1] == Verdict::Wrong)
            wrong += 1;
        else if (sides[0] == Verdict::Empty || sides[1] == Verdict::Empty)
            empty += 1;
        else
            within += 1;
        state.ResumeTiming();
    }
    state.counters["within_2_px"] = within / stations;
    state.counters["empty"] = empty / stations;
    state.counters["wrong"] = wrong / stations;
}

} // namespace

BENCHMARK(BM_FindWalls)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond)->Iterations(576);

// Walls on sheets drawn as cavers draw them (RealDrawings.h): stations with the centre line
// through their marks, marks touching a wall, stations standing on a wall, passages narrower than
// the mark, other passages close beyond a wall (above and below on profiles, with pitches).
// Distances are to the middle of the drawn line; a bench metre is 20 pixels.
//
//   BM_WallsOnRealDrawings/P/T/S   P: 0 plan (left and right across the legs), 1 profile (up and
//                                  down); T: turned 0, 3 or 15 degrees; S: 0, 5 or 15 % speckle.
//                                  within_2_px: sides with a wall within reach found within 2 px of
//                                  it; on_wall_zero: sides standing on their wall given 0 (within
//                                  0.1 m); off_half_m: sides given a value more than 0.5 m wrong
//                                  (or a value where the passage is open); unsure: sides left empty.
//   BM_WallsOnNoise/P              stations on noise and 50 % halftone: invented is the share of
//                                  sides given a value at all.
namespace {

struct FoundSides
{
    std::optional<double> first, second;
    QPointF towardsFirst;
};

FoundSides findSides(const QImage &image, const RealDrawings::Station &station, bool profile)
{
    const QPointF towards = profile ? QPointF(0, -1) : leftOf(station.along);
    const WallFinder::Walls walls = WallFinder::bothWays(image, station.at, towards, station.legs, RealDrawings::Reach);
    return {walls.ahead.distance, walls.behind.distance, towards};
}

const RealDrawings::Sheet &wallSheet(int profile, int turn, int speckle, bool unreadable = false)
{
    static std::map<std::tuple<int, int, int, bool>, RealDrawings::Sheet> sheets;
    RealDrawings::Sheet &sheet = sheets[{profile, turn, speckle, unreadable}];
    if (sheet.image.isNull()) {
        static const double turns[] = {0, 3, 15};
        static const double speckles[] = {0, 0.05, 0.15};
        RealDrawings::Options options;
        options.profile = profile;
        options.turnDeg = turns[turn];
        options.speckle = speckles[speckle];
        options.unreadable = unreadable;
        options.scan = (turn + speckle) % 3;
        sheet = RealDrawings::makeSheet(options, 200u + unsigned(profile * 100 + turn * 10 + speckle));
    }
    return sheet;
}

void BM_WallsOnRealDrawings(benchmark::State &state)
{
    const bool profile = state.range(0);
    const RealDrawings::Sheet &sheet = wallSheet(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    constexpr double HalfMetre = 0.5 / RealDrawings::MetresPerPixel, TenthMetre = 0.1 / RealDrawings::MetresPerPixel;
    size_t next = 0;
    double walls = 0, within = 0, onWall = 0, zero = 0, sides = 0, off = 0, unsure = 0;
    for (auto _ : state) {
        const RealDrawings::Station &station = sheet.stations[next++ % sheet.stations.size()];
        const FoundSides found = findSides(sheet.image, station, profile);
        state.PauseTiming();
        const std::pair<std::optional<double>, QPointF> each[] = {{found.first, found.towardsFirst},
                                                                  {found.second, -found.towardsFirst}};
        for (const auto &[value, direction] : each) {
            const std::optional<double> truth = RealDrawings::trueDistance(sheet, station, direction);
            sides += 1;
            unsure += !value;
            if (truth) {
                walls += 1;
                within += value && std::abs(*value - *truth) <= Tolerance;
                if (*truth == 0.0) {
                    onWall += 1;
                    zero += value && std::abs(*value) <= TenthMetre;
                }
            }
            off += value && (!truth || std::abs(*value - *truth) > HalfMetre);
        }
        state.ResumeTiming();
    }
    state.counters["within_2_px"] = within / std::max(walls, 1.0);
    state.counters["on_wall_zero"] = zero / std::max(onWall, 1.0);
    state.counters["off_half_m"] = off / sides;
    state.counters["unsure"] = unsure / sides;
}

void BM_WallsOnNoise(benchmark::State &state)
{
    const bool profile = state.range(0);
    const RealDrawings::Sheet &sheet = wallSheet(int(state.range(0)), 0, 0, true);
    size_t next = 0;
    double sides = 0, invented = 0;
    for (auto _ : state) {
        const RealDrawings::Station &station = sheet.stations[next++ % sheet.stations.size()];
        const FoundSides found = findSides(sheet.image, station, profile);
        sides += 2;
        invented += bool(found.first) + bool(found.second);
    }
    state.counters["invented"] = invented / sides;
}

} // namespace

BENCHMARK(BM_WallsOnRealDrawings)->ArgsProduct({{0, 1}, {0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMicrosecond)->Iterations(64 * 3);
BENCHMARK(BM_WallsOnNoise)->DenseRange(0, 1)->Unit(benchmark::kMicrosecond)->Iterations(64);
