#pragma once

#include <QImage>
#include <QPointF>
#include <atomic>
#include <optional>
#include <vector>

// How far a station is from the walls of its passage, for its left, right, up and down
// dimensions: on the plan across the passage, on the profile straight up and down. Points and
// distances are in source pixels, pixel (i, j) covering [i, i + 1) x [j, j + 1); image y runs
// down. Only windows of the scan around the station and along the ray are read (scans run to
// hundreds of megapixels), in any format a scan comes in: colour, grey, 1-bit and palette images.
//
// The walls are read as a caver reads them. The station's own ink is its mark and the centre
// line of its legs, nothing else: a wall touching or crossing the mark is still a wall, and a
// wall running through the station is 0 on the side of the rock. Past that, a wall is the long
// line that bounds the passage, not the first ink on the way: runs of ink reaching less than
// WallLength across the ray (stipple, boulders, hatching, letters) are passed over. The distance
// is to the middle of the drawn line. Where the ink around cannot be read as a drawing (noise,
// a halftone screen) or nothing bounds the passage within reach, the side is left empty and
// says why, rather than a guess.
//
// Everything here is a pure function of its arguments: it may run on any thread.
namespace WallFinder {

// A run of ink reaching this far across the ray is a wall; shorter ones are details drawn inside
// the passage.
constexpr double WallLength = 40.0;
// Searches are capped, so a wild distance cannot make the search run over the whole scan.
constexpr double MaximumReach = 4096.0;

enum class Finding {
    Wall,      // a wall found: the distance is its
    NoWall,    // nothing bounds the passage within reach
    Unreadable // the ink there is no drawing (noise, halftone, a smudge): left for the caver
};

struct Side
{
    std::optional<double> distance;
    Finding finding = Finding::NoWall;

    bool unsure() const { return finding != Finding::Wall; }
};

struct Walls
{
    Side ahead;  // along the direction asked
    Side behind; // the other way
    bool cancelled = false;
};

// The walls on both sides of `station` along `direction` (any length but zero) and against it,
// within `maxDistance`. `legs` are the directions of the station's legs in the scan's pixels
// (any lengths), so their centre line is told from a wall through the station; with none, any
// line through the station is taken for its centre line. `cancel`, when given and set, stops the
// search as soon as it is seen.
Walls bothWays(const QImage &scan, QPointF station, QPointF direction, const std::vector<QPointF> &legs,
               double maxDistance, const std::atomic<bool> *cancel = nullptr);

// The distance from `from` along `direction` to the first wall, if one is met within
// `maxDistance` on the scan.
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
