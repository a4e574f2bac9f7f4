#include "project/ProjectHeader.h"

#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "survey/NumberText.h"
#include "project/LittleEndian.h"

#include <QCoreApplication>
#include <QLocale>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ProjectHeader)
};

// Field offsets in the file.
enum Offset {
    OffStationCount = 0,
    OffStationCapacity = 4,
    OffPlanImagePath = 8,
    OffProfileImagePath = 268,
    OffPlanZoom = 528,
    OffProfileZoom = 536,
    OffProfileKind = 544,
    OffPlanPaneFraction = 548,
    OffProfilePaneFraction = 552,
    OffPlanGridPixels = 560,
    OffProfileGridPixels = 568,
    OffPlanMetresPerPixel = 576,
    OffProfileMetresPerPixel = 584,
    OffPlanGridShiftUp = 592,
    OffPlanGridShiftRight = 596,
    OffProfileGridShiftUp = 600,
    OffProfileGridShiftRight = 604,
    OffPlanGridMetresEntry = 608,
    OffPlanGridPixelsEntry = 616,
    OffProfileGridMetresEntry = 624,
    OffProfileGridPixelsEntry = 632,
    OffPlanOrientationEntry = 640,
    OffPlanGridShown = 648,
    OffProfileGridShown = 649,
    OffShowLabels = 650,
    OffShowLines = 651,
    OffDataFormatIndex = 652,
    OffDataStyleIndex = 656,
};

void putPath(char *at, const QString &path, const char *what)
{
    if (!AnsiText::canEncode(path))
        throw CommandError(Words::tr("the %1 path holds characters that Windows-1251 cannot hold: %2")
                               .arg(Words::tr(what), AnsiText::unencodableCharacters(path)));
    if (path.contains(QChar(0)))
        throw CommandError(Words::tr("the %1 path holds a zero character").arg(Words::tr(what)));
    const QByteArray bytes = AnsiText::encode(path);
    // A path cut to fit would name another file; the project must name the real one or not be saved.
    if (bytes.size() > ProjectHeader::PathBytes - 1)
        throw CommandError(Words::tr("the %1 path is %2 bytes long in Windows-1251, but the project file "
                                     "holds at most %3")
                               .arg(Words::tr(what))
                               .arg(bytes.size())
                               .arg(ProjectHeader::PathBytes - 1));
    std::memcpy(at, bytes.constData(), size_t(bytes.size()));
}

QString number(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

} // namespace

std::int32_t ProjectHeader::low16(std::int32_t value)
{
    const std::int32_t low = value & 0xFFFF;
    return low >= 0x8000 ? low - 0x10000 : low;
}

