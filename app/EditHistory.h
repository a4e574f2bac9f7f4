#pragma once

#include "app/EditSession.h"

#include <QObject>
#include <QUndoStack>
#include <functional>

// Undo and redo for every edit of the survey. A controller runs each edit through record(): the
// station edits it makes are recorded one by one, the settings it may change and the editing
// state are kept before and after, and the whole becomes one step of the stack, named after the
// edit ("Add Station 12"). Undo plays the station edits back and brings the rest back; either way
// the survey counts as modified. Edits of one kind on one subject in a row (the steps of one
// drag, the keys typed into the orientation) merge into one step.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    // What merges: steps of the same kind and key in a row.
    enum MergeKind { NoMerge = -1, DragMerge = 1, OrientationMerge = 2, NudgeMerge = 3 };

    EditHistory(SurveyDocument &document, EditSession &session, QObject *parent = nullptr);

    QUndoStack &stack() { return m_stack; }

    // Runs `change` as one step named `text`. Nothing is added when it changed nothing. When it
    // throws, what it did before stays done and becomes a step all the same.
    void record(const QString &text, const std::function<void()> &change, MergeKind merge = NoMerge,
                quint64 mergeKey = 0);

    // A new job: nothing to undo or redo.
    void clear() { m_stack.clear(); }

private:
    void finish(const QString &text, MergeKind merge, quint64 mergeKey, const UndoableSettings &settingsBefore,
                const EditState &stateBefore);

    SurveyDocument &m_document;
    EditSession &m_session;
    QUndoStack m_stack;
    int m_depth = 0;
};

// Runs a controller's edit through the history when there is one (the window's controllers
// always have one; tests of a controller alone may leave it out).
inline void recordEdit(EditHistory *history, const QString &text, const std::function<void()> &change,
                       EditHistory::MergeKind merge = EditHistory::NoMerge, quint64 mergeKey = 0)
{
    if (history)
        history->record(text, change, merge, mergeKey);
    else
        change();
}
