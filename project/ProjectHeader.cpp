#include "project/ProjectHeader.h"

#include "app/AnsiText.h"
#include "app/CommandError.h"
#include "app/NumberText.h"
#include "app/SurveyState.h"
#include "project/LittleEndian.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Field offsets in the file.
enum Offset {
    OffStationCount = 0,
    OffStationCapacity = 4,
    OffPlanImageFileName = 8,
    OffProfileImageFileName = 268,
    OffPlanZoom = 528,
    OffProfileZoom = 536,
    OffProfileExtended = 544,
    OffPlanPaneFraction = 548,
    OffProfilePaneFraction = 552,
    OffPlanGridPixels = 560,
    OffProfileGridPixels = 568,
    OffPlanMetresPerPixel = 576,
    OffProfileMetresPerPixel = 584,
    OffGridL1Position = 592,
    OffGridL2Position = 596,
    OffGridR1Position = 600,
    OffGridR2Position = 604,
    OffPlanGridMetresEntry = 608,
    OffPlanGridPixelsEntry = 616,
    OffProfileGridMetresEntry = 624,
    OffProfileGridPixelsEntry = 632,
    OffPlanOrientationEntry = 640,
    OffPlanGridOn = 648,
    OffProfileGridOn = 649,
    OffShowLabels = 650,
    OffShowLines = 651,
    OffDataFormatIndex = 652,
    OffDataStyleIndex = 656,
};

void putPath(char *at, const QString &path, const char *what)
{
    if (!AnsiText::canEncode(path))
        throw CommandError(QStringLiteral("the %1 path holds characters that Windows-1251 cannot hold: %2")
                               .arg(QLatin1String(what), AnsiText::unencodableCharacters(path)));
    if (path.contains(QChar(0)))
        throw CommandError(QStringLiteral("the %1 path holds a zero character").arg(QLatin1String(what)));
    const QByteArray bytes = AnsiText::encode(path);
    // A path cut to fit would name another file; the project must name the real one or not be saved.
    if (bytes.size() > ProjectHeader::PathBytes - 1)
        throw CommandError(QStringLiteral("the %1 path is %2 bytes long in Windows-1251, but the project file "
                                          "holds at most %3")
                               .arg(QLatin1String(what))
                               .arg(bytes.size())
                               .arg(ProjectHeader::PathBytes - 1));
    std::memcpy(at, bytes.constData(), size_t(bytes.size()));
}

QString number(double value) { return QString::number(value, 'g', 17); }

} // namespace

std::int32_t ProjectHeader::low16(std::int32_t value)
{
    const std::int32_t low = value & 0xFFFF;
    return low >= 0x8000 ? low - 0x10000 : low;
}

ProjectHeader ProjectHeader::fromState(const SurveyState &state)
{
    ProjectHeader header;
    header.StationCount = state.StationCount;
    header.PlanImageFileName = state.PlanImageFileName;
    header.ProfileImageFileName = state.ProfileImageFileName;
    header.PlanZoom = state.PlanZoom;
    header.ProfileZoom = state.ProfileZoom;
    header.ProfileExtended = state.ProfileExtended;
    header.PlanPaneFraction = state.PlanPaneFraction;
    header.ProfilePaneFraction = state.ProfilePaneFraction;
    header.PlanGridPixels = state.PlanGridPixels;
    header.ProfileGridPixels = state.ProfileGridPixels;
    header.PlanMetresPerPixel = state.PlanMetresPerPixel;
    header.ProfileMetresPerPixel = state.ProfileMetresPerPixel;
    return header;
}

void ProjectHeader::applyTo(SurveyState &state) const
{
    state.PlanImageFileName = PlanImageFileName;
    state.ProfileImageFileName = ProfileImageFileName;
    state.PlanZoom = PlanZoom;
    state.ProfileZoom = ProfileZoom;
    state.ProfileExtended = ProfileExtended;
    state.PlanPaneFraction = PlanPaneFraction;
    state.ProfilePaneFraction = ProfilePaneFraction;
    state.PlanGridPixels = PlanGridPixels;
    state.ProfileGridPixels = ProfileGridPixels;
    state.PlanMetresPerPixel = PlanMetresPerPixel;
    state.ProfileMetresPerPixel = ProfileMetresPerPixel;
}

