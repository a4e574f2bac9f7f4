#pragma once

#include "checks/SurveyLegs.h"

#include <QString>
#include <QVector>

// A point of the centreline in metres: east, north and up from station 0.
struct NetworkPoint
{
    double east = 0.0;
    double north = 0.0;
    double up = 0.0;
};

// A loop: a leg that reached a station already placed in the same piece. The misclosure is
// where the leg put the station minus where it already was.
struct SurveyLoop
{
    int closingLeg = -1;       // index into SurveyNetwork::legs
    int station = -1;          // table index of the station the leg reached
    QString name;
    double dEast = 0.0, dNorth = 0.0, dUp = 0.0;
    double misclosure = 0.0;   // length of (dEast, dNorth, dUp)
    double length = 0.0;       // the loop's length along its legs (tapes)
    double errorPercent = 0.0; // misclosure in % of that length
    QVector<int> legs;         // indexes into SurveyNetwork::legs, the closing leg last
    double allowed = 0.0;      // the misclosure the tolerance allows, metres
    bool flagged = false;      // the misclosure is more than that
};

// A connected part of the survey. Piece 0 holds station 0; any other started at a branch whose
// first station matched no station placed before, and is drawn beside the rest.
struct SurveyPiece
{
    int firstStation = -1; // table index
    QString firstName;
    int stationCount = 0;  // distinct stations (names)
    bool tied = false;     // piece 0, or joined to it later by a leg
    // Not tied, yet placed where the drawings put its first station beside station 0 (both on
    // the same plan sheet and the same profile sheet); otherwise it stands east of the rest.
    bool asDrawn = false;
};

// Two stations with different names, not joined by a leg, where the plan puts them at one point
// (within two clicks' tolerance, on the same plan sheet) and the survey at one depth: most likely
// one station the caver forgot to name alike. Where they are on the profile does not matter: an
// extended profile breaks where loops close, so one station may be drawn there twice, far apart.
struct LikelyTie
{
    int first = -1; // table indexes, first < second
    int second = -1;
    QString firstName;
    QString secondName;
    double planApart = 0.0;  // metres between them on the plan
    double depthApart = 0.0; // metres between their depths
};

// A station placed on two sheets (of the plan, the profile or both): how a traverse goes on from
// one sheet to the next. Where the survey reaches the second placement by its own legs too, the
// loop closed there says how far apart the two sheets put the station once calibrated: a sheet
// whose scale or north is wrong shows there.
struct SheetTie
{
    QString name;
    int first = -1;  // table entries: the station's first placement ...
    int second = -1; // ... and the one on another sheet
    bool acrossPlans = false;
    bool acrossProfiles = false;
    int loop = -1;   // the loop closed at the second placement (index into loops); -1: none
};

// A name given to more than one table entry (how branches are tied and loops closed).
struct RepeatedStation
{
    QString name;
    QVector<int> entries;
};

// A station whose passage dimensions look wrong: a value below zero, or a passage (left plus right)
// more than ten times as wide as at each neighbour along the traverse that has a width.
struct DimensionProblem
{
    enum class Kind { Negative, TooWide };
    int station = -1; // table index
    QString name;
    Kind kind = Kind::Negative;
    double width = 0.0;           // TooWide: left plus right, metres
    double neighbourWidth = 0.0;  // ... and the widest neighbour's
};

// The survey as a network: its legs (see SurveyLegs::check), every station's position, its
// loops with their misclosures, the legs that repeat another, its pieces, the zero-length legs and
// the likely ties. Built by
// walking the table in order from station 0 at (0, 0, 0): each leg adds its horizontal length
// on the plan along its compass bearing and its depth change; stations are matched by name the
// way Survex matches them.
struct SurveyNetwork
{
    // Likely ties under a rule set in metres: within this many pixels on the plan.
    static constexpr double TiePixels = 2.0;

    QVector<LegCheck> legs;
    QVector<NetworkPoint> positions; // per table entry; entries with one name share a position
    QVector<int> pieceOf;            // per table entry, index into pieces
    QVector<SurveyLoop> loops;
    // A leg joining two stations another leg already joins: Survex counts it as a loop of its own
    // (two legs), which the loops above leave out; its misclosure is how the two measurements
    // differ.
    QVector<SurveyLoop> repeatedLegs;
    QVector<SurveyPiece> pieces;     // piece 0 first; pieces joined to another are left out
    QVector<int> zeroLengthLegs;     // indexes into legs
    // Legs whose two ends were placed under different scales of the plan or of the profile (the
    // scale changed between them and their metres were not recalculated): indexes into legs.
    QVector<int> mixedScaleLegs;
    QVector<LikelyTie> likelyTies;
    QVector<RepeatedStation> repeated;
    QVector<SheetTie> sheetTies;
    QVector<PassageDimensions> dimensions; // per table entry, as the stations hold them
    QVector<DimensionProblem> dimensionProblems;
    // Table entries without any passage dimension, listed only when some station has one (a
    // survey without dimensions lacks none).
    QVector<int> withoutDimensions;
    CheckSettings settings;

    static SurveyNetwork build(const StationTable &stations, const CheckSettings &settings);

    int flaggedLegCount() const;
    int flaggedLoopCount() const;
    int flaggedRepeatCount() const; // repeated legs that differ from the first beyond the tolerance
    int survexLoopCount() const { return int(loops.size() + repeatedLegs.size()); }
    int untiedPieceCount() const;
    // A passage wider than this many times each neighbour's is flagged.
    static constexpr double WidthJump = 10.0;
    // Anything the caver should look at: flagged legs or loops, zero-length legs, legs placed
    // under two scales, pieces not tied, likely ties, wrong passage dimensions. Repeated names alone are how ties are made,
    // and a repeated leg that agrees with the first is a check measurement, not a fault.
    bool anythingFlagged() const;
};
