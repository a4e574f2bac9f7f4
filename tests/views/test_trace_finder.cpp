// Tracing a traverse between two clicks on generated sheets (straight, winding, forking, marks
// touching walls, no centre line; each kind of scan), following it on the profile, reading its
// labels, and the label series that checks them.
#include "views/LabelReader.h"
#include "views/TraceLabels.h"
#include "views/TraceFinder.h"

#include "TraceSheets.h"

#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(TraceSheets::Options)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

using TraceSheets::Options;
using TraceSheets::Scan;
using TraceSheets::Shape;

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

Options sheet(int stations, Shape shape, Scan scan, unsigned seed)
{
    Options o;
    o.stations = stations;
    o.shape = shape;
    o.scan = scan;
    o.seed = seed;
    o.labelSize = 20;
    return o;
}

} // namespace

class TestTraceFinder : public QObject
{
    Q_OBJECT

private slots:
    void findsTheStationsInOrder_data()
    {
        QTest::addColumn<Options>("options");
        auto row = [](const char *name, Options o) { QTest::newRow(name) << o; };
        Options o = sheet(8, Shape::Dot, Scan::Grey, 3);
        o.bend = 0;
        row("straight, dots, grey", o);
        row("winding, rings, colour", sheet(12, Shape::Ring, Scan::Colour, 5));
        row("winding, triangles, 1-bit", sheet(12, Shape::Triangle, Scan::OneBit, 7));
        o = sheet(11, Shape::Dot, Scan::Grey, 9);
        o.fork = true;
        row("a side passage forks off", o);
        o = sheet(10, Shape::Ring, Scan::Grey, 11);
        o.touchingWalls = true;
        row("walls touch rings", o);
        o = sheet(10, Shape::Triangle, Scan::Colour, 13);
        o.touchingWalls = true;
        o.fork = true;
        row("walls touch triangles, fork", o);
        o = sheet(7, Shape::Dot, Scan::Grey, 15);
        o.centreLine = false;
        o.bend = 0.3;
        row("no centre line", o);
    }

    // Every station, none else (the side passage's marks are not on the way), in order, at the
    // drawn centre. The clicks are a little off the marks, as a digitiser's are.
    void findsTheStationsInOrder()
    {
        QFETCH(Options, options);
        const TraceSheets::Sheet drawn = TraceSheets::makeSheet(options);
        const TraceFinder::Trace trace = TraceFinder::traceTraverse(
            drawn.image, drawn.stations.front().centre + QPointF(1.5, -1), drawn.stations.back().centre - QPointF(1, 1.5));
        QCOMPARE(trace.outcome, TraceFinder::Outcome::Found);
        QCOMPARE(trace.alongDrawnLine, options.centreLine);
        QCOMPARE(trace.marks.size(), drawn.stations.size());
        // A wall touching a mark swells it; where no line is drawn, the mark's own ink decides.
        const double near = options.centreLine && !options.touchingWalls ? 1.0 : 2.0;
        for (size_t i = 0; i < trace.marks.size(); ++i)
            QVERIFY2(distance(trace.marks[i].centre, drawn.stations[i].centre) <= near,
                     qPrintable(QStringLiteral("station %1 at (%2, %3) found at (%4, %5)")
                                    .arg(i)
                                    .arg(drawn.stations[i].centre.x())
                                    .arg(drawn.stations[i].centre.y())
                                    .arg(trace.marks[i].centre.x())
                                    .arg(trace.marks[i].centre.y())));
    }

    // The last click may be anywhere further along the line than the last station wanted: on a
    // leg, the stations up to the leg's first are the traverse.
    void endsAtTheLastStationBeforeTheClick_data()
    {
        QTest::addColumn<int>("stations");
        QTest::addColumn<double>("along");
        QTest::newRow("a third along the last leg") << 9 << 0.33;
        QTest::newRow("halfway along the fifth leg") << 5 << 0.5;
    }

