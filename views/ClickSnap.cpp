#include "views/ClickSnap.h"

#include "views/ScanInk.h"

#include <QLineF>
#include <QRect>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace ClickSnap {

namespace {

using ScanInk::InkWindow;
using ScanInk::readInkWindow;
using ScanInk::windowAround;

// Below this a pixel is paper for the centroid: grain would pull the centre about.
constexpr float PaperGrain = 20.0f;
// Blobs of fewer pixels, or narrower than this across, are specks (stipple, dust, dither): a
// station mark is drawn to be seen at a glance.
constexpr int MinimumMarkPixels = 12;
constexpr int MinimumMarkExtent = 5;
// Beyond this width to height (or height to width) a blob is a stroke or a tall character.
constexpr double MaximumMarkAspect = 1.5;
// Dots, rings and crosses look the same turned a half and a quarter turn. Upright triangles look
// the same in a mirror, fill their outline (the hole included), fill about half their box and
// have their centre a sixth of their height off the box's middle. Characters do neither well
// enough.
constexpr double MinimumTurnOverlap = 0.85;
constexpr double MinimumMirrorOverlap = 0.9;
constexpr double MinimumSolidity = 0.9;
constexpr double MaximumTriangleAspect = 1.3;
constexpr double MaximumTriangleBoxFill = 0.7;
constexpr double MinimumTriangleCentreOffset = 1.0 / 12.0; // of the height
// A speck of stipple touching a mark is at most this share of its ink and this many pixels
// across, and pulls the mark's centroid at most this far; a pixel with this much more weight than
// its counterpart across the mark may be part of one. Asymmetry over this share about the
// centroid is more than a speck makes; below the next there is no speck to look for, and once
// the speck is gone a mark has no more than the last.
constexpr double MaximumSpeckShare = 0.2;
constexpr int SpeckSize = 5;
constexpr double SpeckReach = 2.0;
constexpr double SpeckExcess = 0.25;
constexpr double MaximumSpeckPull = 0.45;
constexpr double SpeckFree = 0.02;
constexpr double AsymmetryBesideSpeck = 0.05;
// Another blob this much farther from the click than the chosen one (in radii, but at least
// a pixel) still makes the click a toss-up.
constexpr double AmbiguityInRadii = 0.25;
// Ink runs shorter than this across are not walls (stipple, a station mark, a dot of rock).
constexpr int MinimumWallExtent = 16;
constexpr int PassageDirections = 90; // over half a turn, 2 degrees apart
constexpr double RayStep = 0.25;
constexpr int RefineSteps = 5; // the directions either side that find the narrowest between them

bool finite(QPointF point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

// One connected run of ink (8-connected), in window pixels.
struct Blob
{
    std::vector<QPoint> pixels;
    QRect box;
    bool touchesEdge = false;
};

// The ink's connected runs; `labels` gets each pixel's blob index, -1 for paper.
std::vector<Blob> blobsOf(const InkWindow &window, std::vector<int> &labels)
{
    std::vector<Blob> blobs;
    labels.assign(window.score.size(), -1);
    std::vector<QPoint> stack;
    for (int y = 0; y < window.height; ++y)
        for (int x = 0; x < window.width; ++x) {
            if (!window.ink(x, y) || labels[size_t(y * window.width + x)] >= 0)
                continue;
            const int label = int(blobs.size());
            Blob blob;
            int left = x, right = x, top = y, bottom = y;
            labels[size_t(y * window.width + x)] = label;
            stack.push_back(QPoint(x, y));
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                blob.pixels.push_back(p);
                left = std::min(left, p.x());
                right = std::max(right, p.x());
                top = std::min(top, p.y());
                bottom = std::max(bottom, p.y());
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = p.x() + dx, ny = p.y() + dy;
                        if (!window.contains(nx, ny) || !window.ink(nx, ny))
                            continue;
                        int &seen = labels[size_t(ny * window.width + nx)];
                        if (seen < 0) {
                            seen = label;
                            stack.push_back(QPoint(nx, ny));
                        }
                    }
            }
            blob.box = QRect(QPoint(left, top), QPoint(right, bottom));
            blob.touchesEdge = left == 0 || top == 0 || right == window.width - 1 || bottom == window.height - 1;
            blobs.push_back(std::move(blob));
        }
    return blobs;
}

