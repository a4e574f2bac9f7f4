// The main window at start-up, its pane layout, Close Project, the help window and the command
// guard.
#include "app/AnsiText.h"
#include "app/CommandError.h"
#include "app/HelpGuide.h"
#include "app/SpeomarkWindows.h"
#include "app/TPanel.h"
#include "app/TRadioGroup.h"
#include "app/TUpDown.h"
#include "support/ScriptedDialogs.h"
#include "views/TImagePane.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <memory>

class MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controlsStartAsTheWindowShowsThem_data();
    void controlsStartAsTheWindowShowsThem();
    void surveyStateStartsWithItsDefaults();
    void fileMenuHoldsItsItemsInOrder();
    void profileSideControlsFollowTheRightEdge();
    void panesSplitTheWidthByTheirFractions();
    void draggedSplitterSetsFractionsKeptOnResize();
    void closeProjectClearsStationsAndKeepsSettings();
    void closeProjectWithAFullTableStaysInsideIt();
    void closeAllAndDisabledControlsDoNothing();
    void helpButtonShowsOneHelpWindow();
    void helpGuideHasItsNineteenLines();
    void guardShowsTheErrorAndTheWindowGoesOn();
    void entryBoxesRefuseCharactersTheCodePageLacks();

private:
    std::unique_ptr<SpeomarkWindows> m_windows;
    TSpeomarkForm *form = nullptr;
    ScriptedDialogs *dialogs = nullptr;
};

void MainWindow::init()
{
    m_windows = std::make_unique<SpeomarkWindows>();
    form = &m_windows->SpeomarkForm;
    dialogs = installScriptedDialogs(*form);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void MainWindow::cleanup()
{
    m_windows.reset();
    form = nullptr;
}

void MainWindow::controlsStartAsTheWindowShowsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    auto row = [](const char *name, const char *kind, const QString &caption, QPoint pos, bool enabled = true,
                  bool visible = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << caption << pos << enabled
                            << visible;
    };
    // Upper strip.
    row("OpenLeftBtn", "QToolButton", "", {8, 8});
    row("CheckBoxLeftSetka", "QCheckBox", "Сетка через", {40, 16});
    row("EditLeftSetka", "QLineEdit", "10", {128, 8});
    row("Label1", "QLabel", "м", {160, 16});
    row("EditLeftPixels", "QLineEdit", "50", {176, 8});
    row("Label2", "QLabel", "pixels", {208, 16});
    row("Button1", "QPushButton", "OK", {240, 8});
    row("GridL2", "TUpDown", "", {296, 8});
    row("GridL1", "TUpDown", "", {328, 0});
    row("LeftMinus", "QToolButton", "", {352, 8});
    row("LeftPlus", "QToolButton", "", {376, 8});
    row("RightMinus", "QToolButton", "", {483, 8});
    row("RightPlus", "QToolButton", "", {507, 8});
    row("GridR1", "TUpDown", "", {536, 0});
    row("GridR2", "TUpDown", "", {552, 8});
    row("CheckBoxRightSetka", "QCheckBox", "Сетка через", {595, 16});
    row("EditRightSetka", "QLineEdit", "10", {683, 8});
    row("Label4", "QLabel", "м", {715, 16});
    row("EditRightPixels", "QLineEdit", "50", {731, 8});
    row("Label5", "QLabel", "pixels", {763, 16});
    row("Button2", "QPushButton", "OK", {795, 8});
    row("OpenRightBtn", "QToolButton", "", {848, 8});
    // Lower panel.
    row("LeftBox", "QGroupBox", "Plan", {5, 2});
    row("Label3", "QLabel", "Orientation", {8, 16});
    row("EditPlanOrientationAngle", "QLineEdit", "0", {64, 8});
    row("GroupBox4", "QGroupBox", "Profile", {5, 47});
    row("RadioButton3", "QRadioButton", "Extended", {8, 16});
    row("RadioButton4", "QRadioButton", "Projective", {8, 32}, false);
    row("RadioButton5", "QRadioButton", "None", {8, 48});
    row("GroupBox2", "QGroupBox", "New Station", {122, 7});
    row("Label6", "QLabel", "Label/Number", {8, 24});
    row("Edit6", "QLineEdit", "", {80, 16});
    row("Label7", "QLabel", "Comment", {8, 48});
    row("Edit7", "QLineEdit", "", {56, 40});
    row("ButtonAdd", "QPushButton", "Add", {272, 16}, false);
    row("CheckBox5", "QCheckBox", "New branch", {8, 64}, false);
    row("Button11", "QPushButton", "<", {136, 64}, true, false);
    row("Button12", "QPushButton", ">", {176, 64}, true, false);
    row("Button4", "QPushButton", "Save left BMP", {120, 105});
    row("Button8", "QPushButton", "Save right BMP", {224, 105});
    row("Panel3", "TPanel", "", {321, 107});
    row("BitBtn1", "QPushButton", "", {2, 0});
    row("ButtonSaveProjectAs", "QPushButton", "Save Project As", {367, 94});
    row("ButtonCloseProject", "QPushButton", "Close Project", {368, 122});
    row("GroupBox3", "QGroupBox", "Mode", {472, 7});
    row("RadioButton1", "QRadioButton", "Add new", {8, 16});
    row("RadioButton2", "QRadioButton", "Move", {8, 32}, false);
    row("CheckBoxShowLabels", "QCheckBox", "Show Labels", {472, 65});
    row("CheckBoxShowLines", "QCheckBox", "Show Lines", {472, 82});
    row("Button6", "QPushButton", "3D view", {472, 105}, false);
    row("GroupBox5", "QGroupBox", "Text data file", {562, 8});
    row("DataFormat", "TRadioGroup", "Format", {4, 16});
    row("DataStyle", "TRadioGroup", "Style", {104, 16});
    row("Button5", "QPushButton", "View", {8, 88});
    row("Button7", "QPushButton", "Save", {72, 88});
    row("Button10", "QPushButton", "Save as", {136, 88});
}

