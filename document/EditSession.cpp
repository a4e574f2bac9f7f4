#include "document/EditSession.h"

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

void EditSession::restore(const EditState &state)
{
    m_state = state;
    notify(PendingPart | ModePart | EntriesPart | NewBranchPart | ControlsPart);
}

void EditSession::setPointPlaced(ViewSide side, bool placed) { set(m_state.pointPlaced[int(side)], placed, PendingPart); }
void EditSession::setMode(EditMode mode) { set(m_state.mode, mode, ModePart); }
void EditSession::setSelected(int index) { set(m_state.selected, index, ModePart); }
void EditSession::setInsertBefore(int index) { set(m_state.insertBefore, index, ModePart); }
void EditSession::setAddModeEntered(bool entered) { set(m_state.addModeEntered, entered, ModePart); }
void EditSession::setLabelEntry(const QString &label) { set(m_state.labelEntry, label, EntriesPart); }
void EditSession::setCommentEntry(const QString &comment) { set(m_state.commentEntry, comment, EntriesPart); }
void EditSession::setNewBranchChecked(bool checked) { set(m_state.newBranchChecked, checked, NewBranchPart); }
void EditSession::setNewBranchEnabled(bool enabled) { set(m_state.newBranchEnabled, enabled, NewBranchPart); }
void EditSession::setAddEnabled(bool enabled) { set(m_state.addEnabled, enabled, ControlsPart); }
void EditSession::setLowerPanelEnabled(bool enabled) { set(m_state.lowerPanelEnabled, enabled, ControlsPart); }
void EditSession::setGridLocked(ViewSide side, bool locked) { set(m_state.gridLocked[int(side)], locked, ControlsPart); }
void EditSession::setPreview(ViewSide side, bool shown, QPointF at)
{
    beginChanges();
    set(m_previewShown[int(side)], shown, PendingPart);
    set(m_preview[int(side)], shown ? at : QPointF(), PendingPart);
    endChanges();
}

void EditSession::setDataFileName(const QString &name) { set(m_dataFileName, name, DataFilePart); }
void EditSession::setShowDisagreement(bool shown) { set(m_showDisagreement, shown, CheckPart); }

void EditSession::setTolerance(double pixels, double metres, double percent)
{
    beginChanges();
    set(m_tolerancePixels, pixels, CheckPart);
    set(m_toleranceMetres, metres, CheckPart);
    set(m_tolerancePercent, percent, CheckPart);
    endChanges();
}
void EditSession::setProjectChanged(bool changed) { set(m_projectChanged, changed, ProjectPart); }

void EditSession::setProject(const QString &path, bool changed, const QByteArray &digest)
{
    set(m_projectPath, path, ProjectPart);
    set(m_projectDigest, digest, ProjectPart);
    setProjectChanged(changed);
}

void EditSession::setEntries(const QString &label, const QString &comment)
{
    setLabelEntry(label);
    setCommentEntry(comment);
}

void EditSession::setParked(const QString &label, const QString &comment)
{
    m_state.parkedLabel = label;
    m_state.parkedComment = comment;
}

void EditSession::setPressPoint(ViewSide side, QPoint point)
{
    m_pressPoint[int(side)] = point; // nothing shows it
}
