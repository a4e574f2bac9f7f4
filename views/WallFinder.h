#pragma once

#include <QImage>
#include <QPointF>
#include <optional>

// How far a station is from the walls of its passage, for its left, right, up and down
// dimensions: on the plan across the passage, on the profile straight up and down. Points and
// distances are in source pixels, pixel (i, j) covering [i, i + 1) x [j, j + 1); image y runs
// down. Only windows of the scan along the ray are read (scans run to hundreds of megapixels), in
// any format a scan comes in: colour, grey, 1-bit and palette images.
//
// A wall is the long line that bounds the passage, not the first ink on the way: runs of ink
// reaching less than WallLength across the ray (stipple, boulders, hatching, letters, a centre
// line the ray runs along) are passed over, and so is the ink the station sits on (its mark and
// the centre line drawn through it). The distance is to the wall's near edge, where its ink is
// half there. When nothing bounds the passage within reach, there is no answer rather than a
// guess.
namespace WallFinder {

// A run of ink reaching this far across the ray is a wall; shorter ones are details drawn inside
// the passage.
constexpr double WallLength = 40.0;
// Searches are capped, so a wild distance cannot make the search run over the whole scan.
constexpr double MaximumReach = 4096.0;

// The distance from `from` along `direction` (any length but zero) to the near edge of the first
// wall, if one is met within `maxDistance` on the scan.
std::optional<double> distanceToWall(const QImage &scan, QPointF from, QPointF direction, double maxDistance);

struct Sides
{
    std::optional<double> left;
    std::optional<double> right;
};

// On a plan: the walls across the passage from `station`, square to `along` (the way the
// passage runs there, as the mean direction of the station's legs in image pixels). Left and
// right are as seen looking along it.
Sides leftAndRight(const QImage &plan, QPointF station, QPointF along, double maxDistance);

struct Heights
{
    std::optional<double> up;
    std::optional<double> down;
};

// On a profile: the ceiling and the floor straight above and below `station`.
Heights upAndDown(const QImage &profile, QPointF station, double maxDistance);

} // namespace WallFinder
