// The three survey text layouts in both styles: the worked example, empty and one-station tables,
// station names, branches, legs of no length, a leg that cannot be computed, and numbers in a
// comma locale.
#include "survey/AnsiText.h"
#include "support/TestFiles.h"
#include "output/SurveyText.h"
#include "support/CommaLocale.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(SurveyFormat)
Q_DECLARE_METATYPE(SurveyStyle)

namespace {

Station station(float x, float y, float z, const char *label = "", const char *comment = "", bool branchEnd = false)
{
    Station s{};
    s.planXMetres = x;
    s.planYMetres = y;
    s.profileYMetres = z;
    s.label = AnsiText::decode(QByteArray(label));
    s.comment = AnsiText::decode(QByteArray(comment));
    s.branchEnd = branchEnd;
    return s;
}

// The worked example: station 2 ends its branch, station 3 starts a new one at B.
std::vector<Station> fiveStations()
{
    return {station(0, 0, 0, "A", "entrance"), station(3, -4, 0, "B"), station(3, -10, 2, "C", "", true),
            station(3, -4, 0, "B"), station(7, -4, -3, "D", "sump")};
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray text;
    for (const QByteArray &line : lines)
        text += line + "\r\n";
    return text;
}

QByteArray dataFile(const QString &name) { return TestFiles::dataBytes(name); }

SurveyText build(const std::vector<Station> &stations, SurveyFormat format, SurveyStyle style = SurveyStyle::Angle)
{
    StationTable table;
    table.assign(stations);
    return SurveyText::build(table, format, style, 0.0);
}

const SurveyFormat Label = SurveyFormat::LumaroLabel;
const SurveyFormat FromTo = SurveyFormat::LumaroFromTo;
const SurveyFormat Survex = SurveyFormat::Survex;
const SurveyStyle Angle = SurveyStyle::Angle;
const SurveyStyle Depth = SurveyStyle::DepthChange;

} // namespace

class SurveyTextTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void writesTheWorkedExample_data();
    void writesTheWorkedExample();
    void writesSmallTables_data();
    void writesSmallTables();
    void keepsTheLinesBeforeALegThatFails_data();
    void keepsTheLinesBeforeALegThatFails();
    void previewLinesSaveBackToTheSameBytes();
    void keepsThePointInACommaLocale();
};

void SurveyTextTest::cleanup()
{
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_ALL, "C");
}

void SurveyTextTest::writesTheWorkedExample_data()
{
    QTest::addColumn<SurveyFormat>("format");
    QTest::addColumn<SurveyStyle>("style");
    QTest::addColumn<QString>("expected");
    QTest::newRow("label angle") << Label << Angle << "five-stations.label-angle.cav";
    QTest::newRow("label depth") << Label << Depth << "five-stations.label-depthchange.cav";
    QTest::newRow("fromto angle") << FromTo << Angle << "five-stations.fromto-angle.cav";
    QTest::newRow("fromto depth") << FromTo << Depth << "five-stations.fromto-depthchange.cav";
    QTest::newRow("survex angle") << Survex << Angle << "five-stations.survex-angle.svx";
    QTest::newRow("survex depth") << Survex << Depth << "five-stations.survex-depthchange.svx";
}

void SurveyTextTest::writesTheWorkedExample()
{
    QFETCH(SurveyFormat, format);
    QFETCH(SurveyStyle, style);
    QFETCH(QString, expected);
    const SurveyText text = build(fiveStations(), format, style);
    QVERIFY(text.complete());
    QCOMPARE(text.fileBytes(), dataFile(expected));
    // Building again gives the same text.
    QCOMPARE(build(fiveStations(), format, style).lines, text.lines);
}

