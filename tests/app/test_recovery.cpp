// A crash loses at most the last five seconds: a program killed while digitising leaves its work
// behind, and the next start offers it back as an unsaved job.
#include "project/RecoveryFile.h"
#include "support/WindowFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

class Recovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void aKilledProgramsWorkComesBack();
    void onlyUnsavedWorkIsKept();

private:
    QTemporaryDir m_data;
};

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
    QCOMPARE(labelText(stations.at(1)), QStringLiteral("B"));
    QCOMPARE(commentText(stations.at(1)), QStringLiteral("note B"));
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

QTEST_MAIN(Recovery)
#include "test_recovery.moc"
