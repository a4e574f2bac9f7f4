#pragma once

#include "output/SurveyText.h"

// The survey as a Therion data file (".th"): one survey holding one centreline, with the details
// where Therion has a command for them (title, entrance, date, team, instruments, coordinate
// system and fix, declination or grid angle; the scans' source as a comment), station names by
// StationNames' Therion rules and the legs as in the from/to layout: "data normal from to length
// compass clino", or "data diving from to length compass depthchange" in style DepthChange.
// Lines are Windows-1251 bytes, announced by "encoding cp1251"; a leg that cannot be computed
// ends the text as in SurveyText.
//
// On an extended profile that folds or breaks a loop (see ProfileFolds), the centreline ends with
// what Therion's extended elevation needs to follow the drawing: "extend start" at the entrance
// (else the first station); "extend left|right STATION" where the leg into a station turns the
// other way than the one before it (the way then carries on, as on the drawing); and for a leg that
// closes a loop, "extend ignore" both ways round, so the walk never takes it and Therion draws it
// from a second copy of one end, with "extend left|right FROM TO" for its side. A profile that
// neither folds nor breaks a loop gets none of this: Therion starts at the same station and goes
// right anyway.
namespace TherionText {

SurveyText build(const StationTable &stations, SurveyStyle style, const PlanNorths &planOrientation,
                 const SurveyDetails &details, ProfileKind profile = ProfileKind::None);

} // namespace TherionText
