#pragma once

#include "survey/Survey.h"

#include <QByteArray>
#include <QList>
#include <QVector>

class StationNames;

// The parts of a survey no leg joins to the part of its reference station (the entrance, else
// station 0), with names matched as the written file matches them. A reader refuses a survey in
// pieces, so each piece's first station is fixed where the drawings put it beside the reference:
// its plan offset turned by the sheet's north, and its depth from the profile. A piece drawn on
// another sheet than the reference has no such offset and stands east of the rest instead.
struct DrawnPiece
{
    int first = -1;  // the table entry of its first station
    double east = 0.0, north = 0.0, up = 0.0; // metres from the reference
    bool asDrawn = false;
};

struct DrawnPieces
{
    int reference = -1; // table entry the offsets start from; -1 for a survey with no legs
    QVector<DrawnPiece> pieces; // in the order of their first stations

    static DrawnPieces of(const Survey &survey, const StationNames &names, const QByteArray &entrance);

    // A comment and a fix line for each piece, in `syntax`; "fix" is Survex's "*fix" or Therion's
    // "fix", `at` the reference's coordinates (0 0 0 unless the entrance has some). Empty for a
    // survey in one piece.
    enum class Reader { Survex, Therion };
    QList<QByteArray> lines(Reader reader, const StationNames &names, const QByteArray &indent,
                            const SurveyDetails &details) const;
};