// A blob's ink as weights 0..1 on a grid over its box with a margin, so the faint edge of an
// anti-aliased mark counts for what it covers.
struct BlobShape
{
    QRect grid; // in window pixels
    std::vector<float> weight;
    std::vector<bool> ink;    // the blob's own pixels
    std::vector<bool> filled; // ink or enclosed by it (a ring's hole)
    QPointF centre;           // weighted, in window pixels
    double total = 0.0;
    QRect box;      // of the ink
    int pixels = 0; // of ink

    bool contains(int x, int y) const { return grid.contains(x, y); }
    size_t index(int x, int y) const
    {
        return size_t(y - grid.top()) * size_t(grid.width()) + size_t(x - grid.left());
    }
    // The weight at a point, between pixel centres.
    double sample(QPointF at) const
    {
        const double u = at.x() - 0.5, v = at.y() - 0.5;
        if (!(u > grid.left() - 1 && v > grid.top() - 1 && u < grid.right() + 1 && v < grid.bottom() + 1))
            return 0.0;
        const int x0 = int(std::floor(u)), y0 = int(std::floor(v));
        const double fx = u - x0, fy = v - y0;
        auto w = [&](int x, int y) { return contains(x, y) ? double(weight[index(x, y)]) : 0.0; };
        return (w(x0, y0) * (1 - fx) + w(x0 + 1, y0) * fx) * (1 - fy)
            + (w(x0, y0 + 1) * (1 - fx) + w(x0 + 1, y0 + 1) * fx) * fy;
    }
};

// The centre, total, box and filled part of a shape from its weights and ink.
void settle(BlobShape &shape)
{
    const size_t count = shape.weight.size();
    double sumX = 0.0, sumY = 0.0;
    shape.total = 0.0;
    shape.pixels = 0;
    int left = shape.grid.right(), right = shape.grid.left(), top = shape.grid.bottom(), bottom = shape.grid.top();
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            const size_t i = shape.index(x, y);
            const double w = shape.weight[i];
            shape.total += w;
            sumX += w * (x + 0.5);
            sumY += w * (y + 0.5);
            if (shape.ink[i]) {
                ++shape.pixels;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    shape.centre = shape.total > 0.0 ? QPointF(sumX / shape.total, sumY / shape.total) : QPointF();
    shape.box = shape.pixels > 0 ? QRect(QPoint(left, top), QPoint(right, bottom)) : QRect();

    // Filled: whatever paper of the grid cannot reach its border without crossing the ink.
    std::vector<bool> outside(count, false);
    std::vector<QPoint> stack;
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x)
            if ((x == shape.grid.left() || x == shape.grid.right() || y == shape.grid.top()
                 || y == shape.grid.bottom()) && !shape.ink[shape.index(x, y)]) {
                outside[shape.index(x, y)] = true;
                stack.push_back(QPoint(x, y));
            }
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        const QPoint steps[4] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const QPoint &step : steps) {
            const QPoint n = p + step;
            if (shape.contains(n.x(), n.y()) && !outside[shape.index(n.x(), n.y())] && !shape.ink[shape.index(n.x(), n.y())]) {
                outside[shape.index(n.x(), n.y())] = true;
                stack.push_back(n);
            }
        }
    }
    shape.filled.assign(count, false);
    for (size_t i = 0; i < count; ++i)
        shape.filled[i] = !outside[i];
}

BlobShape shapeOf(const InkWindow &window, const std::vector<int> &labels, int label, const Blob &blob)
{
    BlobShape shape;
    shape.grid = blob.box.adjusted(-1, -1, 1, 1) & QRect(0, 0, window.width, window.height);
    const size_t count = size_t(shape.grid.width()) * size_t(shape.grid.height());
    shape.weight.assign(count, 0.0f);
    shape.ink.assign(count, false);
    // The blob's own strongest ink is full weight, so a grey mark weighs as much as a black one.
    float strongest = 0.0f;
    for (const QPoint &p : blob.pixels)
        strongest = std::max(strongest, window.at(p.x(), p.y()));
    auto weightOf = [&](int x, int y) {
        const float s = window.at(x, y);
        return s < PaperGrain ? 0.0f : std::min(1.0f, s / strongest);
    };
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            // The blob's pixels and the faint ones touching them, not another blob's ink.
            const bool own = labels[size_t(y * window.width + x)] == label;
            bool near = own;
            if (!near && labels[size_t(y * window.width + x)] < 0)
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = window.contains(x + dx, y + dy)
                            && labels[size_t((y + dy) * window.width + x + dx)] == label;
            if (!near)
                continue;
            shape.weight[shape.index(x, y)] = weightOf(x, y);
            shape.ink[shape.index(x, y)] = own;
        }
    settle(shape);
    return shape;
}

