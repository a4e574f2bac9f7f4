// The Survex, Therion and Compass files of projects whose labels Survex cannot take as they are,
// with and without survey details, byte for byte against their hand-written fixtures.
#include "output/CompassText.h"
#include "output/TherionText.h"
#include "project/ProjectFile.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QTest>

namespace {

QByteArray formats(const QString &name) { return TestFiles::dataBytes(QStringLiteral("formats/") + name); }

} // namespace

class SurveyFormatsTest : public QObject
{
    Q_OBJECT
private slots:
    void writesTheFixtures_data();
    void writesTheFixtures();
    void theCommandWritesTheSameBytes_data() { writesTheFixtures_data(); }
    void theCommandWritesTheSameBytes();
};

void SurveyFormatsTest::writesTheFixtures_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("expected");
    QTest::newRow("survex names") << "labels.sprj"
                                  << "survex"
                                  << "labels.survex-angle.svx";
    QTest::newRow("survex details") << "labels-details.sprj"
                                    << "survex"
                                    << "labels-details.survex-depthchange.svx";
    QTest::newRow("therion details") << "labels-details.sprj"
                                     << "therion"
                                     << "labels-details.therion-angle.th";
    QTest::newRow("compass") << "labels.sprj"
                             << "compass"
                             << "labels.compass.dat";
    QTest::newRow("compass details") << "labels-details.sprj"
                                     << "compass"
                                     << "labels-details.compass.dat";
}

void SurveyFormatsTest::writesTheFixtures()
{
    QFETCH(QString, project);
    QFETCH(QString, layout);
    QFETCH(QString, expected);
    const ProjectContents read = ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/") + project));
    QVERIFY(read.detailsProblem().isEmpty());
    const SurveyDetails details = read.details();
    const SurveyStyle style = expected.contains(QLatin1String("depthchange")) ? SurveyStyle::DepthChange : SurveyStyle::Angle;
    SurveyText text;
    if (layout == QLatin1String("survex"))
        text = SurveyText::build(read.stations, SurveyFormat::Survex, style, 0.0, details);
    else if (layout == QLatin1String("therion"))
        text = TherionText::build(read.stations, style, 0.0, details);
    else
        text = CompassText::build(read.stations, 0.0, details);
    QVERIFY(text.complete());
    QCOMPARE(text.fileBytes(), formats(expected));
}

void SurveyFormatsTest::theCommandWritesTheSameBytes()
{
    QFETCH(QString, project);
    QFETCH(QString, layout);
    QFETCH(QString, expected);
    QStringList arguments{QStringLiteral("--format"), layout};
    if (expected.contains(QLatin1String("-angle")) || expected.contains(QLatin1String("-depthchange")))
        arguments << QStringLiteral("--style") << expected.section(QLatin1Char('-'), -1).section(QLatin1Char('.'), 0, 0);
    QProcess command;
    command.start(QStringLiteral(SPEOMARK_EXPORT), arguments << TestFiles::dataPath(QStringLiteral("formats/") + project));
    QVERIFY(command.waitForFinished(60000));
    QCOMPARE(command.readAllStandardError(), QByteArray());
    QCOMPARE(command.exitCode(), 0);
    QCOMPARE(command.readAllStandardOutput(), formats(expected));
}

QTEST_GUILESS_MAIN(SurveyFormatsTest)
#include "test_survey_formats.moc"
