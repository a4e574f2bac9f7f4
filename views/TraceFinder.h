#pragma once

#include <QImage>
#include <QLineF>
#include <QPoint>
#include <QPointF>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// Tracing a traverse on a scan: from the station the digitiser clicks first to the one clicked
// last, follow the drawn centre line and find every station mark along it, in order. On the
// profile, the same stations are then looked for near the guide each plan station gives.
//
// Only the scan around the line is read, in tiles, as the search reaches them (scans run to
// hundreds of megapixels), in any format a scan comes in: colour, grey, 1-bit and palette
// images. Points are in source pixels, pixel (i, j) covering [i, i + 1) x [j, j + 1). Everything
// here is pure and may run off the window's thread.
namespace TraceFinder {

// How a long search is watched: a flag the caller sets to stop it, and a callback told the share
// done (0..1). Both may be left empty.
struct Control
{
    const std::atomic<bool> *cancel = nullptr;
    std::function<void(double)> progress;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

struct Mark
{
    QPointF centre;
    double radius = 0.0;     // of the drawn mark
    double confidence = 0.0; // 0..1: how much it looks like the traverse's other marks
};

enum class Outcome {
    Found,     // the line was followed; `marks` holds what lies along it (maybe nothing)
    NoLine,    // no way along the drawing between the two points within reach
    Cancelled, // the caller stopped it
    BadInput,  // an empty scan, or points off it or not finite
};

struct Trace
{
    Outcome outcome = Outcome::BadInput;
    std::vector<Mark> marks;  // in order from the first point
    std::vector<QPoint> path; // the pixels followed, first point to last
    bool alongDrawnLine = true; // false: no line was drawn, the middle of the passage was followed
};

// The stations between `first` (a click on the traverse's first mark) and `last` (a click on its
// last mark, or anywhere further along the drawn line). Where the line forks, the branch leading
// to `last` is taken; a mark where lines meet is a station. Where no line is drawn, the middle of
// the passage between its walls is followed instead.
Trace traceTraverse(const QImage &scan, QPointF first, QPointF last, const Control &control = {});

// On the profile: for each guide (a line in profile pixels, x = const for an extended profile,
// from the plan station it stands for), the mark on or near it that the drawn line leads to from
// the station before, starting at `start` (the profile station matching the plan's first).
// `tolerance` is how far off its guide a mark may be; `reach` how far from the station before
// (the guide's other points are not looked at). Nothing for a guide where no mark, or more than
// one about equally likely, is found: the digitiser decides there.
struct ProfileSearch
{
    double tolerance = 12.0;
    double reach = 1500.0;
};
std::vector<std::optional<Mark>> followOnProfile(const QImage &profile, QPointF start, const std::vector<QLineF> &guides,
                                                 const ProfileSearch &search = {}, const Control &control = {});

} // namespace TraceFinder