// How much of the ink lands on ink again when moved by `move`: 1 for a shape that `move` maps
// onto itself.
template<typename Move>
double overlap(const BlobShape &shape, Move move)
{
    double kept = 0.0;
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            const double w = shape.weight[shape.index(x, y)];
            if (w <= 0.0)
                continue;
            // Half a pixel's leeway: a thin mark seen through the scanner's grid is not exactly
            // symmetric.
            const QPointF to = move(QPointF(x + 0.5, y + 0.5));
            double there = shape.sample(to);
            for (const QPointF leeway : {QPointF(0.5, 0), QPointF(-0.5, 0), QPointF(0, 0.5), QPointF(0, -0.5)})
                there = std::max(there, shape.sample(to + leeway));
            kept += std::min(w, there);
        }
    return shape.total > 0.0 ? kept / shape.total : 0.0;
}

double cross(QPointF o, QPointF a, QPointF b)
{
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// How much of its convex hull the filled shape covers, counting pixel centres as Pick's
// theorem counts a lattice polygon's points, so small convex marks still come out near 1.
double solidity(const BlobShape &shape)
{
    std::vector<QPointF> points;
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x)
            if (shape.filled[shape.index(x, y)])
                points.push_back(QPointF(x, y));
    if (points.size() < 3)
        return 0.0;
    std::sort(points.begin(), points.end(),
              [](QPointF a, QPointF b) { return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y()); });
    std::vector<QPointF> hull(2 * points.size());
    size_t k = 0;
    for (size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    double area = 0.0, perimeter = 0.0;
    for (size_t i = 0; i < hull.size(); ++i) {
        const QPointF a = hull[i], b = hull[(i + 1) % hull.size()];
        area += a.x() * b.y() - b.x() * a.y();
        perimeter += std::hypot(b.x() - a.x(), b.y() - a.y());
    }
    return double(points.size()) / (std::abs(area) / 2.0 + perimeter / 2.0 + 1.0);
}

