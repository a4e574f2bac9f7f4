#pragma once

#include "output/SurveyText.h"

// The extended profile as Survex's extend lays it out (a ".espec" file beside the Survex file,
// for extend -p NAME.espec NAME.3d): "*start" at the entrance (else the first station), and for
// every leg that runs the other way than the one before it on the drawing "*eleft FROM TO" or
// "*eright FROM TO", and "*break STATION FROM" where the drawing breaks a loop by showing a station
// again. Directions are given for legs, never stations, so each holds whichever way extend
// reaches it; a leg's direction also carries on to the legs after it, as the drawing's does.
// Station names are those cavern gives the Survex layout's stations: lowered, after the cave's
// block name. Only an extended profile folds: for any other the text is empty and `error` says
// why.
namespace SurvexExtend {

SurveyText build(const Survey &survey);

} // namespace SurvexExtend
