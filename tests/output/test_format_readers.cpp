// Real readers agree: cavern reads the Survex and Compass files and therion the Therion files we
// write, for labels Survex cannot take as they are, ties across branches and every kind of
// survey detail, and the station positions they compute match the stations' metres (turned by the
// declination) within the rounding of the written values. Labels, comments and details that carry
// what a reader takes for a line end or a command change none of the legs in any layout.
#include "checks/CheckReport.h"
#include "checks/SurveyLegs.h"
#include "output/CompassText.h"
#include "survey/SafeLine.h"
#include "survey/StationNames.h"
#include "output/TherionText.h"
#include "project/ProjectFile.h"
#include "support/SurveyReaders.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <vector>

Q_DECLARE_METATYPE(SurveyDetails)
Q_DECLARE_METATYPE(SurveyStyle)

namespace {

using SurveyReaders::Position;
using SurveyReaders::positions;

constexpr double Tolerance = 0.06; // a few legs' rounding of 0.01 m and 0.01 degree, and the positions' two decimals

QString runTool(const QString &program, const QStringList &arguments, const QString &folder, int *exitCode)
{
    return SurveyReaders::run(program, arguments, folder, exitCode);
}

NameRules rulesOf(const QString &layout)
{
    return layout == QLatin1String("therion")   ? NameRules::Therion
           : layout == QLatin1String("compass") ? NameRules::Compass
                                                : NameRules::Survex;
}

SurveyText written(const QString &layout, const StationTable &stations, SurveyStyle style, double orientation,
                   const SurveyDetails &details)
{
    if (layout == QLatin1String("therion"))
        return TherionText::build(stations, style, orientation, details);
    if (layout == QLatin1String("compass"))
        return CompassText::build(stations, orientation, details);
    return SurveyText::build(stations, SurveyFormat::Survex, style, orientation, details);
}

// The legs in a .3d file, counted and added up.
void legsOf(const QString &model, int *count, double *length)
{
    int status = -1;
    Position at;
    for (const QString &line : runTool(QStringLiteral("dump3d"), {model}, QDir::tempPath(), &status).split('\n')) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 4 || (words[0] != QLatin1String("MOVE") && words[0] != QLatin1String("LINE")))
            continue;
        const Position to{words[1].toDouble(), words[2].toDouble(), words[3].toDouble()};
        if (words[0] == QLatin1String("LINE"))
            ++*count, *length += std::hypot(to.x - at.x, to.y - at.y, to.z - at.z);
        at = to;
    }
}

// Three legs of 10 m: A1 east to A2, north to A3 (the branch ends), and from A2 again east to A4.
// Every station carries the comment and A3 the label.
StationTable hostileTable(const QString &label, const QString &comment)
{
    const float east[5] = {0, 10, 10, 10, 20};
    const QString labels[5] = {QStringLiteral("A1"), QStringLiteral("A2"), label, QStringLiteral("A2"), QStringLiteral("A4")};
    std::vector<Station> stations(5);
    for (int i = 0; i < 5; ++i) {
        stations[i].planXMetres = east[i];
        stations[i].label = fittedLabel(labels[i]);
        stations[i].comment = fittedComment(comment);
    }
    stations[2].planYMetres = -10;
    stations[2].branchEnd = true;
    StationTable table;
    table.assign(std::move(stations));
    return table;
}

SurveyDetails fullDetails()
{
    return ProjectFile::read(TestFiles::dataPath(QStringLiteral("formats/labels-details.sprj"))).details();
}

} // namespace

class FormatReadersTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readersPlaceEveryStation_data();
    void readersPlaceEveryStation();
    void hostileTextsChangeNoLeg_data();
    void hostileTextsChangeNoLeg();

private:
    QString read(const QString &layout, const SurveyText &text, const QString &folder,
                 QHash<QString, Position> *placed);
};