// A speck of stipple touching a mark breaks its symmetry and pulls its centroid off. Found as the
// ink that `move` about the mark's centre takes onto paper, gathered in one small place: about the
// centre that keeps the most ink on ink, the weight each pixel has beyond its counterpart's is
// the asymmetry, and the asymmetry within a speck's radius of its middle is the speck. The shape
// comes back without the speck, for the tests to judge the rest as they would any mark; the same
// shape when there is no speck or too much of one.
template<typename Move>
BlobShape withoutSpeck(const BlobShape &shape, Move move, bool acrossOnly)
{
    // The weight beyond each pixel's counterpart about `c`, and in all.
    std::vector<float> excess(shape.weight.size(), 0.0f);
    auto asymmetry = [&](QPointF c, bool record) {
        double beyond = 0.0;
        for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
            for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
                const size_t i = shape.index(x, y);
                const double w = shape.weight[i];
                if (w <= 0.0)
                    continue;
                const QPointF to = move(c, QPointF(x + 0.5, y + 0.5));
                double there = shape.sample(to);
                for (const QPointF leeway : {QPointF(0.5, 0), QPointF(-0.5, 0), QPointF(0, 0.5), QPointF(0, -0.5)})
                    there = std::max(there, shape.sample(to + leeway));
                beyond += std::max(0.0, w - there);
                if (record)
                    excess[i] = float(std::max(0.0, w - there));
            }
        return beyond;
    };
    QPointF best = shape.centre;
    double least = asymmetry(best, false);
    if (least <= SpeckFree * shape.total || least > MaximumSpeckPull * shape.total)
        return shape;
    // Downhill from the centroid in shrinking steps (a mirror's centre moves only across it).
    for (double step = SpeckReach / 4; step >= SpeckReach / 32; step /= 2)
        for (bool moved = true; moved && QLineF(best, shape.centre).length() <= SpeckReach;) {
            moved = false;
            const QPointF around = best;
            for (const QPointF towards : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1), QPointF(1, 1),
                                          QPointF(-1, 1), QPointF(1, -1), QPointF(-1, -1)}) {
                if (acrossOnly && towards.y() != 0)
                    continue;
                if (const double beyond = asymmetry(around + step * towards, false); beyond < least) {
                    least = beyond;
                    best = around + step * towards;
                    moved = true;
                }
            }
        }
    asymmetry(best, true);
    // The speck: the heaviest run of pixels (8-connected) each with a speck's excess.
    std::vector<int> run(excess.size(), -1);
    std::vector<double> runWeight;
    std::vector<QPoint> stack;
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            if (excess[shape.index(x, y)] < SpeckExcess || run[shape.index(x, y)] >= 0)
                continue;
            const int label = int(runWeight.size());
            runWeight.push_back(0.0);
            run[shape.index(x, y)] = label;
            stack.push_back(QPoint(x, y));
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                runWeight.back() += excess[shape.index(p.x(), p.y())];
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint n(p.x() + dx, p.y() + dy);
                        if (shape.contains(n.x(), n.y()) && excess[shape.index(n.x(), n.y())] >= SpeckExcess
                            && run[shape.index(n.x(), n.y())] < 0) {
                            run[shape.index(n.x(), n.y())] = label;
                            stack.push_back(n);
                        }
                    }
            }
        }
    if (runWeight.empty())
        return shape;
    const int heaviest = int(std::max_element(runWeight.begin(), runWeight.end()) - runWeight.begin());
    BlobShape trimmed = shape;
    const double speck = runWeight[size_t(heaviest)];
    QRect extent;
    for (size_t i = 0; i < run.size(); ++i)
        if (run[i] == heaviest) {
            trimmed.weight[i] = 0.0f;
            trimmed.ink[i] = false;
            const QPoint at(shape.grid.left() + int(i % size_t(shape.grid.width())),
                            shape.grid.top() + int(i / size_t(shape.grid.width())));
            extent |= QRect(at, at);
        }
    // Only a mark that is symmetric once the speck is gone had one.
    if (std::max(extent.width(), extent.height()) > SpeckSize || least - speck > AsymmetryBesideSpeck * shape.total)
        return shape;
    if (speck > MaximumSpeckShare * shape.total)
        return shape;
    settle(trimmed);
    return trimmed;
}

// Whether a shape is the size and shape of a dot, ring or cross.
bool turnShaped(const BlobShape &shape)
{
    const int longer = std::max(shape.box.width(), shape.box.height());
    const int shorter = std::min(shape.box.width(), shape.box.height());
    if (shape.pixels < MinimumMarkPixels || shorter < MinimumMarkExtent || longer > MaximumMarkAspect * shorter
        || shape.total <= 0.0)
        return false;
    const QPointF c = shape.centre;
    const double halfTurn = overlap(shape, [c](QPointF p) { return 2 * c - p; });
    const double quarterTurn = overlap(shape, [c](QPointF p) {
        return QPointF(c.x() - (p.y() - c.y()), c.y() + (p.x() - c.x()));
    });
    return halfTurn >= MinimumTurnOverlap && quarterTurn >= MinimumTurnOverlap;
}

// Whether a shape is the size and shape of an upright triangle.
bool triangleShaped(const BlobShape &shape)
{
    const int longer = std::max(shape.box.width(), shape.box.height());
    const int shorter = std::min(shape.box.width(), shape.box.height());
    if (shape.pixels < MinimumMarkPixels || shorter < MinimumMarkExtent
        || longer > MaximumTriangleAspect * shorter || shape.total <= 0.0)
        return false;
    const QPointF c = shape.centre;
    const double filled = double(std::count(shape.filled.begin(), shape.filled.end(), true));
    const double boxFill = filled / (double(shape.box.width()) * shape.box.height());
    const double offset = std::abs(c.y() - (shape.box.top() + shape.box.height() / 2.0));
    return boxFill <= MaximumTriangleBoxFill && offset >= MinimumTriangleCentreOffset * shape.box.height()
        && overlap(shape, [c](QPointF p) { return QPointF(2 * c.x() - p.x(), p.y()); }) >= MinimumMirrorOverlap
        && solidity(shape) >= MinimumSolidity;
}

