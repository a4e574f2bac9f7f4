// Sheets held against each other: a sheet's north and scale fitted to the stations it shares with
// others, drawn exactly, on whole pixels and clicked a pixel off; and the check's comparison of two
// plans, one of them turned, stretched or holding a station named wrongly.
#include "checks/SheetAlignment.h"
#include "checks/SurveyNetwork.h"

#include <QTest>
#include <cmath>

namespace {

constexpr double Radians = 3.14159265358979323846 / 180.0;

// Stations on the ground (east, north, up), spread over about 60 m as a passage runs.
const QVector<AlignmentTie> &ground()
{
    static const QVector<AlignmentTie> points = {
        {"A", -1, 0, 0, 0.0, 0.0, 0.0},    {"B", -1, 0, 0, 7.3, 4.1, -1.2},   {"C", -1, 0, 0, 15.9, 2.2, -2.9},
        {"D", -1, 0, 0, 24.4, 9.7, -3.4},  {"E", -1, 0, 0, 31.0, 17.5, -6.1}, {"F", -1, 0, 0, 40.6, 15.2, -5.2},
        {"G", -1, 0, 0, 48.1, 22.9, -8.8}, {"H", -1, 0, 0, 55.5, 27.4, -9.6},
    };
    return points;
}

// Where a plan sheet with this north and scale draws a point, and the clicks on it: `jitter`
// pixels off in turn to the right, down, left and up; `whole` rounds the mark first.
QPointF drawnOnPlan(const AlignmentTie &p, double northDeg, double metresPerPixel, bool whole, int jitter, int k)
{
    const double n = northDeg * Radians;
    double x = 1200 + (p.east * std::cos(n) + p.north * std::sin(n)) / metresPerPixel;
    double y = 1500 - (p.north * std::cos(n) - p.east * std::sin(n)) / metresPerPixel;
    if (whole) {
        x = std::round(x);
        y = std::round(y);
    }
    const int offsets[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    return {x + jitter * offsets[k % 4][0], y + jitter * offsets[k % 4][1]};
}

Station placed(const char *label, QPointF plan, double planMpp, SheetId sheet, double up, bool branchEnd = false)
{
    Station s{};
    s.planX = float(plan.x());
    s.planY = float(plan.y());
    s.planXMetres = Calibration{planMpp}.storedMetres(plan.x());
    s.planYMetres = Calibration{planMpp}.storedMetres(plan.y());
    s.profileY = float(std::round(-up / 0.04));
    s.profileYMetres = Calibration{0.04}.storedMetres(double(s.profileY));
    s.profileX = 0.0f;
    s.label = QString::fromLatin1(label);
    s.planSheet = sheet;
    s.branchEnd = branchEnd;
    return s;
}

// A passage drawn on plan 1 (north 0, 0.05 m a pixel) from A to H, and again from C on plan 2
// (0.04 m a pixel, north 15) as the survey goes on there: C to H are the shared stations. Plan 2
// is set with its north `turn` degrees off and its scale `stretch` per cent off; `misnamed`
// draws the station it names on plan 2 where F is.
Survey twoPlans(double turn, double stretch, const char *misnamed = "")
{
    Survey survey;
    survey.sheet(PlanSheet).calibration = Calibration{0.05};
    survey.sheet(ProfileSheet).calibration = Calibration{0.04};
    survey.sheets.push_back({2, SheetKind::Plan, Calibration{0.04 * (1.0 + stretch / 100.0)}, 15.0 + turn, {}});
    std::vector<Station> stations;
    const QVector<AlignmentTie> &points = ground();
    for (int k = 0; k < points.size(); ++k)
        stations.push_back(placed(points[k].name.toLatin1().constData(), drawnOnPlan(points[k], 0.0, 0.05, true, 0, k),
                                  0.05, PlanSheet, points[k].up, k + 1 == points.size()));
    for (int k = 2; k < points.size(); ++k) {
        const AlignmentTie &p = points[QString::fromLatin1(misnamed) == points[k].name ? 5 : k];
        stations.push_back(placed(points[k].name.toLatin1().constData(), drawnOnPlan(p, 15.0, 0.04, true, 0, k),
                                  survey.sheet(2).calibration.metresPerPixel, 2, p.up));
    }
    survey.stations.assign(stations);
    return survey;
}

} // namespace

class SheetAlignmentTest : public QObject
{
    Q_OBJECT
private slots:
    void fitsAPlan_data();
    void fitsAPlan();
    void fitsAProfile_data();
    void fitsAProfile();
    void aligningASurveysSheetFindsItsNorth();
    void theCheckHoldsTwoPlansAgainstEachOther_data();
    void theCheckHoldsTwoPlansAgainstEachOther();
};

// The fitted north and scale against the ones the sheet was drawn with: exact from exact points,
// within what whole pixels and a pixel's jitter allow otherwise; a station drawn in the wrong
// place stands out by its residual.
void SheetAlignmentTest::fitsAPlan_data()
{
    QTest::addColumn<double>("north");
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<int>("jitter");
    QTest::addColumn<bool>("fitScale");
    QTest::addColumn<double>("northWithin");
    QTest::addColumn<double>("scaleWithinPercent");
    QTest::addColumn<double>("worstPixelsBelow");
    QTest::newRow("north 0, 0.042, exact") << 0.0 << 0.042 << false << 0 << true << 1e-9 << 1e-9 << 1e-6;
    QTest::newRow("north 15, 0.05, exact") << 15.0 << 0.05 << false << 0 << true << 1e-9 << 1e-9 << 1e-6;
    QTest::newRow("north -20, 0.0635, exact") << 340.0 << 0.0635 << false << 0 << true << 1e-9 << 1e-9 << 1e-6;
    QTest::newRow("north 359.99, exact") << 359.99 << 0.05 << false << 0 << true << 1e-9 << 1e-9 << 1e-6;
    QTest::newRow("scale held, exact") << 15.0 << 0.05 << false << 0 << false << 1e-9 << 0.0 << 1e-6;
    // 8 points over 60 m at 0.05 m a pixel: a pixel anywhere moves the fit by about 0.07 degree.
    QTest::newRow("whole pixels") << 15.0 << 0.05 << true << 0 << true << 0.05 << 0.1 << 0.75;
    QTest::newRow("whole pixels, scale held") << 340.0 << 0.0635 << true << 0 << false << 0.05 << 0.0 << 0.75;
    QTest::newRow("clicked a pixel off") << 15.0 << 0.05 << true << 1 << true << 0.1 << 0.2 << 1.75;
}

void SheetAlignmentTest::fitsAPlan()
{
    QFETCH(double, north);
    QFETCH(double, scale);
    QFETCH(bool, whole);
    QFETCH(int, jitter);
    QFETCH(bool, fitScale);
    QFETCH(double, northWithin);
    QFETCH(double, scaleWithinPercent);
    QFETCH(double, worstPixelsBelow);
    QVector<AlignmentTie> ties = ground();
    for (int k = 0; k < ties.size(); ++k) {
        const QPointF at = drawnOnPlan(ties[k], north, scale, whole, jitter, k);
        ties[k].x = at.x();
        ties[k].y = at.y();
    }
    const SheetAlignment fit = SheetAlignment::fitPlan(ties, fitScale ? 0.0 : scale);
    QVERIFY2(fit.fitted, qPrintable(fit.problem));
    const double turn = std::remainder(fit.northDeg - north, 360.0);
    QVERIFY2(std::fabs(turn) <= northWithin, qPrintable(QString::number(turn, 'g', 17)));
    QVERIFY(fit.northDeg >= 0.0 && fit.northDeg < 360.0);
    QVERIFY2(std::fabs(fit.metresPerPixel / scale - 1.0) * 100.0 <= scaleWithinPercent,
             qPrintable(QString::number(fit.metresPerPixel, 'g', 17)));
    QVERIFY2(fit.worstPixels < worstPixelsBelow, qPrintable(QString::number(fit.worstPixels)));

    // F drawn 40 pixels off: its residual is the worst, by far.
    ties[5].x += 40;
    const SheetAlignment off = SheetAlignment::fitPlan(ties, fitScale ? 0.0 : scale);
    for (int k = 0; k < ties.size(); ++k)
        if (k != 5)
            QVERIFY(off.ties[k].residualPixels < off.ties[5].residualPixels / 2);
}

// up = -scale y + offset: exact points give the scale back exactly; points at one depth give none.
void SheetAlignmentTest::fitsAProfile_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<double>("scaleWithinPercent");
    QTest::addColumn<bool>("level");
    QTest::newRow("exact") << 0.0475 << false << 1e-9 << false;
    QTest::newRow("whole pixels") << 0.0475 << true << 0.5 << false;
    QTest::newRow("all at one depth") << 0.05 << false << 0.0 << true;
}