    void endsAtTheLastStationBeforeTheClick()
    {
        QFETCH(int, stations);
        QFETCH(double, along);
        const TraceSheets::Sheet drawn = TraceSheets::makeSheet(sheet(10, Shape::Ring, Scan::Grey, 51));
        const QLineF leg(drawn.stations[size_t(stations - 1)].centre, drawn.stations[size_t(stations)].centre);
        const TraceFinder::Trace trace
            = TraceFinder::traceTraverse(drawn.image, drawn.stations.front().centre, leg.pointAt(along));
        QCOMPARE(trace.outcome, TraceFinder::Outcome::Found);
        QCOMPARE(int(trace.marks.size()), stations);
        QVERIFY(distance(trace.marks.back().centre, leg.p1()) <= 1.0);
    }

    // A label is read beside its own mark only: a mark without one reads as nothing.
    void readsNothingWhereNoLabelIsPrinted()
    {
        LabelReader reader;
        Options o = sheet(4, Shape::Dot, Scan::Grey, 43);
        o.labels = false;
        const TraceSheets::Sheet drawn = TraceSheets::makeSheet(o);
        const LabelReader::Reading reading = reader.read(drawn.image, drawn.stations[1].centre, drawn.stations[1].radius);
        QCOMPARE(reading.text, QString());
        QCOMPARE(reading.confidence, 0.0);
        QVERIFY(reader.read(drawn.image, QPointF(qQNaN(), 5), 5).text.isEmpty());
    }

    void refusesWhatIsNotAScanAndAPoint_data()
    {
        QTest::addColumn<QImage>("scan");
        QTest::addColumn<QPointF>("first");
        QTest::addColumn<QPointF>("last");
        QImage paper(300, 200, QImage::Format_Grayscale8);
        paper.fill(250);
        QTest::newRow("no scan") << QImage() << QPointF(10, 10) << QPointF(20, 20);
        QTest::newRow("not a number") << paper << QPointF(qQNaN(), 10) << QPointF(20, 20);
        QTest::newRow("infinite") << paper << QPointF(10, 10) << QPointF(qInf(), 20);
        QTest::newRow("off the scan") << paper << QPointF(10, 10) << QPointF(300, 20);
    }

    void refusesWhatIsNotAScanAndAPoint()
    {
        QFETCH(QImage, scan);
        QFETCH(QPointF, first);
        QFETCH(QPointF, last);
        const TraceFinder::Trace trace = TraceFinder::traceTraverse(scan, first, last);
        QCOMPARE(trace.outcome, TraceFinder::Outcome::BadInput);
        QVERIFY(trace.marks.empty());
    }

    void stopsWhenCancelled()
    {
        const TraceSheets::Sheet drawn = TraceSheets::makeSheet(sheet(10, Shape::Dot, Scan::Grey, 21));
        const std::atomic<bool> cancel{true};
        TraceFinder::Control control;
        control.cancel = &cancel;
        const TraceFinder::Trace trace = TraceFinder::traceTraverse(drawn.image, drawn.stations.front().centre,
                                                                    drawn.stations.back().centre, control);
        QCOMPARE(trace.outcome, TraceFinder::Outcome::Cancelled);
    }

    // On the profile, each station on its guide where the line leads; a guide with no mark near
    // it (a station the plan has and the profile lacks) is left for the digitiser.
    void followsTheProfileAlongItsGuides_data()
    {
        QTest::addColumn<Options>("options");
        Options o = sheet(9, Shape::Dot, Scan::Grey, 31);
        o.profile = true;
        QTest::newRow("dots, grey") << o;
        o = sheet(9, Shape::Ring, Scan::OneBit, 33);
        o.profile = true;
        o.touchingWalls = true;
        QTest::newRow("rings touching walls, 1-bit") << o;
    }

