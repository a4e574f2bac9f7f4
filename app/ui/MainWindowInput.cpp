// What the mouse, the wheel, the keyboard and dropped files do on the panes: placing and picking
// stations, dragging marks, live panning, zooming at the cursor, measuring the scale bar and the
// north arrow, and opening what is dropped.
#include "app/ui/MainWindow.h"
#include "app/ui/WindowMenus.h"

#include "stations/ui/StationBox.h"

#include "survey/CommandError.h"
#include "survey/NumberText.h"
#include "survey/Truncate.h"
#include "app/ui/SurveyTextWindow.h"
#include "stations/ui/StationsList.h"
#include "views/ui/ImagePane.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QNativeGestureEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>
#include <cmath>

namespace {

QPointF sourcePoint(QPoint displayed, double zoom)
{
    return zoom > 0.0 ? QPointF(displayed) / zoom : QPointF(displayed);
}

bool isProject(const QString &path) { return path.endsWith(QLatin1String(".sprj"), Qt::CaseInsensitive); }

QString droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

} // namespace

PointSnap::Result MainWindow::snapped(ViewSide side, QPoint at, Qt::KeyboardModifiers modifiers) const
{
    const double zoom = m_document.view(side).zoom;
    const QPointF source = sourcePoint(at, zoom);
    if ((modifiers & Qt::ShiftModifier) || !(zoom > 0.0))
        return {source, PointSnap::Result::To::Nothing, false};
    return PointSnap::snap(m_document, m_session, side, source, SnapScreenPixels / zoom, m_snapOptions);
}

void MainWindow::showWherePointLands(ViewSide side, QPoint at, Qt::KeyboardModifiers modifiers)
{
    m_session.setPreview(side, true, snapped(side, at, modifiers).source);
}

// The selected station's wall mark under a press while walls are edited; -1 for none.
int MainWindow::wallMarkAt(ViewSide side, QPoint at) const
{
    if (!m_editingWalls || !m_session.moving())
        return -1;
    const double zoom = m_document.view(side).zoom;
    for (const PassageWalls::Mark &mark : PassageWalls::marks(m_document, m_session.selected(), side)) {
        const QPointF on = mark.at * zoom - QPointF(at);
        if (std::hypot(on.x(), on.y()) <= SnapScreenPixels)
            return int(mark.wall);
    }
    return -1;
}

void MainWindow::pressOnPane(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)
{
    m_activeSide = side;
    m_session.setPressPoint(side, at);
    if (const int wall = button == Qt::LeftButton ? wallMarkAt(side, at) : -1; wall >= 0) {
        m_wallDrag = {true, side, PassageWalls::Wall(wall), ++m_wallDragId};
        return;
    }
    if (ZoomPan::placesPoint(button, modifiers) && !m_paneTool.measuring())
        showWherePointLands(side, at, modifiers);
    const int under = m_session.moving() ? m_stationEditor.stationAt(side, at) : -1;
    carryOut(side, m_paneTool.press(side, button, modifiers, at, scrollPosition(side), m_document.view(side).zoom,
                                    under));
}

void MainWindow::moveOnPane(ViewSide side, Qt::MouseButtons buttons, QPoint at)
{
    // Where the mouse is on the scan itself, and in metres once the drawing has a scale.
    const ViewSettings &view = m_document.view(side);
    const QPointF source = sourcePoint(at, view.zoom);
    QString position = QStringLiteral("(%1 ; %2)")
                           .arg(truncToInt(std::floor(source.x())))
                           .arg(truncToInt(std::floor(source.y())));
    if (view.calibration.isSet())
        position += QStringLiteral("  ")
            + tr("%1 ; %2 m")
                  .arg(view.calibration.metres(source.x()), 0, 'f', 2)
                  .arg(view.calibration.metres(source.y()), 0, 'f', 2);
    m_statusPanels[side == ViewSide::Plan ? 1 : 2]->setText(position);
    if (m_wallDrag.active && m_wallDrag.side == side && (buttons & Qt::LeftButton)) {
        const int selected = m_session.selected();
        const std::optional<double> metres = PassageWalls::valueAt(m_document, selected, side, m_wallDrag.wall, source);
        if (metres)
            guard([&] { m_stationEditor.setWall(selected, m_wallDrag.wall, metres, m_wallDrag.id); });
        return;
    }
    if ((buttons & Qt::RightButton) && m_session.previewShown(side))
        showWherePointLands(side, at, QGuiApplication::keyboardModifiers());
    carryOut(side, m_paneTool.move(side, buttons, at, scrollPosition(side)));
}

