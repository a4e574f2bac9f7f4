#include "stations/PassageWalls.h"

#include "document/SurveyDocument.h"
#include "views/WallFinder.h"

#include <algorithm>
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

namespace {

// The table entries of the station at `index`: every entry bearing its label, or itself alone.
std::vector<int> entriesOf(const StationTable &stations, int index)
{
    const QString &label = stations.at(index).label;
    if (label.isEmpty())
        return {index};
    std::vector<int> entries;
    for (int i = 0; i < stations.count(); ++i)
        if (stations.at(i).label == label)
            entries.push_back(i);
    return entries;
}

QPointF unitOr0(QPointF v)
{
    const double length = std::hypot(v.x(), v.y());
    return length > 0.0 && std::isfinite(length) ? v / length : QPointF();
}

// The legs of a station's entries, as (from, to) table indices in survey order.
std::vector<std::pair<int, int>> legsOf(const StationTable &stations, const std::vector<int> &entries)
{
    std::vector<std::pair<int, int>> legs;
    for (const int entry : entries) {
        if (stations.hasLegBefore(entry))
            legs.push_back({entry - 1, entry});
        if (stations.contains(entry + 1) && stations.hasLegBefore(entry + 1))
            legs.push_back({entry, entry + 1});
    }
    return legs;
}

std::vector<QPointF> legsOnSheet(const StationTable &stations, int index, ViewSide side)
{
    const std::vector<int> entries = entriesOf(stations, index);
    const auto isEntry = [&](int i) { return std::find(entries.begin(), entries.end(), i) != entries.end(); };
    const auto sheetOf = [&](int i) { return side == ViewSide::Plan ? stations.at(i).planSheet : stations.at(i).profileSheet; };
    std::vector<QPointF> towards;
    for (const auto &[from, to] : legsOf(stations, entries)) {
        const int here = isEntry(from) ? from : to, other = here == from ? to : from;
        if (isEntry(other) || sheetOf(other) != sheetOf(index) || sheetOf(here) != sheetOf(index))
            continue;
        const QPointF leg = pointOf(stations.at(other), side) - pointOf(stations.at(here), side);
        if (std::isfinite(leg.x()) && std::isfinite(leg.y()) && (leg.x() != 0.0 || leg.y() != 0.0))
            towards.push_back(leg);
    }
    return towards;
}

} // namespace

std::optional<QPointF> planDirection(const StationTable &stations, int index)
{
    if (!stations.contains(index))
        return std::nullopt;
    const std::vector<int> entries = entriesOf(stations, index);
    const SheetId sheet = stations.at(index).planSheet;
    // The legs' axis: their directions with angles doubled, so a leg in and a leg out along the
    // same line agree and a side branch weighs against them; and the way the survey runs through
    // the first entry to point it.
    QPointF doubled, running;
    for (const auto &[from, to] : legsOf(stations, entries)) {
        if (stations.at(from).planSheet != sheet || stations.at(to).planSheet != sheet)
            continue;
        const QPointF leg = unitOr0(QPointF(double(stations.at(to).planX) - stations.at(from).planX,
                                            double(stations.at(to).planY) - stations.at(from).planY));
        doubled += QPointF(leg.x() * leg.x() - leg.y() * leg.y(), 2 * leg.x() * leg.y());
        if (from == entries.front() || to == entries.front())
            running += leg;
    }
    const double size = std::hypot(doubled.x(), doubled.y());
    if (!(size > 1e-9) || !std::isfinite(size)) {
        // Legs square to each other in equal measure: the way through the first entry decides.
        const QPointF way = unitOr0(running);
        return way.isNull() ? std::nullopt : std::optional<QPointF>(way);
    }
    const double angle = std::atan2(doubled.y(), doubled.x()) / 2;
    QPointF axis(std::cos(angle), std::sin(angle));
    if (QPointF::dotProduct(axis, running) < 0)
        axis = -axis;
    return axis;
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

WallSearch wallSearch(const SurveyDocument &document, int index)
{
    WallSearch search;
    const StationTable &stations = document.stations();
    if (!stations.contains(index))
        return search;
    const Station &station = stations.at(index);
    search.known = station.dimensions;
    const ViewSettings &plan = document.sheet(station.planSheet);
    search.along = planDirection(stations, index);
    if (search.along && plan.calibration.metresPerPixel > 0.0) {
        search.plan = plan.image;
        if (plan.image.isNull())
            search.planSource = plan.scan();
        search.planPoint = pointOf(station, ViewSide::Plan);
        search.planLegs = legsOnSheet(stations, index, ViewSide::Plan);
        search.planMetresPerPixel = plan.calibration.metresPerPixel;
    }
    const ViewSettings &profile = document.sheet(station.profileSheet);
    if (document.profileKind() != ProfileKind::None && profile.calibration.metresPerPixel > 0.0) {
        search.profile = profile.image;
        if (profile.image.isNull())
            search.profileSource = profile.scan();
        search.profilePoint = pointOf(station, ViewSide::Profile);
        search.profileLegs = legsOnSheet(stations, index, ViewSide::Profile);
        search.profileMetresPerPixel = profile.calibration.metresPerPixel;
    }
    return search;
}

WallsFound findWalls(const WallSearch &search, const std::atomic<bool> *cancel)
{
    WallsFound result;
    result.dimensions = search.known;
    PassageDimensions &dimensions = result.dimensions;
    const auto fill = [&](std::optional<double> &value, const WallFinder::Side &side, double mpp) {
        if (value)
            return;
        const double metres = side.distance ? *side.distance * mpp : qQNaN();
        if (std::isfinite(metres))
            value = std::round(metres * 100.0) / 100.0;
        else
            ++result.unsure;
    };
    if (!search.plan.isNull() && search.along && (!dimensions.left || !dimensions.right)) {
        const QPointF left(search.along->y(), -search.along->x());
        const WallFinder::Walls walls = WallFinder::bothWays(search.plan, search.planPoint, left, search.planLegs,
                                                             SearchMetres / search.planMetresPerPixel, cancel);
        result.cancelled = walls.cancelled;
        fill(dimensions.left, walls.ahead, search.planMetresPerPixel);
        fill(dimensions.right, walls.behind, search.planMetresPerPixel);
    }
    if (!result.cancelled && !search.profile.isNull() && (!dimensions.up || !dimensions.down)) {
        const WallFinder::Walls walls = WallFinder::bothWays(search.profile, search.profilePoint, QPointF(0, -1),
                                                             search.profileLegs, SearchMetres / search.profileMetresPerPixel, cancel);
        result.cancelled = walls.cancelled;
        fill(dimensions.up, walls.ahead, search.profileMetresPerPixel);
        fill(dimensions.down, walls.behind, search.profileMetresPerPixel);
    }
    return result;
}

PassageDimensions found(const SurveyDocument &document, int index)
{
    return findWalls(wallSearch(document, index)).dimensions;
}

} // namespace PassageWalls
