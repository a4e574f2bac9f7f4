// Survey details: what no survey file can hold is refused with a reason, a project keeps them after
// its stations (and a damaged copy leaves the stations open), and the Survex text opens its block
// with them.
#include "survey/AnsiText.h"
#include "document/SurveyDocument.h"
#include "project/ProjectContents.h"
#include "project/ProjectFile.h"
#include "output/SurveyText.h"
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
    s.label = fittedLabel(label);
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
    void survexOpensItsBlockWithTheDetails_data();
    void survexOpensItsBlockWithTheDetails();
    void detailsThatWriteNothingKeepTheOldText_data();
    void detailsThatWriteNothingKeepTheOldText();
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
    SurveyDetails substitute;
    substitute.source = QStringLiteral("ok\x1a*fix A1 1 2 3");
    QTest::newRow("0x1A, a line end to Survex") << substitute << "control character in the scans' source";
    // What Survex and Therion refuse or misread.
    SurveyDetails unknown = withEntrance(QStringLiteral("A"), true);
    unknown.epsgCode = 2147483647;
    QTest::newRow("a code PROJ does not know") << unknown << "EPSG:2147483647 is not a coordinate system that Survex and Therion know";
    SurveyDetails degrees = withEntrance(QStringLiteral("A"), true);
    degrees.epsgCode = 4326;
    QTest::newRow("latitude and longitude") << degrees << "EPSG:4326 (WGS 84) is not a projected coordinate system in metres";
    SurveyDetails feet = withEntrance(QStringLiteral("A"), true);
    feet.epsgCode = 2227;
    QTest::newRow("a system in feet") << feet << "EPSG:2227 (NAD83 / California zone 3 (ftUS)) is not a projected";
    SurveyDetails far = withEntrance(QStringLiteral("A"), true);
    far.entranceEast = 1e300;
    QTest::newRow("1e300 m east") << far << "must lie between -100000000 and 100000000 m";
    SurveyDetails beyond = withEntrance(QStringLiteral("A"), true);
    beyond.entranceNorth = 2e7; // past the pole of the UTM zone: PROJ places it elsewhere
    QTest::newRow("beyond the zone") << beyond << "lie outside what EPSG:32633 (WGS 84 / UTM zone 33N) can place";
    SurveyDetails slashes;
    slashes.team = {{QStringLiteral("A/B/C"), {}}};
    QTest::newRow("two slashes in a name") << slashes << "\"A/B/C\" has more than one \"/\"";
    SurveyDetails slash;
    slash.team = {{QStringLiteral(" / "), {}}};
    QTest::newRow("only a slash") << slash << "Team member 1 has no name.";
    SurveyDetails early;
    early.date = QDate(1, 1, 1);
    QTest::newRow("year 0001") << early << "between the year 1900 and today";
    SurveyDetails late;
    late.date = QDate::currentDate().addDays(1);
    QTest::newRow("tomorrow") << late << "between the year 1900 and today";
    // Numbers no writer uses are still numbers: a NaN would make the details differ from themselves.
    SurveyDetails unusedEast;
    unusedEast.entranceEast = qQNaN();
    QTest::newRow("NaN east without coordinates") << unusedEast << "not a number";
    SurveyDetails unusedDeclination;
    unusedDeclination.north = NorthReference::Grid;
    unusedDeclination.declinationDeg = qInf();
    QTest::newRow("infinite declination, grid north") << unusedDeclination << "not a number";
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
    QTest::addColumn<bool>("kept"); // read whole: kept in the project, left out of survey files
    const QByteArray good = ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj")))
                                .extras.section(SurveyDetails::SectionTag);
    QTest::newRow("empty") << QByteArray() << "they are cut short" << false;
    QTest::newRow("cut short") << good.left(good.size() - 3) << "they are cut short" << false;
    QTest::newRow("trailing bytes") << good + "xy" << "unexpected bytes follow them" << false;
    QByteArray newer = good;
    newer[3] = 2;
    QTest::newRow("a newer version") << newer << "written by a newer Speomark" << false;
    QByteArray team = good;
    team[4 + 4 + 28 + 8 + 3] = 0x7f; // the team's size, after the version, the name and the date
    QTest::newRow("a huge team") << team << "the team's size is damaged" << false;
    // A length that claims more than the block holds is damage, not gigabytes to set aside.
    QByteArray roles = good;
    const int rolesAt = 4 + (4 + 2 * 14) + 8 + 4 + (4 + 2 * 21); // version, name, date, team size, first name
    QCOMPARE(roles.mid(rolesAt, 4), QByteArray::fromHex("00000002"));
    roles.replace(rolesAt, 4, QByteArray::fromHex("f0000000"));
    QTest::newRow("a huge list of roles") << roles << "they are cut short" << false;
    QByteArray name = good;
    name.replace(4, 4, QByteArray::fromHex("7ffffff0")); // the cave's name, after the version
    QTest::newRow("a huge name") << name << "they are cut short" << false;
    SurveyDetails badRole;
    badRole.team = {{QStringLiteral("Anna"), {QStringLiteral("cook")}}};
    QTest::newRow("a value no file can hold") << badRole.encode() << "\"cook\" is not a role Anna can have" << true;
    SurveyDetails old;
    old.caveName = QStringLiteral("Old");
    old.date = QDate(1850, 6, 1);
    QTest::newRow("a year before 1900") << old.encode() << "the survey date must lie between the year 1900" << true;
    SurveyDetails nan;
    nan.entranceAltitude = qQNaN();
    QTest::newRow("NaN where no writer looks") << nan.encode() << "one of their numbers is not a number" << false;
}

