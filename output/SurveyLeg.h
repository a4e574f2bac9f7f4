#pragma once

#include "stations/Station.h"

// How the third value of every leg is expressed; the values are the item indexes of the
// "Style" radio group and of DataStyleIndex in a project file.
enum class SurveyStyle { Angle = 0, DepthChange = 1 };

// Radians to degrees as cavers' data has always been computed: times 180, then times the
// reciprocal of 3.1415 (not of pi). Changing it would shift the second decimal of some legs.
constexpr double SurveyAngleFactor = 0.31831927423205475;

// One leg between two consecutive stations. Distances are metres, angles degrees.
// Compass is clockwise from north, 0 <= Compass < 360. Vertical is the inclination in degrees
// (style Angle) or the height gained in metres (style DepthChange); both are positive when the
// leg rises. Metre frame: plan x to the image's right, plan y and profile y grow downward.
struct SurveyLeg
{
    double Tape = 0.0;
    double Compass = 0.0;
    double Vertical = 0.0;
};

// The leg from station `from` to station `to`. The horizontal geometry comes from the plan
// metres and the vertical from the profile metres; profile x takes no part. planOrientation is
// the direction of north on the plan image in degrees, clockwise from the image's top edge.
// Throws CommandError "Invalid floating point operation" when a value cannot be computed: a leg of
// zero length in style Angle, or coordinates or an orientation that are not finite.
SurveyLeg ComputeLeg(const Station &from, const Station &to, double planOrientation, SurveyStyle style);
