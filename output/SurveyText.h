#pragma once

#include "survey/SafeLine.h"
#include "survey/Survey.h"
#include "survey/SurveyDetails.h"
#include "survey/SurveyLeg.h"
#include "survey/StationTable.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class StationNames;


// The survey data text of a station table, line by line, in one of the three layouts: the Lumaro
// ".cav" layouts "Label" and "FromTo", or Survex ".svx". Lines are Windows-1251 bytes without a
// line ending; labels and comments appear as stored, except that the Survex layout writes a name
// Survex would refuse as StationNames gives it, and the first leg line that uses such a name ends
// its comment with "name = label". Every leg's values come from ComputeLeg.
//
// A build stops at the first leg that cannot be computed. Then `lines` holds the header and every
// line completed before that leg (no closing "*end"), and `error` says why; the window shows those
// lines and then reports the error, the export command prints the error and writes nothing.
struct SurveyText
{
    QList<QByteArray> lines;
    QString error;        // empty when the whole text was built
    int failedFrom = -1;  // table indexes of the leg that stopped the build, else -1
    int failedTo = -1;
    QString failedFromName; // their station names as the text would have written them
    QString failedToName;

    bool complete() const { return error.isEmpty(); }

    // The text of the table's stations (the pending entry takes no part). planOrientation is
    // north on the plan image, degrees clockwise.
    static SurveyText build(const StationTable &stations, SurveyFormat format, SurveyStyle style,
                            const PlanNorths &planOrientation);

    // The same with the survey's details, which only the Survex layout has room for: its block
    // is named after the cave and opens with what the details say (title, date, team,
    // instruments, source, coordinate system, declination, the entrance fixed and marked). Empty
    // details give the text build() without details gives.
    static SurveyText build(const StationTable &stations, SurveyFormat format, SurveyStyle style,
                            const PlanNorths &planOrientation, const SurveyDetails &details);

    // The lines as the text preview shows them. They decode and encode back byte for byte, and
    // none holds a line break, so saving them unedited gives back exactly fileBytes().
    QStringList previewLines() const;

    // What Save writes: every line, the last one included, followed by CR LF.
    QByteArray fileBytes() const;
    static QByteArray fileBytes(const QStringList &previewLines);

    // The name of the Survex layout's block (the cave's name as a Survex word), empty when the
    // block has none; cavern puts it, lowered, before every station name.
    static QByteArray survexBlock(const SurveyDetails &details);

    // A station's name in the from/to layouts: its label, or its table index when it has none.
    static QByteArray stationName(const Station &station, int index);

    // Tape, compass and vertical as "%.2f\t%.2f\t%.2f\t" with "." whatever the locale.
    static QByteArray legValues(const SurveyLeg &leg);

    // Visits stations 1 .. count-1 in order: visit(j, &leg) for the leg into station j, and
    // visit(j, nullptr) for a station that starts a new branch. Stops at the first leg that cannot
    // be computed, which *text records (with the names given); returns false then.
    static bool visitLegs(const StationTable &stations, SurveyStyle style, const PlanNorths &planOrientation,
                          const StationNames &names, SurveyText *text,
                          const std::function<void(int, const SurveyLeg *)> &visit);

    // "name = label" for each changed name of the leg from..to that no earlier line explained
    // (each is then added to *explained), joined by "; "; empty when there is none.
    static QByteArray nameNotes(const StationNames &names, int from, int to, QSet<QByteArray> *explained);

    // A passage dimension as the Survex and Therion layouts write it: metres to two places, or "-"
    // where it is unknown. A negative one is written as unknown, as every reader takes it.
    static QByteArray dimensionValue(const std::optional<double> &metres);
    // Whether a station has a dimension those layouts write.
    static bool hasWrittenDimensions(const Station &station);

    // The passage data of the traverse of stations first..last: each run of consecutive stations
    // with a dimension under its own `dataLine` (each is a passage of its own to the readers), a
    // line a station of "name left right up down", every line after `indent`. Empty when no
    // station of the traverse has a dimension.
    static QList<QByteArray> passageLines(const StationTable &stations, const StationNames &names, int first, int last,
                                          LineSyntax syntax, const QByteArray &indent, const QByteArray &dataLine);

    // A number in the fewest digits that read back as the same double, with "." whatever the
    // locale ("5.5", "-12", "4500000.25").
    static QByteArray shortestNumber(double value);
};