static QString captionOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    return QString();
}

void MainWindow::controlsStartAsTheWindowShowsThem()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QPoint, position);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    QWidget *control = form->findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), kind);
    QCOMPARE(captionOf(control), caption);
    QCOMPARE(control->pos(), position);
    QCOMPARE(control->isEnabled(), enabled);
    QCOMPARE(control->isVisibleTo(form), visible);
}

void MainWindow::surveyStateStartsWithItsDefaults()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("Speomark"));
    QCOMPARE(form->StationCount, 0);
    QCOMPARE(form->MoveMode, std::uint8_t(0));
    QCOMPARE(form->ProfileExtended, std::uint8_t(1));
    QCOMPARE(form->PlanZoom, 1.0);
    QCOMPARE(form->ProfileZoom, 1.0);
    QCOMPARE(form->MaxZoom, 4.0);
    QCOMPARE(form->MinZoom, 0.0625);
    QCOMPARE(form->PlanGridPixels, 50.0);
    QCOMPARE(form->ProfileGridPixels, 50.0);
    QCOMPARE(form->PlanMetresPerPixel, 0.0);
    QCOMPARE(form->ProfileMetresPerPixel, 0.0);
    QCOMPARE(form->PlanPaneFraction, 0.5f);
    QCOMPARE(form->Modified, std::uint8_t(0));
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(0));
    QVERIFY(form->DataFileName.isEmpty());
    QVERIFY(form->PlanImageFileName.isEmpty());
    const QByteArray zeros(int(sizeof(Station) * StationTableSize), '\0');
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(form->Stations.data()), zeros.size()), zeros);
    QCOMPARE(form->ImageLeft->size(), QSize(0, 0));
    QCOMPARE(form->ImageRight->size(), QSize(0, 0));
    QCOMPARE(form->DataFormat->itemIndex(), 1);
    QCOMPARE(form->DataStyle->itemIndex(), 0);
    QVERIFY(form->CheckBox5->isChecked());
    QVERIFY(form->CheckBoxShowLabels->isChecked() && form->CheckBoxShowLines->isChecked());
    QVERIFY(form->CheckBoxLeftSetka->isChecked() && form->CheckBoxRightSetka->isChecked());
    QVERIFY(form->RadioButton3->isChecked() && form->RadioButton1->isChecked());
    QVERIFY(form->Panel2->isEnabled());
    QCOMPARE(form->Edit6->maxLength(), 20);
    QCOMPARE(form->Edit7->maxLength(), 256);
    for (TUpDown *spinner : {form->GridL1, form->GridL2, form->GridR1, form->GridR2}) {
        QCOMPARE(spinner->position(), 0);
        QCOMPARE(spinner->minimum(), -500);
        QCOMPARE(spinner->maximum(), 500);
        QCOMPARE(spinner->toolTip(), QStringLiteral("сдвиг сетки"));
    }
    QCOMPARE(form->Button11->toolTip(), QStringLiteral("Previous station"));
    QCOMPARE(form->Button12->toolTip(), QStringLiteral("Next station"));
    // The secondary windows exist but stay hidden until asked for.
    QVERIFY(!m_windows->TextForm.isVisible());
    QVERIFY(!m_windows->DHelpForm.isVisible());
    QCOMPARE(m_windows->TextForm.windowTitle(), QStringLiteral("Text data file - view"));
    QCOMPARE(m_windows->TextForm.lines(), QStringList{QString()});
    QCOMPARE(m_windows->DHelpForm.windowTitle(), QStringLiteral("Speomark - Help"));
}

