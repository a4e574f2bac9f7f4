// A cave of six loops drawn as a careful digitiser clicks it (every click within a pixel of the
// true point), checked clean; then with each mistake a digitiser makes planted in it, each found
// with its size. cavern reads every version and counts the loops the check counts, and
// speomark-export --check says the same through its exit status.
#include "checks/AdjustedSurvey.h"
#include "checks/CavernRun.h"
#include "checks/SurveyNetwork.h"
#include "output/Exporter.h"
#include "project/ProjectFile.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>

Q_DECLARE_METATYPE(CavernResult)

namespace {

constexpr double PlanMpp = 0.05, ProfileMpp = 0.04;
constexpr double Degrees = 3.14159265358979323846 / 180.0;

// A true point of the cave and where its traverse runs on the extended profile.
struct Truth
{
    QString label;
    double east, north, up, developed;
    bool branchEnd = false;
};

// Three rows of four junctions 30 m apart, joined by passages of three legs: rows 0 and 1 and
// the four columns, then row 2, which closes loops at every junction it meets.
class Cave
{
public:
    Cave()
    {
        const auto junction = [](int r, int c) {
            return Truth{QStringLiteral("J%1%2").arg(r).arg(c), 30.0 * c + 2.0 * std::sin(r + 3.0 * c),
                         -30.0 * r + 2.0 * std::cos(2.0 * r + c), -3.0 * r - 1.5 * c, 0.0};
        };
        const auto traverse = [&](QVector<Truth> ends, const QString &name, double direction) {
            double developed = m_developed;
            for (int k = 0; k + 1 < ends.size(); ++k) {
                const Truth a = ends[k], b = ends[k + 1];
                if (k == 0)
                    m_points.append({a.label, a.east, a.north, a.up, developed});
                for (int step = 1; step <= 3; ++step) {
                    const double t = step / 3.0, side = step == 3 ? 0.0 : (step == 1 ? 1.5 : -1.0);
                    Truth p{step == 3 ? b.label : QStringLiteral("%1%2").arg(name).arg(3 * k + step),
                            a.east + t * (b.east - a.east) + side, a.north + t * (b.north - a.north) - side,
                            a.up + t * (b.up - a.up) + (step == 3 ? 0.0 : 0.7), 0.0};
                    const Truth &q = m_points.constLast();
                    developed += direction * std::hypot(p.east - q.east, p.north - q.north);
                    p.developed = developed;
                    m_points.append(p);
                }
            }
            m_points.last().branchEnd = true;
            m_developed = developed + 20.0;
        };
        for (int r = 0; r < 2; ++r)
            traverse({junction(r, 0), junction(r, 1), junction(r, 2), junction(r, 3)}, QStringLiteral("R%1-").arg(r), 1);
        for (int c = 0; c < 4; ++c)
            traverse({junction(0, c), junction(1, c), junction(2, c)}, QStringLiteral("C%1-").arg(c), c % 2 ? -1 : 1);
        traverse({junction(2, 0), junction(2, 1), junction(2, 2), junction(2, 3)}, QStringLiteral("R2-"), 1);
    }

    QVector<Truth> &points() { return m_points; }
    int indexOf(const QString &label, int from = 0) const
    {
        for (int i = from; i < m_points.size(); ++i)
            if (m_points[i].label == label)
                return i;
        return -1;
    }

