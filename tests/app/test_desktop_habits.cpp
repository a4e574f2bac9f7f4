// The window as a desktop digitiser is used: the wheel zooms where the cursor is, the scale comes
// from two clicks on the scale bar, a reopened job goes on along its branch, Enter adds, and
// files dropped on the window open.
#include "checks/ui/SurveyCheckWindow.h"
#include "survey/LabelSeries.h"
#include "output/SurveyText.h"
#include "stations/StationEditor.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QAction>
#include <QCursor>
#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollArea>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <sys/stat.h>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWindow>

class DesktopHabits : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void nextLabels_data();
    void nextLabels();
    void proposedLabels_data();
    void proposedLabels();
    void theWheelZoomsAtTheCursor();
    void theScaleBarAndTheNorthArrowInFourClicks();
    void aReopenedJobGoesOnAlongItsBranch();
    void droppedProjectsOpen();
    void shortcutsReachTheirCommands_data();
    void shortcutsReachTheirCommands();
    void drawingKeysActOnTheDrawingFromTheLabelBox_data();
    void drawingKeysActOnTheDrawingFromTheLabelBox();
    void numberFieldsRefuseText_data();
    void numberFieldsRefuseText();
    void enterAddsFromAnywhereAndShortcutsBeatTextBoxes();
    void recentProjectsAreReadWithCare();

private:
    QAction *action(const QString &text)
    {
        for (QAction *a : f->window().findChildren<QAction *>())
            if (a->text() == text)
                return a;
        qFatal("no action %s", qPrintable(text));
    }
    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> f;
};

void DesktopHabits::init()
{
    f = std::make_unique<WindowFixture>();
    QImage scan(2000, 1500, QImage::Format_RGB32);
    scan.fill(Qt::white);
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        f->document().editView(side, [&](ViewSettings &view) { view.image = scan; });
}

void DesktopHabits::nextLabels_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("next");
    QTest::newRow("number") << "12" << "13";
    QTest::newRow("letter and number") << "A7" << "A8";
    QTest::newRow("zero-padded Cyrillic") << "Б09" << "Б10";
    QTest::newRow("carry widens") << "99" << "100";
    QTest::newRow("carry keeps the prefix") << "P1.99" << "P1.100";
    QTest::newRow("letter after a number") << "9a" << "9b";
    QTest::newRow("Cyrillic letter after a number") << "A12в" << "A12г";
    QTest::newRow("last letter") << "9z" << "";
    QTest::newRow("word after a number") << "9ab" << "";
    QTest::newRow("no number") << "Вход" << "";
    QTest::newRow("empty") << "" << "";
}

void DesktopHabits::nextLabels()
{
    QFETCH(QString, last);
    QFETCH(QString, next);
    QCOMPARE(StationEditor::nextLabel(last), next);
}

// What the label box proposes for the next station: the series the traverse runs in, never a
// label a station has ("|" ends a branch after the station before it).
void DesktopHabits::proposedLabels_data()
{
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("resumed from 1 to 5") << QStringList{"1", "2", "3", "4", "5"} << "6";
    QTest::newRow("surveyed downwards") << QStringList{"I24", "I23", "I22"} << "I21";
    QTest::newRow("down to 0") << QStringList{"2", "1", "0"} << "";
    QTest::newRow("branch from 8 skips what exists") << QStringList{"7", "8", "9", "10|", "8"} << "11";
    QTest::newRow("a tie back in the series") << QStringList{"A1", "A2", "A3|", "A2", "B1"} << "B2";
    QTest::newRow("unlabelled last") << QStringList{"5", "6", ""} << "7";
    QTest::newRow("nothing to count on") << QStringList{"Вход"} << "";
    QTest::newRow("empty table") << QStringList{} << "";
}

void DesktopHabits::proposedLabels()
{
    QFETCH(QStringList, labels);
    QFETCH(QString, proposed);
    std::vector<Station> stations;
    for (QString label : labels) {
        Station station;
        station.branchEnd = label.endsWith(QLatin1Char('|'));
        label.remove(QLatin1Char('|'));
        station.label = label;
        stations.push_back(station);
    }
    StationTable table;
    table.assign(stations);
    QCOMPARE(LabelSeries::proposed(table), proposed);
}

