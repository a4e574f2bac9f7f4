#include "stations/StationEditor.h"

#include "app/AnsiText.h"
#include "app/CommandError.h"
#include "app/EditSession.h"
#include "app/SurveyDocument.h"

namespace {

// A position from the mouse, in source pixels or metres, worked out in extended precision from
// the integer displayed position and only then stored in the 32-bit field.
float sourcePixels(int displayed, double zoom)
{
    return float(static_cast<long double>(displayed) / zoom);
}

float metres(int displayed, double metresPerPixel, double zoom)
{
    return float(static_cast<long double>(displayed) * metresPerPixel / zoom);
}

void writePoint(Station &station, ViewSide side, QPoint at, const ViewSettings &view)
{
    if (side == ViewSide::Plan) {
        station.planX = sourcePixels(at.x(), view.zoom);
        station.planY = sourcePixels(at.y(), view.zoom);
        station.planXMetres = metres(at.x(), view.metresPerPixel, view.zoom);
        station.planYMetres = metres(at.y(), view.metresPerPixel, view.zoom);
    } else {
        station.profileX = sourcePixels(at.x(), view.zoom);
        station.profileY = sourcePixels(at.y(), view.zoom);
        station.profileYMetres = metres(at.y(), view.metresPerPixel, view.zoom);
    }
}

// The label and comment boxes refuse characters outside the code page as they are typed; text
// put there by other means is checked here so nothing is stored as a substitute character.
void checkTexts(const QString &label, const QString &comment)
{
    for (const QString &text : {label, comment}) {
        const QString refused = AnsiText::unencodableCharacters(text);
        if (!refused.isEmpty())
            throw CommandError(QStringLiteral("The characters \"%1\" cannot be stored in a station's label or comment.")
                                   .arg(refused));
    }
}

} // namespace

StationEditor::StationEditor(SurveyDocument &document, EditSession &session) : m_document(document), m_session(session)
{
}

QString StationEditor::tableFullMessage()
{
    return QStringLiteral("Too many stations. To continue save this and open new project.");
}

void StationEditor::placePoint(ViewSide side, QPoint displayed)
{
    ChangeBatch batch(m_document, m_session);
    const ViewSettings &view = m_document.view(side);
    const int selected = m_session.selected();
    if (m_session.moving()) {
        // Moving a point is not counted as a change to save.
        if (m_document.stations().contains(selected))
            m_document.editStations([&](StationTable &table) { writePoint(table.at(selected), side, displayed, view); });
        return;
    }
    if (!m_document.stations().hasPending())
        return; // a full table (possible only from a project) has no pending station
    m_document.editStations([&](StationTable &table) { writePoint(table.pending(), side, displayed, view); });
    m_session.setPointPlaced(side, true);
    // On the plan, a job without a profile needs nothing more; the profile point always waits
    // for the plan's.
    const bool complete = side == ViewSide::Plan
        ? m_document.profileKind() == ProfileKind::None || m_session.pointPlaced(ViewSide::Profile)
        : m_session.pointPlaced(ViewSide::Plan);
    if (complete)
        m_session.setAddEnabled(true);
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
        m_document.editStations([&](StationTable &t) {
            setLabelText(t.at(selected), label);
            setCommentText(t.at(selected), comment);
        });
        m_document.setModified(true);
        return AddOutcome::Edited;
    }

    if (!table.hasPending())
        return AddOutcome::TableFull; // a project may fill the whole table
    checkTexts(label, comment);
    const int count = table.count();
    m_document.editStations([&](StationTable &t) {
        setLabelText(t.pending(), label);
        setCommentText(t.pending(), comment);
    });
    // "New branch" ends the branch at the previous station, so this one starts the next.
    if (m_session.newBranchChecked() && count > 1) {
        m_document.editStations([&](StationTable &t) { t.at(count - 1).branchEnd = true; });
        m_session.setNewBranchEnabled(false);
    } else if (count > 0) {
        m_session.setNewBranchEnabled(true);
    }
    if (count >= StationTable::MaxAdded)
        return AddOutcome::TableFull;
    m_document.editStations([](StationTable &t) { t.appendPending(); });
    m_session.setPointPlaced(ViewSide::Plan, false);
    m_session.setPointPlaced(ViewSide::Profile, false);
    m_session.setEntries(QString(), QString());
    m_session.setNewBranchChecked(false);
    m_session.setAddEnabled(false);
    m_document.setModified(true);
    return AddOutcome::Added;
}

void StationEditor::setNewBranch(bool checked)
{
    m_session.setNewBranchChecked(checked);
}

void StationEditor::setProfileKind(ProfileKind kind)
{
    m_document.setProfileKind(kind);
}

void StationEditor::showSelectedTexts()
{
    const StationTable &table = m_document.stations();
    if (!table.contains(m_session.selected()))
        return;
    const Station &station = table.at(m_session.selected());
    m_session.setEntries(labelText(station), commentText(station));
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
    m_session.setMode(EditMode::Move);
    m_session.setSelected(table.count() - 1);
    m_session.setNewBranchEnabled(false);
    m_session.setAddEnabled(true);
    // Park what was typed for the pending station in its own entry (or, with a full table,
    // beside it) so "Add new" can bring it back.
    const QString label = m_session.labelEntry();
    const QString comment = m_session.commentEntry();
    if (table.hasPending()) {
        m_document.editStations([&](StationTable &t) {
            setLabelText(t.pending(), label);
            setCommentText(t.pending(), comment);
        });
    } else {
        m_session.setParked(label, comment);
    }
    showSelectedTexts();
    return true;
}

void StationEditor::enterAddMode()
{
    ChangeBatch batch(m_document, m_session);
    m_session.setMode(EditMode::Add);
    m_session.setAddModeEntered(true);
    if (!m_session.pointPlaced(ViewSide::Plan)
        || (!m_session.pointPlaced(ViewSide::Profile) && m_document.profileKind() == ProfileKind::Extended))
        m_session.setAddEnabled(false);
    enableNewBranchWhereAllowed();
    const StationTable &table = m_document.stations();
    if (table.hasPending())
        m_session.setEntries(labelText(table.pending()), commentText(table.pending()));
    else
        m_session.setEntries(m_session.parkedLabel(), m_session.parkedComment());
}

void StationEditor::selectPrevious()
{
    ChangeBatch batch(m_document, m_session);
    if (m_session.selected() > 0)
        m_session.setSelected(m_session.selected() - 1);
    showSelectedTexts();
}

void StationEditor::selectNext()
{
    ChangeBatch batch(m_document, m_session);
    if (m_session.selected() < m_document.stations().count() - 1)
        m_session.setSelected(m_session.selected() + 1);
    showSelectedTexts();
}
