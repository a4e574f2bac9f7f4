#include "survey/CoordinateSystem.h"

#include <QByteArray>
#include <QHash>
#include <cmath>
#include <mutex>
#include <proj.h>

namespace {

struct Entry
{
    CoordinateSystem system;
    PJ *toGeographic = nullptr; // east, north to longitude, latitude
};

// PROJ's context and objects serve one thread at a time; the lookups are few and quick once made,
// and everything is given back at exit.
struct Registry
{
    std::mutex lock;
    PJ_CONTEXT *context = proj_context_create();
    QHash<int, Entry> entries;

    Registry()
    {
        proj_log_level(context, PJ_LOG_NONE); // an unknown code is an answer here, not a complaint on stderr
        proj_context_set_enable_network(context, 0);
    }
    ~Registry()
    {
        for (const Entry &entry : std::as_const(entries))
            proj_destroy(entry.toGeographic);
        proj_context_destroy(context);
    }
};

Registry &registry()
{
    static Registry made;
    return made;
}

bool inMetres(PJ_CONTEXT *c, PJ *crs)
{
    PJ *axes = proj_crs_get_coordinate_system(c, crs);
    if (!axes)
        return false;
    const int count = proj_cs_get_axis_count(c, axes);
    bool metres = count == 2;
    for (int i = 0; metres && i < count; ++i) {
        double factor = 0.0;
        metres = proj_cs_get_axis_info(c, axes, i, nullptr, nullptr, nullptr, &factor, nullptr, nullptr, nullptr) &&
                 factor == 1.0;
    }
    proj_destroy(axes);
    return metres;
}

Entry lookUp(int code)
{
    Entry entry;
    if (code <= 0)
        return entry;
    PJ_CONTEXT *c = registry().context;
    PJ *crs = proj_create_from_database(c, "EPSG", QByteArray::number(code).constData(), PJ_CATEGORY_CRS, false, nullptr);
    if (!crs)
        return entry;
    entry.system.known = true;
    entry.system.name = QString::fromUtf8(proj_get_name(crs));
    if (proj_get_type(crs) == PJ_TYPE_PROJECTED_CRS && inMetres(c, crs)) {
        PJ *geographic = proj_crs_get_geodetic_crs(c, crs);
        PJ *operation = geographic ? proj_create_crs_to_crs_from_pj(c, crs, geographic, nullptr, nullptr) : nullptr;
        // Easting first and longitude first, whatever order the EPSG registry gives the axes.
        entry.toGeographic = operation ? proj_normalize_for_visualization(c, operation) : nullptr;
        entry.system.projectedInMetres = entry.toGeographic != nullptr;
        proj_destroy(operation);
        proj_destroy(geographic);
    }
    proj_destroy(crs);
    return entry;
}

const Entry &entry(int code)
{
    QHash<int, Entry> &entries = registry().entries;
    auto found = entries.find(code);
    if (found == entries.end())
        found = entries.insert(code, lookUp(code));
    return *found;
}

} // namespace

CoordinateSystem CoordinateSystem::find(int epsgCode)
{
    const std::lock_guard<std::mutex> hold(registry().lock);
    return entry(epsgCode).system;
}

bool CoordinateSystem::reaches(int epsgCode, double east, double north)
{
    constexpr double Tolerance = 0.01; // metres: far more than the arithmetic's error, far less than a leg
    const std::lock_guard<std::mutex> hold(registry().lock);
    PJ *toGeographic = entry(epsgCode).toGeographic;
    if (!toGeographic || !std::isfinite(east) || !std::isfinite(north))
        return false;
    proj_errno_reset(toGeographic);
    const PJ_COORD geographic = proj_trans(toGeographic, PJ_FWD, proj_coord(east, north, 0.0, 0.0));
    const double longitude = geographic.lp.lam;
    const double latitude = geographic.lp.phi;
    if (proj_errno(toGeographic) != 0 || !std::isfinite(longitude) || !std::isfinite(latitude) ||
        std::abs(latitude) > 90.0 || std::abs(longitude) > 180.0)
        return false;
    const PJ_COORD back = proj_trans(toGeographic, PJ_INV, geographic);
    return proj_errno(toGeographic) == 0 && std::hypot(back.xy.x - east, back.xy.y - north) <= Tolerance;
}
