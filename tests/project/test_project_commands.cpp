// Open Existing Project, Save Project As and Close Project through the window: what a project
// brings back, what a refused file leaves alone, and where images are looked for.
#include "app/SpeomarkWindows.h"
#include "app/TPanel.h"
#include "app/TRadioGroup.h"
#include "app/TUpDown.h"
#include "project/ProjectFile.h"
#include "support/ScriptedDialogs.h"
#include "views/TImagePane.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstddef>
#include <cstring>
#include <memory>

class ProjectCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveAndOpenRestoreEveryStoredValue();
    void openingLeavesWhatTheFileDoesNotHold();
    void aRefusedFileLeavesTheJobAsItWas_data();
    void aRefusedFileLeavesTheJobAsItWas();
    void unsavedStationsAreNotReplacedWithoutAsking();
    void imagesOpenInFullColourAndAreFoundBesideTheProject();
    void aMissingImageLeavesItsPaneEmpty();
    void aProjectionProfileByteChecksTheDisabledButton();
    void aResumedJobCanContinueItsBranchAndBeEdited();
    void openingInMoveModeSelectsFromTheNewTable();
    void saveProjectFailuresAreReported();
    void closeProjectAsksOnlyWithUnsavedStations();

private:
    void openImages();
    void addStations(int count);
    QString path(const QString &name) const { return m_dir.filePath(name); }
    std::unique_ptr<SpeomarkWindows> newWindows();

    QTemporaryDir m_dir;
    std::unique_ptr<SpeomarkWindows> m_windows;
    TSpeomarkForm *form = nullptr;
    ScriptedDialogs *dialogs = nullptr;
};

std::unique_ptr<SpeomarkWindows> ProjectCommands::newWindows()
{
    auto windows = std::make_unique<SpeomarkWindows>();
    windows->SpeomarkForm.show();
    return windows;
}

void ProjectCommands::init()
{
    QVERIFY(m_dir.isValid());
    m_windows = newWindows();
    form = &m_windows->SpeomarkForm;
    dialogs = installScriptedDialogs(*form);
    QVERIFY(QTest::qWaitForWindowExposed(form));
    // A colour plan (PNG) and a profile (JPEG would blur the colours checked below, so TIFF).
    QImage plan(200, 150, QImage::Format_RGB32);
    plan.fill(qRgb(12, 200, 77));
    plan.setPixel(199, 149, qRgb(250, 3, 128));
    QVERIFY(plan.save(path(QStringLiteral("plan.png"))));
    QImage profile(300, 100, QImage::Format_RGB32);
    profile.fill(qRgb(90, 60, 230));
    QVERIFY(profile.save(path(QStringLiteral("profile.tif"))));
}

