// The Survex text of a project whose labels Survex cannot take as they are, byte for byte against
// its hand-written fixture.
#include "output/SurveyText.h"
#include "project/ProjectFile.h"
#include "support/TestFiles.h"

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
};

void SurveyFormatsTest::writesTheFixtures_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("expected");
    QTest::newRow("survex names") << "labels.sprj"
                                  << "survex"
                                  << "labels.survex-angle.svx";
}

void SurveyFormatsTest::writesTheFixtures()
{
    QFETCH(QString, project);
    QFETCH(QString, layout);
    QFETCH(QString, expected);
    const ProjectContents read = ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/") + project));
    const SurveyStyle style = expected.contains(QLatin1String("depthchange")) ? SurveyStyle::DepthChange : SurveyStyle::Angle;
    SurveyText text;
    if (layout == QLatin1String("survex"))
        text = SurveyText::build(read.stations, SurveyFormat::Survex, style, 0.0);
    QVERIFY(text.complete());
    QCOMPARE(text.fileBytes(), formats(expected));
}

QTEST_GUILESS_MAIN(SurveyFormatsTest)
#include "test_survey_formats.moc"
