// A real reader agrees: Survex's cavern accepts the exported .svx files, and the station positions
// it computes match the stations' metre coordinates within the rounding of two decimals.
#include "output/SurveyText.h"
#include "support/TestFiles.h"
#include "project/ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QVector3D>
#include <cmath>

namespace {

QString data(const QString &name) { return TestFiles::dataPath(name); }

QString runTool(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    *exitCode = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

struct Expected
{
    double east, north, up;
    double tolerance; // grows along the legs from the station cavern fixes
};

// Where each named station must lie: east = plan x, north = -plan y, up = -profile y, relative to
// station 0 (cavern fixes the first station it meets), turned so north is where the plan says.
QHash<QString, Expected> expectedPositions(const ProjectContents &project, double orientationDeg)
{
    const std::vector<Station> s(project.stations.data(), project.stations.data() + project.stations.count());
    const double turn = orientationDeg * M_PI / 180.0;
    QHash<QString, Expected> result;
    auto place = [&](int i, double tolerance) {
        const QString name = QString::fromLatin1(SurveyText::stationName(s[size_t(i)], i)).toLower();
        if (result.contains(name))
            return; // a new branch repeats the name of a station already placed
        const double x = double(s[size_t(i)].planXMetres) - double(s[0].planXMetres);
        const double n = -(double(s[size_t(i)].planYMetres) - double(s[0].planYMetres));
        result.insert(name, {x * std::cos(turn) - n * std::sin(turn), n * std::cos(turn) + x * std::sin(turn),
                             -(double(s[size_t(i)].profileYMetres) - double(s[0].profileYMetres)), tolerance});
    };
    // Each leg adds the rounding of its tape and third value (0.005 each) and of its two angles
    // (0.005 degrees each) to its far end's error.
    place(0, 0.0);
    QHash<QString, double> reach;
    reach.insert(QString::fromLatin1(SurveyText::stationName(s[0], 0)).toLower(), 0.0);
    for (size_t j = 1; j < s.size(); ++j) {
        const QString from = QString::fromLatin1(SurveyText::stationName(s[j - 1], int(j - 1))).toLower();
        if (s[j - 1].branchEnd != 0 || !reach.contains(from))
            continue;
        const double dx = double(s[j].planXMetres) - double(s[j - 1].planXMetres);
        const double dy = double(s[j].planYMetres) - double(s[j - 1].planYMetres);
        const double dz = double(s[j].profileYMetres) - double(s[j - 1].profileYMetres);
        const double tape = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double tolerance = reach.value(from) + 0.0075 + tape * 2.0 * (0.005 * M_PI / 180.0);
        const QString to = QString::fromLatin1(SurveyText::stationName(s[j], int(j))).toLower();
        if (!reach.contains(to))
            reach.insert(to, tolerance);
        place(int(j), tolerance);
    }
    for (auto it = result.begin(); it != result.end(); ++it)
        it->tolerance = reach.value(it.key()) + 0.01; // and the two decimals of the positions read back
    return result;
}

} // namespace

class SurvexAgreementTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cavernPlacesEveryStation_data();
    void cavernPlacesEveryStation();

private:
    QString m_cavern;
    QString m_survexport;
};

void SurvexAgreementTest::initTestCase()
{
    m_cavern = QStandardPaths::findExecutable(QStringLiteral("cavern"));
    m_survexport = QStandardPaths::findExecutable(QStringLiteral("survexport"));
    QVERIFY2(!m_cavern.isEmpty() && !m_survexport.isEmpty(), "Survex is missing: run ./test, which installs it");
}

void SurvexAgreementTest::cavernPlacesEveryStation_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("style");
    QTest::addColumn<double>("orientation");
    for (const char *project : {"cave.sprj", "five-stations.sprj", "zero-leg.sprj"}) {
        for (const char *style : {"angle", "depthchange"})
            QTest::addRow("%s %s", project, style) << QString::fromLatin1(project) << QString::fromLatin1(style) << 0.0;
    }
    QTest::newRow("cave turned 30") << "cave.sprj"
                                    << "angle" << 30.0;
    QTest::newRow("cave turned -123.4") << "cave.sprj"
                                        << "depthchange" << -123.4;
}

void SurvexAgreementTest::cavernPlacesEveryStation()
{
    QFETCH(QString, project);
    QFETCH(QString, style);
    QFETCH(double, orientation);
    QTemporaryDir folder;
    const QString svx = folder.filePath(QStringLiteral("survey.svx"));
    int status = -1;
    const QString exported = runTool(QStringLiteral(SPEOMARK_EXPORT),
                                     {"--format", "survex", "--style", style, "--orientation", QString::number(orientation),
                                      "-o", svx, data(project)},
                                     &status);
    QVERIFY2(status == 0, qPrintable(exported));

    // Warnings count as errors: cavern must take every line as it is meant.
    const QString cavern = runTool(m_cavern, {"--warnings-are-errors", "--no-auxiliary-files", "--quiet", "--quiet",
                                              "--output=" + folder.path(), svx},
                                   &status);
    QVERIFY2(status == 0, qPrintable(cavern));
    const QString csv = folder.filePath(QStringLiteral("survey.csv"));
    const QString exporter = runTool(m_survexport, {"--csv", folder.filePath(QStringLiteral("survey.3d")), csv}, &status);
    QVERIFY2(status == 0, qPrintable(exporter));

    const QHash<QString, Expected> expected = expectedPositions(ProjectFile::read(data(project)), orientation);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(file.readLine().trimmed(), QByteArray("Easting,Northing,Altitude,Station Name"));
    QStringList placed;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine().trimmed()).split(QLatin1Char(','));
        QCOMPARE(fields.size(), 4);
        const QString name = fields[3];
        QVERIFY2(expected.contains(name), qPrintable(name));
        const Expected e = expected.value(name);
        const QVector3D got(fields[0].toFloat(), fields[1].toFloat(), fields[2].toFloat());
        const double error = std::hypot(got.x() - e.east, got.y() - e.north, got.z() - e.up);
        QVERIFY2(error <= e.tolerance, qPrintable(QStringLiteral("%1 is %2 m off (allowed %3)").arg(name).arg(error).arg(e.tolerance)));
        placed.append(name);
    }
    QCOMPARE(placed.size(), expected.size());
}

QTEST_GUILESS_MAIN(SurvexAgreementTest)
#include "test_survex_agreement.moc"
