// A crash loses at most the last five seconds: a program killed while digitising leaves its work
// behind, and the next start offers it back as an unsaved job.
#include "project/ProjectFile.h"
#include "project/RecoveryFile.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <unistd.h>
#include "support/Editors.h"

class Recovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void aKilledProgramsWorkComesBack();
    void onlyUnsavedWorkIsKept();
    void everyJobLeftBehindIsOfferedOnItsOwn();
    void damagedFilesAreReportedOnceAndSetAside();
    void discardingAsksOnceMore();
    void everySheetComesBackAsItWas_data();
    void everySheetComesBackAsItWas();
    void manyJobsAreOneListAndTheWindowKeepsItsOwn();
    void aFolderThatCannotBeWrittenStillOffersItsWork();

private:
    // A job as a window that crashed leaves it: `count` stations, belonging to a project file or
    // to none. Returns the recovery file's path.
    static QString leaveJob(int count, const QString &projectPath);
    static QStringList recoveryFiles(const QString &pattern = QStringLiteral("recovery-*.sprj"));

    QTemporaryDir m_data;
};

QString Recovery::leaveJob(int count, const QString &projectPath)
{
    SurveyDocument document;
    EditSession session;
    std::vector<Station> stations(size_t(count), Station{});
    for (int i = 0; i < count; ++i)
        stations[size_t(i)].planX = stations[size_t(i)].planXMetres = float(3 * i);
    document.editStations([&](StationTable &table) { table.assign(stations); });
    session.setProject(projectPath, true);
    RecoveryFile file(RecoveryFile::defaultFolder());
    file.write(document, session);
    return file.path();
} // the file object goes without removing its file, as a crash leaves it

QStringList Recovery::recoveryFiles(const QString &pattern)
{
    QStringList files = QDir(RecoveryFile::defaultFolder()).entryList({pattern}, QDir::Files, QDir::Time | QDir::Reversed);
    return files;
}

void Recovery::init()
{
    QDir(RecoveryFile::defaultFolder()).removeRecursively();
}

void Recovery::initTestCase()
{
    QVERIFY(m_data.isValid());
    QCoreApplication::setApplicationName(QStringLiteral("Speomark"));
    QCoreApplication::setOrganizationName(QStringLiteral("Speomark"));
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
}

void Recovery::aKilledProgramsWorkComesBack()
{
    QProcess child;
    child.setProgram(QStringLiteral(RECOVERY_CHILD));
    child.start();
    QVERIFY(child.waitForStarted());
    QByteArray said;
    QElapsedTimer clock;
    clock.start();
    while (!said.contains("more") && clock.elapsed() < 30000) {
        child.waitForReadyRead(1000);
        said += child.readAllStandardOutput();
    }
    QVERIFY2(said.contains("more"), said.constData());
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished());

    const QList<RecoveryFile::Left> left = RecoveryFile::leftBehind(RecoveryFile::defaultFolder());
    QCOMPARE(left.size(), 1);
    qInfo("recovery file written %lld ms before the kill",
          (long long)left.first().savedAt.msecsTo(QDateTime::currentDateTimeUtc()));

    WindowFixture f;
    f.dialogs().answerQuestion(Answer::Yes);
    QVERIFY(f.window().offerRecovery());
    QVERIFY(f.dialogs().shown.first().text.startsWith(QStringLiteral("Восстановить несохранённую работу от ")));
    const StationTable &stations = f.document().stations();
    QVERIFY(stations.count() >= 2); // C may have made it or not
    QCOMPARE(stations.at(1).label, QStringLiteral("B"));
    QCOMPARE(stations.at(1).comment, QStringLiteral("note B"));
    QCOMPARE(f.document().orientationEntry(), QStringLiteral("12.5"));
    if (stations.count() == 2) { // the pending station as it stood
        QCOMPARE(f.session().labelEntry(), QStringLiteral("C typed"));
        QVERIFY(f.session().pointPlaced(ViewSide::Plan));
        QCOMPARE(stations.pending().planX, 70.0f);
    }
    QVERIFY(f.document().modified());
    QVERIFY(f.session().projectPath().isEmpty());
    QCOMPARE(f.window().windowTitle(), QStringLiteral("Без имени* - Speomark"));
    // Taken up once; the window now keeps its own.
    QVERIFY(RecoveryFile::leftBehind(RecoveryFile::defaultFolder()).isEmpty());
    QVERIFY(!f.window().offerRecovery());
}

void Recovery::onlyUnsavedWorkIsKept()
{
    // A job with nothing unsaved leaves no file, so a crash then asks no question.
    const auto files = [] {
        return QDir(RecoveryFile::defaultFolder()).entryList({QStringLiteral("recovery-*.sprj")}, QDir::Files);
    };
    WindowFixture f;
    f.window().recovery().write();
    QVERIFY(files().isEmpty());
    f.fillStations(2);
    f.window().recovery().write();
    QCOMPARE(files().size(), 1);
}

