#include "checks/SheetAlignment.h"

#include "checks/SurveyLegs.h"

#include <QCoreApplication>
#include <QHash>

#include <cmath>
#include <complex>
#include <map>

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SheetAlignment)
};

using Complex = std::complex<double>;

// A plan's pixels and metres as complex numbers, "up" the real part and "right" the imaginary:
// then a point's compass bearing is its argument, and a sheet with north N and scale m maps its
// pixel vectors onto ground vectors (north + i east) by multiplying with m e^(-iN).
Complex pixelVector(double x, double y) { return {-y, x}; }
Complex groundVector(const AlignmentTie &tie) { return {tie.north, tie.east}; }

bool finite(const AlignmentTie &tie)
{
    return std::isfinite(tie.x) && std::isfinite(tie.y) && std::isfinite(tie.east) && std::isfinite(tie.north)
           && std::isfinite(tie.up);
}

QString usable(const QVector<AlignmentTie> &ties, double knownMetresPerPixel)
{
    if (ties.size() < 2)
        return Words::tr("The sheet shares %1 station with the others; two or more are needed.").arg(ties.size());
    for (const AlignmentTie &tie : ties)
        if (!finite(tie))
            return Words::tr("Station %1 has a position that is not a number.").arg(tie.name);
    if (!(knownMetresPerPixel >= 0.0) || !std::isfinite(knownMetresPerPixel))
        return Words::tr("The sheet's scale is not a number.");
    return {};
}

constexpr double Degrees = 57.295779513082320876798154814105;

} // namespace

bool SheetAlignment::northBetterThanArrow(double arrowPixels) const
{
    return fitted && kind == SheetKind::Plan && arrowPixels > 0.0 && northPerPixelDeg < std::sqrt(2.0) * Degrees / arrowPixels;
}

bool SheetAlignment::scaleBetterThanBar(double barPixels) const
{
    return fitted && scalePerPixelPercent > 0.0 && barPixels > 0.0 && scalePerPixelPercent < std::sqrt(2.0) * 100.0 / barPixels;
}

SheetAlignment SheetAlignment::fitPlan(QVector<AlignmentTie> ties, double knownMetresPerPixel)
{
    SheetAlignment fit;
    fit.kind = SheetKind::Plan;
    fit.ties = std::move(ties);
    fit.problem = usable(fit.ties, knownMetresPerPixel);
    if (!fit.problem.isEmpty())
        return fit;
    const double n = double(fit.ties.size());
    Complex meanPixels, meanGround;
    for (const AlignmentTie &tie : std::as_const(fit.ties)) {
        meanPixels += pixelVector(tie.x, tie.y) / n;
        meanGround += groundVector(tie) / n;
    }
    // a = sum conj(P) G / sum |P|^2 over the centred points: the least-squares similarity.
    Complex cross;
    double spread = 0.0;
    for (const AlignmentTie &tie : std::as_const(fit.ties)) {
        const Complex p = pixelVector(tie.x, tie.y) - meanPixels;
        cross += std::conj(p) * (groundVector(tie) - meanGround);
        spread += std::norm(p);
    }
    if (!(spread > 0.0) || std::abs(cross) == 0.0) {
        fit.problem = Words::tr("The stations the sheet shares are drawn at one point, or placed at one point by the "
                                "others: they give no direction.");
        return fit;
    }
    const Complex a = knownMetresPerPixel > 0.0 ? knownMetresPerPixel * cross / std::abs(cross) : cross / spread;
    const double scale = std::abs(a);
    double north = -std::arg(a) * Degrees;
    if (north < 0.0)
        north += 360.0;
    if (north >= 360.0)
        north = 0.0;
    if (!std::isfinite(scale) || !(scale > 0.0) || !std::isfinite(north)) {
        fit.problem = Words::tr("The stations the sheet shares give no scale.");
        return fit;
    }
    fit.metresPerPixel = scale;
    fit.northDeg = north;
    fit.northPerPixelDeg = Degrees / std::sqrt(spread);
    fit.scalePerPixelPercent = 100.0 / std::sqrt(spread);
    const Complex offset = meanGround - a * meanPixels;
    for (AlignmentTie &tie : fit.ties) {
        tie.residualMetres = std::abs(a * pixelVector(tie.x, tie.y) + offset - groundVector(tie));
        tie.residualPixels = tie.residualMetres / scale;
        fit.worstMetres = std::max(fit.worstMetres, tie.residualMetres);
        fit.worstPixels = std::max(fit.worstPixels, tie.residualPixels);
    }
    fit.fitted = true;
    return fit;
}

