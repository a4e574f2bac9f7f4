#include "app/EditSession.h"

EditSession::EditSession(QObject *parent) : QObject(parent) {}

template <class T> void EditSession::set(T &field, const T &value, Part part)
{
    if (field == value)
        return;
    field = value;
    notify(part);
}

void EditSession::notify(Parts parts)
{
    if (m_batchDepth > 0) {
        m_batched |= parts;
        return;
    }
    emit changed(parts);
}

void EditSession::beginChanges()
{
    ++m_batchDepth;
}

void EditSession::endChanges()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0 && m_batched) {
        const Parts parts = m_batched;
        m_batched = {};
        emit changed(parts);
    }
}

void EditSession::setPointPlaced(ViewSide side, bool placed) { set(m_pointPlaced[int(side)], placed, PendingPart); }
void EditSession::setMode(EditMode mode) { set(m_mode, mode, ModePart); }
void EditSession::setSelected(int index) { set(m_selected, index, ModePart); }
void EditSession::setAddModeEntered(bool entered) { set(m_addModeEntered, entered, ModePart); }
void EditSession::setLabelEntry(const QString &label) { set(m_labelEntry, label, EntriesPart); }
void EditSession::setCommentEntry(const QString &comment) { set(m_commentEntry, comment, EntriesPart); }
void EditSession::setNewBranchChecked(bool checked) { set(m_newBranchChecked, checked, NewBranchPart); }
void EditSession::setNewBranchEnabled(bool enabled) { set(m_newBranchEnabled, enabled, NewBranchPart); }
void EditSession::setAddEnabled(bool enabled) { set(m_addEnabled, enabled, ControlsPart); }
void EditSession::setLowerPanelEnabled(bool enabled) { set(m_lowerPanelEnabled, enabled, ControlsPart); }
void EditSession::setGridLocked(ViewSide side, bool locked) { set(m_gridLocked[int(side)], locked, ControlsPart); }
void EditSession::setDataFileName(const QString &name) { set(m_dataFileName, name, DataFilePart); }

void EditSession::setEntries(const QString &label, const QString &comment)
{
    setLabelEntry(label);
    setCommentEntry(comment);
}

void EditSession::setParked(const QString &label, const QString &comment)
{
    m_parkedLabel = label;
    m_parkedComment = comment;
}

void EditSession::setPressPoint(ViewSide side, QPoint point)
{
    m_pressPoint[int(side)] = point; // nothing shows it
}
