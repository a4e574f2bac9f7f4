// The station box, the mode radios and right clicks on the panes, with real clicks and typing:
// the wiring to the station editor, whose rules test_station_editor pins.
#include "stations/ui/StationsList.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDockWidget>
#include <QTableWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolTip>

class StationEditing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void addingWithTheMouseAndTheKeyboard();
    void moveModeWithTheRadiosAndArrows();
    void clickingTheCheckedModeAgainKeepsTheTypedTexts();
    void profileKindRadiosSetTheKindAndRedraw();
    void refusedAddsSaySo_data();
    void refusedAddsSaySo();
    void pickDragNudgeDeleteAndUndoWithTheMouseAndKeys();
    void theStationsListPicksWhatItHighlights();
    void pastedControlCharactersAreRefused();

private:
    void rightClick(const char *pane, QPoint at) { QTest::mouseClick(f->control<ImagePane>(pane), Qt::RightButton, {}, at); }
    QLineEdit *labelBox() { return f->control<QLineEdit>("Edit6"); }
    QCheckBox *newBranch() { return f->control<QCheckBox>("CheckBox5"); }
    bool enabled(const char *name) { return f->control<QWidget>(name)->isEnabled(); }

    std::unique_ptr<WindowFixture> f;
};

void StationEditing::init()
{
    f = std::make_unique<WindowFixture>();
    // Scans to click on.
    QImage scan(300, 200, QImage::Format_RGB32);
    scan.fill(Qt::white);
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        f->document().editView(side, [&](ViewSettings &view) { view.image = scan; });
}

void StationEditing::cleanup()
{
    f.reset();
}

void StationEditing::addingWithTheMouseAndTheKeyboard()
{
    QVERIFY(!enabled("RadioButton2")); // nothing to move yet
    for (int i = 0; i < 3; ++i) {
        QTest::keyClicks(labelBox(), QStringLiteral("A%1").arg(i));
        QTest::keyClicks(f->control<QLineEdit>("Edit7"), QStringLiteral("note"));
        rightClick("ImageLeft", {30 + 10 * i, 40});
        QVERIFY(!enabled("ButtonAdd"));
        rightClick("ImageRight", {30 + 10 * i, 60});
        QVERIFY(enabled("ButtonAdd"));
        if (i == 2)
            f->click("CheckBox5"); // the third station starts a branch
        f->click("ButtonAdd");
        const Station &added = f->document().stations().at(i);
        QCOMPARE(added.label, QStringLiteral("A%1").arg(i));
        QCOMPARE(added.comment, QStringLiteral("note"));
        QCOMPARE(added.planX, float(30 + 10 * i));
        QCOMPARE(added.profileY, 60.0f);
        QCOMPARE(labelBox()->text(), QStringLiteral("A%1").arg(i + 1)); // proposed, selected to be typed over
        QCOMPARE(labelBox()->selectedText(), labelBox()->text());
        labelBox()->clear();
        QVERIFY(!enabled("ButtonAdd"));
        QVERIFY(!newBranch()->isChecked());
        QCOMPARE(newBranch()->isEnabled(), i == 1);
        QVERIFY(enabled("RadioButton2"));
    }
    QCOMPARE(f->document().stations().count(), 3);
    QVERIFY(f->document().stations().at(1).branchEnd);
}

void StationEditing::moveModeWithTheRadiosAndArrows()
{
    f->fillStations(3);
    labelBox()->setText(QStringLiteral("typed"));
    f->click("RadioButton2");
    QVERIFY(f->session().moving());
    QCOMPARE(labelBox()->text(), QStringLiteral("S2"));
    QVERIFY(f->control<QPushButton>("Button11")->isVisible());
    QVERIFY(enabled("ButtonAdd"));
    f->click("Button11");
    QCOMPARE(labelBox()->text(), QStringLiteral("S1"));
    f->click("Button12");
    f->click("Button11");
    // A right click moves the selected station; OK stores the texts.
    rightClick("ImageRight", {7, 9});
    QCOMPARE(f->document().stations().at(1).profileX, 7.0f);
    labelBox()->setText(QStringLiteral("B1"));
    f->click("ButtonAdd");
    QCOMPARE(f->document().stations().at(1).label, QStringLiteral("B1"));
    QVERIFY(f->document().modified());

    f->click("RadioButton1");
    QVERIFY(!f->session().moving());
    QCOMPARE(labelBox()->text(), QStringLiteral("typed"));
    QVERIFY(f->control<QPushButton>("Button11")->isHidden());
    QVERIFY(f->control<QPushButton>("Button12")->isHidden());
}

