#include "document/EditHistory.h"

#include <QAction>

namespace {

// Memory a value holds beyond its own size, roughly: enough to keep the history within budget.
qsizetype textBytes(const QString &text) { return text.capacity() * qsizetype(sizeof(QChar)); }

qsizetype settingsBytes(const UndoableSettings &settings)
{
    qsizetype bytes = sizeof settings + qsizetype(settings.sheets.capacity() * sizeof(SheetSettings));
    for (const SheetSettings &view : settings.sheets)
        bytes += textBytes(view.imagePath) + textBytes(view.gridMetresEntry) + textBytes(view.gridPixelsEntry)
            + textBytes(view.north.text()) + textBytes(view.name);
    const SurveyDetails &d = settings.survey.details;
    bytes += textBytes(d.caveName) + textBytes(d.source)
        + textBytes(d.entrance) + 64 * qsizetype(d.team.size());
    return bytes;
}

} // namespace

struct EditHistory::Step
{
    QString text;
    int mergeKind = NoMerge;
    quint64 mergeKey = 0;
    std::vector<StationEdit> edits;
    UndoableSettings settingsBefore;
    UndoableSettings settingsAfter;
    EditState stateBefore;
    EditState stateAfter;

    qsizetype bytes() const
    {
        return qsizetype(sizeof *this) + qsizetype(edits.capacity() * sizeof(StationEdit)) + textBytes(text)
            + settingsBytes(settingsBefore) + settingsBytes(settingsAfter)
            + textBytes(stateBefore.labelEntry) + textBytes(stateAfter.labelEntry);
    }
};

EditHistory::EditHistory(SurveyDocument &document, EditSession &session, QObject *parent)
    : QObject(parent), m_document(document), m_session(session)
{
}

EditHistory::~EditHistory() = default;

void EditHistory::record(const QString &text, const std::function<void()> &change, MergeKind merge, quint64 mergeKey)
{
    if (m_depth > 0) { // a step inside a step is part of it
        change();
        return;
    }
    const UndoableSettings settingsBefore = m_document.undoableSettings();
    const EditState stateBefore = m_session.state();
    const bool modifiedBefore = m_document.modified();
    ++m_depth;
    m_document.startRecording();
    try {
        change();
    } catch (...) {
        // Nothing of a failed edit stays: the document and the session are as they were.
        --m_depth;
        const std::vector<StationEdit> edits = m_document.stopRecording();
        ChangeBatch batch(m_document, m_session);
        m_document.undoStationEdits(edits);
        if (m_document.undoableSettings() != settingsBefore)
            m_document.restore(settingsBefore);
        m_session.restore(stateBefore);
        m_document.setModified(modifiedBefore);
        throw;
    }
    finish(text, merge, mergeKey, settingsBefore, stateBefore);
}

void EditHistory::finish(const QString &text, MergeKind merge, quint64 mergeKey,
                         const UndoableSettings &settingsBefore, const EditState &stateBefore)
{
    --m_depth;
    auto step = std::make_unique<Step>();
    step->edits = m_document.stopRecording();
    step->settingsAfter = m_document.undoableSettings();
    step->stateAfter = m_session.state();
    if (step->edits.empty() && step->settingsAfter == settingsBefore && step->stateAfter == stateBefore)
        return;
    step->text = text;
    step->mergeKind = merge;
    step->mergeKey = mergeKey;
    step->settingsBefore = settingsBefore;
    step->stateBefore = stateBefore;
    push(std::move(step));
}

void EditHistory::push(std::unique_ptr<Step> step)
{
    // A new step drops the steps undone before it.
    while (count() > m_index) {
        m_bytes -= m_steps.back()->bytes();
        m_steps.pop_back();
    }
    Step *last = m_steps.empty() ? nullptr : m_steps.back().get();
    if (m_mergeable && last && step->mergeKind != NoMerge && step->mergeKind == last->mergeKind
        && step->mergeKey == last->mergeKey) {
        m_bytes -= last->bytes();
        last->edits.insert(last->edits.end(), step->edits.begin(), step->edits.end());
        last->settingsAfter = step->settingsAfter;
        last->stateAfter = step->stateAfter;
        m_bytes += last->bytes();
    } else {
        m_bytes += step->bytes();
        m_steps.push_back(std::move(step));
        ++m_index;
    }
    m_mergeable = true;
    keepWithinBudget();
    emit changed();
}

void EditHistory::keepWithinBudget()
{
    // The oldest steps go first; the last one always stays, so the edit just made can be undone.
    qsizetype forget = 0;
    while (forget + 1 < count() && (m_bytes > m_budget || count() - forget > MaxSteps)) {
        m_bytes -= m_steps[size_t(forget)]->bytes();
        ++forget;
    }
    if (forget == 0)
        return;
    m_steps.erase(m_steps.begin(), m_steps.begin() + forget);
    m_index = std::max(0, m_index - int(forget));
}

void EditHistory::setBudget(qsizetype bytes)
{
    m_budget = bytes;
    keepWithinBudget();
    emit changed();
}

void EditHistory::undo()
{
    if (!canUndo())
        return;
    const Step &step = *m_steps[size_t(--m_index)];
    m_mergeable = false;
    {
        ChangeBatch batch(m_document, m_session);
        m_document.undoStationEdits(step.edits);
        m_document.restore(step.settingsBefore);
        m_session.restore(step.stateBefore);
        m_document.setModified(true);
    }
    emit changed();
}

void EditHistory::redo()
{
    if (!canRedo())
        return;
    const Step &step = *m_steps[size_t(m_index++)];
    m_mergeable = false;
    {
        ChangeBatch batch(m_document, m_session);
        m_document.redoStationEdits(step.edits);
        m_document.restore(step.settingsAfter);
        m_session.restore(step.stateAfter);
        m_document.setModified(true);
    }
    emit changed();
}

QString EditHistory::undoText() const
{
    return canUndo() ? m_steps[size_t(m_index - 1)]->text : QString();
}

QString EditHistory::redoText() const
{
    return canRedo() ? m_steps[size_t(m_index)]->text : QString();
}

void EditHistory::clear()
{
    m_steps.clear();
    m_index = 0;
    m_bytes = 0;
    m_mergeable = false;
    emit changed();
}

QAction *EditHistory::createUndoAction(QObject *parent, const QString &prefix)
{
    auto *action = new QAction(prefix, parent);
    const auto show = [this, action, prefix] {
        action->setEnabled(canUndo());
        action->setText(canUndo() ? prefix + QLatin1Char(' ') + undoText() : prefix);
    };
    connect(this, &EditHistory::changed, action, show);
    connect(action, &QAction::triggered, this, &EditHistory::undo);
    show();
    return action;
}

QAction *EditHistory::createRedoAction(QObject *parent, const QString &prefix)
{
    auto *action = new QAction(prefix, parent);
    const auto show = [this, action, prefix] {
        action->setEnabled(canRedo());
        action->setText(canRedo() ? prefix + QLatin1Char(' ') + redoText() : prefix);
    };
    connect(this, &EditHistory::changed, action, show);
    connect(action, &QAction::triggered, this, &EditHistory::redo);
    show();
    return action;
}
