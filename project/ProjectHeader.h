#pragma once

#include "survey/Limits.h"
#include <QByteArray>
#include <QString>
#include <cstdint>

// The 664-byte header of a project file as plain values, field for field in the file's layout and
// types (bytes stay bytes here; the document turns them into booleans and enums). Defaults are
// the program's start-up values. Paths are held as text; the file stores them as Windows-1251
// bytes in 260-byte fields.
struct ProjectHeader
{
    static constexpr int Size = 664;
    static constexpr int PathBytes = 260;       // 259 bytes of path and the terminating zero
    static constexpr int Capacity = 1000;       // written as stationCapacity, never read
    static constexpr double MinFileZoom = Limits::MinZoom;
    static constexpr double MaxFileZoom = Limits::MaxZoom;
    static constexpr double MaxMetresPerPixel = Limits::MaxMetresPerPixel; // a scale beyond is damage
    static constexpr bool scaleAllowed(double metresPerPixel) { return Limits::scaleAllowed(metresPerPixel); }

    std::int32_t stationCount = 0;
    std::int32_t stationCapacity = Capacity;
    QString planImagePath;
    QString profileImagePath;
    double planZoom = 1.0;
    double profileZoom = 1.0;
    std::uint8_t profileKind = 1;      // 1 "Extended", 0 "None", anything else "Projective"
    float planPaneFraction = 0.5f;
    float profilePaneFraction = 0.5f;
    double planGridPixels = 50.0;
    double profileGridPixels = 50.0;
    double planMetresPerPixel = 0.0;
    double profileMetresPerPixel = 0.0;
    // Grid shifts (the up-down positions) as the 16-bit controls hold them; the file widens them
    // to 32 bits and a reader takes back the low 16 bits.
    std::int32_t planGridShiftUp = 0;
    std::int32_t planGridShiftRight = 0;
    std::int32_t profileGridShiftUp = 0;
    std::int32_t profileGridShiftRight = 0;
    // Numbers of the entry boxes (metres and pixels of a grid cell, plan north in degrees).
    double planGridMetresEntry = 10.0;
    double planGridPixelsEntry = 50.0;
    double profileGridMetresEntry = 10.0;
    double profileGridPixelsEntry = 50.0;
    double planOrientationEntry = 0.0;
    // Check boxes: 0 off, anything else on.
    std::uint8_t planGridShown = 1;
    std::uint8_t profileGridShown = 1;
    std::uint8_t showLabels = 1;
    std::uint8_t showLines = 1;
    std::int32_t dataFormatIndex = 1; // 0 Lumaro Label, 1 Lumaro FromTo, 2 Survex
    std::int32_t dataStyleIndex = 0;  // 0 Angle, 1 DepthChange

    // Converts the five entry-box texts with the locale's number format, all before storing any,
    // so a text that is not a number throws its conversion error and leaves the header as it was.
    void setEntryTexts(const QString &planGridMetres, const QString &planGridPixels,
                       const QString &profileGridMetres, const QString &profileGridPixels,
                       const QString &planOrientation);

    // What an entry box yields after its value has been written to a project and read back:
    // the number shown with up to 15 significant digits and converted again, in any locale.
    static double reopenedEntryValue(double stored);

    // The 664 bytes of the header; bytes no field fills are zero. Throws CommandError (without
    // a file name) when a path has characters outside Windows-1251 or more than 259 bytes.
    QByteArray encode() const;
    // The header of 664 bytes, unchecked; the count is kept as stored (see problem()).
    static ProjectHeader decode(const char *bytes);

    // Why the window could not use this header safely, or an empty text: a negative count, a path
    // filling its whole field (no room for the ending zero), a real that is not finite, a zoom
    // outside 1/32..8, a pane fraction outside 0..1, a scale outside 0..100000 metres per pixel
    // (0: not set yet), or a format or style index naming no item.
    QString problem() const;

    // The low 16 bits of value as a signed number, as a 16-bit up-down holds it.
    static std::int32_t low16(std::int32_t value);
};
