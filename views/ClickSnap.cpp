#include "views/ClickSnap.h"

#include "views/MarkFinder.h"
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

// Another mark this much farther from the click than the chosen one (in radii, but at least
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

} // namespace

std::optional<QPointF> snapToStationMark(const QImage &image, QPointF click, double radius)
{
    if (image.isNull() || !finite(click) || !std::isfinite(radius) || radius <= 0.0)
        return std::nullopt;
    radius = std::min(radius, MaximumRadius);
    const double largestMark = MarkSizeInRadii * std::max(radius, MinimumMarkRadius);
    // Room for the largest mark whose ink comes within the radius, and for the lines through it
    // to show they are lines.
    const QRect rect = windowAround(image, click, radius + largestMark + 2.0);
    if (rect.isEmpty())
        return std::nullopt;
    const MarkFinder::Reading reading = MarkFinder::read(image, rect, largestMark);
    if (!reading.ink.hasInk())
        return std::nullopt;
    // Every mark near the click competes; text beside it does not (a label is drawn next to its
    // mark, and a click on it means that mark).
    const std::vector<MarkFinder::Mark> near =
        MarkFinder::marksNear(reading, click - QPointF(rect.topLeft()), radius, largestMark);
    if (near.empty())
        return std::nullopt;
    const MarkFinder::Mark &chosen = near.front();
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