void StationEditing::clickingTheCheckedModeAgainKeepsTheTypedTexts()
{
    f->fillStations(2);
    f->click("RadioButton2");
    f->click("RadioButton1");
    labelBox()->setText(QStringLiteral("typing"));
    f->click("RadioButton1");
    QCOMPARE(labelBox()->text(), QStringLiteral("typing"));
    f->click("RadioButton2");
    labelBox()->setText(QStringLiteral("S1 edited"));
    f->click("RadioButton2");
    QCOMPARE(labelBox()->text(), QStringLiteral("S1 edited"));
}

void StationEditing::profileKindRadiosSetTheKindAndRedraw()
{
    // With a station, a profile point and scales, the plan shows the guide circle.
    f->fillStations(1);
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        f->document().editView(side, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.1; });
    f->session().setNewBranchChecked(false); // it starts ticked
    rightClick("ImageRight", {50, 5});
    auto *plan = f->control<ImagePane>("ImageLeft");
    QVERIFY(plan->snapshot().guide == ViewSnapshot::Guide::Circle);
    f->click("RadioButton5");
    QCOMPARE(f->document().profileKind(), ProfileKind::None);
    QVERIFY(plan->snapshot().guide == ViewSnapshot::Guide::None);
    QVERIFY(!enabled("ButtonAdd")); // the profile point does not complete it
    rightClick("ImageLeft", {3, 3});
    QVERIFY(enabled("ButtonAdd"));
    f->click("RadioButton3");
    QCOMPARE(f->document().profileKind(), ProfileKind::Extended);
    QVERIFY(plan->snapshot().guide == ViewSnapshot::Guide::Circle);
    QVERIFY(f->dialogs().shown.isEmpty());
}

void StationEditing::refusedAddsSaySo_data()
{
    QTest::addColumn<int>("stations");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    QTest::newRow("table full") << 999 << QString()
                                << "Слишком много пикетов. Чтобы продолжить, сохраните этот проект и откройте новый."
                                << int(MessageIcon::None);
    QTest::newRow("text the fields cannot hold")
        << 0 << "вход 洞" << "Символы «洞» нельзя сохранить в метке или примечании пикета."
        << int(MessageIcon::Error);
    QTest::newRow("a line end to Survex")
        << 0 << QString::fromLatin1("ok\x1a*units tape feet")
        << "Примечание пикета не может содержать перевод строки, табуляцию или другой управляющий символ."
        << int(MessageIcon::Error);
}

void StationEditing::refusedAddsSaySo()
{
    QFETCH(int, stations);
    QFETCH(QString, comment);
    QFETCH(QString, message);
    QFETCH(int, icon);
    f->fillStations(stations);
    f->control<QLineEdit>("Edit7")->setText(comment); // as pasted by a program: the box checks only typing
    rightClick("ImageLeft", {5, 5});
    rightClick("ImageRight", {5, 5});
    f->click("ButtonAdd");
    QCOMPARE(f->dialogs().messages(), QStringList{message});
    QCOMPARE(f->dialogs().shown[0].caption, QStringLiteral("Speomark"));
    QCOMPARE(int(f->dialogs().shown[0].icon), icon);
    QCOMPARE(f->document().stations().count(), stations);
    QVERIFY(enabled("ButtonAdd"));
    QVERIFY(!f->document().modified());
}

// Pasted into the label or comment box, or into a label in the stations list: the box keeps its
// text and a tip beside it says why.
void StationEditing::pastedControlCharactersAreRefused()
{
    f->fillStations(1);
    f->window().show();
    QGuiApplication::clipboard()->setText(QString::fromLatin1("A1\x1a*fix A1 1000 2000 3000"));
    auto *list = f->window().findChild<StationsList *>();
    list->parentWidget()->show(); // the dock, hidden by default (hidden again below, as remembered)
    list->editItem(list->item(0, 1));
    for (QLineEdit *box : {labelBox(), f->control<QLineEdit>("Edit7"), list->findChild<QLineEdit *>()}) {
        const QString before = box->text();
        box->paste();
        QCOMPARE(box->text(), before);
        QVERIFY2(QToolTip::text().contains(QStringLiteral(" пикета не может содержать перевод строки")), qPrintable(QToolTip::text()));
        QToolTip::hideText();
    }
    list->parentWidget()->hide();
}

