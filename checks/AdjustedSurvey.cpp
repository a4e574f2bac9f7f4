#include "checks/AdjustedSurvey.h"

#include "survey/StationNames.h"

#include <QSet>
#include <cmath>

namespace {

constexpr double Radians = 3.14159265358979323846 / 180.0;

// Cavern folds names to lower case, in its positions and its error report alike.
QString survexName(const StationNames &names, int entry) { return QString::fromLatin1(names.name(entry)).toLower(); }

} // namespace

namespace AdjustedSurvey {

QVector<Shift> shifts(const Survey &survey, const SurveyNetwork &network, const QHash<QString, CavernPosition> &positions)
{
    const StationTable &stations = survey.stations;
    const int count = stations.count();
    QVector<Shift> result(count);
    if (positions.isEmpty() || network.positions.size() != count || network.pieceOf.size() != count)
        return result;
    const StationNames names(stations, NameRules::Survex);
    // Cavern turned the legs by a declination it was given; with one it worked out itself, the
    // turn that best lays its positions on ours stands for it.
    const SurveyDetails &details = survey.details;
    double turn = 0.0;
    const bool magnetic = details.north == NorthReference::Magnetic;
    if (magnetic && !details.declinationFromDateAndPlace) {
        turn = details.declinationDeg * Radians;
    } else if (magnetic) {
        double cross = 0.0, dot = 0.0;
        for (int i = 0; i < count; ++i) {
            const SurveyPiece &piece = network.pieces.value(network.pieceOf[i]);
            const auto c = positions.constFind(survexName(names, i));
            const auto c0 = positions.constFind(survexName(names, std::max(piece.firstStation, 0)));
            if (c == positions.cend() || c0 == positions.cend())
                continue;
            const NetworkPoint &p = network.positions[i], &p0 = network.positions[std::max(piece.firstStation, 0)];
            const double px = p.east - p0.east, py = p.north - p0.north;
            const double cx = c->east - c0->east, cy = c->north - c0->north;
            cross += px * cy - py * cx;
            dot += px * cx + py * cy;
        }
        if (dot != 0.0 || cross != 0.0)
            turn = -std::atan2(cross, dot);
    }
    const double cosT = std::cos(turn), sinT = std::sin(turn);
    for (int i = 0; i < count; ++i) {
        const int pieceIndex = network.pieceOf[i];
        if (pieceIndex < 0 || pieceIndex >= network.pieces.size())
            continue;
        const int first = network.pieces[pieceIndex].firstStation;
        const auto c = positions.constFind(survexName(names, i));
        const auto c0 = positions.constFind(survexName(names, first));
        if (first < 0 || c == positions.cend() || c0 == positions.cend())
            continue;
        // Cavern's offset turned back into the drawing's north.
        const double ce = c->east - c0->east, cn = c->north - c0->north;
        const double east = ce * cosT - cn * sinT, north = ce * sinT + cn * cosT;
        const NetworkPoint &p = network.positions[i], &p0 = network.positions[first];
        Shift shift{east - (p.east - p0.east), north - (p.north - p0.north), (c->up - c0->up) - (p.up - p0.up), true};
        if (std::isfinite(shift.east) && std::isfinite(shift.north) && std::isfinite(shift.up))
            result[i] = shift;
    }
    return result;
}

QVector<QPointF> planPixels(const QVector<Shift> &shifts, const Survey &survey, const CheckSettings &settings,
                            double magnification)
{
    QVector<QPointF> pixels(shifts.size());
    for (int i = 0; i < shifts.size() && i < survey.stations.count(); ++i) {
        const Shift &shift = shifts[i];
        const Station &station = survey.stations.at(i);
        const double mpp = settings.planScaleAt(station);
        if (!shift.known || !(mpp > 0.0))
            continue;
        // A compass bearing on the image is measured from its top edge, turned by the sheet's north.
        const double bearing = std::atan2(shift.east, shift.north) + settings.planOrientation.of(station.planSheet) * Radians;
        const double length = std::hypot(shift.east, shift.north) / mpp * magnification;
        const QPointF offset(length * std::sin(bearing), -length * std::cos(bearing));
        if (std::isfinite(offset.x()) && std::isfinite(offset.y()))
            pixels[i] = offset;
    }
    return pixels;
}

QVector<QPointF> profilePixels(const QVector<Shift> &shifts, const Survey &survey, const CheckSettings &settings,
                               double magnification)
{
    QVector<QPointF> pixels(shifts.size());
    if (settings.profileKind == ProfileKind::None)
        return pixels;
    for (int i = 0; i < shifts.size() && i < survey.stations.count(); ++i) {
        const double mpp = settings.profileScaleAt(survey.stations.at(i));
        const double down = -shifts[i].up / mpp * magnification;
        if (shifts[i].known && mpp > 0.0 && std::isfinite(down))
            pixels[i] = QPointF(0.0, down);
    }
    return pixels;
}

QVector<int> traverseLegEnds(const Survey &survey, const QString &traverse)
{
    const StationTable &stations = survey.stations;
    const StationNames names(stations, NameRules::Survex);
    const QStringList path = traverse.split(QStringLiteral(" - "), Qt::SkipEmptyParts);
    QSet<QPair<QString, QString>> wanted;
    for (int k = 1; k < path.size(); ++k) {
        const QString a = path[k - 1].trimmed().section(QLatin1Char('.'), -1).toLower();
        const QString b = path[k].trimmed().section(QLatin1Char('.'), -1).toLower();
        wanted.insert({a, b});
        wanted.insert({b, a});
    }
    QVector<int> ends;
    for (int j = 1; j < stations.count(); ++j)
        if (stations.hasLegBefore(j) && wanted.contains({survexName(names, j - 1), survexName(names, j)}))
            ends.append(j);
    return ends;
}

} // namespace AdjustedSurvey