// The centre of a blob shaped as a station mark, specks touching it left out; nothing for any
// other shape.
std::optional<QPointF> markCentre(const BlobShape &shape)
{
    const BlobShape turned = withoutSpeck(shape, [](QPointF c, QPointF p) { return 2 * c - p; }, false);
    if (turnShaped(turned))
        return turned.centre;
    const BlobShape mirrored =
        withoutSpeck(shape, [](QPointF c, QPointF p) { return QPointF(2 * c.x() - p.x(), p.y()); }, true);
    if (triangleShaped(mirrored))
        return mirrored.centre;
    return std::nullopt;
}

// How far the click is from the nearest pixel of the blob's filled shape, 0 on it.
double distanceTo(const BlobShape &shape, QPointF click)
{
    double nearest = std::numeric_limits<double>::infinity();
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x)
            if (shape.filled[shape.index(x, y)]) {
                const double dx = std::max(0.0, std::abs(click.x() - (x + 0.5)) - 0.5);
                const double dy = std::max(0.0, std::abs(click.y() - (y + 0.5)) - 0.5);
                nearest = std::min(nearest, std::hypot(dx, dy));
            }
    return nearest;
}

} // namespace

std::optional<QPointF> snapToStationMark(const QImage &image, QPointF click, double radius)
{
    if (image.isNull() || !finite(click) || !std::isfinite(radius) || radius <= 0.0)
        return std::nullopt;
    radius = std::min(radius, MaximumRadius);
    const double largestMark = MarkSizeInRadii * std::max(radius, MinimumMarkRadius);
    // Room for the largest mark whose ink comes within the radius, and a pixel to see its edge.
    const QRect rect = windowAround(image, click, radius + largestMark + 2.0);
    if (rect.isEmpty())
        return std::nullopt;
    const InkWindow window = readInkWindow(image, rect);
    if (!window.hasInk())
        return std::nullopt;
    std::vector<int> labels;
    const std::vector<Blob> blobs = blobsOf(window, labels);
    const QPointF local = click - QPointF(rect.topLeft());

    // Every mark-shaped blob near the click competes; text and other ink beside it do not (a
    // label is drawn next to its mark, and a click on it means that mark), while lines running
    // out of the window are the drawing's structure and never count.
    struct Near
    {
        double distance;
        QPointF centre;
    };
    std::vector<Near> near;
    for (size_t i = 0; i < blobs.size(); ++i) {
        const Blob &blob = blobs[i];
        if (blob.touchesEdge || int(blob.pixels.size()) < MinimumMarkPixels
            || std::max(blob.box.width(), blob.box.height()) < MinimumMarkExtent
            || std::max(blob.box.width(), blob.box.height()) > largestMark)
            continue;
        const BlobShape shape = shapeOf(window, labels, int(i), blob);
        const double distance = distanceTo(shape, local);
        if (distance > radius)
            continue;
        if (const std::optional<QPointF> centre = markCentre(shape))
            near.push_back({distance, *centre});
    }
    if (near.empty())
        return std::nullopt;
    std::sort(near.begin(), near.end(), [](const Near &a, const Near &b) { return a.distance < b.distance; });
    const Near &chosen = near.front();
    // Two marks about as near: which one was meant is not for us to guess.
    const double margin = std::max(1.0, AmbiguityInRadii * radius);
    if (near.size() > 1 && near[1].distance <= chosen.distance + margin)
        return std::nullopt;
    return chosen.centre + QPointF(rect.topLeft());
}

