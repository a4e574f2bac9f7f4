#pragma once

#include "views/PendingGuide.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

class EditSession;
class SurveyDocument;
enum class ViewSide;

// What the survey check lays over the drawings: worked out by the checks, drawn by the views.
struct ViewOverlay
{
    QVector<int> chosenLegEnds; // the "to" table entry of each leg of the traverse chosen in the check
    // Per table entry, where the adjusted survey moves the station from its drawn point, in source
    // pixels of its plan and profile sheet (magnified as the user asked); empty: none shown.
    QVector<QPointF> planShifts;
    QVector<QPointF> profileShifts;
    // The selected station's wall marks while walls are edited, source pixels of each sheet shown,
    // from the station to the mark; `set`: the wall has a value (else the mark waits, hollow).
    struct WallMark
    {
        QLineF line;
        bool set = false;
    };
    QVector<WallMark> planWalls;
    QVector<WallMark> profileWalls;
};

// Everything one redraw of a view shows, decided once from the document and the session:
// the image (shared with the working bitmap, never copied), its size and zoom, the grid, the
// stations with their label texts, the legs, the guide for the pending station, the pending
// point and the Move-mode highlight. Positions are in source-image pixels, as the stations
// store them; the painter applies the zoom. Where the rules truncate a position (a mark's box,
// a label's corner) the painter does it, so the snapshot keeps the stored values.
struct ViewSnapshot
{
    // Where the pending station may go: on a circle (the plan under an extended profile), between
    // or on two vertical lines (an extended profile), on one vertical line (a projected profile).
    using Guide = PendingGuide::Kind;

    // What a view shows of the document and the session. The legs the check flags are handed in
    // (the survey check is the checks' business), and shown while "Show disagreement" is ticked.
    static ViewSnapshot plan(const SurveyDocument &document, const EditSession &session,
                             const QVector<int> &flaggedLegEnds = {}, const ViewOverlay &overlay = {});
    static ViewSnapshot profile(const SurveyDocument &document, const EditSession &session,
                                const QVector<int> &flaggedLegEnds = {}, const ViewOverlay &overlay = {});
    static ViewSnapshot of(ViewSide side, const SurveyDocument &document, const EditSession &session,
                           const QVector<int> &flaggedLegEnds = {}, const ViewOverlay &overlay = {});

    // The pane's size: the source size times the zoom, truncated; never negative.
    QSize displayedSize() const;

    QImage image;
    int sourceWidth = 0;
    int sourceHeight = 0;
    double zoom = 1.0;
    QColor labelColour = Qt::blue;
    // Labels' height in pixels on screen (the View menu's choice); marks follow in proportion.
    static constexpr int MediumLabelPixels = 11;
    int labelPixels = MediumLabelPixels;

    bool gridShown = false;
    double gridPixels = 0.0;          // cell size, source pixels
    QPoint gridOrigin;                // the lattice runs right and down from here

    QVector<QPointF> stations;        // added stations, in table order
    QVector<QString> labels;          // text beside each station (empty = none); empty when hidden
    QVector<bool> legBefore;          // a leg joins station i-1 to station i; empty when hidden
    // The "to" station of each leg whose plan and profile lengths disagree; filled only while
    // "Show disagreement" is ticked, and drawn even when the legs are hidden.
    QVector<int> disagreeingLegs;
    QVector<int> chosenLegs;          // the "to" station of each leg of the traverse chosen in the check
    QVector<QLineF> shiftArrows;      // from a station's point to where the adjustment puts it
    QVector<ViewOverlay::WallMark> wallMarks; // the selected station's walls while they are edited

    Guide guide = Guide::None;
    QRect guideCircleBox;             // left, top inclusive; right, bottom exclusive
    int guideLineX[2] = {0, 0};       // vertical lines over the whole height (VerticalLine: the first)

    bool pendingShown = false;        // the pending station's point on this view
    QPointF pending;
    QString pendingLabel;             // empty = none
    bool pendingLegShown = false;
    QPointF pendingLegFrom;

    bool previewShown = false;        // where a placing click held down would put its point
    QPointF preview;

    bool highlightShown = false;      // the station selected in Move mode
    QPointF highlight;
};
