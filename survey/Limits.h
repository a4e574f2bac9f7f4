#pragma once

// The program's limits, in one place: what a project file has room for and what a drawing can be.
namespace Limits {

constexpr int StationTableSize = 1000; // entries of the table, the pending one included
constexpr int MaxStations = StationTableSize - 1; // Add stops here
constexpr int StationLabelChars = 20;  // what a project record has room for, a byte a character
constexpr int StationCommentChars = 256;

// A sheet's scale: 0 (not set yet) up to this; a negative scale would mirror every leg placed
// with it, a huge one make their lengths infinite. NaN is none.
constexpr double MaxMetresPerPixel = 100000.0;
constexpr bool scaleAllowed(double metresPerPixel)
{
    return metresPerPixel >= 0.0 && metresPerPixel <= MaxMetresPerPixel;
}

constexpr double MinZoom = 1.0 / 32.0; // the furthest a view zooms out
constexpr double MaxZoom = 8.0;        // ... and in
constexpr int GridShiftLimit = 500;    // the grid moves at most this many source pixels either way

// A passage dimension (station to a wall, the roof or the floor), metres either way: far beyond any
// cave, and small enough that every writer's columns keep their width.
constexpr double MaxPassageMetres = 10000.0;

// Sheets a project may have, plan and profile together.
constexpr int MaxSheets = 1000;

// A plan's north or a projected profile's azimuth, degrees either way: one turn in each direction
// covers every way of writing a bearing; beyond it a typing slip turns every leg.
constexpr double MaxTurnDegrees = 360.0;
constexpr bool turnAllowed(double degrees) { return degrees >= -MaxTurnDegrees && degrees <= MaxTurnDegrees; }

} // namespace Limits
