// A cave drawn over several sheets, each with its own scale and north, digitised through the
// editor with ties at the sheet boundaries: Survex's cavern places every station where it
// places the same cave digitised on one sheet; the project keeps its sheets; a wrong north shows
// at the tie where the survey meets itself again.
#include "checks/CheckReport.h"
#include "checks/SurveyNetwork.h"
#include "output/Exporter.h"
#include "project/ProjectFile.h"
#include "support/Editors.h"
#include "support/SurveyReaders.h"
#include "support/TestFiles.h"
#include "survey/CommandError.h"

#include <QDataStream>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

struct Point
{
    const char *label;
    double east, north, up;
};

// A loop of twelve stations: the west part on one pair of sheets, the east part on another.
const Point Cave[] = {{"S0", 0, 0, 0},    {"S1", 10, 2, -1},  {"S2", 20, 0, -2},  {"S3", 30, 3, -2},
                      {"S4", 40, 0, -3},  {"S5", 50, 5, -3},  {"S6", 52, 20, -4}, {"S7", 40, 25, -4},
                      {"S8", 31, 22, -5}, {"S9", 20, 25, -5}, {"S10", 10, 22, -4}, {"S11", 0, 20, -3}};

const Point &point(const QString &label)
{
    for (const Point &p : Cave)
        if (label == QLatin1String(p.label))
            return p;
    qFatal("no station %s", qPrintable(label));
}

// How a sheet draws the cave: metres per pixel, north (degrees clockwise from the image's top)
// and where the cave's origin lies on it.
struct Drawing
{
    double scale;
    double northDeg;
    QPointF origin;
};

constexpr double Zoom = 4.0; // clicks at a quarter of a source pixel

QPoint planClick(const Point &p, const Drawing &d)
{
    const double t = d.northDeg * M_PI / 180.0;
    const double x = d.origin.x() + (p.east * std::cos(t) + p.north * std::sin(t)) / d.scale;
    const double y = d.origin.y() - (p.north * std::cos(t) - p.east * std::sin(t)) / d.scale;
    return QPoint(qRound(x * Zoom), qRound(y * Zoom));
}

QPoint profileClick(double developed, double up, const Drawing &d)
{
    return QPoint(qRound((d.origin.x() + developed / d.scale) * Zoom), qRound((d.origin.y() - up / d.scale) * Zoom));
}

// The traverses, as a digitiser goes: each starts a branch; its first station is a tie when it
// was placed before. Which pair of sheets each is drawn on.
struct Traverse
{
    QStringList labels;
    int sheets; // 0: the first plan and profile sheet, 1: the second pair
};
const QList<Traverse> Traverses = {{{"S0", "S1", "S2", "S3"}, 0},
                                   {{"S3", "S4", "S5", "S6", "S7", "S8", "S9"}, 1},
                                   {{"S0", "S11", "S10", "S9"}, 0}};

void prepareSheet(Editors &e, ViewSide side, const Drawing &d)
{
    e.document.editView(side, [&](ViewSettings &view) {
        view.zoom = Zoom;
        view.calibration.metresPerPixel = d.scale;
    });
    if (side == ViewSide::Plan)
        e.document.setOrientationEntry(QString::number(d.northDeg));
}

// Digitises the cave: `drawings` gives plan and profile drawings per sheet pair (one pair
// digitises it on one sheet each).
void digitise(Editors &e, const QList<QPair<Drawing, Drawing>> &drawings)
{
    QList<QPair<int, int>> sheets{{PlanSheet, ProfileSheet}};
    for (int i = 0; i < drawings.size(); ++i) {
        if (i > 0)
            sheets.append({e.document.addSheet(SheetKind::Plan), e.document.addSheet(SheetKind::Profile)});
        e.document.showSheet(ViewSide::Plan, sheets[i].first);
        e.document.showSheet(ViewSide::Profile, sheets[i].second);
        prepareSheet(e, ViewSide::Plan, drawings[i].first);
        prepareSheet(e, ViewSide::Profile, drawings[i].second);
    }
    for (const Traverse &traverse : Traverses) {
        const int pair = std::min(traverse.sheets, int(drawings.size()) - 1);
        e.document.showSheet(ViewSide::Plan, sheets[pair].first);
        e.document.showSheet(ViewSide::Profile, sheets[pair].second);
        double developed = 0.0;
        for (int k = 0; k < traverse.labels.size(); ++k) {
            const Point &p = point(traverse.labels[k]);
            if (k > 0) {
                const Point &q = point(traverse.labels[k - 1]);
                developed += std::hypot(p.east - q.east, p.north - q.north);
            }
            e.stations.placePoint(ViewSide::Plan, planClick(p, drawings[pair].first));
            e.stations.placePoint(ViewSide::Profile, profileClick(developed, p.up, drawings[pair].second));
            e.stations.setNewBranch(k == 0);
            QCOMPARE(e.stations.add(traverse.labels[k], QString()), StationEditor::AddOutcome::Added);
        }
    }
}

