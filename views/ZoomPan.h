#pragma once

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

// After a mouse release: a drag that changed both coordinates pans with it; Ctrl zooms about the
// released point (left in, right out, middle only recentres) and puts it at the box's middle.
PaneView afterRelease(PaneView view, QPoint press, QPoint release, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers);

// A right click without Shift or Ctrl places a station's point.
bool placesPoint(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

} // namespace ZoomPan
