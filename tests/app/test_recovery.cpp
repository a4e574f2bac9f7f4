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
    f.window().writeRecovery();
    QVERIFY(files().isEmpty());
    f.fillStations(2);
    f.window().writeRecovery();
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
    f.dialogs().answerQuestion(Answer::Yes);
    f.dialogs().answerQuestion(Answer::Yes);
    QVERIFY(f.window().offerRecovery());
    QCOMPARE(f.dialogs().shown.size(), 2);
    const QString offers = f.dialogs().shown[0].text + f.dialogs().shown[1].text;
    QVERIFY2(offers.contains(QDir::toNativeSeparators(project) + QStringLiteral(": 3 пикета")), qPrintable(offers));
    QVERIFY2(offers.contains(QStringLiteral(": 5 пикетов")), qPrintable(offers));
    // The time in the interface's language, not the desktop's.
    QVERIFY2(offers.contains(QRegularExpression(QStringLiteral("от \\d\\d\\.\\d\\d\\.\\d{4}"))), qPrintable(offers));
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

    QVERIFY(withProject.window().saveProject()); // Ctrl+S: no name asked
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

QTEST_MAIN(Recovery)
#include "test_recovery.moc"
