#include "stations/PaneInput.h"

#include "document/EditHistory.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "stations/PassageWalls.h"
#include "stations/StationEditor.h"
#include "survey/CommandError.h"
#include "survey/NumberText.h"
#include "survey/Truncate.h"
#include "views/ScaleCalibration.h"
#include "views/ViewEditor.h"
#include "views/ZoomPan.h"

#include <QCoreApplication>
#include <cmath>

namespace {

// Texts the user reads, in the interface's language.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PaneInput)
};

QPointF sourcePoint(QPoint displayed, double zoom)
{
    return zoom > 0.0 ? QPointF(displayed) / zoom : QPointF(displayed);
}

} // namespace

PaneInput::PaneInput(SurveyDocument &document, EditSession &session, EditHistory &history, StationEditor &stations,
                     ViewEditor &views, ScaleCalibration &calibration, Asking asking)
    : m_document(document), m_session(session), m_history(history), m_stations(stations), m_views(views),
      m_calibration(calibration), m_asking(std::move(asking)), m_activeSide(ViewSide::Plan)
{
}

PointSnap::Result PaneInput::snapped(ViewSide side, QPoint at, Qt::KeyboardModifiers modifiers) const
{
    const double zoom = m_document.view(side).zoom;
    const QPointF source = sourcePoint(at, zoom);
    if ((modifiers & Qt::ShiftModifier) || !(zoom > 0.0))
        return {source, PointSnap::Result::To::Nothing, false};
    return PointSnap::snap(m_document, m_session, side, source, SnapScreenPixels / zoom, m_options.snap);
}

void PaneInput::showWherePointLands(ViewSide side, QPoint at, Qt::KeyboardModifiers modifiers)
{
    m_session.setPreview(side, true, snapped(side, at, modifiers).source);
}

// The selected station's wall mark under a press while walls are edited; -1 for none.
int PaneInput::wallMarkAt(ViewSide side, QPoint at) const
{
    if (!m_options.editingWalls || !m_session.moving())
        return -1;
    const double zoom = m_document.view(side).zoom;
    for (const PassageWalls::Mark &mark : PassageWalls::marks(m_document, m_session.selected(), side)) {
        const QPointF on = mark.at * zoom - QPointF(at);
        if (std::hypot(on.x(), on.y()) <= SnapScreenPixels)
            return int(mark.wall);
    }
    return -1;
}

QString PaneInput::positionText(ViewSide side, QPoint at) const
{
    const ViewSettings &view = m_document.view(side);
    const QPointF source = sourcePoint(at, view.zoom);
    QString position = QStringLiteral("(%1 ; %2)")
                           .arg(truncToInt(std::floor(source.x())))
                           .arg(truncToInt(std::floor(source.y())));
    if (view.calibration.isSet())
        position += QStringLiteral("  ")
            + Words::tr("%1 ; %2 m")
                  .arg(view.calibration.metres(source.x()), 0, 'f', 2)
                  .arg(view.calibration.metres(source.y()), 0, 'f', 2);
    return position;
}

PaneInput::Outcome PaneInput::press(const Mouse &mouse, const Pane &pane)
{
    const ViewSide side = mouse.side;
    m_activeSide = side;
    m_session.setPressPoint(side, mouse.at);
    const int wall = mouse.button == Qt::LeftButton ? wallMarkAt(side, mouse.at) : -1;
    if (wall < 0 && ZoomPan::placesPoint(mouse.button, mouse.modifiers) && !m_tool.measuring())
        showWherePointLands(side, mouse.at, mouse.modifiers);
    const int under = wall < 0 && m_session.moving() ? m_stations.stationAt(side, mouse.at) : -1;
    return carryOut(mouse, pane,
                    m_tool.press(side, mouse.button, mouse.modifiers, mouse.at, pane.scroll,
                                 m_document.view(side).zoom, under, wall));
}

PaneInput::Outcome PaneInput::move(const Mouse &mouse, const Pane &pane)
{
    Outcome outcome;
    outcome.position = positionText(mouse.side, mouse.at);
    const PaneTool::Action action = m_tool.move(mouse.side, mouse.buttons, mouse.at, pane.scroll);
    // A right button held down shows where the point will land.
    if (!m_tool.draggingWall() && (mouse.buttons & Qt::RightButton) && m_session.previewShown(mouse.side))
        showWherePointLands(mouse.side, mouse.at, mouse.modifiers);
    const Outcome carried = carryOut(mouse, pane, action);
    outcome.scroll = carried.scroll;
    return outcome;
}

PaneInput::Outcome PaneInput::release(const Mouse &mouse, const Pane &pane)
{
    m_session.setPreview(mouse.side, false);
    return carryOut(mouse, pane, m_tool.release(mouse.side, mouse.button, mouse.modifiers, mouse.at));
}