    // The survey as drawn and clicked: each click off by up to a pixel, the same way each run.
    Survey drawn() const
    {
        std::vector<Station> stations;
        quint32 seed = 12345;
        const auto jitter = [&seed] {
            seed = seed * 1664525u + 1013904223u;
            return (double(seed >> 8) / double(1u << 24)) * 2.0 - 1.0;
        };
        for (const Truth &p : m_points) {
            Station s;
            s.planX = float(1000.0 + p.east / PlanMpp + jitter());
            s.planY = float(2000.0 - p.north / PlanMpp + jitter());
            s.profileX = float(4000.0 + p.developed / ProfileMpp + jitter());
            s.profileY = float(500.0 - p.up / ProfileMpp + jitter());
            s.planXMetres = float(s.planX * PlanMpp);
            s.planYMetres = float(s.planY * PlanMpp);
            s.profileYMetres = float(s.profileY * ProfileMpp);
            s.label = p.label;
            s.branchEnd = p.branchEnd;
            stations.push_back(s);
        }
        Survey survey;
        survey.stations.assign(stations);
        survey.sheet(PlanSheet).calibration.metresPerPixel = PlanMpp;
        survey.sheet(ProfileSheet).calibration.metresPerPixel = ProfileMpp;
        return survey;
    }

private:
    QVector<Truth> m_points;
    double m_developed = 0.0;
};

using Plant = std::function<void(Cave &)>;

QString two(double value) { return QString::number(value, 'f', 1); }

// What the check flags, with sizes to a decimetre.
QString flagged(const SurveyNetwork &net)
{
    QStringList parts;
    for (const LegCheck &leg : net.legs)
        if (leg.flagged)
            parts.append(QStringLiteral("leg %1-%2 %3").arg(leg.fromName, leg.toName, two(leg.disagreement)));
    for (const SurveyLoop &loop : net.loops)
        if (loop.flagged)
            parts.append(QStringLiteral("loop %1 %2").arg(loop.name, two(loop.misclosure)));
    for (const SurveyLoop &repeat : net.repeatedLegs)
        parts.append(QStringLiteral("repeated %1 %2%3").arg(repeat.name, two(repeat.misclosure),
                                                             repeat.flagged ? QStringLiteral(" flagged") : QString()));
    for (const SurveyPiece &piece : net.pieces)
        if (!piece.tied)
            parts.append(QStringLiteral("piece %1%2").arg(piece.firstName,
                                                          piece.asDrawn ? QStringLiteral(" as drawn") : QString()));
    for (const LikelyTie &tie : net.likelyTies)
        parts.append(QStringLiteral("tie %1~%2").arg(tie.firstName, tie.secondName));
    return parts.isEmpty() ? QStringLiteral("nothing") : parts.join(QStringLiteral(" | "));
}

CavernResult cavern(const Survey &survey)
{
    CavernRun runner;
    QSignalSpy finished(&runner, &CavernRun::finished);
    runner.start(Exporter::text(survey, ExportFormat::Survex).fileBytes(), CavernRun::findCavern());
    if (finished.isEmpty() && !finished.wait(60000))
        return CavernResult();
    return finished.first().first().value<CavernResult>();
}

int cavernLoops(const Survey &survey, QString *problem)
{
    const CavernResult result = cavern(survey);
    *problem = result.messages;
    const QRegularExpressionMatch loops =
        QRegularExpression(QStringLiteral("There (?:is|are) (\\d+) loops?")).match(result.loopSummary);
    return !result.succeeded() ? -1 : loops.hasMatch() ? loops.captured(1).toInt() : 0;
}

} // namespace

class PlantedMistakesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<CavernResult>(); }
    void findsEachMistake_data();
    void findsEachMistake();
    void showsWhereTheAdjustmentMovesStations();
};

