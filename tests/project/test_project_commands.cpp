// Open Existing Project, Save Project As and Close Project: what a project brings back, what it
// does to the editing session, what a refused file leaves alone, and where images are looked for.
#include "widgets/RadioGroup.h"
#include "widgets/UpDown.h"
#include "project/ProjectController.h"
#include "project/ProjectFile.h"
#include "project/StationRecord.h"
#include "stations/StationEditor.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstddef>
#include <functional>
#include <memory>

namespace {

// The stations and the pending entry as project records.
QByteArray tableBytes(const StationTable &table)
{
    QByteArray bytes(StationRecord::Size * (table.count() + 1), '\0');
    for (int i = 0; i < table.count(); ++i)
        StationRecord::write(table.at(i), bytes.data() + StationRecord::Size * i);
    if (table.hasPending())
        StationRecord::write(table.pending(), bytes.data() + StationRecord::Size * table.count());
    return bytes;
}

std::vector<Station> blankStations(int count)
{
    return std::vector<Station>(size_t(count), Station{});
}

void openProject(WindowFixture &f, const QString &path)
{
    f.dialogs().answerFile(path);
    f.control<QAction>("OpenProject1")->trigger();
    f.waitForImages();
}

} // namespace

class ProjectCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void saveAndOpenRestoreEveryStoredValue();
    void openingSetsUpTheSession_data();
    void openingSetsUpTheSession();
    void aRefusedFileLeavesTheJobAsItWas_data();
    void aRefusedFileLeavesTheJobAsItWas();
    void unsavedStationsAreNotReplacedWithoutAsking();
    void imagesOpenInFullColourAndAreFoundBesideTheProject();
    void aMissingImageLeavesItsPaneEmpty();
    void aProjectionProfileByteOpensAProjectedProfile();
    void aResumedJobCanContinueItsBranchAndBeEdited();
    void saveProjectFailuresAreReported();
    void closeProjectAsksOnlyWithUnsavedStations();
    void aFileAnotherProgramSavedIsNotReplacedUnasked();
    void aFolderMovedWithItsScansFolderFindsThem();

private:
    void openImages(WindowFixture &window);
    void addStations(int count);
    void writeProject(const QString &name, const std::vector<Station> &stations,
                      const std::function<void(ProjectHeader &)> &edit = {});
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> f;
};