void ProjectHeader::setEntryTexts(const QString &planGridMetres, const QString &planGridPixels,
                                  const QString &profileGridMetres, const QString &profileGridPixels,
                                  const QString &planOrientation)
{
    // In field order, so the first box that is not a number is the one reported.
    const double values[5] = {NumberText::toDouble(planGridMetres), NumberText::toDouble(planGridPixels),
                              NumberText::toDouble(profileGridMetres), NumberText::toDouble(profileGridPixels),
                              NumberText::toDouble(planOrientation)};
    planGridMetresEntry = values[0];
    planGridPixelsEntry = values[1];
    profileGridMetresEntry = values[2];
    profileGridPixelsEntry = values[3];
    planOrientationEntry = values[4];
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
    LittleEndian::putInt32(at + OffStationCount, stationCount);
    LittleEndian::putInt32(at + OffStationCapacity, Capacity);
    putPath(at + OffPlanImagePath, planImagePath, QT_TRANSLATE_NOOP("ProjectHeader", "plan image"));
    putPath(at + OffProfileImagePath, profileImagePath, QT_TRANSLATE_NOOP("ProjectHeader", "profile image"));
    LittleEndian::putDouble(at + OffPlanZoom, planZoom);
    LittleEndian::putDouble(at + OffProfileZoom, profileZoom);
    at[OffProfileKind] = char(profileKind);
    LittleEndian::putFloat(at + OffPlanPaneFraction, planPaneFraction);
    LittleEndian::putFloat(at + OffProfilePaneFraction, profilePaneFraction);
    LittleEndian::putDouble(at + OffPlanGridPixels, planGridPixels);
    LittleEndian::putDouble(at + OffProfileGridPixels, profileGridPixels);
    LittleEndian::putDouble(at + OffPlanMetresPerPixel, planMetresPerPixel);
    LittleEndian::putDouble(at + OffProfileMetresPerPixel, profileMetresPerPixel);
    LittleEndian::putInt32(at + OffPlanGridShiftUp, low16(planGridShiftUp));
    LittleEndian::putInt32(at + OffPlanGridShiftRight, low16(planGridShiftRight));
    LittleEndian::putInt32(at + OffProfileGridShiftUp, low16(profileGridShiftUp));
    LittleEndian::putInt32(at + OffProfileGridShiftRight, low16(profileGridShiftRight));
    LittleEndian::putDouble(at + OffPlanGridMetresEntry, planGridMetresEntry);
    LittleEndian::putDouble(at + OffPlanGridPixelsEntry, planGridPixelsEntry);
    LittleEndian::putDouble(at + OffProfileGridMetresEntry, profileGridMetresEntry);
    LittleEndian::putDouble(at + OffProfileGridPixelsEntry, profileGridPixelsEntry);
    LittleEndian::putDouble(at + OffPlanOrientationEntry, planOrientationEntry);
    at[OffPlanGridShown] = char(planGridShown);
    at[OffProfileGridShown] = char(profileGridShown);
    at[OffShowLabels] = char(showLabels);
    at[OffShowLines] = char(showLines);
    LittleEndian::putInt32(at + OffDataFormatIndex, dataFormatIndex);
    LittleEndian::putInt32(at + OffDataStyleIndex, dataStyleIndex);
    return bytes;
}

ProjectHeader ProjectHeader::decode(const char *at)
{
    ProjectHeader header;
    header.stationCount = LittleEndian::int32At(at + OffStationCount);
    header.stationCapacity = LittleEndian::int32At(at + OffStationCapacity);
    header.planImagePath = AnsiText::decode(at + OffPlanImagePath, PathBytes);
    header.profileImagePath = AnsiText::decode(at + OffProfileImagePath, PathBytes);
    header.planZoom = LittleEndian::doubleAt(at + OffPlanZoom);
    header.profileZoom = LittleEndian::doubleAt(at + OffProfileZoom);
    header.profileKind = std::uint8_t(at[OffProfileKind]);
    header.planPaneFraction = LittleEndian::floatAt(at + OffPlanPaneFraction);
    header.profilePaneFraction = LittleEndian::floatAt(at + OffProfilePaneFraction);
    header.planGridPixels = LittleEndian::doubleAt(at + OffPlanGridPixels);
    header.profileGridPixels = LittleEndian::doubleAt(at + OffProfileGridPixels);
    header.planMetresPerPixel = LittleEndian::doubleAt(at + OffPlanMetresPerPixel);
    header.profileMetresPerPixel = LittleEndian::doubleAt(at + OffProfileMetresPerPixel);
    header.planGridShiftUp = low16(LittleEndian::int32At(at + OffPlanGridShiftUp));
    header.planGridShiftRight = low16(LittleEndian::int32At(at + OffPlanGridShiftRight));
    header.profileGridShiftUp = low16(LittleEndian::int32At(at + OffProfileGridShiftUp));
    header.profileGridShiftRight = low16(LittleEndian::int32At(at + OffProfileGridShiftRight));
    header.planGridMetresEntry = LittleEndian::doubleAt(at + OffPlanGridMetresEntry);
    header.planGridPixelsEntry = LittleEndian::doubleAt(at + OffPlanGridPixelsEntry);
    header.profileGridMetresEntry = LittleEndian::doubleAt(at + OffProfileGridMetresEntry);
    header.profileGridPixelsEntry = LittleEndian::doubleAt(at + OffProfileGridPixelsEntry);
    header.planOrientationEntry = LittleEndian::doubleAt(at + OffPlanOrientationEntry);
    header.planGridShown = std::uint8_t(at[OffPlanGridShown]);
    header.profileGridShown = std::uint8_t(at[OffProfileGridShown]);
    header.showLabels = std::uint8_t(at[OffShowLabels]);
    header.showLines = std::uint8_t(at[OffShowLines]);
    header.dataFormatIndex = LittleEndian::int32At(at + OffDataFormatIndex);
    header.dataStyleIndex = LittleEndian::int32At(at + OffDataStyleIndex);
    return header;
}