// Two programs crashed: each job is offered with its project and station count, each comes back
// (the second in a window of its own), and the one that belonged to a project saves there.
void Recovery::everyJobLeftBehindIsOfferedOnItsOwn()
{
    const QString project = QDir(m_data.path()).filePath(QStringLiteral("cave.sprj"));
    leaveJob(3, project);
    leaveJob(5, QString());
    WindowFixture f;
    std::unique_ptr<WindowFixture> second;
    f.window().setWindowOpener([&] {
        second = std::make_unique<WindowFixture>();
        return &second->window();
    });
    f.dialogs().answerRecoveries({RecoveryChoice::Recover, RecoveryChoice::Recover});
    QVERIFY(f.window().offerRecovery());
    QVERIFY(f.dialogs().shown.isEmpty()); // one list, no question per job
    QCOMPARE(f.dialogs().recoveryLists.size(), 1);
    const QList<LeftBehindJob> &jobs = f.dialogs().recoveryLists.first();
    QCOMPARE(jobs.size(), 2);
    const LeftBehindJob &withPath = jobs[0].stationCount == 3 ? jobs[0] : jobs[1];
    QCOMPARE(withPath.project, QDir::toNativeSeparators(project));
    QCOMPARE(jobs[0].stationCount + jobs[1].stationCount, 8);
    // The time in the interface's language, not the desktop's.
    QVERIFY2(withPath.savedAt.contains(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}"))),
             qPrintable(withPath.savedAt));
    QVERIFY(second);
    WindowFixture &withProject = f.document().stations().count() == 3 ? f : *second;
    WindowFixture &newJob = &withProject == &f ? *second : f;
    QCOMPARE(withProject.document().stations().count(), 3);
    QCOMPARE(newJob.document().stations().count(), 5);
    QCOMPARE(withProject.session().projectPath(), project);
    QCOMPARE(withProject.window().windowTitle(), QStringLiteral("cave.sprj* - Speomark"));
    QVERIFY(newJob.session().projectPath().isEmpty());
    QCOMPARE(recoveryFiles().size(), 2); // each window keeps its own now
    QVERIFY(RecoveryFile::leftBehind(RecoveryFile::defaultFolder()).isEmpty());

    QVERIFY(withProject.window().projects().save()); // Ctrl+S: no name asked
    QCOMPARE(withProject.dialogs().fileDialogsShown(), 0);
    QCOMPARE(ProjectFile::read(project).stations.count(), 3);
    QVERIFY(!withProject.window().recovery().exists());
}

void Recovery::damagedFilesAreReportedOnceAndSetAside()
{
    // Cut in the station records, cut in the optional block, and no project at all.
    QFile stations(leaveJob(2, QString()));
    QVERIFY(stations.resize(664 + 300));
    QFile block(leaveJob(2, QString()));
    QVERIFY(block.resize(block.size() - 10));
    QFile junk(QDir(RecoveryFile::defaultFolder()).filePath(QStringLiteral("recovery-9.sprj")));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a project") > 0);
    junk.close();

    WindowFixture f;
    QVERIFY(!f.window().offerRecovery());
    const QStringList messages = f.dialogs().messages();
    QCOMPARE(messages.size(), 3);
    for (const QString &message : messages)
        QVERIFY2(message.contains(QStringLiteral("-damaged-")), qPrintable(message));
    QCOMPARE(recoveryFiles(QStringLiteral("recovery-*-damaged-*.sprj")).size(), 3);
    QVERIFY(RecoveryFile::leftBehind(RecoveryFile::defaultFolder()).isEmpty());
    QVERIFY(f.document().stations().isEmpty());

    WindowFixture again;
    QVERIFY(!again.window().offerRecovery());
    QVERIFY(again.dialogs().shown.isEmpty());
}

void Recovery::discardingAsksOnceMore()
{
    leaveJob(4, QString());
    {
        WindowFixture f;
        f.dialogs().answerQuestion(Answer::No); // not now ...
        f.dialogs().answerQuestion(Answer::No); // ... and not for good either
        QVERIFY(!f.window().offerRecovery());
        QCOMPARE(f.dialogs().shown.size(), 2);
    }
    QCOMPARE(RecoveryFile::leftBehind(RecoveryFile::defaultFolder()).size(), 1);
    WindowFixture f;
    f.dialogs().answerQuestion(Answer::No);
    f.dialogs().answerQuestion(Answer::Yes);
    QVERIFY(!f.window().offerRecovery());
    QVERIFY(RecoveryFile::leftBehind(RecoveryFile::defaultFolder()).isEmpty());
    QVERIFY(f.document().stations().isEmpty());
}

// A job over five sheets, edited on whichever sheet is shown, comes back with each sheet exactly as
// it was, whichever sheet the recovered window shows first.
void Recovery::everySheetComesBackAsItWas_data()
{
    QTest::addColumn<int>("edit");
    QTest::newRow("north typed on the second plan sheet") << 0;
    QTest::newRow("grid entries typed on the third plan sheet") << 1;
    QTest::newRow("north typed on a plan sheet put away since") << 2;
    QTest::newRow("scale set on the second profile sheet") << 3;
    QTest::newRow("a scan page chosen on the second plan sheet") << 4;
}

