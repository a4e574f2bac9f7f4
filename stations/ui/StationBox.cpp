#include "stations/ui/StationBox.h"

#include "document/EditSession.h"
#include "widgets/Controls.h"
#include "widgets/TextValidator.h"
#include "stations/StationEditor.h"

using namespace Controls;

StationBox::StationBox(QWidget *parent) : QGroupBox(tr("New Station"), parent)
{
    labelCaption = label(this, tr("Label/Number"), 8, 24);
    labelEdit = edit(this, QString(), labelCaption->text(), 80, 16, 185, 21);
    labelEdit->setMaxLength(StationLabelChars);
    TextValidator::attach(labelEdit, &StationEditor::labelProblem);
    commentCaption = label(this, tr("Comment"), 8, 48);
    commentEdit = edit(this, QString(), commentCaption->text(), 56, 40, 209, 21);
    commentEdit->setMaxLength(StationCommentChars);
    TextValidator::attach(commentEdit, &StationEditor::commentProblem);
    addButton = pushButton(this, tr("Add"), 272, 16, 49, 49);
    addButton->setEnabled(false);
    newBranchCheck = checkBox(this, tr("New branch"), true, 8, 64, 97, 17);
    newBranchCheck->setEnabled(false);
    previousButton = pushButton(this, QStringLiteral("<"), 136, 64, 33, 17);
    previousButton->setToolTip(tr("Previous station"));
    previousButton->setAccessibleName(previousButton->toolTip());
    previousButton->hide();
    nextButton = pushButton(this, QStringLiteral(">"), 176, 64, 33, 17);
    nextButton->setToolTip(tr("Next station"));
    nextButton->setAccessibleName(nextButton->toolTip());
    nextButton->hide();
    insertButton = pushButton(this, tr("Insert"), 216, 64, 48, 17);
    insertButton->setToolTip(tr("Put a new station in before this one"));
    insertButton->hide();
    deleteButton = pushButton(this, tr("Delete"), 272, 67, 49, 17);
    deleteButton->setToolTip(tr("Delete this station"));
    deleteButton->hide();

    // Any change of the texts counts, typed or set, so the session never differs from the boxes.
    connect(labelEdit, &QLineEdit::textChanged, this, &StationBox::labelEdited);
    connect(commentEdit, &QLineEdit::textChanged, this, &StationBox::commentEdited);
    connect(addButton, &QPushButton::clicked, this, &StationBox::addClicked);
    connect(newBranchCheck, &QCheckBox::toggled, this, &StationBox::newBranchClicked);
    connect(previousButton, &QPushButton::clicked, this, &StationBox::previousClicked);
    connect(nextButton, &QPushButton::clicked, this, &StationBox::nextClicked);
    connect(insertButton, &QPushButton::clicked, this, &StationBox::insertClicked);
    connect(labelEdit, &QLineEdit::returnPressed, this, &StationBox::returnPressed);
    connect(commentEdit, &QLineEdit::returnPressed, this, &StationBox::returnPressed);
    connect(deleteButton, &QPushButton::clicked, this, &StationBox::deleteClicked);
}

void StationBox::focusLabel()
{
    labelEdit->setFocus();
    labelEdit->selectAll();
}

void StationBox::showSession(const EditSession &session)
{
    const bool moving = session.moving();
    setTitle(moving                     ? tr("Move Station")
             : session.inserting()      ? tr("Insert Station")
             : session.addModeEntered() ? tr("Add Station")
                                        : tr("New Station"));
    const QSignalBlocker quietLabel(labelEdit);
    const QSignalBlocker quietComment(commentEdit);
    const QSignalBlocker quietBranch(newBranchCheck);
    showText(labelEdit, session.labelEntry());
    showText(commentEdit, session.commentEntry());
    addButton->setText(moving ? tr("OK") : tr("Add"));
    addButton->setEnabled(session.addEnabled());
    newBranchCheck->setChecked(session.newBranchChecked());
    newBranchCheck->setEnabled(session.newBranchEnabled());
    previousButton->setVisible(moving);
    nextButton->setVisible(moving);
    insertButton->setVisible(moving);
    deleteButton->setVisible(moving);
}
