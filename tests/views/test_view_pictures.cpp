// The annotated views as pixels: the source-size picture that "Save BMP" writes, and the pane's
// zoomed painting, drawn from a document and a session without a window.
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "survey/Truncate.h"
#include "views/ViewPainter.h"
#include "views/ViewSnapshot.h"

#include <QPainter>
#include <QTest>
#include <memory>

namespace {

const QRgb Background = qRgb(0xC0, 0xC0, 0xC0);
const QRgb Teal = qRgb(0x00, 0x80, 0x80);
const QRgb Red = qRgb(0xFF, 0x00, 0x00);
const QRgb Blue = qRgb(0x00, 0x00, 0xFF);
const QRgb White = qRgb(0xFF, 0xFF, 0xFF);

QImage plainImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Background);
    return image;
}

QRgb at(const QImage &image, int x, int y) { return image.pixel(x, y) | 0xFF000000u; }

// The first pixel where a block of the picture differs from a drawing ('.' background, 'R' red,
// 'B' blue, 'W' white, 'T' teal) or from a whole expected picture; empty when they agree.
QString patternDifference(const QImage &picture, QPoint topLeft, const QStringList &rows)
{
    for (int j = 0; j < rows.size(); ++j)
        for (int i = 0; i < rows[j].size(); ++i) {
            const char c = rows[j].at(i).toLatin1();
            const QRgb expected = c == 'R' ? Red : c == 'B' ? Blue : c == 'W' ? White : c == 'T' ? Teal : Background;
            const QPoint p = topLeft + QPoint(i, j);
            if (at(picture, p.x(), p.y()) != expected)
                return QStringLiteral("(%1, %2) is %3, expected '%4'").arg(p.x()).arg(p.y()).arg(at(picture, p.x(), p.y()), 6, 16).arg(c);
        }
    return QString();
}

QString firstDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2").arg(actual.width()).arg(actual.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (at(actual, x, y) != at(expected, x, y))
                return QStringLiteral("(%1, %2) is %3, expected %4").arg(x).arg(y).arg(at(actual, x, y), 6, 16).arg(at(expected, x, y), 6, 16);
    return QString();
}

#define COMPARE_PATTERN(picture, topLeft, ...)                                                          \
    do {                                                                                                \
        const QString difference = patternDifference(picture, topLeft, __VA_ARGS__);                    \
        QVERIFY2(difference.isEmpty(), qPrintable(difference));                                         \
    } while (false)

int countColour(const QImage &picture, QRgb colour, const QRect &area)
{
    int n = 0;
    const QRect inside = area & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            n += at(picture, x, y) == colour;
    return n;
}

int countColour(const QImage &picture, QRgb colour) { return countColour(picture, colour, picture.rect()); }

// First and last position of a colour along a row (horizontal) or a column; -1 when absent.
QPair<int, int> extent(const QImage &picture, QRgb colour, int line, bool row)
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < (row ? picture.width() : picture.height()); ++i)
        if (at(picture, row ? i : line, row ? line : i) == colour) {
            if (first < 0)
                first = i;
            last = i;
        }
    return {first, last};
}

} // namespace

class ViewPictures : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void gridLinesFollowCellShiftAndExtent_data();
    void gridLinesFollowCellShiftAndExtent();
    void stationMarkIsAWhiteEllipseRimmedRed();
    void labelsTakeTheViewsColourOnAWhiteBox_data();
    void labelsTakeTheViewsColourOnAWhiteBox();
    void legsStopAtBranchEnds();
    void guideCircleRadiusComesFromTheProfile_data();
    void guideCircleRadiusComesFromTheProfile();
    void guidesNeedTheirConditions_data();
    void guidesNeedTheirConditions();
    void hugeGuideCircleIsClipped();
    void guideLinesStandAtThePlanLengthOnTheProfile();
    void projectedProfileGuideIsOneLineAtTheRunAlongTheAzimuth_data();
    void projectedProfileGuideIsOneLineAtTheRunAlongTheAzimuth();
    void pendingPointIsASolidRedDot();
    void pendingLabelAndLegFollowTheChecks_data();
    void pendingLabelAndLegFollowTheChecks();
    void pendingLabelInMoveModeIsTheParkedText();
    void moveModeHighlightsTheSelectedStation();
    void fullTableHasNoPendingEntry();
    void zoomedPaneIsThePictureStretched_data();
    void zoomedPaneIsThePictureStretched();
    void marksAndLabelsKeepTheirSize_data();
    void marksAndLabelsKeepTheirSize();
    void savedPicturesOfBigScansHaveBigLabels();
    void noSizeMeansNoPicture();

