// Open Existing Project, Save Project As and Close Project.
#include "app/TSpeomarkForm.h"

#include "app/TRadioGroup.h"
#include "app/TTextForm.h"
#include "app/TUpDown.h"
#include "views/TImagePane.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

void TSpeomarkForm::OpenProject1Click() {}
void TSpeomarkForm::SaveProjectAs1Click() {}

void TSpeomarkForm::ButtonCloseProjectClick()
{
    if (Modified == 1 && AskSave() == 2)
        return;
    // Entries 0..StationCount, the pending one included; a full table has no pending entry.
    const int last = std::min(StationCount, StationTableSize - 1);
    for (int i = 0; i <= last; ++i)
        ClearStation(Stations[i]);
    StationCount = 0;
    // The cleared pending entry must not stay "placed" at (0, 0), where one click could add it.
    PlanPointPlaced = 0;
    ProfilePointPlaced = 0;
    ButtonAdd->setEnabled(false);
    ImageLeft->resize(0, 0);
    ImageRight->resize(0, 0);
    Modified = 0;
    DataFileName.clear();
    if (TextForm)
        TextForm->setWindowTitle(QStringLiteral("Text data file - view"));
    setStatusPanelText(1, QStringLiteral(" "));
    setStatusPanelText(2, QStringLiteral(" "));
    PlanZoom = 1.0;
    ProfileZoom = 1.0;
    MoveMode = 0;
    RadioButton1->setChecked(true); // unchecks "Move"
    RadioButton2->setEnabled(false);
    GroupBox2->setTitle(QStringLiteral("Add Station"));
    ButtonAdd->setText(QStringLiteral("Add"));
    Button11->hide();
    Button12->hide();
    for (TUpDown *spinner : {GridL1, GridL2, GridR1, GridR2})
        spinner->setPosition(0);
}
