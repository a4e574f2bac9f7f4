#include "survey/Survey.h"

bool Survey::operator==(const Survey &other) const
{
    if (stations.count() != other.stations.count())
        return false;
    for (int i = 0; i < stations.count(); ++i)
        if (stations.at(i) != other.stations.at(i))
            return false;
    return sheets == other.sheets && style == other.style && details == other.details
        && profileKind == other.profileKind && projectionAzimuthDeg == other.projectionAzimuthDeg;
}

const Sheet &Survey::sheet(SheetId id) const
{
    for (const Sheet &sheet : sheets)
        if (sheet.id == id)
            return sheet;
    static const Sheet none;
    return none;
}

Sheet &Survey::sheet(SheetId id)
{
    for (Sheet &sheet : sheets)
        if (sheet.id == id)
            return sheet;
    sheets.push_back({id, id == ProfileSheet ? SheetKind::Profile : SheetKind::Plan, {}, 0.0, {}});
    return sheets.back();
}
