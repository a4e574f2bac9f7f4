// The main window: accessible names, the pane layout and the splitter, Close Project, the help
// window, the command guard and the entry boxes' code page.
#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "app/HelpGuide.h"
#include "widgets/UpDown.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <cstddef>
#include <memory>
#include <stdexcept>

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { f = std::make_unique<WindowFixture>(); }
    void cleanup() { f.reset(); }

    void everyVisibleControlHasAnAccessibleName();
    void profileSideControlsFollowTheRightEdge();
    void panesSplitTheWidthByTheirFractions_data();
    void panesSplitTheWidthByTheirFractions();
    void draggedSplitterSetsFractionsKeptOnResize();
    void closeProjectClearsTheJobAndKeepsSettings_data();
    void closeProjectClearsTheJobAndKeepsSettings();
    void closeAllAndDisabledControlsDoNothing();
    void helpButtonShowsOneHelpWindow();
    void helpGuideHasItsNineteenLines();
    void guardShowsTheErrorAndTheWindowGoesOn_data();
    void guardShowsTheErrorAndTheWindowGoesOn();
    void entryBoxesRefuseCharactersTheCodePageLacks_data();
    void entryBoxesRefuseCharactersTheCodePageLacks();

private:
    QWidget *widget(const char *name) { return f->control<QWidget>(name); }
    int paneWidth(const char *name) { return widget(name)->width(); }

    std::unique_ptr<WindowFixture> f;
};

static QString accessibleName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name).trimmed() : QString();
}

void MainWindowTest::everyVisibleControlHasAnAccessibleName()
{
    // What a screen reader announces: a set name, or else the caption Qt reads from the control.
    // Controls are what the user operates: what takes focus, the up-downs, panes and splitter.
    int controls = 0;
    QStringList unnamed;
    QHash<QString, QStringList> named; // each name once: a plan control says so, and a profile one
    for (QWidget *w : f->window().findChildren<QWidget *>()) {
        const bool operated = w->focusPolicy() != Qt::NoFocus || qobject_cast<UpDown *>(w)
            || qobject_cast<ImagePane *>(w) || w->objectName() == QLatin1String("Splitter1");
        if (!operated || !w->isVisibleTo(&f->window()) || qobject_cast<QScrollBar *>(w))
            continue;
        ++controls;
        if (accessibleName(w).isEmpty())
            unnamed.append(QStringLiteral("%1 (%2)").arg(w->objectName(), w->metaObject()->className()));
        else
            named[accessibleName(w)].append(w->objectName());
    }
    QVERIFY(controls > 40);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QStringList twice;
    for (auto it = named.cbegin(); it != named.cend(); ++it)
        if (it.value().size() > 1)
            twice.append(it.key() + QStringLiteral(": ") + it.value().join(QLatin1Char(' ')));
    QVERIFY2(twice.isEmpty(), qPrintable(twice.join(QStringLiteral("; "))));
}

void MainWindowTest::profileSideControlsFollowTheRightEdge()
{
    f->window().resize(981, f->window().height());
    QWidget *strip = widget("Panel1");
    const auto stripX = [&](const char *name) { return widget(name)->mapTo(strip, QPoint(0, 0)).x(); };
    QCOMPARE(stripX("OpenRightBtn"), 948);
    QCOMPARE(stripX("RightMinus"), 583);
    QCOMPARE(stripX("LeftPlus"), 376);
}

void MainWindowTest::panesSplitTheWidthByTheirFractions_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<float>("planFraction");
    QTest::addColumn<float>("profileFraction");
    QTest::addColumn<int>("planWidth");
    QTest::addColumn<int>("profileWidth");
    // (881 - 20) x 0.5 = 430.5, truncated; the profile pane takes what the plan and splitter leave.
    QTest::newRow("halves") << 881 << 0.5f << 0.5f << 430 << 431;
    QTest::newRow("dragged, then wider") << 1201 << 300.0f / 861.0f << 561.0f / 861.0f << 411 << 1181 - 411;
    QTest::newRow("plan shut") << 881 << 0.0f << 1.0f << 0 << 861;
}