std::optional<QPointF> snapAcrossPassage(const QImage &image, QPointF click, double maxDistance)
{
    if (image.isNull() || !finite(click) || !std::isfinite(maxDistance) || maxDistance <= 0.0)
        return std::nullopt;
    maxDistance = std::min(maxDistance, MaximumRadius);
    const QRect rect = windowAround(image, click, maxDistance + 2.0);
    if (rect.isEmpty())
        return std::nullopt;
    const InkWindow window = readInkWindow(image, rect);
    if (!window.hasInk())
        return std::nullopt;
    const QPointF local = click - QPointF(rect.topLeft());
    const int clickX = int(std::floor(local.x())), clickY = int(std::floor(local.y()));
    if (!window.contains(clickX, clickY) || window.ink(clickX, clickY))
        return std::nullopt;

    // The walls' ink alone: long runs, or runs going on beyond the window.
    std::vector<int> labels;
    const std::vector<Blob> blobs = blobsOf(window, labels);
    std::vector<float> wallInk(window.score.size(), 0.0f);
    for (const Blob &blob : blobs) {
        if (!blob.touchesEdge && std::max(blob.box.width(), blob.box.height()) < MinimumWallExtent)
            continue;
        // The wall's faint edge too, so the crossing below falls where the ink is half there.
        for (const QPoint &p : blob.pixels)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (window.contains(p.x() + dx, p.y() + dy)) {
                        const size_t i = size_t((p.y() + dy) * window.width + p.x() + dx);
                        wallInk[i] = window.score[i];
                    }
    }
    // The wall ink between pixel centres.
    auto wallAt = [&](QPointF at) {
        const double u = at.x() - 0.5, v = at.y() - 0.5;
        const int x0 = int(std::floor(u)), y0 = int(std::floor(v));
        const double fx = u - x0, fy = v - y0;
        auto w = [&](int x, int y) {
            return window.contains(x, y) ? double(wallInk[size_t(y * window.width + x)]) : 0.0;
        };
        return (w(x0, y0) * (1 - fx) + w(x0 + 1, y0) * fx) * (1 - fy)
            + (w(x0, y0 + 1) * (1 - fx) + w(x0 + 1, y0 + 1) * fx) * fy;
    };
    // How far along `direction` the first wall is, to where its ink reaches the threshold;
    // nothing within `limit`.
    auto wallAlong = [&](QPointF direction, double limit) -> std::optional<double> {
        double before = wallAt(local);
        for (double t = RayStep; t <= limit; t += RayStep) {
            const double here = wallAt(local + t * direction);
            if (here >= window.threshold)
                return t - RayStep * (here - window.threshold) / std::max(here - before, 1e-9);
            before = here;
        }
        return std::nullopt;
    };

    // The walls on either side along a direction and back.
    struct Across
    {
        double ahead;
        double behind;
    };
    auto across = [&](double angle, double narrowest) -> std::optional<Across> {
        const QPointF direction(std::cos(angle), std::sin(angle));
        const std::optional<double> ahead = wallAlong(direction, maxDistance);
        if (!ahead)
            return std::nullopt;
        // A side farther than the narrowest width so far cannot make a narrower one.
        const std::optional<double> behind = wallAlong(-direction, std::min(maxDistance, narrowest - *ahead));
        if (!behind)
            return std::nullopt;
        return Across{*ahead, *behind};
    };
    const double step = M_PI / PassageDirections;
    std::optional<double> best;
    double narrowest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < PassageDirections; ++i)
        if (const auto walls = across(i * step, narrowest); walls && walls->ahead + walls->behind < narrowest) {
            narrowest = walls->ahead + walls->behind;
            best = i * step;
        }
    if (!best)
        return std::nullopt;
    // The width changes little near the narrowest direction, so the scanner's grain can tip the
    // choice a few degrees, which slides the middle along the passage. The width a few steps
    // either side (growing as one over the cosine, near enough a parabola) says where the true
    // narrowest lies.
    const double spread = RefineSteps * step;
    const auto before = across(*best - spread, std::numeric_limits<double>::infinity());
    const auto after = across(*best + spread, std::numeric_limits<double>::infinity());
    double angle = *best;
    if (before && after) {
        const double left = before->ahead + before->behind, right = after->ahead + after->behind;
        const double curvature = left + right - 2 * narrowest;
        if (curvature > 0)
            angle += std::clamp(spread * (left - right) / (2 * curvature), -spread, spread);
    }
    const auto walls = across(angle, std::numeric_limits<double>::infinity());
    if (!walls)
        return std::nullopt;
    return click + QPointF(std::cos(angle), std::sin(angle)) * ((walls->ahead - walls->behind) / 2.0);
}

} // namespace ClickSnap
