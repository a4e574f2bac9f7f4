#include "app/EditHistory.h"

#include <QUndoCommand>

namespace {

class RecordedEdit : public QUndoCommand
{
public:
    RecordedEdit(SurveyDocument &document, EditSession &session, const QString &text, int mergeKind, quint64 mergeKey,
                 std::vector<StationEdit> edits, UndoableSettings settingsBefore, UndoableSettings settingsAfter,
                 EditState stateBefore, EditState stateAfter)
        : QUndoCommand(text), m_document(document), m_session(session), m_mergeKind(mergeKind), m_mergeKey(mergeKey),
          m_edits(std::move(edits)), m_settingsBefore(std::move(settingsBefore)),
          m_settingsAfter(std::move(settingsAfter)), m_stateBefore(std::move(stateBefore)),
          m_stateAfter(std::move(stateAfter))
    {
    }

    int id() const override { return m_mergeKind; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const RecordedEdit *>(other);
        if (next->m_mergeKey != m_mergeKey)
            return false;
        m_edits.insert(m_edits.end(), next->m_edits.begin(), next->m_edits.end());
        m_settingsAfter = next->m_settingsAfter;
        m_stateAfter = next->m_stateAfter;
        return true;
    }

    void undo() override
    {
        ChangeBatch batch(m_document, m_session);
        m_document.undoStationEdits(m_edits);
        m_document.restore(m_settingsBefore);
        m_session.restore(m_stateBefore);
        m_document.setModified(true);
    }

    void redo() override
    {
        if (m_firstRedo) { // pushed after the edit was made
            m_firstRedo = false;
            return;
        }
        ChangeBatch batch(m_document, m_session);
        m_document.redoStationEdits(m_edits);
        m_document.restore(m_settingsAfter);
        m_session.restore(m_stateAfter);
        m_document.setModified(true);
    }

private:
    SurveyDocument &m_document;
    EditSession &m_session;
    int m_mergeKind;
    quint64 m_mergeKey;
    std::vector<StationEdit> m_edits;
    UndoableSettings m_settingsBefore;
    UndoableSettings m_settingsAfter;
    EditState m_stateBefore;
    EditState m_stateAfter;
    bool m_firstRedo = true;
};

} // namespace

EditHistory::EditHistory(SurveyDocument &document, EditSession &session, QObject *parent)
    : QObject(parent), m_document(document), m_session(session)
{
}

void EditHistory::record(const QString &text, const std::function<void()> &change, MergeKind merge, quint64 mergeKey)
{
    if (m_depth > 0) { // a step inside a step is part of it
        change();
        return;
    }
    const UndoableSettings settingsBefore = m_document.undoableSettings();
    const EditState stateBefore = m_session.state();
    ++m_depth;
    m_document.startRecording();
    try {
        change();
    } catch (...) {
        finish(text, merge, mergeKey, settingsBefore, stateBefore);
        throw;
    }
    finish(text, merge, mergeKey, settingsBefore, stateBefore);
}

void EditHistory::finish(const QString &text, MergeKind merge, quint64 mergeKey,
                         const UndoableSettings &settingsBefore, const EditState &stateBefore)
{
    --m_depth;
    std::vector<StationEdit> edits = m_document.stopRecording();
    UndoableSettings settingsAfter = m_document.undoableSettings();
    EditState stateAfter = m_session.state();
    if (edits.empty() && settingsAfter == settingsBefore && stateAfter == stateBefore)
        return;
    m_stack.push(new RecordedEdit(m_document, m_session, text, merge, mergeKey, std::move(edits), settingsBefore,
                                  std::move(settingsAfter), stateBefore, std::move(stateAfter)));
}