private:
    QImage picture(ViewSide side);
    QImage plan() { return picture(ViewSide::Plan); }
    QImage profile() { return picture(ViewSide::Profile); }
    ViewSnapshot snapshot(ViewSide side);
    void setImages(int width, int height);
    void setScales(double plan, double profile);
    void bothViews(const std::function<void(ViewSettings &)> &change);
    Station &station(int index, QPointF planAt, QPointF profileAt);

    std::unique_ptr<SurveyDocument> document;
    std::unique_ptr<EditSession> session;
    // Like the table itself: [0, count) are the stations, entry `count` is the pending one.
    std::vector<Station> stations;
    int count = 0;
};

void ViewPictures::init()
{
    document = std::make_unique<SurveyDocument>();
    session = std::make_unique<EditSession>();
    session->setNewBranchChecked(false);
    stations.assign(size_t(StationTable::TableSize) + 1, Station{});
    count = 0;
    setImages(140, 140);
    bothViews([](ViewSettings &view) { view.gridShown = false; });
}

ViewSnapshot ViewPictures::snapshot(ViewSide side)
{
    document->editStations([&](StationTable &table) {
        table.assign(std::vector<Station>(stations.begin(), stations.begin() + count));
        if (table.hasPending())
            table.pending() = stations[size_t(count)];
    });
    return ViewSnapshot::of(side, *document, *session);
}

QImage ViewPictures::picture(ViewSide side)
{
    return ViewPainter::sourcePicture(snapshot(side)).convertToFormat(QImage::Format_RGB32);
}

void ViewPictures::bothViews(const std::function<void(ViewSettings &)> &change)
{
    document->editView(ViewSide::Plan, change);
    document->editView(ViewSide::Profile, change);
}

void ViewPictures::setImages(int width, int height)
{
    bothViews([&](ViewSettings &view) { view.image = plainImage(width, height); });
}

void ViewPictures::setScales(double plan, double profile)
{
    document->editView(ViewSide::Plan, [&](ViewSettings &view) { view.calibration.metresPerPixel = plan; });
    document->editView(ViewSide::Profile, [&](ViewSettings &view) { view.calibration.metresPerPixel = profile; });
}

Station &ViewPictures::station(int index, QPointF planAt, QPointF profileAt)
{
    Station &s = stations[size_t(index)];
    s.planX = float(planAt.x());
    s.planY = float(planAt.y());
    s.profileX = float(profileAt.x());
    s.profileY = float(profileAt.y());
    return s;
}

void ViewPictures::gridLinesFollowCellShiftAndExtent_data()
{
    QTest::addColumn<double>("cell");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("shift");       // right, up
    QTest::addColumn<QList<int>>("columns"); // vertical lines, drawn over rows [rows.first, rows.second]
    QTest::addColumn<QPoint>("rowSpan");
    QTest::addColumn<QList<int>>("rows");    // horizontal lines, drawn over columns [columnSpan]
    QTest::addColumn<QPoint>("columnSpan");

    // Offsets 0, 50 and 100 (150 is past the larger side); the line at y = 100 is below the picture.
    QTest::newRow("cell 50 on 120x80") << 50.0 << QSize(120, 80) << QPoint(0, 0) << QList<int>{0, 50, 100}
                                       << QPoint(1, 79) << QList<int>{0, 50} << QPoint(1, 119);
    // Right 10 and up 10: nothing left of x = 10 nor above the origin row y = -10.
    QTest::newRow("shifted +10 +10") << 50.0 << QSize(120, 80) << QPoint(10, 10) << QList<int>{10, 60, 110}
                                     << QPoint(0, 69) << QList<int>{40} << QPoint(11, 119);
    QTest::newRow("shifted -20 -15") << 50.0 << QSize(120, 80) << QPoint(-20, -15) << QList<int>{30, 80}
                                     << QPoint(16, 79) << QList<int>{15, 65} << QPoint(0, 99);
    // Offsets are truncated multiples: 0, 30, 61, 91.
    QTest::newRow("cell 30.5") << 30.5 << QSize(100, 100) << QPoint(0, 0) << QList<int>{0, 30, 61, 91}
                               << QPoint(1, 99) << QList<int>{0, 30, 61, 91} << QPoint(1, 99);
    // The larger side bounds both directions.
    QTest::newRow("taller than wide") << 50.0 << QSize(60, 130) << QPoint(0, 0) << QList<int>{0, 50}
                                      << QPoint(1, 129) << QList<int>{0, 50, 100} << QPoint(1, 59);
    // Degenerate cells draw only the first pair.
    for (const double cell : {0.0, 0.4, -50.0, 200.0})
        QTest::newRow(qPrintable(QStringLiteral("cell %1").arg(cell)))
            << cell << QSize(120, 80) << QPoint(0, 0) << QList<int>{0} << QPoint(1, 79) << QList<int>{0} << QPoint(1, 119);
}