void FormatReadersTest::initTestCase()
{
    for (const char *tool : {"cavern", "survexport", "therion", "dump3d"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 "Survex or Therion is missing: run ./test, which installs them");
}

void FormatReadersTest::readersPlaceEveryStation_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<SurveyStyle>("style");
    QTest::addColumn<SurveyDetails>("details");
    QTest::addColumn<double>("orientation");
    const SurveyStyle Angle = SurveyStyle::Angle;
    const SurveyStyle Depth = SurveyStyle::DepthChange;
    const SurveyDetails none;
    const SurveyDetails full = fullDetails();
    for (const char *layout : {"survex", "therion", "compass"}) {
        QTest::addRow("%s, labels", layout) << "formats/labels.sprj" << layout << Angle << none << 0.0;
        QTest::addRow("%s, labels, every detail", layout) << "formats/labels.sprj" << layout << Depth << full << 0.0;
        QTest::addRow("%s, cave turned -123.4", layout) << "cave.sprj" << layout << Depth << none << -123.4;
    }
    // Each kind of north, with and without coordinates.
    SurveyDetails automatic = full;
    automatic.declinationFromDateAndPlace = true;
    SurveyDetails trueNorth = full;
    trueNorth.north = NorthReference::True;
    SurveyDetails gridNorth = full;
    gridNorth.north = NorthReference::Grid;
    SurveyDetails bare = full;
    bare.entranceHasCoordinates = false;
    bare.epsgCode = 0;
    SurveyDetails elsewhere = full;
    elsewhere.entrance = QStringLiteral("Очень длинное имя");
    // What the details' check lets through at its edges, readers take.
    SurveyDetails edges = full;
    edges.date = QDate(SurveyDetails::FirstYear, 1, 1);
    edges.epsgCode = 3857;
    edges.entranceEast = -19000000;
    edges.entranceNorth = 19000000;
    edges.team = {{QStringLiteral("Anna Maria von Berg"), {QStringLiteral("tape")}}, {QStringLiteral("/Olga"), {}}};
    for (const char *layout : {"survex", "therion"}) {
        QTest::addRow("%s, declination from date and place", layout)
            << "formats/labels.sprj" << layout << Angle << automatic << 0.0;
        QTest::addRow("%s, true north", layout) << "formats/labels.sprj" << layout << Angle << trueNorth << 0.0;
        QTest::addRow("%s, grid north", layout) << "formats/labels.sprj" << layout << Angle << gridNorth << 0.0;
        QTest::addRow("%s, entrance fixed at 0,0,0", layout) << "formats/labels.sprj" << layout << Depth << bare << 0.0;
        QTest::addRow("%s, entrance inside the cave", layout)
            << "formats/labels.sprj" << layout << Angle << elsewhere << 0.0;
        QTest::addRow("%s, the details' check at its edges", layout)
            << "formats/labels.sprj" << layout << Angle << edges << 0.0;
    }
}

// Writes the text, has its reader process it and lists the positions; returns what went wrong.
QString FormatReadersTest::read(const QString &layout, const SurveyText &text, const QString &folder,
                                QHash<QString, Position> *placed)
{
    const QString extension = layout == QLatin1String("survex") ? QStringLiteral("svx")
                              : layout == QLatin1String("therion") ? QStringLiteral("th")
                                                                   : QStringLiteral("dat");
    const QString path = QDir(folder).filePath(QStringLiteral("survey.") + extension);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.fileBytes()) != text.fileBytes().size())
        return QStringLiteral("cannot write ") + path;
    file.close();
    int status = -1;
    QString output;
    if (layout == QLatin1String("therion")) {
        QFile config(QDir(folder).filePath(QStringLiteral("thconfig")));
        if (!config.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write thconfig");
        config.write("source survey.th\nexport model -fmt survex -o survey.3d\n");
        config.close();
        output = runTool(QStringLiteral("therion"), {QStringLiteral("thconfig")}, folder, &status);
        if (output.contains(QLatin1String("warning")) || output.contains(QLatin1String("error")))
            status = -1;
    } else {
        // Warnings count as errors: cavern must take every line as it is meant.
        output = runTool(QStringLiteral("cavern"),
                         {"--warnings-are-errors", "--no-auxiliary-files", "--quiet", "--quiet", "--output=" + folder, path},
                         folder, &status);
    }
    if (status != 0)
        return output;
    QString problem;
    *placed = positions(QDir(folder).filePath(QStringLiteral("survey.3d")), &problem);
    return problem;
}

