#include "views/WallFinder.h"

#include "views/MarkFinder.h"
#include "views/ScanInk.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <array>
#include <limits>
#include <vector>

namespace WallFinder {

namespace {

constexpr double RayStep = 0.25;
// A window reaches this far either side of its centre, and the ray is followed in it only while
// it is within WindowHalf - WallLength of the centre, so every run of ink met can show
// WallLength of itself in any direction.
constexpr double WindowHalf = 2 * WallLength;
constexpr double RayReach = WindowHalf - WallLength;
// The station's own ink is looked for this far around it, among marks no bigger than LongestMark
// across whose centre is within MarkNear of the station.
constexpr double StationHalf = 32.0;
constexpr double LongestMark = 18.0;
constexpr double MarkNear = 4.0;
// The centre line through the station is crossed within this of it.
constexpr double CentreLineReach = 1.25;
// A dot the station sits in reaches at most this far, and as far every way within DotRoundness.
constexpr double DotReach = 4.5;
constexpr double DotRoundness = 1.5;
constexpr int DotDirections = 16;
// Compact ink within StationInk of the station and joined to it within OwnRadius is its own too
// (a dot that walls cut apart is no mark to the mark finder).
constexpr double StationInk = 2.0;
constexpr double OwnRadius = 7.0;
// A line leaving the station: ink in this share of the way out to LeavingLength, looked for every
// 3 degrees. It is the centre line when it runs within LegTolerance of a leg, and a wall through
// the station when it runs on beyond the station too. Its ink lies within LineHalfWidth of it.
constexpr double LeavingLength = 24.0;
constexpr double LeavingShare = 0.85;
constexpr int LeavingDirections = 120;
constexpr double LegTolerance = 20.0 * M_PI / 180.0;
constexpr double LineHalfWidth = 2.0;
// The centre line is drawn with a finer pen, and a wall may run close beside it.
constexpr double LegHalfWidth = 0.5;
// A drawn line is crossed within this many pixels; ink running on further (hatching beyond a
// wall, a label written on it) is measured from its near edge plus half a usual pen.
constexpr double MaximumLineWidth = 9.0;
constexpr double UsualHalfPen = 1.0;
// A drawing has paper before a wall: where more than this share of the ink just short of it (the
// station's own left out) is ink, as on noise or a halftone screen, the wall cannot be told.
constexpr double BeforeDepth = 8.0;
constexpr double BeforeFrom = 3.0; // clear of the station's own ink
constexpr double BeforeHalfWidth = 6.0;
constexpr double BusyBefore = 0.35;
// A ray finding no wall through more than this share of ink went through no drawing.
constexpr double BusyRay = 0.3;
// Nor can anything be read at a station with more than this share of its surroundings inked (its
// own ink left out).
constexpr double StationAround = 10.0;
constexpr double BusyStation = 0.4;
// Thin pens blurred by the scanner come to little more than a third of the strongest ink.
constexpr float LineInk = 0.38f;
// A line's anti-aliased edge still belongs to it at this share of the threshold.
constexpr float FaintShare = 0.7f;

enum Kind : unsigned char { Unknown, Detail, Wall, Own };

bool finite(QPointF point) { return std::isfinite(point.x()) && std::isfinite(point.y()); }
double length(QPointF v) { return std::hypot(v.x(), v.y()); }

bool cancelledBy(const std::atomic<bool> *cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

// Source pixels set aside as the station's own, over the window they were found in.
struct PixelMask
{
    QRect rect;
    std::vector<unsigned char> set;

    void cover(const QRect &r)
    {
        rect = r;
        set.assign(size_t(std::max(0, r.width())) * size_t(std::max(0, r.height())), 0);
    }
    size_t index(int sx, int sy) const { return size_t(sy - rect.top()) * size_t(rect.width()) + size_t(sx - rect.left()); }
    bool has(int sx, int sy) const { return rect.contains(sx, sy) && set[index(sx, sy)]; }
    void add(int sx, int sy)
    {
        if (rect.contains(sx, sy))
            set[index(sx, sy)] = 1;
    }
};

// What the station stands on.
struct AtStation
{
    PixelMask own;     // its mark and its centre line
    PixelMask through; // a wall running through it, if any
    bool onWall = false;
    bool unreadable = false;
    std::array<double, 16> inkRuns{}; // how far the ink the station sits in runs, every way round

    // How far ahead and behind the station's own ink reaches: a small dot it sits in, as far
    // both ways, or else the centre line crossed.
    double ownReach(QPointF ahead) const
    {
        const int k = int(std::lround(std::atan2(ahead.y(), ahead.x()) / (2 * M_PI) * double(inkRuns.size())));
        const size_t forward = size_t((k % int(inkRuns.size()) + int(inkRuns.size())) % int(inkRuns.size()));
        const double there = inkRuns[forward], back = inkRuns[(forward + inkRuns.size() / 2) % inkRuns.size()];
        const bool dot = there <= DotReach && back <= DotReach && std::abs(there - back) <= DotRoundness;
        return dot ? std::max(CentreLineReach, there) : CentreLineReach;
    }
};

// Each ink pixel within LineHalfWidth of the ray from `local` along `d`, as far as the ink runs
// on (gaps of a pixel and a half jumped), into `mask`.
void markLine(const ScanInk::InkWindow &ink, QPointF local, QPointF d, double halfWidth, PixelMask &mask)
{
    double end = 0.0;
    int misses = 0;
    for (double t = 0.0; t <= StationHalf; t += 0.5) {
        const QPointF at = local + t * d;
        const int x = int(std::floor(at.x())), y = int(std::floor(at.y()));
        if (!ink.contains(x, y))
            break;
        if (ink.at(x, y) >= FaintShare * ink.threshold) {
            end = t;
            misses = 0;
        } else if (++misses > 3) {
            break;
        }
    }
    const QPointF across(-d.y(), d.x());
    for (double t = 0.0; t <= end; t += 0.5)
        for (double s = -halfWidth; s <= halfWidth; s += 0.5) {
            const QPointF at = local + t * d + s * across;
            const int x = int(std::floor(at.x())), y = int(std::floor(at.y()));
            if (ink.contains(x, y) && ink.at(x, y) >= FaintShare * ink.threshold)
                mask.add(x + ink.rect.left(), y + ink.rect.top());
        }
}

double angleBetween(double a, double b)
{
    const double d = std::fmod(std::abs(a - b), 2 * M_PI);
    return std::min(d, 2 * M_PI - d);
}

AtStation readStation(const QImage &scan, QPointF station, const std::vector<QPointF> &legs)
{
    AtStation result;
    const QRect rect = ScanInk::windowAround(scan, station, StationHalf);
    result.own.cover(rect);
    result.through.cover(rect);
    if (rect.isEmpty())
        return result;
    const MarkFinder::Reading reading = MarkFinder::read(scan, rect, LongestMark);
    const ScanInk::InkWindow &ink = reading.ink;
    if (!ink.hasInk())
        return result;
    const QPointF local = station - QPointF(rect.topLeft());
    auto source = [&](int x, int y) { return QPoint(x + rect.left(), y + rect.top()); };

    // Its mark.
    for (const MarkFinder::Mark &mark : MarkFinder::marksNear(reading, local, MarkNear, LongestMark))
        if (length(mark.centre - local) <= MarkNear) {
            for (const QPoint &p : reading.groups[size_t(mark.group)])
                result.own.add(source(p.x(), p.y()).x(), source(p.x(), p.y()).y());
            break;
        }
    auto within = [&](int x, int y, double radius) { return length(QPointF(x + 0.5, y + 0.5) - local) <= radius; };
    // Compact ink right at the station, and what joins it close by.
    auto compact = [&](int x, int y) { return ink.contains(x, y) && ink.ink(x, y) && !reading.stroke[reading.index(x, y)]; };
    std::vector<unsigned char> atStation(reading.stroke.size(), 0);
    std::vector<QPoint> stack;
    for (int y = int(local.y() - StationInk) - 1; y <= int(local.y() + StationInk) + 1; ++y)
        for (int x = int(local.x() - StationInk) - 1; x <= int(local.x() + StationInk) + 1; ++x)
            if (compact(x, y) && within(x, y, StationInk) && !atStation[reading.index(x, y)]) {
                atStation[reading.index(x, y)] = 1;
                stack.push_back(QPoint(x, y));
            }
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = p.x() + dx, y = p.y() + dy;
                if (compact(x, y) && within(x, y, OwnRadius) && !atStation[reading.index(x, y)]) {
                    atStation[reading.index(x, y)] = 1;
                    stack.push_back(QPoint(x, y));
                }
            }
    }
    // The lines leaving the station: its legs' centre line, or a wall it stands on.
    std::vector<double> legAngles;
    for (const QPointF &leg : legs)
        if (finite(leg) && length(leg) > 0.0)
            legAngles.push_back(std::atan2(leg.y(), leg.x()));
    std::vector<bool> leaving(LeavingDirections, false);
    for (int k = 0; k < LeavingDirections; ++k) {
        const double angle = 2 * M_PI * k / LeavingDirections;
        const QPointF d(std::cos(angle), std::sin(angle));
        int inked = 0, samples = 0;
        for (double t = 0.5; t <= LeavingLength; t += 0.5, ++samples) {
            const QPointF at = local + t * d;
            const int x = int(std::floor(at.x())), y = int(std::floor(at.y()));
            inked += ink.contains(x, y) && ink.at(x, y) >= FaintShare * ink.threshold;
        }
        leaving[size_t(k)] = inked >= LeavingShare * samples;
    }
    auto alongLeg = [&](double angle) {
        if (legAngles.empty())
            return true;
        for (const double leg : legAngles)
            if (angleBetween(angle, leg) <= LegTolerance)
                return true;
        return false;
    };
    for (int k = 0; k < LeavingDirections; ++k) {
        if (!leaving[size_t(k)])
            continue;
        const double angle = 2 * M_PI * k / LeavingDirections;
        const QPointF d(std::cos(angle), std::sin(angle));
        if (alongLeg(angle)) {
            markLine(ink, local, d, LegHalfWidth, result.own);
            continue;
        }
        // A wall runs on through the station, unless the way back is a leg.
        const int opposite = (k + LeavingDirections / 2) % LeavingDirections;
        bool runsOn = false;
        for (int j = -2; j <= 2; ++j)
            runsOn = runsOn || leaving[size_t((opposite + j + LeavingDirections) % LeavingDirections)];
        if (runsOn && !alongLeg(angle + M_PI)) {
            markLine(ink, local, d, LineHalfWidth, result.through);
            result.onWall = true;
        }
    }
    // Ink all around, as on noise or a halftone screen: nothing here can be read.
    double around = 0.0, inked = 0.0;
    for (int y = int(local.y() - StationAround); y <= int(local.y() + StationAround); ++y)
        for (int x = int(local.x() - StationAround); x <= int(local.x() + StationAround); ++x)
            if (ink.contains(x, y) && within(x, y, StationAround) && !result.own.has(source(x, y).x(), source(x, y).y()) && !atStation[reading.index(x, y)]) {
                around += 1;
                inked += ink.at(x, y) >= std::max(ScanInk::MinimumContrast, LineInk * ink.inkLevel);
            }
    result.unreadable = around > 0 && inked / around > BusyStation;
    // How far the ink the station sits in runs each way: a dot's is its own.
    const auto inkRun = [&](QPointF d) {
        double end = 0.0;
        for (double t = 0.0; t <= DotReach + 1.0; t += 0.25) {
            const QPointF at = local + t * d;
            const int x = int(std::floor(at.x())), y = int(std::floor(at.y()));
            if (!ink.contains(x, y) || ink.at(x, y) < ink.threshold)
                break;
            end = t;
        }
        return end;
    };
    for (int k = 0; k < DotDirections; ++k)
        result.inkRuns[size_t(k)] = inkRun(QPointF(std::cos(2 * M_PI * k / DotDirections), std::sin(2 * M_PI * k / DotDirections)));
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            if (atStation[reading.index(x, y)])
                result.own.add(source(x, y).x(), source(x, y).y());
    return result;
}

struct Window
{
    ScanInk::InkWindow ink;
    std::vector<unsigned char> kind; // of each pixel's run of ink, once looked at
    QPointF centre;                  // in source pixels

