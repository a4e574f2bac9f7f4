#include "views/ViewSnapshot.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "survey/Truncate.h"

#include <algorithm>
#include <cmath>

namespace {

// Which station fields a view reads.
struct StationFields
{
    float Station::*x;
    float Station::*y;
    SheetId Station::*sheet;
};

constexpr StationFields PlanFields{&Station::planX, &Station::planY, &Station::planSheet};
constexpr StationFields ProfileFields{&Station::profileX, &Station::profileY, &Station::profileSheet};

// A guide's size in pixels of the view it is drawn on: length x (from-scale / to-scale), rounded
// half up. Without a usable quotient (a scale still 0, an overflow, a negative scale) there is no
// guide rather than one at a meaningless place.
// A length in one sheet's pixels as so many pixels of another, through both calibrations.
bool guideDistance(long double length, const Calibration &from, const Calibration &to, int *distance)
{
    if (from.metresPerPixel == 0.0 || to.metresPerPixel == 0.0)
        return false;
    // Worked out in extended precision, but it must also fit an ordinary real.
    const double value = double(length * from.metresPerPixel / to.metresPerPixel + 0.5L);
    if (!std::isfinite(value) || value < 0.0)
        return false;
    *distance = truncToInt(value);
    return true;
}

// The same for a signed length: its size rounded as above, its sign kept.
bool signedGuideDistance(long double length, const Calibration &from, const Calibration &to, int *distance)
{
    int size = 0;
    if (!guideDistance(std::fabs(length), from, to, &size))
        return false;
    *distance = length < 0 ? -size : size;
    return true;
}

// Where the pending station will stand in the table: at its end, or before the station it is
// being put in ahead of.
int pendingIndex(const EditSession &session, const StationTable &table)
{
    return session.inserting() ? session.insertBefore() : table.count();
}

ViewSnapshot build(const SurveyDocument &document, const EditSession &session, ViewSide side,
                   const StationFields &fields, const QVector<int> &flaggedLegEnds, const ViewOverlay &overlay,
                   const QVector<QPointF> &shifts)
{
    const ViewSettings &settings = document.view(side);
    const StationTable &table = document.stations();
    ViewSnapshot view;
    view.image = settings.image;
    view.sourceWidth = settings.imageWidth();
    view.sourceHeight = settings.imageHeight();
    view.zoom = settings.zoom;
    view.gridPixels = settings.calibration.gridPixels;
    view.gridShown = settings.gridShown;
    view.gridOrigin = QPoint(settings.gridShiftRight, -settings.gridShiftUp);

    // Only the stations drawn on the sheet on screen; `shown[i]` is station i's place among them.
    const SheetId sheet = document.shownSheet(side);
    const auto onSheet = [&](const Station &s) { return s.*fields.sheet == sheet; };
    const int count = table.count();
    const auto at = [&](const Station &s) { return QPointF(s.*fields.x, s.*fields.y); };
    QVector<int> shown(count, -1);
    for (int i = 0; i < count; ++i) {
        if (!onSheet(table.at(i)))
            continue;
        shown[i] = int(view.stations.size());
        view.stations.append(at(table.at(i)));
    }
    // A leg drawn on this sheet: both its stations are on it.
    const auto legOnSheet = [&](int to) { return to >= 1 && to < count && shown[to] > 0 && shown[to - 1] == shown[to] - 1; };

    if (document.showLabels()) {
        // The Lumaro "Label" layout names stations by label only, so unlabelled ones show nothing.
        const bool indexWhenUnlabelled = document.format() != SurveyFormat::LumaroLabel;
        view.labels.reserve(view.stations.size());
        for (int i = 0; i < count; ++i) {
            const Station &s = table.at(i);
            if (shown[i] >= 0)
                view.labels.append(!s.label.isEmpty() ? s.label : indexWhenUnlabelled ? QString::number(i) : QString());
        }
    }
    if (document.showLines()) {
        view.legBefore.reserve(view.stations.size());
        for (int i = 0; i < count; ++i)
            if (shown[i] >= 0)
                view.legBefore.append(table.hasLegBefore(i) && legOnSheet(i));
    }

    if (session.showDisagreement())
        for (const int to : flaggedLegEnds)
            if (legOnSheet(to))
                view.disagreeingLegs.append(shown[to]);
    for (const int to : overlay.chosenLegEnds)
        if (legOnSheet(to))
            view.chosenLegs.append(shown[to]);
    if (shifts.size() == count)
        for (int i = 0; i < count; ++i) {
            const QPointF shift = shifts[i];
            if (shown[i] >= 0 && (shift.x() != 0.0 || shift.y() != 0.0) && std::isfinite(shift.x())
                && std::isfinite(shift.y()))
                view.shiftArrows.append(QLineF(at(table.at(i)), at(table.at(i)) + shift));
        }

    if (table.hasPending() && session.pointPlaced(side) && onSheet(table.pending())) {
        const Station &pending = table.pending();
        view.pendingShown = true;
        view.pending = at(pending);
        if (document.showLabels() && !session.labelEntry().isEmpty())
            view.pendingLabel = session.moving() ? pending.label : session.labelEntry();
        const int next = pendingIndex(session, table);
        if (document.showLines() && table.hasLegBefore(next) && !session.newBranchChecked()
            && onSheet(table.at(next - 1))) {
            view.pendingLegShown = true;
            view.pendingLegFrom = at(table.at(next - 1));
        }
    }

    if (session.previewShown(side)) {
        view.previewShown = true;
        view.preview = session.preview(side);
    }

    if (session.moving() && table.contains(session.selected()) && onSheet(table.at(session.selected()))) {
        view.highlightShown = true;
        view.highlight = at(table.at(session.selected()));
    }
    return view;
}

// The guide for the pending station needs a station before it to measure from, the point on the
// other view, a profile, and no new branch starting.
bool guideWanted(const SurveyDocument &document, const EditSession &session, ViewSide otherSide)
{
    const StationTable &table = document.stations();
    const int next = pendingIndex(session, table);
    if (!(next >= 1 && table.hasPending() && session.pointPlaced(otherSide)
          && document.profileKind() != ProfileKind::None && !session.newBranchChecked()))
        return false;
    // Only from a station on both sheets the pending one is being placed on.
    const Station &last = table.at(next - 1);
    const Station &pending = table.pending();
    return last.planSheet == pending.planSheet && last.profileSheet == pending.profileSheet
        && last.planSheet == document.shownSheet(ViewSide::Plan)
        && last.profileSheet == document.shownSheet(ViewSide::Profile);
}

} // namespace