void SurveyDetailsTest::damagedDetailsLeaveTheStationsOpen()
{
    QFETCH(QByteArray, section);
    QFETCH(QString, problem);
    QFETCH(bool, kept);
    ProjectContents project =
        ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj")));
    project.extras.setSection(SurveyDetails::SectionTag, section);
    const ProjectContents read =
        ProjectFile::parse(ProjectFile::serialize(project, QStringLiteral("x")), QStringLiteral("x"));
    QCOMPARE(read.stations.count(), 9);
    QVERIFY(read.extrasProblem.isEmpty());
    QVERIFY2(read.detailsProblem().contains(problem), qPrintable(read.detailsProblem()));
    QCOMPARE(read.detailsProblem().contains(QLatin1String("kept in the project")), kept);
    SurveyDocument document;
    read.applyTo(document);
    QCOMPARE(document.stations().count(), 9);
    QCOMPARE(document.details().isEmpty(), !kept);
    QVERIFY(document.survey().details.isEmpty() && read.survey().details.isEmpty()); // no file gets them
    // Saved again, the project holds exactly the details it was opened with.
    if (kept)
        QCOMPARE(ProjectContents::capture(document).extras.section(SurveyDetails::SectionTag), section);
}

void SurveyDetailsTest::survexOpensItsBlockWithTheDetails_data()
{
    // Three stations A, "Б 2", C; the lines between "*begin" and the first leg, and the last line.
    QTest::addColumn<SurveyDetails>("details");
    QTest::addColumn<QList<QByteArray>>("head");
    QTest::addColumn<QByteArray>("end");
    SurveyDetails cave;
    cave.caveName = QStringLiteral("Пещера Сон");
    QTest::newRow("a name") << cave << QList<QByteArray>{"*begin Peshhera_Son", "*title \"\xcf\xe5\xf9\xe5\xf0\xe0 \xd1\xee\xed\""}
                            << QByteArray("*end Peshhera_Son");
    SurveyDetails people;
    people.date = QDate(1987, 7, 27);
    people.team = {{QStringLiteral("Anna Berg"), {QStringLiteral("tape"), QStringLiteral("notes")}}, {QStringLiteral("Ivo"), {}}};
    people.clinoInstrument = QStringLiteral("Suunto PM-5");
    people.source = QStringLiteral("box 3");
    QTest::newRow("date, team, instrument, source")
        << people
        << QList<QByteArray>{"*begin", "*date 1987.07.27", "*team \"Anna Berg\" tape notes", "*team \"Ivo\"",
                             "*instrument clino \"Suunto PM-5\"", "*ref \"box 3\""}
        << QByteArray("*end");
    SurveyDetails declination;
    declination.declinationDeg = -3.25;
    QTest::newRow("declination") << declination << QList<QByteArray>{"*begin", "*declination -3.25 degrees"}
                                 << QByteArray("*end");
    SurveyDetails grid = withEntrance(QStringLiteral("Б 2"), false);
    grid.north = NorthReference::Grid;
    grid.declinationDeg = 9; // ignored: the plan shows grid north
    QTest::newRow("entrance, no coordinates") << grid << QList<QByteArray>{"*begin", "*fix B_2", "*entrance B_2"}
                                              << QByteArray("*end");
    SurveyDetails placed = withEntrance(QStringLiteral("C"), true);
    placed.north = NorthReference::True;
    QTest::newRow("entrance with coordinates")
        << placed
        << QList<QByteArray>{"*begin", "*cs EPSG:32633", "*cs out EPSG:32633", "*fix C 412345.5 4812345 -20.25",
                             "*entrance C"}
        << QByteArray("*end");
    SurveyDetails automatic = withEntrance(QStringLiteral("A"), true);
    automatic.date = QDate(2024, 1, 2);
    automatic.declinationFromDateAndPlace = true;
    QTest::newRow("declination from date and place")
        << automatic
        << QList<QByteArray>{"*begin", "*date 2024.01.02", "*cs EPSG:32633", "*cs out EPSG:32633",
                             "*declination auto 412345.5 4812345 -20.25", "*fix A 412345.5 4812345 -20.25",
                             "*entrance A"}
        << QByteArray("*end");
    QTest::newRow("entrance not a station")
        << withEntrance(QStringLiteral("Z"), false)
        << QList<QByteArray>{"*begin", "; the entrance \"Z\" is not a station of this survey"} << QByteArray("*end");
}