    size_t index(int x, int y) const { return size_t(y) * size_t(ink.width) + size_t(x); }
    bool unknownInk(int x, int y) const { return ink.contains(x, y) && ink.ink(x, y) && kind[index(x, y)] == Unknown; }
    // The ink score at a point, between pixel centres; `at` in window pixels.
    double sample(QPointF at) const
    {
        const double u = at.x() - 0.5, v = at.y() - 0.5;
        const double floorU = std::floor(u), floorV = std::floor(v);
        const int x0 = int(floorU), y0 = int(floorV);
        const double fx = u - floorU, fy = v - floorV;
        auto s = [&](int x, int y) { return ink.contains(x, y) ? double(ink.at(x, y)) : 0.0; };
        return (s(x0, y0) * (1 - fx) + s(x0 + 1, y0) * fx) * (1 - fy) + (s(x0, y0 + 1) * (1 - fx) + s(x0 + 1, y0 + 1) * fx) * fy;
    }
};

// Whether the run of ink holding pixel (x, y) is a wall: it reaches WallLength across the ray
// (`across` is square to it). A line the ray runs along, as a side passage's centre line, does
// not. The run is followed only as far as it takes to tell, and its pixels remembered as what it
// is.
Kind classify(Window &window, int x, int y, QPointF across)
{
    std::vector<QPoint> run{QPoint(x, y)};
    std::vector<QPoint> stack{QPoint(x, y)};
    window.kind[window.index(x, y)] = Detail;
    double least = std::numeric_limits<double>::infinity(), most = -least;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const double side = (p.x() + 0.5) * across.x() + (p.y() + 0.5) * across.y();
        least = std::min(least, side);
        most = std::max(most, side);
        if (most - least + 1.0 >= WallLength) {
            for (const QPoint &q : run)
                window.kind[window.index(q.x(), q.y())] = Wall;
            return Wall;
        }
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (window.unknownInk(p.x() + dx, p.y() + dy)) {
                    window.kind[window.index(p.x() + dx, p.y() + dy)] = Detail;
                    run.push_back(QPoint(p.x() + dx, p.y() + dy));
                    stack.push_back(QPoint(p.x() + dx, p.y() + dy));
                }
    }
    return Detail;
}

