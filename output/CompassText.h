#pragma once

#include "output/SurveyText.h"

// The survey as one survey of a Compass data file (".dat"): the fixed header (cave name, survey
// name, date and comment, team, declination and format), a blank line, the column heading, a
// blank line, one line per leg, and a form feed. Lengths are decimal feet, angles degrees with
// the inclination (Compass has no depth-change form, so the style takes no part); there are no
// passage dimensions, so each is the format's "missing" value -999.00. Station names follow
// StationNames' Compass rules (at most 12 characters). The declination is the details' value in
// degrees when the plan shows magnetic north, else 0 (a value from date and place is the
// project file's to compute in Compass). A leg that cannot be computed ends the text as in
// SurveyText.
namespace CompassText {

constexpr double MetresPerFoot = 0.3048;
constexpr const char *MissingDimension = "-999.00";

SurveyText build(const StationTable &stations, const PlanNorths &planOrientation, const SurveyDetails &details);

} // namespace CompassText
