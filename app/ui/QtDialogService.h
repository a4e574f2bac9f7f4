#pragma once

#include "widgets/DialogService.h"

// Real dialogs and message boxes.
class QtDialogService : public DialogService
{
public:
    bool execute(QWidget *parent, FileDialog &dialog) override;
    void message(QWidget *parent, const QString &caption, const QString &text,
                 MessageIcon icon) override;
    Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &caption, const QString &text, Answer defaultAnswer) override;
    bool askText(QWidget *parent, const QString &caption, const QString &label, QString *text) override;
    bool choosePdfPage(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int *page,
                       int *dotsPerInch) override;
    bool offerToLocate(QWidget *parent, const QString &caption, const QString &text) override;
    bool editSurveyDetails(QWidget *parent, SurveyDetails *details, const QStringList &entranceChoices) override;
    bool chooseRecoveries(QWidget *parent, const QList<LeftBehindJob> &jobs, QList<RecoveryChoice> *choices) override;
};
