// Leg values from station metre coordinates: bearings in every direction, degrees from radians,
// legs along the axes, zero-length legs and the plan orientation.
#include "survey/CommandError.h"
#include "survey/SurveyLeg.h"
#include "output/SurveyText.h"

#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(SurveyStyle)
Q_DECLARE_METATYPE(Station)

namespace {

Station at(float planX, float planY, float profileY)
{
    Station station;
    std::memset(&station, 0, sizeof station);
    station.planXMetres = planX;
    station.planYMetres = planY;
    station.profileYMetres = profileY;
    return station;
}

// The leg as the text writes it.
QByteArray written(const Station &from, const Station &to, double orientation, SurveyStyle style)
{
    return SurveyText::legValues(ComputeLeg(from, to, orientation, style));
}

} // namespace

class SurveyLegTest : public QObject
{
    Q_OBJECT
private slots:
    void writesTheValuesOfALeg_data();
    void writesTheValuesOfALeg();
    void rightAnglesAreExact_data();
    void rightAnglesAreExact();
    void valuesThatAreNotNumbersStopTheLeg_data();
    void valuesThatAreNotNumbersStopTheLeg();
    void orientationTurnsCompassWithinOneTurn_data();
    void orientationTurnsCompassWithinOneTurn();
    void pixelPositionsTakeNoPart();
};

void SurveyLegTest::writesTheValuesOfALeg_data()
{
    QTest::addColumn<Station>("from");
    QTest::addColumn<Station>("to");
    QTest::addColumn<SurveyStyle>("style");
    QTest::addColumn<QByteArray>("values");
    const Station origin = at(0, 0, 0);
    const SurveyStyle angle = SurveyStyle::Angle;
    const SurveyStyle depth = SurveyStyle::DepthChange;
    // Plan y grows towards the bottom of the image, so "up" on the plan is north.
    QTest::newRow("right") << origin << at(1, 0, 0) << angle << QByteArray("1.00\t90.00\t0.00\t");
    QTest::newRow("up") << origin << at(0, -1, 0) << angle << QByteArray("1.00\t0.00\t0.00\t");
    QTest::newRow("down") << origin << at(0, 1, 0) << angle << QByteArray("1.00\t180.00\t0.00\t");
    QTest::newRow("left") << origin << at(-1, 0, 0) << angle << QByteArray("1.00\t270.00\t0.00\t");
    QTest::newRow("up right") << origin << at(1, -1, 0) << angle << QByteArray("1.41\t45.00\t0.00\t");
    QTest::newRow("down right") << origin << at(1, 1, 0) << angle << QByteArray("1.41\t135.00\t0.00\t");
    QTest::newRow("down left") << origin << at(-1, 1, 0) << angle << QByteArray("1.41\t225.00\t0.00\t");
    QTest::newRow("up left") << origin << at(-1, -1, 0) << angle << QByteArray("1.41\t315.00\t0.00\t");
    QTest::newRow("slope angle") << at(10, 10, 5) << at(13, 6, 3) << angle << QByteArray("5.39\t36.87\t21.80\t");
    QTest::newRow("slope depth") << at(10, 10, 5) << at(13, 6, 3) << depth << QByteArray("5.39\t36.87\t2.00\t");
    // Degrees are 180/pi radians: atan(1/4) is 14.036 and atan(2) 63.435, which round to these
    // (180 x 1/3.1415 gave 14.03 and 63.44).
    QTest::newRow("pi compass") << origin << at(1, -4, 0) << angle << QByteArray("4.12\t14.04\t0.00\t");
    QTest::newRow("pi incline") << origin << at(1, 0, -2) << angle << QByteArray("2.24\t90.00\t63.43\t");
    QTest::newRow("plumb angle") << origin << at(0, 0, 5) << angle << QByteArray("5.00\t0.00\t-90.00\t");
    QTest::newRow("plumb depth") << origin << at(0, 0, 5) << depth << QByteArray("5.00\t0.00\t-5.00\t");
    QTest::newRow("plumb up") << origin << at(0, 0, -5) << angle << QByteArray("5.00\t0.00\t90.00\t");
    QTest::newRow("north dx 0") << origin << at(0, -5, 0) << angle << QByteArray("5.00\t0.00\t0.00\t");
    QTest::newRow("north dx -0.001") << origin << at(-0.001f, -5, 0) << angle << QByteArray("5.00\t359.99\t0.00\t");
    QTest::newRow("north dx -0.0001") << origin << at(-0.0001f, -5, 0) << angle << QByteArray("5.00\t360.00\t0.00\t");
    // A slight fall prints as -0.00, a level leg as 0.00.
    QTest::newRow("small fall") << origin << at(10, 0, 0.0001f) << depth << QByteArray("10.00\t90.00\t0.00\t");
    // Two stations at one place: a leg of nothing, in both styles.
    QTest::newRow("same place angle") << at(4.5f, -2, 7) << at(4.5f, -2, 7) << angle << QByteArray("0.00\t0.00\t0.00\t");
    QTest::newRow("same place depth") << at(4.5f, -2, 7) << at(4.5f, -2, 7) << depth << QByteArray("0.00\t0.00\t0.00\t");
    QTest::newRow("big values") << at(-3e38f, 0, 0) << at(3e38f, 0, 0) << depth
                                << QByteArray("600000001099551151555607988562290540544.00\t90.00\t0.00\t");
}

void SurveyLegTest::writesTheValuesOfALeg()
{
    QFETCH(Station, from);
    QFETCH(Station, to);
    QFETCH(SurveyStyle, style);
    QFETCH(QByteArray, values);
    QCOMPARE(written(from, to, 0.0, style), values);
}