Window readWindow(const QImage &scan, QPointF centre, const PixelMask &own, const PixelMask *alsoOwn)
{
    Window window;
    window.centre = centre;
    const QRect rect = ScanInk::windowAround(scan, centre, WindowHalf);
    if (rect.isEmpty())
        return window;
    window.ink = ScanInk::readInkWindow(scan, rect);
    window.ink.threshold = std::max(ScanInk::MinimumContrast, LineInk * window.ink.inkLevel);
    window.kind.assign(window.ink.score.size(), Unknown);
    const QRect shared = rect & own.rect;
    for (int sy = shared.top(); sy <= shared.bottom(); ++sy)
        for (int sx = shared.left(); sx <= shared.right(); ++sx)
            if (own.has(sx, sy) || (alsoOwn && alsoOwn->has(sx, sy)))
                window.kind[window.index(sx - rect.left(), sy - rect.top())] = Own;
    return window;
}

// Whether the sample at `local` (window pixels) comes from a wall's ink, classifying as needed.
bool onWallInk(Window &window, QPointF local, QPointF across)
{
    const int x0 = int(std::floor(local.x() - 0.5)), y0 = int(std::floor(local.y() - 0.5));
    bool wall = false;
    for (int y = y0; y <= y0 + 1; ++y)
        for (int x = x0; x <= x0 + 1; ++x)
            if (window.ink.contains(x, y) && window.ink.ink(x, y)) {
                Kind kind = Kind(window.kind[window.index(x, y)]);
                if (kind == Unknown)
                    kind = classify(window, x, y, across);
                wall = wall || kind == Wall;
            }
    return wall;
}

