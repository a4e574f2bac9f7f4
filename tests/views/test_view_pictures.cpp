// The annotated views as pixels: the source-size picture that "Save BMP" writes, and the pane's
// zoomed painting, drawn from the survey state without a window.
#include "app/SurveyState.h"
#include "app/Truncate.h"
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

// The first pixel where two pictures differ, or an empty text.
QString firstDifference(const QImage &actual, const QImage &expected)
{
    if (actual.size() != expected.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width()).arg(actual.height()).arg(expected.width()).arg(expected.height());
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (at(actual, x, y) != at(expected, x, y))
                return QStringLiteral("(%1, %2) is %3, expected %4")
                    .arg(x).arg(y).arg(at(actual, x, y), 6, 16).arg(at(expected, x, y), 6, 16);
    return QString();
}

// Compares a block of the picture with a drawing: '.' background, 'R' red, 'B' blue, 'W' white.
QString patternDifference(const QImage &picture, QPoint topLeft, const QStringList &rows)
{
    for (int j = 0; j < rows.size(); ++j)
        for (int i = 0; i < rows[j].size(); ++i) {
            const char c = rows[j].at(i).toLatin1();
            const QRgb expected = c == 'R' ? Red : c == 'B' ? Blue : c == 'W' ? White : Background;
            const QPoint p = topLeft + QPoint(i, j);
            if (at(picture, p.x(), p.y()) != expected)
                return QStringLiteral("(%1, %2) is %3, expected '%4'").arg(p.x()).arg(p.y()).arg(at(picture, p.x(), p.y()), 6, 16).arg(c);
        }
    return QString();
}

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

// Leftmost and rightmost x of a colour on a row (-1 when absent).
QPair<int, int> rowExtent(const QImage &picture, QRgb colour, int y)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < picture.width(); ++x)
        if (at(picture, x, y) == colour) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

QPair<int, int> columnExtent(const QImage &picture, QRgb colour, int x)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < picture.height(); ++y)
        if (at(picture, x, y) == colour) {
            if (first < 0)
                first = y;
            last = y;
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
    void guideCircleNeedsItsConditions_data();
    void guideCircleNeedsItsConditions();
    void hugeGuideCircleIsClipped();
    void guideLinesStandAtThePlanLengthOnTheProfile();
    void guideLinesNeedTheirConditions_data();
    void guideLinesNeedTheirConditions();
    void pendingPointIsASolidRedDot();
    void pendingLabelAndLegFollowTheChecks_data();
    void pendingLabelAndLegFollowTheChecks();
    void pendingLabelInMoveModeIsTheParkedText();
    void moveModeHighlightsTheSelectedStation();
    void fullTableHasNoPendingEntry();
    void zoomedPaneIsThePictureStretched_data();
    void zoomedPaneIsThePictureStretched();
    void noSizeMeansNoPicture();

private:
    QImage plan() const { return ViewPainter::sourcePicture(ViewSnapshot::plan(*state, controls)).convertToFormat(QImage::Format_RGB32); }
    QImage profile() const { return ViewPainter::sourcePicture(ViewSnapshot::profile(*state, controls)).convertToFormat(QImage::Format_RGB32); }
    void setImages(int width, int height);
    Station &station(int index, QPointF planAt, QPointF profileAt);

    std::unique_ptr<SurveyState> state;
    ViewControls controls;
};

void ViewPictures::init()
{
    state = std::make_unique<SurveyState>();
    controls = ViewControls();
    controls.gridShown = false;
    controls.newBranch = false;
    setImages(140, 140);
}

void ViewPictures::setImages(int width, int height)
{
    state->PlanBitmap = plainImage(width, height);
    state->ProfileBitmap = plainImage(width, height);
    state->PlanImageWidth = state->ProfileImageWidth = width;
    state->PlanImageHeight = state->ProfileImageHeight = height;
}

