// speomark-export as a user runs it: exact bytes on standard output or in a file, defaults from
// the project, and what it says and returns on bad projects, bad legs and wrong usage.
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

QString data(const QString &name) { return TestFiles::dataPath(name); }
QByteArray dataFile(const QString &name) { return TestFiles::dataBytes(name); }

Run run(const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SPEOMARK_EXPORT), arguments);
    Run result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

} // namespace

class ExportTest : public QObject
{
    Q_OBJECT
private slots:
    void writesTheTextOnStandardOutput_data();
    void writesTheTextOnStandardOutput();
    void writesLegsOfNoLength_data();
    void writesLegsOfNoLength();
    void writesTheSameBytesToAFile();
    void turnsTheCompassByTheOrientation();
    void keepsThePointInACommaLocale();
    void failsWithoutWritingAnything_data();
    void failsWithoutWritingAnything();
    void aFileSizeLimitIsAFailedWrite();
    void refusesWrongUsage_data();
    void refusesWrongUsage();
    void explainsEveryOption();
};

void ExportTest::writesTheTextOnStandardOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    for (const char *format : {"label", "fromto", "survex"}) {
        for (const char *style : {"angle", "depthchange"}) {
            const QString suffix = QLatin1String(format) == QLatin1String("survex") ? ".svx" : ".cav";
            QTest::addRow("%s %s", format, style)
                << QStringList{"--format", format, "--style", style, data("five-stations.sprj")}
                << QStringLiteral("five-stations.%1-%2%3").arg(format, style, suffix);
        }
    }
    // Without options the project's own format and style apply (Label/Angle, FromTo/Angle).
    QTest::newRow("defaults five") << QStringList{data("five-stations.sprj")} << "five-stations.label-angle.cav";
    QTest::newRow("defaults cyrillic") << QStringList{data("cyrillic.sprj")} << "cyrillic.fromto-angle.cav";
    QTest::newRow("cyrillic label depth")
        << QStringList{"--style=depthchange", "--format=label", data("cyrillic.sprj")} << "cyrillic.label-depthchange.cav";
}

void ExportTest::writesLegsOfNoLength_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");
    // P3 stands where P2 does: the leg is written as nothing at all, in both styles.
    QTest::newRow("angle") << QStringList{data("zero-leg.sprj")}
                           << QByteArray("#from_to\r\nP1\tP2\t1.00\t90.00\t0.00\t\r\nP2\tP3\t0.00\t0.00\t0.00\t\r\n");
    QTest::newRow("depth change") << QStringList{"--style", "depthchange", "--format", "survex", data("zero-leg.sprj")}
                                  << QByteArray("*begin\r\n*data diving from to tape compass depthchange\r\n"
                                                "P1\tP2\t1.00\t90.00\t0.00\t\r\nP2\tP3\t0.00\t0.00\t0.00\t\r\n*end\r\n");
}

void ExportTest::writesLegsOfNoLength()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    const Run result = run(arguments);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, expected);
}

void ExportTest::writesTheTextOnStandardOutput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const Run result = run(arguments);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, dataFile(expected));
}

void ExportTest::writesTheSameBytesToAFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("out.svx"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4000, 'x'));
    old.close();
    const Run result = run({"-o", path, "--format", "survex", data("five-stations.sprj")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), dataFile("five-stations.survex-angle.svx"));
}

void ExportTest::turnsTheCompassByTheOrientation()
{
    const Run turned = run({"--format", "fromto", "--orientation", "-90", data("five-stations.sprj")});
    QCOMPARE(turned.exitCode, 0);
    QCOMPARE(turned.out, QByteArray("#from_to\r\nA\tB\t5.00\t126.87\t0.00\t\r\nB\tC\t6.32\t90.00\t-18.43\t\r\n"
                                    "B\tD\t5.00\t180.00\t36.87\t ; sump\r\n"));
}

void ExportTest::keepsThePointInACommaLocale()
{
    QTemporaryDir locales;
    QProcess localedef;
    localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath("de_DE.UTF-8")});
    if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0)
        QSKIP("localedef cannot make de_DE.UTF-8 (Debian package locales)");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LOCPATH", locales.path());
    environment.insert("LC_ALL", "de_DE.UTF-8");
    const Run result = run({"--orientation", "12.5", "--style", "depthchange", data("five-stations.sprj")}, environment);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.out, QByteArray("#label\r\n#fall\r\n ^A ; entrance\r\n5.00\t24.37\t0.00\t ^B\r\n"
                                    "6.32\t347.50\t-2.00\t ^C #end\r\n ^B\r\n5.00\t77.50\t3.00\t ^D #end ; sump\r\n"));
}

