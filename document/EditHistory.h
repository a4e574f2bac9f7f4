#pragma once

#include "document/EditSession.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QAction;

// Undo and redo for every edit of the survey. A controller runs each edit through record(): the
// station edits it makes are recorded one by one, the settings it may change and the editing
// state are kept before and after, and the whole becomes one step, named after the edit ("Add
// Station 12"). Undo plays the station edits back and brings the rest back; either way the survey
// counts as modified. Edits of one kind on one subject in a row (the steps of one drag, the keys
// typed into the orientation or the projection azimuth) merge into one step.
//
// An edit that throws leaves neither a step nor a change. Steps hold no decoded scans (only what
// reopens them), and the oldest steps are forgotten once the history holds more than its budget.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    // What merges: steps of the same kind and key in a row.
    enum MergeKind { NoMerge = -1, DragMerge = 1, OrientationMerge = 2, NudgeMerge = 3, AzimuthMerge = 4 };
    static constexpr qsizetype DefaultBudgetBytes = 16 * 1024 * 1024;
    static constexpr int MaxSteps = 1000;

    EditHistory(SurveyDocument &document, EditSession &session, QObject *parent = nullptr);
    ~EditHistory() override;

    // Runs `change` as one step named `text`. Nothing is added when it changed nothing. When it
    // throws, everything it did is taken back and the exception goes on.
    void record(const QString &text, const std::function<void()> &change, MergeKind merge = NoMerge,
                quint64 mergeKey = 0);

    void undo();
    void redo();
    bool canUndo() const { return m_index > 0; }
    bool canRedo() const { return m_index < count(); }
    QString undoText() const;
    QString redoText() const;
    int count() const { return int(m_steps.size()); }
    int index() const { return m_index; } // steps done; the next undo takes back step index()-1

    // What the steps hold in memory, roughly, and the most they may hold.
    qsizetype bytes() const { return m_bytes; }
    void setBudget(qsizetype bytes);

    // A new job: nothing to undo or redo.
    void clear();

    // Edit > Undo and Redo, named after the step they take ("Undo Add Station 12").
    QAction *createUndoAction(QObject *parent, const QString &prefix);
    QAction *createRedoAction(QObject *parent, const QString &prefix);

signals:
    void changed(); // a step was added, undone, redone or forgotten

private:
    struct Step;
    void finish(const QString &text, MergeKind merge, quint64 mergeKey, const UndoableSettings &settingsBefore,
                const EditState &stateBefore);
    void push(std::unique_ptr<Step> step);
    void keepWithinBudget();

    SurveyDocument &m_document;
    EditSession &m_session;
    std::vector<std::unique_ptr<Step>> m_steps;
    int m_index = 0;
    qsizetype m_bytes = 0;
    qsizetype m_budget = DefaultBudgetBytes;
    int m_depth = 0;
    bool m_mergeable = false; // the last step may take in the next one (nothing undone since)
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
