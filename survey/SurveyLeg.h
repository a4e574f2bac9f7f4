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
// metres and the vertical from the profile metres; profile x takes no part, so an extended and a
// projected profile give the same legs. planOrientation is
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

// How far a horizontal step on the plan runs along a projected profile's plane, towards the right
// of its drawing, in the step's own unit (metres or pixels), signed. planDx to the image's right,
// planDy downward; planNorthDeg is north clockwise from the plan image's top edge, azimuthDeg the
// compass bearing the profile's plane runs towards on its right.
inline double alongProjection(double planDx, double planDy, double planNorthDeg, double azimuthDeg)
{
    // The azimuth as a direction on the plan image, clockwise from its top edge.
    const double bearing = (azimuthDeg + planNorthDeg) / DegreesPerRadian;
    return planDx * std::sin(bearing) - planDy * std::cos(bearing);
}

SurveyLeg ComputeLeg(const Station &from, const Station &to, double planOrientation, SurveyStyle style);
