#include "stations/ui/ModeBox.h"

#include "widgets/Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QSignalBlocker>

using namespace Controls;

ModeBox::ModeBox(QWidget *parent) : QWidget(parent)
{
    modeGroup = place(new QGroupBox(tr("Mode"), this), 0, 0, 120, 70);
    addModeRadio = radioButton(modeGroup, tr("Add new"), true, 8, 16, 65, 17);
    // As wide as the row above, so a longer word than "Move" is not cut off.
    moveModeRadio = radioButton(modeGroup, tr("Move"), false, 8, 32, 65, 17);
    moveModeRadio->setEnabled(false);
    addWhenPlacedCheck = checkBox(modeGroup, tr("Add when placed"), true, 8, 48, 108, 17);
    showLabelsCheck = checkBox(this, tr("Show Labels"), true, 0, 74, 89, 17);
    showLinesCheck = checkBox(this, tr("Show Lines"), true, 0, 91, 89, 19);
    addWhenPlacedCheck->setObjectName(QStringLiteral("addWhenPlacedBox"));
    addWhenPlacedCheck->setToolTip(tr("Add the station as soon as its points are placed, with the proposed "
                                      "label; Backspace or Undo takes it back"));
    view3dButton = pushButton(this, tr("3D view"), 0, 114, 81, 25);
    resize(120, 139);

    onChosen(addModeRadio, this, [this] { emit addModeChosen(); });
    onChosen(moveModeRadio, this, [this] { emit moveModeChosen(); });
    connect(showLabelsCheck, &QCheckBox::toggled, this, &ModeBox::showLabelsClicked);
    connect(showLinesCheck, &QCheckBox::toggled, this, &ModeBox::showLinesClicked);
    connect(view3dButton, &QPushButton::clicked, this, &ModeBox::view3dClicked);
    connect(addWhenPlacedCheck, &QCheckBox::toggled, this, &ModeBox::addWhenPlacedClicked);
}

void ModeBox::showMode(bool moving, bool moveAvailable, bool showLabels, bool showLines)
{
    // What is shown here is no choice of the user's.
    const QSignalBlocker quiet[] = {QSignalBlocker(addModeRadio), QSignalBlocker(moveModeRadio),
                                    QSignalBlocker(showLabelsCheck), QSignalBlocker(showLinesCheck)};
    (moving ? moveModeRadio : addModeRadio)->setChecked(true);
    moveModeRadio->setEnabled(moveAvailable);
    showLabelsCheck->setChecked(showLabels);
    showLinesCheck->setChecked(showLines);
}

void ModeBox::showAddWhenPlaced(bool on)
{
    const QSignalBlocker quiet(addWhenPlacedCheck);
    addWhenPlacedCheck->setChecked(on);
}