void FormatReadersTest::readersPlaceEveryStation()
{
    QFETCH(QString, project);
    QFETCH(QString, layout);
    QFETCH(SurveyStyle, style);
    QFETCH(SurveyDetails, details);
    QFETCH(double, orientation);
    QVERIFY2(details.problem().isEmpty(), qPrintable(details.problem()));
    const StationTable stations = ProjectFile::read(TestFiles::dataPath(project)).stations;
    const NameRules rules = rulesOf(layout);
    const SurveyText text = written(layout, stations, style, orientation, details);
    QVERIFY2(text.complete(), qPrintable(text.error));
    QTemporaryDir folder;
    QHash<QString, Position> placed;
    const QString problem = read(layout, text, folder.path(), &placed);
    QVERIFY2(problem.isEmpty(), qPrintable(problem + QStringLiteral("\n") + text.previewLines().join(QLatin1Char('\n'))));

    // Where each station must lie relative to the entrance (or the first station): east = plan x,
    // north = -plan y, up = -profile y, turned so north is where the plan says, then by the
    // declination. A declination from date and place is the reader's to compute: then only the
    // distances from the entrance and the heights are known.
    const StationNames names(stations, rules);
    const QByteArray entranceName = details.entrance.isEmpty() ? QByteArray() : names.nameOf(details.entrance);
    int origin = 0;
    while (!entranceName.isEmpty() && names.name(origin) != entranceName)
        ++origin;
    const QString originName = QString::fromLatin1(names.name(origin)).toLower();
    QVERIFY2(placed.contains(originName), qPrintable(originName));
    const bool turnedByReader = details.north == NorthReference::Magnetic && details.declinationFromDateAndPlace;
    const double declination = details.north == NorthReference::Magnetic && !turnedByReader ? details.declinationDeg : 0.0;
    const double turn = (declination - orientation) * M_PI / 180.0;
    const Station &o = stations.at(origin);
    QSet<QString> expected;
    for (int i = 0; i < stations.count(); ++i) {
        const QString name = QString::fromLatin1(names.name(i)).toLower();
        if (expected.contains(name))
            continue; // a new branch repeats the name of a station already placed
        expected.insert(name);
        QVERIFY2(placed.contains(name), qPrintable(name));
        const Station &s = stations.at(i);
        const double x = double(s.planXMetres) - double(o.planXMetres);
        const double n = -(double(s.planYMetres) - double(o.planYMetres));
        const double up = -(double(s.profileYMetres) - double(o.profileYMetres));
        const Position at = placed.value(name);
        const Position from = placed.value(originName);
        const Position got{at.x - from.x, at.y - from.y, at.z - from.z};
        double error = 0.0;
        if (turnedByReader) {
            error = std::hypot(std::hypot(got.x, got.y) - std::hypot(x, n), got.z - up);
        } else {
            const double east = x * std::cos(turn) + n * std::sin(turn);
            const double north = n * std::cos(turn) - x * std::sin(turn);
            error = std::hypot(got.x - east, got.y - north, got.z - up);
        }
        QVERIFY2(error <= Tolerance, qPrintable(QStringLiteral("%1 is %2 m off").arg(name).arg(error)));
    }
    QCOMPARE(placed.size(), expected.size());
}

void FormatReadersTest::hostileTextsChangeNoLeg_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<SurveyDetails>("details");
    const auto text = [](const char *ascii) { return QString::fromLatin1(ascii); };
    const SurveyDetails none;
    QTest::newRow("0x1A, then a unit") << "A3" << text("ok\x1a*units tape feet") << none;
    QTest::newRow("0x1A, then a fix") << "A3" << text("note\x1a*fix A1 1000 2000 3000") << none;
    QTest::newRow("0x1A in a 20-byte label") << text("A3\x1a*units tape feet;") << "" << none;
    QTest::newRow("CR LF, then a unit") << "A3" << text("a\r\n*units tape feet\r\n*fix A1 1 2 3") << none;
    QTest::newRow("tab, form feed, DEL") << text("A\t3") << text("a\tb\fc\x7f") << none;
    QTest::newRow("a label ending in a backslash") << "A\\" << "" << none;
    QTest::newRow("a comment ending in a backslash") << "A3" << "see C:\\scans\\" << none;
    QTest::newRow("a backslash, then blanks") << "A3" << "C:\\scans\\  " << none;
    QTest::newRow("Compass leg flags") << "A3" << "#|X# not surveyed" << none;
    SurveyDetails source;
    source.source = QStringLiteral("C:\\Scans\\");
    source.caveName = QStringLiteral("Yama\\");
    source.clinoInstrument = QStringLiteral("Suunto\\");
    QTest::newRow("details ending in a backslash") << "A3" << "" << source;
    // Details with control characters are refused when typed or read; were one to get through,
    // it still ends no line.
    SurveyDetails broken;
    broken.caveName = text("Cave\x1a*units tape feet");
    broken.team = {{text("Ann\x1a*fix A1 1 2 3"), {}}};
    broken.tapeInstrument = text("Disto\r\n*units tape feet");
    broken.source = text("box\n*fix A1 1 2 3");
    QTest::newRow("details with line ends") << "A3" << "" << broken;
    SurveyDetails team;
    team.team = {{QStringLiteral("Anna Maria Berg"), {}}, {QStringLiteral("#1 digger"), {}}, {QStringLiteral("[Ivo"), {}},
                 {QStringLiteral("Olga/Berg"), {}}};
    QTest::newRow("team names Therion would misread") << "A3" << "" << team;
}

