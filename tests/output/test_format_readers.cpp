// Real readers agree: cavern reads the Survex and Compass files and therion the Therion files we
// write, for labels Survex cannot take as they are, ties across branches and every kind of
// survey detail, and the station positions they compute match the stations' metres (turned by the
// declination) within the rounding of the written values.
#include "output/CompassText.h"
#include "output/StationNames.h"
#include "output/TherionText.h"
#include "project/ProjectFile.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

Q_DECLARE_METATYPE(SurveyDetails)
Q_DECLARE_METATYPE(SurveyStyle)

namespace {

// Positions in a projected system are millions of metres: floats would lose the centimetres.
struct Position
{
    double x = 0.0, y = 0.0, z = 0.0;
};

constexpr double Tolerance = 0.06; // a few legs' rounding of 0.01 m and 0.01 degree, and the positions' two decimals

QString runTool(const QString &program, const QStringList &arguments, const QString &folder, int *exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    *exitCode = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

// The positions survexport lists for a .3d file, by station name without its survey's prefix,
// lowered (Survex lowers the names of .svx files).
QHash<QString, Position> positions(const QString &model, QString *problem)
{
    int status = -1;
    const QString csv = model + QStringLiteral(".csv");
    const QString output = runTool(QStringLiteral("survexport"), {"--csv", model, csv}, QDir::tempPath(), &status);
    QHash<QString, Position> result;
    QFile file(csv);
    if (status != 0 || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *problem = output;
        return result;
    }
    file.readLine();
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine().trimmed()).split(QLatin1Char(','));
        if (fields.size() == 4)
            result.insert(fields[3].section(QLatin1Char('.'), -1).toLower(),
                          Position{fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble()});
    }
    return result;
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

private:
    QString read(const QString &layout, const SurveyText &text, const QString &folder,
                 QHash<QString, Position> *placed);
};

void FormatReadersTest::initTestCase()
{
    for (const char *tool : {"cavern", "survexport", "therion"})
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
    for (const char *layout : {"survex", "therion"}) {
        QTest::addRow("%s, declination from date and place", layout)
            << "formats/labels.sprj" << layout << Angle << automatic << 0.0;
        QTest::addRow("%s, true north", layout) << "formats/labels.sprj" << layout << Angle << trueNorth << 0.0;
        QTest::addRow("%s, grid north", layout) << "formats/labels.sprj" << layout << Angle << gridNorth << 0.0;
        QTest::addRow("%s, entrance fixed at 0,0,0", layout) << "formats/labels.sprj" << layout << Depth << bare << 0.0;
        QTest::addRow("%s, entrance inside the cave", layout)
            << "formats/labels.sprj" << layout << Angle << elsewhere << 0.0;
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

QTEST_GUILESS_MAIN(FormatReadersTest)
#include "test_format_readers.moc"
