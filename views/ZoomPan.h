#pragma once

#include "survey/Limits.h"

#include <QPoint>
#include <QSize>
#include <Qt>

// The arithmetic of zooming and panning a pane, apart from any widget: given the zoom, the
// scroll position and the size of the visible box, where they go. The scroll bars then hold the
// position within 0 .. displayed extent - visible extent.
namespace ZoomPan {

constexpr double ZoomInLimit = 4.0;     // zooming in is allowed while the zoom is at most this
constexpr double ZoomOutLimit = 0.0625; // zooming out is allowed while the zoom is at least this

struct PaneView
{
    double zoom = 1.0;
    QPoint scroll; // displayed pixels at the box's top-left corner
    QSize box;     // the visible part of the pane
};

// The zoom buttons: the bound is tested before the step (the zoom stays when it is beyond it).
double zoomedIn(double zoom);
double zoomedOut(double zoom);
// ... and the point at the middle of the box stays in place: from the scroll position as the
// scroll bars hold it once the pane has its new size.
QPoint scrollAfterZoomIn(QPoint scroll, QSize box);
QPoint scrollAfterZoomOut(QPoint scroll, QSize box);

// After a mouse release with Ctrl: zooms about the released point (left in, right out, middle
// only recentres) and puts it at the box's middle. (Dragging pans while the mouse moves.)
PaneView afterRelease(PaneView view, QPoint release, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

// Live panning: the scroll position that keeps the drawing under the mouse, from where the
// press was in the box and the scroll position then.
QPoint panned(QPoint startScroll, QPoint startInBox, QPoint nowInBox);

// The wheel (and a pinch): zooms by factor, within MinWheelZoom..MaxWheelZoom, keeping the point
// under the cursor (displayed pixels from the box's top-left) where it is.
constexpr double MinWheelZoom = Limits::MinZoom;
constexpr double MaxWheelZoom = Limits::MaxZoom;
constexpr double WheelStep = 1.25; // one notch of the wheel
PaneView zoomAt(PaneView view, double factor, QPoint cursor);

// A right click without Ctrl places a station's point (with Shift, exactly where clicked).
bool placesPoint(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

} // namespace ZoomPan