QHash<QString, SurveyReaders::Position> placed(const Survey &survey, const QString &folder)
{
    QString problem;
    const SurveyText text = Exporter::text(survey, ExportFormat::Survex);
    const auto positions = SurveyReaders::cavernPositions(text.fileBytes(), folder, &problem);
    if (!problem.isEmpty())
        qWarning("%s", qPrintable(problem));
    return positions;
}

const Drawing PlanA{0.01, 0.0, {500, 3000}};
const Drawing ProfileA{0.01, 0.0, {200, 400}};
const Drawing PlanB{0.02, 30.0, {1500, 2000}};
const Drawing ProfileB{0.015, 0.0, {100, 600}};

} // namespace

class SheetsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        for (const char *tool : {"cavern", "survexport"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP("Survex is not installed");
    }
    void aCaveOverSeveralSheetsIsTheCaveOnOne();
    void aWrongNorthShowsAtTheTie();
    void aLegAcrossSheetsIsRefused();
    void aDamagedSheetListIsRefusedSayingWhat_data();
    void aDamagedSheetListIsRefusedSayingWhat();
};

void SheetsTest::aCaveOverSeveralSheetsIsTheCaveOnOne()
{
    QTemporaryDir folder;
    Editors one, several;
    digitise(one, {{PlanA, ProfileA}});
    digitise(several, {{PlanA, ProfileA}, {PlanB, ProfileB}});
    QCOMPARE(several.document.sheets().size(), size_t(4));
    QCOMPARE(several.document.stations().count(), 15);

    // Saved and opened again, the project gives the same survey.
    const QString path = QDir(folder.path()).filePath(QStringLiteral("cave.sprj"));
    ProjectFile::write(path, ProjectContents::capture(several.document));
    const ProjectContents reopened = ProjectFile::read(path);
    QCOMPARE(reopened.survey(), several.document.survey());
    // A reader that knows only the header refuses the file rather than showing every station on
    // the first sheets.
    QVERIFY(reopened.header.problem().isEmpty());
    QVERIFY(!ProjectHeader::decode(TestFiles::bytes(path).constData()).problem().isEmpty());

    const auto expected = placed(one.document.survey(), folder.path());
    const auto got = placed(reopened.survey(), folder.path());
    QCOMPARE(got.size(), 12);
    QCOMPARE(expected.size(), 12);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const SurveyReaders::Position p = got.value(it.key());
        QVERIFY2(std::hypot(p.x - it->x, p.y - it->y) < 0.05 && std::fabs(p.z - it->z) < 0.05, qPrintable(it.key()));
    }
    // The check finds the two sheets agreeing where the survey meets itself again.
    const SurveyNetwork network = SurveyNetwork::build(reopened.survey().stations,
                                                       CheckSettings::of(reopened.survey(), LegTolerance()));
    QCOMPARE(network.sheetTies.size(), 2);
    QVERIFY(network.likelyTies.isEmpty());
    QCOMPARE(network.flaggedLegCount(), 0);
}

// How far apart the check puts the two placements of S9, from its report.
double tieGap(const SurveyDocument &document)
{
    const SurveyNetwork network =
        SurveyNetwork::build(document.stations(), CheckSettings::of(document.survey(), LegTolerance()));
    const QString report = CheckReport::text(network);
    const QRegularExpressionMatch gap = QRegularExpression(
        QStringLiteral("S9 \\([^)]*\\), plan and profile sheets: the two placements are ([0-9.]+) m apart")).match(report);
    if (!gap.hasMatch())
        qWarning("%s", qPrintable(report));
    return gap.hasMatch() ? gap.captured(1).toDouble() : -1.0;
}

void SheetsTest::aWrongNorthShowsAtTheTie()
{
    Editors e;
    digitise(e, {{PlanA, ProfileA}, {PlanB, ProfileB}});
    const double right = tieGap(e.document);
    QVERIFY2(right >= 0.0 && right < 0.05, qPrintable(QString::number(right)));
    // The second plan sheet's north typed 10 degrees off: its legs swing, the loop opens at S9.
    e.document.showSheet(ViewSide::Plan, e.document.sheetsOf(SheetKind::Plan).back());
    e.document.setOrientationEntry(QStringLiteral("40"));
    QVERIFY2(tieGap(e.document) > 3.0, qPrintable(QString::number(tieGap(e.document))));
}

void SheetsTest::aLegAcrossSheetsIsRefused()
{
    Editors e;
    digitise(e, {{PlanA, ProfileA}, {PlanB, ProfileB}});
    const int count = e.document.stations().count();
    // The last station, S9, lies on the first pair of sheets; the pending one goes on the second.
    e.document.showSheet(ViewSide::Plan, e.document.sheetsOf(SheetKind::Plan).back());
    e.stations.placePoint(ViewSide::Plan, {100, 100});
    e.stations.placePoint(ViewSide::Profile, {100, 100});
    e.stations.setNewBranch(false);
    QVERIFY_THROWS_EXCEPTION(CommandError, e.stations.add(QStringLiteral("X"), QString()));
    QCOMPARE(e.document.stations().count(), count);
}

