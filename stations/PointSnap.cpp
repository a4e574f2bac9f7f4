#include "stations/PointSnap.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "survey/SurveyLeg.h"
#include "views/ClickSnap.h"
#include "views/ViewSnapshot.h"

#include <cmath>
#include <optional>

namespace {

// The guide the pending station must lie on, exactly (the drawn one is rounded to whole pixels):
// on the profile two vertical lines at x = xs[0], xs[1]; on the plan a circle.
struct ExactGuide
{
    ViewSnapshot::Guide kind = ViewSnapshot::Guide::None;
    double xs[2] = {0.0, 0.0};
    QPointF centre;
    double radius = 0.0;
};

ExactGuide exactGuide(const SurveyDocument &document, const EditSession &session, ViewSide side)
{
    ExactGuide guide;
    // The drawn guide says whether there is one; its numbers are worked out again unrounded.
    const ViewSnapshot::Guide shownGuide = ViewSnapshot::guideOf(side, document, session);
    const StationTable &table = document.stations();
    const int next = session.inserting() ? session.insertBefore() : table.count();
    if (shownGuide == ViewSnapshot::Guide::None || next < 1 || !table.hasPending())
        return guide;
    const Station &p = table.at(next - 1);
    const Station &q = table.pending();
    const double planMpp = document.view(ViewSide::Plan).calibration.metresPerPixel;
    const double profileMpp = document.view(ViewSide::Profile).calibration.metresPerPixel;
    if (!(planMpp > 0.0) || !(profileMpp > 0.0))
        return guide;
    if (shownGuide == ViewSnapshot::Guide::VerticalLines) {
        const double run = std::hypot(double(q.planX) - p.planX, double(q.planY) - p.planY) * planMpp / profileMpp;
        guide.xs[0] = p.profileX - run;
        guide.xs[1] = p.profileX + run;
    } else if (shownGuide == ViewSnapshot::Guide::VerticalLine) {
        // A projected profile: the plan leg's run along the azimuth, one way only.
        const std::optional<double> &north = document.orientation().degrees();
        const std::optional<double> &azimuth = document.projectionAzimuth().degrees();
        if (!north || !azimuth)
            return guide;
        const double run =
            alongProjection(double(q.planX) - p.planX, double(q.planY) - p.planY, *north, *azimuth) * planMpp / profileMpp;
        guide.xs[0] = guide.xs[1] = p.profileX + run;
    } else {
        guide.centre = QPointF(p.planX, p.planY);
        guide.radius = double(profileRunPixels(p, q)) * profileMpp / planMpp;
    }
    guide.kind = std::isfinite(guide.xs[0]) && std::isfinite(guide.xs[1]) && std::isfinite(guide.radius)
                     ? shownGuide
                     : ViewSnapshot::Guide::None;
    return guide;
}

// The point moved onto the guide when it lies within reach of it.
std::optional<QPointF> ontoGuide(const ExactGuide &guide, QPointF at, double reach)
{
    if (guide.kind == ViewSnapshot::Guide::VerticalLines || guide.kind == ViewSnapshot::Guide::VerticalLine) {
        const double near = std::fabs(at.x() - guide.xs[0]) <= std::fabs(at.x() - guide.xs[1]) ? guide.xs[0] : guide.xs[1];
        if (std::fabs(at.x() - near) <= reach)
            return QPointF(near, at.y());
    } else if (guide.kind == ViewSnapshot::Guide::Circle) {
        const QPointF from = at - guide.centre;
        const double distance = std::hypot(from.x(), from.y());
        if (distance > 0.0 && std::fabs(distance - guide.radius) <= reach)
            return guide.centre + from * (guide.radius / distance);
    }
    return std::nullopt;
}

} // namespace

namespace PointSnap {

Result snap(const SurveyDocument &document, const EditSession &session, ViewSide side, QPointF source, double reach,
            const Options &options)
{
    Result result{source, Result::To::Nothing, false};
    if (!std::isfinite(source.x()) || !std::isfinite(source.y()) || !(reach > 0.0) || session.moving())
        return result;
    const ExactGuide guide = options.guides ? exactGuide(document, session, side) : ExactGuide();
    const QImage &scan = document.view(side).image;
    // The drawn mark first: the drawing is what the survey was; on the profile the guide then
    // still decides the x, so plan and profile agree.
    if (options.marks && !scan.isNull()) {
        if (const std::optional<QPointF> mark = ClickSnap::snapToStationMark(scan, source, reach)) {
            result.source = *mark;
            result.to = Result::To::Mark;
            if (guide.kind != ViewSnapshot::Guide::Circle)
                if (const std::optional<QPointF> on = ontoGuide(guide, result.source, reach)) {
                    result.source = *on;
                    result.onGuide = true;
                }
            return result;
        }
    }
    if (const std::optional<QPointF> on = ontoGuide(guide, result.source, reach)) {
        result.source = *on;
        result.to = Result::To::Guide;
        result.onGuide = true;
        return result;
    }
    if (options.passages && !scan.isNull()) {
        // Walls further apart than this are no passage drawn at the sheet's scale.
        const double mpp = document.view(side).calibration.metresPerPixel;
        const double furthest = mpp > 0.0 ? std::min(ClickSnap::MaximumRadius, 15.0 / mpp) : 200.0;
        if (const std::optional<QPointF> middle = ClickSnap::snapAcrossPassage(scan, source, furthest)) {
            result.source = *middle;
            result.to = Result::To::Passage;
        }
    }
    return result;
}

} // namespace PointSnap
