// Survex's extend, given our extend file, and therion, given our Therion file, lay out every leg
// of the extended profile left or right as the drawing runs it: a generated survey that folds, has
// upright legs, branches and a loop the drawing breaks, and the example cave.
#include "output/Exporter.h"
#include "project/ProjectFile.h"
#include "support/SurveyReaders.h"
#include "survey/StationNames.h"

#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

Q_DECLARE_METATYPE(Survey)

namespace {

// Each station drawn `side` of the one before (+1 right, -1 left, 0 straight below or above it,
// even a leg that runs 3 m), twenty pixels a metre. 'c' closes a loop at the station met before,
// drawn again; 'b' ends the branch and starts the next at that station. The entrance is E.
struct Step
{
    const char *label;
    double metres, bearing, rise;
    int side;
    char kind = '-';
};
const Step Folds[] = {{"B", 6, 90, -1, 1},  {"E", 5, 80, 2, 1},    {"C", 8, 100, -3, 1},  {"D", 7, 270, -2, -1},
                      {"F", 0, 0, -15, 0},  {"G", 6, 200, -1, -1}, {"H", 3, 180, 0, 0},   {"J", 5, 90, 0, 1},
                      {"K", 4, 0, -1, 1},   {"L", 4, 90, 0, 1},    {"M", 4, 180, 1, -1},  {"J", 0, 0, 0, -1, 'c'},
                      {"J", 0, 0, 0, 0, 'b'}, {"N", 6, 90, -2, -1}, {"O", 3, 60, 0, -1},  {"C", 0, 0, 0, 0, 'b'},
                      {"P", 5, 45, 1, -1},  {"Q", 3, 45, 0, 1}};

Survey foldingSurvey()
{
    std::vector<Station> t(1);
    t[0].label = QStringLiteral("A");
    const auto met = [&t](const char *label) {
        return *std::find_if(t.begin(), t.end(), [&](const Station &s) { return s.label == QLatin1String(label); });
    };
    for (const Step &step : Folds) {
        Station s = step.kind == '-' ? t.back() : met(step.label);
        s.label = QString::fromLatin1(step.label);
        s.planXMetres += float(step.metres * std::sin(step.bearing * M_PI / 180.0));
        s.planYMetres -= float(step.metres * std::cos(step.bearing * M_PI / 180.0));
        s.profileYMetres -= float(step.rise);
        if (step.kind == 'b')
            t.back().branchEnd = true;
        else
            s.profileX = t.back().profileX
                         + float(step.side * 20 * std::hypot(s.planXMetres - t.back().planXMetres, s.planYMetres - t.back().planYMetres));
        t.push_back(s);
    }
    Survey survey;
    survey.stations.assign(t);
    survey.details.caveName = QStringLiteral("Folds");
    survey.details.entrance = QStringLiteral("E");
    return survey;
}

// How far right the reader ran each leg it laid out, with the side the drawing runs it (0: none).
// extend's legs are known by the names at their ends; therion's XVI export lists them in order.
QString layOut(const QString &reader, const Survey &survey, const QString &folder, QList<QPair<int, double>> *laid)
{
    const auto write = [&](const char *name, const QByteArray &bytes) {
        QFile file(folder + '/' + name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const bool survex = reader == QLatin1String("extend");
    int status = -1;
    QString out;
    if (survex && write("c.svx", Exporter::text(survey, ExportFormat::Survex).fileBytes())
        && write("c.espec", Exporter::text(survey, ExportFormat::SurvexExtend).fileBytes())) {
        out = SurveyReaders::run("cavern", {"--quiet", "c.svx"}, folder, &status);
        if (status == 0)
            out = SurveyReaders::run("extend", {"--specfile=c.espec", "c.3d", "x.3d"}, folder, &status);
    } else if (write("c.th", Exporter::text(survey, ExportFormat::Therion).fileBytes())
               && write("thconfig", "source c.th\nexport map -projection extended -fmt xvi -o x.xvi\n")) {
        out = SurveyReaders::run("therion", {"thconfig"}, folder, &status);
    }
    if (status != 0 || out.contains(QLatin1String("warning")) || out.contains(QLatin1String("error --")))
        return out;

    QList<int> drawn; // the table's legs in order
    QHash<QString, int> byNames;
    const StationNames names(survey.stations, NameRules::Survex);
    const QByteArray block = SurveyText::survexBlock(survey.details).toLower();
    const auto name = [&](int i) { return QString::fromLatin1((block.isEmpty() ? block : block + '.') + names.name(i).toLower()); };
    for (int i = 1; i < survey.stations.count(); ++i) {
        const Station &a = survey.stations.at(i - 1), &b = survey.stations.at(i);
        if (!survey.stations.hasLegBefore(i))
            continue;
        drawn.append(a.profileSheet != b.profileSheet || std::fabs(b.profileX - a.profileX) < 0.5f ? 0 : b.profileX > a.profileX ? 1 : -1);
        byNames.insert(name(i - 1) + ' ' + name(i), drawn.last());
        byNames.insert(name(i) + ' ' + name(i - 1), -drawn.last());
    }
    QFile xvi(folder + "/x.xvi");
    if (!survex && xvi.open(QIODevice::ReadOnly)) {
        const QString shots = QString::fromUtf8(xvi.readAll()).section(QLatin1String("XVIshots {"), 1).section(QLatin1String("\n}"), 0, 0);
        for (const QString &shot : shots.split('\n', Qt::SkipEmptyParts)) {
            const QStringList x = QString(shot).remove('{').remove('}').split(' ', Qt::SkipEmptyParts);
            laid->append({drawn.value(laid->size()), x.value(2).toDouble() - x.value(0).toDouble()});
        }
    }
    QHash<QString, QStringList> namesAt; // "x z" -> the stations extend put there
    QList<QPair<QString, QString>> legs;
    QString at;
    for (const QString &line : survex ? SurveyReaders::run("dump3d", {"x.3d"}, folder, &status).split('\n') : QStringList()) {
        const QStringList w = line.split(' ', Qt::SkipEmptyParts);
        const QString point = w.value(1) + ' ' + w.value(3);
        if (w.value(0) == QLatin1String("NODE"))
            namesAt[point].append(w.value(4).mid(1).chopped(1));
        if (w.value(0) == QLatin1String("LINE"))
            legs.append({at, point});
        at = point;
    }
    for (const auto &[from, to] : legs) {
        int side = 0;
        for (const QString &a : namesAt.value(from))
            for (const QString &b : namesAt.value(to))
                side = side ? side : byNames.value(a + ' ' + b);
        laid->append({side, to.section(' ', 0, 0).toDouble() - from.section(' ', 0, 0).toDouble()});
    }
    return QString();
}

} // namespace

class ProfileFoldsTest : public QObject
{
    Q_OBJECT
private slots:
    void writesWhereTheProfileTurns();
    void readersLayOutEveryLegAsDrawn_data();
    void readersLayOutEveryLegAsDrawn();
};

void ProfileFoldsTest::writesWhereTheProfileTurns()
{
    Survey survey = foldingSurvey();
    QCOMPARE(Exporter::text(survey, ExportFormat::SurvexExtend).fileBytes(),
             "; Survex extend: the extended profile as drawn\r\n*start folds.e\r\n*eleft folds.e folds.b\r\n"
             "*eleft folds.c folds.d\r\n*eright folds.h folds.j\r\n*eleft folds.l folds.m\r\n*break folds.j folds.m\r\n"
             "*eleft folds.j folds.n\r\n*eleft folds.c folds.p\r\n*eright folds.p folds.q\r\n");
    survey.profileKind = ProfileKind::Projective; // no folds to give
    QVERIFY(!Exporter::text(survey, ExportFormat::SurvexExtend).complete());
}

void ProfileFoldsTest::readersLayOutEveryLegAsDrawn_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<Survey>("survey");
    QTest::addColumn<double>("share");
    for (const char *reader : {"extend", "therion"}) {
        QTest::addRow("%s, generated folds", reader) << reader << foldingSurvey() << 1.0;
        for (const char *example : {"uchebnaya.sprj", "uchebnaya-sheets.sprj"})
            QTest::addRow("%s, %s", reader, example)
                << reader << ProjectFile::read(QStringLiteral(SPEOMARK_EXAMPLES "/") + example).survey() << 0.98;
    }
}

void ProfileFoldsTest::readersLayOutEveryLegAsDrawn()
{
    QFETCH(QString, reader);
    QFETCH(Survey, survey);
    QFETCH(double, share);
    if (QStandardPaths::findExecutable(reader).isEmpty() || QStandardPaths::findExecutable("dump3d").isEmpty())
        QSKIP("Survex or therion is not installed");
    const QTemporaryDir folder;
    QList<QPair<int, double>> laid;
    const QString problem = layOut(reader, survey, folder.path(), &laid);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    int legs = 0, judged = 0, asDrawn = 0; // judged: legs the drawing gives a side, that run across
    for (int i = 1; i < survey.stations.count(); ++i)
        legs += survey.stations.hasLegBefore(i);
    QCOMPARE(laid.size(), legs);
    for (const auto &[side, across] : laid) {
        if (side != 0 && std::fabs(across) >= 0.01)
            ++judged, asDrawn += (across > 0) == (side > 0);
    }
    qInfo("%d of %d legs with a drawn side laid out as drawn", asDrawn, judged);
    QVERIFY(judged > legs / 2 && asDrawn >= share * judged);
}

QTEST_GUILESS_MAIN(ProfileFoldsTest)
#include "test_profile_folds.moc"