void MainWindow::releaseOnPane(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)
{
    m_session.setPreview(side, false);
    if (m_wallDrag.active) {
        m_wallDrag.active = false;
        return;
    }
    const PaneTool::Action action = m_paneTool.release(side, button, at);
    if (action.kind != PaneTool::Action::Kind::Release)
        return;
    ZoomPan::PaneView view;
    bool placed = false;
    {
        // One redraw for the point and the zoom; the scroll bars follow once the pane has its size.
        ChangeBatch batch(m_document, m_session);
        if (ZoomPan::placesPoint(button, modifiers)) {
            // A click that snapped to nothing is stored exactly as it always was.
            const PointSnap::Result landed = snapped(side, at, modifiers);
            if (landed.to == PointSnap::Result::To::Nothing)
                m_stationEditor.placePoint(side, at);
            else
                m_stationEditor.placePointAt(side, landed.source);
            placed = true;
        }
        view = m_viewEditor.release(side, scrollPosition(side), scrollBox(side)->size(), button, modifiers, at);
    }
    scrollTo(side, view.scroll);
    // Both points placed: added at once with the proposed label, when the caver asked for it.
    if (placed && m_addWhenPlaced && !m_session.moving() && m_session.addEnabled()) {
        const int before = m_document.stations().count();
        addStation();
        if (m_document.stations().count() > before) {
            m_autoAddedStep = m_history.index();
            m_autoAddedLabel = m_session.labelEntry();
            m_menus->takeBack->setEnabled(takeBackAvailable());
        }
    }
}

void MainWindow::carryOut(ViewSide side, const PaneTool::Action &action)
{
    using Kind = PaneTool::Action::Kind;
    switch (action.kind) {
    case Kind::Pick:
        m_stationEditor.select(action.station);
        break;
    case Kind::Drag:
        m_stationEditor.drag(side, action.at, action.dragId);
        break;
    case Kind::Pan:
        scrollTo(side, action.scroll);
        break;
    case Kind::MeasureNext:
        statusBar()->showMessage(action.measure == PaneTool::Measure::North
                                     ? tr("Now click the head of the north arrow.")
                                     : tr("Now click the other end of the scale bar."));
        break;
    case Kind::Measured:
        statusBar()->clearMessage();
        measured(side, action);
        break;
    case Kind::Release:
    case Kind::None:
        break;
    }
}

void MainWindow::wheelOnPane(ViewSide side, QWheelEvent *event)
{
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    QScrollArea *box = scrollBox(side);
    if (event->modifiers() & Qt::ShiftModifier) { // sideways
        box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->value() - delta);
    } else if (event->modifiers() & Qt::ControlModifier) { // up and down
        box->verticalScrollBar()->setValue(box->verticalScrollBar()->value() - delta);
    } else if (delta != 0) {
        zoomAtCursor(side, std::pow(ZoomPan::WheelStep, delta / 120.0), event->position().toPoint());
    }
    event->accept();
}

