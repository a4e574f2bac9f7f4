// Move mode: stepping through added stations, editing their texts and moving their points.
#include "app/TSpeomarkForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

void TSpeomarkForm::showSelectedStationTexts()
{
    if (CurrentStation < 0 || CurrentStation >= StationCount)
        return;
    Edit6->setText(labelText(Stations[CurrentStation]));
    Edit7->setText(commentText(Stations[CurrentStation]));
}

void TSpeomarkForm::enableNewBranchWhereAllowed()
{
    // A branch may start after any station except the first, the last of a branch, and the one
    // that itself started a branch.
    if (StationCount > 0 && StationCount <= StationTableSize && Stations[StationCount - 1].BranchEnd == 0
        && (StationCount < 2 || Stations[StationCount - 2].BranchEnd == 0))
        CheckBox5->setEnabled(true);
}

void TSpeomarkForm::RadioButton2Click()
{
    if (StationCount <= 0) {
        // Nothing to edit (an empty project was opened while "Move" was still enabled).
        RadioButton1->setChecked(true);
        return;
    }
    MoveMode = 1;
    CurrentStation = StationCount - 1;
    GroupBox2->setTitle(QStringLiteral("Move Station"));
    ButtonAdd->setText(QStringLiteral("OK"));
    Button11->show();
    Button12->show();
    CheckBox5->setEnabled(false);
    ButtonAdd->setEnabled(true);
    // Park what was typed for the pending station in its own entry (or, with a full table,
    // beside it) so "Add new" can bring it back.
    if (hasPendingEntry()) {
        setLabelText(Stations[StationCount], Edit6->text());
        setCommentText(Stations[StationCount], Edit7->text());
    } else {
        m_parkedLabel = Edit6->text();
        m_parkedComment = Edit7->text();
    }
    showSelectedStationTexts();
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::RadioButton1Click()
{
    MoveMode = 0;
    GroupBox2->setTitle(QStringLiteral("Add Station"));
    ButtonAdd->setText(QStringLiteral("Add"));
    Button11->hide();
    Button12->hide();
    if (PlanPointPlaced == 0 || (ProfilePointPlaced == 0 && ProfileExtended == 1))
        ButtonAdd->setEnabled(false);
    enableNewBranchWhereAllowed();
    if (hasPendingEntry()) {
        Edit6->setText(labelText(Stations[StationCount]));
        Edit7->setText(commentText(Stations[StationCount]));
    } else {
        Edit6->setText(m_parkedLabel);
        Edit7->setText(m_parkedComment);
    }
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::Button11Click()
{
    if (CurrentStation > 0)
        --CurrentStation;
    showSelectedStationTexts();
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::Button12Click()
{
    if (CurrentStation < StationCount - 1)
        ++CurrentStation;
    showSelectedStationTexts();
    DrawPlanView();
    DrawProfileView();
}
