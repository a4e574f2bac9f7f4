#pragma once

#include "output/SurveyText.h"

// The survey as a Therion data file (".th"): one survey holding one centreline, with the details
// where Therion has a command for them (title, entrance, date, team, instruments, coordinate
// system and fix, declination or grid angle; the scans' source as a comment), station names by
// StationNames' Therion rules and the legs as in the from/to layout: "data normal from to length
// compass clino", or "data diving from to length compass depthchange" in style DepthChange.
// Lines are Windows-1251 bytes, announced by "encoding cp1251"; a leg that cannot be computed
// ends the text as in SurveyText.
namespace TherionText {

SurveyText build(const StationTable &stations, SurveyStyle style, const PlanNorths &planOrientation,
                 const SurveyDetails &details);

} // namespace TherionText
