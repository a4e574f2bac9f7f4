#pragma once

#include "document/SurveyDocument.h"
#include "survey/Sheet.h"
#include "survey/StationTable.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// How far the horizontal length of a leg on the plan and on the profile may differ before the
// leg is flagged: the larger of `metres` and `percent` of the longer of the two. Loops use the
// same rule on their misclosure and their length along the legs.
struct LegTolerance
{
    double metres = 0.5;
    double percent = 5.0;

    double allowed(double length) const;
    bool usable() const; // both finite and not negative
};

// What the check needs besides the stations: north on each plan sheet, which profile there is
// and the scale of each profile sheet (profile x is stored in pixels only), and the tolerance.
struct CheckSettings
{
    PlanNorths planOrientation; // degrees clockwise from each plan image's top edge
    ProfileKind profileKind = ProfileKind::Extended;
    Calibration profile; // the first profile sheet's
    std::vector<std::pair<SheetId, Calibration>> otherProfiles; // any further profile sheet's
    LegTolerance tolerance;

    // The scale of a station's profile sheet.
    const Calibration &profileOf(SheetId profileSheet) const;
    // The settings a survey gives.
    static CheckSettings of(const Survey &survey, const LegTolerance &tolerance);

    // The profile gives lengths: there is a profile and its scale is set.
    bool profileLengths() const;
    // Lengths are compared and legs flagged only on an extended profile: a projected one
    // shortens every leg that does not run along its plane, so it shows the lengths only.
    bool comparesLengths() const;

    // The settings of a document; an orientation entry that is not a number counts as 0 and
    // clears *orientationValid (when given).
    static CheckSettings of(const SurveyDocument &document, const LegTolerance &tolerance,
                            bool *orientationValid = nullptr);
};

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

    bool computed = true; // false: coordinates that are not numbers (error says so)
    QString error;
    double tape = 0.0;
    double compass = 0.0;
    double clino = 0.0;
    double depthChange = 0.0;
    double planHorizontal = 0.0;     // sqrt(dPlanXMetres^2 + dPlanYMetres^2)
    bool hasProfileLength = false;
    double profileHorizontal = 0.0;  // |dProfileX| x the profile's metres per pixel
    double disagreement = 0.0;       // profile minus plan, metres
    double disagreementPercent = 0.0; // of the longer of the two, same sign
    bool flagged = false;

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
