#pragma once

#include "views/ScanInk.h"

#include <QPoint>
#include <QPointF>
#include <vector>

// Station marks as a caver draws them, read from a window of ink: a ring, dot, triangle, cross
// or square, with the centre line drawn through it and walls touching or crossing it. The long
// straight strokes (centre lines, walls, grid lines) are taken apart from the compact shapes
// first; a shape that lines cut into pieces is put back together across them, and the lines'
// ink counts as neither ink nor paper when its symmetry is judged. Shapes are told by symmetry
// alone (a half and a quarter turn, or a third of a turn for a triangle), so they are found
// however the sheet was turned on the scanner; characters standing in a line of text are not
// marks. Points are in window pixels, pixel (i, j) covering [i, i + 1) x [j, j + 1).
namespace MarkFinder {

// A straight run of ink at least this long, beyond the largest mark looked for, is a stroke.
constexpr double MinimumStroke = 22.0;

// The ink of a window sorted into strokes and compact pieces, the pieces that strokes cut apart
// grouped together again.
struct Reading
{
    ScanInk::InkWindow ink;
    std::vector<unsigned char> stroke; // per pixel: 1 on a long straight run of ink
    std::vector<int> group;            // per pixel: its group of compact ink, -1 for none
    std::vector<std::vector<QPoint>> groups;

    size_t index(int x, int y) const { return size_t(y) * size_t(ink.width) + size_t(x); }
    bool isStroke(int x, int y) const { return ink.contains(x, y) && stroke[index(x, y)]; }
};

// The window `rect` of `image` read and sorted; strokes are runs longer than `longestMark` by a
// margin, and at least MinimumStroke.
Reading read(const QImage &image, const QRect &rect, double longestMark);

// Whether the ink through window pixel (x, y) runs on straight along `direction` (a unit vector)
// for at least `enough` pixels.
bool runsAlong(const ScanInk::InkWindow &ink, int x, int y, QPointF direction, double enough);

struct Mark
{
    QPointF centre;   // window pixels
    double radius;    // how far its ink reaches from the centre
    double distance;  // from the point asked about to the mark's disc, 0 inside
    int group;        // its pixels: reading.groups[group]
};

// The marks no bigger than `longestMark` across whose disc comes within `radius` of `point`,
// nearest first.
std::vector<Mark> marksNear(const Reading &reading, QPointF point, double radius, double longestMark);

} // namespace MarkFinder