void PlantedMistakesTest::findsEachMistake_data()
{
    QTest::addColumn<Plant>("plant");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("loops"); // as cavern counts them

    QTest::newRow("clean") << Plant([](Cave &) {}) << "nothing" << 6;
    // A station clicked a metre further along its passage on the plan: its two legs disagree.
    QTest::newRow("station moved 1 m") << Plant([](Cave &cave) {
        Truth &p = cave.points()[cave.indexOf("R0-2")];
        const Truth &q = cave.points()[cave.indexOf("R0-1")];
        const double length = std::hypot(p.east - q.east, p.north - q.north);
        p.east += (p.east - q.east) / length;
        p.north += (p.north - q.north) / length;
    }) << "leg R0-1-R0-2 -1.0 | leg R0-2-J01 0.9" << 6;
    // Row 2 drawn turned 10 degrees about its first station: it meets each junction 2 L sin 5
    // degrees from where the columns put it, L the passage since the junction before (26.3, 33.9
    // and 26.0 m: 4.6, 5.9 and 4.5 m).
    QTest::newRow("traverse turned 10 degrees") << Plant([](Cave &cave) {
        const int first = cave.indexOf("J20", cave.indexOf("R2-1") - 1);
        const Truth origin = cave.points()[first];
        for (int i = first + 1; i < cave.points().size(); ++i) {
            Truth &p = cave.points()[i];
            const double e = p.east - origin.east, n = p.north - origin.north, a = 10.0 * Degrees;
            p.east = origin.east + e * std::cos(a) + n * std::sin(a);
            p.north = origin.north - e * std::sin(a) + n * std::cos(a);
        }
    }) << "loop J21 4.6 | loop J22 6.0 | loop J23 4.5" << 6;
    // A profile point a fifth of its leg too far along the profile.
    QTest::newRow("profile point 20 % off") << Plant([](Cave &cave) {
        const int i = cave.indexOf("C2-4");
        Truth &p = cave.points()[i];
        p.developed += 0.2 * (p.developed - cave.points()[i - 1].developed);
    }) << "leg J12-C2-4 2.1 | leg C2-4-C2-5 -2.1" << 6;
    // Row 2's last junction typed with another label: drawn on J23's plan point at its depth,
    // far from it on the profile (which breaks there); one loop fewer.
    QTest::newRow("forgotten tie") << Plant([](Cave &cave) {
        cave.points().last().label = QStringLiteral("J23x");
    }) << "tie J23~J23x" << 5;
    // A leg surveyed twice, cleanly; then a metre off.
    const auto repeat = [](double off) {
        return Plant([off](Cave &cave) {
            Truth a = cave.points()[cave.indexOf("J00")], b = cave.points()[cave.indexOf("R0-1")];
            b.east += off;
            b.branchEnd = true;
            cave.points() << a << b;
        });
    };
    QTest::newRow("repeated leg") << repeat(0.0) << "repeated R0-1 0.1" << 7;
    QTest::newRow("repeated leg off") << repeat(1.0) << "leg J00-R0-1 -1.0 | repeated R0-1 0.9 flagged" << 7;
    // A passage from a second entrance, never joined: placed where it is drawn.
    QTest::newRow("untied piece") << Plant([](Cave &cave) {
        cave.points() << Truth{"P1", 10, -80, -10, 700} << Truth{"P2", 20, -82, -12, 710.2}
                      << Truth{"P3", 28, -85, -12, 718.7, true};
    }) << "piece P1 as drawn" << 6;
}

void PlantedMistakesTest::findsEachMistake()
{
    QFETCH(Plant, plant);
    QFETCH(QString, expected);
    QFETCH(int, loops);
    Cave cave;
    plant(cave);
    const Survey survey = cave.drawn();
    const SurveyNetwork net = SurveyNetwork::build(survey.stations, CheckSettings::of(survey, LegTolerance()));
    QCOMPARE(flagged(net), expected);
    QCOMPARE(net.survexLoopCount(), loops);

    // An untied piece stands where it is drawn from station 0, to the clicks' precision.
    for (const SurveyPiece &piece : net.pieces)
        if (!piece.tied) {
            const Truth &truth = cave.points()[piece.firstStation], &origin = cave.points()[0];
            const NetworkPoint &at = net.positions[piece.firstStation];
            QVERIFY(std::hypot(at.east - (truth.east - origin.east), at.north - (truth.north - origin.north)) < 0.15);
            QVERIFY(std::fabs(at.up - (truth.up - origin.up)) < 0.1);
        }

    QString problem;
    QCOMPARE(cavernLoops(survey, &problem), loops);

    QTemporaryDir folder;
    ProjectContents project;
    project.header.planMetresPerPixel = PlanMpp;
    project.header.profileMetresPerPixel = ProfileMpp;
    project.stations = survey.stations;
    const QString path = folder.filePath(QStringLiteral("cave.sprj"));
    ProjectFile::write(path, project);
    QProcess check;
    check.start(QStringLiteral(SPEOMARK_EXPORT), {QStringLiteral("--check"), path});
    QVERIFY(check.waitForFinished(30000));
    QCOMPARE(check.exitCode(), net.anythingFlagged() ? 3 : 0);
}