void ProjectCommands::init()
{
    QVERIFY(m_dir.isValid());
    f = std::make_unique<WindowFixture>();
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
    f.reset();
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

void ProjectCommands::openImages(WindowFixture &window)
{
    window.dialogs().answerFile(path(QStringLiteral("plan.png")));
    window.click("OpenLeftBtn");
    window.waitForImages();
    window.dialogs().answerFile(path(QStringLiteral("profile.tif")));
    window.click("OpenRightBtn");
    window.waitForImages();
}

// Right clicks on both views, as the user places a station.
// Stations П0, П1, ... through the station box; the third starts a new branch.
void ProjectCommands::addStations(int count)
{
    for (int i = 0; i < count; ++i) {
        f->control<QLineEdit>("Edit6")->setText(QStringLiteral("П%1").arg(i));
        f->control<QLineEdit>("Edit7")->setText(i == 1 ? QStringLiteral("узость") : QString());
        f->placePoints(QPoint(10 + 7 * i, 20 + 3 * i), QPoint(15 + 9 * i, 30 + i));
        if (i == 2 && !f->control<QCheckBox>("CheckBox5")->isChecked())
            f->click("CheckBox5");
        f->click("ButtonAdd");
    }
}

void ProjectCommands::writeProject(const QString &name, const std::vector<Station> &stations,
                                   const std::function<void(ProjectHeader &)> &edit)
{
    ProjectContents project;
    if (edit)
        edit(project.header);
    project.stations.assign(stations);
    project.header.stationCount = project.stations.count();
    ProjectFile::write(path(name), project);
}

void ProjectCommands::saveAndOpenRestoreEveryStoredValue()
{
    openImages(*f);
    f->type("EditLeftPixels", QStringLiteral("40"));
    f->click("Button1");
    addStations(4);
    SurveyDocument &document = f->document();
    document.editView(ViewSide::Plan, [](ViewSettings &view) {
        view.zoom = 2.0;
        view.gridShiftUp = -5;
        view.gridShiftRight = 500;
    });
    document.editView(ViewSide::Profile, [](ViewSettings &view) {
        view.zoom = 0.25;
        view.gridShiftUp = -500;
        view.gridShiftRight = 17;
    });
    document.setPaneFractions(0.3f, 0.7f);
    f->type("EditLeftSetka", QStringLiteral("10.0"));
    f->type("EditRightSetka", QStringLiteral("2.5"));
    f->type("EditRightPixels", QStringLiteral("0050"));
    f->type("EditPlanOrientationAngle", QStringLiteral("-12.75"));
    f->click("CheckBoxLeftSetka");
    f->click("CheckBoxShowLines");
    f->click("RadioButton5");
    QTest::mouseClick(f->control<RadioGroup>("DataFormat")->item(2), Qt::LeftButton);
    QTest::mouseClick(f->control<RadioGroup>("DataStyle")->item(1), Qt::LeftButton);
    f->dialogs().answerFile(path(QStringLiteral("cave")));
    f->click("ButtonSaveProjectAs");
    QCOMPARE(f->dialogs().messages(), QStringList());
    // The fixed layout, then the optional block with where the scans lie beside the project.
    const QByteArray saved = TestFiles::bytes(path(QStringLiteral("cave.sprj")));
    QCOMPARE(saved.mid(664 + 4 * 308, 8), QByteArray("SPMKEXT1"));
    QCOMPARE(ProjectFile::read(path(QStringLiteral("cave.sprj"))).scanRelativePath(ViewSide::Profile),
             QStringLiteral("profile.tif"));
    QVERIFY(document.modified()); // saving a project is not saving the survey data

    // A second window is told that the first one has the project open.
    WindowFixture other;
    other.dialogs().answerQuestion(Answer::Yes);
    openProject(other, path(QStringLiteral("cave.sprj")));
    QCOMPARE(other.dialogs().messages().size(), 1);
    QVERIFY(other.dialogs().messages()[0].contains(QDir::toNativeSeparators(path(QStringLiteral("cave.sprj")))));
    const SurveyDocument &reopened = other.document();
    QCOMPARE(reopened.stations().count(), 4);
    QCOMPARE(tableBytes(reopened.stations()), tableBytes(document.stations()));
    QVERIFY(reopened.stations().at(1).branchEnd);
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const ViewSettings &a = reopened.view(side);
        const ViewSettings &b = document.view(side);
        QCOMPARE(a.imagePath, path(side == ViewSide::Plan ? QStringLiteral("plan.png") : QStringLiteral("profile.tif")));
        QCOMPARE(a.imagePath, b.imagePath);
        QCOMPARE(a.zoom, b.zoom);
        QCOMPARE(a.paneFraction, b.paneFraction);
        QCOMPARE(a.calibration, b.calibration);
        QCOMPARE(a.calibration.metresPerPixel, b.calibration.metresPerPixel);
        QCOMPARE(a.gridShiftUp, b.gridShiftUp);
        QCOMPARE(a.gridShiftRight, b.gridShiftRight);
        QCOMPARE(a.gridShown, b.gridShown);
    }
    QCOMPARE(reopened.view(ViewSide::Plan).calibration.gridPixels, 40.0);
    QCOMPARE(reopened.view(ViewSide::Plan).calibration.metresPerPixel, 0.25);
    QVERIFY(!reopened.view(ViewSide::Plan).gridShown);
    // Entries come back as numbers, shown again.
    const QStringList entries{reopened.view(ViewSide::Plan).gridMetresEntry, reopened.view(ViewSide::Plan).gridPixelsEntry,
                              reopened.view(ViewSide::Profile).gridMetresEntry,
                              reopened.view(ViewSide::Profile).gridPixelsEntry, reopened.orientationEntry()};
    QCOMPARE(entries, (QStringList{"10", "40", "2.5", "50", "-12.75"}));
    QCOMPARE(reopened.profileKind(), ProfileKind::None);
    QVERIFY(reopened.showLabels() && !reopened.showLines());
    QCOMPARE(reopened.format(), SurveyFormat::Survex);
    QCOMPARE(reopened.style(), SurveyStyle::DepthChange);
    // The controls show what was opened.
    QCOMPARE(other.control<QLineEdit>("EditLeftSetka")->text(), QStringLiteral("10"));
    QCOMPARE(other.control<UpDown>("GridL1")->position(), -5);
    QCOMPARE(other.control<UpDown>("GridR2")->position(), 17);
    QVERIFY(!other.control<QCheckBox>("CheckBoxLeftSetka")->isChecked());
    QVERIFY(other.control<QRadioButton>("RadioButton5")->isChecked());
    QCOMPARE(other.control<RadioGroup>("DataFormat")->itemIndex(), 2);
    // Both views are drawn at the stored zooms.
    QCOMPARE(other.control<ImagePane>("ImageLeft")->size(), QSize(400, 300));
    QCOMPARE(other.control<ImagePane>("ImageRight")->size(), QSize(75, 25));
    QCOMPARE(other.control<ImagePane>("ImageLeft")->snapshot().stations.size(), 4);
}

