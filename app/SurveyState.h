#pragma once

#include "app/Station.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

// The survey state every command shares. The main window carries it as plain fields (it derives
// from this struct), so handlers read and write them by name; core code takes a SurveyState&.
// Initial values are those the window starts with; the station table starts all zero.
struct SurveyState
{
    SurveyState();

    std::int32_t PlanImageWidth = 0;     // source pixels
    std::int32_t PlanImageHeight = 0;
    std::int32_t ProfileImageWidth = 0;
    std::int32_t ProfileImageHeight = 0;
    float PlanPaneFraction = 0.5f;       // share of (client width - 20) given to each pane
    float ProfilePaneFraction = 0.5f;
    double PlanGridPixels = 50.0;        // grid cell, source pixels
    double ProfileGridPixels = 50.0;
    double PlanZoom = 1.0;               // displayed pixels per source pixel
    double ProfileZoom = 1.0;
    double MaxZoom = 4.0;                // zooming in is allowed while the zoom is at most this
    double MinZoom = 0.0625;             // zooming out is allowed while the zoom is at least this
    double PlanMetresPerPixel = 0.0;     // 0 until a scale is set
    double ProfileMetresPerPixel = 0.0;
    std::uint8_t PlanPointPlaced = 0;    // the pending station has its plan point
    std::uint8_t ProfilePointPlaced = 0; // ... and its profile point
    std::uint8_t ProfileExtended = 1;    // 1 "Extended", 0 "None" (a project may hold 2)
    std::uint8_t Modified = 0;
    std::uint8_t MoveMode = 0;           // 0 "Add new", 1 "Move"
    std::array<Station, StationTableSize> Stations; // [StationCount] is the pending station
    std::int32_t StationCount = 0;
    std::int32_t CurrentStation = 0;     // selection in Move mode
    QString DataFileName;                // last survey data file, cut before its extension
    QString PlanImageFileName;
    QString ProfileImageFileName;
    QImage PlanBitmap;                   // clean working copies of the two source images
    QImage ProfileBitmap;
    std::int32_t PlanPressX = 0;         // last mouse press, displayed pixels
    std::int32_t PlanPressY = 0;
    std::int32_t ProfilePressX = 0;
    std::int32_t ProfilePressY = 0;

    // True when the pending entry Stations[StationCount] exists; a project may fill all 1000.
    bool hasPendingEntry() const { return StationCount >= 0 && StationCount < StationTableSize; }
};
