#pragma once

#include "survey/Sheet.h"
#include "survey/StationTable.h"
#include "survey/Survey.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <initializer_list>

// How far a leg's plan and profile lengths, and a loop's two ends, may disagree before they are
// flagged. On a drawing they agree to the precision of the clicks, so by default each click may
// land `pixels` from the drawn mark, on whatever sheet it was made, and what that allows in
// metres follows from the sheets' scales: a leg, its four clicks (both ends on the plan and on
// the profile); a loop, the two placements of every station where it goes on from another table
// entry (where it closes, and where it crosses to another sheet). Errors of separate clicks
// combine as independent ones do, in quadrature.
//
// With `pixels` 0, or where a scale is unknown, the rule a user sets applies instead: the larger
// of `metres` and `percent` of the longer length (of the leg's two, or the loop's length).
struct LegTolerance
{
    static constexpr double DefaultPixels = 3.0;

    double pixels = DefaultPixels;
    double metres = 0.5;
    double percent = 5.0;

    bool fromDrawing() const { return pixels > 0.0; }
    double allowed(double length) const; // the rule
    // The metres `clicks` allow: pixels x sqrt(sum of (metres per pixel)^2); -1 when a scale in
    // it is unknown (not positive, or not a number).
    double ofClicks(std::initializer_list<double> metresPerPixel) const;
    bool usable() const; // every number finite and not negative
};

// What the check needs besides the stations: north and scale on each plan sheet, which profile
// there is and the scale of each profile sheet (profile x is stored in pixels only), and the
// tolerance.
struct CheckSettings
{
    PlanNorths planOrientation; // degrees clockwise from each plan image's top edge
    ProfileKind profileKind = ProfileKind::Extended;
    double projectionAzimuthDeg = 0.0; // a projected profile's (see Survey)
    Calibration profile; // the profile sheet's: the one of id ProfileSheet, else the first
    std::vector<std::pair<SheetId, Calibration>> otherProfiles; // any further profile sheet's
    std::vector<std::pair<SheetId, Calibration>> plans; // each plan sheet's, when known
    LegTolerance tolerance;

    // The scale of a station's profile sheet.
    const Calibration &profileOf(SheetId profileSheet) const;
    // Metres per pixel where a station was placed: its sheet's scale, else the one its stored
    // metres were placed with; -1 when neither is known. Without a profile, the profile's is 0.
    double planScaleAt(const Station &station) const;
    double profileScaleAt(const Station &station) const;
    // The first plan sheet's scale that is set, and the first profile sheet's (0 without a
    // profile); -1 where unknown: the scales the tolerance's pixels are shown in metres at.
    double examplePlanScale() const;
    double exampleProfileScale() const;
    // The settings a survey gives: the only way the check learns of north, scales and profile.
    static CheckSettings of(const Survey &survey, const LegTolerance &tolerance);

    // The profile gives lengths: there is a profile and its scale is set.
    bool profileLengths() const;
    // Legs are compared and flagged wherever the profile gives lengths: on an extended profile
    // the horizontal lengths, on a projected one the runs along its azimuth (see LegCheck).
    bool comparesLengths() const;
    bool projected() const { return profileKind == ProfileKind::Projective; }
};

// The metres per pixel a point was placed with: its stored metres over its pixels, read from the
// coordinate furthest from the image's edge; -1 when every coordinate is too near 0 to tell.
double placedScale(std::initializer_list<std::pair<float, float>> pixelsAndMetres);

// One leg of the survey, as the branch rule gives it, with everything the check says about it.
// Lengths are metres, angles degrees; clino and depth change are positive when the leg rises.
struct LegCheck
{
    int from = -1; // table indexes
    int to = -1;
    QString fromName; // as the survey text names the stations
    QString toName;
    QByteArray fromKey; // the names as Survex matches them (ASCII letters in lower case)
    QByteArray toKey;
    QString comment;  // the "to" station's, as the survey text writes it on the leg's line
    PassageDimensions toDimensions; // the "to" station's

    bool computed = true; // false: coordinates that are not numbers (error says so)
    QString error;
    double tape = 0.0;
    double compass = 0.0;
    double clino = 0.0;
    double depthChange = 0.0;
    double planHorizontal = 0.0;     // sqrt(dPlanXMetres^2 + dPlanYMetres^2)
    bool hasProfileLength = false;
    double profileHorizontal = 0.0;  // |dProfileX| x the profile's metres per pixel
    // The leg closes a loop (it reaches a station placed before and is not a leg measured again)
    // and its end was clicked on the station's first mark on the profile: an extended profile
    // that does not break there to draw the station again cannot show this leg's length, and the
    // leg has none on the profile.
    bool closesOnExtended = false;
    // A projected profile shortens a leg that does not run along its plane, so there the check
    // compares signed runs along the azimuth instead: the plan leg's, and dProfileX in metres.
    bool projected = false;
    double planAlong = 0.0;
    double profileAlong = 0.0;
    double disagreement = 0.0;       // profile minus plan (lengths, or runs along the azimuth), metres
    double disagreementPercent = 0.0; // of the longer of the two, same sign
    double allowed = 0.0;            // how far the two may disagree, metres
    bool flagged = false;

    // The two values compared: the horizontal lengths, or on a projected profile the runs.
    double planCompared() const { return projected ? planAlong : planHorizontal; }
    double profileCompared() const { return projected ? profileAlong : profileHorizontal; }

    // The tape writes as 0.00: two stations at one place.
    bool zeroLength() const { return computed && tape < 0.005; }
};

namespace SurveyLegs {

// Every leg of the table in order (a leg joins i-1 to i where StationTable::hasLegBefore(i)).
QVector<LegCheck> check(const StationTable &stations, const CheckSettings &settings);

// The "to" indexes of the flagged legs only, for drawing them over the views.
QVector<int> flaggedLegEnds(const StationTable &stations, const CheckSettings &settings);

// A station's name as the from/to layouts write it (its label, or its table index), as text,
// and the key Survex matches it by: Survex folds ASCII letters to lower case and nothing else.
QString stationName(const Station &station, int index);
QByteArray stationKey(const Station &station, int index);

} // namespace SurveyLegs