namespace {

struct ListedSheet
{
    qint32 id;
    quint8 kind; // 0 plan, 1 profile
    QString north;
};

// A sheet list as a project file keeps it, with chosen ids, kinds and norths.
QByteArray sheetList(qint32 count, const QList<ListedSheet> &sheets)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint8(1) << count;
    for (const ListedSheet &sheet : sheets)
        out << sheet.id << sheet.kind << QString() << QString() << qint32(0) << qint32(0) << 0.01 << 50.0
            << QStringLiteral("10") << QStringLiteral("50") << sheet.north << 1.0 << 0.5f << qint32(0) << qint32(0)
            << true << QString();
    return bytes;
}

QByteArray stationSheets(qint32 count, const QList<QPair<qint32, qint32>> &sheets)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << quint8(1) << count;
    for (const auto &[plan, profile] : sheets)
        out << plan << profile;
    return bytes;
}

} // namespace

// A sheet list that cannot be read as saved is never swapped for the header's two sheets, which
// would move stations onto other sheets and turn their legs: the file is refused, saying what is
// damaged.
void SheetsTest::aDamagedSheetListIsRefusedSayingWhat_data()
{
    QTest::addColumn<QByteArray>("sheets");
    QTest::addColumn<QByteArray>("stations");
    QTest::addColumn<QString>("said"); // empty: the project opens
    const QList<ListedSheet> four{{0, 0, "0"}, {1, 1, "0"}, {2, 0, "15.116"}, {3, 1, "0"}};
    const QByteArray onSheets = stationSheets(3, {{0, 1}, {2, 3}, {2, 1}});
    QTest::newRow("sound") << sheetList(4, four) << onSheets << QString();
    QTest::newRow("count of 10,000") << sheetList(10000, four) << onSheets << "gives 10000 sheets";
    QTest::newRow("count of 5, four listed") << sheetList(5, four) << onSheets << "ends within sheet 5 of 5";
    QList<ListedSheet> longNorth = four;
    longNorth[2].north = QString(100000, QLatin1Char('9'));
    QTest::newRow("north of 100,000 digits") << sheetList(4, longNorth) << onSheets << "sheet 3's north";
    QList<ListedSheet> twice = four;
    twice[2].id = 0;
    QTest::newRow("two plan sheets with one id") << sheetList(4, twice) << onSheets << "two sheets have the id 0";
    QList<ListedSheet> noProfile = four;
    noProfile[1].kind = noProfile[3].kind = 0;
    QTest::newRow("no profile sheet") << sheetList(4, noProfile) << onSheets << "no profile sheet";
    QTest::newRow("a station on a sheet not listed") << sheetList(4, four) << stationSheets(3, {{0, 1}, {7, 3}, {2, 1}})
                                                     << "station 2 is on sheets 7 and 3";
    QTest::newRow("a station on a plan sheet as its profile")
        << sheetList(4, four) << stationSheets(3, {{0, 1}, {2, 2}, {2, 1}}) << "station 2 is on sheets 2 and 2";
    QTest::newRow("stations' sheets for another count") << sheetList(4, four) << stationSheets(2, {{0, 1}, {2, 3}})
                                                        << "names 2 stations, the project holds 3";
}

void SheetsTest::aDamagedSheetListIsRefusedSayingWhat()
{
    QFETCH(QByteArray, sheets);
    QFETCH(QByteArray, stations);
    QFETCH(QString, said);
    Editors e;
    e.document.addSheet(SheetKind::Plan);
    e.document.addSheet(SheetKind::Profile);
    for (int i = 0; i < 3; ++i) {
        e.stations.placePoint(ViewSide::Plan, {10 * i, 10});
        e.stations.placePoint(ViewSide::Profile, {10 * i, 10});
        QCOMPARE(e.stations.add(QString::number(i), QString()), StationEditor::AddOutcome::Added);
    }
    ProjectContents contents = ProjectContents::capture(e.document);
    contents.extras.setSection(ProjectContents::SheetsTag, sheets);
    contents.extras.setSection(ProjectContents::StationSheetsTag, stations);
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("cave.sprj"));
    ProjectFile::write(path, contents);
    try {
        const ProjectContents read = ProjectFile::read(path);
        QVERIFY2(said.isEmpty(), "the damaged project was opened");
        QCOMPARE(read.sheets().size(), size_t(4));
        QCOMPARE(read.sheets()[2].north.text(), QStringLiteral("15.116"));
    } catch (const CommandError &error) {
        QVERIFY2(!said.isEmpty() && error.message().contains(said), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("not opened")), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(SheetsTest)
#include "test_sheets.moc"
