#include "checks/SurveyLegs.h"

#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "survey/SafeLine.h"
#include "survey/SurveyLeg.h"
#include "output/SurveyText.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

// Most names and comments are plain ASCII; they skip the code page converter, which costs more
// than the rest of a leg's check.
QString decodeText(const QByteArray &bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return AnsiText::decode(bytes);
    return QString::fromLatin1(bytes);
}

QByteArray foldCase(QByteArray bytes)
{
    for (char &c : bytes)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return bytes;
}

// The comment as the leg's line carries it: a stored control character is written as a space.
QString commentOnLine(const Station &station)
{
    return !station.comment.isEmpty() ? decodeText(SafeLine::oneLine(AnsiText::encode(station.comment))) : QString();
}

} // namespace

double LegTolerance::allowed(double length) const
{
    return std::max(metres, percent / 100.0 * length);
}

double LegTolerance::ofClicks(std::initializer_list<double> metresPerPixel) const
{
    double sum = 0.0;
    for (const double scale : metresPerPixel) {
        if (!(scale >= 0.0) || !std::isfinite(scale))
            return -1.0;
        sum += scale * scale;
    }
    return pixels * std::sqrt(sum);
}

bool LegTolerance::usable() const
{
    return std::isfinite(metres) && std::isfinite(percent) && std::isfinite(pixels) && metres >= 0.0
           && percent >= 0.0 && pixels >= 0.0;
}

double placedScale(std::initializer_list<std::pair<float, float>> pixelsAndMetres)
{
    double pixels = 0.0, metres = 0.0;
    for (const auto &[p, m] : pixelsAndMetres)
        if (std::isfinite(p) && std::isfinite(m) && std::fabs(p) > std::fabs(pixels)) {
            pixels = p;
            metres = m;
        }
    return std::fabs(pixels) >= 1.0 ? metres / pixels : -1.0;
}

double CheckSettings::planScaleAt(const Station &station) const
{
    for (const auto &[id, calibration] : plans)
        if (id == station.planSheet && calibration.isSet() && std::isfinite(calibration.metresPerPixel))
            return calibration.metresPerPixel;
    return placedScale({{station.planX, station.planXMetres}, {station.planY, station.planYMetres}});
}

double CheckSettings::examplePlanScale() const
{
    for (const auto &[id, calibration] : plans)
        if (calibration.isSet())
            return calibration.metresPerPixel;
    return -1.0;
}

double CheckSettings::exampleProfileScale() const
{
    return profileKind == ProfileKind::None ? 0.0 : profile.isSet() ? profile.metresPerPixel : -1.0;
}

double CheckSettings::profileScaleAt(const Station &station) const
{
    if (profileKind == ProfileKind::None)
        return 0.0;
    const Calibration &calibration = profileOf(station.profileSheet);
    if (calibration.isSet() && std::isfinite(calibration.metresPerPixel))
        return calibration.metresPerPixel;
    return placedScale({{station.profileY, station.profileYMetres}});
}

bool CheckSettings::profileLengths() const
{
    return profileKind != ProfileKind::None && std::isfinite(profile.metresPerPixel) && profile.isSet();
}

bool CheckSettings::comparesLengths() const
{
    return profileLengths();
}

const Calibration &CheckSettings::profileOf(SheetId profileSheet) const
{
    for (const auto &[id, calibration] : otherProfiles)
        if (id == profileSheet)
            return calibration;
    return profile;
}

CheckSettings CheckSettings::of(const Survey &survey, const LegTolerance &tolerance)
{
    CheckSettings settings;
    settings.planOrientation = PlanNorths(survey.sheets);
    settings.profileKind = survey.profileKind;
    settings.projectionAzimuthDeg = survey.projectionAzimuthDeg;
    // The header's profile sheet is id ProfileSheet; where that id is gone or went to a plan, the
    // first profile sheet stands for it, never a plan's scale.
    const auto profileSheet = [&](const Sheet &sheet) { return sheet.kind == SheetKind::Profile; };
    const auto isMain = [&](const Sheet &sheet) { return profileSheet(sheet) && sheet.id == ProfileSheet; };
    auto main = std::find_if(survey.sheets.begin(), survey.sheets.end(), isMain);
    if (main == survey.sheets.end())
        main = std::find_if(survey.sheets.begin(), survey.sheets.end(), profileSheet);
    const SheetId mainId = main != survey.sheets.end() ? main->id : ProfileSheet;
    if (main != survey.sheets.end())
        settings.profile = main->calibration;
    for (const Sheet &sheet : survey.sheets) {
        if (sheet.kind == SheetKind::Profile && sheet.id != mainId)
            settings.otherProfiles.emplace_back(sheet.id, sheet.calibration);
        if (sheet.kind == SheetKind::Plan)
            settings.plans.emplace_back(sheet.id, sheet.calibration);
    }
    settings.tolerance = tolerance;
    return settings;
}