void SurveyLegTest::rightAnglesAreExact_data()
{
    QTest::addColumn<Station>("to");
    QTest::addColumn<double>("compass");
    QTest::addColumn<double>("vertical");
    // Unrounded: a factor other than 180/pi shows here first (it made these 0.00265, 180.00265
    // and 90.00265), long before the second decimal.
    QTest::newRow("north") << at(0, -3, 0) << 0.0 << 0.0;
    QTest::newRow("south") << at(0, 3, 0) << 180.0 << 0.0;
    QTest::newRow("plumb up") << at(0, 0, -3) << 0.0 << 90.0;
    QTest::newRow("plumb down") << at(0, 0, 3) << 0.0 << -90.0;
}

void SurveyLegTest::rightAnglesAreExact()
{
    QFETCH(Station, to);
    QFETCH(double, compass);
    QFETCH(double, vertical);
    const SurveyLeg leg = ComputeLeg(at(0, 0, 0), to, 0.0, SurveyStyle::Angle);
    QVERIFY2(std::fabs(leg.Compass - compass) < 1e-9, qPrintable(QString::number(leg.Compass, 'g', 17)));
    QVERIFY2(std::fabs(leg.Vertical - vertical) < 1e-9, qPrintable(QString::number(leg.Vertical, 'g', 17)));
}

void SurveyLegTest::valuesThatAreNotNumbersStopTheLeg_data()
{
    QTest::addColumn<Station>("to");
    QTest::addColumn<double>("orientation");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("nan plan x") << at(nan, 1, 1) << 0.0;
    QTest::newRow("infinite plan y") << at(1, inf, 1) << 0.0;
    QTest::newRow("infinite profile y") << at(1, 1, -inf) << 0.0;
    QTest::newRow("infinite orientation") << at(1, 1, 1) << std::numeric_limits<double>::infinity();
    QTest::newRow("nan orientation") << at(1, 1, 1) << std::numeric_limits<double>::quiet_NaN();
}

void SurveyLegTest::valuesThatAreNotNumbersStopTheLeg()
{
    QFETCH(Station, to);
    QFETCH(double, orientation);
    for (SurveyStyle style : {SurveyStyle::Angle, SurveyStyle::DepthChange}) {
        try {
            const SurveyLeg leg = ComputeLeg(at(0, 0, 0), to, orientation, style);
            QFAIL(qPrintable(QStringLiteral("gave %1 %2 %3").arg(leg.Tape).arg(leg.Compass).arg(leg.Vertical)));
        } catch (const CommandError &error) {
            QCOMPARE(error.message(), QStringLiteral("Invalid floating point operation"));
        }
    }
}

void SurveyLegTest::orientationTurnsCompassWithinOneTurn_data()
{
    QTest::addColumn<Station>("to");
    QTest::addColumn<double>("orientation");
    QTest::addColumn<QByteArray>("values");
    // North pointing to the image's right: a leg to the right runs north, one upwards runs west.
    QTest::newRow("right, north right") << at(2, 0, 0) << 90.0 << QByteArray("2.00\t0.00\t0.00\t");
    QTest::newRow("up, north right") << at(0, -2, 0) << 90.0 << QByteArray("2.00\t270.00\t0.00\t");
    QTest::newRow("left, north right") << at(-2, 0, 0) << 90.0 << QByteArray("2.00\t180.00\t0.00\t");
    QTest::newRow("right, north left") << at(2, 0, 0) << -90.0 << QByteArray("2.00\t180.00\t0.00\t");
    QTest::newRow("slope, 30") << at(13 - 10, 6 - 10, 0) << 30.0 << QByteArray("5.00\t6.87\t0.00\t");
    QTest::newRow("slope, 390") << at(13 - 10, 6 - 10, 0) << 390.0 << QByteArray("5.00\t6.87\t0.00\t");
    QTest::newRow("slope, -690") << at(13 - 10, 6 - 10, 0) << -690.0 << QByteArray("5.00\t6.87\t0.00\t");
    QTest::newRow("slope, 40") << at(13 - 10, 6 - 10, 0) << 40.0 << QByteArray("5.00\t356.87\t0.00\t");
    QTest::newRow("huge orientation") << at(1, 0, 0) << 1e300 << QByteArray();
}

void SurveyLegTest::orientationTurnsCompassWithinOneTurn()
{
    QFETCH(Station, to);
    QFETCH(double, orientation);
    QFETCH(QByteArray, values);
    const SurveyLeg leg = ComputeLeg(at(0, 0, 0), to, orientation, SurveyStyle::Angle);
    QVERIFY2(leg.Compass >= 0.0 && leg.Compass < 360.0, qPrintable(QString::number(leg.Compass)));
    if (!values.isEmpty())
        QCOMPARE(SurveyText::legValues(leg), values);
}

void SurveyLegTest::pixelPositionsTakeNoPart()
{
    // The metres were fixed when the points were placed; pixels and profile x do not count, so a
    // later change of scale (which changes neither) leaves every leg as it was.
    Station from = at(10, 10, 5);
    Station to = at(13, 6, 3);
    const QByteArray before = written(from, to, 0.0, SurveyStyle::Angle);
    to.planX = 999;
    to.planY = -7;
    to.profileX = 1234;
    to.profileY = 55;
    QCOMPARE(written(from, to, 0.0, SurveyStyle::Angle), before);
}

QTEST_GUILESS_MAIN(SurveyLegTest)
#include "test_survey_leg.moc"