void Recovery::everySheetComesBackAsItWas()
{
    QFETCH(int, edit);
    Editors e;
    const SheetId plan2 = e.document.addSheet(SheetKind::Plan, QStringLiteral("Центр"));
    const SheetId plan3 = e.document.addSheet(SheetKind::Plan, QStringLiteral("Восток"));
    const SheetId profile2 = e.document.addSheet(SheetKind::Profile);
    e.document.showSheet(ViewSide::Plan, plan2);
    e.document.showSheet(ViewSide::Profile, profile2);
    e.document.setGridEntries(ViewSide::Plan, QStringLiteral("20"), QStringLiteral("200"));
    e.stations.placePoint(ViewSide::Plan, {10, 10});
    e.stations.placePoint(ViewSide::Profile, {10, 10});
    e.stations.add(QStringLiteral("A"), QString());
    switch (edit) {
    case 0: e.document.setOrientationEntry(QStringLiteral("40")); break;
    case 1:
        e.document.showSheet(ViewSide::Plan, plan3);
        e.document.setGridEntries(ViewSide::Plan, QStringLiteral("5"), QStringLiteral("123"));
        break;
    case 2:
        e.document.showSheet(ViewSide::Plan, plan3);
        e.document.setOrientationEntry(QStringLiteral("-12.75"));
        e.document.showSheet(ViewSide::Plan, plan2);
        break;
    case 3: e.document.editView(ViewSide::Profile, [](ViewSettings &v) { v.calibration = {0.125, 40.0}; }); break;
    case 4: e.document.editView(ViewSide::Plan, [](ViewSettings &v) { v.imagePath = "/no/cave.pdf"; v.pdfPage = 3; v.pdfDotsPerInch = 450; }); break;
    }
    e.session.setProject(QString(), true);
    {
        RecoveryFile file(RecoveryFile::defaultFolder());
        file.write(e.document, e.session);
    } // as a crash leaves it

    const QList<RecoveryFile::Left> left = RecoveryFile::leftBehind(RecoveryFile::defaultFolder());
    QCOMPARE(left.size(), 1);
    const ProjectContents contents = ProjectFile::read(left.first().path);
    Editors back;
    contents.applyTo(back.document);
    RecoveryFile::restoreEditing(contents, back.document, back.session);
    QCOMPARE(back.document.shownSheet(ViewSide::Plan), e.document.sheetsOf(SheetKind::Plan).front());
    const std::vector<SheetSettings> before = e.document.undoableSettings().sheets;
    const std::vector<SheetSettings> after = back.document.undoableSettings().sheets;
    QCOMPARE(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        QCOMPARE(after[i].id, before[i].id);
        QCOMPARE(after[i].north.text(), before[i].north.text());
        QCOMPARE(after[i].gridMetresEntry, before[i].gridMetresEntry);
        QCOMPARE(after[i].gridPixelsEntry, before[i].gridPixelsEntry);
        QCOMPARE(after[i].calibration, before[i].calibration);
        QCOMPARE(after[i].scan(), before[i].scan());
    }
    QCOMPARE(back.document.stations().at(0).planSheet, plan2);
    QCOMPARE(back.document.stations().at(0).profileSheet, profile2);
}

// Many crashed jobs are one list; whatever is kept, the running window still gets a file of its
// own, so a crash now loses nothing either.
void Recovery::manyJobsAreOneListAndTheWindowKeepsItsOwn()
{
    for (int i = 0; i < 20; ++i)
        leaveJob(i + 1, QString());
    WindowFixture f;
    QList<RecoveryChoice> choices(20, RecoveryChoice::Keep);
    choices[3] = RecoveryChoice::Discard;
    choices[5] = RecoveryChoice::Recover;
    f.dialogs().answerRecoveries(choices);
    QVERIFY(f.window().offerRecovery());
    QCOMPARE(f.dialogs().recoveryLists.size(), 1);
    QCOMPARE(f.dialogs().recoveryLists.first().size(), 20);
    QVERIFY(f.dialogs().shown.isEmpty()); // no question per file
    QCOMPARE(f.document().stations().count(), f.dialogs().recoveryLists.first()[5].stationCount);
    QCOMPARE(RecoveryFile::leftBehind(RecoveryFile::defaultFolder()).size(), 18);
    f.fillStations(2);
    f.window().recovery().write();
    QVERIFY(f.window().recovery().exists());
}

void Recovery::aFolderThatCannotBeWrittenStillOffersItsWork()
{
    if (::geteuid() == 0)
        QSKIP("the superuser writes any folder");
    leaveJob(3, QString());
    const QString folder = RecoveryFile::defaultFolder();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QList<RecoveryFile::Left> left = RecoveryFile::leftBehind(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(left.size(), 1);
    QVERIFY(left.first().readOnly);
    QCOMPARE(left.first().stationCount, 3);
}

QTEST_MAIN(Recovery)
#include "test_recovery.moc"