Station &ViewPictures::station(int index, QPointF planAt, QPointF profileAt)
{
    Station &s = state->Stations[size_t(index)];
    s.PlanX = float(planAt.x());
    s.PlanY = float(planAt.y());
    s.ProfileX = float(profileAt.x());
    s.ProfileY = float(profileAt.y());
    return s;
}

void ViewPictures::gridLinesFollowCellShiftAndExtent_data()
{
    QTest::addColumn<double>("cell");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("shiftRight");
    QTest::addColumn<int>("shiftUp");
    QTest::addColumn<QList<int>>("columns"); // vertical lines, drawn over rows [rowsFrom, rowsTo]
    QTest::addColumn<int>("rowsFrom");
    QTest::addColumn<int>("rowsTo");
    QTest::addColumn<QList<int>>("rows");    // horizontal lines, drawn over columns [columnsFrom, columnsTo]
    QTest::addColumn<int>("columnsFrom");
    QTest::addColumn<int>("columnsTo");

    // Offsets 0, 50 and 100 (150 is past the larger side); the line at y = 100 is below the picture.
    QTest::newRow("cell 50 on 120x80") << 50.0 << QSize(120, 80) << 0 << 0 << QList<int>{0, 50, 100} << 1 << 79
                                       << QList<int>{0, 50} << 1 << 119;
    // Right 10 and up 10: nothing left of x = 10 nor above the origin row y = -10.
    QTest::newRow("shifted +10 +10") << 50.0 << QSize(120, 80) << 10 << 10 << QList<int>{10, 60, 110} << 0 << 69
                                     << QList<int>{40} << 11 << 119;
    QTest::newRow("shifted -20 -15") << 50.0 << QSize(120, 80) << -20 << -15 << QList<int>{30, 80} << 16 << 79
                                     << QList<int>{15, 65} << 0 << 99;
    // Offsets are truncated multiples: 0, 30, 61, 91.
    QTest::newRow("cell 30.5") << 30.5 << QSize(100, 100) << 0 << 0 << QList<int>{0, 30, 61, 91} << 1 << 99
                               << QList<int>{0, 30, 61, 91} << 1 << 99;
    // The larger side bounds both directions.
    QTest::newRow("taller than wide") << 50.0 << QSize(60, 130) << 0 << 0 << QList<int>{0, 50} << 1 << 129
                                      << QList<int>{0, 50, 100} << 1 << 59;
    // Degenerate cells draw only the first pair.
    for (const double cell : {0.0, 0.4, -50.0, 200.0})
        QTest::newRow(qPrintable(QStringLiteral("cell %1").arg(cell)))
            << cell << QSize(120, 80) << 0 << 0 << QList<int>{0} << 1 << 79 << QList<int>{0} << 1 << 119;
}

void ViewPictures::gridLinesFollowCellShiftAndExtent()
{
    QFETCH(double, cell);
    QFETCH(QSize, size);
    QFETCH(int, shiftRight);
    QFETCH(int, shiftUp);
    QFETCH(QList<int>, columns);
    QFETCH(int, rowsFrom);
    QFETCH(int, rowsTo);
    QFETCH(QList<int>, rows);
    QFETCH(int, columnsFrom);
    QFETCH(int, columnsTo);
    setImages(size.width(), size.height());
    state->PlanGridPixels = cell;
    state->ProfileGridPixels = cell;
    controls.gridShown = true;
    controls.gridShiftRight = shiftRight;
    controls.gridShiftUp = shiftUp;

    QImage expected = plainImage(size.width(), size.height());
    for (const int x : columns)
        for (int y = rowsFrom; y <= rowsTo; ++y)
            expected.setPixel(x, y, Teal);
    for (const int y : rows)
        for (int x = columnsFrom; x <= columnsTo; ++x)
            expected.setPixel(x, y, Teal);
    const QString planDifference = firstDifference(plan(), expected);
    QVERIFY2(planDifference.isEmpty(), qPrintable(planDifference));
    const QString profileDifference = firstDifference(profile(), expected);
    QVERIFY2(profileDifference.isEmpty(), qPrintable(profileDifference));

    // Unticked, the grid is gone; nothing else was drawn.
    controls.gridShown = false;
    QCOMPARE(countColour(plan(), Background), size.width() * size.height());
}