void StationEditing::pickDragNudgeDeleteAndUndoWithTheMouseAndKeys()
{
    std::vector<Station> stations(3, Station{});
    for (int i = 0; i < 3; ++i) {
        stations[size_t(i)].planX = stations[size_t(i)].profileX = float(50 + 50 * i);
        stations[size_t(i)].planY = stations[size_t(i)].profileY = float(50 + 10 * i);
    }
    f->document().editStations([&](StationTable &table) { table.assign(stations); });
    f->document().editView(ViewSide::Plan, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.5; });
    f->click("RadioButton2");
    auto *plan = f->control<ImagePane>("ImageLeft");
    const Station &middle = f->document().stations().at(1);

    // A press within 6 pixels of a mark picks it; dragging moves it, held on the drawing.
    QTest::mousePress(plan, Qt::LeftButton, {}, QPoint(104, 64));
    QCOMPARE(f->session().selected(), 1);
    QTest::mouseMove(plan, QPoint(130, 90));
    QTest::mouseMove(plan, QPoint(400, 95));
    QTest::mouseRelease(plan, Qt::LeftButton, {}, QPoint(400, 95));
    QCOMPARE(QPointF(middle.planX, middle.planY), QPointF(299, 95));
    QCOMPARE(middle.planXMetres, 149.5f);
    QCOMPARE(f->document().stations().at(0).planX, 50.0f);
    QCOMPARE(f->history().count(), 1); // the drag is one step
    QCOMPARE(f->control<QScrollArea>("ScrollBox1")->horizontalScrollBar()->value(), 0); // and never pans

    // Arrow keys nudge it by a source pixel, ten with Shift; a text box keeps its arrows.
    f->control<QScrollArea>("ScrollBox1")->setFocus();
    QTest::keyClick(f->control<QScrollArea>("ScrollBox1"), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(f->control<QScrollArea>("ScrollBox1"), Qt::Key_Up);
    QCOMPARE(QPointF(middle.planX, middle.planY), QPointF(289, 94));
    QTest::keyClick(labelBox(), Qt::Key_Left);
    QCOMPARE(middle.planX, 289.0f);

    // Delete takes it out; Ctrl+Z brings back the station, then its place before the nudges,
    // then before the drag.
    QTest::keyClick(f->control<QScrollArea>("ScrollBox1"), Qt::Key_Delete);
    QCOMPARE(f->document().stations().count(), 2);
    for (const QPointF expected : {QPointF(289, 94), QPointF(299, 95), QPointF(100, 60)}) {
        QTest::keyClick(f->control<QScrollArea>("ScrollBox1"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->document().stations().count(), 3);
        QCOMPARE(QPointF(f->document().stations().at(1).planX, f->document().stations().at(1).planY), expected);
    }
    // A press away from the marks still pans.
    QTest::mousePress(plan, Qt::LeftButton, {}, QPoint(20, 150));
    QCOMPARE(f->session().selected(), 1);
}

// The arrow keys in the docked list pick the station they highlight, so Delete removes that one;
// and the list, shown, takes room of its own rather than covering any control.
void StationEditing::theStationsListPicksWhatItHighlights()
{
    f->fillStations(4);
    auto *dock = f->window().findChild<QDockWidget *>();
    dock->show();
    auto *list = dock->findChild<QTableWidget *>();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1, 0)).center());
    QCOMPARE(f->session().selected(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(f->session().selected(), 2);
    f->window().deleteStation();
    QCOMPARE(f->document().stations().count(), 3);
    QCOMPARE(f->document().stations().at(2).label, QStringLiteral("S3"));

    const QRect free = f->window().centralWidget()->rect();
    for (QWidget *control : f->window().centralWidget()->findChildren<QAbstractButton *>()) {
        if (!control->isVisible())
            continue;
        const QRect at(control->mapTo(f->window().centralWidget(), QPoint(0, 0)), control->size());
        QVERIFY2(free.contains(at), qPrintable(control->objectName()));
    }
}

QTEST_MAIN(StationEditing)
#include "test_station_editing.moc"
