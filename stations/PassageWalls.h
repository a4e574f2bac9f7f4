#pragma once

#include "survey/Station.h"
#include "survey/StationTable.h"

#include "document/SurveyDocument.h"

#include <QImage>
#include <QPointF>
#include <QVector>
#include <atomic>
#include <optional>
#include <vector>

class SurveyDocument;
enum class ViewSide;

// The walls of the passage at a station as the drawings show them: the plan's left and right
// walls across the way the survey runs there, the profile's roof and floor straight up and down.
// Their marks are where the caver drags them, and the walls found on the scans fill what is still
// unknown.
namespace PassageWalls {

enum class Wall { Left, Right, Up, Down };

// A wall without a value has its mark this far out, hollow, ready to be dragged.
constexpr double UnsetMetres = 1.0;
// Walls further than this from a station are not looked for.
constexpr double SearchMetres = 15.0;

// The way the survey runs at a station on its plan, a unit vector in plan pixels: the axis of all
// its legs, in every table entry that bears its label (a tie is one station), pointing the way
// the survey runs through its first entry. Every entry of a station gets the same direction; none
// for a station without legs.
std::optional<QPointF> planDirection(const StationTable &stations, int index);

struct Mark
{
    Wall wall;
    QPointF at;   // source pixels of the view's sheet
    bool set;     // the wall has a value
};
// The marks of a station's walls on a view (its sheet shown); none where the scale is unknown.
QVector<Mark> marks(const SurveyDocument &document, int index, ViewSide side);

// The value a wall's mark dragged to `source` gives, metres, never below 0.
std::optional<double> valueAt(const SurveyDocument &document, int index, ViewSide side, Wall wall, QPointF source);

// What finding a station's walls needs, copied out of the document so the search can run on
// another thread (scans are shared, not copied).
struct WallSearch
{
    PassageDimensions known; // values already set, kept
    QImage plan;
    QPointF planPoint;
    std::optional<QPointF> along;   // planDirection()
    std::vector<QPointF> planLegs;  // towards each neighbour on the same plan sheet, pixels
    double planMetresPerPixel = 0.0;
    QImage profile;
    QPointF profilePoint;
    std::vector<QPointF> profileLegs;
    double profileMetresPerPixel = 0.0;
    // Where a sheet's scan is not held (a sheet not shown lately), where to read it from.
    ScanSource planSource, profileSource;
};

struct WallsFound
{
    PassageDimensions dimensions; // the known values and those the scans answered
    int unsure = 0;               // unknown values looked for on a scan and left empty
    bool cancelled = false;
};

WallSearch wallSearch(const SurveyDocument &document, int index);
// Runs on any thread; `cancel`, when set, stops it soon with `cancelled`.
WallsFound findWalls(const WallSearch &search, const std::atomic<bool> *cancel = nullptr);

// The station's dimensions with every unknown value the scans answer filled in (values already
// set are kept).
PassageDimensions found(const SurveyDocument &document, int index);

std::optional<double> &valueOf(PassageDimensions &dimensions, Wall wall);

} // namespace PassageWalls
