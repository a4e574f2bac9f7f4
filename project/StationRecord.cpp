#include "project/StationRecord.h"

#include "project/LittleEndian.h"

#include <cmath>
#include <cstring>

namespace StationRecord {

void write(const Station &station, char *record)
{
    std::memset(record, 0, Size);
    const float coordinates[7] = {station.planX,       station.planY,       station.profileX,      station.profileY,
                                  station.planXMetres, station.planYMetres, station.profileYMetres};
    for (int i = 0; i < 7; ++i)
        LittleEndian::putFloat(record + 4 * i, coordinates[i]);
    std::memcpy(record + LabelOffset, station.label, StationLabelBytes);
    std::memcpy(record + CommentOffset, station.comment, StationCommentBytes);
    record[BranchEndOffset] = char(station.branchEnd ? 1 : 0);
}

Station read(const char *record)
{
    Station station{};
    float *coordinates[7] = {&station.planX,       &station.planY,       &station.profileX,      &station.profileY,
                             &station.planXMetres, &station.planYMetres, &station.profileYMetres};
    for (int i = 0; i < 7; ++i)
        *coordinates[i] = LittleEndian::floatAt(record + 4 * i);
    std::memcpy(station.label, record + LabelOffset, StationLabelBytes);
    std::memcpy(station.comment, record + CommentOffset, StationCommentBytes);
    station.branchEnd = record[BranchEndOffset] != 0;
    return station;
}

bool hasFiniteCoordinates(const Station &station)
{
    for (float value : {station.planX, station.planY, station.profileX, station.profileY, station.planXMetres,
                        station.planYMetres, station.profileYMetres}) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace StationRecord