    void followsTheProfileAlongItsGuides()
    {
        QFETCH(Options, options);
        const TraceSheets::Sheet drawn = TraceSheets::makeSheet(options);
        std::vector<QLineF> guides = drawn.guides;
        const size_t missing = 4;
        const double between = (drawn.stations[missing].centre.x() + drawn.stations[missing + 1].centre.x()) / 2;
        guides[missing - 1] = QLineF(between, 0, between, drawn.image.height());
        const std::vector<std::optional<TraceFinder::Mark>> found
            = TraceFinder::followOnProfile(drawn.image, drawn.stations.front().centre, guides);
        QCOMPARE(found.size(), guides.size());
        for (size_t g = 0; g < found.size(); ++g) {
            if (g == missing - 1) {
                QVERIFY(!found[g]);
                continue;
            }
            QVERIFY2(found[g], qPrintable(QStringLiteral("guide %1").arg(g)));
            QVERIFY(distance(found[g]->centre, drawn.stations[g + 1].centre) <= 1.0);
        }
    }

    // A guide that is no line is left undecided; the stations after it are still found.
    void passesOverGuidesThatAreNoLines()
    {
        Options o = sheet(5, Shape::Dot, Scan::Colour, 35);
        o.profile = true;
        const TraceSheets::Sheet drawn = TraceSheets::makeSheet(o);
        std::vector<QLineF> guides = drawn.guides;
        guides[1] = QLineF(qQNaN(), 0, qQNaN(), 100);
        guides.push_back(QLineF(10, 10, 10, 10));
        const std::vector<std::optional<TraceFinder::Mark>> found
            = TraceFinder::followOnProfile(drawn.image, drawn.stations.front().centre, guides);
        QCOMPARE(found.size(), guides.size());
        QVERIFY(found[0] && !found[1] && found[2] && found[3] && !found[4]);
        QVERIFY(distance(found[3]->centre, drawn.stations[4].centre) <= 1.0);
    }