void ProjectCommands::openingSetsUpTheSession_data()
{
    QTest::addColumn<int>("oldStations");
    QTest::addColumn<bool>("moving");       // the old job was in Move mode, "typed" parked
    QTest::addColumn<int>("fileStations");  // the last one labelled "B"
    QTest::addColumn<bool>("lastEndsBranch");
    QTest::addColumn<bool>("movingAfter");
    QTest::addColumn<QString>("label");     // the label box after opening
    QTest::addColumn<bool>("addEnabled");
    QTest::addColumn<bool>("newBranchEnabled");
    // A resumed job can go on along its last branch, unless the file ended it.
    QTest::newRow("adding") << 2 << false << 3 << false << false << "next" << false << true;
    QTest::newRow("adding, branch ended") << 2 << false << 3 << true << false << "next" << false << false;
    // The selection refers to the new table: its last station.
    QTest::newRow("moving") << 5 << true << 2 << false << true << "B" << true << false;
    // Nothing left to edit: back to adding, with the texts typed before Move.
    QTest::newRow("moving, empty file") << 5 << true << 0 << false << false << "typed" << false << false;
    // A full table parks the typed texts beside it; they reach the new pending entry.
    QTest::newRow("moving, full table") << 1000 << true << 2 << false << true << "B" << true << false;
}

void ProjectCommands::openingSetsUpTheSession()
{
    QFETCH(int, oldStations);
    QFETCH(bool, moving);
    QFETCH(int, fileStations);
    QFETCH(bool, lastEndsBranch);
    QFETCH(bool, movingAfter);
    QFETCH(QString, label);
    QFETCH(bool, addEnabled);
    QFETCH(bool, newBranchEnabled);
    SurveyDocument document;
    EditSession session;
    StationEditor editor(document, session);
    ProjectController controller(document, session);
    document.editStations([&](StationTable &table) { table.assign(blankStations(oldStations)); });
    session.setEntries(QStringLiteral("typed"), QStringLiteral("typed comment"));
    if (moving)
        QVERIFY(editor.enterMoveMode());
    else
        session.setEntries(QStringLiteral("next"), QString());
    session.setPointPlaced(ViewSide::Plan, true);
    session.setPointPlaced(ViewSide::Profile, true);
    session.setDataFileName(QStringLiteral("/caves/old"));
    session.setLowerPanelEnabled(false);

    std::vector<Station> stations = blankStations(fileStations);
    if (fileStations > 0) {
        stations.back().label = fittedLabel(QStringLiteral("B"));
        stations.back().branchEnd = lastEndsBranch;
    }
    writeProject(QStringLiteral("job.sprj"), stations);
    const ProjectController::Opened opened =
        controller.open(ProjectFile::read(path(QStringLiteral("job.sprj"))), path(QStringLiteral("job.sprj")));

    QVERIFY(opened.planImageMissing && opened.profileImageMissing);
    QCOMPARE(document.stations().count(), fileStations);
    QCOMPARE(session.moving(), movingAfter);
    if (movingAfter)
        QCOMPARE(session.selected(), fileStations - 1);
    QCOMPARE(session.labelEntry(), label);
    QCOMPARE(session.addEnabled(), addEnabled);
    QCOMPARE(session.newBranchEnabled(), newBranchEnabled);
    // The pending points belonged to the replaced job.
    QVERIFY(!session.pointPlaced(ViewSide::Plan) && !session.pointPlaced(ViewSide::Profile));
    // What a project does not hold stays.
    QCOMPARE(session.dataFileName(), QStringLiteral("/caves/old"));
    QVERIFY(!session.lowerPanelEnabled());
    QVERIFY(!document.modified());
    if (moving) {
        editor.enterAddMode();
        QCOMPARE(session.labelEntry(), QStringLiteral("typed"));
        QCOMPARE(session.commentEntry(), QStringLiteral("typed comment"));
    }
}