void DesktopHabits::theWheelZoomsAtTheCursor()
{
    auto *box = f->control<QScrollArea>("ScrollBox1");
    box->horizontalScrollBar()->setValue(300);
    box->verticalScrollBar()->setValue(200);
    const QPoint cursor(150, 100); // source (450, 300) at zoom 1
    QWheelEvent notch(cursor, box->viewport()->mapToGlobal(cursor), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &notch);
    QCOMPARE(f->document().view(ViewSide::Plan).zoom, 1.25);
    QCOMPARE(box->horizontalScrollBar()->value(), 563 - 150); // 450 x 1.25, rounded
    QCOMPARE(box->verticalScrollBar()->value(), 375 - 100);
    // Shift scrolls sideways and Ctrl up and down, without zooming.
    QWheelEvent sideways(cursor, box->viewport()->mapToGlobal(cursor), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::ShiftModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &sideways);
    QCOMPARE(box->horizontalScrollBar()->value(), 413 + 120);
    QCOMPARE(f->document().view(ViewSide::Plan).zoom, 1.25);
}

void DesktopHabits::theScaleBarAndTheNorthArrowInFourClicks()
{
    f->fillStations(2); // placed with no scale yet
    auto *plan = f->control<ImagePane>("ImageLeft");
    action(QStringLiteral("Измерить масштаб плана"))->trigger();
    QTest::mouseClick(plan, Qt::LeftButton, {}, QPoint(100, 400));
    f->dialogs().answerFile(QStringLiteral("20")); // the bar is 20 m
    f->dialogs().answerQuestion(Answer::Yes);      // and the stations follow the new scale
    QTest::mouseClick(plan, Qt::LeftButton, {}, QPoint(500, 400));
    const ViewSettings &view = f->document().view(ViewSide::Plan);
    QCOMPARE(view.calibration.metresPerPixel, 0.05);
    QCOMPARE(view.gridMetresEntry, QStringLiteral("20"));
    QCOMPARE(view.gridPixelsEntry, QStringLiteral("400"));
    QVERIFY(f->session().gridLocked(ViewSide::Plan));
    QCOMPARE(f->document().stations().at(1).planXMetres, 0.5f); // 10 pixels at 0.05 m
    QCOMPARE(f->dialogs().shown.size(), 2); // the length, then the stations
    // The north arrow points to the upper right, at 45 degrees.
    action(QStringLiteral("Измерить север на плане"))->trigger();
    QTest::mouseClick(plan, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseClick(plan, Qt::LeftButton, {}, QPoint(300, 100));
    QCOMPARE(f->document().orientationEntry(), QStringLiteral("45"));
    QCOMPARE(f->history().undoText(), QStringLiteral("ориентацию плана"));
}

void DesktopHabits::aReopenedJobGoesOnAlongItsBranch()
{
    f->dialogs().answerQuestion(Answer::No); // the scans opened before are given up
    f->window().openProject(QStringLiteral(SPEOMARK_EXAMPLES "/uchebnaya.sprj"));
    f->waitForImages();
    const int legs = SurveyText::build(f->document().stations(), SurveyFormat::Survex, SurveyStyle::Angle, 0).lines.size();
    f->window().releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier, QPoint(300, 300));
    f->window().releaseOnPane(ViewSide::Profile, Qt::RightButton, Qt::NoModifier, QPoint(300, 300));
    auto *label = f->control<QLineEdit>("Edit6");
    QCOMPARE(label->text(), QStringLiteral("30")); // the series goes on where it stopped
    QTest::keyClick(label, Qt::Key_Return); // Enter adds
    QCOMPARE(f->document().stations().count(), 32);
    const SurveyText text = SurveyText::build(f->document().stations(), SurveyFormat::Survex, SurveyStyle::Angle, 0);
    QCOMPARE(text.lines.size(), legs + 1);
    // Joined to the last station: its leg follows the branch's last one.
    const auto last = std::find_if(text.lines.cbegin(), text.lines.cend(),
                                   [](const QByteArray &line) { return line.startsWith("28\t29\t"); });
    QVERIFY(last != text.lines.cend() && last + 1 != text.lines.cend() && (last + 1)->startsWith("29\t30\t"));
    QCOMPARE(label->text(), QStringLiteral("31"));
}

void DesktopHabits::droppedProjectsOpen()
{
    f->dialogs().answerQuestion(Answer::No);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral(SPEOMARK_EXAMPLES "/uchebnaya.sprj"))});
    // As the window system delivers a drop: entering, then dropping.
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f->window().windowHandle(), &enter);
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f->window().windowHandle(), &drop);
    f->waitForImages();
    QCOMPARE(f->document().stations().count(), 31);
    QVERIFY(f->window().windowTitle().startsWith(QStringLiteral("uchebnaya.sprj")));
}

using Check = std::function<bool(WindowFixture &)>;
Q_DECLARE_METATYPE(Check)

