#include "stations/StationEditor.h"

#include "survey/LabelSeries.h"
#include "stations/WallFinding.h"

#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "document/EditHistory.h"
#include "document/EditSession.h"
#include "survey/NumberText.h"
#include "document/SurveyDocument.h"
#include "survey/Truncate.h"

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <cmath>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(StationEditor)
};

constexpr int PickDistance = 6; // displayed pixels around a mark that still pick it

// A position from the mouse, in source pixels or metres, worked out in extended precision from
// the integer displayed position and only then stored in the 32-bit field.
float sourcePixels(int displayed, double zoom)
{
    return float(static_cast<long double>(displayed) / zoom);
}

Station withPoint(Station station, ViewSide side, QPoint at, const ViewSettings &view)
{
    (side == ViewSide::Plan ? station.planSheet : station.profileSheet) = view.id;
    if (side == ViewSide::Plan) {
        station.planX = sourcePixels(at.x(), view.zoom);
        station.planY = sourcePixels(at.y(), view.zoom);
        station.planXMetres = view.calibration.storedMetres(at.x(), view.zoom);
        station.planYMetres = view.calibration.storedMetres(at.y(), view.zoom);
    } else {
        station.profileX = sourcePixels(at.x(), view.zoom);
        station.profileY = sourcePixels(at.y(), view.zoom);
        station.profileYMetres = view.calibration.storedMetres(at.y(), view.zoom);
    }
    return station;
}

// The same at a point in source pixels, as snapping to the drawing or a guide gives it.
Station withSourcePoint(Station station, ViewSide side, QPointF at, const ViewSettings &view)
{
    (side == ViewSide::Plan ? station.planSheet : station.profileSheet) = view.id;
    if (side == ViewSide::Plan) {
        station.planX = float(at.x());
        station.planY = float(at.y());
        station.planXMetres = view.calibration.storedMetres(at.x());
        station.planYMetres = view.calibration.storedMetres(at.y());
    } else {
        station.profileX = float(at.x());
        station.profileY = float(at.y());
        station.profileYMetres = view.calibration.storedMetres(at.y());
    }
    return station;
}

QPointF pointOf(const Station &station, ViewSide side)
{
    return side == ViewSide::Plan ? QPointF(station.planX, station.planY) : QPointF(station.profileX, station.profileY);
}

// The label and comment boxes refuse these texts as they are typed or pasted; text put there by
// other means is checked here so nothing is stored as a substitute character or a line break.
void checkTexts(const QString &label, const QString &comment)
{
    for (const QString &why : {StationEditor::labelProblem(label), StationEditor::commentProblem(comment)}) {
        if (!why.isEmpty())
            throw CommandError(why);
    }
}

QString unencodable(const QString &text)
{
    const QString refused = AnsiText::unencodableCharacters(text);
    return refused.isEmpty()
        ? QString()
        : Words::tr("The characters \"%1\" cannot be stored in a station's label or comment.").arg(refused);
}


} // namespace

StationEditor::StationEditor(SurveyDocument &document, EditSession &session, EditHistory *history)
    : m_document(document), m_session(session), m_history(history)
{
}

QString StationEditor::tableFullMessage()
{
    return Words::tr("Too many stations. To continue save this and open new project.");
}

QString StationEditor::labelProblem(const QString &label)
{
    if (AnsiText::hasControlCharacters(label))
        return Words::tr("A station's label cannot hold a line break, a tab or another control character.");
    return unencodable(label);
}

QString StationEditor::commentProblem(const QString &comment)
{
    if (AnsiText::hasControlCharacters(comment))
        return Words::tr("A station's comment cannot hold a line break, a tab or another control character.");
    return unencodable(comment);
}

QString StationEditor::nameOf(int index) const
{
    const StationTable &table = m_document.stations();
    return table.contains(index) && !table.at(index).label.isEmpty() ? table.at(index).label : QString::number(index);
}

void StationEditor::placePoint(ViewSide side, QPoint displayed)
{
    const ViewSettings &view = m_document.view(side);
    place(side, [&](const Station &station) { return withPoint(station, side, displayed, view); });
}

void StationEditor::placePointAt(ViewSide side, QPointF source)
{
    if (!std::isfinite(source.x()) || !std::isfinite(source.y()))
        return;
    const ViewSettings &view = m_document.view(side);
    place(side, [&](const Station &station) { return withSourcePoint(station, side, source, view); });
}

