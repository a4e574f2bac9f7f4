// Opening scans as a sequence of questions: each row opens something, answers every question in
// turn from a script and checks what was asked and what the document holds at the end.
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "project/ProjectContents.h"
#include "project/ProjectController.h"
#include "views/ImageFile.h"
#include "views/ScanOpening.h"
#include "views/ViewEditor.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Within this much memory scans open without asking: small.png does, big.png does not.
constexpr qint64 Limit = 25000;

QString stepName(const ScanOpening::Step &step)
{
    using Kind = ScanOpening::Step::Kind;
    switch (step.kind) {
    case Kind::Message:
        return step.error ? QStringLiteral("error") : QStringLiteral("message");
    case Kind::YesNo:
        return QStringLiteral("yesno");
    case Kind::PdfPage:
        return QStringLiteral("page");
    case Kind::OfferToLocate:
        return QStringLiteral("locate");
    case Kind::ChooseScanFile:
        return QStringLiteral("file");
    case Kind::ScaleChanged:
        return QStringLiteral("scale");
    case Kind::ProjectGivenUp:
        return QStringLiteral("givenUp");
    }
    return QString();
}

} // namespace

class ScanOpeningTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void questionsAndAnswers_data();
    void questionsAndAnswers();
    void aSheetShownAsksOnceUntilShownAgain();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Answers "yes", "no", "page <n> <dpi>", "file <name>" (empty: cancelled) in turn; returns the
    // steps met, until nothing is read or asked any more.
    QStringList run(QStringList answers);
    void openProject(const QString &plan, const QString &profile);

    QTemporaryDir m_dir;
    std::unique_ptr<SurveyDocument> m_document;
    std::unique_ptr<EditSession> m_session;
    std::unique_ptr<ViewEditor> m_views;
    std::unique_ptr<ScanOpening> m_opening;
};

void ScanOpeningTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QImage small(10, 10, QImage::Format_RGB32);
    small.fill(qRgb(200, 40, 40));
    QVERIFY(small.save(path(QStringLiteral("small.png"))));
    QImage big(100, 80, QImage::Format_RGB32); // 32000 bytes: beyond the limit
    for (int y = 0; y < big.height(); ++y)
        for (int x = 0; x < big.width(); ++x)
            big.setPixel(x, y, qRgb(x * 2, y * 3, (x * y) % 256));
    QVERIFY(big.save(path(QStringLiteral("big.png"))));
    QVERIFY(big.save(path(QStringLiteral("big.bmp"))));
    QFile whole(path(QStringLiteral("big.bmp")));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    QFile cut(path(QStringLiteral("damaged.bmp"))); // its rows end early
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    QFile text(path(QStringLiteral("text.png")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("not an image\n");
    QPdfWriter pdf(path(QStringLiteral("pages.pdf")));
    pdf.setPageSize(QPageSize(QPageSize::A7));
    QPainter painter(&pdf);
    painter.drawLine(0, 0, 100, 100);
    pdf.newPage();
    painter.drawLine(0, 100, 100, 0);
}

void ScanOpeningTest::init()
{
    m_document = std::make_unique<SurveyDocument>();
    m_session = std::make_unique<EditSession>();
    m_views = std::make_unique<ViewEditor>(*m_document, *m_session);
    m_opening = std::make_unique<ScanOpening>(*m_document, *m_views, Limit);
    // As the window does: a sheet shown without its scan has it read.
    connect(m_document.get(), &SurveyDocument::changed, this,
            [this](SurveyDocument::Parts parts) { m_opening->documentChanged(parts & SurveyDocument::ShownPart); });
    connect(&m_opening->loader(), &ImageLoader::finished, this, [this] { m_opening->readEnded(); });
}

void ScanOpeningTest::cleanup()
{
    m_opening.reset();
    m_views.reset();
    m_session.reset();
    m_document.reset();
}

QStringList ScanOpeningTest::run(QStringList answers)
{
    QStringList steps;
    for (;;) {
        while (const std::optional<ScanOpening::Step> step = m_opening->next()) {
            steps << stepName(*step);
            ScanOpening::Answer answer;
            const QStringList words = answers.isEmpty() ? QStringList() : answers.takeFirst().split(QLatin1Char(' '));
            answer.yes = words.value(0) == QStringLiteral("yes") || words.value(0) == QStringLiteral("page");
            if (words.value(0) == QStringLiteral("page")) {
                answer.pdfPage = words.value(1).toInt();
                answer.dotsPerInch = words.value(2).toInt();
            }
            if (words.value(0) == QStringLiteral("file") && words.size() > 1)
                answer.path = path(words.value(1));
            m_opening->answer(answer);
        }
        if (!m_opening->loader().isBusy())
            break;
        m_opening->loader().waitForFinished();
    }
    if (!answers.isEmpty())
        steps << QStringLiteral("unasked: ") + answers.join(QLatin1Char(','));
    return steps;
}

void ScanOpeningTest::openProject(const QString &plan, const QString &profile)
{
    ProjectContents project = ProjectContents::capture(SurveyDocument());
    project.header.planImagePath = plan.isEmpty() ? QString() : path(plan);
    project.header.profileImagePath = profile.isEmpty() ? QString() : path(profile);
    const QString file = path(QStringLiteral("cave.sprj"));
    m_opening->openProject(ProjectController::scanJobs(project, file), [=, this](ImageRead planRead, ImageRead profileRead) {
        const ProjectController::Opened opened =
            ProjectController(*m_document, *m_session).open(project, file, std::move(planRead), std::move(profileRead));
        QList<ScanOpening::Unopened> unopened;
        for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
            const ProjectController::Scan &scan = side == ViewSide::Plan ? opened.plan : opened.profile;
            if (!scan.message.isEmpty())
                unopened.append({side, scan.message, scan.fileMissing, !scan.fileMissing});
        }
        return unopened;
    });
}