void MainWindowTest::panesSplitTheWidthByTheirFractions()
{
    QFETCH(int, width);
    QFETCH(float, planFraction);
    QFETCH(float, profileFraction);
    QFETCH(int, planWidth);
    QFETCH(int, profileWidth);
    f->document().setPaneFractions(planFraction, profileFraction);
    f->window().resize(width + 1, f->window().height()); // the fractions apply on a resize
    f->window().resize(width, f->window().height());
    QCOMPARE(f->window().width(), width);
    QCOMPARE(paneWidth("ScrollBox1"), planWidth);
    QCOMPARE(paneWidth("ScrollBox2"), profileWidth);
}

void MainWindowTest::draggedSplitterSetsFractionsKeptOnResize()
{
    f->window().resize(881, f->window().height());
    QWidget *splitter = widget("Splitter1");
    const QPoint grip(4, splitter->height() / 2);
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(splitter, grip - QPoint(130, 0));
    // The bar has followed the cursor, so the release happens over its grip again.
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QCOMPARE(paneWidth("ScrollBox1"), 300);
    QCOMPARE(paneWidth("ScrollBox2"), 561);
    QCOMPARE(f->document().view(ViewSide::Plan).paneFraction, 300.0f / 861.0f);
    QCOMPARE(f->document().view(ViewSide::Profile).paneFraction, 561.0f / 861.0f);

    f->window().resize(1201, f->window().height());
    QCOMPARE(paneWidth("ScrollBox1"), 411); // 1181 x 300/861, truncated
    QCOMPARE(paneWidth("ScrollBox2"), 1181 - 411);

    // Dragging never closes a pane.
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QTest::mouseMove(splitter, grip - QPoint(2000, 0));
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, grip);
    QCOMPARE(paneWidth("ScrollBox1"), 30);
}

void MainWindowTest::closeProjectClearsTheJobAndKeepsSettings_data()
{
    QTest::addColumn<int>("stations");
    QTest::addColumn<bool>("moving");
    QTest::newRow("adding") << 5 << false;
    QTest::newRow("moving") << 5 << true;
    // A project may fill the whole table, leaving no pending entry to clear.
    QTest::newRow("full table") << StationTable::TableSize << false;
}