void DesktopHabits::shortcutsReachTheirCommands_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<Check>("reached");
    const auto asked = [](const QString &filter) {
        return Check([filter](WindowFixture &f) {
            return !f.dialogs().shown.isEmpty() && f.dialogs().shown.last().dialog.filter.contains(filter);
        });
    };
    QTest::newRow("Ctrl+O opens a project") << QKeySequence(Qt::CTRL | Qt::Key_O) << asked(QStringLiteral("*.sprj"));
    QTest::newRow("Ctrl+S saves it (as)") << QKeySequence(Qt::CTRL | Qt::Key_S) << asked(QStringLiteral("*.sprj"));
    QTest::newRow("Ctrl+Shift+S saves it as") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << asked(QStringLiteral("*.sprj"));
    QTest::newRow("Ctrl+E saves the survey data") << QKeySequence(Qt::CTRL | Qt::Key_E)
                                                  << Check([](WindowFixture &f) { return f.dialogs().fileDialogsShown() == 1; });
    QTest::newRow("F1 shows the guide") << QKeySequence(Qt::Key_F1)
                                        << Check([](WindowFixture &f) { return f.helpWindow().isVisible(); });
    QTest::newRow("+ zooms in") << QKeySequence(Qt::Key_Plus)
                                << Check([](WindowFixture &f) { return f.document().view(ViewSide::Plan).zoom == 2.0; });
    QTest::newRow("F5 shows the survey check") << QKeySequence(Qt::Key_F5) << Check([](WindowFixture &f) {
        const auto *check = f.window().findChild<SurveyCheckWindow *>();
        return check && check->isVisible();
    });
    QTest::newRow("F8 measures the plan's scale bar") << QKeySequence(Qt::Key_F8) << Check([](WindowFixture &f) {
        return f.window().statusBar()->currentMessage().size() > 0;
    });
    QTest::newRow("Ctrl+Alt+L opens a plan") << QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L)
                                             << Check([](WindowFixture &f) { return f.dialogs().fileDialogsShown() == 1; });
    QTest::newRow("Ctrl+W closes the project")
        << QKeySequence(Qt::CTRL | Qt::Key_W) << Check([](WindowFixture &f) { return f.document().stations().isEmpty(); });
}

void DesktopHabits::shortcutsReachTheirCommands()
{
    QFETCH(QKeySequence, keys);
    QFETCH(Check, reached);
    f->fillStations(2);
    f->dialogs().answerQuestion(Answer::No); // closing gives the stations up
    QWidget *plan = f->control<QScrollArea>("ScrollBox1");
    plan->setFocus();
    QCursor::setPos(plan->mapToGlobal(plan->rect().center()));
    QTest::keySequence(plan, keys);
    QVERIFY(reached(*f));
}

void DesktopHabits::drawingKeysActOnTheDrawingFromTheLabelBox_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("overProfile"); // the mouse over the profile, else over the plan
    QTest::addColumn<double>("zoom");      // of the drawing under the mouse, 1 before
    QTest::newRow("+ over the plan") << int(Qt::Key_Plus) << false << 2.0;
    QTest::newRow("= over the profile") << int(Qt::Key_Equal) << true << 2.0;
    QTest::newRow("- over the profile") << int(Qt::Key_Minus) << true << 0.5;
}

// Typed in the label box, "0" would tie the next station to the entrance: while the mouse is over
// a drawing, the drawing's keys act on it wherever the focus is, and the box never takes them.
void DesktopHabits::drawingKeysActOnTheDrawingFromTheLabelBox()
{
    QFETCH(int, key);
    QFETCH(bool, overProfile);
    QFETCH(double, zoom);
    auto *label = f->control<QLineEdit>("Edit6");
    label->setFocus();
    label->setText(QStringLiteral("A7"));
    QWidget *drawing = f->control<QScrollArea>(overProfile ? "ScrollBox2" : "ScrollBox1");
    QCursor::setPos(drawing->mapToGlobal(drawing->rect().center()));
    QTest::keyClick(label, Qt::Key(key));
    QCOMPARE(f->document().view(overProfile ? ViewSide::Profile : ViewSide::Plan).zoom, zoom);
    QCOMPARE(f->document().view(overProfile ? ViewSide::Plan : ViewSide::Profile).zoom, 1.0);
    QCOMPARE(label->text(), QStringLiteral("A7"));
    QVERIFY(label->hasFocus());
}

void DesktopHabits::numberFieldsRefuseText_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("inForce"); // the value the survey holds afterwards
    QTest::newRow("orientation, letters") << QByteArray("EditPlanOrientationAngle") << "abc" << "0";
    QTest::newRow("orientation, a letter after a number") << QByteArray("EditPlanOrientationAngle") << "40x" << "40";
    QTest::newRow("orientation, emptied") << QByteArray("EditPlanOrientationAngle") << "" << "0";
    QTest::newRow("orientation, negative") << QByteArray("EditPlanOrientationAngle") << "-10" << "-10";
    QTest::newRow("plan grid metres") << QByteArray("EditLeftSetka") << "1o" << "1";
    QTest::newRow("profile grid pixels, two commas") << QByteArray("EditRightPixels") << "5,5,5" << "5,5";
}