void ViewPictures::gridLinesFollowCellShiftAndExtent()
{
    QFETCH(double, cell);
    QFETCH(QSize, size);
    QFETCH(QPoint, shift);
    QFETCH(QList<int>, columns);
    QFETCH(QPoint, rowSpan);
    QFETCH(QList<int>, rows);
    QFETCH(QPoint, columnSpan);
    setImages(size.width(), size.height());
    bothViews([&](ViewSettings &view) {
        view.calibration.gridPixels = cell;
        view.gridShown = true;
        view.gridShiftRight = shift.x();
        view.gridShiftUp = shift.y();
    });

    QImage expected = plainImage(size.width(), size.height());
    for (const int x : columns)
        for (int y = rowSpan.x(); y <= rowSpan.y(); ++y)
            expected.setPixel(x, y, Teal);
    for (const int y : rows)
        for (int x = columnSpan.x(); x <= columnSpan.y(); ++x)
            expected.setPixel(x, y, Teal);
    QString difference = firstDifference(plan(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    difference = firstDifference(profile(), expected);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // Unticked, the grid is gone; nothing else was drawn.
    bothViews([](ViewSettings &view) { view.gridShown = false; });
    QCOMPARE(countColour(plan(), Background), size.width() * size.height());
}

void ViewPictures::stationMarkIsAWhiteEllipseRimmedRed()
{
    document->setShowLabels(false);
    document->setShowLines(false);
    station(0, {20.0, 30.0}, {70.0, 60.0});
    station(1, {60.7, 30.2}, {0.0, 0.0}); // truncated corners: the same box as at (60, 30)
    count = 2;
    const QStringList mark{"......", "..RR..", ".RWWR.", ".RWWR.", "..RR..", "......"};
    const QImage planPicture = plan();
    COMPARE_PATTERN(planPicture, {17, 27}, mark);
    COMPARE_PATTERN(planPicture, {57, 27}, mark);
    QCOMPARE(countColour(planPicture, Red), 16);
    const QImage profilePicture = profile();
    COMPARE_PATTERN(profilePicture, {67, 57}, mark);
    // A mark at the origin is clipped, not shifted.
    COMPARE_PATTERN(profilePicture, {0, 0}, {"WR.", "R..", "..."});
}

void ViewPictures::labelsTakeTheViewsColourOnAWhiteBox_data()
{
    QTest::addColumn<bool>("onPlan");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("showLabels");
    QTest::addColumn<bool>("drawn");
    const int fromTo = int(SurveyFormat::LumaroFromTo);
    const int labelOnly = int(SurveyFormat::LumaroLabel);
    QTest::newRow("plan label blue") << true << "A1" << fromTo << true << true;
    QTest::newRow("profile label red") << false << "A1" << fromTo << true << true;
    QTest::newRow("index when unlabelled") << true << "" << fromTo << true << true;
    QTest::newRow("profile index too") << false << "" << fromTo << true << true;
    QTest::newRow("index in Survex format") << true << "" << int(SurveyFormat::Survex) << true << true;
    QTest::newRow("nothing in label-only format") << true << "" << labelOnly << true << false;
    QTest::newRow("label even in label-only format") << true << "Z" << labelOnly << true << true;
    QTest::newRow("labels hidden") << true << "A1" << fromTo << false << false;
}

void ViewPictures::labelsTakeTheViewsColourOnAWhiteBox()
{
    QFETCH(bool, onPlan);
    QFETCH(QString, label);
    QFETCH(int, format);
    QFETCH(bool, showLabels);
    QFETCH(bool, drawn);
    document->setFormat(SurveyFormat(format));
    document->setShowLabels(showLabels);
    document->setShowLines(false);
    // Station 1 carries the text; station 0 stays far away with a label of its own.
    station(0, {120.0, 120.0}, {120.0, 120.0}).label = fittedLabel(QStringLiteral("x"));
    station(1, {20.0, 30.0}, {20.0, 30.0}).label = fittedLabel(label);
    count = 2;
    const QImage picture = onPlan ? plan() : profile();
    const QRgb colour = onPlan ? Blue : Red;
    const QPoint corner(23, 27); // (x + 3, y - 3)
    if (!drawn) {
        QCOMPARE(at(picture, corner.x(), corner.y()), Background);
        QCOMPARE(countColour(picture, colour, QRect(22, 0, 60, 60)), 0);
        return;
    }
    // The white box starts exactly at the corner; the text inside is the view's colour.
    QCOMPARE(at(picture, corner.x(), corner.y()), White);
    QCOMPARE(at(picture, corner.x() - 1, corner.y()), Background);
    QCOMPARE(at(picture, corner.x(), corner.y() - 1), Background);
    int width = 0;
    while (at(picture, corner.x() + width, corner.y()) != Background)
        ++width;
    int height = 0;
    while (at(picture, corner.x(), corner.y() + height) != Background)
        ++height;
    QVERIFY(width >= 4 && width < 30);
    QVERIFY(height >= 10 && height < 20);
    const QRect box(corner, QSize(width, height));
    QVERIFY(countColour(picture, colour, box) > 4);
    QCOMPARE(countColour(picture, colour, box) + countColour(picture, White, box), width * height);
    // Outside the box and the mark nothing of it was drawn.
    const QRect mark(18, 28, 4, 4);
    QCOMPARE(countColour(picture, White, QRect(0, 0, 100, 100)),
             width * height - countColour(picture, colour, box) + countColour(picture, White, mark));
    QCOMPARE(countColour(picture, colour == Red ? Blue : Red, QRect(22, 0, 60, 60)), 0);
}

void ViewPictures::legsStopAtBranchEnds()
{
    document->setShowLabels(false);
    station(0, {10.0, 10.0}, {10.0, 110.0});
    station(1, {50.0, 10.0}, {50.0, 110.0}).branchEnd = true;
    station(2, {90.0, 10.0}, {90.0, 110.0});
    station(3, {90.0, 50.0}, {90.0, 70.0});
    count = 4;
    for (const bool onPlan : {true, false}) {
        const QImage picture = onPlan ? plan() : profile();
        const int row = onPlan ? 10 : 110;
        QCOMPARE(countColour(picture, Red, QRect(13, row, 35, 1)), 35);    // 0 -> 1
        QCOMPARE(countColour(picture, Red, QRect(53, row - 1, 35, 3)), 0); // no 1 -> 2
        QCOMPARE(countColour(picture, Red, onPlan ? QRect(90, 13, 1, 35) : QRect(90, 73, 1, 35)), 35); // 2 -> 3
    }
    // Lines hidden: only the four marks are red.
    document->setShowLines(false);
    QCOMPARE(countColour(plan(), Red), 4 * 8);
}

void ViewPictures::guideCircleRadiusComesFromTheProfile_data()
{
    QTest::addColumn<double>("lastProfileX");
    QTest::addColumn<double>("pendingProfileX");
    QTest::addColumn<double>("planScale");
    QTest::addColumn<double>("profileScale");
    QTest::addColumn<int>("radius");
    QTest::newRow("50 profile px at 0.1 over 0.2") << 100.0 << 150.0 << 0.2 << 0.1 << 25;
    QTest::newRow("leftwards counts the same") << 150.0 << 100.0 << 0.2 << 0.1 << 25;
    QTest::newRow("rounded half up") << 100.0 << 120.5 << 1.0 << 1.0 << 21;
    QTest::newRow("rounded down") << 100.0 << 121.4 << 1.0 << 1.0 << 21;
    QTest::newRow("larger on the plan") << 100.0 << 110.0 << 0.1 << 0.5 << 50;
}

void ViewPictures::guideCircleRadiusComesFromTheProfile()
{
    QFETCH(double, lastProfileX);
    QFETCH(double, pendingProfileX);
    QFETCH(double, planScale);
    QFETCH(double, profileScale);
    QFETCH(int, radius);
    document->setShowLabels(false);
    station(0, {70.0, 70.0}, {lastProfileX, 20.0});
    station(1, {0.0, 0.0}, {pendingProfileX, 20.0});
    count = 1;
    session->setPointPlaced(ViewSide::Profile, true);
    setScales(planScale, profileScale);
    const QImage picture = plan();
    // Box from (70 - R, 70 - R) to (70 + R, 70 + R), right and bottom edges outside.
    QCOMPARE(extent(picture, Red, 70, true), qMakePair(70 - radius, 70 + radius - 1));
    QCOMPARE(extent(picture, Red, 69, false), qMakePair(70 - radius, 70 + radius - 1));
    // An outline, not a disc.
    QCOMPARE(at(picture, 70 - radius + 3, 70), Background);
}

// The circle on the plan (around the last station, radius from the profile) and the two lines
// on the profile (either side of it, distance from the plan), each with its own conditions.
void ViewPictures::guidesNeedTheirConditions_data()
{
    QTest::addColumn<bool>("circle");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("drawn");
    for (const bool circle : {true, false}) {
        const char *view = circle ? "circle: " : "lines: ";
        const auto row = [&](const char *name, const char *change, bool drawn) {
            QTest::newRow(qPrintable(QString::fromLatin1(view) + QLatin1String(name))) << circle << change << drawn;
        };
        row("all met", "", true);
        row("new branch ticked", "newBranch", false);
        row("profile None", "profileNone", false);
        row("profile Projective", "profileProjective", false);
        row("no station yet", "noStation", false);
        row("plan scale 0", "planScale0", false);
        row("profile scale 0", "profileScale0", false);
        row("quotient overflows", "overflow", false);
        // The circle measures on the profile; the lines only where a leg will join the two.
        row("no profile point", "noProfilePoint", !circle);
        row("no plan point", "noPlanPoint", circle);
        row("last station ends its branch", "branchEnd", circle);
        row("lines hidden", "noLines", true);
    }
}

void ViewPictures::guidesNeedTheirConditions()
{
    QFETCH(bool, circle);
    QFETCH(QString, change);
    QFETCH(bool, drawn);
    setImages(300, 140);
    document->setShowLabels(false);
    // Plan: the pending point is 30 right of and 40 below the last station (50 pixels, 10 m at
    // 0.2, 100 profile pixels at 0.1). Profile: it is 50 to the right (5 m, 25 plan pixels).
    station(0, {100.0, 100.0}, {150.0, 40.0});
    station(1, {130.0, 140.0}, {200.0, 40.0});
    count = 1;
    session->setPointPlaced(ViewSide::Plan, true);
    session->setPointPlaced(ViewSide::Profile, true);
    setScales(0.2, 0.1);
    if (change == "newBranch")
        session->setNewBranchChecked(true);
    else if (change == "profileNone")
        document->setProfileKind(ProfileKind::None);
    else if (change == "profileProjective")
        document->setProfileKind(ProfileKind::Projective);
    else if (change == "noStation")
        count = 0;
    else if (change == "planScale0")
        setScales(0.0, 0.1);
    else if (change == "profileScale0")
        setScales(0.2, 0.0);
    else if (change == "overflow")
        circle ? setScales(1e-308, 1e308) : setScales(1e308, 1e-308);
    else if (change == "noProfilePoint")
        session->setPointPlaced(ViewSide::Profile, false);
    else if (change == "noPlanPoint")
        session->setPointPlaced(ViewSide::Plan, false);
    else if (change == "branchEnd")
        stations[0].branchEnd = true;
    else if (change == "noLines")
        document->setShowLines(false);
    if (circle) {
        QCOMPARE(at(plan(), 75, 100), drawn ? Red : Background);
        QCOMPARE(snapshot(ViewSide::Plan).guide == ViewSnapshot::Guide::Circle, drawn);
    } else {
        const QImage picture = profile();
        QCOMPARE(countColour(picture, Red, QRect(50, 50, 1, 20)) == 20, drawn);
        QCOMPARE(countColour(picture, Red, QRect(250, 50, 1, 20)) == 20, drawn);
    }
}

void ViewPictures::hugeGuideCircleIsClipped()
{
    document->setShowLabels(false);
    station(0, {70.0, 70.0}, {100.0, 20.0});
    station(1, {0.0, 0.0}, {150.0, 20.0});
    count = 1;
    session->setPointPlaced(ViewSide::Profile, true);
    setScales(1e-12, 1.0);
    const ViewSnapshot view = snapshot(ViewSide::Plan);
    QVERIFY(view.guide == ViewSnapshot::Guide::Circle);
    QCOMPARE(view.guideCircleBox.left(), 70 - DrawCoordLimit);
    QCOMPARE(countColour(ViewPainter::sourcePicture(view), Red), 8); // only the mark's ring
    // Zoomed, it is still clipped rather than drawn point by point.
    document->editView(ViewSide::Plan, [](ViewSettings &v) { v.zoom = 8.0; });
    QImage pane(400, 300, QImage::Format_RGB32);
    QPainter painter(&pane);
    ViewPainter::paintDisplayed(painter, snapshot(ViewSide::Plan), pane.rect());
}

// The leg of the two guide lines below, 30 plan pixels right and 40 down, two profile pixels a
// plan pixel, runs 30 sin A - 40 cos A plan pixels along azimuth A: on a projected profile one
// line stands there.
void ViewPictures::projectedProfileGuideIsOneLineAtTheRunAlongTheAzimuth_data()
{
    QTest::addColumn<QString>("north");
    QTest::addColumn<QString>("azimuth");
    QTest::addColumn<int>("lineX"); // -1: no guide
    QTest::newRow("azimuth north: 40 back") << "0" << "0" << 150 - 80;
    QTest::newRow("-19.64: its size rounded") << "0" << "30" << 150 - 39;
    QTest::newRow("north to the right: east is down") << "90" << "90" << 150 + 80;
    QTest::newRow("north not a number") << "-" << "90" << -1;
}

void ViewPictures::projectedProfileGuideIsOneLineAtTheRunAlongTheAzimuth()
{
    QFETCH(QString, north);
    QFETCH(QString, azimuth);
    QFETCH(int, lineX);
    document->setProfileKind(ProfileKind::Projective);
    document->setProjectionAzimuthEntry(azimuth);
    document->setOrientationEntry(north);
    setImages(300, 80);
    document->setShowLabels(false);
    document->setShowLines(false);
    station(0, {100.0, 100.0}, {150.0, 40.0});
    station(1, {130.0, 140.0}, {0.0, 0.0});
    count = 1;
    session->setPointPlaced(ViewSide::Plan, true);
    setScales(0.2, 0.1);
    const QImage picture = profile();
    QCOMPARE(countColour(picture, Red), lineX < 0 ? 8 : 80 + 8); // the last station's ring, the line
    if (lineX >= 0)
        QCOMPARE(countColour(picture, Red, QRect(lineX, 0, 1, 80)), 80);
}

void ViewPictures::guideLinesStandAtThePlanLengthOnTheProfile()
{
    // The pending plan point is 30 right of and 40 below the last station: 50 plan pixels,
    // 10 m at 0.2, 100 profile pixels at 0.1.
    setImages(300, 80);
    document->setShowLabels(false);
    document->setShowLines(false);
    station(0, {100.0, 100.0}, {150.0, 40.0});
    station(1, {130.0, 140.0}, {0.0, 0.0});
    count = 1;
    session->setPointPlaced(ViewSide::Plan, true);
    setScales(0.2, 0.1);
    const QImage picture = profile();
    for (const int x : {50, 250}) {
        QCOMPARE(extent(picture, Red, x, false), qMakePair(0, 79));
        QCOMPARE(countColour(picture, Red, QRect(x, 0, 1, 80)), 80);
        QCOMPARE(countColour(picture, Red, QRect(x - 1, 0, 1, 80)), 0);
        QCOMPARE(countColour(picture, Red, QRect(x + 1, 0, 1, 80)), 0);
    }
    QCOMPARE(countColour(picture, Red), 2 * 80 + 8); // the lines and the last station's ring
    // Halves round up: 49.5 plan pixels at equal scales stand 50 profile pixels away.
    setScales(1.0, 1.0);
    stations[1].planX = 149.5f;
    stations[1].planY = 100.0f;
    const QImage equal = profile();
    QCOMPARE(countColour(equal, Red, QRect(100, 0, 1, 80)), 80);
    QCOMPARE(countColour(equal, Red, QRect(200, 0, 1, 80)), 80);
    QCOMPARE(countColour(equal, Red, QRect(101, 0, 99, 80)), 8);
}

void ViewPictures::pendingPointIsASolidRedDot()
{
    document->setShowLabels(false);
    station(0, {40.0, 40.0}, {60.0, 60.0});
    // Nothing added yet: the pending entry is station 0, the dot shows on its own.
    session->setPointPlaced(ViewSide::Plan, true);
    const QStringList dot{"......", "..RR..", ".RRRR.", ".RRRR.", "..RR..", "......"};
    COMPARE_PATTERN(plan(), {37, 37}, dot);
    QCOMPARE(countColour(plan(), Red), 12);
    // The profile shows its own pending point only once it is placed there.
    QCOMPARE(countColour(profile(), Red), 0);
    session->setPointPlaced(ViewSide::Profile, true);
    COMPARE_PATTERN(profile(), {57, 57}, dot);
}

void ViewPictures::pendingLabelAndLegFollowTheChecks_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("label");
    QTest::addColumn<bool>("leg");
    QTest::newRow("all met") << "" << true << true;
    QTest::newRow("labels hidden") << "noLabels" << false << true;
    QTest::newRow("nothing typed") << "noText" << false << true;
    QTest::newRow("lines hidden") << "noLines" << true << false;
    QTest::newRow("new branch ticked") << "newBranch" << true << false;
    QTest::newRow("last station ends its branch") << "branchEnd" << true << false;
    QTest::newRow("no station yet") << "noStation" << true << false;
}

void ViewPictures::pendingLabelAndLegFollowTheChecks()
{
    QFETCH(QString, change);
    QFETCH(bool, label);
    QFETCH(bool, leg);
    document->setFormat(SurveyFormat::LumaroLabel);
    session->setLabelEntry(QStringLiteral("Q1"));
    station(0, {10.0, 40.0}, {10.0, 40.0});
    station(1, {40.0, 40.0}, {40.0, 40.0});
    count = 1;
    session->setPointPlaced(ViewSide::Plan, true);
    session->setPointPlaced(ViewSide::Profile, true);
    if (change == "noLabels")
        document->setShowLabels(false);
    else if (change == "noText")
        session->setLabelEntry(QString());
    else if (change == "noLines")
        document->setShowLines(false);
    else if (change == "newBranch")
        session->setNewBranchChecked(true);
    else if (change == "branchEnd")
        stations[0].branchEnd = true;
    else if (change == "noStation") {
        count = 0;
        stations[0] = stations[1];
    }
    for (const bool onPlan : {true, false}) {
        const QImage picture = onPlan ? plan() : profile();
        QCOMPARE(at(picture, 43, 37) == White, label); // (x + 3, y - 3)
        QCOMPARE(countColour(picture, onPlan ? Blue : Red, QRect(43, 37, 20, 13)) > 0, label);
        QCOMPARE(countColour(picture, Red, QRect(13, 40, 25, 1)) == 25, leg); // from p to q
    }
}

void ViewPictures::pendingLabelInMoveModeIsTheParkedText()
{
    document->setFormat(SurveyFormat::LumaroLabel);
    station(0, {10.0, 10.0}, {10.0, 10.0});
    station(1, {40.0, 40.0}, {40.0, 40.0}).label = fittedLabel(QStringLiteral("Z9"));
    count = 1;
    session->setPointPlaced(ViewSide::Plan, true);
    session->setLabelEntry(QStringLiteral("Z9"));
    const QImage typed = plan().copy(43, 37, 30, 13);
    // In Move mode the entry box shows the selected station; the pending text is the parked one.
    session->setMode(EditMode::Move);
    session->setLabelEntry(QStringLiteral("K"));
    QCOMPARE(plan().copy(43, 37, 30, 13), typed);
    // An empty entry box still hides it.
    session->setLabelEntry(QString());
    QCOMPARE(at(plan(), 43, 37), Background);
}

void ViewPictures::moveModeHighlightsTheSelectedStation()
{
    document->setShowLabels(false);
    document->setShowLines(false);
    station(0, {20.0, 20.0}, {20.0, 80.0});
    station(1, {50.0, 20.0}, {50.0, 80.0});
    count = 2;
    session->setMode(EditMode::Move);
    session->setSelected(1);
    const QStringList disc{"........", "..BBBB..", ".BRRRRB.", ".BRRRRB.", ".BRRRRB.", ".BRRRRB.", "..BBBB..", "........"};
    COMPARE_PATTERN(plan(), {46, 16}, disc);
    COMPARE_PATTERN(profile(), {46, 76}, disc);
    QCOMPARE(countColour(plan(), Blue), 16);
    // Add mode, or a selection outside the table, shows no highlight.
    session->setSelected(2);
    QCOMPARE(countColour(plan(), Blue), 0);
    session->setMode(EditMode::Add);
    session->setSelected(1);
    QCOMPARE(countColour(plan(), Blue), 0);
}

void ViewPictures::fullTableHasNoPendingEntry()
{
    setImages(200, 200);
    for (int i = 0; i <= StationTable::TableSize; ++i) {
        const QPointF p(5.0 + (i % 20) * 10.0, 5.0 + (i / 20) * 3.0);
        station(i, p, p);
    }
    document->setShowLabels(false);
    document->setShowLines(false);
    session->setPointPlaced(ViewSide::Plan, true);
    session->setPointPlaced(ViewSide::Profile, true);
    setScales(0.2, 0.1);
    for (const int n : {StationTable::TableSize, StationTable::TableSize + 1}) { // more are cut off
        count = n;
        const ViewSnapshot planView = snapshot(ViewSide::Plan);
        const ViewSnapshot profileView = snapshot(ViewSide::Profile);
        QCOMPARE(planView.stations.size(), StationTable::TableSize);
        QVERIFY(!planView.pendingShown && !profileView.pendingShown);
        QVERIFY(planView.guide == ViewSnapshot::Guide::None);
        QVERIFY(profileView.guide == ViewSnapshot::Guide::None);
        // The last station is drawn like the others.
        QCOMPARE(at(ViewPainter::sourcePicture(planView), 195, 150), Red);
    }
}

void ViewPictures::zoomedPaneIsThePictureStretched_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<bool>("annotated");
    QTest::newRow("x2 whole") << 2.0 << QRect(0, 0, 280, 160) << true;
    QTest::newRow("x4 part") << 4.0 << QRect(97, 51, 230, 170) << true;
    QTest::newRow("x8 part") << 8.0 << QRect(333, 201, 150, 90) << true;
    QTest::newRow("x1 part") << 1.0 << QRect(17, 9, 100, 50) << true;
    // Shrunk, one-pixel lines fall between displayed pixels; the image alone must still be
    // sampled at the displayed pixels' centres.
    QTest::newRow("x0.5 whole") << 0.5 << QRect(0, 0, 70, 40) << false;
    QTest::newRow("x0.25 part") << 0.25 << QRect(5, 3, 25, 15) << false;
    QTest::newRow("x0.125 whole") << 0.125 << QRect(0, 0, 17, 10) << false;
}

