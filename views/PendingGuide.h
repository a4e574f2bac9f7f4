#pragma once

#include <QPointF>
#include <optional>

class EditSession;
class SurveyDocument;
enum class ViewSide;

// Where the pending station may go, so that its leg has one horizontal length on the plan and on
// the profile: on the plan a circle around the station before it, of the leg's run as the extended
// profile draws it; on an extended profile two vertical lines either side of that station, at the
// leg's horizontal length as the plan draws it; on a projected profile one line, at the plan leg's
// run along the azimuth. One rule for the line drawn and for the click snapped to it: worked out
// exactly here; the drawing rounds it to whole pixels for display only.
struct PendingGuide
{
    enum class Kind { None, Circle, VerticalLines, VerticalLine };

    Kind kind = Kind::None;
    QPointF from; // the station the pending one follows, source pixels of the side's sheet
    // Circle: its radius; VerticalLines: how far either side of from.x; VerticalLine: how far
    // right of from.x (negative: left). Source pixels, in extended precision.
    long double distance = 0.0L;

    // The guide a view shows for the pending station; None where there is none to show.
    static PendingGuide of(ViewSide side, const SurveyDocument &document, const EditSession &session);

    // The exact x of a vertical line (the first or the second of two).
    double lineX(int line) const;
    // The distance as the drawing shows it: rounded half away from zero to whole pixels.
    int drawnDistance() const;
    // The point moved onto the guide when it lies within reach of it (source pixels).
    std::optional<QPointF> onto(QPointF at, double reach) const;
};