void MainWindow::fileMenuHoldsItsItemsInOrder()
{
    QCOMPARE(form->File->title(), QStringLiteral("&File"));
    QStringList items;
    for (QAction *action : form->File->actions())
        items.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(items, (QStringList{"Open Plan (Left Image)", "Open Profile (Right Image)", "-",
                                 "Open Existing Project", "Save Project As", "-", "Close All"}));
}

void MainWindow::profileSideControlsFollowTheRightEdge()
{
    form->resize(981, form->height());
    QCOMPARE(form->OpenRightBtn->x(), 948);
    QCOMPARE(form->RightMinus->x(), 583);
    QCOMPARE(form->LeftPlus->x(), 376);
}

void MainWindow::panesSplitTheWidthByTheirFractions()
{
    form->resize(881, form->height());
    QCOMPARE(form->width(), 881);
    QCOMPARE(form->ScrollBox1->width(), 430); // (881 - 20) x 0.5 = 430.5, truncated
    QCOMPARE(form->ScrollBox2->width(), 431);
}

void MainWindow::draggedSplitterSetsFractionsKeptOnResize()
{
    form->resize(881, form->height());
    QWidget *splitter = form->findChild<QWidget *>(QStringLiteral("Splitter1"));
    const QPoint grip(4, splitter->height() / 2);
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(splitter, grip - QPoint(130, 0));
    // The bar has followed the cursor, so the release happens over its grip again.
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QCOMPARE(form->ScrollBox1->width(), 300);
    QCOMPARE(form->ScrollBox2->width(), 561);
    QCOMPARE(form->PlanPaneFraction, 300.0f / 861.0f);
    QCOMPARE(form->ProfilePaneFraction, 561.0f / 861.0f);

    form->resize(1201, form->height());
    QCOMPARE(form->ScrollBox1->width(), int(1181.0 * double(300.0f / 861.0f)));
    QCOMPARE(form->ScrollBox1->width(), 411);
    QCOMPARE(form->ScrollBox2->width(), 1181 - 411);

    // Dragging never closes a pane.
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(splitter, grip - QPoint(2000, 0));
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QCOMPARE(form->ScrollBox1->width(), 30);
}