void SheetAlignmentTest::fitsAProfile()
{
    QFETCH(double, scale);
    QFETCH(bool, whole);
    QFETCH(double, scaleWithinPercent);
    QFETCH(bool, level);
    QVector<AlignmentTie> ties = ground();
    for (AlignmentTie &tie : ties) {
        if (level)
            tie.up = -3.0;
        tie.y = 2000 - tie.up / scale;
        if (whole)
            tie.y = std::round(tie.y);
    }
    const SheetAlignment fit = SheetAlignment::fitProfile(ties);
    QCOMPARE(fit.fitted, !level);
    QCOMPARE(fit.problem.isEmpty(), !level);
    if (!level)
        QVERIFY(std::fabs(fit.metresPerPixel / scale - 1.0) * 100.0 <= scaleWithinPercent);
    QVERIFY(!SheetAlignment::fitProfile(ties.mid(0, 1)).fitted);
}

// Plan 2 set 2 degrees off and 3 % off: the fit against plan 1's stations gives its real north
// and scale, to the rounding of the marks.
void SheetAlignmentTest::aligningASurveysSheetFindsItsNorth()
{
    const Survey survey = twoPlans(2.0, 3.0);
    const SheetAlignment fit = SheetAlignment::of(survey, 2, true);
    QVERIFY2(fit.fitted, qPrintable(fit.problem));
    QCOMPARE(fit.ties.size(), 6);
    QVERIFY2(std::fabs(fit.northDeg - 15.0) < 0.05, qPrintable(QString::number(fit.northDeg)));
    QVERIFY2(std::fabs(fit.metresPerPixel / 0.04 - 1.0) < 0.002, qPrintable(QString::number(fit.metresPerPixel)));
    const SheetAlignment northOnly = SheetAlignment::of(survey, 2, false);
    QVERIFY(std::fabs(northOnly.northDeg - 15.0) < 0.05);
    QCOMPARE(northOnly.metresPerPixel, survey.sheet(2).calibration.metresPerPixel);
    // The first plan, against the second as set: what lays it on the second's turned stations.
    QVERIFY(std::fabs(SheetAlignment::of(survey, PlanSheet, false).northDeg - 2.0) < 0.05);
}

