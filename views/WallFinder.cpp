#include "views/WallFinder.h"

#include "views/ScanInk.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace WallFinder {

namespace {

constexpr double RayStep = 0.25;
// Ink this near the starting point is the station's own (its mark and the centre line drawn
// through it), as is the ink joined to it within OwnRadius: a mark is smaller than that. Farther
// out its centre line and label are passed over as any detail, and a wall that a label runs into
// is still a wall.
constexpr double StationInk = 2.0;
constexpr double OwnRadius = 10.0;
// A window reaches this far either side of its centre, and the ray is followed in it only while
// it is within WindowHalf - WallLength of the centre, so every run of ink met can show
// WallLength of itself in any direction.
constexpr double WindowHalf = 2 * WallLength;
constexpr double RayReach = WindowHalf - WallLength;

enum Kind : unsigned char { Unknown, Detail, Wall, Own };

struct Window
{
    ScanInk::InkWindow ink;
    std::vector<unsigned char> kind; // of each pixel's run of ink, once looked at
    QPointF centre;                  // in source pixels

    size_t index(int x, int y) const { return size_t(y) * size_t(ink.width) + size_t(x); }
    bool unknownInk(int x, int y) const
    {
        return ink.contains(x, y) && ink.ink(x, y) && kind[index(x, y)] == Unknown;
    }
    // The ink score at a point, between pixel centres; `at` in window pixels.
    double sample(QPointF at) const
    {
        const double u = at.x() - 0.5, v = at.y() - 0.5;
        const double floorU = std::floor(u), floorV = std::floor(v);
        const int x0 = int(floorU), y0 = int(floorV);
        const double fx = u - floorU, fy = v - floorV;
        auto s = [&](int x, int y) { return ink.contains(x, y) ? double(ink.at(x, y)) : 0.0; };
        return (s(x0, y0) * (1 - fx) + s(x0 + 1, y0) * fx) * (1 - fy)
            + (s(x0, y0 + 1) * (1 - fx) + s(x0 + 1, y0 + 1) * fx) * fy;
    }
};

bool finite(QPointF point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

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

// The window around `centre`, with the ink the station sits on set aside.
Window readWindow(const QImage &scan, QPointF centre, QPointF station)
{
    Window window;
    window.centre = centre;
    const QRect rect = ScanInk::windowAround(scan, centre, WindowHalf);
    if (rect.isEmpty())
        return window;
    window.ink = ScanInk::readInkWindow(scan, rect);
    window.kind.assign(window.ink.score.size(), Unknown);
    if (!window.ink.hasInk())
        return window;
    const QPointF local = station - QPointF(rect.topLeft());
    auto within = [&](int x, int y, double radius) {
        return std::hypot(x + 0.5 - local.x(), y + 0.5 - local.y()) <= radius;
    };
    const int reach = int(std::ceil(StationInk));
    const int cx = int(std::floor(local.x())), cy = int(std::floor(local.y()));
    std::vector<QPoint> stack;
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x)
            if (window.unknownInk(x, y) && within(x, y, StationInk)) {
                window.kind[window.index(x, y)] = Own;
                stack.push_back(QPoint(x, y));
            }
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const QPoint n(p.x() + dx, p.y() + dy);
                if (window.unknownInk(n.x(), n.y()) && within(n.x(), n.y(), OwnRadius)) {
                    window.kind[window.index(n.x(), n.y())] = Own;
                    stack.push_back(n);
                }
            }
    }
    return window;
}

// The ink pixels among the four a sample at `local` (window pixels) comes from.
template<typename Visit>
void inkAround(const Window &window, QPointF local, Visit visit)
{
    const int x0 = int(std::floor(local.x() - 0.5)), y0 = int(std::floor(local.y() - 0.5));
    for (int y = y0; y <= y0 + 1; ++y)
        for (int x = x0; x <= x0 + 1; ++x)
            if (window.ink.contains(x, y) && window.ink.ink(x, y))
                visit(x, y);
}

} // namespace

std::optional<double> distanceToWall(const QImage &scan, QPointF from, QPointF direction, double maxDistance)
{
    if (scan.isNull() || !finite(from) || !finite(direction) || !std::isfinite(maxDistance) || maxDistance <= 0.0)
        return std::nullopt;
    const double length = std::hypot(direction.x(), direction.y());
    if (!(length > 0.0) || !std::isfinite(length))
        return std::nullopt;
    const QPointF step = direction / length;
    const QPointF across(-step.y(), step.x());
    const QRectF area(scan.rect());
    // Stations far off the scan have nothing to look at; this also keeps the casts in range.
    if (!area.contains(from))
        return std::nullopt;
    const int steps = int(std::min(maxDistance, MaximumReach) / RayStep);

    Window window;
    bool read = false;
    double before = 0.0;
    for (int i = 0; i <= steps; ++i) {
        const double t = i * RayStep;
        const QPointF at = from + t * step;
        if (!area.contains(at))
            return std::nullopt;
        const QPointF offCentre = at - window.centre;
        if (!read || std::max(std::abs(offCentre.x()), std::abs(offCentre.y())) > RayReach) {
            // The next window ahead, so that as much of the ray as may be followed lies in it.
            window = readWindow(scan, at + RayReach * step, from);
            read = true;
        }
        if (!window.ink.hasInk()) {
            before = 0.0;
            continue;
        }
        const QPointF local = at - QPointF(window.ink.rect.topLeft());
        const double here = window.sample(local);
        if (here >= window.ink.threshold) {
            bool wall = false;
            inkAround(window, local, [&](int x, int y) {
                Kind kind = Kind(window.kind[window.index(x, y)]);
                if (kind == Unknown)
                    kind = classify(window, x, y, across);
                wall = wall || kind == Wall;
            });
            if (wall) {
                if (i == 0)
                    return 0.0;
                // Back to where the ink came up to the threshold.
                const double back = (here - window.ink.threshold) / std::max(here - before, 1e-9);
                return t - RayStep * std::clamp(back, 0.0, 1.0);
            }
        }
        before = here;
    }
    return std::nullopt;
}

Sides leftAndRight(const QImage &plan, QPointF station, QPointF along, double maxDistance)
{
    // Image y runs down, so looking along (x, y) the left is (y, -x).
    const QPointF left(along.y(), -along.x());
    return {distanceToWall(plan, station, left, maxDistance), distanceToWall(plan, station, -left, maxDistance)};
}

Heights upAndDown(const QImage &profile, QPointF station, double maxDistance)
{
    return {distanceToWall(profile, station, QPointF(0, -1), maxDistance),
            distanceToWall(profile, station, QPointF(0, 1), maxDistance)};
}

} // namespace WallFinder
