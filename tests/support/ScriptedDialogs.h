#pragma once

#include "widgets/DialogService.h"
#include "survey/SurveyDetails.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers dialogs from queues and records every question, so window tests can run commands
// that ask things. An empty queue answers Cancel (file dialogs and Yes/No/Cancel alike).
class ScriptedDialogs : public DialogService
{
public:
    struct Shown
    {
        enum class Kind { FileDialog, Message, Question };
        Kind kind;
        QString caption;       // message boxes
        QString text;          // message boxes
        MessageIcon icon = MessageIcon::None;
        FileDialog dialog;     // file dialogs: the dialog as it was shown
    };

    // Queue a file name for the next file dialog (an empty string cancels it). Like a real save
    // dialog, a name typed without extension gets the dialog's default suffix.
    void answerFile(const QString &path, const QString &filter = QString())
    {
        m_files.enqueue(path);
        m_filters.enqueue(filter);
    }
    // The next survey details dialog is accepted with these.
    void answerDetails(const SurveyDetails &details);
    void answerQuestion(Answer answer) { m_answers.enqueue(answer); }
    // The next PDF page chooser picks this page and resolution (none queued: cancelled).
    void answerPdfPage(int page, int dotsPerInch) { m_pages.enqueue({page, dotsPerInch}); }
    // The next missing-file message is answered with "Locate..." (true) or OK.
    void answerLocate(bool locate) { m_locates.enqueue(locate); }
    // The next recovery list is accepted with these choices (none queued: cancelled).
    void answerRecoveries(const QList<RecoveryChoice> &choices) { m_recoveries.enqueue(choices); }
    QList<QList<LeftBehindJob>> recoveryLists; // every recovery list shown

    QList<Shown> shown;
    QStringList messages() const;       // texts of the message boxes, in order
    int fileDialogsShown() const;

    bool execute(QWidget *parent, FileDialog &dialog) override;
    void message(QWidget *parent, const QString &caption, const QString &text, MessageIcon icon) override;
    Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text, Answer defaultAnswer) override; // queued Yes, else No
    // Answers from the file-name queue (an empty string cancels).
    bool askText(QWidget *parent, const QString &caption, const QString &label, QString *text) override;
    bool choosePdfPage(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int *page,
                       int *dotsPerInch) override;
    bool offerToLocate(QWidget *parent, const QString &caption, const QString &text) override;
    bool chooseRecoveries(QWidget *parent, const QList<LeftBehindJob> &jobs, QList<RecoveryChoice> *choices) override;
    bool editSurveyDetails(QWidget *parent, SurveyDetails *details, const QStringList &entranceChoices) override;

private:
    QQueue<QString> m_files;
    QQueue<QString> m_filters;
    QList<SurveyDetails> m_details;
    QQueue<Answer> m_answers;
    QQueue<QPair<int, int>> m_pages;
    QQueue<bool> m_locates;
    QQueue<QList<RecoveryChoice>> m_recoveries;
};

// Installs a ScriptedDialogs in the window and returns it (the window owns it).
class MainWindow;
ScriptedDialogs *installScriptedDialogs(MainWindow &window);