void StationEditor::place(ViewSide side, const std::function<Station(const Station &)> &placed)
{
    ChangeBatch batch(m_document, m_session);
    const StationTable &table = m_document.stations();
    const int selected = m_session.selected();
    if (m_session.moving()) {
        if (table.contains(selected))
            requireOnShownSheet(selected, side);
        // Moving a point is not counted as a change to save.
        if (table.contains(selected))
            recordEdit(m_history, Words::tr("Move Station %1").arg(nameOf(selected)), [&] {
                m_document.setStation(selected, placed(table.at(selected)));
            });
        return;
    }
    if (!table.hasPending())
        return; // a full table (possible only from a project) has no pending station
    const QString name = side == ViewSide::Plan ? Words::tr("Place Plan Point") : Words::tr("Place Profile Point");
    recordEdit(m_history, name, [&] {
        m_document.setStation(table.count(), placed(table.pending()));
        m_session.setPointPlaced(side, true);
        // On the plan, a job without a profile needs nothing more; the profile point always
        // waits for the plan's.
        const bool complete = side == ViewSide::Plan
            ? m_document.profileKind() == ProfileKind::None || m_session.pointPlaced(ViewSide::Profile)
            : m_session.pointPlaced(ViewSide::Plan);
        if (complete)
            m_session.setAddEnabled(true);
    });
}

StationEditor::AddOutcome StationEditor::add(const QString &label, const QString &comment)
{
    ChangeBatch batch(m_document, m_session);
    const StationTable &table = m_document.stations();
    if (m_session.moving()) {
        const int selected = m_session.selected();
        if (!table.contains(selected))
            return AddOutcome::Nothing;
        checkTexts(label, comment);
        recordEdit(m_history, Words::tr("Edit Station %1").arg(nameOf(selected)), [&] {
            Station station = table.at(selected);
            station.label = fittedLabel(label);
            station.comment = fittedComment(comment);
            m_document.setStation(selected, station);
            m_document.setModified(true);
        });
        return AddOutcome::Edited;
    }

    if (!table.hasPending())
        return AddOutcome::TableFull; // a project may fill the whole table
    checkTexts(label, comment);
    const int count = table.count();
    Station station = table.pending();
    station.label = fittedLabel(label);
    station.comment = fittedComment(comment);
    const QString name = !station.label.isEmpty() ? station.label : QString::number(count);

    if (m_session.inserting()) {
        const int before = m_session.insertBefore();
        if (count >= StationTable::MaxAdded || !table.contains(before))
            return AddOutcome::TableFull;
        recordEdit(m_history, Words::tr("Insert Station %1").arg(name), [&] {
            // Joined into the branch of the station it goes before; the pending entry keeps the
            // texts parked in it.
            Station pending{};
            pending.label = fittedLabel(table.pending().label);
            pending.comment = fittedComment(table.pending().comment);
            station.branchEnd = false;
            m_document.insertStation(before, station);
            m_document.setStation(table.count(), pending);
            m_session.setPointPlaced(ViewSide::Plan, false);
            m_session.setPointPlaced(ViewSide::Profile, false);
            m_session.setInsertBefore(-1);
            m_session.setMode(EditMode::Move);
            m_session.setSelected(before);
            m_session.setAddEnabled(true);
            m_session.setNewBranchEnabled(false);
            showSelectedTexts();
            m_document.setModified(true);
        });
        return AddOutcome::Added;
    }

    // A leg is drawn on one plan and one profile sheet: a traverse goes on to another sheet
    // through a tie, the last station placed again there to start a branch.
    const bool legBefore =
        count > 0 && !table.at(count - 1).branchEnd && !(m_session.newBranchChecked() && count > 1);
    if (legBefore) {
        const Station &previous = table.at(count - 1);
        const bool samePlan = previous.planSheet == station.planSheet;
        const bool sameProfile =
            m_document.profileKind() == ProfileKind::None || previous.profileSheet == station.profileSheet;
        if (!samePlan || !sameProfile)
            throw CommandError(
                (samePlan ? Words::tr("Station %1 lies on another profile sheet than station %2 before it, and a leg "
                                      "cannot run from one sheet to another. To go on on this sheet, tick \"New "
                                      "branch\" and place station %2 again here, with the same label: the two are "
                                      "then tied.")
                          : Words::tr("Station %1 lies on another plan sheet than station %2 before it, and a leg "
                                      "cannot run from one sheet to another. To go on on this sheet, tick \"New "
                                      "branch\" and place station %2 again here, with the same label: the two are "
                                      "then tied."))
                    .arg(name, nameOf(count - 1)));
    }

    AddOutcome outcome = AddOutcome::Added;
    recordEdit(m_history, Words::tr("Add Station %1").arg(name), [&] {
        m_document.setStation(count, station);
        // "New branch" ends the branch at the previous station, so this one starts the next.
        if (m_session.newBranchChecked() && count > 1) {
            Station previous = table.at(count - 1);
            previous.branchEnd = true;
            m_document.setStation(count - 1, previous);
            m_session.setNewBranchEnabled(false);
        } else if (count > 0) {
            m_session.setNewBranchEnabled(true);
        }
        if (count >= StationTable::MaxAdded) {
            outcome = AddOutcome::TableFull;
            return;
        }
        m_document.appendPendingStation();
        m_session.setPointPlaced(ViewSide::Plan, false);
        m_session.setPointPlaced(ViewSide::Profile, false);
        // The next label is proposed, so a station costs two clicks and a key; never one a
        // station has (a second click would tie the two).
        m_session.setEntries(LabelSeries::proposed(table), QString());
        m_session.setNewBranchChecked(false);
        m_session.setAddEnabled(false);
        m_document.setModified(true);
    });
    return outcome;
}

