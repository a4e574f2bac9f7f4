// The example cave a newcomer starts with: it must open with both drawings from any folder, and
// the survey data files beside it must be what the program exports from it today.
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class ExampleCave : public QObject
{
    Q_OBJECT
private slots:
    void opensWithItsDrawingsFromAnyFolder();
    void exportedFilesAreCurrent_data();
    void exportedFilesAreCurrent();
    void survexAcceptsTheExample();

private:
    static QByteArray run(const QStringList &arguments, int *exitCode);
};

static const QString Examples = QStringLiteral(SPEOMARK_EXAMPLES);

QByteArray ExampleCave::run(const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.start(QStringLiteral(SPEOMARK_EXPORT), arguments);
    process.waitForFinished(60000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

void ExampleCave::opensWithItsDrawingsFromAnyFolder()
{
    // A clone somewhere else: the project and its sheets copied into a fresh folder.
    QTemporaryDir clone;
    for (const char *name : {"uchebnaya.sprj", "uchebnaya-plan.png", "uchebnaya-profile.png"})
        QVERIFY(QFile::copy(QDir(Examples).filePath(QString::fromLatin1(name)),
                            clone.filePath(QString::fromLatin1(name))));
    WindowFixture fixture;
    fixture.window().openProject(clone.filePath(QStringLiteral("uchebnaya.sprj")));
    fixture.waitForImages();
    QCOMPARE(fixture.dialogs().messages(), QStringList());
    const SurveyDocument &document = fixture.document();
    const ViewSettings &plan = document.view(ViewSide::Plan);
    QCOMPARE(document.stations().count(), 31);
    QCOMPARE(plan.imagePath, clone.filePath(QStringLiteral("uchebnaya-plan.png")));
    QVERIFY(!plan.image.isNull() && !document.view(ViewSide::Profile).image.isNull());
    auto *pane = fixture.control<ImagePane>("ImageLeft");
    QCOMPARE(pane->size(), QSize(plan.imageWidth() / 2, plan.imageHeight() / 2));
    QCOMPARE(pane->snapshot().stations.size(), 31);
    // The main passage ends where the side branch starts again from station 8.
    QCOMPARE(document.stations().at(20).label, QStringLiteral("8"));
    QVERIFY(document.stations().at(19).branchEnd);
}

void ExampleCave::exportedFilesAreCurrent_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("file");
    QTest::newRow("survex") << "survex" << "uchebnaya.svx";
    QTest::newRow("lumaro") << "fromto" << "uchebnaya.cav";
}

void ExampleCave::exportedFilesAreCurrent()
{
    QFETCH(QString, format);
    QFETCH(QString, file);
    int exitCode = -1;
    const QByteArray exported =
        run({QStringLiteral("--format"), format, QDir(Examples).filePath(QStringLiteral("uchebnaya.sprj"))}, &exitCode);
    QCOMPARE(exitCode, 0);
    QFile committed(QDir(Examples).filePath(file));
    QVERIFY(committed.open(QIODevice::ReadOnly));
    QCOMPARE(exported, committed.readAll());
}

void ExampleCave::survexAcceptsTheExample()
{
    const QString cavern = QStandardPaths::findExecutable(QStringLiteral("cavern"));
    if (cavern.isEmpty())
        QSKIP("Survex's cavern is not installed");
    QTemporaryDir work;
    QVERIFY(QFile::copy(QDir(Examples).filePath(QStringLiteral("uchebnaya.svx")), work.filePath(QStringLiteral("u.svx"))));
    QProcess process;
    process.setWorkingDirectory(work.path());
    process.start(cavern, {QStringLiteral("-w"), QStringLiteral("u.svx")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(QFile::exists(work.filePath(QStringLiteral("u.3d"))));
}

QTEST_MAIN(ExampleCave)
#include "test_example_cave.moc"