void ProjectHeader::setEntryTexts(const QString &planGridMetres, const QString &planGridPixels,
                                  const QString &profileGridMetres, const QString &profileGridPixels,
                                  const QString &planOrientation)
{
    // In field order, so the first box that is not a number is the one reported.
    const double values[5] = {NumberText::toDouble(planGridMetres), NumberText::toDouble(planGridPixels),
                              NumberText::toDouble(profileGridMetres), NumberText::toDouble(profileGridPixels),
                              NumberText::toDouble(planOrientation)};
    PlanGridMetresEntry = values[0];
    PlanGridPixelsEntry = values[1];
    ProfileGridMetresEntry = values[2];
    ProfileGridPixelsEntry = values[3];
    PlanOrientationEntry = values[4];
}

double ProjectHeader::reopenedEntryValue(double stored)
{
    // The entry box shows the number with 15 significant digits and the window reads that text
    // back; doing the same here without a locale gives the same double in every locale.
    if (!std::isfinite(stored))
        return stored;
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, stored, std::chars_format::general, 15);
    double value = stored;
    std::from_chars(buffer, written.ptr, value, std::chars_format::general);
    return value;
}

QByteArray ProjectHeader::encode() const
{
    QByteArray bytes(Size, '\0');
    char *at = bytes.data();
    LittleEndian::putInt32(at + OffStationCount, StationCount);
    LittleEndian::putInt32(at + OffStationCapacity, Capacity);
    putPath(at + OffPlanImageFileName, PlanImageFileName, "plan image");
    putPath(at + OffProfileImageFileName, ProfileImageFileName, "profile image");
    LittleEndian::putDouble(at + OffPlanZoom, PlanZoom);
    LittleEndian::putDouble(at + OffProfileZoom, ProfileZoom);
    at[OffProfileExtended] = char(ProfileExtended);
    LittleEndian::putFloat(at + OffPlanPaneFraction, PlanPaneFraction);
    LittleEndian::putFloat(at + OffProfilePaneFraction, ProfilePaneFraction);
    LittleEndian::putDouble(at + OffPlanGridPixels, PlanGridPixels);
    LittleEndian::putDouble(at + OffProfileGridPixels, ProfileGridPixels);
    LittleEndian::putDouble(at + OffPlanMetresPerPixel, PlanMetresPerPixel);
    LittleEndian::putDouble(at + OffProfileMetresPerPixel, ProfileMetresPerPixel);
    LittleEndian::putInt32(at + OffGridL1Position, low16(GridL1Position));
    LittleEndian::putInt32(at + OffGridL2Position, low16(GridL2Position));
    LittleEndian::putInt32(at + OffGridR1Position, low16(GridR1Position));
    LittleEndian::putInt32(at + OffGridR2Position, low16(GridR2Position));
    LittleEndian::putDouble(at + OffPlanGridMetresEntry, PlanGridMetresEntry);
    LittleEndian::putDouble(at + OffPlanGridPixelsEntry, PlanGridPixelsEntry);
    LittleEndian::putDouble(at + OffProfileGridMetresEntry, ProfileGridMetresEntry);
    LittleEndian::putDouble(at + OffProfileGridPixelsEntry, ProfileGridPixelsEntry);
    LittleEndian::putDouble(at + OffPlanOrientationEntry, PlanOrientationEntry);
    at[OffPlanGridOn] = char(PlanGridOn);
    at[OffProfileGridOn] = char(ProfileGridOn);
    at[OffShowLabels] = char(ShowLabels);
    at[OffShowLines] = char(ShowLines);
    LittleEndian::putInt32(at + OffDataFormatIndex, DataFormatIndex);
    LittleEndian::putInt32(at + OffDataStyleIndex, DataStyleIndex);
    return bytes;
}

