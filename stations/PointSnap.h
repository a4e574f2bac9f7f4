#pragma once

#include <QPointF>

class EditSession;
class SurveyDocument;
enum class ViewSide;

// Where a placing click lands. On the profile, a click near one of the guide lines takes the
// line's x, so only the depth is chosen and the plan and the profile agree by construction; on
// the plan, a click near the guide circle lands on it. A drawn station mark under the click (a
// small compact blob) takes precedence: its centre, found on the scan at sub-pixel precision
// (and on the profile still put on the guide line when near it). Where the drawing has no marks
// a click may snap across the passage, to the middle between its walls. When in doubt, nothing
// moves the click.
namespace PointSnap {

struct Options
{
    bool guides = true;
    bool marks = true;
    bool passages = false;
};

struct Result
{
    enum class To { Nothing, Guide, Mark, Passage };
    QPointF source; // the point to place, source pixels of the shown sheet
    To to = To::Nothing;
    bool onGuide = false; // the point lies on the guide (also after a mark)
};

// `source`: the click in source pixels; `reach`: how far a snap may move it, source pixels (a few
// screen pixels over the zoom).
Result snap(const SurveyDocument &document, const EditSession &session, ViewSide side, QPointF source, double reach,
            const Options &options);

} // namespace PointSnap