// The two plans share six stations over 40 m; clicks may be 3 pixels off on each.
void SheetAlignmentTest::theCheckHoldsTwoPlansAgainstEachOther_data()
{
    QTest::addColumn<double>("turn");
    QTest::addColumn<double>("stretch");
    QTest::addColumn<QString>("misnamed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("agreeing") << 0.0 << 0.0 << "" << "";
    QTest::newRow("turned 0.5 degree") << 0.5 << 0.0 << "" << "north";
    QTest::newRow("turned 0.5 degree the other way") << -0.5 << 0.0 << "" << "north";
    QTest::newRow("scale 1 % off") << 0.0 << 1.0 << "" << "scale";
    QTest::newRow("a station drawn where F is") << 0.0 << 0.0 << "H" << "H";
}

void SheetAlignmentTest::theCheckHoldsTwoPlansAgainstEachOther()
{
    QFETCH(double, turn);
    QFETCH(double, stretch);
    QFETCH(QString, misnamed);
    QFETCH(QString, expected);
    const Survey survey = twoPlans(turn, stretch, misnamed.toLatin1().constData());
    const SurveyNetwork net = SurveyNetwork::build(survey.stations, CheckSettings::of(survey, LegTolerance{}));
    QCOMPARE(net.sheetComparisons.size(), 1);
    const SheetComparison &pair = net.sheetComparisons.constFirst();
    QVERIFY(pair.compared);
    QCOMPARE(pair.stations.size(), 6);
    QStringList found;
    if (pair.northFlagged)
        found.append(QStringLiteral("north"));
    if (pair.scaleFlagged)
        found.append(QStringLiteral("scale"));
    for (const SharedStation &station : pair.stations)
        if (station.flagged)
            found.append(station.name);
    QCOMPARE(found.join(QLatin1Char(' ')), expected);
    QCOMPARE(net.flaggedSheetCount() > 0, !expected.isEmpty());
    if (turn != 0.0)
        QVERIFY2(std::fabs(pair.turnDeg - turn) < 0.05, qPrintable(QString::number(pair.turnDeg)));
    if (stretch != 0.0)
        QVERIFY2(std::fabs(pair.scalePercent - stretch) < 0.1, qPrintable(QString::number(pair.scalePercent)));
}

QTEST_GUILESS_MAIN(SheetAlignmentTest)
#include "test_sheet_alignment.moc"