void StationEditor::setNewBranch(bool checked)
{
    m_session.setNewBranchChecked(checked);
}

void StationEditor::setProfileKind(ProfileKind kind)
{
    recordEdit(m_history, Words::tr("Set Profile Kind"), [&] { m_document.setProfileKind(kind); });
}

void StationEditor::setOrientation(const QString &degrees)
{
    const TypedDegrees typed(degrees);
    if (typed.isNumber() && !Limits::turnAllowed(*typed.degrees()))
        throw CommandError(Words::tr("A north of %1 degrees is outside -%2 to %2.").arg(degrees).arg(Limits::MaxTurnDegrees));
    recordEdit(m_history, Words::tr("Set Plan Orientation"), [&] { m_document.setOrientationEntry(degrees); },
               EditHistory::OrientationMerge);
}

void StationEditor::setProjectionAzimuth(const QString &degrees)
{
    // Refuses what is not a number, or no bearing, before anything changes.
    if (!Limits::turnAllowed(TypedDegrees(degrees).required()))
        throw CommandError(Words::tr("An azimuth of %1 degrees is outside -%2 to %2.").arg(degrees).arg(Limits::MaxTurnDegrees));
    recordEdit(m_history, Words::tr("Set Projection Azimuth"),
               [&] { m_document.setProjectionAzimuthEntry(degrees); }, EditHistory::AzimuthMerge);
}

void StationEditor::setOrientationFromArrow(QPointF tail, QPointF head)
{
    const QPointF along = head - tail;
    if (along.isNull())
        return;
    // Clockwise from the image's top edge; y grows downward.
    double degrees = std::atan2(along.x(), -along.y()) * 180.0 / M_PI;
    if (degrees < 0.0)
        degrees += 360.0;
    // Kept to the last digit the entry holds: a tenth of a degree is 0.17 m over 100 m of plan.
    if (degrees >= 360.0)
        degrees = 0.0;
    recordEdit(m_history, Words::tr("Set Plan Orientation"),
               [&] { m_document.setOrientationEntry(NumberText::fromDouble(degrees)); });
}

void StationEditor::recalculateMetres(ViewSide side)
{
    const StationTable &table = m_document.stations();
    const Calibration calibration = m_document.view(side).calibration;
    const SheetId sheet = m_document.shownSheet(side);
    recordEdit(m_history, Words::tr("Recalculate Station Positions"), [&] {
        for (int i = 0; i < table.count(); ++i) {
            Station station = table.at(i);
            // Only the stations drawn on this sheet were placed under its scale.
            if ((side == ViewSide::Plan ? station.planSheet : station.profileSheet) != sheet)
                continue;
            if (side == ViewSide::Plan) {
                station.planXMetres = calibration.storedMetres(double(station.planX));
                station.planYMetres = calibration.storedMetres(double(station.planY));
            } else {
                station.profileYMetres = calibration.storedMetres(double(station.profileY));
            }
            m_document.setStation(i, station);
        }
        m_document.setModified(true);
    });
}

