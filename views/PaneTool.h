#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>

enum class ViewSide;

// What the mouse does on the panes, apart from any widget and any document: each press, move and
// release becomes one action for the pane input to carry out (pick a station and drag its mark,
// drag a wall's mark, pan the drawing, place a point, zoom at a Ctrl+click, measure a scale bar or
// the north arrow). Every tool goes through here; it holds only the gesture under way.
class PaneTool
{
public:
    enum class Measure { Scale, North };

    struct Action
    {
        enum class Kind {
            None,
            Pick,        // a station's mark pressed in Move mode: pick `station`; dragging starts
            Drag,        // the picked mark follows to `at` (displayed pixels), all one `dragId`
            WallDrag,    // the mark of `wall` follows to `at` (displayed pixels), all one `dragId`
            Pan,         // the drawing follows the mouse: show `scroll`
            Place,       // a right click without Ctrl: a point at `at` (Shift: exactly there)
            Zoom,        // any other click released at `at`: with Ctrl it zooms there (left in, right
                         // out, middle recentres), else the view stays
            MeasureNext, // the first end clicked: now the other
            Measured,    // both ends clicked: `first` and `second`, source pixels
        };
        Kind kind = Kind::None;
        int station = -1;
        int wall = -1;
        QPoint at;
        QPoint scroll;
        quint64 dragId = 0;
        Measure measure = Measure::Scale;
        QPointF first;
        QPointF second;
    };

    // The next two left clicks on that pane measure; any other gesture there is ignored meanwhile.
    void startMeasuring(ViewSide side, Measure what);
    void stopMeasuring();
    bool measuring() const { return m_measure.active; }

    // A press at `at` (displayed pixels) with the pane scrolled to `scroll` and shown at `zoom`.
    // What lies under it, -1 for none: `stationUnder` the station whose mark is there (Move mode),
    // `wallUnder` the selected station's wall whose mark is there (while walls are edited).
    Action press(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at, QPoint scroll,
                 double zoom, int stationUnder, int wallUnder = -1);
    Action move(ViewSide side, Qt::MouseButtons buttons, QPoint at, QPoint scroll);
    Action release(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    // A wall's mark is being dragged: nothing else happens on the panes meanwhile.
    bool draggingWall() const { return m_wall.active; }

private:
    struct
    {
        bool active = false;
        ViewSide side;
        Measure what = Measure::Scale;
        bool hasFirst = false;
        QPointF first;
    } m_measure;
    struct
    {
        bool active = false;
        ViewSide side;
        QPoint startInBox; // the press, in the box's pixels
        QPoint startScroll;
    } m_pan;
    struct
    {
        bool active = false;
        ViewSide side;
        int wall = -1;
    } m_wall;
    bool m_dragging = false;
    ViewSide m_dragSide;
    quint64 m_dragId = 0;
    quint64 m_wallDragId = quint64(1) << 62; // apart from the marks' drags
};