void ViewPictures::zoomedPaneIsThePictureStretched()
{
    QFETCH(double, zoom);
    QFETCH(QRect, area);
    QFETCH(bool, annotated);
    // The scan and the grid are drawn in whole source pixels, so the pane is exactly the source
    // picture sampled nearest-neighbour at its pixel centres: no blur. (Marks and labels keep
    // their own size; see marksAndLabelsKeepTheirSize.)
    QImage image(140, 80, QImage::Format_RGB32);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 140; ++x)
            image.setPixel(x, y, qRgb(x, y * 3, (x * y) % 256));
    document->editView(ViewSide::Profile, [&](ViewSettings &view) {
        view.image = image;
        view.gridShown = annotated;
        view.gridShiftRight = 3;
        view.calibration.gridPixels = 20.0;
        view.zoom = zoom;
    });
    document->setShowLines(false);
    station(0, {0.0, 0.0}, {30.0, 30.0}).label = fittedLabel(QStringLiteral("S1"));
    station(1, {0.0, 0.0}, {90.0, 50.0});
    station(2, {0.0, 0.0}, {100.0, 20.0});
    count = 0;
    setScales(0.1, 0.1);
    const ViewSnapshot view = snapshot(ViewSide::Profile);
    QCOMPARE(view.displayedSize(), QSize(int(140 * zoom), int(80 * zoom)));
    const QImage source = ViewPainter::sourcePicture(view);

    QImage pane(area.size(), QImage::Format_RGB32);
    pane.fill(Qt::black);
    QPainter painter(&pane);
    painter.translate(-area.topLeft());
    ViewPainter::paintDisplayed(painter, view, area);
    painter.end();
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            const int sourceX = int((area.x() + x + 0.5) / zoom);
            const int sourceY = int((area.y() + y + 0.5) / zoom);
            if (at(pane, x, y) != at(source, sourceX, sourceY))
                QFAIL(qPrintable(QStringLiteral("pane (%1, %2) is %3, source (%4, %5) is %6")
                                     .arg(area.x() + x).arg(area.y() + y).arg(at(pane, x, y), 6, 16)
                                     .arg(sourceX).arg(sourceY).arg(at(source, sourceX, sourceY), 6, 16)));
        }
}