// Whether the ink just short of a wall met at `t` is too busy to be a drawing's paper.
bool busyBefore(const Window &window, QPointF from, QPointF step, double t)
{
    const QPointF across(-step.y(), step.x());
    double samples = 0.0, inked = 0.0;
    for (double back = std::max(BeforeFrom, t - BeforeDepth); back <= t - 1.0; back += 1.0)
        for (double side = -BeforeHalfWidth; side <= BeforeHalfWidth; side += 1.0) {
            const QPointF at = from + back * step + side * across - QPointF(window.ink.rect.topLeft());
            const int x = int(std::floor(at.x())), y = int(std::floor(at.y()));
            if (!window.ink.contains(x, y) || window.kind[window.index(x, y)] == Own)
                continue;
            samples += 1;
            inked += window.ink.ink(x, y);
        }
    return samples >= 12 && inked / samples > BusyBefore;
}

// Along one side from the station: the first wall met, to the middle of its line.
Side follow(const QImage &scan, QPointF from, QPointF direction, double maxDistance, const AtStation &station,
            bool passOverThrough, double passOver, const std::atomic<bool> *cancel, bool &cancelled)
{
    const QPointF step = direction / length(direction);
    const QPointF across(-step.y(), step.x());
    const QRectF area(scan.rect());
    const int steps = int(std::min(maxDistance, MaximumReach) / RayStep);
    const PixelMask *alsoOwn = passOverThrough ? &station.through : nullptr;

    Window window;
    bool read = false;
    double before = 0.0;
    int inked = 0, looked = 0;
    // Nothing found: open passage, or a ray through ink all the way that no line bounds.
    const auto nothing = [&]() {
        return Side{std::nullopt, inked > BusyRay * std::max(looked, 1) ? Finding::Unreadable : Finding::NoWall};
    };
    for (int i = 0; i <= steps; ++i) {
        const double t = i * RayStep;
        const QPointF at = from + t * step;
        if (!area.contains(at))
            return nothing();
        const QPointF offCentre = at - window.centre;
        if (!read || std::max(std::abs(offCentre.x()), std::abs(offCentre.y())) > RayReach) {
            if (cancelledBy(cancel)) {
                cancelled = true;
                return {};
            }
            // The next window ahead, so that as much of the ray as may be followed lies in it.
            window = readWindow(scan, at + RayReach * step, station.own, alsoOwn);
            read = true;
        }
        if (!window.ink.hasInk()) {
            before = 0.0;
            continue;
        }
        const QPointF topLeft(window.ink.rect.topLeft());
        const double here = window.sample(at - topLeft);
        const double threshold = window.ink.threshold;
        ++looked;
        inked += here >= threshold;
        if (t <= passOver || here < threshold || !onWallInk(window, at - topLeft, across)) {
            before = here;
            continue;
        }
        if (busyBefore(window, from, step, t))
            return {std::nullopt, Finding::Unreadable};
        // Back to where the ink came up to the threshold, then on to where it falls below it.
        const double in = t - RayStep * std::clamp((here - threshold) / std::max(here - before, 1e-9), 0.0, 1.0);
        double last = here;
        for (double out = t + RayStep; out - in <= MaximumLineWidth; out += RayStep) {
            const double there = window.sample(from + out * step - topLeft);
            if (there < threshold) {
                const double edge = out - RayStep * std::clamp((threshold - there) / std::max(last - there, 1e-9), 0.0, 1.0);
                return {(in + edge) / 2, Finding::Wall};
            }
            last = there;
        }
        return {in + UsualHalfPen, Finding::Wall};
    }
    return nothing();
}

} // namespace

