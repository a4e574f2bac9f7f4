#include "survey/SurveyLeg.h"

#include "survey/CommandError.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SurveyLeg)
};

} // namespace

static CommandError invalidOperation()
{
    return CommandError(Words::tr("Invalid floating point operation"));
}

// The quotients reach the arcsine with magnitude 1 up to the last bit for legs along an axis;
// rounding may carry them just past it, where the arcsine has no value.
static double arcsinDegrees(double quotient)
{
    return std::asin(std::clamp(quotient, -1.0, 1.0)) * DegreesPerRadian;
}

SurveyLeg ComputeLeg(const Station &from, const Station &to, double planOrientation, SurveyStyle style)
{
    const double dx = double(to.planXMetres) - double(from.planXMetres);
    const double dy = double(to.planYMetres) - double(from.planYMetres);
    const double dz = double(to.profileYMetres) - double(from.profileYMetres);
    const double rise = double(from.profileYMetres) - double(to.profileYMetres);

    SurveyLeg leg;
    leg.Tape = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double horizontal = std::sqrt(dx * dx + dy * dy);

    // Bearing on the plan image, clockwise from its top edge.
    double bearing = 0.0;
    if (horizontal != 0.0)
        bearing = std::fabs(arcsinDegrees(dy / horizontal) + 90.0);
    if (dx < 0.0)
        bearing = 360.0 - bearing;

    // North lies planOrientation degrees clockwise from the image's top edge, so the compass
    // bearing is the image bearing turned back by that much, kept within one turn.
    double compass = bearing - planOrientation;
    if (compass < 0.0 || compass >= 360.0) {
        compass = std::fmod(compass, 360.0);
        if (compass < 0.0)
            compass += 360.0;
        if (compass >= 360.0) // a tiny negative remainder plus 360 rounds to 360
            compass = 0.0;
    }
    leg.Compass = compass;

    if (style == SurveyStyle::DepthChange)
        leg.Vertical = rise;
    else if (leg.Tape == 0.0)
        leg.Vertical = 0.0; // two stations at one place: level, like the depth change of 0
    else
        leg.Vertical = arcsinDegrees(rise / leg.Tape);

    if (!std::isfinite(leg.Tape) || !std::isfinite(leg.Compass) || !std::isfinite(leg.Vertical))
        throw invalidOperation();
    return leg;
}
