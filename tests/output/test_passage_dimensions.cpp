// Passage dimensions as the real readers take them: cavern's .3d holds a cross-section at every
// station we gave dimensions, equal to ours, and therion reads the same values from its file.
#include "output/TherionText.h"
#include "project/ProjectFile.h"
#include "survey/StationNames.h"
#include "support/SurveyReaders.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cmath>
#include <optional>

Q_DECLARE_METATYPE(SurveyStyle)

namespace {

constexpr double MetresPerFoot = 0.3048;

// Some stations with all four values, some with a few, some with none; a station whose name
// is repeated (a tie) gets none, so each name has one cross-section.
StationTable withDimensions(StationTable stations, NameRules rules)
{
    const StationNames names(stations, rules);
    QHash<QByteArray, int> uses;
    for (int i = 0; i < stations.count(); ++i)
        ++uses[names.name(i)];
    for (int i = 0; i < stations.count(); ++i) {
        if (uses.value(names.name(i)) > 1)
            continue;
        PassageDimensions &d = stations.at(i).dimensions;
        switch (i % 4) {
        case 1:
            d = {1.0 + 0.25 * i, 2.5, 0.75 + 0.01 * i, 1.25};
            break;
        case 2:
            d.left = 0.0;
            d.down = 3.5;
            break;
        case 3:
            d.right = 0.4;
            d.up = 12.0;
            break;
        default:
            break; // none
        }
    }
    return stations;
}

QString write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write ") + name;
    return QString();
}

// Each station's four values as a reader gives them (metres; a negative one is unknown), by name
// without its survey, lowered.
using Sections = QHash<QString, std::array<double, 4>>;

// Ours: left, right, up, down of every station with a dimension.
bool agrees(const PassageDimensions &ours, const std::array<double, 4> &theirs, bool unknownsAreReaders, QString *why)
{
    const std::optional<double> values[4] = {ours.left, ours.right, ours.up, ours.down};
    for (int k = 0; k < 4; ++k) {
        const bool known = values[k].has_value();
        if (!known && unknownsAreReaders)
            continue; // therion fills an unknown one from the stations around it
        if (known != (theirs[size_t(k)] >= 0.0) || (known && std::fabs(*values[k] - theirs[size_t(k)]) > 0.011)) {
            *why = QStringLiteral("value %1: ours %2, the reader's %3")
                       .arg(k)
                       .arg(known ? QString::number(*values[k]) : QStringLiteral("none"))
                       .arg(theirs[size_t(k)]);
            return false;
        }
    }
    return true;
}

} // namespace

class PassageDimensionsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void readersTakeOurCrossSections_data();
    void readersTakeOurCrossSections();
};

void PassageDimensionsTest::initTestCase()
{
    for (const char *tool : {"cavern", "dump3d", "therion"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(),
                 "Survex or Therion is missing: run ./test, which installs them");
}

void PassageDimensionsTest::readersTakeOurCrossSections_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<SurveyStyle>("style");
    for (const char *layout : {"survex", "therion"})
        for (const char *project : {"cave.sprj", "formats/labels.sprj"}) {
            QTest::addRow("%s, %s, angles", layout, project) << project << layout << SurveyStyle::Angle;
            QTest::addRow("%s, %s, depth changes", layout, project) << project << layout << SurveyStyle::DepthChange;
        }
}

void PassageDimensionsTest::readersTakeOurCrossSections()
{
    QFETCH(QString, project);
    QFETCH(QString, layout);
    QFETCH(SurveyStyle, style);
    const bool survex = layout == QLatin1String("survex");
    const NameRules rules = survex ? NameRules::Survex : NameRules::Therion;
    const StationTable stations = withDimensions(ProjectFile::read(TestFiles::dataPath(project)).stations, rules);
    const SurveyText text = survex ? SurveyText::build(stations, SurveyFormat::Survex, style, 0.0)
                                   : TherionText::build(stations, style, 0.0, SurveyDetails());
    QVERIFY2(text.complete(), qPrintable(text.error));
    const QString shown = QStringLiteral("\n") + text.previewLines().join(QLatin1Char('\n'));
    QTemporaryDir folder;
    int status = -1;
    QString output;
    Sections sections;
    if (survex) {
        QVERIFY(write(folder.path(), QStringLiteral("survey.svx"), text.fileBytes()).isEmpty());
        output = SurveyReaders::run(QStringLiteral("cavern"),
                                    {"--warnings-are-errors", "--no-auxiliary-files", "--quiet", "--quiet", "survey.svx"},
                                    folder.path(), &status);
        QVERIFY2(status == 0, qPrintable(output + shown));
        output = SurveyReaders::run(QStringLiteral("dump3d"), {QStringLiteral("survey.3d")}, folder.path(), &status);
        QCOMPARE(status, 0);
        // XSECT left right up down [name]
        static const QRegularExpression line(QStringLiteral("^XSECT (\\S+) (\\S+) (\\S+) (\\S+) \\[(?:.*\\.)?([^.\\]]+)\\]"),
                                             QRegularExpression::MultilineOption);
        for (auto it = line.globalMatch(output); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            sections.insert(m.captured(5).toLower(), {m.captured(1).toDouble(), m.captured(2).toDouble(),
                                                      m.captured(3).toDouble(), m.captured(4).toDouble()});
        }
    } else {
        QVERIFY(write(folder.path(), QStringLiteral("survey.th"), text.fileBytes()).isEmpty());
        QVERIFY(write(folder.path(), QStringLiteral("thconfig"),
                      "source survey.th\nexport model -fmt compass -o survey.plt\n")
                    .isEmpty());
        output = SurveyReaders::run(QStringLiteral("therion"), {QStringLiteral("thconfig")}, folder.path(), &status);
        QVERIFY2(status == 0 && !output.contains(QLatin1String("warning")) && !output.contains(QLatin1String("error")),
                 qPrintable(output + shown));
        QFile plt(folder.filePath(QStringLiteral("survey.plt")));
        QVERIFY(plt.open(QIODevice::ReadOnly));
        // A station's line: ... S<name> P left up down right, in feet.
        static const QRegularExpression line(QStringLiteral("\\tS(\\S+)\\tP\\t(\\S+)\\t(\\S+)\\t(\\S+)\\t(\\S+)"));
        for (const QByteArray &bytes : plt.readAll().split('\n')) {
            const QRegularExpressionMatch m = line.match(QString::fromLatin1(bytes));
            if (m.hasMatch())
                sections.insert(m.captured(1).section(QLatin1Char('@'), 0, 0).toLower(),
                                {m.captured(2).toDouble() * MetresPerFoot, m.captured(5).toDouble() * MetresPerFoot,
                                 m.captured(3).toDouble() * MetresPerFoot, m.captured(4).toDouble() * MetresPerFoot});
        }
    }
    const StationNames names(stations, rules);
    int checked = 0;
    for (int i = 0; i < stations.count(); ++i) {
        const PassageDimensions &ours = stations.at(i).dimensions;
        if (ours.isEmpty())
            continue;
        // Therion's PLT keeps eight characters of a name.
        const QString name = QString::fromLatin1(names.name(i)).toLower().left(survex ? -1 : 8);
        QVERIFY2(sections.contains(name), qPrintable(name + QStringLiteral(" has no cross-section") + shown));
        QString why;
        QVERIFY2(agrees(ours, sections.value(name), !survex, &why), qPrintable(name + QStringLiteral(": ") + why + shown));
        ++checked;
    }
    QVERIFY(checked >= 3);
}

QTEST_GUILESS_MAIN(PassageDimensionsTest)
#include "test_passage_dimensions.moc"