void ViewPictures::stationMarkIsAWhiteEllipseRimmedRed()
{
    controls.showLabels = false;
    controls.showLines = false;
    station(0, {20.0, 30.0}, {70.0, 60.0});
    station(1, {60.7, 30.2}, {0.0, 0.0}); // truncated corners: the same box as at (60, 30)
    state->StationCount = 2;
    const QStringList mark{"......", "..RR..", ".RWWR.", ".RWWR.", "..RR..", "......"};
    const QImage planPicture = plan();
    QVERIFY2(patternDifference(planPicture, {17, 27}, mark).isEmpty(), qPrintable(patternDifference(planPicture, {17, 27}, mark)));
    QVERIFY2(patternDifference(planPicture, {57, 27}, mark).isEmpty(), qPrintable(patternDifference(planPicture, {57, 27}, mark)));
    QCOMPARE(countColour(planPicture, Red), 16);
    const QImage profilePicture = profile();
    QVERIFY2(patternDifference(profilePicture, {67, 57}, mark).isEmpty(), qPrintable(patternDifference(profilePicture, {67, 57}, mark)));
    // A mark at the origin is clipped, not shifted.
    QVERIFY2(patternDifference(profilePicture, {0, 0}, {"WR.", "R..", "..."}).isEmpty(),
             qPrintable(patternDifference(profilePicture, {0, 0}, {"WR.", "R..", "..."})));
}

void ViewPictures::labelsTakeTheViewsColourOnAWhiteBox_data()
{
    QTest::addColumn<bool>("onPlan");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("indexWhenUnlabelled");
    QTest::addColumn<bool>("showLabels");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("plan label blue") << true << "A1" << true << true << true;
    QTest::newRow("profile label red") << false << "A1" << true << true << true;
    QTest::newRow("index when unlabelled") << true << "" << true << true << true;
    QTest::newRow("profile index too") << false << "" << true << true << true;
    QTest::newRow("nothing in label-only format") << true << "" << false << true << false;
    QTest::newRow("label even in label-only format") << true << "Z" << false << true << true;
    QTest::newRow("labels hidden") << true << "A1" << true << false << false;
}

void ViewPictures::labelsTakeTheViewsColourOnAWhiteBox()
{
    QFETCH(bool, onPlan);
    QFETCH(QString, label);
    QFETCH(bool, indexWhenUnlabelled);
    QFETCH(bool, showLabels);
    QFETCH(bool, drawn);
    controls.indexWhenUnlabelled = indexWhenUnlabelled;
    controls.showLabels = showLabels;
    controls.showLines = false;
    // Station 1 carries the text; station 0 stays far away with a label of its own.
    setLabelText(station(0, {120.0, 120.0}, {120.0, 120.0}), QStringLiteral("x"));
    setLabelText(station(1, {20.0, 30.0}, {20.0, 30.0}), label);
    state->StationCount = 2;
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
    controls.showLabels = false;
    station(0, {10.0, 10.0}, {10.0, 110.0});
    station(1, {50.0, 10.0}, {50.0, 110.0}).BranchEnd = 1;
    station(2, {90.0, 10.0}, {90.0, 110.0});
    station(3, {90.0, 50.0}, {90.0, 70.0});
    state->StationCount = 4;
    for (const bool onPlan : {true, false}) {
        const QImage picture = onPlan ? plan() : profile();
        const int row = onPlan ? 10 : 110;
        QCOMPARE(countColour(picture, Red, QRect(13, row, 35, 1)), 35);         // 0 -> 1
        QCOMPARE(countColour(picture, Red, QRect(53, row - 1, 35, 3)), 0);      // no 1 -> 2
        const QRect third = onPlan ? QRect(90, 13, 1, 35) : QRect(90, 73, 1, 35);
        QCOMPARE(countColour(picture, Red, third), 35);                         // 2 -> 3
    }
    // Lines hidden: only the four marks are red.
    controls.showLines = false;
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
    controls.showLabels = false;
    station(0, {70.0, 70.0}, {lastProfileX, 20.0});
    station(1, {0.0, 0.0}, {pendingProfileX, 20.0});
    state->StationCount = 1;
    state->ProfilePointPlaced = 1;
    state->PlanMetresPerPixel = planScale;
    state->ProfileMetresPerPixel = profileScale;
    const QImage picture = plan();
    // Box from (70 - R, 70 - R) to (70 + R, 70 + R), right and bottom edges outside.
    QCOMPARE(rowExtent(picture, Red, 70), qMakePair(70 - radius, 70 + radius - 1));
    QCOMPARE(columnExtent(picture, Red, 69), qMakePair(70 - radius, 70 + radius - 1));
    // An outline, not a disc.
    QCOMPARE(at(picture, 70 - radius + 3, 70), Background);
}