void FormatReadersTest::hostileTextsChangeNoLeg()
{
    QFETCH(QString, label);
    QFETCH(QString, comment);
    QFETCH(SurveyDetails, details);
    const StationTable stations = hostileTable(label, comment);
    const Position expected[5] = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {10, 0, 0}, {20, 0, 0}};
    for (const QString layout : {"survex", "therion", "compass"}) {
        const SurveyText text = written(layout, stations, SurveyStyle::Angle, 0.0, details);
        const QString shown = layout + QStringLiteral(":\n") + text.previewLines().join(QLatin1Char('\n'));
        QTemporaryDir folder;
        QHash<QString, Position> placed;
        const QString problem = read(layout, text, folder.path(), &placed);
        QVERIFY2(problem.isEmpty(), qPrintable(problem + QLatin1Char('\n') + shown));
        int legs = 0;
        double length = 0.0;
        legsOf(QDir(folder.path()).filePath(QStringLiteral("survey.3d")), &legs, &length);
        QVERIFY2(legs == 3 && std::abs(length - 30.0) < 0.01,
                 qPrintable(QStringLiteral("%1 legs, %2 m\n").arg(legs).arg(length) + shown));
        // No station fixed elsewhere, no tape in other units: each where the table has it.
        const StationNames names(stations, rulesOf(layout));
        QCOMPARE(placed.size(), 4);
        for (int i = 0; i < 5; ++i) {
            const Position at = placed.value(QString::fromLatin1(names.name(i)).toLower(), Position{-1e9, 0, 0});
            QVERIFY2(std::hypot(at.x - expected[i].x, at.y - expected[i].y, at.z - expected[i].z) < Tolerance, qPrintable(shown));
        }
    }
    // No control byte but the writer's own tabs.
    const auto clean = [](const QByteArray &line) {
        return std::none_of(line.cbegin(), line.cend(), [](char c) { return c != '\t' && SafeLine::isControl(c); });
    };
    // The layouts no reader here reads: the lines and columns of the same table with plain texts.
    const StationTable plain = hostileTable(QStringLiteral("A3"), comment.isEmpty() ? QString() : QStringLiteral("c"));
    for (const int format : {int(SurveyFormat::LumaroLabel), int(SurveyFormat::LumaroFromTo)}) {
        const QList<QByteArray> lines = SurveyText::build(stations, SurveyFormat(format), SurveyStyle::Angle, 0.0, details).lines;
        const QList<QByteArray> plainLines = SurveyText::build(plain, SurveyFormat(format), SurveyStyle::Angle, 0.0, details).lines;
        QCOMPARE(lines.size(), plainLines.size());
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].count('\t'), plainLines[i].count('\t'));
            QVERIFY2(clean(lines[i]), lines[i].constData());
        }
    }
    // The check's CSV: quoted fields aside, a heading and three legs of twelve fields each.
    const QString csv = QString::fromUtf8(CheckReport::legsCsv(SurveyLegs::check(stations, CheckSettings())))
                            .replace(QRegularExpression(QStringLiteral("\"([^\"]|\"\")*\"")), QStringLiteral("q"));
    QCOMPARE(csv.split(QStringLiteral("\r\n")).size(), 5);
    for (const QString &record : csv.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        QVERIFY2(record.count(QLatin1Char(',')) == 11 && !record.contains('\t') && clean(record.toUtf8()), qPrintable(record));
}

QTEST_GUILESS_MAIN(FormatReadersTest)
#include "test_format_readers.moc"
