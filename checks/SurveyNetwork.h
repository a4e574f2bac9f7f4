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

// Two stations with different names, not joined by a short path of legs, where the plan puts them at one point
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

// A station two sheets of one kind share: how far apart they put it once the first sheet is laid
// on the second by the other shared stations (their mean, and from three on their turn and scale
// too), on plans across the ground, on profiles in depth. A wrong label shows here.
struct SharedStation
{
    QString name;
    int first = -1;  // its table entry on the first sheet ...
    int second = -1; // ... and on the second
    double dEast = 0.0, dNorth = 0.0, dUp = 0.0; // the second sheet's placement minus the first's
    double apart = 0.0;
    double allowed = 0.0; // what its clicks allow, metres
    bool flagged = false;
};

// Two sheets of one kind that share stations, held against each other. Each sheet puts the
// shared stations where its own scale (and a plan's north) says; laid on each other, a north that
// is off turns one set against the other and a scale that is off spreads it. A flag where the
// turn or the spread is more than the clicks allow: each shared station clicked once on each
// sheet, `pixels` off at that sheet's scale, the errors in quadrature; how much that can turn or
// stretch the set follows from how far the stations lie from their middle. A shared station far
// beyond its allowance (the worst, from three on) takes no part in the north and scale.
struct SheetComparison
{
    SheetKind kind = SheetKind::Plan;
    SheetId first = PlanSheet;
    SheetId second = PlanSheet;
    QVector<SharedStation> stations; // in the order of their entries on the first sheet
    // The two shared stations furthest apart, as each sheet puts them: horizontal spacing and
    // compass bearing on plans, the depth between them on profiles.
    QString fromName, toName;
    double firstSpacing = 0.0, secondSpacing = 0.0;
    double firstBearingDeg = 0.0, secondBearingDeg = 0.0;
    // Compared only with two or more shared stations that do not lie at one point:
    bool compared = false;
    double turnDeg = 0.0;        // plans: the second sheet's north minus what would lay it on the first
    double allowedTurnDeg = 0.0;
    double scalePercent = 0.0;   // the second sheet's lengths over the first's, minus 1, in per cent
    double allowedScalePercent = 0.0;
    bool northFlagged = false;
    bool scaleFlagged = false;

    bool flagged() const;
};

// A name given to more than one table entry (how branches are tied and loops closed).
struct RepeatedStation
{
    QString name;
    QVector<int> entries;
};

// A station whose passage dimensions look wrong: a value below zero, or a passage (left plus right,
// or up plus down) several times as wide or high as at each neighbour along the traverse that has
// one, and more than a small passage's worth beyond it.
struct DimensionProblem
{
    enum class Kind { Negative, TooWide, TooHigh };
    int station = -1; // table index
    QString name;
    Kind kind = Kind::Negative;
    double width = 0.0;           // TooWide: left plus right, TooHigh: up plus down, metres
    double neighbourWidth = 0.0;  // ... and the widest (highest) neighbour's
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
    QVector<SheetComparison> sheetComparisons; // every pair of sheets of one kind sharing a station
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
    // A passage wider (higher) than this many times each neighbour's, and by more than
    // WidthJumpMetres, is flagged: a slip of the keys (21.3 for 2.3) between passages of 4 m.
    static constexpr double WidthJump = 4.0;
    static constexpr double WidthJumpMetres = 2.0;
    // Likely ties leave out two stations this many legs or fewer apart: a short way round is a
    // passage, not a station named twice.
    static constexpr int TieLegsApart = 3;
    int flaggedSheetCount() const; // pairs of sheets whose north, scale or a shared station disagree
    // Anything the caver should look at: flagged legs or loops, zero-length legs, legs placed
    // under two scales, pieces not tied, likely ties, sheets that disagree, wrong passage dimensions. Repeated names alone are how ties are made,
    // and a repeated leg that agrees with the first is a check measurement, not a fault.
    bool anythingFlagged() const;
};