void ViewPictures::guideCircleNeedsItsConditions_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("all met") << "" << true;
    QTest::newRow("last station ends its branch") << "branchEnd" << true;
    QTest::newRow("lines hidden") << "noLines" << true;
    QTest::newRow("new branch ticked") << "newBranch" << false;
    QTest::newRow("no profile point") << "noProfilePoint" << false;
    QTest::newRow("profile None") << "profileNone" << false;
    QTest::newRow("no station yet") << "noStation" << false;
    QTest::newRow("plan scale 0") << "planScale0" << false;
    QTest::newRow("profile scale 0") << "profileScale0" << false;
    QTest::newRow("quotient overflows") << "overflow" << false;
}

void ViewPictures::guideCircleNeedsItsConditions()
{
    QFETCH(QString, change);
    QFETCH(bool, drawn);
    controls.showLabels = false;
    station(0, {70.0, 70.0}, {100.0, 20.0});
    station(1, {0.0, 0.0}, {150.0, 20.0});
    state->StationCount = 1;
    state->ProfilePointPlaced = 1;
    state->PlanMetresPerPixel = 0.2;
    state->ProfileMetresPerPixel = 0.1;
    if (change == "branchEnd")
        state->Stations[0].BranchEnd = 1;
    else if (change == "noLines")
        controls.showLines = false;
    else if (change == "newBranch")
        controls.newBranch = true;
    else if (change == "noProfilePoint")
        state->ProfilePointPlaced = 0;
    else if (change == "profileNone")
        state->ProfileExtended = 0;
    else if (change == "noStation")
        state->StationCount = 0;
    else if (change == "planScale0")
        state->PlanMetresPerPixel = 0.0;
    else if (change == "profileScale0")
        state->ProfileMetresPerPixel = 0.0;
    else if (change == "overflow")
        state->PlanMetresPerPixel = 1e-308, state->ProfileMetresPerPixel = 1e308;
    const QImage picture = plan();
    QCOMPARE(at(picture, 45, 70) == Red, drawn);
    QCOMPARE(ViewSnapshot::plan(*state, controls).guide == ViewSnapshot::Guide::Circle, drawn);
}

void ViewPictures::hugeGuideCircleIsClipped()
{
    controls.showLabels = false;
    station(0, {70.0, 70.0}, {100.0, 20.0});
    station(1, {0.0, 0.0}, {150.0, 20.0});
    state->StationCount = 1;
    state->ProfilePointPlaced = 1;
    state->PlanMetresPerPixel = 1e-12;
    state->ProfileMetresPerPixel = 1.0;
    const ViewSnapshot view = ViewSnapshot::plan(*state, controls);
    QVERIFY(view.guide == ViewSnapshot::Guide::Circle);
    QCOMPARE(view.guideCircleBox.left(), 70 - DrawCoordLimit);
    QCOMPARE(countColour(ViewPainter::sourcePicture(view), Red), 8); // only the mark's ring
    QImage pane(400, 300, QImage::Format_RGB32);
    QPainter painter(&pane);
    state->PlanZoom = 8.0;
    ViewPainter::paintDisplayed(painter, ViewSnapshot::plan(*state, controls), pane.rect());
}

