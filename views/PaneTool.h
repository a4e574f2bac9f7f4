#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>

enum class ViewSide;

// What the mouse does on the panes, apart from any widget: each press, move and release becomes
// one action for the window to carry out with its controllers (pick a station and drag its mark,
// pan the drawing, place a point or zoom on release, measure a scale bar or the north arrow). It
// holds only the gesture under way.
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
            Pan,         // the drawing follows the mouse: show `scroll`
            Release,     // a release that ends no gesture: place a point or zoom, as the view says
            MeasureNext, // the first end clicked: now the other
            Measured,    // both ends clicked: `first` and `second`, source pixels
        };
        Kind kind = Kind::None;
        int station = -1;
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
    Measure measuringWhat() const { return m_measure.what; }

    // A press at `at` (displayed pixels) with the pane scrolled to `scroll` and shown at `zoom`.
    // `stationUnder`: in Move mode, the station whose mark is under the press; -1 for none.
    Action press(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at, QPoint scroll,
                 double zoom, int stationUnder);
    Action move(ViewSide side, Qt::MouseButtons buttons, QPoint at, QPoint scroll);
    Action release(ViewSide side, Qt::MouseButton button, QPoint at);

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
    bool m_dragging = false;
    ViewSide m_dragSide;
    quint64 m_dragId = 0;
};