void ProjectCommands::aRefusedFileLeavesTheJobAsItWas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    QByteArray header(664, '\0');
    header[4] = char(0xE8);
    header[5] = char(0x03);
    QTest::newRow("663 bytes") << header.left(663) << "меньше заголовка";
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
    openImages(*f);
    addStations(3);
    const QByteArray before = tableBytes(f->document().stations());
    const double scale = f->document().view(ViewSide::Plan).calibration.metresPerPixel;
    QFile file(path(QStringLiteral("bad.sprj")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    openProject(*f, file.fileName());
    const QStringList messages = f->dialogs().messages();
    QCOMPARE(messages.size(), 1); // and nobody was asked to save
    QVERIFY2(messages[0].contains(QStringLiteral("bad.sprj")) && messages[0].contains(problem), qPrintable(messages[0]));
    QCOMPARE(f->document().stations().count(), 3);
    QCOMPARE(tableBytes(f->document().stations()), before);
    QCOMPARE(f->document().view(ViewSide::Plan).calibration.metresPerPixel, scale);
    QCOMPARE(f->document().view(ViewSide::Plan).imagePath, path(QStringLiteral("plan.png")));
    QVERIFY(f->document().modified());
}

void ProjectCommands::unsavedStationsAreNotReplacedWithoutAsking()
{
    writeProject(QStringLiteral("empty.sprj"), {});
    addStations(2);
    f->dialogs().answerQuestion(Answer::Cancel);
    openProject(*f, path(QStringLiteral("empty.sprj")));
    QCOMPARE(f->document().stations().count(), 2);
    QVERIFY(f->dialogs().shown.last().text.startsWith(QStringLiteral("Файл изменён. Сохранить?")));

    f->dialogs().answerQuestion(Answer::No);
    openProject(*f, path(QStringLiteral("empty.sprj")));
    QCOMPARE(f->document().stations().count(), 0);
    QVERIFY(!f->document().modified());
}

void ProjectCommands::imagesOpenInFullColourAndAreFoundBesideTheProject()
{
    openImages(*f);
    addStations(1);
    f->dialogs().answerFile(path(QStringLiteral("moving.sprj")));
    f->click("ButtonSaveProjectAs");
    // The caver moves the job to another folder: project and drawings together.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("usb")));
    for (const char *name : {"moving.sprj", "plan.png", "profile.tif"})
        QVERIFY(QFile::rename(path(QString::fromLatin1(name)), path(QStringLiteral("usb/") + QString::fromLatin1(name))));

    WindowFixture other;
    openProject(other, path(QStringLiteral("usb/moving.sprj")));
    QCOMPARE(other.dialogs().messages(), QStringList());
    const ViewSettings &plan = other.document().view(ViewSide::Plan);
    const ViewSettings &profile = other.document().view(ViewSide::Profile);
    QCOMPARE(plan.imagePath, path(QStringLiteral("usb/plan.png")));
    QCOMPARE(profile.imagePath, path(QStringLiteral("usb/profile.tif")));
    // Colours come back exactly, not through a 256-colour palette.
    QCOMPARE(plan.image.pixel(0, 0), qRgb(12, 200, 77));
    QCOMPARE(plan.image.pixel(199, 149), qRgb(250, 3, 128));
    QCOMPARE(profile.image.pixel(5, 5), qRgb(90, 60, 230));
    QCOMPARE(plan.imageWidth(), 200);
    QCOMPARE(profile.imageHeight(), 100);
}

void ProjectCommands::aMissingImageLeavesItsPaneEmpty()
{
    openImages(*f);
    writeProject(QStringLiteral("plan-only.sprj"), {}, [&](ProjectHeader &h) {
        h.planImagePath = path(QStringLiteral("plan.png"));
        h.profileKind = 0;
    });
    f->dialogs().answerQuestion(Answer::No); // the scans opened before are given up
    openProject(*f, path(QStringLiteral("plan-only.sprj")));
    QCOMPARE(f->dialogs().messages().last(), QStringLiteral("Проблемы с открытием изображения Профиля!"));
    QCOMPARE(f->control<ImagePane>("ImageLeft")->size(), QSize(200, 150));
    // The previous job's profile is not shown under the new stations.
    QCOMPARE(f->control<ImagePane>("ImageRight")->size(), QSize(0, 0));
    QVERIFY(f->document().view(ViewSide::Profile).image.isNull());

    writeProject(QStringLiteral("no-plan.sprj"), {}, [&](ProjectHeader &h) {
        h.planImagePath = path(QStringLiteral("gone.bmp"));
        h.profileImagePath = path(QStringLiteral("profile.tif"));
    });
    openProject(*f, path(QStringLiteral("no-plan.sprj")));
    // A scan that is gone is named, and can be found again.
    QCOMPARE(f->dialogs().messages().last(),
             QStringLiteral("Проблемы с открытием изображения Плана: нет файла %1").arg(path(QStringLiteral("gone.bmp"))));
    QCOMPARE(f->control<ImagePane>("ImageLeft")->size(), QSize(0, 0));
    QCOMPARE(f->control<ImagePane>("ImageRight")->size(), QSize(300, 100));

    f->dialogs().answerFile(path(QStringLiteral("no-plan.sprj")));
    f->dialogs().answerLocate(true);
    f->dialogs().answerFile(path(QStringLiteral("plan.png")));
    f->control<QAction>("OpenProject1")->trigger();
    f->waitForImages();
    QCOMPARE(f->control<ImagePane>("ImageLeft")->size(), QSize(200, 150));
    QCOMPARE(f->document().view(ViewSide::Plan).imagePath, path(QStringLiteral("plan.png"))); // saved from now on
}

void ProjectCommands::aProjectionProfileByteOpensAProjectedProfile()
{
    writeProject(QStringLiteral("projective.sprj"), {}, [](ProjectHeader &h) { h.profileKind = 2; });
    openProject(*f, path(QStringLiteral("projective.sprj")));
    QCOMPARE(f->document().profileKind(), ProfileKind::Projective);
    QVERIFY(f->control<QRadioButton>("RadioButton4")->isChecked());
    // A project from before the azimuth was kept has none: 0, there to be set.
    QVERIFY(f->control<QLineEdit>("EditProjectionAzimuth")->isEnabled());
    QCOMPARE(f->control<QLineEdit>("EditProjectionAzimuth")->text(), QStringLiteral("0"));
}

void ProjectCommands::aResumedJobCanContinueItsBranchAndBeEdited()
{
    // Straight after start-up "New branch" is checked and disabled, and "Move" disabled; a
    // reopened job goes on along its last branch, with "New branch" offered but not ticked.
    writeProject(QStringLiteral("three.sprj"), blankStations(3));
    openProject(*f, path(QStringLiteral("three.sprj")));
    QVERIFY(f->control<QRadioButton>("RadioButton2")->isEnabled());
    auto *newBranch = f->control<QCheckBox>("CheckBox5");
    QVERIFY(newBranch->isEnabled());
    QVERIFY(!newBranch->isChecked());
    f->placePoints(QPoint(5, 5), QPoint(5, 5));
    f->click("ButtonAdd");
    QCOMPARE(f->document().stations().count(), 4);
    QVERIFY(!f->document().stations().at(2).branchEnd); // the new station continues the branch
    f->click("RadioButton2");
    QCOMPARE(f->session().selected(), 3);
}

void ProjectCommands::saveProjectFailuresAreReported()
{
    addStations(1);
    f->dialogs().answerFile(path(QStringLiteral("good")));
    f->click("ButtonSaveProjectAs");
    const QByteArray saved = TestFiles::bytes(path(QStringLiteral("good.sprj")));
    QCOMPARE(saved.size(), 664 + 308);

    // Text typed into an entry that is not a number never reaches the project: the value in
    // force is saved.
    f->type("EditRightPixels", QStringLiteral("5o"));
    addStations(1);
    f->dialogs().answerFile(path(QStringLiteral("good.sprj")));
    f->click("ButtonSaveProjectAs");
    QCOMPARE(f->dialogs().messages(), QStringList());
    QCOMPARE(ProjectFile::read(path(QStringLiteral("good.sprj"))).header.profileGridPixelsEntry, 5.0);

    // A folder that does not exist is reported, not passed over in silence.
    f->type("EditRightPixels", QStringLiteral("50"));
    f->dialogs().answerFile(path(QStringLiteral("missing/cave.sprj")));
    f->click("ButtonSaveProjectAs");
    QVERIFY(f->dialogs().messages().last().startsWith(QStringLiteral("Не удаётся создать файл ")));
    QVERIFY(!QFile::exists(path(QStringLiteral("missing"))));
}

void ProjectCommands::closeProjectAsksOnlyWithUnsavedStations()
{
    openImages(*f);
    addStations(2);
    auto *planPane = f->control<ImagePane>("ImageLeft");
    f->dialogs().answerQuestion(Answer::Cancel);
    f->click("ButtonCloseProject");
    QCOMPARE(f->document().stations().count(), 2);
    QCOMPARE(planPane->size(), QSize(200, 150));
    QVERIFY(f->document().modified());

    f->dialogs().answerQuestion(Answer::No);
    f->click("ButtonCloseProject");
    QCOMPARE(f->document().stations().count(), 0);
    QCOMPARE(f->dialogs().messages().size(), 2);
    f->click("ButtonCloseProject"); // nothing to ask now
    QCOMPARE(f->dialogs().messages().size(), 2);
    // The next redraw shows the image again at zoom 1, without the closed stations.
    f->click("CheckBoxShowLabels");
    QCOMPARE(planPane->size(), QSize(200, 150));
    QCOMPARE(planPane->snapshot().stations.size(), 0);
    QCOMPARE(f->document().view(ViewSide::Plan).imagePath, path(QStringLiteral("plan.png")));
}

void ProjectCommands::aFileAnotherProgramSavedIsNotReplacedUnasked()
{
    addStations(2);
    f->dialogs().answerFile(path(QStringLiteral("cave")));
    f->click("ButtonSaveProjectAs");
    // Another program saves the project with one station only.
    ProjectContents theirs = ProjectFile::read(path(QStringLiteral("cave.sprj")));
    theirs.stations.assign({theirs.stations.at(0)});
    theirs.header.stationCount = 1;
    ProjectFile::write(path(QStringLiteral("cave.sprj")), theirs);
    const QByteArray theirBytes = TestFiles::bytes(path(QStringLiteral("cave.sprj")));

    addStations(1);
    f->dialogs().answerQuestion(Answer::No);
    QVERIFY(!f->window().projects().save());
    QVERIFY(f->dialogs().shown.last().text.contains(QDir::toNativeSeparators(path(QStringLiteral("cave.sprj")))));
    QCOMPARE(TestFiles::bytes(path(QStringLiteral("cave.sprj"))), theirBytes);
    f->dialogs().answerQuestion(Answer::Yes);
    QVERIFY(f->window().projects().save());
    QCOMPARE(ProjectFile::read(path(QStringLiteral("cave.sprj"))).stations.count(), 3);
    // Saved here last: the next save asks nothing.
    const int shown = f->dialogs().shown.size();
    addStations(1);
    QVERIFY(f->window().projects().save());
    QCOMPARE(f->dialogs().shown.size(), shown);
    QCOMPARE(ProjectFile::read(path(QStringLiteral("cave.sprj"))).stations.count(), 4);
}

void ProjectCommands::aFolderMovedWithItsScansFolderFindsThem()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("job/scans")));
    for (const char *name : {"plan.png", "profile.tif"})
        QVERIFY(QFile::rename(path(QString::fromLatin1(name)), path(QStringLiteral("job/scans/") + QString::fromLatin1(name))));
    f->dialogs().answerFile(path(QStringLiteral("job/scans/plan.png")));
    f->click("OpenLeftBtn");
    f->waitForImages();
    f->dialogs().answerFile(path(QStringLiteral("job/scans/profile.tif")));
    f->click("OpenRightBtn");
    f->waitForImages();
    addStations(1);
    f->dialogs().answerFile(path(QStringLiteral("job/cave.sprj")));
    f->click("ButtonSaveProjectAs");
    QVERIFY(QDir(m_dir.path()).rename(QStringLiteral("job"), QStringLiteral("moved")));

    WindowFixture other;
    openProject(other, path(QStringLiteral("moved/cave.sprj")));
    QCOMPARE(other.dialogs().messages(), QStringList()); // nothing to locate
    QCOMPARE(other.document().view(ViewSide::Plan).imagePath, path(QStringLiteral("moved/scans/plan.png")));
    QCOMPARE(other.document().view(ViewSide::Profile).imagePath, path(QStringLiteral("moved/scans/profile.tif")));
    QCOMPARE(other.document().view(ViewSide::Profile).image.pixel(5, 5), qRgb(90, 60, 230));
}

QTEST_MAIN(ProjectCommands)
#include "test_project_commands.moc"