void ExportTest::failsWithoutWritingAnything_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing project") << "/nonexistent/cave.sprj"
                                     << "speomark-export: Cannot open project file /nonexistent/cave.sprj: No such file "
                                        "or directory.\n";
    QTest::newRow("short project") << "SHORT"
                                   << "speomark-export: Project file SHORT cannot be used: it is 663 bytes long, shorter "
                                      "than the 664-byte header.\n";
}

void ExportTest::failsWithoutWritingAnything()
{
    QFETCH(QString, project);
    QFETCH(QString, message);
    QTemporaryDir folder;
    if (project == QLatin1String("SHORT")) {
        const QString path = folder.filePath("short.sprj");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(dataFile("empty.sprj").left(663));
        project = path;
        message.replace("SHORT", path);
    }
    const Run toStdout = run({project});
    QCOMPARE(toStdout.exitCode, 1);
    QCOMPARE(toStdout.out, QByteArray());
    QCOMPARE(toStdout.err, message);

    const QString output = folder.filePath("out.cav");
    const Run toFile = run({"-o", output, project});
    QCOMPARE(toFile.exitCode, 1);
    QCOMPARE(toFile.out, QByteArray());
    QVERIFY(!QFile::exists(output));

    // An output folder that does not exist is also a failure, reported as such.
    const Run nowhere = run({"-o", "/nonexistent/out.cav", data("five-stations.sprj")});
    QCOMPARE(nowhere.exitCode, 1);
    QVERIFY2(nowhere.err.startsWith("speomark-export: Cannot create file /nonexistent/out.cav: "), qPrintable(nowhere.err));
}

void ExportTest::aFileSizeLimitIsAFailedWrite()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("out.svx");
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(4000, 'x')) == 4000);
    old.close();
    QProcess process;
    process.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_DFL); // as a shell with "ulimit -f" leaves it: the signal kills
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(QStringLiteral(SPEOMARK_EXPORT), {"-o", path, "--format", "survex", data("five-stations.sprj")});
    QVERIFY(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit);
    QCOMPARE(process.readAllStandardError(), "speomark-export: Cannot write file " + path.toLocal8Bit()
                                                 + ": File too large. Any earlier file of that name is unchanged.\n");
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(TestFiles::bytes(path), QByteArray(4000, 'x'));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"out.svx"});
}

void ExportTest::refusesWrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("problem");
    const QString project = data("five-stations.sprj");
    QTest::newRow("no project") << QStringList{} << "no project file given";
    QTest::newRow("two projects") << QStringList{project, project} << "only one project file can be exported";
    QTest::newRow("unknown option") << QStringList{"--colour", project} << "Unknown option 'colour'.";
    QTest::newRow("bad format") << QStringList{"--format", "cvs", project}
                                << "--format must be label|fromto|survex|csv|therion|compass|espec, not 'cvs'";
    QTest::newRow("bad style") << QStringList{"--style", "clino", "/nonexistent.sprj"}
                               << "--style must be angle|depthchange, not 'clino'";
    QTest::newRow("bad orientation") << QStringList{"--orientation", "12,5", project}
                                     << "--orientation must be a number of degrees such as 12.5, not '12,5'";
    QTest::newRow("infinite orientation") << QStringList{"--orientation", "inf", project}
                                          << "--orientation must be a number of degrees such as 12.5, not 'inf'";
    QTest::newRow("missing value") << QStringList{project, "-o"} << "Missing value after '-o'.";
}

void ExportTest::refusesWrongUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, problem);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(result.err, QStringLiteral("speomark-export: %1\nUsage: speomark-export [--format label|fromto|survex|csv|therion|compass|espec] "
                                        "[--style angle|depthchange] [--orientation DEG] [--check] [--tolerance Npx,M,P] "
                                        "[-o FILE] PROJECT.sprj\n")
                             .arg(problem));
}

void ExportTest::explainsEveryOption()
{
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    QVERIFY(text.startsWith("Usage: speomark-export [--format label|fromto|survex|csv|therion|compass|espec]"));
    for (const char *option : {"--format <FORMAT>", "--style <angle|depthchange>", "--orientation <DEG>",
                               "--check", "--tolerance <Npx,M,P>", "-o, --output <FILE>", "-h, --help", "PROJECT.sprj",
                               "Exit status"})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

QTEST_GUILESS_MAIN(ExportTest)
#include "test_export.moc"