PaneInput::Outcome PaneInput::carryOut(const Mouse &mouse, const Pane &pane, const PaneTool::Action &action)
{
    using Kind = PaneTool::Action::Kind;
    const ViewSide side = mouse.side;
    Outcome outcome;
    switch (action.kind) {
    case Kind::Pick:
        m_stations.select(action.station);
        break;
    case Kind::Drag:
        m_stations.drag(side, action.at, action.dragId);
        break;
    case Kind::WallDrag: {
        const int selected = m_session.selected();
        const auto wall = PassageWalls::Wall(action.wall);
        const QPointF source = sourcePoint(action.at, m_document.view(side).zoom);
        if (const std::optional<double> metres = PassageWalls::valueAt(m_document, selected, side, wall, source))
            m_stations.setWall(selected, wall, metres, action.dragId);
        break;
    }
    case Kind::Pan:
        outcome.scroll = action.scroll;
        break;
    case Kind::Place: {
        {
            // One redraw for the point; a click that snapped to nothing is stored exactly as it
            // always was.
            ChangeBatch batch(m_document, m_session);
            const PointSnap::Result landed = snapped(side, action.at, mouse.modifiers);
            if (landed.to == PointSnap::Result::To::Nothing)
                m_stations.placePoint(side, action.at);
            else
                m_stations.placePointAt(side, landed.source);
        }
        addOncePlaced();
        break;
    }
    case Kind::Zoom:
        // The scroll bars follow once the pane has its new size.
        outcome.scroll = m_views.release(side, pane.scroll, pane.box, mouse.button, mouse.modifiers, action.at).scroll;
        break;
    case Kind::MeasureNext:
        m_asking.status(action.measure == Measure::North ? Words::tr("Now click the head of the north arrow.")
                                                         : Words::tr("Now click the other end of the scale bar."));
        break;
    case Kind::Measured:
        m_asking.status(QString());
        measured(side, action);
        break;
    case Kind::None:
        break;
    }
    return outcome;
}

// Both points placed: added at once with the proposed label, when the caver asked for it.
void PaneInput::addOncePlaced()
{
    if (!m_options.addWhenPlaced || m_session.moving() || !m_session.addEnabled())
        return;
    const int before = m_document.stations().count();
    m_asking.add();
    if (m_document.stations().count() > before) {
        m_autoAddedStep = m_history.index();
        m_autoAddedLabel = m_session.labelEntry();
    }
}

bool PaneInput::takeBackAvailable() const
{
    return m_autoAddedStep >= 0 && m_autoAddedStep == m_history.index() && m_history.canUndo()
        && m_session.labelEntry() == m_autoAddedLabel && !m_session.moving();
}

PaneInput::Outcome PaneInput::wheel(ViewSide side, QPoint angle, Qt::KeyboardModifiers modifiers, QPoint cursor,
                                    const Pane &pane)
{
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    Outcome outcome;
    if (modifiers & Qt::ShiftModifier) // sideways
        outcome.scroll = pane.scroll - QPoint(delta, 0);
    else if (modifiers & Qt::ControlModifier) // up and down
        outcome.scroll = pane.scroll - QPoint(0, delta);
    else if (delta != 0)
        outcome = zoomAt(side, std::pow(ZoomPan::WheelStep, delta / 120.0), cursor, pane);
    return outcome;
}

PaneInput::Outcome PaneInput::zoomAt(ViewSide side, double factor, QPoint cursor, const Pane &pane)
{
    Outcome outcome;
    outcome.scroll = m_views.zoomAt(side, factor, cursor, pane.scroll, pane.viewport).scroll;
    return outcome;
}

bool PaneInput::isDrawingKey(int key, Qt::KeyboardModifiers modifiers)
{
    return (key == Qt::Key_Plus || key == Qt::Key_Equal || key == Qt::Key_Minus || key == Qt::Key_0)
        && !(modifiers & (Qt::ControlModifier | Qt::AltModifier));
}

void PaneInput::nudge(QPoint sourcePixels)
{
    m_stations.nudge(m_activeSide, sourcePixels);
}

// ---- Measuring the scale bar and the north arrow ----

void PaneInput::startMeasuring(ViewSide side, Measure what)
{
    m_tool.startMeasuring(side, what);
    m_asking.status(what == Measure::North
                        ? Words::tr("Click the tail of the plan's north arrow, then its head (Esc cancels).")
                        : Words::tr("Click one end of the scale bar, then the other (Esc cancels)."));
}

void PaneInput::stopMeasuring()
{
    m_tool.stopMeasuring();
    m_asking.status(QString());
}

void PaneInput::measured(ViewSide side, const PaneTool::Action &action)
{
    if (action.measure == Measure::North) {
        m_stations.setOrientationFromArrow(action.first, action.second);
        return;
    }
    const QPointF along = action.second - action.first;
    const double pixels = std::hypot(along.x(), along.y());
    if (!(pixels >= 1.0)) {
        m_asking.tell(QStringLiteral("Speomark"),
                      Words::tr("The two ends are less than a pixel apart; click the ends of the bar."));
        return;
    }
    QString typed;
    if (!m_asking.askText(Words::tr("The distance you clicked is %1 pixels. How many metres is it?")
                              .arg(NumberText::fromDouble(std::round(pixels * 10.0) / 10.0)),
                          &typed))
        return;
    const double metres = NumberText::toDouble(typed);
    if (!(metres > 0.0))
        throw CommandError(Words::tr("A length of %1 metres cannot be a scale.").arg(typed));
    const double oldScale = m_document.view(side).calibration.metresPerPixel;
    if (m_calibration.calibrate(side, metres, pixels) == ScaleCalibration::Outcome::Refused)
        m_asking.tell(Words::tr("Information"), ScaleCalibration::refusal(side));
    else
        scaleChanged(side, oldScale);
}

void PaneInput::scaleChanged(ViewSide side, double oldScale)
{
    const int count = m_stations.stationsOnShownSheet(side);
    const double scale = m_document.view(side).calibration.metresPerPixel;
    if (count == 0 || scale == oldScale)
        return;
    // Keeping the metres is the default: a stray Enter must not move every station.
    if (m_asking.askYesNo(
            Words::tr("Recalculate the metre positions of the %1 stations on sheet \"%2\" from their "
                      "pixels with the new scale?")
                .arg(count)
                .arg(m_document.sheetName(m_document.shownSheet(side)))
            + QStringLiteral("\n\n")
            + Words::tr("Yes: these stations are measured again with the new scale.\nNo: they "
                        "keep the metres of the old scale and only stations placed from now on use "
                        "the new one; legs between the two are flagged by the survey check.")))
        m_stations.recalculateMetres(side);
}
