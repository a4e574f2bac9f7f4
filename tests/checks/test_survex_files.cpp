// The files Save as has Survex write: cavern computes our Survex text and survexport writes each
// format; a KML places the entrance where its coordinates say (PROJ judges the conversion), and a
// survey cavern refuses is reported in cavern's own words.
#include "checks/SurvexExport.h"
#include "support/FileSizeLimit.h"
#include "output/SurveyText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <proj.h>

Q_DECLARE_METATYPE(ExportFormat)

namespace {

// A1 at the entrance, fixed in UTM zone 37N, then 10 m east and on north-east and up.
QByteArray georeferencedSurvex(SurveyDetails *details)
{
    std::vector<Station> stations(3);
    stations[0].label = QStringLiteral("A1");
    stations[1].planXMetres = 10;
    stations[2] = Station{.planXMetres = 17, .planYMetres = -7, .profileYMetres = 3};
    StationTable table;
    table.assign(stations);
    details->entrance = QStringLiteral("A1");
    details->entranceHasCoordinates = true;
    details->epsgCode = 32637;
    details->entranceEast = 431234.56;
    details->entranceNorth = 4834567.89;
    details->entranceAltitude = 1502.5;
    return SurveyText::build(table, SurveyFormat::Survex, SurveyStyle::Angle, 0.0, *details).fileBytes();
}

// Runs the export to its end; the message when it failed.
QString run(const QByteArray &survex, ExportFormat file, const QString &path)
{
    SurvexExport exporter;
    QSignalSpy finished(&exporter, &SurvexExport::finished);
    exporter.start(survex, file, path);
    if (!finished.wait(SurvexExport::TimeLimitMilliseconds + 5000))
        return QStringLiteral("no end");
    return finished.first().at(0).toBool() ? QString() : finished.first().at(1).toString() + QStringLiteral(" (failed)");
}

} // namespace

class SurvexFilesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void writesEachFile_data();
    void writesEachFile();
    void kmlPlacesTheEntrance();
    void reportsWhatCavernRefuses();
    void aFullDiskLeavesTheOldFile();
    void anEndlessCavernIsCutShortAndStopped();
};

void SurvexFilesTest::initTestCase()
{
    if (!SurvexExport::available())
        QSKIP("Survex (cavern and survexport) is not installed");
}

void SurvexFilesTest::writesEachFile_data()
{
    QTest::addColumn<ExportFormat>("file");
    QTest::addColumn<QString>("mark"); // what only that format's files hold
    const QPair<ExportFormat, const char *> marks[] = {{ExportFormat::Kml, "<kml xmlns"}, {ExportFormat::Gpx, "<gpx "},
                                                     {ExportFormat::Dxf, "SECTION"},    {ExportFormat::Svg, "<svg "},
                                                     {ExportFormat::Json, "\"traverses\""}, {ExportFormat::Plt, "Sfolds.a1"}};
    for (const auto &[file, mark] : marks)
        QTest::newRow(mark) << file << QString::fromLatin1(mark);
}

void SurvexFilesTest::writesEachFile()
{
    QFETCH(ExportFormat, file);
    QFETCH(QString, mark);
    SurveyDetails details;
    details.caveName = QStringLiteral("Folds");
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cave") + ExportFormats::extension(file));
    const QString problem = run(georeferencedSurvex(&details), file, path);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll().contains(mark.toLatin1()));
}

void SurvexFilesTest::kmlPlacesTheEntrance()
{
    SurveyDetails details;
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cave.kml"));
    const QString problem = run(georeferencedSurvex(&details), ExportFormat::Kml, path);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QFile kml(path);
    QVERIFY(kml.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch entrance =
        QRegularExpression(QStringLiteral("<coordinates>([-0-9.]+),([-0-9.]+),([-0-9.]+)</coordinates></Point><name>a1</name>"))
            .match(QString::fromUtf8(kml.readAll()));
    QVERIFY(entrance.hasMatch());

    PJ_CONTEXT *context = proj_context_create();
    PJ *toDegrees = proj_normalize_for_visualization(context, proj_create_crs_to_crs(context, "EPSG:32637", "EPSG:4326", nullptr));
    QVERIFY(toDegrees);
    const PJ_COORD lonLat = proj_trans(toDegrees, PJ_FWD, proj_coord(details.entranceEast, details.entranceNorth, 0, 0));
    proj_destroy(toDegrees);
    proj_context_destroy(context);
    // The KML's eight decimals of a degree are a millimetre; the altitude has two of a metre.
    QVERIFY2(std::fabs(entrance.captured(1).toDouble() - lonLat.lp.lam) < 2e-8, qPrintable(entrance.captured(0)));
    QVERIFY2(std::fabs(entrance.captured(2).toDouble() - lonLat.lp.phi) < 2e-8, qPrintable(entrance.captured(0)));
    QCOMPARE(entrance.captured(3), QStringLiteral("1502.50"));
}

void SurvexFilesTest::reportsWhatCavernRefuses()
{
    const QTemporaryDir folder;
    const QString problem = run("*begin\r\nA1 A2 10 90 0 0\r\n*end\r\n", ExportFormat::Dxf, folder.filePath(QStringLiteral("x.dxf")));
    QVERIFY2(problem.contains(QLatin1String("cavern")) && problem.contains(QLatin1String("survey.svx:2")), qPrintable(problem));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("x.dxf"))));
}

// survexport writes over its target and exits 0 when the disk fills: the old file stays, and the
// user is told.
void SurvexFilesTest::aFullDiskLeavesTheOldFile()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cave.svg"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the old drawing") > 0);
    old.close();
    SurveyDetails details;
    const QByteArray survex = georeferencedSurvex(&details);
    const QString whole = folder.filePath(QStringLiteral("whole.svg"));
    QCOMPARE(run(survex, ExportFormat::Svg, whole), QString());
    const qint64 size = QFileInfo(whole).size();
    QVERIFY(QFile::remove(whole));
    QString message;
    {
        // Room for cavern's files, not for the whole drawing.
        FileSizeLimit full(rlim_t(std::max<qint64>(size - 200, survex.size() + 100)));
        message = run(survex, ExportFormat::Svg, path);
    }
    QVERIFY2(message.endsWith(QStringLiteral("(failed)")), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("unchanged")), qPrintable(message));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the old drawing"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("cave.svg")});
}

// A cavern that prints without end: the window keeps a bounded tail and stops it at the limit.
void SurvexFilesTest::anEndlessCavernIsCutShortAndStopped()
{
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("cavern"));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nwhile :; do echo 'a line cavern never stops printing, over and over'; done\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    CavernRun runner;
    runner.setTimeLimit(2000);
    QSignalSpy finished(&runner, &CavernRun::finished);
    runner.start("*begin x\n*end x\n", program);
    QVERIFY(finished.wait(30000));
    const CavernResult result = finished.first().first().value<CavernResult>();
    QVERIFY(result.cancelled);
    QVERIFY2(result.messages.startsWith(QStringLiteral("cavern did not finish within 2 seconds")), qPrintable(result.messages.left(200)));
    QVERIFY(result.messages.size() <= CavernRun::OutputLimitBytes + 200);
    QVERIFY(result.messages.endsWith(QStringLiteral("over and over\n")) || result.messages.contains(QStringLiteral("over and")));
}

QTEST_GUILESS_MAIN(SurvexFilesTest)
#include "test_survex_files.moc"