namespace {

// The circle around the last station on which the pending plan point must lie: the pending leg's
// horizontal length as measured on the extended profile, in plan pixels. A projected profile
// shows only the run along its azimuth, which no circle stands for.
void addPlanGuide(ViewSnapshot &view, const SurveyDocument &document, const EditSession &session)
{
    if (document.profileKind() != ProfileKind::Extended || !guideWanted(document, session, ViewSide::Profile))
        return;
    const StationTable &table = document.stations();
    const Station &p = table.at(pendingIndex(session, table) - 1);
    const Station &q = table.pending();
    int radius = 0;
    if (guideDistance(profileRunPixels(p, q), document.view(ViewSide::Profile).calibration,
                      document.view(ViewSide::Plan).calibration, &radius)) {
        const int left = truncToInt(double(p.planX) - radius);
        const int top = truncToInt(double(p.planY) - radius);
        const int right = truncToInt(double(p.planX) + radius);
        const int bottom = truncToInt(double(p.planY) + radius);
        view.guide = ViewSnapshot::Guide::Circle;
        view.guideCircleBox = QRect(QPoint(left, top), QSize(right - left, bottom - top));
    }
}

// Two vertical lines left and right of the last station, at the pending leg's length as measured
// on the plan, in profile pixels; only where a leg will join the two. A projected profile knows
// which way the leg runs across it: one line.
void addProfileGuide(ViewSnapshot &view, const SurveyDocument &document, const EditSession &session)
{
    const StationTable &table = document.stations();
    const int next = pendingIndex(session, table);
    if (!guideWanted(document, session, ViewSide::Plan) || !table.hasLegBefore(next))
        return;
    const Station &p = table.at(next - 1);
    const Station &q = table.pending();
    const long double dx = (long double)q.planX - (long double)p.planX;
    const long double dy = (long double)q.planY - (long double)p.planY;
    const Calibration &planScale = document.view(ViewSide::Plan).calibration;
    const Calibration &profileScale = document.view(ViewSide::Profile).calibration;
    int distance = 0;
    if (document.profileKind() == ProfileKind::Projective) {
        // One line: the plan leg's run along the azimuth, to the right where it runs that way.
        const std::optional<double> &north = document.orientation().degrees();
        const std::optional<double> &azimuth = document.projectionAzimuth().degrees();
        if (north && azimuth
            && signedGuideDistance(alongProjection(double(dx), double(dy), *north, *azimuth), planScale, profileScale,
                                   &distance)) {
            view.guide = ViewSnapshot::Guide::VerticalLine;
            view.guideLineX[0] = truncToInt(double(p.profileX) + distance);
        }
    } else if (guideDistance(std::sqrt(dx * dx + dy * dy), planScale, profileScale, &distance)) {
        view.guide = ViewSnapshot::Guide::VerticalLines;
        view.guideLineX[0] = truncToInt(double(p.profileX) - distance);
        view.guideLineX[1] = truncToInt(double(p.profileX) + distance);
    }
}

} // namespace

ViewSnapshot ViewSnapshot::plan(const SurveyDocument &document, const EditSession &session,
                                const QVector<int> &flaggedLegEnds, const ViewOverlay &overlay)
{
    ViewSnapshot view = build(document, session, ViewSide::Plan, PlanFields, flaggedLegEnds, overlay, overlay.planShifts);
    view.wallMarks = overlay.planWalls;
    view.labelColour = QColor(0, 0, 255);
    addPlanGuide(view, document, session);
    return view;
}

ViewSnapshot ViewSnapshot::profile(const SurveyDocument &document, const EditSession &session,
                                   const QVector<int> &flaggedLegEnds, const ViewOverlay &overlay)
{
    ViewSnapshot view =
        build(document, session, ViewSide::Profile, ProfileFields, flaggedLegEnds, overlay, overlay.profileShifts);
    view.wallMarks = overlay.profileWalls;
    view.labelColour = QColor(255, 0, 0);
    addProfileGuide(view, document, session);
    return view;
}

ViewSnapshot::Guide ViewSnapshot::guideOf(ViewSide side, const SurveyDocument &document, const EditSession &session)
{
    ViewSnapshot view;
    if (side == ViewSide::Plan)
        addPlanGuide(view, document, session);
    else
        addProfileGuide(view, document, session);
    return view.guide;
}

ViewSnapshot ViewSnapshot::of(ViewSide side, const SurveyDocument &document, const EditSession &session,
                              const QVector<int> &flaggedLegEnds, const ViewOverlay &overlay)
{
    return side == ViewSide::Plan ? plan(document, session, flaggedLegEnds, overlay)
                                  : profile(document, session, flaggedLegEnds, overlay);
}

QSize ViewSnapshot::displayedSize() const
{
    return QSize(std::max(0, truncToInt(double(sourceWidth) * zoom)),
                 std::max(0, truncToInt(double(sourceHeight) * zoom)));
}
