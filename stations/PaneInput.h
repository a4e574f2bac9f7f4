#pragma once

#include "stations/PointSnap.h"
#include "views/PaneTool.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class EditHistory;
class EditSession;
class ScaleCalibration;
class StationEditor;
class SurveyDocument;
class ViewEditor;
enum class ViewSide;

// What the mouse, the wheel and the keys do on the drawings, apart from any widget: a gesture goes
// in (the side, the buttons, the modifiers, the point in displayed pixels and where the pane is
// scrolled) and comes out as an edit of the survey or the view (a point placed where the click
// snaps, a station picked, dragged or nudged, a wall's mark dragged, a scale bar or the north
// arrow measured, a Ctrl+click or the wheel zooming, the drawing panned, a station added once
// placed) and, for the window to show, where the pane scrolls to and what the status bar says.
class PaneInput
{
public:
    using Measure = PaneTool::Measure;

    // The pane's box as the window has it: where it is scrolled, and its size with and without
    // the scroll bars.
    struct Pane
    {
        QPoint scroll;
        QSize box;
        QSize viewport;
    };
    // One mouse event on a pane: the button pressed or released, the buttons held (moves).
    struct Mouse
    {
        ViewSide side;
        Qt::MouseButton button = Qt::NoButton;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        QPoint at; // displayed pixels of the pane
    };
    // What the window shows of the pane after a gesture.
    struct Outcome
    {
        std::optional<QPoint> scroll; // scroll the pane there
        QString position;             // where the mouse is on the scan (moves)
    };
    // What a gesture may ask of the window it happens in: the status bar's message (empty clears
    // it), messages and questions, and Add as its button does it.
    struct Asking
    {
        std::function<void(const QString &message)> status;
        std::function<void(const QString &caption, const QString &text)> tell;
        std::function<bool(const QString &question, QString *typed)> askText;
        std::function<bool(const QString &question)> askYesNo; // No unless the user says Yes
        std::function<void()> add;
    };
    // The digitising choices (kept in the settings by the window).
    struct Options
    {
        PointSnap::Options snap;
        bool addWhenPlaced = true; // a station is added once both its points are placed
        bool editingWalls = false; // Move mode drags the selected station's wall marks
    };
    static constexpr double SnapScreenPixels = 6.0; // how far a click snaps, or finds a mark

    PaneInput(SurveyDocument &document, EditSession &session, EditHistory &history, StationEditor &stations,
              ViewEditor &views, ScaleCalibration &calibration, Asking asking);

    Options &options() { return m_options; }
    const Options &options() const { return m_options; }

    Outcome press(const Mouse &mouse, const Pane &pane);
    Outcome move(const Mouse &mouse, const Pane &pane);
    Outcome release(const Mouse &mouse, const Pane &pane);
    // A wheel turned by `angle` (eighths of a degree) over `cursor` (box pixels): zooms there;
    // with Shift scrolls sideways, with Ctrl up and down.
    Outcome wheel(ViewSide side, QPoint angle, Qt::KeyboardModifiers modifiers, QPoint cursor, const Pane &pane);
    // A pinch, or anything else that zooms by a factor about a point of the box.
    Outcome zoomAt(ViewSide side, double factor, QPoint cursor, const Pane &pane);

    // The next two left clicks on the view measure its scale bar (then the length is asked) or,
    // on the plan, its north arrow; stopping gives it up.
    void startMeasuring(ViewSide side, Measure what);
    void stopMeasuring();

    // The arrow keys: the selected station moves on the pane last clicked.
    void nudge(QPoint sourcePixels);
    ViewSide activeSide() const { return m_activeSide; }

    // After a view's scale changed from `oldScale`: the stations placed with the old one may
    // follow it (asked, No by default).
    void scaleChanged(ViewSide side, double oldScale);

    // Backspace may take back the station just added by placing it, while the label proposed
    // for the next one is untouched.
    bool takeBackAvailable() const;

    // Where a placing click at `at` (displayed pixels) lands: snapped unless Shift is held.
    PointSnap::Result snapped(ViewSide side, QPoint at, Qt::KeyboardModifiers modifiers) const;

    // The cursor's place on the scan, in metres too once the view has a scale.
    QString positionText(ViewSide side, QPoint at) const;

    // The keys a drawing takes wherever the focus is (the label box never takes them).
    static bool isDrawingKey(int key, Qt::KeyboardModifiers modifiers);

private:
    Outcome carryOut(const Mouse &mouse, const Pane &pane, const PaneTool::Action &action);
    void measured(ViewSide side, const PaneTool::Action &action);
    void showWherePointLands(ViewSide side, QPoint at, Qt::KeyboardModifiers modifiers);
    int wallMarkAt(ViewSide side, QPoint at) const;
    void addOncePlaced();

    SurveyDocument &m_document;
    EditSession &m_session;
    EditHistory &m_history;
    StationEditor &m_stations;
    ViewEditor &m_views;
    ScaleCalibration &m_calibration;
    Asking m_asking;
    Options m_options;
    PaneTool m_tool; // the gesture under way
    ViewSide m_activeSide;
    int m_autoAddedStep = -1; // the history's index just after a station was added by placing it
    QString m_autoAddedLabel; // the label then proposed for the next one
};