void ScanOpeningTest::questionsAndAnswers_data()
{
    QTest::addColumn<QString>("open"); // scan, sheet or project (plan,profile)
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QSize>("plan"); // the plan's scan at the end (none: 0 x 0)
    QTest::addColumn<QSize>("profile");
    QTest::addColumn<int>("sheets");

    const QSize none(0, 0);
    const QStringList no;
    QTest::newRow("small scan") << "scan" << "small.png" << no << QStringList{"scale"} << QSize(10, 10) << none << 2;
    QTest::newRow("big scan, memory agreed") << "scan" << "big.png" << QStringList{"yes"}
                                             << QStringList{"yesno", "scale"} << QSize(100, 80) << none << 2;
    QTest::newRow("big scan, memory refused") << "scan" << "big.png" << QStringList{"no"} << QStringList{"yesno"}
                                              << none << none << 2;
    QTest::newRow("damaged, part shown") << "scan" << "damaged.bmp" << QStringList{"yes", "yes"}
                                         << QStringList{"yesno", "yesno", "scale"} << QSize(100, 80) << none << 2;
    QTest::newRow("damaged, declined") << "scan" << "damaged.bmp" << QStringList{"yes", "no"}
                                       << QStringList{"yesno", "yesno"} << none << none << 2;
    QTest::newRow("not an image") << "scan" << "text.png" << no << QStringList{"error"} << none << none << 2;
    QTest::newRow("missing file") << "scan" << "gone.png" << no << QStringList{"error"} << none << none << 2;
    QTest::newRow("pdf page chosen") << "scan" << "pages.pdf" << QStringList{"page 2 20"}
                                     << QStringList{"page", "scale"} << QSize(59, 83) << none << 2;
    QTest::newRow("pdf page cancelled") << "scan" << "pages.pdf" << no << QStringList{"page"} << none << none << 2;
    QTest::newRow("new sheet, memory agreed") << "sheet" << "big.png" << QStringList{"yes"} << QStringList{"yesno"}
                                              << QSize(100, 80) << none << 3;
    QTest::newRow("new sheet, refused") << "sheet" << "big.png" << QStringList{"no"} << QStringList{"yesno"} << none
                                        << none << 2;
    QTest::newRow("project") << "project" << "small.png,small.png" << no << no << QSize(10, 10) << QSize(10, 10) << 2;
    // Both are asked before either is read again; the one refused is said once.
    QTest::newRow("project, one of two big agreed")
        << "project" << "big.png,big.png" << QStringList{"yes", "no"} << QStringList{"yesno", "yesno", "error"}
        << QSize(100, 80) << none << 2;
    QTest::newRow("project, damaged declined")
        << "project" << "damaged.bmp,small.png" << QStringList{"yes", "no"} << QStringList{"yesno", "yesno", "error"} << none
        << QSize(10, 10) << 2;
    QTest::newRow("project, missing scan located")
        << "project" << "gone.png,small.png" << QStringList{"yes", "file big.png", "yes"}
        << QStringList{"locate", "file", "yesno"} << QSize(100, 80) << QSize(10, 10) << 2;
    QTest::newRow("project, missing scan not located")
        << "project" << "gone.png,gone2.png" << QStringList{"no", "yes", "file"} << QStringList{"locate", "locate", "file"}
        << none << none << 2;
}

