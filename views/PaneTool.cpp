#include "views/PaneTool.h"

#include "document/SurveyDocument.h"
#include "views/ZoomPan.h"

void PaneTool::startMeasuring(ViewSide side, Measure what)
{
    m_measure.active = true;
    m_measure.side = side;
    m_measure.what = what;
    m_measure.hasFirst = false;
}

void PaneTool::stopMeasuring()
{
    m_measure.active = false;
}

PaneTool::Action PaneTool::press(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at,
                                 QPoint scroll, double zoom, int stationUnder, int wallUnder)
{
    Action action;
    // A wall's mark goes with the mouse before anything else the press could mean.
    if (wallUnder >= 0 && button == Qt::LeftButton) {
        m_wall = {true, side, wallUnder};
        ++m_wallDragId;
        return action;
    }
    if (m_measure.active && button == Qt::LeftButton) {
        if (side != m_measure.side)
            return action;
        const QPointF source = zoom > 0.0 ? QPointF(at) / zoom : QPointF(at);
        action.measure = m_measure.what;
        if (!m_measure.hasFirst) {
            m_measure.first = source;
            m_measure.hasFirst = true;
            action.kind = Action::Kind::MeasureNext;
            return action;
        }
        m_measure.active = false;
        action.kind = Action::Kind::Measured;
        action.first = m_measure.first;
        action.second = source;
        return action;
    }
    const bool plain = !(modifiers & Qt::ControlModifier);
    // In Move mode a left press on a station's mark picks it and starts dragging it.
    if (stationUnder >= 0 && button == Qt::LeftButton && plain) {
        m_dragging = true;
        m_dragSide = side;
        action.kind = Action::Kind::Pick;
        action.station = stationUnder;
        action.dragId = ++m_dragId;
        return action;
    }
    // The left (or middle) button held down moves the drawing with the mouse.
    if ((button == Qt::LeftButton || button == Qt::MiddleButton) && plain) {
        m_pan.active = true;
        m_pan.side = side;
        m_pan.startInBox = at - scroll;
        m_pan.startScroll = scroll;
    }
    return action;
}

PaneTool::Action PaneTool::move(ViewSide side, Qt::MouseButtons buttons, QPoint at, QPoint scroll)
{
    Action action;
    if (m_wall.active) {
        if (side == m_wall.side && (buttons & Qt::LeftButton)) {
            action.kind = Action::Kind::WallDrag;
            action.wall = m_wall.wall;
            action.at = at;
            action.dragId = m_wallDragId;
        }
    } else if (m_dragging && side == m_dragSide && (buttons & Qt::LeftButton)) {
        action.kind = Action::Kind::Drag;
        action.at = at;
        action.dragId = m_dragId;
    } else if (m_pan.active && side == m_pan.side && (buttons & (Qt::LeftButton | Qt::MiddleButton))) {
        // Where the mouse stands in the box, which stays put while the pane moves under it.
        action.kind = Action::Kind::Pan;
        action.scroll = ZoomPan::panned(m_pan.startScroll, m_pan.startInBox, at - scroll);
    }
    return action;
}

PaneTool::Action PaneTool::release(ViewSide, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)
{
    Action action;
    if (m_wall.active) {
        m_wall.active = false; // whichever button: the wall's drag ends
        return action;
    }
    if (m_dragging && button == Qt::LeftButton) {
        m_dragging = false; // a drag moves the mark, never the view
        return action;
    }
    if (m_measure.active && button == Qt::LeftButton)
        return action;
    m_pan.active = false;
    action.at = at;
    action.kind = ZoomPan::placesPoint(button, modifiers) ? Action::Kind::Place : Action::Kind::Zoom;
    return action;
}
