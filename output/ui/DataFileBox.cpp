#include "output/ui/DataFileBox.h"

#include "widgets/Controls.h"
#include "widgets/RadioGroup.h"
#include "output/SurveyText.h"

#include <algorithm>

using namespace Controls;

DataFileBox::DataFileBox(QWidget *parent) : QGroupBox(tr("Text data file"), parent)
{
    // The format names are wider than the 97 pixels the groups had once; that group grows to show
    // them whole and the style group moves along (the box has room up to the Check button's edge).
    auto *formats = new RadioGroup(tr("Format"), {tr("Lumaro: Label"), tr("Lumaro: FromTo"), tr("Survex")}, this);
    const int formatWidth = std::max(97, formats->widthForItems());
    formatGroup = place(formats, 4, 16, formatWidth, 65);
    formatGroup->setItemIndex(int(SurveyFormat::LumaroFromTo));
    styleGroup = place(new RadioGroup(tr("Style"), {tr("Angle"), tr("DepthChange")}, this), 7 + formatWidth, 16, 97, 65);
    styleGroup->setItemIndex(int(SurveyStyle::Angle));
    // Names of their own: both lie in the "Text data file" box, and a screen reader says which is which.
    formatGroup->setAccessibleName(tr("Survey data format"));
    styleGroup->setAccessibleName(tr("Survey data style"));
    viewButton = pushButton(this, tr("View"), 8, 88, 57, 25);
    saveButton = pushButton(this, tr("Save"), 72, 88, 57, 25);
    saveAsButton = pushButton(this, tr("Save as"), 136, 88, 65, 25);
    checkButton = pushButton(this, tr("Check"), 208, 88, 57, 25);
    checkButton->setToolTip(tr("Check the legs, loops and pieces of the survey"));

    connect(formatGroup, &RadioGroup::clicked, this, [this](int index) { emit formatChosen(SurveyFormat(index)); });
    connect(styleGroup, &RadioGroup::clicked, this, [this](int index) { emit styleChosen(SurveyStyle(index)); });
    connect(viewButton, &QPushButton::clicked, this, &DataFileBox::viewClicked);
    connect(saveButton, &QPushButton::clicked, this, &DataFileBox::saveClicked);
    connect(saveAsButton, &QPushButton::clicked, this, &DataFileBox::saveAsClicked);
    connect(checkButton, &QPushButton::clicked, this, &DataFileBox::checkClicked);
}

void DataFileBox::showChoices(SurveyFormat format, SurveyStyle style)
{
    const QSignalBlocker quietFormat(formatGroup);
    const QSignalBlocker quietStyle(styleGroup);
    formatGroup->setItemIndex(int(format));
    styleGroup->setItemIndex(int(style));
}
