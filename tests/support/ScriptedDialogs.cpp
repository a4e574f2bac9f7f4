#include "support/ScriptedDialogs.h"

#include "app/ui/MainWindow.h"

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown &s : shown)
        if (s.kind != Shown::Kind::FileDialog)
            texts.append(s.text);
    return texts;
}

int ScriptedDialogs::fileDialogsShown() const
{
    int n = 0;
    for (const Shown &s : shown)
        n += s.kind == Shown::Kind::FileDialog;
    return n;
}

bool ScriptedDialogs::execute(QWidget *, FileDialog &dialog)
{
    shown.append({Shown::Kind::FileDialog, QString(), QString(), MessageIcon::None, dialog});
    const QString path = m_files.isEmpty() ? QString() : m_files.dequeue();
    const QString filter = m_filters.isEmpty() ? QString() : m_filters.dequeue();
    if (path.isEmpty())
        return false;
    dialog.fileName = dialog.kind == FileDialog::Kind::Save ? withDefaultSuffix(path, dialog.defaultSuffix) : path;
    dialog.selectedFilter = filter;
    return true;
}

void ScriptedDialogs::message(QWidget *, const QString &caption, const QString &text, MessageIcon icon)
{
    shown.append({Shown::Kind::Message, caption, text, icon, FileDialog()});
}

Answer ScriptedDialogs::askYesNoCancel(QWidget *, const QString &caption, const QString &text)
{
    shown.append({Shown::Kind::Question, caption, text, MessageIcon::None, FileDialog()});
    return m_answers.isEmpty() ? Answer::Cancel : m_answers.dequeue();
}

bool ScriptedDialogs::askYesNo(QWidget *parent, const QString &caption, const QString &text, Answer)
{
    return askYesNoCancel(parent, caption, text) == Answer::Yes;
}

bool ScriptedDialogs::askText(QWidget *, const QString &caption, const QString &label, QString *text)
{
    shown.append({Shown::Kind::Question, caption, label, MessageIcon::None, FileDialog()});
    const QString answer = m_files.isEmpty() ? QString() : m_files.dequeue();
    if (answer.isEmpty())
        return false;
    *text = answer;
    return true;
}

bool ScriptedDialogs::choosePdfPage(QWidget *, const QString &path, const QList<int> &highestDotsPerInch, int *page,
                                    int *dotsPerInch)
{
    shown.append({Shown::Kind::Question, QStringLiteral("PDF"),
                  QStringLiteral("%1 (%2 pages)").arg(path).arg(highestDotsPerInch.size()),
                  MessageIcon::None, FileDialog()});
    if (m_pages.isEmpty())
        return false;
    const QPair<int, int> answer = m_pages.dequeue();
    *page = answer.first;
    *dotsPerInch = answer.second;
    return true;
}

bool ScriptedDialogs::offerToLocate(QWidget *, const QString &caption, const QString &text)
{
    shown.append({Shown::Kind::Message, caption, text, MessageIcon::None, FileDialog()});
    return !m_locates.isEmpty() && m_locates.dequeue();
}

void ScriptedDialogs::answerDetails(const SurveyDetails &details)
{
    m_details.append(details);
}

bool ScriptedDialogs::editSurveyDetails(QWidget *, SurveyDetails *details, const QStringList &)
{
    shown.append({Shown::Kind::Question, QStringLiteral("Survey Details"), QString(), MessageIcon::None, FileDialog()});
    if (m_details.isEmpty())
        return false;
    *details = m_details.takeFirst();
    return true;
}

ScriptedDialogs *installScriptedDialogs(MainWindow &window)
{
    auto service = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs *raw = service.get();
    window.setDialogService(std::move(service));
    return raw;
}

bool ScriptedDialogs::chooseRecoveries(QWidget *, const QList<LeftBehindJob> &jobs, QList<RecoveryChoice> *choices)
{
    recoveryLists.append(jobs);
    if (m_recoveries.isEmpty())
        return false;
    *choices = m_recoveries.dequeue();
    return true;
}
