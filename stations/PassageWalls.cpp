#include "stations/PassageWalls.h"

#include "document/SurveyDocument.h"
#include "views/WallFinder.h"

#include <array>
#include <cmath>

namespace PassageWalls {

namespace {

bool onShownSheet(const SurveyDocument &document, const Station &station, ViewSide side)
{
    return (side == ViewSide::Plan ? station.planSheet : station.profileSheet) == document.shownSheet(side);
}

QPointF pointOf(const Station &station, ViewSide side)
{
    return side == ViewSide::Plan ? QPointF(station.planX, station.planY) : QPointF(station.profileX, station.profileY);
}

// Left of the way the survey runs, on an image whose y grows downward.
QPointF leftOf(QPointF along) { return QPointF(along.y(), -along.x()); }

// Where a wall lies from the station, a unit vector in the view's pixels.
std::optional<QPointF> outward(const StationTable &stations, int index, Wall wall)
{
    switch (wall) {
    case Wall::Up:
        return QPointF(0.0, -1.0);
    case Wall::Down:
        return QPointF(0.0, 1.0);
    case Wall::Left:
    case Wall::Right:
        break;
    }
    const std::optional<QPointF> along = planDirection(stations, index);
    if (!along)
        return std::nullopt;
    return wall == Wall::Left ? leftOf(*along) : -leftOf(*along);
}

} // namespace

std::optional<double> &valueOf(PassageDimensions &dimensions, Wall wall)
{
    switch (wall) {
    case Wall::Left:
        return dimensions.left;
    case Wall::Right:
        return dimensions.right;
    case Wall::Up:
        return dimensions.up;
    case Wall::Down:
        break;
    }
    return dimensions.down;
}

std::optional<QPointF> planDirection(const StationTable &stations, int index)
{
    if (!stations.contains(index))
        return std::nullopt;
    QPointF sum;
    const auto add = [&](int from, int to) {
        const QPointF leg(double(stations.at(to).planX) - stations.at(from).planX,
                          double(stations.at(to).planY) - stations.at(from).planY);
        const double length = std::hypot(leg.x(), leg.y());
        if (length > 0.0 && std::isfinite(length) && stations.at(to).planSheet == stations.at(from).planSheet)
            sum += leg / length;
    };
    if (stations.hasLegBefore(index))
        add(index - 1, index);
    if (stations.contains(index + 1) && stations.hasLegBefore(index + 1))
        add(index, index + 1);
    const double length = std::hypot(sum.x(), sum.y());
    if (!(length > 1e-9) || !std::isfinite(length))
        return std::nullopt;
    return sum / length;
}

QVector<Mark> marks(const SurveyDocument &document, int index, ViewSide side)
{
    QVector<Mark> result;
    const StationTable &stations = document.stations();
    if (!stations.contains(index) || !onShownSheet(document, stations.at(index), side))
        return result;
    const double mpp = document.view(side).calibration.metresPerPixel;
    if (!(mpp > 0.0))
        return result;
    const Station &station = stations.at(index);
    PassageDimensions dimensions = station.dimensions;
    const bool plan = side == ViewSide::Plan;
    const std::array<Wall, 2> walls = plan ? std::array<Wall, 2>{Wall::Left, Wall::Right}
                                           : std::array<Wall, 2>{Wall::Up, Wall::Down};
    for (const Wall wall : walls) {
        const std::optional<QPointF> away = outward(stations, index, wall);
        if (!away)
            continue;
        const std::optional<double> &value = valueOf(dimensions, wall);
        const double metres = value ? std::max(0.0, *value) : UnsetMetres;
        const QPointF at = pointOf(station, side) + *away * (metres / mpp);
        if (std::isfinite(at.x()) && std::isfinite(at.y()))
            result.append({wall, at, bool(value)});
    }
    return result;
}

std::optional<double> valueAt(const SurveyDocument &document, int index, ViewSide side, Wall wall, QPointF source)
{
    const StationTable &stations = document.stations();
    const double mpp = document.view(side).calibration.metresPerPixel;
    const std::optional<QPointF> away = outward(stations, index, wall);
    if (!stations.contains(index) || !(mpp > 0.0) || !away)
        return std::nullopt;
    const QPointF from = source - pointOf(stations.at(index), side);
    const double metres = std::max(0.0, from.x() * away->x() + from.y() * away->y()) * mpp;
    return std::isfinite(metres) ? std::optional<double>(std::round(metres * 100.0) / 100.0) : std::nullopt;
}

PassageDimensions found(const SurveyDocument &document, int index)
{
    const StationTable &stations = document.stations();
    if (!stations.contains(index))
        return {};
    const Station &station = stations.at(index);
    PassageDimensions dimensions = station.dimensions;
    const auto metres = [](std::optional<double> pixels, double mpp) {
        return pixels && std::isfinite(*pixels * mpp) ? std::optional<double>(std::round(*pixels * mpp * 100.0) / 100.0)
                                                      : std::nullopt;
    };
    const ViewSettings &plan = document.sheet(station.planSheet);
    const std::optional<QPointF> along = planDirection(stations, index);
    const double planMpp = plan.calibration.metresPerPixel;
    if (along && planMpp > 0.0 && !plan.image.isNull() && (!dimensions.left || !dimensions.right)) {
        const WallFinder::Sides sides = WallFinder::leftAndRight(plan.image, pointOf(station, ViewSide::Plan), *along,
                                                                 SearchMetres / planMpp);
        if (!dimensions.left)
            dimensions.left = metres(sides.left, planMpp);
        if (!dimensions.right)
            dimensions.right = metres(sides.right, planMpp);
    }
    const ViewSettings &profile = document.sheet(station.profileSheet);
    const double profileMpp = profile.calibration.metresPerPixel;
    if (document.profileKind() != ProfileKind::None && profileMpp > 0.0 && !profile.image.isNull()
        && (!dimensions.up || !dimensions.down)) {
        const WallFinder::Heights heights =
            WallFinder::upAndDown(profile.image, pointOf(station, ViewSide::Profile), SearchMetres / profileMpp);
        if (!dimensions.up)
            dimensions.up = metres(heights.up, profileMpp);
        if (!dimensions.down)
            dimensions.down = metres(heights.down, profileMpp);
    }
    return dimensions;
}

} // namespace PassageWalls
