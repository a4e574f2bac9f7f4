// The example cave a newcomer starts with: it must open with both drawings from any folder, and
// the survey data files beside it must be what the program exports from it today.
#include "support/SurveyReaders.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"
#include "stations/PassageWalls.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

class ExampleCave : public QObject
{
    Q_OBJECT
private slots:
    void opensWithItsDrawingsFromAnyFolder();
    void exportedFilesAreCurrent_data();
    void exportedFilesAreCurrent();
    void survexAcceptsTheExample();
    void theExampleOverFiveSheetsIsTheSameCave();
    void wallsFoundOnItsDrawingsAreTheNotedOnes();

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
    // A cross-section at every table entry: each station's noted passage reached the model.
    process.start(QStringLiteral("dump3d"), {work.filePath(QStringLiteral("u.3d"))});
    QVERIFY(process.waitForFinished(60000));
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    QCOMPARE(std::count_if(lines.cbegin(), lines.cend(), [](const QByteArray &line) { return line.startsWith("XSECT "); }),
             31);
}

// The example drawn over three plan and two profile sheets, at their own scales and norths: its
// survey places every station within 0.05 m of the one-sheet example's, and it opens in the
// window showing its first sheets, the others a tab away.
void ExampleCave::theExampleOverFiveSheetsIsTheSameCave()
{
    if (QStandardPaths::findExecutable(QStringLiteral("cavern")).isEmpty())
        QSKIP("Survex's cavern is not installed");
    QTemporaryDir work;
    QHash<QString, SurveyReaders::Position> placed[2];
    for (int i = 0; i < 2; ++i) {
        int status = -1;
        const QByteArray svx = run({QStringLiteral("--format"), QStringLiteral("survex"),
                                    QDir(Examples).filePath(i == 0 ? QStringLiteral("uchebnaya.sprj")
                                                                   : QStringLiteral("uchebnaya-sheets.sprj"))},
                                   &status);
        QCOMPARE(status, 0);
        QDir(work.path()).mkdir(QString::number(i));
        QString problem;
        placed[i] = SurveyReaders::cavernPositions(svx, work.filePath(QString::number(i)), &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    QCOMPARE(placed[1].size(), 30);
    QCOMPARE(placed[1].keys(), placed[0].keys());
    for (auto it = placed[0].cbegin(); it != placed[0].cend(); ++it) {
        const SurveyReaders::Position p = placed[1].value(it.key());
        QVERIFY2(std::hypot(std::hypot(p.x - it->x, p.y - it->y), p.z - it->z) < 0.05, qPrintable(it.key()));
    }

    WindowFixture f;
    f.window().openProject(QDir(Examples).filePath(QStringLiteral("uchebnaya-sheets.sprj")));
    f.waitForImages();
    QCOMPARE(f.dialogs().messages(), QStringList());
    QCOMPARE(f.document().sheets().size(), size_t(5));
    QCOMPARE(f.document().sheetName(f.document().shownSheet(ViewSide::Plan)), QStringLiteral("Запад"));
    QVERIFY(!f.document().view(ViewSide::Plan).image.isNull());
    f.window().sheets().show(ViewSide::Plan, 1); // its scan is read when it is shown, in the background
    f.waitForImages();
    QCOMPARE(f.document().view(ViewSide::Plan).image.size(), QImage(QDir(Examples).filePath(QStringLiteral("uchebnaya-sheet-2.png"))).size());
    QVERIFY(!f.document().sheet(0).image.isNull()); // the one put away stays, to come back at once
    QVERIFY(!f.session().projectChanged()); // looking at another sheet is nothing to save
    QCOMPARE(f.dialogs().messages(), QStringList());
}

// The walls the drawings show, found without the noted values: within two pixels (0.2 m) of the
// values the survey noted for most of them, and none found far off.
void ExampleCave::wallsFoundOnItsDrawingsAreTheNotedOnes()
{
    WindowFixture fixture;
    fixture.window().openProject(QDir(Examples).filePath(QStringLiteral("uchebnaya.sprj")));
    fixture.waitForImages();
    const StationTable noted =
        ProjectFile::read(QDir(Examples).filePath(QStringLiteral("uchebnaya.sprj"))).survey().stations;
    fixture.document().editStations([](StationTable &table) {
        for (int i = 0; i < table.count(); ++i)
            table.at(i).dimensions = {};
    });
    int close = 0, empty = 0, far = 0, values = 0;
    for (int i = 0; i < noted.count(); ++i) {
        PassageDimensions found = PassageWalls::found(fixture.document(), i);
        PassageDimensions truth = noted.at(i).dimensions;
        for (const PassageWalls::Wall wall : {PassageWalls::Wall::Left, PassageWalls::Wall::Right,
                                              PassageWalls::Wall::Up, PassageWalls::Wall::Down}) {
            const std::optional<double> value = PassageWalls::valueOf(found, wall), expected = PassageWalls::valueOf(truth, wall);
            ++values;
            if (!value)
                ++empty;
            else if (std::fabs(*value - *expected) <= 0.2)
                ++close;
            else
                ++far;
        }
    }
    qInfo("walls: %d of %d within 0.2 m, %d empty, %d further off", close, values, empty, far);
    QVERIFY(close >= values * 6 / 10);
    QVERIFY(far <= values / 5);
}

QTEST_MAIN(ExampleCave)
#include "test_example_cave.moc"