int StationEditor::stationsOnShownSheet(ViewSide side) const
{
    const StationTable &table = m_document.stations();
    const SheetId sheet = m_document.shownSheet(side);
    int count = 0;
    for (int i = 0; i < table.count(); ++i)
        count += (side == ViewSide::Plan ? table.at(i).planSheet : table.at(i).profileSheet) == sheet ? 1 : 0;
    return count;
}

QString StationEditor::nextLabel(const QString &last)
{
    return LabelSeries::next(last);
}

void StationEditor::showSelectedTexts()
{
    const StationTable &table = m_document.stations();
    if (!table.contains(m_session.selected()))
        return;
    showStoredTexts(table.at(m_session.selected()));
}

// The boxes refuse control characters, so one stored by an older version or a damaged project
// shows (and is kept on OK) as the space the survey files write for it.
void StationEditor::showStoredTexts(const Station &station)
{
    m_session.setEntries(AnsiText::withoutControlCharacters(station.label),
                         AnsiText::withoutControlCharacters(station.comment));
}

void StationEditor::enableNewBranchWhereAllowed()
{
    if (m_document.stations().canStartBranch())
        m_session.setNewBranchEnabled(true);
}

bool StationEditor::enterMoveMode()
{
    const StationTable &table = m_document.stations();
    if (table.isEmpty())
        return false;
    ChangeBatch batch(m_document, m_session);
    const bool wasInserting = m_session.inserting();
    m_session.setInsertBefore(-1);
    m_session.setMode(EditMode::Move);
    if (!wasInserting || !table.contains(m_session.selected()))
        m_session.setSelected(table.count() - 1);
    m_session.setNewBranchEnabled(false);
    m_session.setAddEnabled(true);
    // Park what was typed for the pending station in its own entry (or, with a full table,
    // beside it) so "Add new" can bring it back. An insertion given up keeps nothing.
    const QString label = m_session.labelEntry();
    const QString comment = m_session.commentEntry();
    if (wasInserting) {
        m_session.setPointPlaced(ViewSide::Plan, false);
        m_session.setPointPlaced(ViewSide::Profile, false);
    } else if (table.hasPending()) {
        Station pending = table.pending();
        pending.label = fittedLabel(label);
        pending.comment = fittedComment(comment);
        m_document.setStation(table.count(), pending);
    } else {
        m_session.setParked(label, comment);
    }
    showSelectedTexts();
    return true;
}

void StationEditor::enterAddMode()
{
    ChangeBatch batch(m_document, m_session);
    if (m_session.inserting()) { // an insertion given up leaves no points behind
        m_session.setPointPlaced(ViewSide::Plan, false);
        m_session.setPointPlaced(ViewSide::Profile, false);
        m_session.setInsertBefore(-1);
    }
    m_session.setMode(EditMode::Add);
    m_session.setAddModeEntered(true);
    if (!m_session.pointPlaced(ViewSide::Plan)
        || (!m_session.pointPlaced(ViewSide::Profile) && m_document.profileKind() == ProfileKind::Extended))
        m_session.setAddEnabled(false);
    enableNewBranchWhereAllowed();
    const StationTable &table = m_document.stations();
    if (table.hasPending())
        showStoredTexts(table.pending());
    else
        m_session.setEntries(m_session.parkedLabel(), m_session.parkedComment());
}

void StationEditor::selectPrevious()
{
    if (!m_session.moving())
        return; // the arrows are Move mode's
    ChangeBatch batch(m_document, m_session);
    if (m_session.selected() > 0)
        m_session.setSelected(m_session.selected() - 1);
    showSelectedTexts();
}

void StationEditor::selectNext()
{
    if (!m_session.moving())
        return;
    ChangeBatch batch(m_document, m_session);
    if (m_session.selected() < m_document.stations().count() - 1)
        m_session.setSelected(m_session.selected() + 1);
    showSelectedTexts();
}

bool StationEditor::select(int index)
{
    if (!m_document.stations().contains(index))
        return false;
    ChangeBatch batch(m_document, m_session);
    if (!m_session.moving() || m_session.inserting())
        enterMoveMode();
    m_session.setSelected(index);
    showSelectedTexts();
    return true;
}

void StationEditor::requireOnShownSheet(int index, ViewSide side) const
{
    const Station &station = m_document.stations().at(index);
    const SheetId sheet = side == ViewSide::Plan ? station.planSheet : station.profileSheet;
    if (sheet != m_document.shownSheet(side))
        throw CommandError(Words::tr("Station %1 is drawn on sheet \"%2\": show that sheet to move it.")
                               .arg(nameOf(index), m_document.sheetName(sheet)));
}