// Text that is not a number is marked in the box, named in the status bar, changes nothing and
// records nothing; leaving the box shows the value in force again.
void DesktopHabits::numberFieldsRefuseText()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, typed);
    QFETCH(QString, inForce);
    const auto entry = [&] {
        const SurveyDocument &d = f->document();
        return field == "EditLeftSetka"     ? d.view(ViewSide::Plan).gridMetresEntry
               : field == "EditRightPixels" ? d.view(ViewSide::Profile).gridPixelsEntry
                                            : d.orientationEntry();
    };
    const QString before = entry();
    const int steps = f->history().count();
    auto *box = f->control<QLineEdit>(field.constData());
    f->type(field.constData(), typed);
    QCOMPARE(entry(), inForce);
    const bool refused = typed != inForce;
    QCOMPARE(box->toolTip().isEmpty(), !refused);
    if (refused)
        QVERIFY2(f->window().statusBar()->currentMessage().startsWith(box->accessibleName() + QStringLiteral(": ")),
                 qPrintable(f->window().statusBar()->currentMessage()));
    f->control<QWidget>("ScrollBox1")->setFocus(); // the box is left
    QCOMPARE(box->text(), inForce);
    QVERIFY(box->toolTip().isEmpty());
    // Only the orientation is an edit; typing a refused text adds no step.
    const bool edit = field == "EditPlanOrientationAngle" && inForce != before;
    QCOMPARE(f->history().count(), steps + (edit ? 1 : 0));
}

void DesktopHabits::enterAddsFromAnywhereAndShortcutsBeatTextBoxes()
{
    QWidget *plan = f->control<QScrollArea>("ScrollBox1");
    f->placePoints(QPoint(10, 10), QPoint(10, 10));
    plan->setFocus();
    QTest::keyClick(plan, Qt::Key_Return); // straight after the two clicks on the drawings
    QCOMPARE(f->document().stations().count(), 1);
    f->placePoints(QPoint(30, 10), QPoint(30, 10));
    auto *orientation = f->control<QLineEdit>("EditPlanOrientationAngle");
    orientation->setFocus();
    QTest::keyClick(orientation, Qt::Key_Enter);
    QCOMPARE(f->document().stations().count(), 2);
    QTest::keyClick(plan, Qt::Key_Return); // nothing placed: nothing added
    QCOMPARE(f->document().stations().count(), 2);
    // After Add the label box has the keyboard; Ctrl+E still saves the survey data.
    auto *label = f->control<QLineEdit>("Edit6");
    QVERIFY(label->hasFocus());
    QTest::keySequence(label, QKeySequence(Qt::CTRL | Qt::Key_E));
    QCOMPARE(f->dialogs().fileDialogsShown(), 1);
    QTest::keySequence(label, QKeySequence(Qt::CTRL | Qt::Key_A)); // the box's own keys stay its own
    QCOMPARE(label->selectedText(), label->text());
}

// A settings file with a hundred thousand recent projects, one of them a pipe: the menu shows the
// eight it has room for, and the pipe is never opened (that would block the window for good).
void DesktopHabits::recentProjectsAreReadWithCare()
{
    QVERIFY(m_dir.isValid());
    const QString pipe = m_dir.filePath(QStringLiteral("pipe.sprj"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    QStringList recent{pipe, QStringLiteral(SPEOMARK_EXAMPLES "/uchebnaya.sprj")};
    for (int i = 0; i < 100000; ++i)
        recent.append(QStringLiteral("/caves/%1.sprj").arg(i));
    QSettings().setValue(QStringLiteral("recentProjects"), recent);
    auto *menu = f->window().findChild<QMenu *>(QString(), Qt::FindChildrenRecursively);
    for (QMenu *m : f->window().findChildren<QMenu *>())
        if (m->title() == QStringLiteral("Недавние проекты"))
            menu = m;
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 8);
    QVERIFY(!menu->actions()[0]->isEnabled());
    QVERIFY(menu->actions()[1]->isEnabled());
    QCOMPARE(QSettings().value(QStringLiteral("recentProjects")).toStringList().size(), 8);
    f->window().guard([&] { f->window().openProject(pipe); });
    QVERIFY(f->dialogs().messages().last().contains(QStringLiteral("pipe.sprj")));
    f->window().openImageFile(ViewSide::Plan, pipe); // dropped as a scan: refused, not waited on
    f->waitForImages();
    QVERIFY(f->dialogs().messages().last().contains(QStringLiteral("pipe.sprj")));
    QSettings().remove(QStringLiteral("recentProjects"));
}

QTEST_MAIN(DesktopHabits)
#include "test_desktop_habits.moc"
