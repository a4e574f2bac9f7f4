#pragma once

#include <QImage>
#include <QPointF>
#include <optional>

// Moving a click to what it was aimed at on a scan: the station mark under it, or the middle of
// the passage it falls in. Only a small window of the scan around the click is read (scans run to
// hundreds of megapixels), in any format a scan comes in: colour, grey, 1-bit and palette images.
// Points are in source pixels, pixel (i, j) covering [i, i + 1) x [j, j + 1).
//
// Ink is whatever stands out from the paper around the click, darker or coloured. When the
// drawing does not say clearly what was meant, the click is not moved: a wrong snap costs the
// digitiser more than none.
namespace ClickSnap {

// Marks bigger than this many times the search radius are not marks. The radius is floored at
// MinimumMarkRadius for that test, so zooming in does not make ordinary marks too big to find.
constexpr double MarkSizeInRadii = 3.0;
constexpr double MinimumMarkRadius = 6.0;
// Searches are capped, so a wild radius cannot make a window of the whole scan.
constexpr double MaximumRadius = 512.0;

// The centre of the station mark (dot, ring, triangle, cross, square; any pen, the sheet turned
// any way) whose ink comes within `radius` of `click`, at sub-pixel precision, found through the
// centre line drawn across it and the walls touching it (MarkFinder.h). Nothing when there is no
// such mark, when the ink near the click is text, a grid line or a wall, or when two marks are
// about equally near the click.
std::optional<QPointF> snapToStationMark(const QImage &image, QPointF click, double radius);

// The middle of the passage around `click`: of all directions through the click, the one in
// which the walls on either side are nearest together, and the point halfway between them.
// Specks of ink (stipple, a station mark) are not walls. Nothing when the click is on ink or
// there is no wall within `maxDistance` on both sides in any direction.
std::optional<QPointF> snapAcrossPassage(const QImage &image, QPointF click, double maxDistance);

} // namespace ClickSnap