Walls bothWays(const QImage &scan, QPointF station, QPointF direction, const std::vector<QPointF> &legs,
               double maxDistance, const std::atomic<bool> *cancel)
{
    Walls walls;
    if (scan.isNull() || !finite(station) || !finite(direction) || !std::isfinite(maxDistance) || maxDistance <= 0.0)
        return walls;
    const double size = length(direction);
    // Stations off the scan have nothing to look at; this also keeps the casts in range.
    if (!(size > 0.0) || !std::isfinite(size) || !QRectF(scan.rect()).contains(station))
        return walls;
    if (cancelledBy(cancel)) {
        walls.cancelled = true;
        return walls;
    }
    const QPointF ahead = direction / size;
    const AtStation ink = readStation(scan, station, legs);
    if (ink.unreadable) {
        walls.ahead.finding = walls.behind.finding = Finding::Unreadable;
        return walls;
    }
    if (!ink.onWall) {
        walls.ahead = follow(scan, station, ahead, maxDistance, ink, false, ink.ownReach(ahead), cancel, walls.cancelled);
        walls.behind = follow(scan, station, -ahead, maxDistance, ink, false, ink.ownReach(-ahead), cancel, walls.cancelled);
        return walls;
    }
    // Standing on a wall: 0 towards the rock, and the passage measured past the wall it starts
    // on. The legs go off into the passage; when they go off square to the question, the side
    // that finds no wall, or the farther one, is the rock.
    double into = 0.0;
    int counted = 0;
    for (const QPointF &leg : legs)
        if (finite(leg) && length(leg) > 0.0) {
            into += QPointF::dotProduct(leg / length(leg), ahead);
            ++counted;
        }
    const Side zero{0.0, Finding::Wall};
    if (counted > 0 && std::abs(into) > 0.3 * counted) {
        Side &passage = into > 0 ? walls.ahead : walls.behind;
        (into > 0 ? walls.behind : walls.ahead) = zero;
        passage = follow(scan, station, into > 0 ? ahead : -ahead, maxDistance, ink, true, ink.ownReach(into > 0 ? ahead : -ahead), cancel, walls.cancelled);
        return walls;
    }
    walls.ahead = follow(scan, station, ahead, maxDistance, ink, true, ink.ownReach(ahead), cancel, walls.cancelled);
    walls.behind = follow(scan, station, -ahead, maxDistance, ink, true, ink.ownReach(-ahead), cancel, walls.cancelled);
    const bool aheadIsRock = !walls.ahead.distance
        || (walls.behind.distance && *walls.ahead.distance > *walls.behind.distance);
    (aheadIsRock ? walls.ahead : walls.behind) = zero;
    return walls;
}

std::optional<double> distanceToWall(const QImage &scan, QPointF from, QPointF direction, double maxDistance)
{
    return bothWays(scan, from, direction, {}, maxDistance).ahead.distance;
}

Sides leftAndRight(const QImage &plan, QPointF station, QPointF along, double maxDistance)
{
    // Image y runs down, so looking along (x, y) the left is (y, -x).
    const QPointF left(along.y(), -along.x());
    const Walls walls = bothWays(plan, station, left, {along, -along}, maxDistance);
    return {walls.ahead.distance, walls.behind.distance};
}

Heights upAndDown(const QImage &profile, QPointF station, double maxDistance)
{
    const Walls walls = bothWays(profile, station, QPointF(0, -1), {}, maxDistance);
    return {walls.ahead.distance, walls.behind.distance};
}

} // namespace WallFinder