void SurveyTextTest::writesSmallTables_data()
{
    QTest::addColumn<std::vector<Station>>("stations");
    QTest::addColumn<SurveyFormat>("format");
    QTest::addColumn<SurveyStyle>("style");
    QTest::addColumn<QByteArray>("text");
    const std::vector<Station> none;
    QTest::newRow("empty label angle") << none << Label << Angle << QByteArray("#label\r\n\r\n");
    QTest::newRow("empty label depth") << none << Label << Depth << QByteArray("#label\r\n#fall\r\n\r\n");
    QTest::newRow("empty fromto angle") << none << FromTo << Angle << QByteArray("#from_to\r\n");
    QTest::newRow("empty fromto depth") << none << FromTo << Depth << QByteArray("#from_to\r\n#fall\r\n");
    QTest::newRow("empty survex angle") << none << Survex << Angle << QByteArray("*begin\r\n*end\r\n");
    QTest::newRow("empty survex depth")
        << none << Survex << Depth
        << QByteArray("*begin\r\n*data diving from to tape compass depthchange\r\n*end\r\n");
    QTest::newRow("one station label") << std::vector<Station>{station(1, 2, 3, "A", "x")} << Label << Angle
                                       << QByteArray("#label\r\n ^A ; x\r\n");
    QTest::newRow("one station fromto") << std::vector<Station>{station(1, 2, 3, "A", "x")} << FromTo << Angle
                                        << QByteArray("#from_to\r\n");

    // Unlabelled stations are named by their index; the comment of station 0 is never written
    // by the from/to layouts; a new branch leaves its comment as ";x", or no line at all.
    const std::vector<Station> branches = {
        station(0, 0, 0, "", "start"), station(1, 0, 0), station(1, 1, 0, "", "", true),
        station(0, 0, 0, "", "x"),     station(0, 1, 0, "", "", true), station(5, 5, 0),
        station(5, 6, 0, "E", "", true)};
    QTest::newRow("names fromto")
        << branches << FromTo << Angle
        << QByteArray("#from_to\r\n0\t1\t1.00\t90.00\t0.00\t\r\n1\t2\t1.00\t180.00\t0.00\t\r\n;x\r\n"
                      "3\t4\t1.00\t180.00\t0.00\t\r\n5\tE\t1.00\t180.00\t0.00\t\r\n");
    QTest::newRow("names survex")
        << branches << Survex << Depth
        << QByteArray("*begin\r\n*data diving from to tape compass depthchange\r\n0\t1\t1.00\t90.00\t0.00\t\r\n"
                      "1\t2\t1.00\t180.00\t0.00\t\r\n;x\r\n3\t4\t1.00\t180.00\t0.00\t\r\n"
                      "5\tE\t1.00\t180.00\t0.00\t\r\n*end\r\n");
    // " #end" on every branch's last station, once on the table's last even when it ends a branch.
    QTest::newRow("branches label")
        << branches << Label << Angle
        << QByteArray("#label\r\n ; start\r\n1.00\t90.00\t0.00\t\r\n1.00\t180.00\t0.00\t #end\r\n ; x\r\n"
                      "1.00\t180.00\t0.00\t #end\r\n\r\n1.00\t180.00\t0.00\t ^E #end\r\n");
    // Two stations at one place make a leg of 0, 0, 0 in both styles; the text goes on past it.
    const std::vector<Station> samePlace = {station(0, 0, 0, "A"), station(1, 0, 0), station(1, 0, 0, "Z"),
                                            station(2, 0, 0)};
    QTest::newRow("same place label angle")
        << samePlace << Label << Angle
        << QByteArray("#label\r\n ^A\r\n1.00\t90.00\t0.00\t\r\n0.00\t0.00\t0.00\t ^Z\r\n1.00\t90.00\t0.00\t #end\r\n");
    QTest::newRow("same place fromto angle")
        << samePlace << FromTo << Angle
        << QByteArray("#from_to\r\nA\t1\t1.00\t90.00\t0.00\t\r\n1\tZ\t0.00\t0.00\t0.00\t\r\nZ\t3\t1.00\t90.00\t0.00\t\r\n");
    QTest::newRow("same place survex depth")
        << samePlace << Survex << Depth
        << QByteArray("*begin\r\n*data diving from to tape compass depthchange\r\nA\t1\t1.00\t90.00\t0.00\t\r\n"
                      "1\tZ\t0.00\t0.00\t0.00\t\r\nZ\t3\t1.00\t90.00\t0.00\t\r\n*end\r\n");
    // A line break stored in a damaged label or comment must not split the line.
    QTest::newRow("line break in texts")
        << std::vector<Station>{station(0, 0, 0, "A\r\n"), station(2, 0, 0, "B\nC", "one\rtwo")} << FromTo << Angle
        << QByteArray("#from_to\r\nA  \tB C\t2.00\t90.00\t0.00\t ; one two\r\n");
}

