#include "views/ViewSnapshot.h"

#include "views/PendingGuide.h"

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

// The guide for the pending station, rounded to whole pixels for drawing only: a circle's box
// (left, top inclusive; right, bottom exclusive) or the lines' x.
void addGuide(ViewSnapshot &view, ViewSide side, const SurveyDocument &document, const EditSession &session)
{
    const PendingGuide guide = PendingGuide::of(side, document, session);
    const int distance = guide.drawnDistance();
    switch (guide.kind) {
    case PendingGuide::Kind::Circle: {
        const int left = truncToInt(guide.from.x() - distance);
        const int top = truncToInt(guide.from.y() - distance);
        const int right = truncToInt(guide.from.x() + distance);
        const int bottom = truncToInt(guide.from.y() + distance);
        view.guideCircleBox = QRect(QPoint(left, top), QSize(right - left, bottom - top));
        break;
    }
    case PendingGuide::Kind::VerticalLines:
        view.guideLineX[0] = truncToInt(guide.from.x() - distance);
        view.guideLineX[1] = truncToInt(guide.from.x() + distance);
        break;
    case PendingGuide::Kind::VerticalLine:
        view.guideLineX[0] = truncToInt(guide.from.x() + distance);
        break;
    case PendingGuide::Kind::None:
        break;
    }
    view.guide = guide.kind;
}

} // namespace

ViewSnapshot ViewSnapshot::plan(const SurveyDocument &document, const EditSession &session,
                                const QVector<int> &flaggedLegEnds, const ViewOverlay &overlay)
{
    ViewSnapshot view = build(document, session, ViewSide::Plan, PlanFields, flaggedLegEnds, overlay, overlay.planShifts);
    view.wallMarks = overlay.planWalls;
    view.labelColour = QColor(0, 0, 255);
    addGuide(view, ViewSide::Plan, document, session);
    return view;
}

ViewSnapshot ViewSnapshot::profile(const SurveyDocument &document, const EditSession &session,
                                   const QVector<int> &flaggedLegEnds, const ViewOverlay &overlay)
{
    ViewSnapshot view =
        build(document, session, ViewSide::Profile, ProfileFields, flaggedLegEnds, overlay, overlay.profileShifts);
    view.wallMarks = overlay.profileWalls;
    view.labelColour = QColor(255, 0, 0);
    addGuide(view, ViewSide::Profile, document, session);
    return view;
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