void MainWindowTest::closeProjectClearsTheJobAndKeepsSettings()
{
    QFETCH(int, stations);
    QFETCH(bool, moving);
    SurveyDocument &document = f->document();
    EditSession &session = f->session();
    f->fillStations(stations);
    document.editStations([](StationTable &table) {
        if (table.hasPending())
            table.pending().planX = 3.0f;
        table.at(1).branchEnd = true;
    });
    QImage scan(100, 80, QImage::Format_RGB32);
    scan.fill(Qt::white);
    document.editView(ViewSide::Plan, [&](ViewSettings &view) {
        view.image = scan;
        view.imagePath = QStringLiteral("/caves/plan.png");
        view.zoom = 4.0;
        view.calibration.metresPerPixel = 0.2;
        view.calibration.gridPixels = 40.0;
        view.gridShiftUp = -5;
    });
    document.editView(ViewSide::Profile, [](ViewSettings &view) {
        view.imagePath = QStringLiteral("/caves/profile.png");
        view.zoom = 0.25;
        view.calibration.metresPerPixel = 0.1;
        view.gridShiftRight = 12;
    });
    session.setDataFileName(QStringLiteral("/caves/cave"));
    f->window().releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier, QPoint(8, 8));
    f->window().releaseOnPane(ViewSide::Profile, Qt::RightButton, Qt::NoModifier, QPoint(8, 8));
    if (moving)
        f->click("RadioButton2");
    QCOMPARE(session.moving(), moving);
    f->control<QLineEdit>("Edit6")->setText(QStringLiteral("B9"));
    f->window().moveOnPane(ViewSide::Plan, Qt::NoButton, QPoint(120, 45));
    QCOMPARE(f->window().positionText(ViewSide::Plan), QStringLiteral("(30 ; 11)  6.00 ; 2.25 м"));
    QCOMPARE(f->textWindow().windowTitle(), QStringLiteral("/caves/cave - просмотр"));
    QCOMPARE(widget("ImageLeft")->size(), QSize(400, 320));

    f->dialogs().answerQuestion(Answer::No); // the edits are given up
    f->click("ButtonCloseProject");

    const StationTable &table = document.stations();
    QCOMPARE(table.count(), 0);
    QVERIFY(table.hasPending());
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&table.pending()), int(offsetof(Station, branchEnd)) + 1),
             QByteArray(int(offsetof(Station, branchEnd)) + 1, '\0'));
    QVERIFY(!document.modified());
    QVERIFY(session.dataFileName().isEmpty());
    QCOMPARE(f->textWindow().windowTitle(), QStringLiteral("Файл данных - просмотр"));
    QCOMPARE(f->window().positionText(ViewSide::Plan), QStringLiteral(" "));
    QCOMPARE(f->window().positionText(ViewSide::Profile), QStringLiteral(" "));
    QCOMPARE(document.view(ViewSide::Plan).zoom, 1.0);
    QCOMPARE(document.view(ViewSide::Profile).zoom, 1.0);
    for (const char *name : {"GridL1", "GridL2", "GridR1", "GridR2"})
        QCOMPARE(f->control<UpDown>(name)->position(), 0);
    QCOMPARE(document.view(ViewSide::Plan).gridShiftUp, 0);
    QCOMPARE(document.view(ViewSide::Profile).gridShiftRight, 0);
    QVERIFY(!session.moving());
    QVERIFY(f->control<QRadioButton>("RadioButton1")->isChecked());
    QVERIFY(!f->control<QRadioButton>("RadioButton2")->isEnabled());
    QCOMPARE(f->control<QGroupBox>("GroupBox2")->title(), QStringLiteral("Добавление пикета"));
    QCOMPARE(f->control<QPushButton>("ButtonAdd")->text(), QStringLiteral("Внести"));
    QVERIFY(widget("Button11")->isHidden() && widget("Button12")->isHidden());
    // The drawing stays in view, at zoom 1.
    QCOMPARE(widget("ImageLeft")->size(), QSize(100, 80));
    // The cleared pending point is no longer placed, so no single click can add it.
    QVERIFY(!session.pointPlaced(ViewSide::Plan) && !session.pointPlaced(ViewSide::Profile));
    QVERIFY(!f->control<QPushButton>("ButtonAdd")->isEnabled());
    // What Close Project keeps.
    QCOMPARE(document.view(ViewSide::Plan).calibration.metresPerPixel, 0.2);
    QCOMPARE(document.view(ViewSide::Profile).calibration.metresPerPixel, 0.1);
    QCOMPARE(document.view(ViewSide::Plan).calibration.gridPixels, 40.0);
    QCOMPARE(document.view(ViewSide::Plan).imagePath, QStringLiteral("/caves/plan.png"));
    QCOMPARE(document.view(ViewSide::Profile).imagePath, QStringLiteral("/caves/profile.png"));
    QCOMPARE(document.view(ViewSide::Plan).image.size(), QSize(100, 80));
    QCOMPARE(f->control<QLineEdit>("Edit6")->text(), QStringLiteral("B9"));
    QCOMPARE(session.labelEntry(), QStringLiteral("B9"));
    QCOMPARE(document.profileKind(), ProfileKind::Extended);
}

void MainWindowTest::closeAllAndDisabledControlsDoNothing()
{
    f->fillStations(2);
    f->document().setModified(true);
    f->click("Button6");       // 3D view
    QVERIFY(f->dialogs().shown.isEmpty());
    // "Close All" closes the job as Close Project does, asking first.
    f->control<QAction>("CloseAll1")->trigger();
    QCOMPARE(f->dialogs().shown.size(), 1);
    QCOMPARE(f->document().stations().count(), 2); // the question was cancelled
    f->dialogs().answerQuestion(Answer::No);
    f->control<QAction>("CloseAll1")->trigger();
    QCOMPARE(f->document().stations().count(), 0);
    // ... and the windows that showed it go with it.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(w == &f->window() || !w->isVisible(), w->metaObject()->className());
}

