// speomark-export --format csv and --check as a user runs them: the expected files beside the
// fixture projects, byte for byte, the exit status, the tolerance, and what wrong usage says.
#include "support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

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

QString data(const QString &name) { return TestFiles::dataPath(name); }
QString example(const QString &name) { return QDir(QStringLiteral(SPEOMARK_EXAMPLES)).filePath(name); }

} // namespace

class CheckExportTest : public QObject
{
    Q_OBJECT
private slots:
    void writesTheExpectedFiles_data();
    void writesTheExpectedFiles();
    void writesTheReportToAFileAndStillSaysSo();
    void keepsThePointInACommaLocale();
    void refusesWrongUsage_data();
    void refusesWrongUsage();
};

void CheckExportTest::writesTheExpectedFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("exitCode");
    for (const char *name : {"loop", "branches", "branches-noprofile"}) {
        const QString project = data(QStringLiteral("checks/%1.sprj").arg(QLatin1String(name)));
        QTest::addRow("%s csv", name) << QStringList{"--format", "csv", project}
                                      << data(QStringLiteral("checks/%1.csv").arg(QLatin1String(name))) << 0;
        QTest::addRow("%s check", name) << QStringList{"--check", project}
                                        << data(QStringLiteral("checks/%1.check.txt").arg(QLatin1String(name)))
                                        << 3;
    }
    // The rule of 0.5 m or 5 % lets the planted misclosure through, 1 % flags it; the style
    // changes nothing in the CSV.
    QTest::newRow("loop rule") << QStringList{"--check", "--tolerance", "0.5,5", data("checks/loop.sprj")}
                               << data("checks/loop.rule.check.txt") << 0;
    QTest::newRow("loop tight") << QStringList{"--check", "--tolerance", "0.5,1", data("checks/loop.sprj")}
                                << data("checks/loop.tight.check.txt") << 3;
    QTest::newRow("zero leg csv") << QStringList{"--format=csv", "--style=depthchange", data("zero-leg.sprj")}
                                  << data("checks/zero-leg.csv") << 0;
    QTest::newRow("zero leg check") << QStringList{"--check", data("zero-leg.sprj")} << data("checks/zero-leg.check.txt")
                                    << 3;
    QTest::newRow("cyrillic csv") << QStringList{"--format", "csv", data("cyrillic.sprj")} << data("checks/cyrillic.csv")
                                  << 0;
    QTest::newRow("example csv") << QStringList{"--format", "csv", example("uchebnaya.sprj")}
                                 << example("uchebnaya-legs.csv") << 0;
    QTest::newRow("example check") << QStringList{"--check", example("uchebnaya.sprj")}
                                   << example("uchebnaya-check.txt") << 0;
}

void CheckExportTest::writesTheExpectedFiles()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    QFETCH(int, exitCode);
    const Run result = run(arguments);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.out, TestFiles::bytes(expected));
}

void CheckExportTest::writesTheReportToAFileAndStillSaysSo()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.txt"));
    const Run result = run({"--check", "-o", path, data("checks/branches.sprj")});
    QCOMPARE(result.exitCode, 3);
    QCOMPARE(result.out, QByteArray());
    QCOMPARE(TestFiles::bytes(path), TestFiles::dataBytes(QStringLiteral("checks/branches.check.txt")));
}

void CheckExportTest::keepsThePointInACommaLocale()
{
    QTemporaryDir locales;
    QProcess localedef;
    localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", locales.filePath("de_DE.UTF-8")});
    if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0)
        QSKIP("localedef cannot make de_DE.UTF-8 (Debian package locales)");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LOCPATH", locales.path());
    environment.insert("LC_ALL", "de_DE.UTF-8");
    for (const char *mode : {"--format=csv", "--check"}) {
        const Run result = run({mode, data("checks/branches.sprj")}, environment);
        QCOMPARE(result.err, QString());
        QCOMPARE(result.out, TestFiles::dataBytes(QLatin1String(mode) == QLatin1String("--check")
                                                      ? QStringLiteral("checks/branches.check.txt")
                                                      : QStringLiteral("checks/branches.csv")));
    }
}

void CheckExportTest::refusesWrongUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("problem");
    const QString project = data("checks/loop.sprj");
    for (const char *tolerance : {"0.5", "0,5,5", "0.5;5", "-1,5", "0.5,nan", "inf,5", "0.5,", "0px", "-2px", "nanpx",
                                  "3px,0.5", "3 px,0.5,5,1", "px"})
        QTest::addRow("tolerance %s", tolerance)
            << QStringList{"--check", "--tolerance", tolerance, project}
            << QStringLiteral("--tolerance must be pixels such as 3px, metres and percent such as 0.5,5, or both such as "
                              "3px,0.5,5, not '%1'")
                   .arg(QLatin1String(tolerance));
    QTest::newRow("check and format") << QStringList{"--check", "--format", "csv", project}
                                      << "--check writes the check's report; it takes no --format";
}

void CheckExportTest::refusesWrongUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, problem);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QByteArray());
    // The problem, then the usage line (whose every word test_export checks).
    QCOMPARE(result.err.section(QLatin1Char('\n'), 0, 0), QStringLiteral("speomark-export: %1").arg(problem));
    QVERIFY(result.err.section(QLatin1Char('\n'), 1).startsWith(QStringLiteral("Usage: speomark-export ")));
}

QTEST_GUILESS_MAIN(CheckExportTest)
#include "test_check_export.moc"
