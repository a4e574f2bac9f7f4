// Survey details: what no survey file can hold is refused with a reason, a project keeps them after
// its stations, and a damaged copy leaves the stations open.
#include "app/AnsiText.h"
#include "app/SurveyDocument.h"
#include "project/ProjectContents.h"
#include "project/ProjectFile.h"
#include "support/TestFiles.h"

#include <QTest>
#include <vector>

Q_DECLARE_METATYPE(SurveyDetails)
Q_DECLARE_METATYPE(SurveyStyle)

namespace {

Station station(float x, float y, float z, const QString &label = QString(), bool branchEnd = false)
{
    Station s{};
    s.planXMetres = x;
    s.planYMetres = y;
    s.profileYMetres = z;
    setLabelText(s, label);
    s.branchEnd = branchEnd;
    return s;
}

StationTable table(const QStringList &labels)
{
    std::vector<Station> stations;
    for (int i = 0; i < labels.size(); ++i)
        stations.push_back(station(float(i), 0, 0, labels[i]));
    StationTable result;
    result.assign(stations);
    return result;
}

// The details of one kind each, for the Survex header rows.
SurveyDetails withEntrance(const QString &entrance, bool coordinates)
{
    SurveyDetails d;
    d.entrance = entrance;
    d.entranceHasCoordinates = coordinates;
    d.entranceEast = 412345.5;
    d.entranceNorth = 4812345;
    d.entranceAltitude = -20.25;
    d.epsgCode = coordinates ? 32633 : 0;
    return d;
}

} // namespace

class SurveyDetailsTest : public QObject
{
    Q_OBJECT
private slots:
    void refusesDetailsNoFileCanHold_data();
    void refusesDetailsNoFileCanHold();
    void aProjectKeepsItsDetails();
    void damagedDetailsLeaveTheStationsOpen_data();
    void damagedDetailsLeaveTheStationsOpen();
};

void SurveyDetailsTest::refusesDetailsNoFileCanHold_data()
{
    QTest::addColumn<SurveyDetails>("details");
    QTest::addColumn<QString>("problem");
    SurveyDetails quote;
    quote.caveName = QStringLiteral("Пещера \"Снежная\"");
    QTest::newRow("a double quote") << quote << "Survey files cannot hold a double quote (\") in the cave's name";
    SurveyDetails foreign;
    foreign.source = QStringLiteral("Höhle 東");
    QTest::newRow("outside the code page") << foreign << "cannot hold the characters \"ö東\" of the scans' source";
    SurveyDetails nameless;
    nameless.team = {{QStringLiteral("Anna"), {}}, {QStringLiteral("  "), {QStringLiteral("tape")}}};
    QTest::newRow("a member without a name") << nameless << "Team member 2 has no name.";
    SurveyDetails role;
    role.team = {{QStringLiteral("Anna"), {QStringLiteral("cook")}}};
    QTest::newRow("an unknown role") << role << "\"cook\" is not a role Anna can have";
    SurveyDetails automatic = withEntrance(QStringLiteral("A"), true);
    automatic.declinationFromDateAndPlace = true;
    QTest::newRow("auto without a date") << automatic << "needs the survey date and the entrance's coordinates";
    SurveyDetails system = withEntrance(QStringLiteral("A"), true);
    system.epsgCode = 0;
    QTest::newRow("coordinates without a system") << system << "need their coordinate system";
    SurveyDetails nowhere = withEntrance(QString(), true);
    QTest::newRow("coordinates without an entrance") << nowhere << "no entrance station is chosen";
    SurveyDetails wild;
    wild.declinationDeg = 200;
    QTest::newRow("declination out of range") << wild << "from -180 to 180";
    SurveyDetails broken;
    broken.tapeInstrument = QStringLiteral("Disto\nX2");
    QTest::newRow("a line break") << broken << "line break or another control character in the tape";
}

void SurveyDetailsTest::refusesDetailsNoFileCanHold()
{
    QFETCH(SurveyDetails, details);
    QFETCH(QString, problem);
    QVERIFY2(details.problem().contains(problem), qPrintable(details.problem()));
}

void SurveyDetailsTest::aProjectKeepsItsDetails()
{
    const QByteArray fixed = TestFiles::dataBytes(QStringLiteral("five-stations.sprj"));
    SurveyDocument document;
    ProjectFile::parse(fixed, QStringLiteral("x")).applyTo(document);
    // No details: the project is exactly the fixed layout.
    QCOMPARE(ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("x")), fixed);

    const ProjectContents withDetails =
        ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj")));
    document.setDetails(withDetails.details());
    QVERIFY(!document.details().isEmpty());
    const QByteArray saved = ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("x"));
    QCOMPARE(saved.left(fixed.size()), fixed); // the fixed layout's readers see what they saw
    SurveyDocument reopened;
    ProjectFile::parse(saved, QStringLiteral("x")).applyTo(reopened);
    QCOMPARE(reopened.details(), withDetails.details());

    // Opening a project without details clears those of the job before.
    ProjectFile::parse(fixed, QStringLiteral("x")).applyTo(reopened);
    QVERIFY(reopened.details().isEmpty());
}

void SurveyDetailsTest::damagedDetailsLeaveTheStationsOpen_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("problem");
    const QByteArray good = ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj")))
                                .extras.section(SurveyDetails::SectionTag);
    QTest::newRow("empty") << QByteArray() << "they are cut short";
    QTest::newRow("cut short") << good.left(good.size() - 3) << "they are cut short";
    QTest::newRow("trailing bytes") << good + "xy" << "unexpected bytes follow them";
    QByteArray newer = good;
    newer[3] = 2;
    QTest::newRow("a newer version") << newer << "written by a newer Speomark";
    QByteArray team = good;
    team[4 + 4 + 28 + 8 + 3] = 0x7f; // the team's size, after the version, the name and the date
    QTest::newRow("a huge team") << team << "the team's size is damaged";
    SurveyDetails badRole;
    badRole.team = {{QStringLiteral("Anna"), {QStringLiteral("cook")}}};
    QTest::newRow("a value no file can hold") << badRole.encode() << "\"cook\" is not a role Anna can have";
}

void SurveyDetailsTest::damagedDetailsLeaveTheStationsOpen()
{
    QFETCH(QByteArray, section);
    QFETCH(QString, problem);
    ProjectContents project =
        ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj")));
    project.extras.setSection(SurveyDetails::SectionTag, section);
    const ProjectContents read =
        ProjectFile::parse(ProjectFile::serialize(project, QStringLiteral("x")), QStringLiteral("x"));
    QCOMPARE(read.stations.count(), 9);
    QVERIFY(read.extrasProblem.isEmpty());
    QVERIFY2(read.detailsProblem().contains(problem), qPrintable(read.detailsProblem()));
    QVERIFY(read.detailsProblem().contains(QLatin1String("The stations and settings were read")));
    SurveyDocument document;
    read.applyTo(document);
    QCOMPARE(document.stations().count(), 9);
    QVERIFY(document.details().isEmpty());
}

QTEST_GUILESS_MAIN(SurveyDetailsTest)
#include "test_survey_details.moc"