SheetAlignment SheetAlignment::fitProfile(QVector<AlignmentTie> ties, double knownMetresPerPixel)
{
    SheetAlignment fit;
    fit.kind = SheetKind::Profile;
    fit.ties = std::move(ties);
    fit.problem = usable(fit.ties, knownMetresPerPixel);
    if (!fit.problem.isEmpty())
        return fit;
    // up = -scale y + offset: y grows downward.
    double meanY = 0.0, meanUp = 0.0;
    for (const AlignmentTie &tie : std::as_const(fit.ties)) {
        meanY += tie.y / double(fit.ties.size());
        meanUp += tie.up / double(fit.ties.size());
    }
    double cross = 0.0, spread = 0.0;
    for (const AlignmentTie &tie : std::as_const(fit.ties)) {
        cross += (tie.y - meanY) * (tie.up - meanUp);
        spread += (tie.y - meanY) * (tie.y - meanY);
    }
    double scale = knownMetresPerPixel;
    if (!(scale > 0.0)) {
        if (!(spread > 0.0)) {
            fit.problem = Words::tr("The stations the sheet shares are drawn at one depth: they give no scale.");
            return fit;
        }
        scale = -cross / spread;
    }
    if (!std::isfinite(scale) || !(scale > 0.0)) {
        fit.problem = Words::tr("The stations the sheet shares rise where the others put them falling: they give no "
                                "scale.");
        return fit;
    }
    fit.metresPerPixel = scale;
    if (spread > 0.0)
        fit.scalePerPixelPercent = 100.0 / std::sqrt(spread);
    for (AlignmentTie &tie : fit.ties) {
        tie.residualMetres = std::fabs(-scale * (tie.y - meanY) + meanUp - tie.up);
        tie.residualPixels = tie.residualMetres / scale;
        fit.worstMetres = std::max(fit.worstMetres, tie.residualMetres);
        fit.worstPixels = std::max(fit.worstPixels, tie.residualPixels);
    }
    fit.fitted = true;
    return fit;
}

SheetAlignment SheetAlignment::of(const Survey &survey, SheetId sheetId, bool fitScale)
{
    const Sheet &sheet = survey.sheet(sheetId);
    const bool plan = sheet.kind == SheetKind::Plan;
    const StationTable &table = survey.stations;
    auto sheetOf = [&](const Station &s) { return plan ? s.planSheet : s.profileSheet; };

    // Each sheet's first entry of each name.
    std::map<SheetId, QHash<QByteArray, int>> firstOn;
    for (int i = table.count() - 1; i >= 0; --i)
        firstOn[sheetOf(table.at(i))][SurveyLegs::stationKey(table.at(i), i)] = i;
    const QHash<QByteArray, int> &here = firstOn[sheetId];

    // The ties come from the calibrated sheet that shares most: placed by its own scale and north
    // straight from its clicks, not through the legs between them, whose errors add up.
    SheetId other = sheetId;
    int most = 0;
    for (const auto &[id, names] : firstOn) {
        const Sheet &candidate = survey.sheet(id);
        if (id == sheetId || candidate.kind != sheet.kind || !candidate.calibration.isSet())
            continue;
        int shared = 0;
        for (auto it = here.cbegin(); it != here.cend(); ++it)
            shared += names.contains(it.key());
        if (shared > most) {
            most = shared;
            other = id;
        }
    }
    QVector<AlignmentTie> ties;
    if (other != sheetId) {
        const double north = survey.sheet(other).northDeg / Degrees;
        const QHash<QByteArray, int> &there = firstOn[other];
        QVector<int> entries;
        for (auto it = here.cbegin(); it != here.cend(); ++it)
            if (there.contains(it.key()))
                entries.append(it.value());
        std::sort(entries.begin(), entries.end());
        for (const int i : std::as_const(entries)) {
            const Station &station = table.at(i);
            const Station &placed = table.at(there.value(SurveyLegs::stationKey(station, i)));
            // A plan's stored metres turned by its north: north + i east (see pixelVector).
            const Complex ground = std::polar(1.0, -north) * Complex(-double(placed.planYMetres), double(placed.planXMetres));
            AlignmentTie tie;
            tie.name = SurveyLegs::stationName(station, i);
            tie.entry = i;
            tie.x = plan ? station.planX : station.profileX;
            tie.y = plan ? station.planY : station.profileY;
            tie.north = plan ? ground.real() : 0.0;
            tie.east = plan ? ground.imag() : 0.0;
            tie.up = plan ? 0.0 : -double(placed.profileYMetres);
            ties.append(tie);
        }
    }
    const double known = fitScale ? 0.0 : sheet.calibration.metresPerPixel;
    SheetAlignment fit;
    if (!fitScale && !sheet.calibration.isSet()) {
        fit.ties = ties;
        fit.problem = Words::tr("The sheet has no scale yet.");
    } else {
        fit = plan ? fitPlan(ties, known) : fitProfile(ties, known);
    }
    fit.sheet = sheetId;
    fit.kind = sheet.kind;
    return fit;
}