QString ProjectHeader::problem() const
{
    if (stationCount < 0)
        return Words::tr("its station count is %1").arg(stationCount);
    // A path field filled to its last byte has no ending zero: no project can hold that path.
    for (const auto &path : {std::make_pair(QT_TRANSLATE_NOOP("ProjectHeader", "plan"), &planImagePath),
                             std::make_pair(QT_TRANSLATE_NOOP("ProjectHeader", "profile"), &profileImagePath)}) {
        if (AnsiText::encode(*path.second).size() > PathBytes - 1)
            return Words::tr("its %1 image path is longer than the %2 bytes its field holds")
                .arg(Words::tr(path.first))
                .arg(PathBytes - 1);
    }

    const struct { const char *name; double value; } reals[] = {
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan zoom"), planZoom},
        {QT_TRANSLATE_NOOP("ProjectHeader", "profile zoom"), profileZoom},
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan pane fraction"), planPaneFraction},
        {QT_TRANSLATE_NOOP("ProjectHeader", "profile pane fraction"), profilePaneFraction},
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan grid cell size"), planGridPixels},
        {QT_TRANSLATE_NOOP("ProjectHeader", "profile grid cell size"), profileGridPixels},
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan scale"), planMetresPerPixel},
        {QT_TRANSLATE_NOOP("ProjectHeader", "profile scale"), profileMetresPerPixel},
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan grid metres entry"), planGridMetresEntry},
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan grid pixels entry"), planGridPixelsEntry},
        {QT_TRANSLATE_NOOP("ProjectHeader", "profile grid metres entry"), profileGridMetresEntry},
        {QT_TRANSLATE_NOOP("ProjectHeader", "profile grid pixels entry"), profileGridPixelsEntry},
        {QT_TRANSLATE_NOOP("ProjectHeader", "plan orientation entry"), planOrientationEntry},
    };
    for (const auto &real : reals) {
        if (!std::isfinite(real.value))
            return Words::tr("its %1 is not a finite number").arg(Words::tr(real.name));
    }
    for (const auto &zoom : {reals[0], reals[1]}) {
        if (zoom.value < MinFileZoom || zoom.value > MaxFileZoom)
            return Words::tr("its %1 is %2, outside 1/32 to 8").arg(Words::tr(zoom.name), number(zoom.value));
    }
    for (const auto &fraction : {reals[2], reals[3]}) {
        if (fraction.value < 0.0 || fraction.value > 1.0)
            return Words::tr("its %1 is %2, outside 0 to 1").arg(Words::tr(fraction.name), number(fraction.value));
    }
    for (const auto &scale : {reals[6], reals[7]}) {
        if (!scaleAllowed(scale.value))
            return Words::tr("its %1 is %2, outside 0 to 100000 metres per pixel")
                .arg(Words::tr(scale.name), number(scale.value));
    }
    if (dataFormatIndex < 0 || dataFormatIndex > 2)
        return Words::tr("its data format index is %1, not 0, 1 or 2").arg(dataFormatIndex);
    if (dataStyleIndex < 0 || dataStyleIndex > 1)
        return Words::tr("its data style index is %1, not 0 or 1").arg(dataStyleIndex);
    return QString();
}