void ViewPictures::marksAndLabelsKeepTheirSize_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("labelPixels"); // the View menu's size
    QTest::newRow("zoom 4") << 4.0 << 11;
    QTest::newRow("zoom 1/4") << 0.25 << 11;
    QTest::newRow("large at zoom 2") << 2.0 << 15;
}

void ViewPictures::marksAndLabelsKeepTheirSize()
{
    QFETCH(double, zoom);
    QFETCH(int, labelPixels);
    setImages(400, 400);
    station(0, {100.0, 100.0}, {0.0, 0.0}).label = fittedLabel(QStringLiteral("S1"));
    count = 1;
    // The mark's ring and the label's text, as many pane pixels as at zoom 1 with that size.
    const auto painted = [&](double at) {
        document->editView(ViewSide::Plan, [&](ViewSettings &view) { view.zoom = at; });
        ViewSnapshot view = snapshot(ViewSide::Plan);
        view.labelPixels = labelPixels;
        const QPoint mark(truncToInt(100 * at), truncToInt(100 * at));
        const QRect around(mark - QPoint(40, 40), QSize(100, 80));
        QImage pane(around.size(), QImage::Format_RGB32);
        QPainter painter(&pane);
        painter.translate(-around.topLeft());
        ViewPainter::paintDisplayed(painter, view, around);
        return pane;
    };
    const QImage zoomed = painted(zoom);
    const QImage unzoomed = painted(1.0);
    QCOMPARE(countColour(zoomed, Red), countColour(unzoomed, Red));
    QCOMPARE(countColour(zoomed, Blue), countColour(unzoomed, Blue));
    if (labelPixels > ViewSnapshot::MediumLabelPixels) {
        setImages(400, 400);
        QVERIFY(countColour(unzoomed, Blue) > countColour(plan(), Blue)); // larger than medium
    }
}