// cavern's adjustment of a sheared row 2, read back: the stations it moves most are on row 2,
// the worst traverse it reports is one of them, and the arrows point the way the shift goes on a
// plan sheet whose north is to the right.
void PlantedMistakesTest::showsWhereTheAdjustmentMovesStations()
{
    QVector<Survey> surveys;
    for (const bool turned : {false, true}) {
        Cave cave;
        if (turned) {
            const int first = cave.indexOf("J20", cave.indexOf("R2-1") - 1);
            for (int i = first + 1; i < cave.points().size(); ++i)
                cave.points()[i].north -= 0.1 * (cave.points()[i].east - cave.points()[first].east);
        }
        surveys.append(cave.drawn());
    }
    double largest[2] = {0.0, 0.0};
    QString mostMoved;
    for (int k = 0; k < 2; ++k) {
        const Survey &survey = surveys[k];
        const SurveyNetwork net = SurveyNetwork::build(survey.stations, CheckSettings::of(survey, LegTolerance()));
        const CavernResult result = cavern(survey);
        QVERIFY2(result.succeeded() && !result.positions.isEmpty(), qPrintable(result.messages));
        const QVector<AdjustedSurvey::Shift> shifts = AdjustedSurvey::shifts(survey, net, result.positions);
        for (int i = 0; i < shifts.size(); ++i) {
            QVERIFY(shifts[i].known);
            const double moved = std::hypot(shifts[i].east, shifts[i].north, shifts[i].up);
            if (moved > largest[k]) {
                largest[k] = moved;
                mostMoved = survey.stations.at(i).label;
            }
        }
        if (k == 1) {
            QVERIFY2(mostMoved.startsWith(QLatin1String("R2-")) || mostMoved.startsWith(QLatin1String("J2")),
                     qPrintable(mostMoved));
            const auto onRow2 = [&](int entry) {
                const QString label = survey.stations.at(entry).label;
                return label.startsWith(QLatin1String("R2-")) || label.startsWith(QLatin1String("J2"));
            };
            const QVector<int> legs = AdjustedSurvey::traverseLegEnds(survey, result.traverses.constFirst().stations);
            QVERIFY(!legs.isEmpty());
            for (const int to : legs)
                QVERIFY2(onRow2(to) && onRow2(to - 1),
                         qPrintable(result.traverses.constFirst().stations));
        }
    }
    QVERIFY2(largest[0] < 0.3, qPrintable(QString::number(largest[0])));
    QVERIFY2(largest[1] > 1.0, qPrintable(QString::number(largest[1])));

    Survey survey = surveys[0];
    survey.sheet(PlanSheet).northDeg = 90.0;
    CheckSettings settings = CheckSettings::of(survey, LegTolerance());
    const QVector<AdjustedSurvey::Shift> north(survey.stations.count(), {0.0, 1.0, -0.4, true});
    QCOMPARE(AdjustedSurvey::planPixels(north, survey, settings, 10.0).constFirst(), QPointF(200.0, 0.0));
    QCOMPARE(AdjustedSurvey::profilePixels(north, survey, settings, 10.0).constFirst(), QPointF(0.0, 100.0));
}

QTEST_GUILESS_MAIN(PlantedMistakesTest)
#include "test_planted_mistakes.moc"
