#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

struct SurveyState;

// The 664-byte header of a project file as plain values: the survey state fields it keeps and the
// values of the window's controls (up-down positions, entry-box numbers, check boxes, radio-group
// indexes), so the window copies them one by one and core code never touches a widget.
// Defaults are the window's start-up values. Paths are held as text; the file stores them as
// Windows-1251 bytes in 260-byte fields.
struct ProjectHeader
{
    static constexpr int Size = 664;
    static constexpr int PathBytes = 260;       // 259 bytes of path and the terminating zero
    static constexpr int Capacity = 1000;       // written as StationCapacity, never read
    static constexpr double MinFileZoom = 1.0 / 32.0; // the furthest the views can zoom out
    static constexpr double MaxFileZoom = 8.0;        // ... and in

    std::int32_t StationCount = 0;
    std::int32_t StationCapacity = Capacity;
    QString PlanImageFileName;
    QString ProfileImageFileName;
    double PlanZoom = 1.0;
    double ProfileZoom = 1.0;
    std::uint8_t ProfileExtended = 1;
    float PlanPaneFraction = 0.5f;
    float ProfilePaneFraction = 0.5f;
    double PlanGridPixels = 50.0;
    double ProfileGridPixels = 50.0;
    double PlanMetresPerPixel = 0.0;
    double ProfileMetresPerPixel = 0.0;
    // Up-down positions as the 16-bit controls hold them; the file widens them to 32 bits and a
    // reader takes back the low 16 bits.
    std::int32_t GridL1Position = 0;
    std::int32_t GridL2Position = 0;
    std::int32_t GridR1Position = 0;
    std::int32_t GridR2Position = 0;
    // Numbers of the entry boxes (metres and pixels of a grid cell, plan north in degrees).
    double PlanGridMetresEntry = 10.0;
    double PlanGridPixelsEntry = 50.0;
    double ProfileGridMetresEntry = 10.0;
    double ProfileGridPixelsEntry = 50.0;
    double PlanOrientationEntry = 0.0;
    // Check boxes: 0 off, anything else on.
    std::uint8_t PlanGridOn = 1;
    std::uint8_t ProfileGridOn = 1;
    std::uint8_t ShowLabels = 1;
    std::uint8_t ShowLines = 1;
    std::int32_t DataFormatIndex = 1; // 0 Lumaro Label, 1 Lumaro FromTo, 2 Survex
    std::int32_t DataStyleIndex = 0;  // 0 Angle, 1 DepthChange

    // The state fields of the header taken from the state (StationCount included); the control
    // values keep their defaults for the caller to fill.
    static ProjectHeader fromState(const SurveyState &state);
    // Writes the state fields (paths, zooms, ProfileExtended, pane fractions, grid cell sizes,
    // scales) into the state. The station table and count are the caller's (see ProjectContents).
    void applyTo(SurveyState &state) const;

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
    // outside 1/32..8, a pane fraction outside 0..1, or a format or style index naming no item.
    QString problem() const;

    // The low 16 bits of value as a signed number, as a 16-bit up-down holds it.
    static std::int32_t low16(std::int32_t value);
};
