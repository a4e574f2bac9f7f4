// The survey as a network, from small tables with known geometry: where each station lands, the
// loops with their misclosures and legs, pieces joined later, names matched as Survex does, the
// tolerance on both sides of its edge; then the 3D view's presets and the views' disagreement
// overlay as pixels.
#include "app/ui/DocumentCheckSource.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "checks/CentrelineDrawing.h"
#include "checks/SurveyNetwork.h"
#include "output/Exporter.h"
#include "survey/CommandError.h"
#include "views/ViewPainter.h"
#include "views/ViewSnapshot.h"

#include <QPainter>
#include <QTest>
#include <vector>

Q_DECLARE_METATYPE(std::vector<Station>)
Q_DECLARE_METATYPE(ProfileKind)
Q_DECLARE_METATYPE(std::vector<Sheet>)

namespace {

constexpr double PlanMpp = 0.05;
constexpr double ProfileMpp = 0.04;

// Plan x east, plan y south, profile y down, in metres; dev is the profile's horizontal position.
Station st(const char *label, double x, double y, double z = 0, double dev = 0, bool branchEnd = false)
{
    Station s{};
    s.planXMetres = float(x);
    s.planYMetres = float(y);
    s.profileYMetres = float(z);
    s.planX = float(x / PlanMpp);
    s.planY = float(y / PlanMpp);
    s.profileX = float(dev / ProfileMpp);
    s.profileY = float(z / ProfileMpp);
    s.label = fittedLabel(QString::fromLatin1(label));
    s.branchEnd = branchEnd;
    return s;
}

// The scale changed and the stations placed before kept their metres: the legs from them to
// stations placed after are flagged, on the plan and on the profile alike.
Station placedAt(Station station, double planMpp, double profileMpp)
{
    station.planX = float(station.planXMetres / planMpp);
    station.planY = float(station.planYMetres / planMpp);
    station.profileY = float(station.profileYMetres / profileMpp);
    return station;
}

SurveyNetwork network(const std::vector<Station> &stations, double orientation = 0.0,
                      ProfileKind kind = ProfileKind::Extended, double profileMpp = ProfileMpp,
                      double clickPixels = LegTolerance::DefaultPixels)
{
    StationTable table;
    table.assign(stations);
    CheckSettings settings;
    settings.tolerance.pixels = clickPixels;
    settings.plans.emplace_back(PlanSheet, Calibration{PlanMpp});
    settings.planOrientation = orientation;
    settings.profileKind = kind;
    settings.projectionAzimuthDeg = 60.0; // for a projected profile
    settings.profile.metresPerPixel = profileMpp;
    return SurveyNetwork::build(table, settings);
}

QString n2(double value) { return QString::number(value + 0.0, 'f', 2).replace(QLatin1String("-0.00"), QLatin1String("0.00")); }

// Every distinct station's position, then loops, pieces not tied, flagged legs and likely ties.
QString describe(const SurveyNetwork &net)
{
    QStringList parts;
    QStringList names; // those the legs name, in the order they do
    for (const LegCheck &leg : net.legs) {
        if (!names.contains(leg.fromName))
            names.append(leg.fromName);
        if (!names.contains(leg.toName))
            names.append(leg.toName);
    }
    QStringList positions;
    for (const QString &name : std::as_const(names)) {
        int entry = -1;
        for (const LegCheck &leg : net.legs)
            if (entry < 0)
                entry = leg.fromName == name ? leg.from : leg.toName == name ? leg.to : -1;
        const NetworkPoint &p = net.positions[entry];
        positions.append(QStringLiteral("%1 %2 %3 %4").arg(name, n2(p.east), n2(p.north), n2(p.up)));
    }
    parts.append(positions.join(QStringLiteral("; ")));
    for (const SurveyLoop &loop : net.loops) {
        QStringList legs;
        for (const int index : loop.legs)
            legs.append(net.legs[index].fromName + QLatin1Char('-') + net.legs[index].toName);
        parts.append(QStringLiteral("loop %1 %2 %3 %4 / %5 [%6]%7")
                         .arg(loop.name, n2(loop.dEast), n2(loop.dNorth), n2(loop.dUp), n2(loop.length),
                              legs.join(QLatin1Char(' ')), loop.flagged ? QStringLiteral(" flagged") : QString()));
    }
    for (const SurveyLoop &repeat : net.repeatedLegs)
        parts.append(QStringLiteral("repeated %1 %2 / %3%4")
                         .arg(repeat.name, n2(repeat.misclosure), n2(repeat.allowed),
                              repeat.flagged ? QStringLiteral(" flagged") : QString()));
    for (const SurveyPiece &piece : net.pieces)
        if (!piece.tied)
            parts.append(QStringLiteral("untied %1 (%2)").arg(piece.firstName).arg(piece.stationCount));
    for (const LegCheck &leg : net.legs) {
        if (leg.flagged)
            parts.append(QStringLiteral("flagged %1-%2").arg(leg.fromName, leg.toName));
        else if (leg.hasProfileLength && std::fabs(leg.disagreement) >= 0.005)
            parts.append(QStringLiteral("off %1-%2 %3").arg(leg.fromName, leg.toName, n2(leg.disagreement)));
    }
    for (const LikelyTie &tie : net.likelyTies)
        parts.append(QStringLiteral("tie %1~%2").arg(tie.firstName, tie.secondName));
    for (const int index : net.mixedScaleLegs)
        parts.append(QStringLiteral("two scales %1-%2").arg(net.legs[index].fromName, net.legs[index].toName));
    return parts.join(QStringLiteral(" | "));
}

QRgb pixel(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

} // namespace

class SurveyNetworkTest : public QObject
{
    Q_OBJECT
private slots:
    void placesStationsAndClosesLoops_data();
    void placesStationsAndClosesLoops();
    void presetsShowTheDrawings_data();
    void presetsShowTheDrawings();
    void viewsColourTheLegsThatDisagree_data();
    void viewsColourTheLegsThatDisagree();
    void checkAndWritersReadOneNorth_data();
    void checkAndWritersReadOneNorth();
    void profileScaleIsAProfileSheets_data();
    void profileScaleIsAProfileSheets();
    void flagsWrongDimensions_data();
    void flagsWrongDimensions();
    void drawsThePassage();
};

void SurveyNetworkTest::placesStationsAndClosesLoops_data()
{
    QTest::addColumn<std::vector<Station>>("stations");
    QTest::addColumn<double>("orientation");
    QTest::addColumn<ProfileKind>("kind");
    QTest::addColumn<double>("profileMpp");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<double>("clickPixels");
    const ProfileKind extended = ProfileKind::Extended;

    // Two loops sharing the leg B-C; the second closes 0.5 m east of C and is measured along
    // C-B-E-F, the way the survey reached F, not along the first loop. Half a metre is ten
    // plan pixels: far more than two placements of three-pixel clicks allow (0.27 m).
    QTest::newRow("ladder")
        << std::vector<Station>{st("A", 0, 0), st("B", 10, 0, 0, 10), st("C", 10, 10, 0, 20), st("D", 0, 10, 0, 30),
                                st("A", 0, 0, 0, 40, true), st("B", 10, 0, 0, 10), st("E", 20, 0, 0, 20),
                                st("F", 20, 10, 0, 30), st("C", 10.5, 10, 0, 39.5)}
        << 0.0 << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 10.00 0.00 0.00; C 10.00 -10.00 0.00; D 0.00 -10.00 0.00; E 20.00 0.00 0.00; "
           "F 20.00 -10.00 0.00 | loop A 0.00 0.00 0.00 / 40.00 [A-B B-C C-D D-A] | "
           "loop C 0.50 0.00 0.00 / 39.50 [B-C B-E E-F F-C] flagged" << LegTolerance::DefaultPixels;
    // Heights from the profile; north turned to the image's right, so up the image is west.
    QTest::newRow("turned and rising")
        << std::vector<Station>{st("A", 0, 0, 0), st("B", 0, -3, -4, 3), st("C", 4, -3, -4, 7)} << 90.0 << extended
        << ProfileMpp << "A 0.00 0.00 0.00; B -3.00 0.00 4.00; C -3.00 4.00 4.00" << LegTolerance::DefaultPixels;
    // A piece started apart and joined later by a leg to B moves to meet it: no loop, no piece.
    QTest::newRow("joined later")
        << std::vector<Station>{st("A", 0, 0), st("B", 5, 0, 0, 5, true), st("X", 5, 6, 0, 60), st("Y", 5, 3, 0, 63),
                                st("B", 5, 0, 0, 66)}
        << 0.0 << extended << ProfileMpp << "A 0.00 0.00 0.00; B 5.00 0.00 0.00; X 5.00 -6.00 0.00; Y 5.00 -3.00 0.00" << LegTolerance::DefaultPixels;

    // One that never is stands where the drawings put it beside station 0 (depth from the
    // profile); drawn on another plan sheet, it sits east of the rest instead (10 m apart, level
    // with station 0).
    const std::vector<Station> apart = {st("A", 0, 0), st("B", 5, 0, 0, 5, true), st("X", 50, 50, 2, 60),
                                        st("Y", 50, 53, 2, 63)};
    QTest::newRow("apart") << apart << 0.0 << extended << ProfileMpp
                           << "A 0.00 0.00 0.00; B 5.00 0.00 0.00; X 50.00 -50.00 -2.00; Y 50.00 -53.00 -2.00 | "
                              "untied X (2)" << LegTolerance::DefaultPixels;
    std::vector<Station> apartSheets = apart;
    apartSheets[2].planSheet = apartSheets[3].planSheet = SheetId{7};
    QTest::newRow("apart on another sheet")
        << apartSheets << 0.0 << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 5.00 0.00 0.00; X 15.00 0.00 0.00; Y 15.00 -3.00 0.00 | untied X (2)" << LegTolerance::DefaultPixels;
    // Survex folds letters: "a" and "A" are one station. A leg back to its own station is a loop;
    // a second leg between two stations already joined is a repeated leg (Survex counts it as a
    // loop of two legs), here 0 m from the first.
    QTest::newRow("names as Survex matches them")
        << std::vector<Station>{st("a", 0, 0), st("B", 3, -4, 0, 5), st("A", 0, 0, 0, 10), st("A", 0, 1, 0, 11)} << 0.0
        << extended << ProfileMpp
        << "a 0.00 0.00 0.00; B 3.00 4.00 0.00; A 0.00 0.00 0.00 | loop A 0.00 -1.00 0.00 / 1.00 [A-A] flagged | "
           "repeated A 0.00 / 0.27" << LegTolerance::DefaultPixels;
    // A repeated leg that disagrees with the first by a metre.
    QTest::newRow("repeated leg off")
        << std::vector<Station>{st("A", 0, 0), st("B", 10, 0, 0, 10), st("A", 1, 0, 0, 19)} << 0.0 << extended
        << ProfileMpp << "A 0.00 0.00 0.00; B 10.00 0.00 0.00 | repeated A 1.00 / 0.27 flagged" << LegTolerance::DefaultPixels;
    // The tolerance as a rule: 0.5 m up to 10 m, 5 % beyond; a profile without a scale flags
    // nothing.
    // Profile lengths 10.4, 10.6, 21.0 and 21.2 m for 10, 10, 20 and 20 m on the plan.
    const std::vector<Station> lengths = {st("A", 0, 0), st("B", 10, 0, 0, 10.4), st("C", 20, 0, 0, 21),
                                          st("D", 40, 0, 0, 42), st("E", 60, 0, 0, 63.2)};
    const QString placed =
        "A 0.00 0.00 0.00; B 10.00 0.00 0.00; C 20.00 0.00 0.00; D 40.00 0.00 0.00; E 60.00 0.00 0.00";
    QTest::newRow("tolerance") << lengths << 0.0 << extended << ProfileMpp
                               << placed + " | off A-B 0.40 | flagged B-C | off C-D 1.00 | flagged D-E" << 0.0;
    // A projected profile of azimuth 60: each station's profile x is x sin 60 - y cos 60, its
    // place along the azimuth (D-E runs across the plane). The legs place the points, nothing
    // is flagged; F drawn 20 % further along from E than it is, E-F is.
    std::vector<Station> projected = {st("A", 0, 0), st("B", 8, -3, 1.5, 8.428203), st("C", 11, -12, 2.5, 15.526279),
                                      st("D", 4, -18, -1, 12.464102), st("E", 1, -23.196152, -0.5, 12.464101),
                                      st("F", 9, -27, 2, 21.294229)};
    const QString cave = "A 0.00 0.00 0.00; B 8.00 3.00 -1.50; C 11.00 12.00 -2.50; D 4.00 18.00 1.00; "
                         "E 1.00 23.20 0.50; F 9.00 27.00 -2.00";
    QTest::newRow("projected") << projected << 0.0 << ProfileKind::Projective << ProfileMpp << cave
                               << LegTolerance::DefaultPixels;
    projected.back().profileX = float(23.060254 / ProfileMpp);
    QTest::newRow("projected, a point off") << projected << 0.0 << ProfileKind::Projective << ProfileMpp
                                            << cave + " | flagged E-F" << LegTolerance::DefaultPixels;
    QTest::newRow("no profile scale") << lengths << 0.0 << extended << 0.0 << placed << 0.0;
    // From the clicks: four of three pixels at 0.05 and 0.04 m a pixel allow 0.27 m on any leg.
    QTest::newRow("tolerance from the clicks")
        << std::vector<Station>{st("A", 0, 0), st("B", 10, 0, 0, 10.25), st("C", 40, 0, 0, 40.55)} << 0.0
        << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 10.00 0.00 0.00; C 40.00 0.00 0.00 | off A-B 0.25 | flagged B-C" << LegTolerance::DefaultPixels;
    // Within two clicks of each other on the plan, at one depth, not joined by a leg: a likely
    // tie with the first such station, named once, wherever the two are on the profile (Q is
    // 30 m away there). T is on P's plan point but 5 m deeper; R and S are joined by a leg. Each
    // piece stands where the drawings put it.
    QTest::newRow("likely ties")
        << std::vector<Station>{st("P", 0, 0, 0, 0, true), st("P2", 0.1, 0, 0, 0.08, true), st("P3", 0, 0.05, 0, 0, true),
                                st("Q", 0, -0.1, 0, 30, true), st("T", 0, 0.05, 5, 0, true), st("R", 5, 5, 0, 5),
                                st("S", 5.05, 5, 0, 5.04)}
        << 0.0 << ProfileKind::Extended << ProfileMpp
        << "R 5.00 -5.00 0.00; S 5.05 -5.00 0.00 | untied P2 (1) | untied P3 (1) | untied Q (1) | untied T (1) | "
           "untied R (2) | off R-S -0.01 | tie P~P2 | tie P~P3 | tie P~Q" << LegTolerance::DefaultPixels;
    // AD2 and AI2 are 0.13 m apart, each one leg from AC1: two passages, not one station named
    // twice. Four legs round, a station at the first one's point still is a likely tie.
    QTest::newRow("near, two legs apart")
        << std::vector<Station>{st("AC1", 0, 0), st("AD2", 3, 0, 0, 3, true), st("AC1", 0, 0), st("AI2", 3, 0.13, 0, 3)}
        << 0.0 << extended << ProfileMpp << "AC1 0.00 0.00 0.00; AD2 3.00 0.00 0.00; AI2 3.00 -0.13 0.00"
        << LegTolerance::DefaultPixels;
    QTest::newRow("near, four legs apart")
        << std::vector<Station>{st("A", 0, 0), st("B", 5, 0, 0, 5), st("C", 5, 5, 0, 10), st("D", 0, 5, 0, 15),
                                st("E", 0, 0.1, 0, 19.9)}
        << 0.0 << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 5.00 0.00 0.00; C 5.00 -5.00 0.00; D 0.00 -5.00 0.00; E 0.00 -0.10 0.00 | tie A~E"
        << LegTolerance::DefaultPixels;
    // D back to B on an extended profile: B's mark is where the survey first reached it, 10 m
    // back along the drawing, so the leg's length is not there to compare. To a new station at
    // that mark, the same leg is compared and flagged.
    const std::vector<Station> closing = {st("A", 0, 0), st("B", 5, 0, 0, 5), st("C", 10, 0, 0, 10),
                                          st("D", 10, 5, 0, 15), st("B", 5, 0, 0, 5)};
    QTest::newRow("loop closed on an extended profile")
        << closing << 0.0 << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 5.00 0.00 0.00; C 10.00 0.00 0.00; D 10.00 -5.00 0.00 | "
           "loop B 0.00 0.00 0.00 / 17.07 [B-C C-D D-B]"
        << LegTolerance::DefaultPixels;
    std::vector<Station> notClosing = closing;
    notClosing.back().label = QStringLiteral("E");
    QTest::newRow("the same leg to a new station")
        << notClosing << 0.0 << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 5.00 0.00 0.00; C 10.00 0.00 0.00; D 10.00 -5.00 0.00; E 5.00 0.00 0.00 | flagged D-E"
        << LegTolerance::DefaultPixels;
    QTest::newRow("scale changed between stations")
        << std::vector<Station>{st("A", 0, 0, 1, 0), st("B", 10, 0, 1, 10), placedAt(st("C", 20, 0, 1, 20), 0.5, ProfileMpp),
                                placedAt(st("D", 30, 0, 1, 30), 0.5, ProfileMpp),
                                placedAt(st("E", 40, 0, 2, 40), 0.5, 0.1)}
        << 0.0 << extended << ProfileMpp
        << "A 0.00 0.00 0.00; B 10.00 0.00 0.00; C 20.00 0.00 0.00; D 30.00 0.00 0.00; E 40.00 0.00 -1.00 | "
           "two scales B-C | two scales D-E" << LegTolerance::DefaultPixels;
}

void SurveyNetworkTest::placesStationsAndClosesLoops()
{
    QFETCH(std::vector<Station>, stations);
    QFETCH(double, orientation);
    QFETCH(ProfileKind, kind);
    QFETCH(double, profileMpp);
    QFETCH(QString, expected);
    QFETCH(double, clickPixels);
    QCOMPARE(describe(network(stations, orientation, kind, profileMpp, clickPixels)), expected);
}

void SurveyNetworkTest::presetsShowTheDrawings_data()
{
    // Which stored metres each preset lays out across and down the picture: the plan shows plan x
    // and plan y as the plan drawing does; looking north, east and the profile's depth; looking
    // east, plan y (south is to the right) and the depth.
    QTest::addColumn<int>("preset");
    QTest::addColumn<int>("across"); // 0 plan x, 1 plan y
    QTest::addColumn<int>("down");   // 1 plan y, 2 profile y
    QTest::newRow("plan") << 0 << 0 << 1;
    QTest::newRow("north-facing") << 1 << 0 << 2;
    QTest::newRow("east-facing") << 2 << 1 << 2;
}

void SurveyNetworkTest::presetsShowTheDrawings()
{
    QFETCH(int, preset);
    QFETCH(int, across);
    QFETCH(int, down);
    const std::vector<Station> stations = {st("A", 0, 0, 0), st("B", 8, 0, -6, 8), st("C", 8, 8, -6, 16),
                                           st("D", 0, 8, 0, 24), st("E", -3, 4, 5, 29)};
    const SurveyNetwork net = network(stations);
    CentrelineCamera camera = preset == 0   ? CentrelineCamera::plan()
                              : preset == 1 ? CentrelineCamera::northFacing()
                                            : CentrelineCamera::eastFacing();
    camera.pixelsPerMetre = 10.0;
    camera.origin = QPointF(100.5, 100.5); // station 0's pixel centre
    camera.centre = NetworkPoint{};
    QImage picture(300, 300, QImage::Format_RGB32);
    QPainter painter(&picture);
    CentrelinePainter::paint(painter, CentrelineScene::of(net), camera, picture.size(), false);
    painter.end();

    const QRgb background = CentrelinePainter::Background.rgb();
    auto metres = [](const Station &s, int axis) {
        return axis == 0 ? s.planXMetres : axis == 1 ? s.planYMetres : s.profileYMetres;
    };
    QRgb lowest = 0, highest = 0;
    for (const Station &s : stations) {
        const int x = qRound(100 + 10 * metres(s, across)), y = qRound(100 + 10 * metres(s, down));
        const QRgb colour = pixel(picture, x, y);
        QVERIFY2(colour != background, qPrintable(QStringLiteral("%1 not drawn at %2, %3").arg(s.label).arg(x).arg(y)));
        if (s.profileYMetres == 5.0f)
            lowest = colour;
        if (s.profileYMetres == -6.0f)
            highest = colour;
    }
    // Coloured by height: the lowest station blue, the highest red.
    QCOMPARE(lowest, CentrelinePainter::heightColour(0.5 / 32).rgb());
    QCOMPARE(highest, CentrelinePainter::heightColour(31.5 / 32).rgb());
    // Nothing where no station or leg is.
    QCOMPARE(pixel(picture, 140, 120), background);
}

void SurveyNetworkTest::viewsColourTheLegsThatDisagree_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("linesShown");
    QTest::addColumn<double>("profileEnd"); // metres along the profile of the second station
    QTest::addColumn<bool>("orange");
    QTest::newRow("disagreeing, shown") << true << true << 1.6 << true;
    QTest::newRow("disagreeing, legs hidden") << true << false << 1.6 << true;
    QTest::newRow("disagreeing, not asked") << false << true << 1.6 << false;
    QTest::newRow("agreeing") << true << true << 2.5 << false;
}

