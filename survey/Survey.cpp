#include "survey/Survey.h"

#include <cstring>

namespace {

bool sameStation(const Station &a, const Station &b)
{
    // Field by field: the record's padding bytes are not part of the station.
    return a.planX == b.planX && a.planY == b.planY && a.profileX == b.profileX && a.profileY == b.profileY
        && a.planXMetres == b.planXMetres && a.planYMetres == b.planYMetres && a.profileYMetres == b.profileYMetres
        && std::memcmp(a.label, b.label, sizeof a.label) == 0
        && std::memcmp(a.comment, b.comment, sizeof a.comment) == 0 && a.branchEnd == b.branchEnd;
}

} // namespace

bool Survey::operator==(const Survey &other) const
{
    if (stations.count() != other.stations.count())
        return false;
    for (int i = 0; i < stations.count(); ++i)
        if (!sameStation(stations.at(i), other.stations.at(i)))
            return false;
    return planOrientationDeg == other.planOrientationDeg && style == other.style && details == other.details
        && profileKind == other.profileKind && profileMetresPerPixel == other.profileMetresPerPixel;
}