void SurveyDetailsTest::survexOpensItsBlockWithTheDetails()
{
    QFETCH(SurveyDetails, details);
    QFETCH(QList<QByteArray>, head);
    QFETCH(QByteArray, end);
    QVERIFY2(details.problem().isEmpty(), qPrintable(details.problem()));
    const SurveyText text =
        SurveyText::build(table({"A", "Б 2", "C"}), SurveyFormat::Survex, SurveyStyle::Angle, 0.0, details);
    QVERIFY(text.complete());
    QCOMPARE(text.lines.mid(0, head.size()), head);
    QCOMPARE(text.lines.at(head.size()), QByteArray("A\tB_2\t1.00\t90.00\t0.00\t ; B_2 = \xc1 2"));
    QCOMPARE(text.lines.constLast(), end);
}

void SurveyDetailsTest::detailsThatWriteNothingKeepTheOldText_data()
{
    // Survex's own north is the drawing's for true and grid bearings, so without a name, a
    // declination or an entrance nothing is written; the old fixtures stay byte for byte.
    QTest::addColumn<QString>("project");
    QTest::addColumn<SurveyStyle>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("five angle") << "five-stations.sprj" << SurveyStyle::Angle << "five-stations.survex-angle.svx";
    QTest::newRow("five depth") << "five-stations.sprj" << SurveyStyle::DepthChange
                                << "five-stations.survex-depthchange.svx";
}

void SurveyDetailsTest::detailsThatWriteNothingKeepTheOldText()
{
    QFETCH(QString, project);
    QFETCH(SurveyStyle, style);
    QFETCH(QString, expected);
    const ProjectContents read = ProjectFile::read(TestFiles::dataPath(project));
    for (NorthReference north : {NorthReference::Magnetic, NorthReference::True, NorthReference::Grid}) {
        SurveyDetails details = read.details();
        details.north = north;
        QCOMPARE(SurveyText::build(read.stations, SurveyFormat::Survex, style, 0.0, details).fileBytes(),
                 TestFiles::dataBytes(expected));
    }
}

QTEST_GUILESS_MAIN(SurveyDetailsTest)
#include "test_survey_details.moc"
