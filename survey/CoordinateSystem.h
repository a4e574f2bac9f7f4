#pragma once

#include <QString>

// An EPSG coordinate system as PROJ knows it. Survex and Therion both read coordinate systems
// through PROJ, so a code PROJ does not know is one they refuse. The survey details need a
// projected system in metres: Survex's output system (*cs out) cannot be latitude and longitude,
// and the entrance's coordinates are typed in metres.
struct CoordinateSystem
{
    bool known = false;             // PROJ has a system with this code
    bool projectedInMetres = false; // ... and it is projected, both axes in metres
    QString name;                   // PROJ's name for it, as "WGS 84 / UTM zone 37N"

    // Looked up once per code.
    static CoordinateSystem find(int epsgCode);

    // True when PROJ can place (east, north) of the system on the Earth and back to the same point:
    // a point a projection cannot reach (1e8 m in a UTM zone, 2e7 m north in one) is not one a
    // reader can fix. False for a system that is not projected in metres.
    static bool reaches(int epsgCode, double east, double north);
};
