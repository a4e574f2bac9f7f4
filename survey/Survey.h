#pragma once

#include "survey/Sheet.h"
#include "survey/SurveyDetails.h"
#include "survey/SurveyLeg.h"
#include "survey/StationTable.h"

enum class ProfileKind { None, Extended, Projective };

// The layouts of the survey text that a project keeps as its choice, by item index of the
// "Format" radio group (also DataFormatIndex in a project).
enum class SurveyFormat { LumaroLabel = 0, LumaroFromTo = 1, Survex = 2 };

// What every survey file is made from: the stations added (the pending entry takes no part), the
// sheets they were drawn on (scales and the plan's north), the third value of each leg, the
// survey details and the kind of profile. The window's document and a project read from disk
// both give one, so Save in the window and speomark-export write the same bytes for the same
// project: this is the one input of the legs, the checks and every writer.
struct Survey
{
    StationTable stations;
    std::vector<Sheet> sheets{{PlanSheet, SheetKind::Plan, {}, 0.0, {}}, {ProfileSheet, SheetKind::Profile, {}, 0.0, {}}};
    SurveyStyle style = SurveyStyle::Angle;
    SurveyDetails details;
    ProfileKind profileKind = ProfileKind::Extended;
    // A projected profile's plane runs towards this compass bearing on the right of its drawing
    // (the view looks towards the bearing 90 degrees less), degrees clockwise from north.
    double projectionAzimuthDeg = 0.0;

    const Sheet &sheet(SheetId id) const;
    Sheet &sheet(SheetId id);
    // North on the plan, degrees clockwise from the top of its image.
    double planNorthDeg() const { return sheet(PlanSheet).northDeg; }

    // Equal when every file written from them is the same (the pending entry is not compared).
    bool operator==(const Survey &other) const;
    bool operator!=(const Survey &other) const { return !(*this == other); }
};
