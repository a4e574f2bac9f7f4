#pragma once

#include "survey/Station.h"

#include <cmath>

// How the third value of every leg is expressed; the values are the item indexes of the
// "Style" radio group and of DataStyleIndex in a project file.
enum class SurveyStyle { Angle = 0, DepthChange = 1 };

// Radians to degrees: 180 / pi, so a right angle is 90 exactly and 14.04 comes out as 14.04.
constexpr double DegreesPerRadian = 57.295779513082320876798154814105;

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
// Two stations at one place give a leg of 0, 0, 0 in both styles: it has neither bearing nor
// inclination, and the survey check lists it. Throws CommandError "Invalid floating point
// operation" when a value cannot be computed: coordinates or an orientation that are not finite.
// How far apart two stations stand along the extended profile, in its pixels: the leg's
// horizontal length as the profile draws it.
inline long double profileRunPixels(const Station &from, const Station &to)
{
    return std::fabs(static_cast<long double>(to.profileX) - static_cast<long double>(from.profileX));
}

SurveyLeg ComputeLeg(const Station &from, const Station &to, double planOrientation, SurveyStyle style);
