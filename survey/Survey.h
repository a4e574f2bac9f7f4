#pragma once

#include "survey/SurveyDetails.h"
#include "survey/SurveyLeg.h"
#include "survey/StationTable.h"

enum class ProfileKind { None, Extended, Projective };

// What every survey file is made from: the stations added (the pending entry takes no part), the
// plan's north, the third value of each leg, the survey details, and what the survey check needs
// of the profile. The window's document and a project read from disk both give one, so Save in
// the window and speomark-export write the same bytes for the same project.
struct Survey
{
    StationTable stations;
    double planOrientationDeg = 0.0; // north on the plan image, clockwise from its top edge
    SurveyStyle style = SurveyStyle::Angle;
    SurveyDetails details;
    ProfileKind profileKind = ProfileKind::Extended;
    double profileMetresPerPixel = 0.0;

    // Equal when every file written from them is the same (the pending entry is not compared).
    bool operator==(const Survey &other) const;
    bool operator!=(const Survey &other) const { return !(*this == other); }
};