void ProjectCommands::cleanup()
{
    form->Modified = 0;
    m_windows.reset();
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

void ProjectCommands::openImages()
{
    dialogs->answerFile(path(QStringLiteral("plan.png")));
    QTest::mouseClick(form->OpenLeftBtn, Qt::LeftButton);
    dialogs->answerFile(path(QStringLiteral("profile.tif")));
    QTest::mouseClick(form->OpenRightBtn, Qt::LeftButton);
}

void ProjectCommands::addStations(int count)
{
    for (int i = 0; i < count; ++i) {
        form->Edit6->setText(QStringLiteral("П%1").arg(i));
        form->Edit7->setText(i == 1 ? QStringLiteral("узость") : QString());
        form->PlacePlanPoint(10 + 7 * i, 20 + 3 * i);
        form->PlaceProfilePoint(15 + 9 * i, 30 + i);
        if (i == 2)
            form->CheckBox5->setChecked(true);
        QTest::mouseClick(form->ButtonAdd, Qt::LeftButton);
    }
}

void ProjectCommands::saveAndOpenRestoreEveryStoredValue()
{
    openImages();
    form->EditLeftPixels->setText(QStringLiteral("40"));
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    addStations(4);
    form->PlanZoom = 2.0;
    form->ProfileZoom = 0.25;
    form->PlanPaneFraction = 0.3f;
    form->ProfilePaneFraction = 0.7f;
    form->GridL1->setPosition(-5);
    form->GridL2->setPosition(500);
    form->GridR1->setPosition(-500);
    form->GridR2->setPosition(17);
    form->EditLeftSetka->setText(QStringLiteral("10.0"));
    form->EditRightSetka->setText(QStringLiteral("2.5"));
    form->EditRightPixels->setText(QStringLiteral("0050"));
    form->EditPlanOrientationAngle->setText(QStringLiteral("-12.75"));
    form->CheckBoxLeftSetka->setChecked(false);
    form->CheckBoxShowLines->setChecked(false);
    QTest::mouseClick(form->RadioButton5, Qt::LeftButton);
    form->DataFormat->setItemIndex(2);
    form->DataStyle->setItemIndex(1);
    dialogs->answerFile(path(QStringLiteral("cave")));
    QTest::mouseClick(form->ButtonSaveProjectAs, Qt::LeftButton);
    QVERIFY(dialogs->messages().isEmpty());
    QCOMPARE(QFileInfo(path(QStringLiteral("cave.sprj"))).size(), 664 + 4 * 308);
    QCOMPARE(form->Modified, std::uint8_t(1)); // saving a project is not saving the survey data

    auto reopened = newWindows();
    TSpeomarkForm &other = reopened->SpeomarkForm;
    ScriptedDialogs *otherDialogs = installScriptedDialogs(other);
    otherDialogs->answerFile(path(QStringLiteral("cave.sprj")));
    other.OpenProject1->trigger();
    QCOMPARE(otherDialogs->messages(), QStringList());
    QCOMPARE(other.StationCount, 4);
    // Every field of every station bit for bit (the bytes up to BranchEnd; padding is not data).
    for (int i = 0; i < 5; ++i)
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&other.Stations[i]), int(offsetof(Station, BranchEnd)) + 1),
                 QByteArray(reinterpret_cast<const char *>(&form->Stations[i]), int(offsetof(Station, BranchEnd)) + 1));
    QCOMPARE(other.Stations[1].BranchEnd, std::uint8_t(1));
    QCOMPARE(other.PlanImageFileName, path(QStringLiteral("plan.png")));
    QCOMPARE(other.ProfileImageFileName, path(QStringLiteral("profile.tif")));
    QCOMPARE(other.PlanZoom, 2.0);
    QCOMPARE(other.ProfileZoom, 0.25);
    QCOMPARE(other.ProfileExtended, std::uint8_t(0));
    QVERIFY(other.RadioButton5->isChecked());
    QCOMPARE(other.PlanPaneFraction, 0.3f);
    QCOMPARE(other.ProfilePaneFraction, 0.7f);
    QCOMPARE(other.PlanGridPixels, 40.0);
    QCOMPARE(other.ProfileGridPixels, 50.0);
    QCOMPARE(other.PlanMetresPerPixel, 0.25);
    QCOMPARE(other.ProfileMetresPerPixel, form->ProfileMetresPerPixel);
    QCOMPARE(other.GridL1->position(), -5);
    QCOMPARE(other.GridL2->position(), 500);
    QCOMPARE(other.GridR1->position(), -500);
    QCOMPARE(other.GridR2->position(), 17);
    QCOMPARE(other.EditLeftSetka->text(), QStringLiteral("10"));
    QCOMPARE(other.EditLeftPixels->text(), QStringLiteral("40"));
    QCOMPARE(other.EditRightSetka->text(), QStringLiteral("2.5"));
    QCOMPARE(other.EditRightPixels->text(), QStringLiteral("50"));
    QCOMPARE(other.EditPlanOrientationAngle->text(), QStringLiteral("-12.75"));
    QVERIFY(!other.CheckBoxLeftSetka->isChecked());
    QVERIFY(other.CheckBoxRightSetka->isChecked());
    QVERIFY(other.CheckBoxShowLabels->isChecked());
    QVERIFY(!other.CheckBoxShowLines->isChecked());
    QCOMPARE(other.DataFormat->itemIndex(), 2);
    QCOMPARE(other.DataStyle->itemIndex(), 1);
    // Both views are drawn at the stored zooms.
    QCOMPARE(other.ImageLeft->size(), QSize(400, 300));
    QCOMPARE(other.ImageRight->size(), QSize(75, 25));
    QCOMPARE(other.ImageLeft->snapshot().stations.size(), 4);
    other.Modified = 0;
}