void MainWindowTest::helpButtonShowsOneHelpWindow()
{
    f->click("BitBtn1");
    f->click("BitBtn1");
    int helpWindows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<HelpWindow *>(w) && w->isVisible();
    QCOMPARE(helpWindows, 1);
    HelpWindow &help = f->helpWindow();
    QVERIFY(!help.isModal());
    help.guideBox->appendPlainText(QStringLiteral("note"));
    help.close();
    QVERIFY(!help.isVisible());
    QVERIFY(f->window().isVisible());
    f->click("BitBtn1");
    QVERIFY(help.isVisible());
    QVERIFY(help.guideBox->toPlainText().endsWith(QStringLiteral("note")));
}

void MainWindowTest::helpGuideHasItsNineteenLines()
{
    QVERIFY(AnsiText::canEncode(HelpGuide::text()));
    const QStringList lines = AnsiText::decode(HelpGuide::text1251()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 19);
    const QList<int> separators{1, 6, 8, 12, 15, 17};
    for (int i = 0; i < lines.size(); ++i) {
        QVERIFY2(lines[i].startsWith(QChar(' ')), qPrintable(QString::number(i)));
        QCOMPARE(lines[i] == QStringLiteral(" "), separators.contains(i));
    }
    QVERIFY(lines[18].contains(QStringLiteral("*.sprj")));
    QVERIFY(lines[11].contains(QStringLiteral("999")));
    // The help window shows exactly that text, one line per line.
    QCOMPARE(f->helpWindow().guideBox->toPlainText().split(QChar('\n')), lines);
}

void MainWindowTest::guardShowsTheErrorAndTheWindowGoesOn_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("command error") << 0 << "'abc' is not a valid floating point value";
    QTest::newRow("out of memory") << 1 << "Не хватает памяти";
    QTest::newRow("other exception") << 2 << "disk on fire";
}

void MainWindowTest::guardShowsTheErrorAndTheWindowGoesOn()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    f->window().guard([&] {
        if (kind == 0)
            throw CommandError(message);
        if (kind == 1)
            throw std::bad_alloc();
        throw std::runtime_error(message.toStdString());
    });
    QCOMPARE(f->dialogs().shown.size(), 1);
    QCOMPARE(f->dialogs().shown[0].caption, QStringLiteral("Speomark"));
    QCOMPARE(f->dialogs().shown[0].text, message);
    QCOMPARE(f->dialogs().shown[0].icon, MessageIcon::Error);
    // The window still takes commands.
    f->click("BitBtn1");
    QVERIFY(f->helpWindow().isVisible());
}

// Types text as a keyboard would, one character per key press (any alphabet).
static void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

void MainWindowTest::entryBoxesRefuseCharactersTheCodePageLacks_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("label, Cyrillic then Chinese") << "Edit6" << "Зал1洞" << "Зал1";
    QTest::newRow("comment, yo kept") << "Edit7" << "ё洞Ё" << "ёЁ";
    QTest::newRow("label, 20 characters at most") << "Edit6" << QString(30, QChar('x')) << QString(20, QChar('x'));
    QTest::newRow("comment, 256 at most") << "Edit7" << QString(300, QChar(u'ж')) << QString(256, QChar(u'ж'));
}

void MainWindowTest::entryBoxesRefuseCharactersTheCodePageLacks()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    auto *edit = f->control<QLineEdit>(box.toLatin1().constData());
    edit->setFocus();
    typeText(edit, typed);
    QCOMPARE(edit->text(), shown);
    // What Add will store is what the box shows.
    QCOMPARE(box == QLatin1String("Edit6") ? f->session().labelEntry() : f->session().commentEntry(), shown);
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
