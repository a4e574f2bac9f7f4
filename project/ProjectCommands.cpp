// Open Existing Project, Save Project As and Close Project.
#include "app/TSpeomarkForm.h"

#include "app/NumberText.h"
#include "app/TRadioGroup.h"
#include "app/TTextForm.h"
#include "app/TUpDown.h"
#include "project/ProjectFile.h"
#include "views/ImageFile.h"
#include "views/TImagePane.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {

// Where to read a project's image from. Projects travel between folders and machines with their
// drawings beside them, so a stored path that no longer exists is looked for by its file name in
// the project's own folder (a name written on Windows may use backslashes).
QString imagePathFor(const QString &stored, const QString &projectPath)
{
    if (stored.isEmpty() || QFileInfo::exists(stored))
        return stored;
    const qsizetype start = std::max(stored.lastIndexOf(QChar('/')), stored.lastIndexOf(QChar('\\'))) + 1;
    const QString beside = QFileInfo(projectPath).absoluteDir().filePath(stored.mid(start));
    return QFileInfo::exists(beside) ? beside : stored;
}

} // namespace

void TSpeomarkForm::OpenProject1Click()
{
    if (!dialogs().execute(this, OpenProjectDialog))
        return;
    openProject(OpenProjectDialog.fileName);
}

void TSpeomarkForm::openProject(const QString &path)
{
    // Read and check the whole file before anything changes: a file that is refused leaves the
    // current job as it was, and only then is the user asked about unsaved stations.
    const ProjectContents project = ProjectFile::read(path);
    if (Modified == 1 && AskSave() == 2)
        return;

    // Texts parked for the pending station in Move mode live in the table being replaced.
    const bool moving = MoveMode == 1;
    const QString parkedLabel = moving && hasPendingEntry() ? labelText(Stations[StationCount]) : m_parkedLabel;
    const QString parkedComment = moving && hasPendingEntry() ? commentText(Stations[StationCount]) : m_parkedComment;

    const ProjectHeader &h = project.header;
    project.applyTo(*this);
    GridL1->setPosition(ProjectHeader::low16(h.GridL1Position));
    GridL2->setPosition(ProjectHeader::low16(h.GridL2Position));
    GridR1->setPosition(ProjectHeader::low16(h.GridR1Position));
    GridR2->setPosition(ProjectHeader::low16(h.GridR2Position));
    EditLeftSetka->setText(NumberText::fromDouble(h.PlanGridMetresEntry));
    EditLeftPixels->setText(NumberText::fromDouble(h.PlanGridPixelsEntry));
    EditRightSetka->setText(NumberText::fromDouble(h.ProfileGridMetresEntry));
    EditRightPixels->setText(NumberText::fromDouble(h.ProfileGridPixelsEntry));
    CheckBoxLeftSetka->setChecked(h.PlanGridOn != 0);
    CheckBoxRightSetka->setChecked(h.ProfileGridOn != 0);
    EditPlanOrientationAngle->setText(NumberText::fromDouble(h.PlanOrientationEntry));
    (ProfileExtended == 1 ? RadioButton3 : ProfileExtended == 0 ? RadioButton5 : RadioButton4)->setChecked(true);
    CheckBoxShowLabels->setChecked(h.ShowLabels != 0);
    CheckBoxShowLines->setChecked(h.ShowLines != 0);
    DataFormat->setItemIndex(h.DataFormatIndex);
    DataStyle->setItemIndex(h.DataStyleIndex);

    // The pending point belonged to the job just replaced; its entry is empty now.
    PlanPointPlaced = 0;
    ProfilePointPlaced = 0;
    if (moving) {
        if (hasPendingEntry()) {
            setLabelText(Stations[StationCount], parkedLabel);
            setCommentText(Stations[StationCount], parkedComment);
        } else {
            m_parkedLabel = parkedLabel;
            m_parkedComment = parkedComment;
        }
        if (StationCount > 0) {
            // The selection refers to the new table: start again from its last station.
            CurrentStation = StationCount - 1;
            showSelectedStationTexts();
        } else {
            RadioButton1->setChecked(true);
            RadioButton1Click(); // nothing left to edit
        }
    } else {
        ButtonAdd->setEnabled(false);
        // A resumed job must be able to go on along its last branch: "New branch", checked
        // and disabled since start-up, becomes available as after returning to Add mode.
        enableNewBranchWhereAllowed();
    }
    // The stations just opened can be edited without adding one first.
    if (StationCount > 0)
        RadioButton2->setEnabled(true);

    // An image that cannot be read leaves its pane empty rather than showing the previous job's
    // drawing under these stations; the other image is read all the same.
    struct Side
    {
        QImage &bitmap;
        QString &fileName;
        std::int32_t &width, &height;
        const char *message;
    };
    const Side sides[] = {
        {PlanBitmap, PlanImageFileName, PlanImageWidth, PlanImageHeight, "Проблемы с открытием изображения Плана!"},
        {ProfileBitmap, ProfileImageFileName, ProfileImageWidth, ProfileImageHeight,
         "Проблемы с открытием изображения Профиля!"},
    };
    for (const Side &side : sides) {
        const QString imagePath = imagePathFor(side.fileName, path);
        QImage loaded;
        if (!imagePath.isEmpty() && LoadImageFile(imagePath, loaded) >= 0) {
            side.bitmap = loaded;
            side.fileName = imagePath;
        } else {
            side.bitmap = QImage();
            dialogs().message(this, QStringLiteral("Speomark"), QString::fromUtf8(side.message), MessageIcon::None);
        }
        side.width = side.bitmap.width();
        side.height = side.bitmap.height();
    }
    DrawPlanView();
    DrawProfileView();
}

void TSpeomarkForm::SaveProjectAs1Click()
{
    if (!dialogs().execute(this, SaveProjectDialog))
        return;
    ProjectHeader header = ProjectHeader::fromState(*this);
    // The entry texts are converted before anything is written, so a text that is not a number
    // stops the command with no file touched.
    header.setEntryTexts(EditLeftSetka->text(), EditLeftPixels->text(), EditRightSetka->text(),
                         EditRightPixels->text(), EditPlanOrientationAngle->text());
    header.GridL1Position = GridL1->position();
    header.GridL2Position = GridL2->position();
    header.GridR1Position = GridR1->position();
    header.GridR2Position = GridR2->position();
    header.PlanGridOn = CheckBoxLeftSetka->isChecked();
    header.ProfileGridOn = CheckBoxRightSetka->isChecked();
    header.ShowLabels = CheckBoxShowLabels->isChecked();
    header.ShowLines = CheckBoxShowLines->isChecked();
    header.DataFormatIndex = DataFormat->itemIndex();
    header.DataStyleIndex = DataStyle->itemIndex();
    ProjectFile::write(SaveProjectDialog.fileName, header, Stations.data());
}

void TSpeomarkForm::ButtonCloseProjectClick()
{
    if (Modified == 1 && AskSave() == 2)
        return;
    // Entries 0..StationCount, the pending one included; a full table has no pending entry.
    const int last = std::min(StationCount, StationTableSize - 1);
    for (int i = 0; i <= last; ++i)
        ClearStation(Stations[i]);
    StationCount = 0;
    // The cleared pending point must not stay "placed" at (0, 0), where one click could add it.
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