    void stepsThroughASeries_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("steps");
        QTest::addColumn<std::optional<QString>>("expected");
        auto row = [](const char *name, const char *label, int steps, std::optional<QString> expected) {
            QTest::newRow(name) << QString::fromUtf8(label) << steps << expected;
        };
        row("letter and number", "A12", 1, QStringLiteral("A13"));
        row("counting down", "I23", -1, QStringLiteral("I22"));
        row("leading zeros kept", "A09", 1, QStringLiteral("A10"));
        row("leading zeros outgrown", "099", 1, QStringLiteral("100"));
        row("number and letter", "12a", 1, QStringLiteral("12b"));
        row("Cyrillic letter after", "5б", 1, QString::fromUtf8("5в"));
        row("Cyrillic letter before", "П3", 1, QString::fromUtf8("П4"));
        row("Russian alphabet skips Й", "7и", 1, QString::fromUtf8("7к"));
        row("several steps", "B7", 5, QStringLiteral("B12"));
        row("number inside", "K3-1", 1, QStringLiteral("K3-2"));
        row("below zero", "A0", -1, std::nullopt);
        row("past the alphabet", "12z", 1, std::nullopt);
        row("no number", "ABC", 1, std::nullopt);
        row("nothing", "", 1, std::nullopt);
    }

    void stepsThroughASeries()
    {
        QFETCH(QString, label);
        QFETCH(int, steps);
        QFETCH(std::optional<QString>, expected);
        QCOMPARE(TraceLabels::stepped(label, steps), expected);
    }

    void continuesTheWayASeriesGoes_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<std::optional<QString>>("expected");
        QTest::newRow("down") << QStringList{"I23", "I22"} << std::optional<QString>(QStringLiteral("I21"));
        QTest::newRow("up") << QStringList{"A1", "A2"} << std::optional<QString>(QStringLiteral("A3"));
        QTest::newRow("one label counts up") << QStringList{"A1"} << std::optional<QString>(QStringLiteral("A2"));
        QTest::newRow("unrelated pair counts up") << QStringList{"B9", "A1"} << std::optional<QString>(QStringLiteral("A2"));
        QTest::newRow("none") << QStringList{} << std::optional<QString>();
    }

    void continuesTheWayASeriesGoes()
    {
        QFETCH(QStringList, labels);
        QFETCH(std::optional<QString>, expected);
        QCOMPARE(TraceLabels::next(labels), expected);
    }

    // Readings as "text:sureness" (sureness in tenths); settled labels with * for a look.
    void settlesTheLabelsOfATraverse_data()
    {
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all read") << QStringList{"A1:9", "A2:9", "A3:9"} << QStringList{"A1", "A2", "A3"};
        QTest::newRow("doubtful one") << QStringList{"A1:9", "A7:3", "A3:9"} << QStringList{"A1", "A2*", "A3"};
        QTest::newRow("one breaks the series") << QStringList{"A1:9", "A2:9", "X9:9", "A4:9"}
                                               << QStringList{"A1", "A2", "A3*", "A4"};
        QTest::newRow("counting down") << QStringList{"I23:9", "I22:9", ":0", "I20:9"}
                                       << QStringList{"I23", "I22", "I21*", "I20"};
        QTest::newRow("first unread") << QStringList{":0", "B5:9", "B6:9"} << QStringList{"B4*", "B5", "B6"};
        QTest::newRow("a new series starts") << QStringList{"A1:9", "A2:9", "C1:9", "C2:9"}
                                             << QStringList{"A1", "A2", "C1*", "C2"};
        QTest::newRow("nothing read") << QStringList{":0", "Q:2"} << QStringList{"*", "Q*"};
    }

    void settlesTheLabelsOfATraverse()
    {
        QFETCH(QStringList, readings);
        QFETCH(QStringList, expected);
        std::vector<TraceLabels::Reading> read;
        for (const QString &r : readings)
            read.push_back({r.section(QLatin1Char(':'), 0, 0), r.section(QLatin1Char(':'), 1).toDouble() / 10});
        QStringList settled;
        for (const TraceLabels::Settled &s : TraceLabels::settle(read))
            settled << s.label + (s.forALook ? QStringLiteral("*") : QString());
        QCOMPARE(settled, expected);
    }

    void writesLookalikesAsTheSeries_data()
    {
        QTest::addColumn<QStringList>("readings");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Latin P among Cyrillic") << QStringList{QString::fromUtf8("Ж1"), "P2", QString::fromUtf8("Ж3")}
                                                << QStringList{QString::fromUtf8("Ж1"), QString::fromUtf8("Р2"),
                                                               QString::fromUtf8("Ж3")};
        QTest::newRow("Cyrillic А among Latin") << QStringList{"B1", QString::fromUtf8("А2"), "D3"}
                                                << QStringList{"B1", "A2", "D3"};
        QTest::newRow("5 read for S") << QStringList{"574", "S75", "S76", "577"} << QStringList{"S74", "S75", "S76", "S77"};
        QTest::newRow("numbers stay numbers") << QStringList{"574", "575", "S76"} << QStringList{"574", "575", "S76"};
    }

    void writesLookalikesAsTheSeries()
    {
        QFETCH(QStringList, readings);
        QFETCH(QStringList, expected);
        QCOMPARE(TraceLabels::inOneScript(readings), expected);
    }

    // Tesseract itself: clear print of both scripts beside their marks, read whole.
    void readsPrintedLabels()
    {
        LabelReader reader;
        QVERIFY(reader.ready());
        Options o = sheet(6, Shape::Dot, Scan::Grey, 41);
        o.speckle = 0;
        for (bool cyrillic : {false, true}) {
            o.cyrillic = cyrillic;
            const TraceSheets::Sheet drawn = TraceSheets::makeSheet(o);
            std::vector<QPointF> centres;
            std::vector<double> radii;
            for (const TraceSheets::Station &s : drawn.stations) {
                centres.push_back(s.centre);
                radii.push_back(s.radius);
            }
            const std::vector<TraceLabels::Settled> labels = reader.readTraverse(drawn.image, centres, radii);
            QCOMPARE(labels.size(), drawn.stations.size());
            for (size_t i = 0; i < labels.size(); ++i)
                QCOMPARE(labels[i].label, drawn.stations[i].label);
        }
    }
};

QTEST_MAIN(TestTraceFinder)
#include "test_trace_finder.moc"