void MainWindow::zoomAtCursor(ViewSide side, double factor, QPoint inBox)
{
    const ZoomPan::PaneView view =
        m_viewEditor.zoomAt(side, factor, inBox, scrollPosition(side), scrollBox(side)->viewport()->size());
    scrollTo(side, view.scroll);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        if (watched != scrollBox(side)->viewport())
            continue;
        if (event->type() == QEvent::Wheel) {
            guard([&] { wheelOnPane(side, static_cast<QWheelEvent *>(event)); });
            return true;
        }
        if (event->type() == QEvent::NativeGesture) {
            auto *gesture = static_cast<QNativeGestureEvent *>(event);
            if (gesture->gestureType() == Qt::ZoomNativeGesture) {
                const QPoint inBox = scrollBox(side)->viewport()->mapFromGlobal(gesture->globalPosition().toPoint());
                guard([&] { zoomAtCursor(side, 1.0 + gesture->value(), inBox); });
                return true;
            }
        }
    }
    // The drawing's zoom keys act on the drawing under the cursor, even while the label box has
    // the focus: typed there they would rewrite the proposed label ("0" would tie to the entrance).
    if ((watched == m_stationBox->labelEdit || watched == m_stationBox->commentEdit)
        && event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool zoomKey = key->key() == Qt::Key_Plus || key->key() == Qt::Key_Equal || key->key() == Qt::Key_Minus
                             || key->key() == Qt::Key_0;
        bool overDrawing = false;
        for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
            overDrawing = overDrawing || scrollBox(side)->rect().contains(scrollBox(side)->mapFromGlobal(QCursor::pos()));
        if (zoomKey && overDrawing && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return true; // not taken by the box: the window's shortcut acts
    }
    // The docked list moves through the stations with the arrow keys, which elsewhere nudge.
    if (watched == m_stationsList && event->type() == QEvent::ShortcutOverride) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            event->accept();
            return true;
        default:
            break;
        }
    }
    // A text box with nothing of its own to undo lets Ctrl+Z undo the last edit of the survey,
    // and the window's own Ctrl and Alt shortcuts win over a text box's keys.
    if (event->type() == QEvent::ShortcutOverride) {
        if (auto *box = qobject_cast<QLineEdit *>(watched)) {
            auto *key = static_cast<QKeyEvent *>(event);
            if ((key->matches(QKeySequence::Undo) && !box->isUndoAvailable())
                || (key->matches(QKeySequence::Redo) && !box->isRedoAvailable())
                || (QKeySequence(key->keyCombination()) == QKeySequence(Qt::CTRL | Qt::Key_Y)
                    && !box->isRedoAvailable())
                || windowShortcutWins(key)
                || (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier
                    && m_menus->takeBack->isEnabled())) {
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::windowShortcutWins(const QKeyEvent *key) const
{
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false; // typing, arrows, Delete and Insert belong to the text box
    for (const QKeySequence::StandardKey editing : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                                    QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(editing))
            return false;
    const QKeySequence pressed(key->keyCombination());
    for (const QAction *action : findChildren<QAction *>())
        if (action->isEnabled() && action->shortcuts().contains(pressed))
            return true;
    return false;
}

// ---- Measuring the scale bar and the north arrow ----

void MainWindow::startMeasuring(ViewSide side, MeasureKind kind)
{
    m_paneTool.startMeasuring(side, kind);
    statusBar()->showMessage(kind == MeasureKind::North
                                 ? tr("Click the tail of the plan's north arrow, then its head (Esc cancels).")
                                 : tr("Click one end of the scale bar, then the other (Esc cancels)."));
}

void MainWindow::stopMeasuring()
{
    m_paneTool.stopMeasuring();
    statusBar()->clearMessage();
}

void MainWindow::measured(ViewSide side, const PaneTool::Action &action)
{
    if (action.measure == MeasureKind::North) {
        m_stationEditor.setOrientationFromArrow(action.first, action.second);
        return;
    }
    const QPointF along = action.second - action.first;
    const double pixels = std::hypot(along.x(), along.y());
    if (!(pixels >= 1.0)) {
        dialogs().message(this, QStringLiteral("Speomark"),
                          tr("The two ends are less than a pixel apart; click the ends of the bar."),
                          MessageIcon::Information);
        return;
    }
    QString typed;
    if (!dialogs().askText(this, QStringLiteral("Speomark"),
                           tr("The distance you clicked is %1 pixels. How many metres is it?")
                               .arg(NumberText::fromDouble(std::round(pixels * 10.0) / 10.0)),
                           &typed))
        return;
    const double metres = NumberText::toDouble(typed);
    if (!(metres > 0.0))
        throw CommandError(tr("A length of %1 metres cannot be a scale.").arg(typed));
    const double oldScale = m_document.view(side).calibration.metresPerPixel;
    if (m_calibration.calibrate(side, metres, pixels) == ScaleCalibration::Outcome::Refused)
        dialogs().message(this, tr("Information"), ScaleCalibration::refusal(side), MessageIcon::Information);
    else
        offerRecalculation(side, oldScale);
}

// After a view's scale changed, the stations placed with the old one may follow it.
void MainWindow::offerRecalculation(ViewSide side, double oldScale)
{
    const int count = m_stationEditor.stationsOnShownSheet(side);
    const double scale = m_document.view(side).calibration.metresPerPixel;
    if (count == 0 || scale == oldScale)
        return;
    // Keeping the metres is the default: a stray Enter must not move every station.
    if (dialogs().askYesNo(this, QStringLiteral("Speomark"),
                           tr("Recalculate the metre positions of the %1 stations on sheet \"%2\" from their "
                              "pixels with the new scale?")
                                   .arg(count)
                                   .arg(m_document.sheetName(m_document.shownSheet(side)))
                               + QStringLiteral("\n\n")
                               + tr("Yes: these stations are measured again with the new scale.\nNo: they "
                                    "keep the metres of the old scale and only stations placed from now on use "
                                    "the new one; legs between the two are flagged by the survey check."),
                           Answer::No))
        m_stationEditor.recalculateMetres(side);
}

// ---- Dropped files ----

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    const QPoint at = event->position().toPoint();
    guard([&] {
        if (isProject(path)) {
            openProject(path);
            return;
        }
        // A scan goes to the pane it was dropped on.
        const QWidget *under = childAt(at);
        const ViewSide side = under && (under == scrollBox(ViewSide::Profile) || scrollBox(ViewSide::Profile)->isAncestorOf(under))
                                  ? ViewSide::Profile
                                  : ViewSide::Plan;
        openImageFile(side, path);
    });
}