void ProjectCommands::openingLeavesWhatTheFileDoesNotHold()
{
    addStations(2);
    form->Modified = 0;
    form->DataFileName = QStringLiteral("/caves/old");
    form->Edit6->setText(QStringLiteral("next"));
    form->Panel2->setEnabled(false);
    form->PlacePlanPoint(3, 3);
    form->PlaceProfilePoint(3, 3);
    QVERIFY(form->ButtonAdd->isEnabledTo(form->Panel2));
    ProjectHeader header;
    header.PlanImageFileName = path(QStringLiteral("plan.png"));
    header.ProfileImageFileName = path(QStringLiteral("profile.tif"));
    Station one;
    std::memset(&one, 0, sizeof one);
    header.StationCount = 1;
    ProjectFile::write(path(QStringLiteral("one.sprj")), header, &one);
    dialogs->answerFile(path(QStringLiteral("one.sprj")));
    form->OpenProject1->trigger();
    QCOMPARE(form->StationCount, 1);
    QCOMPARE(form->DataFileName, QStringLiteral("/caves/old"));
    QCOMPARE(form->Edit6->text(), QStringLiteral("next"));
    QVERIFY(!form->Panel2->isEnabled());
    QVERIFY(form->RadioButton2->isEnabledTo(form->Panel2));
    QCOMPARE(form->Modified, std::uint8_t(0));
    // The pending point belonged to the replaced job; its entry is empty, so it is not placed.
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(0));
    QVERIFY(!form->ButtonAdd->isEnabledTo(form->Panel2));
}

void ProjectCommands::aRefusedFileLeavesTheJobAsItWas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QByteArray header(664, '\0');
    header[4] = char(0xE8);
    header[5] = char(0x03);
    QTest::newRow("663 bytes") << header.left(663) << "shorter";
    QByteArray negative = header;
    negative[0] = negative[1] = negative[2] = negative[3] = char(0xFF);
    QTest::newRow("negative count") << negative << "-1";
    QByteArray shortBlock = header;
    shortBlock[0] = 2;
    QTest::newRow("short station block") << shortBlock + QByteArray(308, '\0') << "2";
}

void ProjectCommands::aRefusedFileLeavesTheJobAsItWas()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    openImages();
    addStations(3);
    const QByteArray before(reinterpret_cast<const char *>(form->Stations.data()), int(sizeof(Station)) * 1000);
    const double scale = form->PlanMetresPerPixel;
    QFile file(path(QStringLiteral("bad.sprj")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    dialogs->answerFile(file.fileName());
    form->OpenProject1->trigger();
    QCOMPARE(dialogs->messages().size(), 1);
    QVERIFY2(dialogs->messages()[0].contains(QStringLiteral("bad.sprj")), qPrintable(dialogs->messages()[0]));
    QVERIFY2(dialogs->messages()[0].contains(problem), qPrintable(dialogs->messages()[0]));
    QCOMPARE(form->StationCount, 3);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(form->Stations.data()), before.size()), before);
    QCOMPARE(form->PlanMetresPerPixel, scale);
    QCOMPARE(form->PlanImageFileName, path(QStringLiteral("plan.png")));
    QCOMPARE(form->Modified, std::uint8_t(1)); // and nobody was asked to save
}

void ProjectCommands::unsavedStationsAreNotReplacedWithoutAsking()
{
    ProjectHeader header;
    ProjectFile::write(path(QStringLiteral("empty.sprj")), header, nullptr);
    addStations(2);
    dialogs->answerFile(path(QStringLiteral("empty.sprj")));
    dialogs->answerQuestion(Answer::Cancel);
    form->OpenProject1->trigger();
    QCOMPARE(form->StationCount, 2);
    QCOMPARE(dialogs->shown.last().text, QStringLiteral("File has been modified. Save?"));

    dialogs->answerFile(path(QStringLiteral("empty.sprj")));
    dialogs->answerQuestion(Answer::No);
    form->OpenProject1->trigger();
    QCOMPARE(form->StationCount, 0);
    QCOMPARE(form->Modified, std::uint8_t(0));
}

void ProjectCommands::imagesOpenInFullColourAndAreFoundBesideTheProject()
{
    openImages();
    addStations(1);
    dialogs->answerFile(path(QStringLiteral("moving.sprj")));
    QTest::mouseClick(form->ButtonSaveProjectAs, Qt::LeftButton);
    // The caver moves the job to another folder: project and drawings together.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("usb")));
    for (const char *name : {"moving.sprj", "plan.png", "profile.tif"})
        QVERIFY(QFile::rename(path(QString::fromLatin1(name)), path(QStringLiteral("usb/") + QString::fromLatin1(name))));

    auto reopened = newWindows();
    TSpeomarkForm &other = reopened->SpeomarkForm;
    ScriptedDialogs *otherDialogs = installScriptedDialogs(other);
    otherDialogs->answerFile(path(QStringLiteral("usb/moving.sprj")));
    other.OpenProject1->trigger();
    QCOMPARE(otherDialogs->messages(), QStringList());
    QCOMPARE(other.PlanImageFileName, path(QStringLiteral("usb/plan.png")));
    QCOMPARE(other.ProfileImageFileName, path(QStringLiteral("usb/profile.tif")));
    // Colours come back exactly, not through a 256-colour palette.
    QCOMPARE(other.PlanBitmap.pixel(0, 0), qRgb(12, 200, 77));
    QCOMPARE(other.PlanBitmap.pixel(199, 149), qRgb(250, 3, 128));
    QCOMPARE(other.ProfileBitmap.pixel(5, 5), qRgb(90, 60, 230));
    QCOMPARE(other.PlanImageWidth, 200);
    QCOMPARE(other.ProfileImageHeight, 100);
    other.Modified = 0;
}