void MainWindow::closeProjectClearsStationsAndKeepsSettings()
{
    for (int i = 0; i <= 5; ++i) {
        Station &s = form->Stations[i];
        s.PlanX = s.PlanY = s.ProfileX = s.ProfileY = 10.0f + float(i);
        s.PlanXMetres = s.PlanYMetres = s.ProfileYMetres = 2.0f + float(i);
        setLabelText(s, QStringLiteral("A%1").arg(i));
        setCommentText(s, QStringLiteral("comment"));
        s.BranchEnd = i == 2;
    }
    form->StationCount = 5;
    form->PlanMetresPerPixel = 0.2;
    form->ProfileMetresPerPixel = 0.1;
    form->PlanGridPixels = 40.0;
    form->PlanImageFileName = QStringLiteral("/caves/plan.png");
    form->ProfileImageFileName = QStringLiteral("/caves/profile.png");
    form->PlanZoom = 4.0;
    form->ProfileZoom = 0.25;
    form->DataFileName = QStringLiteral("/caves/cave");
    form->PlanPointPlaced = 1;
    form->ProfilePointPlaced = 1;
    form->ButtonAdd->setEnabled(true);
    form->MoveMode = 1;
    form->RadioButton2->setEnabled(true);
    form->RadioButton2->setChecked(true);
    form->GroupBox2->setTitle(QStringLiteral("Move Station"));
    form->ButtonAdd->setText(QStringLiteral("OK"));
    form->Button11->show();
    form->Button12->show();
    form->GridL1->setPosition(-5);
    form->GridR2->setPosition(12);
    form->setStatusPanelText(1, QStringLiteral("(120 ; 45)"));
    form->Edit6->setText(QStringLiteral("B9"));
    form->ImageLeft->resize(100, 80);
    m_windows->TextForm.setWindowTitle(QStringLiteral("/caves/cave - view"));

    QTest::mouseClick(form->ButtonCloseProject, Qt::LeftButton);

    for (int i = 0; i <= 5; ++i) {
        const Station &s = form->Stations[i];
        QCOMPARE(s.PlanX, 0.0f);
        QCOMPARE(s.ProfileYMetres, 0.0f);
        QCOMPARE(s.Label[0], '\0');
        QCOMPARE(s.Comment[0], '\0');
        QCOMPARE(s.BranchEnd, std::uint8_t(0));
    }
    QCOMPARE(form->StationCount, 0);
    QCOMPARE(form->Modified, std::uint8_t(0));
    QVERIFY(form->DataFileName.isEmpty());
    QCOMPARE(m_windows->TextForm.windowTitle(), QStringLiteral("Text data file - view"));
    QCOMPARE(form->statusPanelText(1), QStringLiteral(" "));
    QCOMPARE(form->statusPanelText(2), QStringLiteral(" "));
    QCOMPARE(form->PlanZoom, 1.0);
    QCOMPARE(form->ProfileZoom, 1.0);
    QCOMPARE(form->MoveMode, std::uint8_t(0));
    QVERIFY(!form->RadioButton2->isEnabled() && !form->RadioButton2->isChecked());
    QVERIFY(form->RadioButton1->isChecked());
    QCOMPARE(form->GroupBox2->title(), QStringLiteral("Add Station"));
    QCOMPARE(form->ButtonAdd->text(), QStringLiteral("Add"));
    QVERIFY(form->Button11->isHidden() && form->Button12->isHidden());
    for (TUpDown *spinner : {form->GridL1, form->GridL2, form->GridR1, form->GridR2})
        QCOMPARE(spinner->position(), 0);
    QCOMPARE(form->ImageLeft->size(), QSize(0, 0));
    // The cleared pending point is no longer placed, so no single click can add it.
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(0));
    QCOMPARE(form->ProfilePointPlaced, std::uint8_t(0));
    QVERIFY(!form->ButtonAdd->isEnabled());
    // What the reset keeps.
    QCOMPARE(form->PlanMetresPerPixel, 0.2);
    QCOMPARE(form->ProfileMetresPerPixel, 0.1);
    QCOMPARE(form->PlanGridPixels, 40.0);
    QCOMPARE(form->PlanImageFileName, QStringLiteral("/caves/plan.png"));
    QCOMPARE(form->ProfileImageFileName, QStringLiteral("/caves/profile.png"));
    QCOMPARE(form->Edit6->text(), QStringLiteral("B9"));
    QCOMPARE(form->ProfileExtended, std::uint8_t(1));
}

void MainWindow::closeProjectWithAFullTableStaysInsideIt()
{
    form->StationCount = StationTableSize;
    for (Station &s : form->Stations)
        s.PlanX = 1.0f;
    form->ButtonCloseProjectClick();
    QCOMPARE(form->StationCount, 0);
    QCOMPARE(form->Stations[StationTableSize - 1].PlanX, 0.0f);
}

