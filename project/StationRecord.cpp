#include "project/StationRecord.h"

#include "project/LittleEndian.h"

#include <cmath>
#include <cstring>

namespace StationRecord {

void write(const Station &station, char *record)
{
    std::memset(record, 0, Size);
    const float coordinates[7] = {station.PlanX,       station.PlanY,       station.ProfileX,      station.ProfileY,
                                  station.PlanXMetres, station.PlanYMetres, station.ProfileYMetres};
    for (int i = 0; i < 7; ++i)
        LittleEndian::putFloat(record + 4 * i, coordinates[i]);
    std::memcpy(record + LabelOffset, station.Label, StationLabelBytes);
    std::memcpy(record + CommentOffset, station.Comment, StationCommentBytes);
    record[BranchEndOffset] = char(station.BranchEnd);
}

Station read(const char *record)
{
    Station station;
    float *coordinates[7] = {&station.PlanX,       &station.PlanY,       &station.ProfileX,      &station.ProfileY,
                             &station.PlanXMetres, &station.PlanYMetres, &station.ProfileYMetres};
    for (int i = 0; i < 7; ++i)
        *coordinates[i] = LittleEndian::floatAt(record + 4 * i);
    std::memcpy(station.Label, record + LabelOffset, StationLabelBytes);
    std::memcpy(station.Comment, record + CommentOffset, StationCommentBytes);
    station.BranchEnd = std::uint8_t(record[BranchEndOffset]);
    return station;
}

bool hasFiniteCoordinates(const Station &station)
{
    for (float value : {station.PlanX, station.PlanY, station.ProfileX, station.ProfileY, station.PlanXMetres,
                        station.PlanYMetres, station.ProfileYMetres}) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace StationRecord