int StationEditor::stationAt(ViewSide side, QPoint displayed) const
{
    const StationTable &table = m_document.stations();
    const double zoom = m_document.view(side).zoom;
    int nearest = -1;
    double nearestDistance = PickDistance;
    const SheetId sheet = m_document.shownSheet(side);
    for (int i = 0; i < table.count(); ++i) {
        if ((side == ViewSide::Plan ? table.at(i).planSheet : table.at(i).profileSheet) != sheet)
            continue; // drawn on another sheet
        const QPointF at = pointOf(table.at(i), side) * zoom - QPointF(displayed);
        const double distance = std::hypot(at.x(), at.y());
        if (distance <= nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void StationEditor::drag(ViewSide side, QPoint displayed, quint64 dragId)
{
    const StationTable &table = m_document.stations();
    const int selected = m_session.selected();
    if (!m_session.moving() || !table.contains(selected))
        return;
    const ViewSettings &view = m_document.view(side);
    if (!view.image.isNull()) { // held on the drawing
        const int right = std::max(0, truncToInt(view.imageWidth() * view.zoom) - 1);
        const int bottom = std::max(0, truncToInt(view.imageHeight() * view.zoom) - 1);
        displayed = QPoint(std::clamp(displayed.x(), 0, right), std::clamp(displayed.y(), 0, bottom));
    }
    recordEdit(
        m_history, Words::tr("Move Station %1").arg(nameOf(selected)),
        [&] { m_document.setStation(selected, withPoint(table.at(selected), side, displayed, view)); },
        EditHistory::DragMerge, dragId);
}

void StationEditor::nudge(ViewSide side, QPoint sourcePixels)
{
    const StationTable &table = m_document.stations();
    const int selected = m_session.selected();
    if (!m_session.moving() || !table.contains(selected))
        return;
    requireOnShownSheet(selected, side);
    const ViewSettings &view = m_document.view(side);
    QPointF at = pointOf(table.at(selected), side) + QPointF(sourcePixels);
    if (!view.image.isNull())
        at = QPointF(std::clamp(at.x(), 0.0, double(view.imageWidth() - 1)),
                     std::clamp(at.y(), 0.0, double(view.imageHeight() - 1)));
    const Station station = withSourcePoint(table.at(selected), side, at, view);
    // Presses of the arrow keys on one station in a row undo as one.
    recordEdit(m_history, Words::tr("Move Station %1").arg(nameOf(selected)),
               [&] { m_document.setStation(selected, station); }, EditHistory::NudgeMerge,
               (quint64(selected) << 1) | quint64(side == ViewSide::Profile));
}

bool StationEditor::deleteSelected()
{
    const StationTable &table = m_document.stations();
    const int index = m_session.selected();
    if (!m_session.moving() || m_session.inserting() || !table.contains(index))
        return false;
    ChangeBatch batch(m_document, m_session);
    recordEdit(m_history, Words::tr("Delete Station %1").arg(nameOf(index)), [&] {
        // A branch the station ended now ends at its predecessor in that branch; one it started
        // starts at its successor by itself, as the predecessor already ends the branch before.
        if (table.at(index).branchEnd && index > 0 && !table.at(index - 1).branchEnd) {
            Station previous = table.at(index - 1);
            previous.branchEnd = true;
            m_document.setStation(index - 1, previous);
        }
        m_document.removeStation(index);
        m_document.setModified(true);
        if (table.isEmpty()) {
            m_session.setSelected(0);
            enterAddMode();
        } else {
            m_session.setSelected(std::min(index, table.count() - 1));
            showSelectedTexts();
        }
    });
    return true;
}

StationEditor::AddOutcome StationEditor::startInsert()
{
    const StationTable &table = m_document.stations();
    if (!m_session.moving() || !table.contains(m_session.selected()))
        return AddOutcome::Nothing;
    if (table.count() >= StationTable::MaxAdded)
        return AddOutcome::TableFull;
    ChangeBatch batch(m_document, m_session);
    m_session.setInsertBefore(m_session.selected());
    m_session.setMode(EditMode::Add);
    m_session.setAddModeEntered(true);
    m_session.setPointPlaced(ViewSide::Plan, false);
    m_session.setPointPlaced(ViewSide::Profile, false);
    m_session.setEntries(QString(), QString());
    m_session.setAddEnabled(false);
    m_session.setNewBranchChecked(false);
    m_session.setNewBranchEnabled(false);
    return AddOutcome::Added;
}

void StationEditor::setLabels(const QVector<int> &indexes, const QString &label)
{
    const StationTable &table = m_document.stations();
    if (indexes.isEmpty() || !std::all_of(indexes.begin(), indexes.end(), [&](int i) { return table.contains(i); }))
        return;
    checkTexts(label, QString());
    ChangeBatch batch(m_document, m_session);
    recordEdit(m_history, Words::tr("Make %1 a Tie with %2").arg(nameOf(indexes.constFirst()), label), [&] {
        for (const int index : indexes) {
            Station station = table.at(index);
            station.label = fittedLabel(label);
            m_document.setStation(index, station);
        }
        m_document.setModified(true);
        if (m_session.moving() && indexes.contains(m_session.selected()))
            showSelectedTexts();
    });
}

void StationEditor::setDimensions(int index, const PassageDimensions &dimensions, quint64 dragId)
{
    const StationTable &table = m_document.stations();
    if (!table.contains(index) || table.at(index).dimensions == dimensions)
        return;
    if (!dimensions.allowed())
        throw CommandError(Words::tr("A passage dimension must be a number of metres between 0 and %1.")
                               .arg(Limits::MaxPassageMetres));
    ChangeBatch batch(m_document, m_session);
    recordEdit(
        m_history, Words::tr("Set Walls of Station %1").arg(nameOf(index)),
        [&] {
            Station station = table.at(index);
            station.dimensions = dimensions;
            m_document.setStation(index, station);
            m_document.setModified(true);
        },
        dragId ? EditHistory::DragMerge : EditHistory::NoMerge, dragId);
}

void StationEditor::setWall(int index, PassageWalls::Wall wall, std::optional<double> metres, quint64 dragId)
{
    const StationTable &table = m_document.stations();
    if (!table.contains(index))
        return;
    PassageDimensions dimensions = table.at(index).dimensions;
    PassageWalls::valueOf(dimensions, wall) = metres;
    setDimensions(index, dimensions, dragId);
}

int StationEditor::findWalls()
{
    std::vector<WallFinding::Found> found;
    for (const auto &[index, search] : WallFinding::searches(m_document)) {
        const PassageDimensions dimensions = PassageWalls::findWalls(search).dimensions;
        if (dimensions != m_document.stations().at(index).dimensions && dimensions.allowed())
            found.push_back({index, m_document.stations().at(index), dimensions});
    }
    return applyFoundWalls(found);
}

int StationEditor::applyFoundWalls(const std::vector<WallFinding::Found> &found)
{
    const StationTable &table = m_document.stations();
    QVector<std::pair<int, PassageDimensions>> changes;
    int values = 0;
    for (const WallFinding::Found &f : found) {
        // A station moved, removed or given walls while the search ran keeps what it has now.
        if (!table.contains(f.index) || !(table.at(f.index) == f.searched))
            continue;
        for (const PassageWalls::Wall wall : {PassageWalls::Wall::Left, PassageWalls::Wall::Right, PassageWalls::Wall::Up,
                                              PassageWalls::Wall::Down}) {
            PassageDimensions before = table.at(f.index).dimensions, after = f.dimensions;
            values += !PassageWalls::valueOf(before, wall) && PassageWalls::valueOf(after, wall);
        }
        changes.append({f.index, f.dimensions});
    }
    if (changes.isEmpty())
        return 0;
    ChangeBatch batch(m_document, m_session);
    recordEdit(m_history, Words::tr("Find Walls"), [&] {
        for (const auto &[index, dimensions] : changes) {
            Station station = table.at(index);
            station.dimensions = dimensions;
            m_document.setStation(index, station);
        }
        m_document.setModified(true);
    });
    return values;
}

void StationEditor::setLabel(int index, const QString &label)
{
    const StationTable &table = m_document.stations();
    if (!table.contains(index))
        return;
    checkTexts(label, QString());
    ChangeBatch batch(m_document, m_session);
    recordEdit(m_history, Words::tr("Rename Station %1").arg(nameOf(index)), [&] {
        Station station = table.at(index);
        station.label = fittedLabel(label);
        m_document.setStation(index, station);
        m_document.setModified(true);
        if (m_session.moving() && m_session.selected() == index)
            showSelectedTexts();
    });
}