void SurveyTextTest::writesSmallTables()
{
    QFETCH(std::vector<Station>, stations);
    QFETCH(SurveyFormat, format);
    QFETCH(SurveyStyle, style);
    QFETCH(QByteArray, text);
    const SurveyText built = build(stations, format, style);
    QVERIFY(built.complete());
    QCOMPARE(joined(built.lines), text);
}

void SurveyTextTest::keepsTheLinesBeforeALegThatFails_data()
{
    QTest::addColumn<SurveyFormat>("format");
    QTest::addColumn<QByteArray>("linesBefore");
    QTest::newRow("label") << Label << QByteArray("#label\r\n ^A\r\n1.00\t90.00\t0.00\t\r\n");
    QTest::newRow("fromto") << FromTo << QByteArray("#from_to\r\nA\t1\t1.00\t90.00\t0.00\t\r\n");
    QTest::newRow("survex") << Survex << QByteArray("*begin\r\nA\t1\t1.00\t90.00\t0.00\t\r\n");
}

void SurveyTextTest::keepsTheLinesBeforeALegThatFails()
{
    QFETCH(SurveyFormat, format);
    QFETCH(QByteArray, linesBefore);
    const std::vector<Station> stations = {station(0, 0, 0, "A"), station(1, 0, 0),
                                           station(std::numeric_limits<float>::infinity(), 0, 0, "Z"),
                                           station(2, 0, 0)};
    for (SurveyStyle style : {Angle, Depth}) {
        const SurveyText failed = build(stations, format, style);
        QVERIFY(!failed.complete());
        QCOMPARE(failed.error, QStringLiteral("Invalid floating point operation"));
        QByteArray expected = linesBefore;
        if (style == Depth)
            expected.replace("#label\r\n", "#label\r\n#fall\r\n")
                .replace("#from_to\r\n", "#from_to\r\n#fall\r\n")
                .replace("*begin\r\n", "*begin\r\n*data diving from to tape compass depthchange\r\n");
        QCOMPARE(joined(failed.lines), expected);
        QCOMPARE(failed.failedFrom, 1);
        QCOMPARE(failed.failedTo, 2);
        QCOMPARE(failed.failedFromName, QStringLiteral("1"));
        QCOMPARE(failed.failedToName, QStringLiteral("Z"));
    }
}

void SurveyTextTest::previewLinesSaveBackToTheSameBytes()
{
    // Every byte a stored text can hold shows in the text preview and saves back unchanged.
    Station every = station(2, 0, 0);
    QByteArray bytes;
    for (int b = 1; b < 256; ++b)
        bytes += char(b);
    every.comment = AnsiText::decode(bytes);
    const std::vector<Station> stations = {station(0, 0, 0, "\xC0\xE1\xFF"), every};
    const SurveyText text = build(stations, FromTo);
    QCOMPARE(text.previewLines().size(), text.lines.size());
    QCOMPARE(text.previewLines().at(1).left(4), QStringLiteral("Абя\t"));
    QCOMPARE(SurveyText::fileBytes(text.previewLines()), joined(text.lines));
    QCOMPARE(text.lines.at(1).size(), 3 + 1 + 1 + 1 + 16 + 3 + 255);
}

void SurveyTextTest::keepsThePointInACommaLocale()
{
    // Typed numbers follow the locale; written ones never do, not even through the C library,
    // which the application switches to the system's locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const CommaLocale comma;
    if (comma.active()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f", 1.5);
        QCOMPARE(QByteArray(buffer), QByteArray("1,50")); // the C library does use the comma now
    } else {
        qWarning("localedef cannot make de_DE.UTF-8 (package locales); checking the Qt locale only");
    }
    std::vector<Station> stations = fiveStations();
    QCOMPARE(build(stations, Survex, Depth).fileBytes(), dataFile(QStringLiteral("five-stations.survex-depthchange.svx")));
    QCOMPARE(SurveyText::legValues({1.005, 0.5, -0.001}), QByteArray("1.00\t0.50\t0.00\t")); // never "-0.00"
}

QTEST_GUILESS_MAIN(SurveyTextTest)
#include "test_survey_text.moc"