void ViewPictures::guideLinesStandAtThePlanLengthOnTheProfile()
{
    // The pending plan point is 30 right of and 40 below the last station: 50 plan pixels,
    // 10 m at 0.2, 100 profile pixels at 0.1.
    setImages(300, 80);
    controls.showLabels = false;
    controls.showLines = false;
    station(0, {100.0, 100.0}, {150.0, 40.0});
    station(1, {130.0, 140.0}, {0.0, 0.0});
    state->StationCount = 1;
    state->PlanPointPlaced = 1;
    state->PlanMetresPerPixel = 0.2;
    state->ProfileMetresPerPixel = 0.1;
    const QImage picture = profile();
    for (const int x : {50, 250}) {
        QCOMPARE(columnExtent(picture, Red, x), qMakePair(0, 79));
        QCOMPARE(countColour(picture, Red, QRect(x, 0, 1, 80)), 80);
        QCOMPARE(countColour(picture, Red, QRect(x - 1, 0, 1, 80)), 0);
        QCOMPARE(countColour(picture, Red, QRect(x + 1, 0, 1, 80)), 0);
    }
    QCOMPARE(countColour(picture, Red), 2 * 80 + 8); // the lines and the last station's ring
    // Halves round up: 49.5 plan pixels at equal scales stand 50 profile pixels away.
    state->PlanMetresPerPixel = 1.0;
    state->ProfileMetresPerPixel = 1.0;
    state->Stations[1].PlanX = 149.5f;
    state->Stations[1].PlanY = 100.0f;
    const QImage equal = profile();
    QCOMPARE(countColour(equal, Red, QRect(100, 0, 1, 80)), 80);
    QCOMPARE(countColour(equal, Red, QRect(200, 0, 1, 80)), 80);
    QCOMPARE(countColour(equal, Red, QRect(101, 0, 99, 80)), 8);
}

void ViewPictures::guideLinesNeedTheirConditions_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("all met") << "" << true;
    QTest::newRow("no profile point needed") << "noProfilePoint" << true;
    QTest::newRow("last station ends its branch") << "branchEnd" << false;
    QTest::newRow("new branch ticked") << "newBranch" << false;
    QTest::newRow("no plan point") << "noPlanPoint" << false;
    QTest::newRow("profile None") << "profileNone" << false;
    QTest::newRow("no station yet") << "noStation" << false;
    QTest::newRow("profile scale 0") << "profileScale0" << false;
    QTest::newRow("plan scale 0") << "planScale0" << false;
    QTest::newRow("quotient overflows") << "overflow" << false;
}

void ViewPictures::guideLinesNeedTheirConditions()
{
    QFETCH(QString, change);
    QFETCH(bool, drawn);
    setImages(300, 80);
    controls.showLabels = false;
    controls.showLines = false;
    station(0, {100.0, 100.0}, {150.0, 40.0});
    station(1, {130.0, 140.0}, {0.0, 0.0});
    state->StationCount = 1;
    state->PlanPointPlaced = 1;
    state->ProfilePointPlaced = 1;
    state->PlanMetresPerPixel = 0.2;
    state->ProfileMetresPerPixel = 0.1;
    if (change == "noProfilePoint")
        state->ProfilePointPlaced = 0;
    else if (change == "branchEnd")
        state->Stations[0].BranchEnd = 1;
    else if (change == "newBranch")
        controls.newBranch = true;
    else if (change == "noPlanPoint")
        state->PlanPointPlaced = 0;
    else if (change == "profileNone")
        state->ProfileExtended = 0;
    else if (change == "noStation")
        state->StationCount = 0;
    else if (change == "profileScale0")
        state->ProfileMetresPerPixel = 0.0;
    else if (change == "planScale0")
        state->PlanMetresPerPixel = 0.0;
    else if (change == "overflow")
        state->PlanMetresPerPixel = 1e308, state->ProfileMetresPerPixel = 1e-308;
    const QImage picture = profile();
    QCOMPARE(countColour(picture, Red, QRect(50, 20, 1, 20)) == 20, drawn);
    QCOMPARE(countColour(picture, Red, QRect(250, 20, 1, 20)) == 20, drawn);
}

