#include "survey/Survey.h"

bool Survey::operator==(const Survey &other) const
{
    if (stations.count() != other.stations.count())
        return false;
    for (int i = 0; i < stations.count(); ++i)
        if (stations.at(i) != other.stations.at(i))
            return false;
    return planOrientationDeg == other.planOrientationDeg && style == other.style && details == other.details
        && profileKind == other.profileKind && profileMetresPerPixel == other.profileMetresPerPixel;
}