void ProjectCommands::aMissingImageLeavesItsPaneEmpty()
{
    openImages();
    ProjectHeader planOnly;
    planOnly.PlanImageFileName = path(QStringLiteral("plan.png"));
    planOnly.ProfileExtended = 0;
    ProjectFile::write(path(QStringLiteral("plan-only.sprj")), planOnly, nullptr);
    dialogs->answerFile(path(QStringLiteral("plan-only.sprj")));
    form->OpenProject1->trigger();
    QCOMPARE(dialogs->messages(), QStringList{"Проблемы с открытием изображения Профиля!"});
    QCOMPARE(form->ImageLeft->size(), QSize(200, 150));
    // The previous job's profile is not shown under the new stations.
    QCOMPARE(form->ImageRight->size(), QSize(0, 0));
    QVERIFY(form->ProfileBitmap.isNull());
    QCOMPARE(form->ProfileImageWidth, 0);

    ProjectHeader noPlan;
    noPlan.PlanImageFileName = path(QStringLiteral("gone.bmp"));
    noPlan.ProfileImageFileName = path(QStringLiteral("profile.tif"));
    ProjectFile::write(path(QStringLiteral("no-plan.sprj")), noPlan, nullptr);
    dialogs->answerFile(path(QStringLiteral("no-plan.sprj")));
    form->OpenProject1->trigger();
    QCOMPARE(dialogs->messages().last(), QStringLiteral("Проблемы с открытием изображения Плана!"));
    QCOMPARE(form->ImageLeft->size(), QSize(0, 0));
    QCOMPARE(form->ImageRight->size(), QSize(300, 100));
}

void ProjectCommands::aProjectionProfileByteChecksTheDisabledButton()
{
    ProjectHeader header;
    header.ProfileExtended = 2;
    ProjectFile::write(path(QStringLiteral("projective.sprj")), header, nullptr);
    dialogs->answerFile(path(QStringLiteral("projective.sprj")));
    form->OpenProject1->trigger();
    QCOMPARE(form->ProfileExtended, std::uint8_t(2));
    QVERIFY(form->RadioButton4->isChecked());
    QVERIFY(!form->RadioButton4->isEnabled());
}

void ProjectCommands::aResumedJobCanContinueItsBranchAndBeEdited()
{
    // Straight after start-up "New branch" is checked and disabled, and "Move" disabled.
    ProjectHeader header;
    header.StationCount = 3;
    Station three[3];
    std::memset(three, 0, sizeof three);
    ProjectFile::write(path(QStringLiteral("three.sprj")), header, three);
    dialogs->answerFile(path(QStringLiteral("three.sprj")));
    form->OpenProject1->trigger();
    QVERIFY(form->CheckBox5->isEnabled());
    QTest::mouseClick(form->CheckBox5, Qt::LeftButton);
    QVERIFY(!form->CheckBox5->isChecked());
    form->PlacePlanPoint(5, 5);
    form->PlaceProfilePoint(5, 5);
    QTest::mouseClick(form->ButtonAdd, Qt::LeftButton);
    QCOMPARE(form->StationCount, 4);
    QCOMPARE(form->Stations[2].BranchEnd, std::uint8_t(0)); // the new station continues the branch
    QVERIFY(form->RadioButton2->isEnabled());

    // A project that ends with a branch end leaves the box as it was.
    three[2].BranchEnd = 1;
    ProjectFile::write(path(QStringLiteral("ended.sprj")), header, three);
    auto fresh = newWindows();
    ScriptedDialogs *freshDialogs = installScriptedDialogs(fresh->SpeomarkForm);
    freshDialogs->answerFile(path(QStringLiteral("ended.sprj")));
    fresh->SpeomarkForm.OpenProject1->trigger();
    QVERIFY(!fresh->SpeomarkForm.CheckBox5->isEnabled());
    QVERIFY(fresh->SpeomarkForm.RadioButton2->isEnabled());
    QTest::mouseClick(fresh->SpeomarkForm.RadioButton2, Qt::LeftButton);
    QCOMPARE(fresh->SpeomarkForm.CurrentStation, 2);
    form->Modified = 0;
}

