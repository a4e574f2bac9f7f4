#pragma once

#include "checks/CavernRun.h"
#include "checks/SurveyNetwork.h"
#include "survey/Survey.h"

#include <QPointF>
#include <QString>
#include <QVector>

// Where Survex's adjustment of the loops moves each station from where the drawings put it: its
// position read back from cavern minus the check's own (legs added up from station 0), each
// taken from the first station of its piece, so a piece fixed elsewhere shows only what the
// loops moved. Cavern's north is the file's: a declination it applied is turned back first.
namespace AdjustedSurvey {

struct Shift
{
    double east = 0.0, north = 0.0, up = 0.0;
    bool known = false; // cavern gave the station a position
};

// Per table entry.
QVector<Shift> shifts(const Survey &survey, const SurveyNetwork &network,
                      const QHash<QString, CavernPosition> &positions);

// The shifts as offsets in source pixels of each station's plan sheet (turned by its north)
// and of its profile sheet (the vertical part only: an extended profile has no east or north),
// times `magnification`. Stations whose sheet has no scale get none.
QVector<QPointF> planPixels(const QVector<Shift> &shifts, const Survey &survey, const CheckSettings &settings,
                            double magnification);
QVector<QPointF> profilePixels(const QVector<Shift> &shifts, const Survey &survey, const CheckSettings &settings,
                               double magnification);

// The legs of a traverse of cavern's error report ("a - b - c") as the "to" table entry of
// each: the legs of the table that join those names in turn, either way.
QVector<int> traverseLegEnds(const Survey &survey, const QString &traverse);

} // namespace AdjustedSurvey