void ViewPictures::pendingPointIsASolidRedDot()
{
    controls.showLabels = false;
    station(0, {40.0, 40.0}, {60.0, 60.0});
    // Nothing added yet: the pending entry is station 0, the dot shows on its own.
    state->PlanPointPlaced = 1;
    const QStringList dot{"......", "..RR..", ".RRRR.", ".RRRR.", "..RR..", "......"};
    QVERIFY2(patternDifference(plan(), {37, 37}, dot).isEmpty(), qPrintable(patternDifference(plan(), {37, 37}, dot)));
    QCOMPARE(countColour(plan(), Red), 12);
    // The profile shows its own pending point only once it is placed there.
    QCOMPARE(countColour(profile(), Red), 0);
    state->ProfilePointPlaced = 1;
    QVERIFY2(patternDifference(profile(), {57, 57}, dot).isEmpty(), qPrintable(patternDifference(profile(), {57, 57}, dot)));
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
    controls.indexWhenUnlabelled = false;
    controls.typedLabel = QStringLiteral("Q1");
    station(0, {10.0, 40.0}, {10.0, 40.0});
    station(1, {40.0, 40.0}, {40.0, 40.0});
    state->StationCount = 1;
    state->PlanPointPlaced = 1;
    state->ProfilePointPlaced = 1;
    if (change == "noLabels")
        controls.showLabels = false;
    else if (change == "noText")
        controls.typedLabel.clear();
    else if (change == "noLines")
        controls.showLines = false;
    else if (change == "newBranch")
        controls.newBranch = true;
    else if (change == "branchEnd")
        state->Stations[0].BranchEnd = 1;
    else if (change == "noStation") {
        state->StationCount = 0;
        state->Stations[0] = state->Stations[1];
    }
    for (const bool onPlan : {true, false}) {
        const QImage picture = onPlan ? plan() : profile();
        QCOMPARE(at(picture, 43, 37) == White, label);                             // (x + 3, y - 3)
        QCOMPARE(countColour(picture, onPlan ? Blue : Red, QRect(43, 37, 20, 13)) > 0, label);
        QCOMPARE(countColour(picture, Red, QRect(13, 40, 25, 1)) == 25, leg);     // from p to q
    }
}

void ViewPictures::pendingLabelInMoveModeIsTheParkedText()
{
    controls.indexWhenUnlabelled = false;
    station(0, {10.0, 10.0}, {10.0, 10.0});
    setLabelText(station(1, {40.0, 40.0}, {40.0, 40.0}), QStringLiteral("Z9"));
    state->StationCount = 1;
    state->PlanPointPlaced = 1;
    controls.typedLabel = QStringLiteral("Z9");
    const QImage typed = plan().copy(43, 37, 30, 13);
    // In Move mode the entry box shows the selected station; the pending text is the parked one.
    state->MoveMode = 1;
    controls.typedLabel = QStringLiteral("K");
    QCOMPARE(plan().copy(43, 37, 30, 13), typed);
    // An empty entry box still hides it.
    controls.typedLabel.clear();
    QCOMPARE(at(plan(), 43, 37), Background);
}