void ProjectCommands::openingInMoveModeSelectsFromTheNewTable()
{
    addStations(5);
    form->Edit6->setText(QStringLiteral("typed"));
    QTest::mouseClick(form->RadioButton2, Qt::LeftButton);
    QCOMPARE(form->CurrentStation, 4);
    form->Modified = 0;
    ProjectHeader header;
    header.StationCount = 2;
    Station two[2];
    std::memset(two, 0, sizeof two);
    setLabelText(two[1], QStringLiteral("B"));
    ProjectFile::write(path(QStringLiteral("two.sprj")), header, two);
    dialogs->answerFile(path(QStringLiteral("two.sprj")));
    form->OpenProject1->trigger();
    QCOMPARE(form->MoveMode, std::uint8_t(1));
    QCOMPARE(form->CurrentStation, 1);
    QCOMPARE(form->Edit6->text(), QStringLiteral("B"));
    // With no station left to edit the window goes back to adding, with the typed texts.
    ProjectFile::write(path(QStringLiteral("none.sprj")), ProjectHeader(), nullptr);
    dialogs->answerFile(path(QStringLiteral("none.sprj")));
    form->OpenProject1->trigger();
    QCOMPARE(form->MoveMode, std::uint8_t(0));
    QVERIFY(form->RadioButton1->isChecked());
    QCOMPARE(form->Edit6->text(), QStringLiteral("typed"));
}

void ProjectCommands::saveProjectFailuresAreReported()
{
    addStations(1);
    dialogs->answerFile(path(QStringLiteral("good")));
    QTest::mouseClick(form->ButtonSaveProjectAs, Qt::LeftButton);
    QFile good(path(QStringLiteral("good.sprj")));
    QVERIFY(good.open(QIODevice::ReadOnly));
    const QByteArray saved = good.readAll();

    // An entry that is not a number stops the save before the file is touched.
    form->EditRightPixels->setText(QStringLiteral("5o"));
    addStations(1);
    dialogs->answerFile(path(QStringLiteral("good.sprj")));
    QTest::mouseClick(form->ButtonSaveProjectAs, Qt::LeftButton);
    QCOMPARE(dialogs->messages().last(), QStringLiteral("'5o' is not a valid floating point value"));
    good.seek(0);
    QCOMPARE(good.readAll(), saved);

    // A folder that does not exist is reported, not passed over in silence.
    form->EditRightPixels->setText(QStringLiteral("50"));
    dialogs->answerFile(path(QStringLiteral("missing/cave.sprj")));
    QTest::mouseClick(form->ButtonSaveProjectAs, Qt::LeftButton);
    QVERIFY(dialogs->messages().last().startsWith(QStringLiteral("Cannot create file ")));
    QVERIFY(!QFile::exists(path(QStringLiteral("missing"))));
}

void ProjectCommands::closeProjectAsksOnlyWithUnsavedStations()
{
    openImages();
    addStations(2);
    dialogs->answerQuestion(Answer::Cancel);
    QTest::mouseClick(form->ButtonCloseProject, Qt::LeftButton);
    QCOMPARE(form->StationCount, 2);
    QCOMPARE(form->ImageLeft->size(), QSize(200, 150));
    QCOMPARE(form->Modified, std::uint8_t(1));

    dialogs->answerQuestion(Answer::No);
    QTest::mouseClick(form->ButtonCloseProject, Qt::LeftButton);
    QCOMPARE(form->StationCount, 0);
    QCOMPARE(dialogs->messages().size(), 2);
    QTest::mouseClick(form->ButtonCloseProject, Qt::LeftButton); // nothing to ask now
    QCOMPARE(dialogs->messages().size(), 2);
    // The next redraw shows the image again at zoom 1, without the closed stations.
    QTest::mouseClick(form->CheckBoxShowLabels, Qt::LeftButton);
    QCOMPARE(form->ImageLeft->size(), QSize(200, 150));
    QCOMPARE(form->ImageLeft->snapshot().stations.size(), 0);
    QCOMPARE(form->PlanImageFileName, path(QStringLiteral("plan.png")));
}

QTEST_MAIN(ProjectCommands)
#include "test_project_commands.moc"
