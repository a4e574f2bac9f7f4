// The check window and the 3D view on the example cave, as the caver meets them: they follow the
// survey as it changes, a chosen row names its station, and the tick box reaches the views.
// With SPEOMARK_SCREENSHOTS set to a folder, both windows are saved there as pictures.
#include "app/ui/DocumentCheckSource.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "widgets/Language.h"
#include "checks/ui/CentrelineView.h"
#include "checks/ui/CentrelineWindow.h"
#include "checks/ui/SurveyCheckWindow.h"
#include "project/ProjectFile.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <algorithm>

class CheckWindowsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Language::apply(Language::systemLanguage()); } // as the program starts
    void init();
    void checkWindowFollowsTheSurvey();
    void theViewFollowsTheSurvey();
    void aNorthThatStopsSaveStopsTheCheck();

private:
    void screenshot(QWidget &window, const QString &name);
    SurveyDocument m_document;
    EditSession m_session;
};

void CheckWindowsTest::init()
{
    ProjectFile::read(QDir(QStringLiteral(SPEOMARK_EXAMPLES)).filePath(QStringLiteral("uchebnaya.sprj")))
        .applyTo(m_document);
}

void CheckWindowsTest::screenshot(QWidget &window, const QString &name)
{
    const QString folder = qEnvironmentVariable("SPEOMARK_SCREENSHOTS");
    if (!folder.isEmpty())
        QVERIFY(window.grab().save(QDir(folder).filePath(name)));
}

void CheckWindowsTest::checkWindowFollowsTheSurvey()
{
    SurveyCheckWindow window(new DocumentCheckSource(m_document, m_session));
    window.bringToFront();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *legs = window.findChild<QTableView *>(QStringLiteral("legTable"));
    QCOMPARE(legs->model()->rowCount(), 29);
    QCOMPARE(window.network().flaggedLegCount(), 0);

    // Station 12 drawn 3 m further along the profile: legs 11-12 and 12-13 now disagree.
    m_document.editStations([](StationTable &table) { table.at(12).profileX += 30.0f; });
    QTRY_COMPARE(window.network().flaggedLegCount(), 2); // a moment after the edit
    // ... and the tick box shows them on the views, through the session.
    window.findChild<QCheckBox *>(QStringLiteral("showDisagreementBox"))->click();
    QVERIFY(m_session.showDisagreement());

    // A row names the leg's "to" station, whichever way the table is sorted.
    legs->sortByColumn(8, Qt::AscendingOrder); // difference, most negative first
    QSignalSpy chosen(&window, &SurveyCheckWindow::stationChosen);
    const QModelIndex first = legs->model()->index(0, 0);
    QTest::mouseClick(legs->viewport(), Qt::LeftButton, {}, legs->visualRect(first).center());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toInt(), 13);
    screenshot(window, QStringLiteral("survey-check.png"));
}

void CheckWindowsTest::theViewFollowsTheSurvey()
{
    CentrelineWindow window(new DocumentCheckSource(m_document, m_session));
    window.bringToFront();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CentrelineView *view = window.view();
    const QImage before = view->grab().toImage();
    m_document.editStations([](StationTable &table) { table.at(12).profileX += 30.0f; });
    // The two legs that disagree are drawn in orange a moment after the edit.
    QTRY_VERIFY(view->grab().toImage() != before);
    screenshot(window, QStringLiteral("3d-view.png"));
}

// The window checks the survey Save writes: a north that is not a number leaves it nothing to
// check, and says why, rather than checking bearings from a north it made up.
void CheckWindowsTest::aNorthThatStopsSaveStopsTheCheck()
{
    SurveyCheckWindow window(new DocumentCheckSource(m_document, m_session));
    window.bringToFront();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *legs = window.findChild<QTableView *>(QStringLiteral("legTable"));
    QCOMPARE(legs->model()->rowCount(), 29);
    m_document.setOrientationEntry(QStringLiteral("abc"));
    QTRY_COMPARE(legs->model()->rowCount(), 0);
    const QList<QLabel *> labels = window.findChildren<QLabel *>();
    QVERIFY(std::any_of(labels.begin(), labels.end(),
                        [](const QLabel *label) { return label->text().contains(QStringLiteral("abc")); }));
    m_document.setOrientationEntry(QStringLiteral("0"));
    QTRY_COMPARE(legs->model()->rowCount(), 29);
}

QTEST_MAIN(CheckWindowsTest)
#include "test_check_windows.moc"