void SurveyNetworkTest::viewsColourTheLegsThatDisagree()
{
    QFETCH(bool, shown);
    QFETCH(bool, linesShown);
    QFETCH(double, profileEnd);
    QFETCH(bool, orange);
    SurveyDocument document;
    EditSession session;
    // A leg 2.5 m long on the plan (50 pixels) along row 50 of both drawings.
    document.editStations([&](StationTable &table) {
        Station a = st("A", 0.5, 2.5, 0, 0.4), b = st("B", 3.0, 2.5, 0, 0.4 + profileEnd);
        a.profileY = b.profileY = 50;
        table.assign({a, b});
    });
    for (ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        document.editView(side, [](ViewSettings &view) {
            view.image = QImage(120, 100, QImage::Format_RGB32);
            view.image.fill(Qt::white);
            view.gridShown = false;
        });
    document.editView(ViewSide::Profile, [](ViewSettings &view) { view.calibration.metresPerPixel = ProfileMpp; });
    document.setShowLines(linesShown);
    document.setShowLabels(false);
    session.setShowDisagreement(shown);

    const QRgb orangeColour = ViewPainter::disagreementColour().rgb();
    const QVector<int> flagged = DocumentCheckSource(document, session).flaggedLegEnds();
    for (ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const QImage picture = ViewPainter::sourcePicture(ViewSnapshot::of(side, document, session, flagged));
        const int middle = side == ViewSide::Plan ? 35 : 20;
        // Three pixels wide, the ordinary red leg along the middle when legs are shown.
        QCOMPARE(picture.pixel(middle, 49) | 0xFF000000u, orange ? orangeColour : qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(middle, 51) | 0xFF000000u, orange ? orangeColour : qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(middle, 50) | 0xFF000000u,
                 linesShown ? qRgb(255, 0, 0) : orange ? orangeColour : qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(middle, 53) | 0xFF000000u, qRgb(255, 255, 255));
    }
}

// The check reads the survey the writers write, through the one road from the document: a north
// or azimuth that is a number gives both the same bearing, and one that is not stops both with
// the same message, never a check on a guessed north while Save refuses.
void SurveyNetworkTest::checkAndWritersReadOneNorth_data()
{
    QTest::addColumn<QString>("north");       // the plan on screen
    QTest::addColumn<QString>("secondNorth"); // a second plan sheet's; null: none
    QTest::addColumn<QString>("azimuth");
    QTest::addColumn<double>("compass");      // of a leg east on the first plan's image
    QTest::addColumn<QString>("stopped");     // the message both give; empty: none
    QTest::newRow("a number") << "12.5" << QString() << "0" << 77.5 << "";
    QTest::newRow("a comma, spaces") << " 12,5 " << QString() << "0" << 77.5 << "";
    QTest::newRow("west up") << "-90" << QString() << "0" << 180.0 << "";
    QTest::newRow("empty north") << "" << QString() << "0" << 0.0 << "'' is not a valid floating point value";
    QTest::newRow("a word") << "abc" << QString() << "0" << 0.0 << "'abc' is not a valid floating point value";
    QTest::newRow("too large to hold") << "1e999" << QString() << "0" << 0.0
                                       << "'1e999' is not a valid floating point value";
    QTest::newRow("another plan's north") << "12.5" << "x" << "0" << 0.0 << "'x' is not a valid floating point value";
    QTest::newRow("another plan's number") << "12.5" << "40" << "0" << 77.5 << "";
    QTest::newRow("azimuth not a number") << "0" << QString() << "nan" << 0.0
                                          << "'nan' is not a valid floating point value";
}

void SurveyNetworkTest::checkAndWritersReadOneNorth()
{
    QFETCH(QString, north);
    QFETCH(QString, secondNorth);
    QFETCH(QString, azimuth);
    QFETCH(double, compass);
    QFETCH(QString, stopped);
    SurveyDocument document;
    EditSession session;
    document.editStations([](StationTable &table) { table.assign({st("A", 0, 0), st("B", 2.5, 0)}); });
    document.setOrientationEntry(north);
    if (!secondNorth.isNull()) {
        document.showSheet(ViewSide::Plan, document.addSheet(SheetKind::Plan));
        document.setOrientationEntry(secondNorth);
        document.showSheet(ViewSide::Plan, PlanSheet);
    }
    document.setProjectionAzimuthEntry(azimuth);

    QString written;
    try {
        QVERIFY(Exporter::text(document.survey(), ExportFormat::Survex).complete());
    } catch (const CommandError &error) {
        written = error.message();
    }
    QString checked;
    const std::optional<Survey> survey = DocumentCheckSource(document, session).surveyIfMade(&checked);
    QCOMPARE(written, stopped);
    QCOMPARE(checked, stopped);
    QCOMPARE(survey.has_value(), stopped.isEmpty());
    if (survey) {
        const QVector<LegCheck> legs = SurveyLegs::check(survey->stations, CheckSettings::of(*survey, LegTolerance()));
        QCOMPARE(legs.size(), 1);
        QCOMPARE(legs[0].compass, compass);
    }
}

// The profile's scale is a profile sheet's: the one of id 1 where it is a profile, else the
// first; a plan that took id 1, or a profile 1 taken away, never leaves the profile without a
// scale or with a plan's.
void SurveyNetworkTest::profileScaleIsAProfileSheets_data()
{
    QTest::addColumn<std::vector<Sheet>>("sheets");
    QTest::addColumn<SheetId>("stationsProfile");
    QTest::addColumn<double>("profileMpp"); // the stations' profile scale, and the one shown
    const auto plan = [](SheetId id, double mpp) { return Sheet{id, SheetKind::Plan, Calibration{mpp}, 0.0, {}}; };
    const auto profile = [](SheetId id, double mpp) { return Sheet{id, SheetKind::Profile, Calibration{mpp}, 0.0, {}}; };
    QTest::newRow("plan 0, profile 1") << std::vector<Sheet>{plan(0, PlanMpp), profile(1, ProfileMpp)} << 1 << ProfileMpp;
    QTest::newRow("a plan of id 1 without a scale")
        << std::vector<Sheet>{plan(0, PlanMpp), plan(1, 0.0), profile(2, ProfileMpp)} << 2 << ProfileMpp;
    QTest::newRow("a plan of id 1 with a scale")
        << std::vector<Sheet>{plan(0, PlanMpp), plan(1, 0.5), profile(2, ProfileMpp)} << 2 << ProfileMpp;
    QTest::newRow("profile 1 taken away") << std::vector<Sheet>{plan(0, PlanMpp), profile(3, ProfileMpp)} << 3
                                          << ProfileMpp;
    QTest::newRow("profile 1 listed after another")
        << std::vector<Sheet>{plan(0, PlanMpp), profile(2, 0.5), profile(1, ProfileMpp)} << 1 << ProfileMpp;
}

void SurveyNetworkTest::profileScaleIsAProfileSheets()
{
    QFETCH(std::vector<Sheet>, sheets);
    QFETCH(SheetId, stationsProfile);
    QFETCH(double, profileMpp);
    Survey survey;
    survey.sheets = sheets;
    std::vector<Station> stations{st("A", 0, 0, 0, 0), st("B", 2.5, 0, 0, 3.5)}; // 1 m longer on the profile
    for (Station &s : stations)
        s.profileSheet = stationsProfile;
    survey.stations.assign(stations);
    const CheckSettings settings = CheckSettings::of(survey, LegTolerance());
    QCOMPARE(settings.exampleProfileScale(), profileMpp);
    QCOMPARE(settings.profileScaleAt(survey.stations.at(1)), profileMpp);
    const QVector<LegCheck> legs = SurveyLegs::check(survey.stations, settings);
    QCOMPARE(legs.size(), 1);
    QVERIFY(legs[0].hasProfileLength);
    QCOMPARE(n2(legs[0].profileHorizontal), QStringLiteral("3.50"));
    QVERIFY(legs[0].flagged);
}


namespace {

Station walled(Station station, std::optional<double> left, std::optional<double> right,
               std::optional<double> up = std::nullopt, std::optional<double> down = std::nullopt)
{
    station.dimensions.left = left;
    station.dimensions.right = right;
    station.dimensions.up = up;
    station.dimensions.down = down;
    return station;
}

} // namespace

// Negative values and a passage four times wider or higher than its neighbours along the
// traverse (and 2 m more) are flagged; stations without dimensions are listed once some have them.
void SurveyNetworkTest::flagsWrongDimensions_data()
{
    QTest::addColumn<std::vector<Station>>("stations");
    QTest::addColumn<QString>("expected");
    const std::nullopt_t none = std::nullopt;
    QTest::newRow("no dimensions anywhere")
        << std::vector<Station>{st("A", 0, 0), st("B", 5, 0), st("C", 10, 0)} << "| without";
    QTest::newRow("steady, one without")
        << std::vector<Station>{walled(st("A", 0, 0), 1, 1), walled(st("B", 5, 0), 1.5, 1.5), st("C", 10, 0),
                                walled(st("D", 15, 0), 2, none)}
        << "| without 2";
    QTest::newRow("ten times wider than both neighbours")
        << std::vector<Station>{walled(st("A", 0, 0), 0.5, 0.5), walled(st("B", 5, 0), 10, 10.5),
                                walled(st("C", 10, 0), 0.4, 0.6)}
        << "wide B 20.50 1.00 | without";
    QTest::newRow("21.3 between 3.7 and 4.6")
        << std::vector<Station>{walled(st("A", 0, 0), 1.7, 2), walled(st("B", 5, 0), 10.3, 11),
                                walled(st("C", 10, 0), 2.1, 2.5)}
        << "wide B 21.30 4.60 | without";
    QTest::newRow("a wide neighbour too")
        << std::vector<Station>{walled(st("A", 0, 0), 0.5, 0.5), walled(st("B", 5, 0), 10, 10.5),
                                walled(st("C", 10, 0), 3, 3.5)}
        << "| without";
    QTest::newRow("just under four times")
        << std::vector<Station>{walled(st("A", 0, 0), 0.5, 0.5), walled(st("B", 5, 0), 2, 1.9)} << "| without";
    QTest::newRow("a crawl opening into a small passage")
        << std::vector<Station>{walled(st("A", 0, 0), 0.2, 0.2), walled(st("B", 5, 0), 1, 0.9)} << "| without";
    QTest::newRow("five times higher")
        << std::vector<Station>{walled(st("A", 0, 0), 1, 1, 1, 0.5), walled(st("B", 5, 0), 1, 1, 5, 2.5),
                                walled(st("C", 10, 0), 1, 1, 1, 0.4)}
        << "high B 7.50 1.50 | without";
    QTest::newRow("a new branch is no neighbour")
        << std::vector<Station>{walled(st("A", 0, 0), 0.5, 0.5), walled(st("B", 5, 0, 0, 5, true), 0.5, 0.5),
                                walled(st("C", 50, 0), 20, 20), walled(st("D", 55, 0), 20, 20)}
        << "| without";
    QTest::newRow("below zero")
        << std::vector<Station>{walled(st("A", 0, 0), 1, 1), walled(st("B", 5, 0), 1, 1, -0.5)} << "negative B | without";
}

void SurveyNetworkTest::flagsWrongDimensions()
{
    QFETCH(std::vector<Station>, stations);
    QFETCH(QString, expected);
    const SurveyNetwork net = network(stations);
    QStringList found;
    for (const DimensionProblem &problem : net.dimensionProblems)
        found.append(problem.kind == DimensionProblem::Kind::Negative
                         ? QStringLiteral("negative %1").arg(problem.name)
                         : QStringLiteral("%4 %1 %2 %3").arg(problem.name).arg(problem.width, 0, 'f', 2).arg(problem.neighbourWidth, 0, 'f', 2)
                               .arg(problem.kind == DimensionProblem::Kind::TooWide ? "wide" : "high"));
    QStringList without;
    for (const int entry : net.withoutDimensions)
        without.append(QString::number(entry));
    QCOMPARE((found.join(QStringLiteral("; ")) + QStringLiteral(" | without ") + without.join(QLatin1Char(' '))).trimmed(),
             expected);
    if (!net.dimensionProblems.isEmpty())
        QVERIFY(net.anythingFlagged());
}

// The 3D view draws the walls where the dimensions put them: on the plan left and right of the
// way on, in an elevation the roof; nothing where a value is unknown.
void SurveyNetworkTest::drawsThePassage()
{
    // East 8 m, then north 8 m: at B the way on turns, so its walls stand across the mean.
    const std::vector<Station> stations = {walled(st("A", 0, 0), 2, 1, 3), walled(st("B", 8, 0, 0, 8), 2, 1, 3),
                                           walled(st("C", 8, -8, 0, 16), std::nullopt, 1)};
    const SurveyNetwork net = network(stations);
    const auto picture = [&](const CentrelineCamera &preset) {
        CentrelineCamera camera = preset;
        camera.pixelsPerMetre = 10.0;
        camera.origin = QPointF(100.5, 150.5);
        camera.centre = NetworkPoint{};
        QImage image(300, 300, QImage::Format_RGB32);
        QPainter painter(&image);
        CentrelinePainter::paint(painter, CentrelineScene::of(net), camera, image.size(), false);
        return image;
    };
    // A wall line (grey, lighter than the background, however smoothed) within two pixels.
    const auto isWall = [](const QImage &image, int x, int y) {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor c = image.pixelColor(x + dx, y + dy);
                if (c.red() > 0x40 && std::abs(c.red() - c.green()) < 16 && std::abs(c.green() - c.blue()) < 32)
                    return true;
            }
        return false;
    };
    const QImage plan = picture(CentrelineCamera::plan());
    // A-B runs east: its left wall 2 m north (up the picture), its right wall 1 m south.
    QVERIFY(isWall(plan, 110, 131));
    QVERIFY(isWall(plan, 110, 160));
    QVERIFY(!isWall(plan, 110, 140));
    QVERIFY(!isWall(plan, 110, 170));
    // B-C has a right wall (1 m east of it) but no left one: C's left is unknown.
    QVERIFY(isWall(plan, 189, 110));
    QVERIFY(!isWall(plan, 160, 110));
    const QImage elevation = picture(CentrelineCamera::northFacing());
    // Looking north, A-B's roof 3 m above it.
    QVERIFY(isWall(elevation, 140, 120));
    QVERIFY(!isWall(elevation, 140, 110));
}

QTEST_MAIN(SurveyNetworkTest)
#include "test_survey_network.moc"
