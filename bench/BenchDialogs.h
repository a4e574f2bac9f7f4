#pragma once

#include "widgets/DialogService.h"

#include <QString>
#include <cstdio>

// Answers every file dialog with one path (none: cancelled), every question No, and prints what
// is said or asked, so a benchmark that should ask nothing shows it did.
class FixedDialogs : public DialogService
{
public:
    QString path;
    bool execute(QWidget *, FileDialog &dialog) override
    {
        dialog.fileName = path;
        return !path.isEmpty();
    }
    void message(QWidget *, const QString &, const QString &text, MessageIcon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    Answer askYesNoCancel(QWidget *, const QString &, const QString &) override { return Answer::No; }
    bool askYesNo(QWidget *, const QString &, const QString &text, Answer) override
    {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return false;
    }
    bool askText(QWidget *, const QString &, const QString &, QString *) override { return false; }
    bool choosePdfPage(QWidget *, const QString &, const QList<int> &, int *, int *) override { return false; }
    bool offerToLocate(QWidget *, const QString &, const QString &) override { return false; }
    bool editSurveyDetails(QWidget *, SurveyDetails *, const QStringList &) override { return false; }
    bool chooseRecoveries(QWidget *, const QList<LeftBehindJob> &, QList<RecoveryChoice> *) override { return false; }
};
