// The one place that knows the controls' designer names: each control's objectName, by which
// tests, accessibility tools and cavers' notes find it. Nothing else uses these names.
#include "app/ui/MainWindow.h"
#include "app/ui/WindowMenus.h"

#include "widgets/PaneSplitter.h"
#include "widgets/Panel.h"
#include "widgets/RadioGroup.h"
#include "widgets/UpDown.h"
#include "output/ui/DataFileBox.h"
#include "stations/ui/ModeBox.h"
#include "stations/ui/ProjectionBoxes.h"
#include "stations/ui/StationBox.h"
#include "views/ui/ImagePane.h"
#include "views/ui/PaneArea.h"
#include "views/ui/ViewStrip.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QGroupBox>
#include <QMenu>
#include <QScrollArea>
#include <QStatusBar>

void MainWindow::nameControls()
{
    const struct
    {
        QObject *control;
        const char *name;
    } names[] = {
        {m_paneArea, "GroupBox1"},
        {m_paneArea->stripPanel, "Panel1"},
        {m_paneArea->planStrip->openButton, "OpenLeftBtn"},
        {m_paneArea->planStrip->gridCheck, "CheckBoxLeftSetka"},
        {m_paneArea->planStrip->gridMetresEdit, "EditLeftSetka"},
        {m_paneArea->planStrip->metresLabel, "Label1"},
        {m_paneArea->planStrip->gridPixelsEdit, "EditLeftPixels"},
        {m_paneArea->planStrip->pixelsLabel, "Label2"},
        {m_paneArea->planStrip->gridOkButton, "Button1"},
        {m_paneArea->planStrip->gridShiftRight, "GridL2"},
        {m_paneArea->planStrip->gridShiftUp, "GridL1"},
        {m_paneArea->planStrip->zoomOutButton, "LeftMinus"},
        {m_paneArea->planStrip->zoomInButton, "LeftPlus"},
        {m_paneArea->profileStrip->zoomOutButton, "RightMinus"},
        {m_paneArea->profileStrip->zoomInButton, "RightPlus"},
        {m_paneArea->profileStrip->gridShiftUp, "GridR1"},
        {m_paneArea->profileStrip->gridShiftRight, "GridR2"},
        {m_paneArea->profileStrip->gridCheck, "CheckBoxRightSetka"},
        {m_paneArea->profileStrip->gridMetresEdit, "EditRightSetka"},
        {m_paneArea->profileStrip->metresLabel, "Label4"},
        {m_paneArea->profileStrip->gridPixelsEdit, "EditRightPixels"},
        {m_paneArea->profileStrip->pixelsLabel, "Label5"},
        {m_paneArea->profileStrip->gridOkButton, "Button2"},
        {m_paneArea->profileStrip->openButton, "OpenRightBtn"},
        {m_paneArea->planScroll, "ScrollBox1"},
        {m_paneArea->splitter, "Splitter1"},
        {m_paneArea->profileScroll, "ScrollBox2"},
        {m_paneArea->planPane, "ImageLeft"},
        {m_paneArea->profilePane, "ImageRight"},
    };
    for (const auto &entry : names)
        entry.control->setObjectName(QString::fromLatin1(entry.name));
    nameLowerControls();
}

void MainWindow::nameLowerControls()
{
    const struct
    {
        QObject *control;
        const char *name;
    } names[] = {
        {m_lowerPanel, "Panel2"},
        {m_projection->orientationBox, "LeftBox"},
        {m_projection->orientationCaption, "Label3"},
        {m_projection->orientationEdit, "EditPlanOrientationAngle"},
        {m_projection->profileKindBox, "GroupBox4"},
        {m_projection->extendedRadio, "RadioButton3"},
        {m_projection->projectiveRadio, "RadioButton4"},
        {m_projection->noProfileRadio, "RadioButton5"},
        {m_projection->azimuthEdit, "EditProjectionAzimuth"},
        {m_stationBox, "GroupBox2"},
        {m_stationBox->labelCaption, "Label6"},
        {m_stationBox->labelEdit, "Edit6"},
        {m_stationBox->commentCaption, "Label7"},
        {m_stationBox->commentEdit, "Edit7"},
        {m_stationBox->addButton, "ButtonAdd"},
        {m_stationBox->newBranchCheck, "CheckBox5"},
        {m_stationBox->previousButton, "Button11"},
        {m_stationBox->nextButton, "Button12"},
        {m_savePlanPictureButton, "Button4"},
        {m_saveProfilePictureButton, "Button8"},
        {m_helpPanel, "Panel3"},
        {m_helpButton, "BitBtn1"},
        {m_saveProjectAsButton, "ButtonSaveProjectAs"},
        {m_closeProjectButton, "ButtonCloseProject"},
        {m_modeBox->modeGroup, "GroupBox3"},
        {m_modeBox->addModeRadio, "RadioButton1"},
        {m_modeBox->moveModeRadio, "RadioButton2"},
        {m_modeBox->showLabelsCheck, "CheckBoxShowLabels"},
        {m_modeBox->showLinesCheck, "CheckBoxShowLines"},
        {m_modeBox->view3dButton, "Button6"},
        {m_dataFileBox, "GroupBox5"},
        {m_dataFileBox->formatGroup, "DataFormat"},
        {m_dataFileBox->styleGroup, "DataStyle"},
        {m_dataFileBox->viewButton, "Button5"},
        {m_dataFileBox->saveButton, "Button7"},
        {m_dataFileBox->saveAsButton, "Button10"},
        {m_statusBar, "StatusBar1"},
        {m_menus->fileMenu, "File"},
        {m_menus->openPlan, "OpenPlanLeftImage1"},
        {m_menus->openProfile, "OpenProfileRightImage1"},
        {m_menus->openProject, "OpenProject1"},
        {m_menus->saveProjectAs, "SaveProjectAs1"},
        {m_menus->closeAll, "CloseAll1"},
    };
    for (const auto &entry : names)
        entry.control->setObjectName(QString::fromLatin1(entry.name));
}
