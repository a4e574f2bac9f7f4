#include "views/ZoomPan.h"

#include "survey/Truncate.h"

#include <algorithm>
#include <cmath>

namespace ZoomPan {

double zoomedIn(double zoom)
{
    return zoom > ZoomInLimit ? zoom : zoom * 2.0;
}

double zoomedOut(double zoom)
{
    return zoom < ZoomOutLimit ? zoom : zoom * 0.5;
}

QPoint scrollAfterZoomIn(QPoint scroll, QSize box)
{
    return QPoint(2 * scroll.x() + box.width() / 2, 2 * scroll.y() + box.height() / 2);
}

QPoint scrollAfterZoomOut(QPoint scroll, QSize box)
{
    return QPoint(scroll.x() / 2 - box.width() / 4, scroll.y() / 2 - box.height() / 4);
}

QPoint panned(QPoint startScroll, QPoint startInBox, QPoint nowInBox)
{
    return startScroll - (nowInBox - startInBox);
}

PaneView afterRelease(PaneView view, QPoint release, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::ControlModifier))
        return view;
    const int sourceX = truncToInt(release.x() / view.zoom);
    const int sourceY = truncToInt(release.y() / view.zoom);
    if (button == Qt::LeftButton) {
        if (view.zoom <= ZoomInLimit)
            view.zoom *= 2.0;
    } else if (button == Qt::RightButton) {
        if (view.zoom >= ZoomOutLimit)
            view.zoom *= 0.5;
    }
    view.scroll = QPoint(truncToInt(sourceX * view.zoom - view.box.width() / 2),
                         truncToInt(sourceY * view.zoom - view.box.height() / 2));
    return view;
}

PaneView zoomAt(PaneView view, double factor, QPoint cursor)
{
    if (!std::isfinite(factor) || factor <= 0.0)
        return view;
    const double zoom = std::clamp(view.zoom * factor, MinWheelZoom, MaxWheelZoom);
    const double sourceX = (view.scroll.x() + cursor.x()) / view.zoom;
    const double sourceY = (view.scroll.y() + cursor.y()) / view.zoom;
    view.scroll = QPoint(truncToInt(std::round(sourceX * zoom) - cursor.x()),
                         truncToInt(std::round(sourceY * zoom) - cursor.y()));
    view.zoom = zoom;
    return view;
}

bool placesPoint(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    return button == Qt::RightButton && !(modifiers & Qt::ControlModifier);
}

} // namespace ZoomPan
