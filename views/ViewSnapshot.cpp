#include "views/ViewSnapshot.h"

#include "app/SurveyState.h"
#include "app/Truncate.h"

#include <algorithm>
#include <cmath>

namespace {

// Which station fields a view reads, and which pending flag shows its point.
struct ViewSide
{
    float Station::*x;
    float Station::*y;
    std::uint8_t SurveyState::*pointPlaced;
};

// A guide's size in pixels of the view it is drawn on: length x (from-scale / to-scale), rounded
// half up. Without a usable quotient (a scale still 0, an overflow, a negative scale) there is no
// guide rather than one at a meaningless place.
bool guideDistance(long double length, double fromScale, double toScale, int *distance)
{
    if (fromScale == 0.0 || toScale == 0.0)
        return false;
    // Worked out in extended precision, but it must also fit an ordinary real.
    const double value = double(length * fromScale / toScale + 0.5L);
    if (!std::isfinite(value) || value < 0.0)
        return false;
    *distance = truncToInt(value);
    return true;
}

ViewSnapshot build(const SurveyState &state, const ViewControls &controls, const ViewSide &side)
{
    ViewSnapshot view;
    view.gridShown = controls.gridShown;
    view.gridOrigin = QPoint(controls.gridShiftRight, -controls.gridShiftUp);

    // A damaged project may claim any count; the table never reads past its last entry.
    const int count = std::clamp(state.StationCount, 0, StationTableSize);
    const auto at = [&](const Station &s) { return QPointF(s.*side.x, s.*side.y); };
    view.stations.reserve(count);
    for (int i = 0; i < count; ++i)
        view.stations.append(at(state.Stations[size_t(i)]));

    if (controls.showLabels) {
        view.labels.reserve(count);
        for (int i = 0; i < count; ++i) {
            const Station &s = state.Stations[size_t(i)];
            view.labels.append(hasLabel(s) ? labelText(s)
                                           : controls.indexWhenUnlabelled ? QString::number(i) : QString());
        }
    }
    if (controls.showLines) {
        view.legBefore.reserve(count);
        for (int i = 0; i < count; ++i)
            view.legBefore.append(i > 0 && !state.Stations[size_t(i - 1)].BranchEnd);
    }

    const Station *last = count >= 1 ? &state.Stations[size_t(count - 1)] : nullptr;
    const Station *pending = count == state.StationCount && state.hasPendingEntry() ? &state.Stations[size_t(count)] : nullptr;
    if (pending && state.*side.pointPlaced) {
        view.pendingShown = true;
        view.pending = at(*pending);
        if (controls.showLabels && !controls.typedLabel.isEmpty())
            view.pendingLabel = state.MoveMode == 1 ? labelText(*pending) : controls.typedLabel;
        if (controls.showLines && last && !controls.newBranch && !last->BranchEnd) {
            view.pendingLegShown = true;
            view.pendingLegFrom = at(*last);
        }
    }

    if (state.MoveMode == 1 && state.CurrentStation >= 0 && state.CurrentStation < count) {
        view.highlightShown = true;
        view.highlight = at(state.Stations[size_t(state.CurrentStation)]);
    }
    return view;
}

} // namespace

ViewSnapshot ViewSnapshot::plan(const SurveyState &state, const ViewControls &controls)
{
    ViewSnapshot view = build(state, controls, {&Station::PlanX, &Station::PlanY, &SurveyState::PlanPointPlaced});
    view.image = state.PlanBitmap;
    view.sourceWidth = state.PlanImageWidth;
    view.sourceHeight = state.PlanImageHeight;
    view.zoom = state.PlanZoom;
    view.gridPixels = state.PlanGridPixels;
    view.labelColour = QColor(0, 0, 255);

    // The circle around the last station on which the pending plan point must lie: the pending
    // leg's horizontal length as measured on the profile, in plan pixels.
    const int count = view.stations.size();
    if (count >= 1 && count == state.StationCount && state.hasPendingEntry() && state.ProfilePointPlaced
        && state.ProfileExtended == 1 && !controls.newBranch) {
        const Station &p = state.Stations[size_t(count - 1)];
        const Station &q = state.Stations[size_t(count)];
        int radius = 0;
        if (guideDistance(std::fabs((long double)q.ProfileX - (long double)p.ProfileX), state.ProfileMetresPerPixel,
                          state.PlanMetresPerPixel, &radius)) {
            const int left = truncToInt(double(p.PlanX) - radius);
            const int top = truncToInt(double(p.PlanY) - radius);
            const int right = truncToInt(double(p.PlanX) + radius);
            const int bottom = truncToInt(double(p.PlanY) + radius);
            view.guide = Guide::Circle;
            view.guideCircleBox = QRect(QPoint(left, top), QSize(right - left, bottom - top));
        }
    }
    return view;
}

ViewSnapshot ViewSnapshot::profile(const SurveyState &state, const ViewControls &controls)
{
    ViewSnapshot view =
        build(state, controls, {&Station::ProfileX, &Station::ProfileY, &SurveyState::ProfilePointPlaced});
    view.image = state.ProfileBitmap;
    view.sourceWidth = state.ProfileImageWidth;
    view.sourceHeight = state.ProfileImageHeight;
    view.zoom = state.ProfileZoom;
    view.gridPixels = state.ProfileGridPixels;
    view.labelColour = QColor(255, 0, 0);

    // Two vertical lines left and right of the last station, at the pending leg's length as
    // measured on the plan, in profile pixels.
    const int count = view.stations.size();
    if (count >= 1 && count == state.StationCount && state.hasPendingEntry() && state.PlanPointPlaced
        && state.ProfileExtended == 1 && !controls.newBranch) {
        const Station &p = state.Stations[size_t(count - 1)];
        const Station &q = state.Stations[size_t(count)];
        const long double dx = (long double)q.PlanX - (long double)p.PlanX;
        const long double dy = (long double)q.PlanY - (long double)p.PlanY;
        int distance = 0;
        if (!p.BranchEnd
            && guideDistance(std::sqrt(dx * dx + dy * dy), state.PlanMetresPerPixel, state.ProfileMetresPerPixel,
                             &distance)) {
            view.guide = Guide::VerticalLines;
            view.guideLineX[0] = truncToInt(double(p.ProfileX) - distance);
            view.guideLineX[1] = truncToInt(double(p.ProfileX) + distance);
        }
    }
    return view;
}

QSize ViewSnapshot::displayedSize() const
{
    return QSize(std::max(0, truncToInt(double(sourceWidth) * zoom)),
                 std::max(0, truncToInt(double(sourceHeight) * zoom)));
}