ProjectHeader ProjectHeader::decode(const char *at)
{
    ProjectHeader header;
    header.StationCount = LittleEndian::int32At(at + OffStationCount);
    header.StationCapacity = LittleEndian::int32At(at + OffStationCapacity);
    header.PlanImageFileName = AnsiText::decode(at + OffPlanImageFileName, PathBytes);
    header.ProfileImageFileName = AnsiText::decode(at + OffProfileImageFileName, PathBytes);
    header.PlanZoom = LittleEndian::doubleAt(at + OffPlanZoom);
    header.ProfileZoom = LittleEndian::doubleAt(at + OffProfileZoom);
    header.ProfileExtended = std::uint8_t(at[OffProfileExtended]);
    header.PlanPaneFraction = LittleEndian::floatAt(at + OffPlanPaneFraction);
    header.ProfilePaneFraction = LittleEndian::floatAt(at + OffProfilePaneFraction);
    header.PlanGridPixels = LittleEndian::doubleAt(at + OffPlanGridPixels);
    header.ProfileGridPixels = LittleEndian::doubleAt(at + OffProfileGridPixels);
    header.PlanMetresPerPixel = LittleEndian::doubleAt(at + OffPlanMetresPerPixel);
    header.ProfileMetresPerPixel = LittleEndian::doubleAt(at + OffProfileMetresPerPixel);
    header.GridL1Position = low16(LittleEndian::int32At(at + OffGridL1Position));
    header.GridL2Position = low16(LittleEndian::int32At(at + OffGridL2Position));
    header.GridR1Position = low16(LittleEndian::int32At(at + OffGridR1Position));
    header.GridR2Position = low16(LittleEndian::int32At(at + OffGridR2Position));
    header.PlanGridMetresEntry = LittleEndian::doubleAt(at + OffPlanGridMetresEntry);
    header.PlanGridPixelsEntry = LittleEndian::doubleAt(at + OffPlanGridPixelsEntry);
    header.ProfileGridMetresEntry = LittleEndian::doubleAt(at + OffProfileGridMetresEntry);
    header.ProfileGridPixelsEntry = LittleEndian::doubleAt(at + OffProfileGridPixelsEntry);
    header.PlanOrientationEntry = LittleEndian::doubleAt(at + OffPlanOrientationEntry);
    header.PlanGridOn = std::uint8_t(at[OffPlanGridOn]);
    header.ProfileGridOn = std::uint8_t(at[OffProfileGridOn]);
    header.ShowLabels = std::uint8_t(at[OffShowLabels]);
    header.ShowLines = std::uint8_t(at[OffShowLines]);
    header.DataFormatIndex = LittleEndian::int32At(at + OffDataFormatIndex);
    header.DataStyleIndex = LittleEndian::int32At(at + OffDataStyleIndex);
    return header;
}

QString ProjectHeader::problem() const
{
    if (StationCount < 0)
        return QStringLiteral("its station count is %1").arg(StationCount);
    // A path field filled to its last byte has no ending zero: no project can hold that path.
    for (const auto &path : {std::make_pair("plan", &PlanImageFileName), std::make_pair("profile", &ProfileImageFileName)}) {
        if (AnsiText::encode(*path.second).size() > PathBytes - 1)
            return QStringLiteral("its %1 image path is longer than the %2 bytes its field holds")
                .arg(QLatin1String(path.first))
                .arg(PathBytes - 1);
    }

    const struct { const char *name; double value; } reals[] = {
        {"plan zoom", PlanZoom},
        {"profile zoom", ProfileZoom},
        {"plan pane fraction", PlanPaneFraction},
        {"profile pane fraction", ProfilePaneFraction},
        {"plan grid cell size", PlanGridPixels},
        {"profile grid cell size", ProfileGridPixels},
        {"plan scale", PlanMetresPerPixel},
        {"profile scale", ProfileMetresPerPixel},
        {"plan grid metres entry", PlanGridMetresEntry},
        {"plan grid pixels entry", PlanGridPixelsEntry},
        {"profile grid metres entry", ProfileGridMetresEntry},
        {"profile grid pixels entry", ProfileGridPixelsEntry},
        {"plan orientation entry", PlanOrientationEntry},
    };
    for (const auto &real : reals) {
        if (!std::isfinite(real.value))
            return QStringLiteral("its %1 is not a finite number").arg(QLatin1String(real.name));
    }
    for (const auto &zoom : {reals[0], reals[1]}) {
        if (zoom.value < MinFileZoom || zoom.value > MaxFileZoom)
            return QStringLiteral("its %1 is %2, outside 1/32 to 8").arg(QLatin1String(zoom.name), number(zoom.value));
    }
    for (const auto &fraction : {reals[2], reals[3]}) {
        if (fraction.value < 0.0 || fraction.value > 1.0)
            return QStringLiteral("its %1 is %2, outside 0 to 1")
                .arg(QLatin1String(fraction.name), number(fraction.value));
    }
    if (DataFormatIndex < 0 || DataFormatIndex > 2)
        return QStringLiteral("its data format index is %1, not 0, 1 or 2").arg(DataFormatIndex);
    if (DataStyleIndex < 0 || DataStyleIndex > 1)
        return QStringLiteral("its data style index is %1, not 0 or 1").arg(DataStyleIndex);
    return QString();
}