void ScanOpeningTest::questionsAndAnswers()
{
    QFETCH(QString, open);
    QFETCH(QString, file);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, steps);
    QFETCH(QSize, plan);
    QFETCH(QSize, profile);
    QFETCH(int, sheets);

    if (open == QStringLiteral("scan"))
        m_opening->openScan(ViewSide::Plan, path(file));
    else if (open == QStringLiteral("sheet"))
        m_opening->addSheet(ViewSide::Plan, path(file));
    else
        openProject(file.section(QLatin1Char(','), 0, 0), file.section(QLatin1Char(','), 1, 1));
    QCOMPARE(run(answers), steps);
    QCOMPARE(m_document->view(ViewSide::Plan).image.size(), plan);
    QCOMPARE(m_document->view(ViewSide::Profile).image.size(), profile);
    QCOMPARE(int(m_document->sheets().size()), sheets);
    if (!plan.isEmpty() && open != QStringLiteral("project")) {
        // The scan as read with the answers given (a PDF's page and resolution, a damaged file's
        // part), kept with the path it came from.
        QCOMPARE(m_document->view(ViewSide::Plan).imagePath, path(file));
        QCOMPARE(m_document->view(ViewSide::Plan).image, ImageFile::read(path(file), ImageRequest::again(2, 20, 1 << 20)).image);
        QCOMPARE(m_document->view(ViewSide::Plan).pdfPage, file.endsWith(QStringLiteral("pdf")) ? 2 : 0);
    }
    if (file.startsWith(QStringLiteral("gone.png")) && !plan.isEmpty()) // a located scan is saved from now on
        QCOMPARE(m_document->view(ViewSide::Plan).imagePath, path(QStringLiteral("big.png")));
}

// A tab switch to a sheet whose scan is not held reads it, asking about memory as an open does;
// once refused it is not asked again until the sheet is chosen again.
void ScanOpeningTest::aSheetShownAsksOnceUntilShownAgain()
{
    const SheetId second = m_document->addSheet(SheetKind::Plan);
    m_document->showSheet(ViewSide::Plan, second);
    m_document->editView(ViewSide::Plan, [&](ViewSettings &view) { view.imagePath = path(QStringLiteral("big.png")); });
    QCOMPARE(run({"no"}), QStringList{"yesno"});
    QVERIFY(m_document->view(ViewSide::Plan).image.isNull());
    m_document->editView(ViewSide::Plan, [](ViewSettings &view) { view.zoom = 2.0; });
    QCOMPARE(run({}), QStringList());
    m_document->showSheet(ViewSide::Plan, PlanSheet);
    m_document->showSheet(ViewSide::Plan, second);
    QCOMPARE(run({"yes"}), QStringList{"yesno"});
    QCOMPARE(m_document->view(ViewSide::Plan).image.size(), QSize(100, 80));

    // Its file gone: said once, as an error.
    const SheetId third = m_document->addSheet(SheetKind::Plan);
    m_document->showSheet(ViewSide::Plan, third);
    m_document->editView(ViewSide::Plan, [&](ViewSettings &view) { view.imagePath = path(QStringLiteral("gone.png")); });
    QCOMPARE(run({}), QStringList{"error"});
    m_document->editView(ViewSide::Plan, [](ViewSettings &view) { view.zoom = 3.0; });
    QCOMPARE(run({}), QStringList());
}

QTEST_MAIN(ScanOpeningTest)
#include "test_scan_opening.moc"