void ViewPictures::moveModeHighlightsTheSelectedStation()
{
    controls.showLabels = false;
    controls.showLines = false;
    station(0, {20.0, 20.0}, {20.0, 80.0});
    station(1, {50.0, 20.0}, {50.0, 80.0});
    state->StationCount = 2;
    state->MoveMode = 1;
    state->CurrentStation = 1;
    const QStringList disc{"........", "..BBBB..", ".BRRRRB.", ".BRRRRB.", ".BRRRRB.", ".BRRRRB.", "..BBBB..", "........"};
    QVERIFY2(patternDifference(plan(), {46, 16}, disc).isEmpty(), qPrintable(patternDifference(plan(), {46, 16}, disc)));
    QVERIFY2(patternDifference(profile(), {46, 76}, disc).isEmpty(), qPrintable(patternDifference(profile(), {46, 76}, disc)));
    QCOMPARE(countColour(plan(), Blue), 16);
    // Add mode, or a selection outside the table, shows no highlight.
    state->CurrentStation = 2;
    QCOMPARE(countColour(plan(), Blue), 0);
    state->MoveMode = 0;
    state->CurrentStation = 1;
    QCOMPARE(countColour(plan(), Blue), 0);
}

void ViewPictures::fullTableHasNoPendingEntry()
{
    setImages(200, 200);
    for (int i = 0; i < StationTableSize; ++i)
        station(i, {5.0 + (i % 20) * 10.0, 5.0 + (i / 20) * 3.0}, {5.0 + (i % 20) * 10.0, 5.0 + (i / 20) * 3.0});
    controls.showLabels = false;
    controls.showLines = false;
    state->PlanPointPlaced = 1;
    state->ProfilePointPlaced = 1;
    state->PlanMetresPerPixel = 0.2;
    state->ProfileMetresPerPixel = 0.1;
    for (const int count : {StationTableSize, 5000}) { // a damaged project may claim more
        state->StationCount = count;
        const ViewSnapshot planView = ViewSnapshot::plan(*state, controls);
        const ViewSnapshot profileView = ViewSnapshot::profile(*state, controls);
        QCOMPARE(planView.stations.size(), StationTableSize);
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
    // Everything but the legs and the circle is drawn in whole source pixels, so the pane is
    // exactly the source picture sampled nearest-neighbour at its pixel centres: no blur.
    setImages(140, 80);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 140; ++x)
            state->ProfileBitmap.setPixel(x, y, qRgb(x, y * 3, (x * y) % 256));
    controls.gridShown = true;
    controls.gridShiftRight = 3;
    controls.showLines = false;
    state->ProfileGridPixels = 20.0;
    setLabelText(station(0, {0.0, 0.0}, {30.0, 30.0}), QStringLiteral("S1"));
    station(1, {0.0, 0.0}, {90.0, 50.0});
    station(2, {0.0, 0.0}, {100.0, 20.0});
    state->StationCount = 2;
    state->PlanPointPlaced = state->ProfilePointPlaced = 1;
    state->PlanMetresPerPixel = state->ProfileMetresPerPixel = 0.1;
    state->MoveMode = 1;
    state->CurrentStation = 0;
    state->ProfileZoom = zoom;
    if (!annotated) {
        state->StationCount = 0;
        state->ProfilePointPlaced = 0;
        controls.gridShown = false;
    }
    const ViewSnapshot view = ViewSnapshot::profile(*state, controls);
    QCOMPARE(view.displayedSize(), QSize(int(140 * zoom), int(80 * zoom)));
    QCOMPARE(view.guide == ViewSnapshot::Guide::VerticalLines, annotated);
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

void ViewPictures::noSizeMeansNoPicture()
{
    state->PlanImageWidth = 0;
    QVERIFY(ViewPainter::sourcePicture(ViewSnapshot::plan(*state, controls)).isNull());
    QCOMPARE(ViewSnapshot::plan(*state, controls).displayedSize(), QSize(0, 140));
    // A size without pixels (a project whose image is missing) is a white picture.
    state->ProfileBitmap = QImage();
    const QImage blank = profile();
    QCOMPARE(blank.size(), QSize(140, 140));
    QCOMPARE(countColour(blank, White), 140 * 140);
}

QTEST_MAIN(ViewPictures)
#include "test_view_pictures.moc"