void ViewPictures::savedPicturesOfBigScansHaveBigLabels()
{
    // On a 3000-pixel sheet marks and labels are three times the screen's, to read on a print.
    station(0, {50.0, 50.0}, {0.0, 0.0}).label = fittedLabel(QStringLiteral("S1"));
    count = 1;
    const QImage small = plan();
    setImages(3000, 3000);
    station(0, {1000.0, 1000.0}, {0.0, 0.0});
    const QImage sheet = plan();
    QVERIFY(countColour(sheet, Blue) > 6 * countColour(small, Blue));
    QVERIFY(countColour(sheet, Red) > 2 * countColour(small, Red));
}

void ViewPictures::noSizeMeansNoPicture()
{
    document->editView(ViewSide::Plan, [](ViewSettings &view) { view.image = QImage(); });
    QVERIFY(ViewPainter::sourcePicture(snapshot(ViewSide::Plan)).isNull());
    QCOMPARE(snapshot(ViewSide::Plan).displayedSize(), QSize(0, 0));
    // A size without pixels is a white picture.
    ViewSnapshot blank = snapshot(ViewSide::Profile);
    blank.image = QImage();
    const QImage white = ViewPainter::sourcePicture(blank).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(white.size(), QSize(140, 140));
    QCOMPARE(countColour(white, White), 140 * 140);
}

QTEST_MAIN(ViewPictures)
#include "test_view_pictures.moc"
