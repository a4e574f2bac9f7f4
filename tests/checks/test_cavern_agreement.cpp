// Survex's cavern reads the Survex text of every check fixture through the runner the check
// window uses, and agrees with the check: the same number of loops, the same misclosure, loop
// length and error; a survey in pieces is read whole, each piece where the check puts it.
#include "checks/CavernRun.h"
#include "checks/SurveyNetwork.h"
#include "project/ProjectFile.h"
#include "support/SurveyReaders.h"
#include "support/TestFiles.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CavernResult)

namespace {

QByteArray survexText(const QString &project, const QString &style)
{
    QProcess process;
    process.start(QStringLiteral(SPEOMARK_EXPORT), {"--format", "survex", "--style", style, project});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

CavernResult runCavern(const QByteArray &text, const QString &program)
{
    CavernRun runner;
    QSignalSpy finished(&runner, &CavernRun::finished);
    runner.start(text, program);
    if (finished.isEmpty() && !finished.wait(60000))
        return CavernResult();
    return finished.first().first().value<CavernResult>();
}

SurveyNetwork ourCheck(const QString &path)
{
    const ProjectContents project = ProjectFile::read(path);
    CheckSettings settings;
    settings.profileKind = project.header.profileKind == 0 ? ProfileKind::None : ProfileKind::Extended;
    settings.profile.metresPerPixel = project.header.profileMetresPerPixel;
    return SurveyNetwork::build(project.stations, settings);
}

QString two(double value) { return QString::number(value, 'f', 2); }

} // namespace

class CavernAgreementTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cavernAgreesWithTheCheck_data();
    void cavernAgreesWithTheCheck();
    void aRunCanBeCancelledOrFailToStart();

private:
    QString m_cavern;
};

void CavernAgreementTest::initTestCase()
{
    qRegisterMetaType<CavernResult>();
    m_cavern = CavernRun::findCavern();
    QVERIFY2(!m_cavern.isEmpty(), "Survex is missing: run ./test, which installs it");
}

void CavernAgreementTest::cavernAgreesWithTheCheck_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("style");
    for (const char *style : {"angle", "depthchange"}) {
        for (const char *name : {"checks/loop.sprj", "checks/branches.sprj", "checks/branches-noprofile.sprj",
                                 "zero-leg.sprj", "cave.sprj"})
            QTest::addRow("%s %s", name, style) << TestFiles::dataPath(QLatin1String(name)) << QString::fromLatin1(style);
    }
}

void CavernAgreementTest::cavernAgreesWithTheCheck()
{
    QFETCH(QString, project);
    QFETCH(QString, style);
    const QByteArray text = survexText(project, style);
    QVERIFY(!text.isEmpty());
    const SurveyNetwork ours = ourCheck(project);
    const CavernResult result = runCavern(text, m_cavern);
    QVERIFY2(result.started, qPrintable(result.messages));

    QVERIFY2(result.succeeded(), qPrintable(result.messages));
    if (ours.untiedPieceCount() > 0) {
        // Without loops nothing is adjusted: every station stands where the check puts it, the
        // pieces no leg joins included.
        QVERIFY(ours.loops.isEmpty());
        QTemporaryDir folder;
        QString problem;
        const QHash<QString, SurveyReaders::Position> positions =
            SurveyReaders::cavernPositions(text, folder.path(), &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        for (const LegCheck &leg : ours.legs) {
            const NetworkPoint &p = ours.positions[leg.to];
            const SurveyReaders::Position &q = positions.value(leg.toName.toLower());
            QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(leg.toName, two(q.x), two(q.y), two(q.z)),
                     QStringLiteral("%1 %2 %3 %4").arg(leg.toName, two(p.east), two(p.north), two(p.up)));
        }
        return;
    }

    const QRegularExpressionMatch loops =
        QRegularExpression(QStringLiteral("There (?:is|are) (\\d+) loops?")).match(result.loopSummary);
    QVERIFY2(loops.hasMatch(), qPrintable(result.loopSummary));
    QCOMPARE(loops.captured(1).toInt(), int(ours.loops.size()));
    // Each fixture's loop is one traverse for cavern, so its figures are the loop's.
    QCOMPARE(result.traverses.size(), ours.loops.size());
    for (int i = 0; i < ours.loops.size(); ++i) {
        const SurveyLoop &loop = ours.loops[i];
        const CavernTraverse &traverse = result.traverses[i];
        QCOMPARE(traverse.legs, int(loop.legs.size()));
        QCOMPARE(two(traverse.length), two(loop.length));
        QCOMPARE(two(traverse.moved), two(loop.misclosure));
        QCOMPARE(two(traverse.errorPercent), two(loop.errorPercent));
    }
}

void CavernAgreementTest::aRunCanBeCancelledOrFailToStart()
{
    CavernRun runner;
    QSignalSpy finished(&runner, &CavernRun::finished);
    runner.start(survexText(TestFiles::dataPath(QStringLiteral("cave.sprj")), QStringLiteral("angle")), m_cavern);
    QVERIFY(runner.isRunning());
    runner.cancel();
    QVERIFY(!runner.isRunning());
    QCOMPARE(finished.size(), 1);
    QVERIFY(finished.first().first().value<CavernResult>().cancelled);

    const CavernResult missing = runCavern("*begin\n*end\n", QStringLiteral("/nonexistent/cavern"));
    QVERIFY(!missing.started);
    QVERIFY2(missing.messages.startsWith(QStringLiteral("cavern could not be started: ")), qPrintable(missing.messages));
}

QTEST_GUILESS_MAIN(CavernAgreementTest)
#include "test_cavern_agreement.moc"
