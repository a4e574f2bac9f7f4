#pragma once

#include <QString>
#include <utility>
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

struct Sheet;

// North on each plan sheet: what turns a leg drawn on a plan into a compass bearing. One number
// is the north of a survey drawn on one plan sheet.
class PlanNorths
{
public:
    PlanNorths(double onlyPlan = 0.0) : m_only(onlyPlan) {}
    explicit PlanNorths(const std::vector<Sheet> &sheets);
    double of(SheetId planSheet) const;

private:
    double m_only;
    std::vector<std::pair<SheetId, double>> m_norths;
};

// One scanned drawing as the survey needs it: which it is, its scale and, for a plan, north.
struct Sheet
{
    SheetId id = PlanSheet;
    SheetKind kind = SheetKind::Plan;
    Calibration calibration;
    double northDeg = 0.0; // a plan: north on the image, degrees clockwise from its top edge

    QString name; // as the tabs show it; empty: the kind and number stand for it

    bool operator==(const Sheet &) const = default;
};

inline PlanNorths::PlanNorths(const std::vector<Sheet> &sheets) : m_only(0.0)
{
    for (const Sheet &sheet : sheets)
        if (sheet.kind == SheetKind::Plan) {
            if (m_norths.empty())
                m_only = sheet.northDeg;
            m_norths.emplace_back(sheet.id, sheet.northDeg);
        }
}

inline double PlanNorths::of(SheetId planSheet) const
{
    for (const auto &[id, north] : m_norths)
        if (id == planSheet)
            return north;
    return m_only;
}
