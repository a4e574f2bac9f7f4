#include "views/PendingGuide.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "survey/SurveyLeg.h"
#include "survey/Truncate.h"

#include <cmath>

namespace {

// Where the pending station will stand in the table: at its end, or before the station it is
// being put in ahead of.
int pendingIndex(const EditSession &session, const StationTable &table)
{
    return session.inserting() ? session.insertBefore() : table.count();
}

// The guide needs a station before the pending one to measure from, the point on the other view,
// a profile, and no new branch starting; and only from a station on both sheets the pending one
// is being placed on.
bool guideWanted(const SurveyDocument &document, const EditSession &session, ViewSide otherSide)
{
    const StationTable &table = document.stations();
    const int next = pendingIndex(session, table);
    if (!(next >= 1 && table.hasPending() && session.pointPlaced(otherSide)
          && document.profileKind() != ProfileKind::None && !session.newBranchChecked()))
        return false;
    const Station &last = table.at(next - 1);
    const Station &pending = table.pending();
    return last.planSheet == pending.planSheet && last.profileSheet == pending.profileSheet
        && last.planSheet == document.shownSheet(ViewSide::Plan)
        && last.profileSheet == document.shownSheet(ViewSide::Profile);
}

// A length in one sheet's pixels as so many pixels of another, through both calibrations; none
// without a usable quotient (a scale still 0, an overflow), rather than a guide at a meaningless
// place.
bool converted(long double length, const Calibration &from, const Calibration &to, long double *distance)
{
    if (from.metresPerPixel == 0.0 || to.metresPerPixel == 0.0)
        return false;
    *distance = length * from.metresPerPixel / to.metresPerPixel;
    // It must also fit an ordinary real once rounded for drawing.
    const double drawn = double(std::fabs(*distance) + 0.5L);
    return std::isfinite(drawn) && drawn >= 0.0;
}

} // namespace

PendingGuide PendingGuide::of(ViewSide side, const SurveyDocument &document, const EditSession &session)
{
    PendingGuide guide;
    const StationTable &table = document.stations();
    const int next = pendingIndex(session, table);
    const Calibration &planScale = document.view(ViewSide::Plan).calibration;
    const Calibration &profileScale = document.view(ViewSide::Profile).calibration;
    if (side == ViewSide::Plan) {
        // A projected profile shows only the run along its azimuth, which no circle stands for.
        if (document.profileKind() != ProfileKind::Extended || !guideWanted(document, session, ViewSide::Profile))
            return guide;
        const Station &p = table.at(next - 1);
        if (converted(profileRunPixels(p, table.pending()), profileScale, planScale, &guide.distance)) {
            guide.kind = Kind::Circle;
            guide.from = QPointF(p.planX, p.planY);
        }
        return guide;
    }
    // Only where a leg will join the two.
    if (!guideWanted(document, session, ViewSide::Plan) || !table.hasLegBefore(next))
        return guide;
    const Station &p = table.at(next - 1);
    const Station &q = table.pending();
    const long double dx = (long double)q.planX - (long double)p.planX;
    const long double dy = (long double)q.planY - (long double)p.planY;
    guide.from = QPointF(p.profileX, p.profileY);
    if (document.profileKind() == ProfileKind::Projective) {
        // One line: the plan leg's run along the azimuth, to the right where it runs that way.
        const std::optional<double> &north = document.orientation().degrees();
        const std::optional<double> &azimuth = document.projectionAzimuth().degrees();
        if (north && azimuth
            && converted(alongProjection(double(dx), double(dy), *north, *azimuth), planScale, profileScale,
                         &guide.distance))
            guide.kind = Kind::VerticalLine;
    } else if (converted(std::sqrt(dx * dx + dy * dy), planScale, profileScale, &guide.distance)) {
        guide.kind = Kind::VerticalLines;
    }
    return guide;
}

double PendingGuide::lineX(int line) const
{
    if (kind == Kind::VerticalLines && line == 0)
        return from.x() - double(distance);
    return from.x() + double(distance);
}

int PendingGuide::drawnDistance() const
{
    const int size = truncToInt(double(std::fabs(distance) + 0.5L));
    return distance < 0 ? -size : size;
}

std::optional<QPointF> PendingGuide::onto(QPointF at, double reach) const
{
    if (kind == Kind::VerticalLines || kind == Kind::VerticalLine) {
        const double first = lineX(0), second = lineX(1);
        const double near = std::fabs(at.x() - first) <= std::fabs(at.x() - second) ? first : second;
        if (std::fabs(at.x() - near) <= reach)
            return QPointF(near, at.y());
    } else if (kind == Kind::Circle) {
        const QPointF out = at - from;
        const double length = std::hypot(out.x(), out.y());
        const double radius = double(distance);
        if (length > 0.0 && std::fabs(length - radius) <= reach)
            return from + out * (radius / length);
    }
    return std::nullopt;
}