void MainWindow::closeAllAndDisabledControlsDoNothing()
{
    form->StationCount = 2;
    form->Stations[0].PlanX = 7.0f;
    form->CloseAll1->trigger();
    QCOMPARE(form->StationCount, 2);
    QCOMPARE(form->Stations[0].PlanX, 7.0f);
    QVERIFY(dialogs->shown.isEmpty());
    QVERIFY(!form->Button6->isEnabled());
    QVERIFY(!form->RadioButton4->isEnabled());
}

void MainWindow::helpButtonShowsOneHelpWindow()
{
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    int helpWindows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<TDHelpForm *>(w) && w->isVisible();
    QCOMPARE(helpWindows, 1);
    QVERIFY(!m_windows->DHelpForm.isModal());
    m_windows->DHelpForm.Memo1->appendPlainText(QStringLiteral("note"));
    m_windows->DHelpForm.close();
    QVERIFY(!m_windows->DHelpForm.isVisible());
    QVERIFY(form->isVisible());
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(m_windows->DHelpForm.isVisible());
    QVERIFY(m_windows->DHelpForm.Memo1->toPlainText().endsWith(QStringLiteral("note")));
}

void MainWindow::helpGuideHasItsNineteenLines()
{
    const QString guide = HelpGuide::text();
    QVERIFY(AnsiText::canEncode(guide));
    const QStringList lines = AnsiText::decode(HelpGuide::text1251()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 19);
    const QList<int> separators{1, 6, 8, 12, 15, 17};
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY2(lines[i].startsWith(QChar(' ')), qPrintable(QString::number(i)));
        QCOMPARE(lines[i] == QStringLiteral(" "), separators.contains(i));
    }
    QVERIFY(lines[16].contains(QStringLiteral("\"Lumaro\"")) && lines[16].contains(QStringLiteral("\"Survex\"")));
    QVERIFY(lines[18].contains(QStringLiteral("*.sprj")));
    QVERIFY(lines[11].contains(QStringLiteral("1000")));
    const QList<QPair<int, QString>> names{{5, "\"Plan orientation\""}, {5, "\"Extended\""}, {5, "\"None\""},
                                           {10, "\"Add\""}, {10, "\"New branch\""}, {13, "\"Move\""},
                                           {16, "\"Angle\""}, {16, "\"DepthChange\""}, {16, "\"View\""}};
    for (const auto &[line, name] : names)
        QVERIFY2(lines[line].contains(name), qPrintable(name));
    // The help window shows exactly that text, one line per line.
    QCOMPARE(m_windows->DHelpForm.Memo1->toPlainText().split(QChar('\n')), lines);
}

void MainWindow::guardShowsTheErrorAndTheWindowGoesOn()
{
    bool after = false;
    form->guard([&] {
        throw CommandError(QStringLiteral("'abc' is not a valid floating point value"));
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(dialogs->shown.size(), 1);
    QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Speomark"));
    QCOMPARE(dialogs->shown[0].text, QStringLiteral("'abc' is not a valid floating point value"));
    QCOMPARE(dialogs->shown[0].icon, MessageIcon::Error);
    form->guard([] { throw std::bad_alloc(); });
    QCOMPARE(dialogs->messages().last(), QStringLiteral("Out of memory"));
    // The window still takes commands.
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(m_windows->DHelpForm.isVisible());
}

// Types text as a keyboard would, one character per key press (any alphabet).
static void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

void MainWindow::entryBoxesRefuseCharactersTheCodePageLacks()
{
    form->Edit6->setFocus();
    typeText(form->Edit6, QStringLiteral("Зал1"));
    typeText(form->Edit6, QStringLiteral("洞"));
    QCOMPARE(form->Edit6->text(), QStringLiteral("Зал1"));
    typeText(form->Edit7, QStringLiteral("ё洞Ё"));
    QCOMPARE(form->Edit7->text(), QStringLiteral("ёЁ"));
    typeText(form->Edit6, QString(30, QChar('x')));
    QCOMPARE(form->Edit6->text().size(), 20);
}

QTEST_MAIN(MainWindow)
#include "test_main_window.moc"
