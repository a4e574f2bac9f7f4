#pragma once

#include "project/RecoveryFile.h"
#include "widgets/DialogService.h"

#include <QObject>
#include <QTimer>

class EditSession;
class SurveyDocument;
class QWidget;

// Never losing work: the job's recovery file follows it a few seconds behind, and at start-up the
// jobs that programs which did not close left behind are offered back.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    RecoveryKeeper(const SurveyDocument &document, const EditSession &session, QObject *parent);

    // A change: the file is written a few seconds later, never more often than that.
    void schedule();
    // Writes it now; a job just opened or saved has nothing to recover, so its file goes.
    void write();
    void remove();
    void stop() { m_timer.stop(); }
    bool exists() const { return m_file.exists(); }

    // Asks about every job left behind: one question for one job, one list for several. Files
    // that cannot be read are set aside and said once; jobs discarded go. Returns the jobs to
    // take up, the first into the window asking.
    static QList<RecoveryFile::Left> offer(DialogService &dialogs, QWidget *parent);

signals:
    // Said once: the work goes on, only the safety net is missing.
    void failed(const QString &message);

private:
    static QList<RecoveryFile::Left> usableJobs(DialogService &dialogs, QWidget *parent);
    static QList<RecoveryChoice> choose(DialogService &dialogs, QWidget *parent, const QList<RecoveryFile::Left> &jobs);

    const SurveyDocument &m_document;
    const EditSession &m_session;
    RecoveryFile m_file{RecoveryFile::defaultFolder()};
    QTimer m_timer;
    bool m_failureShown = false;
};