namespace SurveyLegs {

QString stationName(const Station &station, int index)
{
    return decodeText(SurveyText::stationName(station, index));
}

QByteArray stationKey(const Station &station, int index)
{
    return foldCase(SurveyText::stationName(station, index));
}

QVector<LegCheck> check(const StationTable &stations, const CheckSettings &settings)
{
    QVector<LegCheck> legs;
    const int count = stations.count();
    legs.reserve(count);
    const bool profile = settings.profileLengths();
    const bool compare = settings.comparesLengths();
    // The first entry of each name, found by sorting once: where a leg reaches a name placed
    // before, it closes a loop.
    QVector<int> firstOfName;
    QSet<quint64> drawnLegs; // by the first entries of their two names
    // Two clicks on one mark are at most this far apart.
    const double sameMarkPixels = std::sqrt(2.0) * std::max(settings.tolerance.pixels, 2.0);
    QVector<QByteArray> bytesOf, keys; // each entry's name and key, made once for both uses
    if (profile && settings.profileKind == ProfileKind::Extended) {
        bytesOf.resize(count);
        keys.resize(count);
        QVector<int> order(count);
        for (int i = 0; i < count; ++i) {
            bytesOf[i] = SurveyText::stationName(stations.at(i), i);
            keys[i] = foldCase(bytesOf[i]);
            order[i] = i;
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
        firstOfName.resize(count);
        for (int k = 0; k < count; ++k)
            firstOfName[order[k]] = k > 0 && keys[order[k]] == keys[order[k - 1]] ? firstOfName[order[k - 1]] : order[k];
    }
    QString previousName;
    QByteArray previousKey;
    for (int i = 0; i < count; ++i) {
        const Station &to = stations.at(i);
        const QByteArray bytes = bytesOf.isEmpty() ? SurveyText::stationName(to, i) : bytesOf[i];
        const QString name = decodeText(bytes);
        const QByteArray key = keys.isEmpty() ? foldCase(bytes) : keys[i];
        if (stations.hasLegBefore(i)) {
            const Station &from = stations.at(i - 1);
            LegCheck leg;
            leg.from = i - 1;
            leg.to = i;
            leg.fromName = previousName;
            leg.toName = name;
            leg.fromKey = previousKey;
            leg.toKey = key;
            leg.comment = commentOnLine(to);
            leg.toDimensions = to.dimensions;
            try {
                const SurveyLeg angle =
                    ComputeLeg(from, to, settings.planOrientation.of(from.planSheet), SurveyStyle::Angle);
                leg.tape = angle.Tape;
                leg.compass = angle.Compass;
                leg.clino = angle.Vertical;
                leg.depthChange = double(from.profileYMetres) - double(to.profileYMetres);
            } catch (const CommandError &error) {
                leg.computed = false;
                leg.error = error.message();
            }
            const double dx = double(to.planXMetres) - double(from.planXMetres);
            const double dy = double(to.planYMetres) - double(from.planYMetres);
            leg.planHorizontal = std::sqrt(dx * dx + dy * dy);
            if (!firstOfName.isEmpty()) {
                // A leg measured again joins two stations the profile already draws a leg
                // between: that one is there to compare.
                const int a = firstOfName[i - 1], b = firstOfName[i];
                const quint64 pair = (quint64(quint32(std::min(a, b))) << 32) | quint32(std::max(a, b));
                // Where the profile breaks at the loop and draws the station again, the leg is
                // drawn; where the click went on the station's first mark, it is not.
                const Station &first = stations.at(b);
                const bool sameMark = first.profileSheet == to.profileSheet
                                      && std::hypot(double(first.profileX) - double(to.profileX),
                                                    double(first.profileY) - double(to.profileY)) <= sameMarkPixels;
                leg.closesOnExtended = b < i - 1 && sameMark && !drawnLegs.contains(pair);
                drawnLegs.insert(pair);
            }
            if (profile && leg.computed && !leg.closesOnExtended) {
                leg.hasProfileLength = true;
                const Calibration &profileScale = settings.profileOf(from.profileSheet);
                leg.profileHorizontal = profileScale.metres(double(profileRunPixels(from, to)));
                leg.projected = settings.projected();
                if (leg.projected) {
                    leg.planAlong = alongProjection(dx, dy, settings.planOrientation.of(from.planSheet),
                                                    settings.projectionAzimuthDeg);
                    leg.profileAlong = profileScale.metres(double(to.profileX) - double(from.profileX));
                }
                leg.disagreement = leg.profileCompared() - leg.planCompared();
                const double longer = std::max(std::fabs(leg.profileCompared()), std::fabs(leg.planCompared()));
                leg.disagreementPercent = longer > 0.0 ? 100.0 * leg.disagreement / longer : 0.0;
                const LegTolerance &tolerance = settings.tolerance;
                leg.allowed = tolerance.fromDrawing()
                                  ? tolerance.ofClicks({settings.planScaleAt(from), settings.planScaleAt(to),
                                                        settings.profileScaleAt(from), settings.profileScaleAt(to)})
                                  : -1.0;
                if (leg.allowed < 0.0)
                    leg.allowed = tolerance.allowed(longer);
                leg.flagged = compare && std::fabs(leg.disagreement) > leg.allowed;
            }
            legs.append(leg);
        }
        previousName = name;
        previousKey = key;
    }
    return legs;
}

QVector<int> flaggedLegEnds(const StationTable &stations, const CheckSettings &settings)
{
    QVector<int> ends;
    if (!settings.comparesLengths())
        return ends;
    for (const LegCheck &leg : check(stations, settings))
        if (leg.flagged)
            ends.append(leg.to);
    return ends;
}

} // namespace SurveyLegs
