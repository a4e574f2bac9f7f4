#pragma once

#include <QString>
#include <vector>

// How a sheet's pixels become metres: the scale in force and the grid cell that set it. The one
// place where the pixels of a drawing turn into metres.
struct Calibration
{
    double metresPerPixel = 0.0; // 0 until a scale is set
    double gridPixels = 50.0;    // the grid cell in force, source pixels

    bool isSet() const { return metresPerPixel > 0.0; }
    // Metres of a length in source pixels.
    double metres(double sourcePixels) const { return sourcePixels * metresPerPixel; }
    // As a station keeps them (32-bit), from source pixels ...
    float storedMetres(double sourcePixels) const
    {
        return float(static_cast<long double>(sourcePixels) * metresPerPixel);
    }
    // ... and from displayed pixels at a zoom, as a click places them.
    float storedMetres(int displayed, double zoom) const
    {
        return float(static_cast<long double>(displayed) * metresPerPixel / zoom);
    }

    bool operator==(const Calibration &) const = default;
};

// Which drawing a sheet is.
enum class SheetKind { Plan, Profile };

// A sheet of a project, by its number; today a project has exactly one plan and one profile.
using SheetId = int;
constexpr SheetId PlanSheet = 0;
constexpr SheetId ProfileSheet = 1;

// One scanned drawing as the survey needs it: which it is, its scale and, for a plan, north.
struct Sheet
{
    SheetId id = PlanSheet;
    SheetKind kind = SheetKind::Plan;
    Calibration calibration;
    double northDeg = 0.0; // a plan: north on the image, degrees clockwise from its top edge

    bool operator==(const Sheet &) const = default;
};
