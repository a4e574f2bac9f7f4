#include "stations/PointSnap.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "views/ClickSnap.h"
#include "views/PendingGuide.h"

#include <cmath>
#include <optional>

namespace PointSnap {

Result snap(const SurveyDocument &document, const EditSession &session, ViewSide side, QPointF source, double reach,
            const Options &options)
{
    Result result{source, Result::To::Nothing, false};
    if (!std::isfinite(source.x()) || !std::isfinite(source.y()) || !(reach > 0.0) || session.moving())
        return result;
    const PendingGuide guide = options.guides ? PendingGuide::of(side, document, session) : PendingGuide();
    const QImage &scan = document.view(side).image;
    // The drawn mark first: the drawing is what the survey was; on the profile the guide then
    // still decides the x, so plan and profile agree.
    if (options.marks && !scan.isNull()) {
        if (const std::optional<QPointF> mark = ClickSnap::snapToStationMark(scan, source, reach)) {
            result.source = *mark;
            result.to = Result::To::Mark;
            if (guide.kind != PendingGuide::Kind::Circle)
                if (const std::optional<QPointF> on = guide.onto(result.source, reach)) {
                    result.source = *on;
                    result.onGuide = true;
                }
            return result;
        }
    }
    if (const std::optional<QPointF> on = guide.onto(result.source, reach)) {
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
