// Placing stations, Add with its branch and limit rules, and Move mode, driven through the window.
#include "app/SpeomarkWindows.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

class StationEditing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void placingStoresSourcePixelsAndMetres_data();
    void placingStoresSourcePixelsAndMetres();
    void addIsEnabledOnceThePendingStationIsComplete_data();
    void addIsEnabledOnceThePendingStationIsComplete();
    void addAppendsStationsAndRunsTheBranchRules();
    void aStationPlacedBeforeTheScaleKeepsZeroMetres();
    void addRefusesAt999Stations();
    void aFullTableHasNoPendingStation();
    void textsThatTheFieldsCannotHoldAreRefused();
    void fullWidthTextsDoNotSpill();
    void moveModeStepsThroughStations();
    void unconfirmedEditsAreLostAndOkKeepsThem();
    void movingAPointDoesNotSetModified();
    void returningToAddMode_data();
    void returningToAddMode();
    void moveWithAnEmptyTableDoesNothing();
    void clickingTheCheckedModeAgainKeepsTheTypedTexts();
    void profileModeButtonsOnlySetTheFlag();

private:
    void addStation(const QString &label, float x, float y, bool newBranch = false);
    void fillStations(int count);
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::unique_ptr<SpeomarkWindows> m_windows;
    TSpeomarkForm *form = nullptr;
    ScriptedDialogs *dialogs = nullptr;
};

void StationEditing::init()
{
    m_windows = std::make_unique<SpeomarkWindows>();
    form = &m_windows->SpeomarkForm;
    dialogs = installScriptedDialogs(*form);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void StationEditing::cleanup()
{
    m_windows.reset();
}

void StationEditing::addStation(const QString &label, float x, float y, bool newBranch)
{
    form->Edit6->setText(label);
    form->PlacePlanPoint(int(x), int(y));
    form->PlaceProfilePoint(int(x), int(y));
    if (newBranch) {
        form->CheckBox5->setChecked(true);
    }
    click(form->ButtonAdd);
}

void StationEditing::fillStations(int count)
{
    for (int i = 0; i < count; ++i) {
        Station &s = form->Stations[i];
        s.PlanX = s.ProfileX = float(10 * i);
        s.PlanY = s.ProfileY = 5.0f;
        setLabelText(s, QStringLiteral("S%1").arg(i));
        setCommentText(s, QStringLiteral("c%1").arg(i));
    }
    form->StationCount = count;
    if (count > 0)
        form->RadioButton2->setEnabled(true);
}

void StationEditing::placingStoresSourcePixelsAndMetres_data()
{
    QTest::addColumn<double>("zoom");
    QTest::addColumn<double>("metresPerPixel");
    QTest::addColumn<QPoint>("mouse");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("xMetres");
    QTest::addColumn<float>("yMetres");
    QTest::newRow("zoom 2") << 2.0 << 0.2 << QPoint(101, 50) << 50.5f << 25.0f << 10.1f << 5.0f;
    QTest::newRow("zoom 1") << 1.0 << 0.2 << QPoint(7, 3) << 7.0f << 3.0f << 1.4f << 0.6f;
    QTest::newRow("zoom 1/32") << 0.03125 << 0.1 << QPoint(3, 1) << 96.0f << 32.0f << 9.6f << 3.2f;
    QTest::newRow("zoom 8, no scale yet") << 8.0 << 0.0 << QPoint(13, 9) << 1.625f << 1.125f << 0.0f << 0.0f;
    QTest::newRow("zoom 4, third") << 4.0 << 1.0 / 3.0 << QPoint(1, 2) << 0.25f << 0.5f << float(1.0L / 12.0L)
                                   << float(1.0L / 6.0L);
}

void StationEditing::placingStoresSourcePixelsAndMetres()
{
    QFETCH(double, zoom);
    QFETCH(double, metresPerPixel);
    QFETCH(QPoint, mouse);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, xMetres);
    QFETCH(float, yMetres);
    form->PlanZoom = form->ProfileZoom = zoom;
    form->PlanMetresPerPixel = form->ProfileMetresPerPixel = metresPerPixel;
    form->PlacePlanPoint(mouse.x(), mouse.y());
    form->PlaceProfilePoint(mouse.x(), mouse.y());
    const Station &q = form->Stations[0];
    QCOMPARE(q.PlanX, x);
    QCOMPARE(q.PlanY, y);
    QCOMPARE(q.PlanXMetres, xMetres);
    QCOMPARE(q.PlanYMetres, yMetres);
    QCOMPARE(q.ProfileX, x);
    QCOMPARE(q.ProfileY, y);
    QCOMPARE(q.ProfileYMetres, yMetres);
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(1));
    QCOMPARE(form->ProfilePointPlaced, std::uint8_t(1));
    QCOMPARE(form->StationCount, 0);
}

void StationEditing::addIsEnabledOnceThePendingStationIsComplete_data()
{
    // Steps: P = plan click, R = profile click, N = choose "None", E = choose "Extended".
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("enabledAfterEachStep");
    QTest::newRow("plan then profile") << "PR" << "01";
    QTest::newRow("profile then plan") << "RP" << "01";
    QTest::newRow("plan again and again") << "PPR" << "001";
    QTest::newRow("none: plan alone") << "NP" << "01";
    QTest::newRow("none after the plan point") << "PNP" << "001";
    QTest::newRow("none: profile alone") << "NR" << "00";
    QTest::newRow("extended again keeps it") << "NPE" << "011";
}

void StationEditing::addIsEnabledOnceThePendingStationIsComplete()
{
    QFETCH(QString, steps);
    QFETCH(QString, enabledAfterEachStep);
    QString seen;
    for (const QChar step : steps) {
        switch (step.unicode()) {
        case 'P':
            form->PlacePlanPoint(10, 10);
            break;
        case 'R':
            form->PlaceProfilePoint(10, 10);
            break;
        case 'N':
            click(form->RadioButton5);
            break;
        case 'E':
            click(form->RadioButton3);
            break;
        }
        seen += form->ButtonAdd->isEnabled() ? QChar('1') : QChar('0');
    }
    QCOMPARE(seen, enabledAfterEachStep);
}

void StationEditing::addAppendsStationsAndRunsTheBranchRules()
{
    addStation(QStringLiteral("A"), 10, 10);
    QCOMPARE(form->StationCount, 1);
    QVERIFY(!form->CheckBox5->isChecked());
    QVERIFY(!form->CheckBox5->isEnabled()); // the first station always starts the first branch
    QVERIFY(form->RadioButton2->isEnabled());
    QCOMPARE(form->Modified, std::uint8_t(1));
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(0));
    QCOMPARE(form->ProfilePointPlaced, std::uint8_t(0));
    QVERIFY(form->Edit6->text().isEmpty() && form->Edit7->text().isEmpty());
    QVERIFY(!form->ButtonAdd->isEnabled());

    addStation(QStringLiteral("B"), 20, 10);
    QCOMPARE(form->StationCount, 2);
    QVERIFY(form->CheckBox5->isEnabled());

    addStation(QStringLiteral("C"), 30, 10, true); // third station with "New branch"
    QCOMPARE(form->StationCount, 3);
    QCOMPARE(form->Stations[1].BranchEnd, std::uint8_t(1));
    QCOMPARE(form->Stations[2].BranchEnd, std::uint8_t(0));
    QVERIFY(!form->CheckBox5->isEnabled());
    QVERIFY(!form->CheckBox5->isChecked());

    addStation(QStringLiteral("D"), 40, 10);
    QVERIFY(form->CheckBox5->isEnabled());
    QCOMPARE(labelText(form->Stations[3]), QStringLiteral("D"));
    QCOMPARE(form->Stations[3].PlanX, 40.0f);
    // The next entry is the pending one and is still empty.
    QCOMPARE(form->Stations[4].PlanX, 0.0f);
    QVERIFY(!hasLabel(form->Stations[4]));
}

void StationEditing::aStationPlacedBeforeTheScaleKeepsZeroMetres()
{
    form->PlacePlanPoint(100, 40);
    form->PlaceProfilePoint(100, 40);
    click(form->ButtonAdd);
    form->PlanMetresPerPixel = 0.2;
    form->ProfileMetresPerPixel = 0.2;
    QCOMPARE(form->Stations[0].PlanXMetres, 0.0f);
    QCOMPARE(form->Stations[0].PlanYMetres, 0.0f);
    QCOMPARE(form->Stations[0].ProfileYMetres, 0.0f);
}

void StationEditing::addRefusesAt999Stations()
{
    fillStations(999);
    form->RadioButton2->setEnabled(false);
    form->CheckBox5->setEnabled(true);
    form->CheckBox5->setChecked(true);
    form->Edit6->setText(QStringLiteral("X"));
    form->PlacePlanPoint(5, 5);
    form->PlaceProfilePoint(5, 5);
    click(form->ButtonAdd);

    QCOMPARE(dialogs->shown.size(), 1);
    QCOMPARE(dialogs->shown[0].text, QStringLiteral("Too many stations. To continue save this and open new project."));
    QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Speomark"));
    QCOMPARE(dialogs->shown[0].icon, MessageIcon::None);
    QCOMPARE(form->StationCount, 999);
    QVERIFY(form->RadioButton2->isEnabled());
    QCOMPARE(form->Stations[998].BranchEnd, std::uint8_t(1));
    QCOMPARE(labelText(form->Stations[999]), QStringLiteral("X")); // kept in the pending entry
    QCOMPARE(form->Edit6->text(), QStringLiteral("X"));
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(1));
    QVERIFY(form->ButtonAdd->isEnabled());
    QCOMPARE(form->Modified, std::uint8_t(0));
}

void StationEditing::aFullTableHasNoPendingStation()
{
    fillStations(StationTableSize);
    const Station last = form->Stations[999];
    form->PlacePlanPoint(1, 2);
    form->PlaceProfilePoint(3, 4);
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(0));
    QCOMPARE(form->Stations[999].PlanX, last.PlanX);
    form->ButtonAdd->setEnabled(true);
    click(form->ButtonAdd);
    QCOMPARE(dialogs->messages(), QStringList{"Too many stations. To continue save this and open new project."});
    QCOMPARE(form->StationCount, StationTableSize);
    // Move mode works on the full table and parks the typed texts beside it.
    form->Edit6->setText(QStringLiteral("typed"));
    click(form->RadioButton2);
    QCOMPARE(form->CurrentStation, 999);
    QCOMPARE(form->Edit6->text(), QStringLiteral("S999"));
    click(form->RadioButton1);
    QCOMPARE(form->Edit6->text(), QStringLiteral("typed"));
}

void StationEditing::textsThatTheFieldsCannotHoldAreRefused()
{
    form->Edit7->setText(QStringLiteral("вход 洞")); // pasted by a program, not typed
    form->PlacePlanPoint(5, 5);
    form->PlaceProfilePoint(5, 5);
    click(form->ButtonAdd);
    QCOMPARE(form->StationCount, 0);
    QCOMPARE(dialogs->messages().size(), 1);
    QVERIFY(dialogs->messages()[0].contains(QStringLiteral("洞")));
    QVERIFY(!form->RadioButton2->isEnabled());
    QVERIFY(form->ButtonAdd->isEnabled());
}

void StationEditing::fullWidthTextsDoNotSpill()
{
    const QString label = QStringLiteral("Ж1234567890123456789");
    const QString comment = QString(256, QChar('c'));
    QCOMPARE(label.size(), 20);
    form->Edit6->setText(label);
    form->Edit7->setText(comment);
    form->PlacePlanPoint(5, 5);
    form->PlaceProfilePoint(5, 5);
    click(form->ButtonAdd);
    QCOMPARE(labelText(form->Stations[0]), label);
    QCOMPARE(commentText(form->Stations[0]), comment);
    QCOMPARE(QByteArray(form->Stations[0].Comment, 1), QByteArray("c"));
    QCOMPARE(form->Stations[0].BranchEnd, std::uint8_t(0));
    // Back in the edit box unchanged.
    click(form->RadioButton2);
    QCOMPARE(form->Edit6->text(), label);
    QCOMPARE(form->Edit7->text(), comment);
}

void StationEditing::moveModeStepsThroughStations()
{
    fillStations(5);
    form->Edit6->setText(QStringLiteral("A1"));
    form->Edit7->setText(QStringLiteral("pending"));
    click(form->RadioButton2);
    QCOMPARE(form->MoveMode, std::uint8_t(1));
    QCOMPARE(form->CurrentStation, 4);
    QCOMPARE(form->GroupBox2->title(), QStringLiteral("Move Station"));
    QCOMPARE(form->ButtonAdd->text(), QStringLiteral("OK"));
    QVERIFY(form->ButtonAdd->isEnabled());
    QVERIFY(!form->CheckBox5->isEnabled());
    QVERIFY(form->Button11->isVisible() && form->Button12->isVisible());
    QCOMPARE(form->Edit6->text(), QStringLiteral("S4"));
    QCOMPARE(form->Edit7->text(), QStringLiteral("c4"));
    QCOMPARE(labelText(form->Stations[5]), QStringLiteral("A1"));
    QCOMPARE(commentText(form->Stations[5]), QStringLiteral("pending"));

    click(form->Button12);
    QCOMPARE(form->CurrentStation, 4);
    const QList<int> expected{3, 2, 1, 0, 0};
    for (int step : expected) {
        click(form->Button11);
        QCOMPARE(form->CurrentStation, step);
        QCOMPARE(form->Edit6->text(), QStringLiteral("S%1").arg(step));
    }

    click(form->RadioButton1);
    QCOMPARE(form->MoveMode, std::uint8_t(0));
    QCOMPARE(form->Edit6->text(), QStringLiteral("A1"));
    QCOMPARE(form->Edit7->text(), QStringLiteral("pending"));
    QCOMPARE(form->GroupBox2->title(), QStringLiteral("Add Station"));
    QCOMPARE(form->ButtonAdd->text(), QStringLiteral("Add"));
    QVERIFY(form->Button11->isHidden() && form->Button12->isHidden());
}

void StationEditing::unconfirmedEditsAreLostAndOkKeepsThem()
{
    fillStations(5);
    click(form->RadioButton2);
    form->Edit6->setText(QStringLiteral("changed"));
    click(form->Button11);
    QCOMPARE(labelText(form->Stations[4]), QStringLiteral("S4"));
    QCOMPARE(form->Edit6->text(), QStringLiteral("S3"));
    QCOMPARE(form->Modified, std::uint8_t(0));

    form->Edit6->setText(QStringLiteral("B3"));
    form->Edit7->setText(QStringLiteral("sump"));
    click(form->ButtonAdd);
    QCOMPARE(labelText(form->Stations[3]), QStringLiteral("B3"));
    QCOMPARE(commentText(form->Stations[3]), QStringLiteral("sump"));
    QCOMPARE(form->Modified, std::uint8_t(1));
    QCOMPARE(form->StationCount, 5);
    QCOMPARE(form->MoveMode, std::uint8_t(1));
    click(form->ButtonAdd); // may be pressed again
    QCOMPARE(labelText(form->Stations[3]), QStringLiteral("B3"));
}

void StationEditing::movingAPointDoesNotSetModified()
{
    fillStations(3);
    form->PlanZoom = 2.0;
    form->PlanMetresPerPixel = 0.5;
    form->ProfileMetresPerPixel = 0.25;
    click(form->RadioButton2);
    click(form->Button11);
    form->PlacePlanPoint(40, 60);
    form->PlaceProfilePoint(8, 12);
    const Station &moved = form->Stations[1];
    QCOMPARE(moved.PlanX, 20.0f);
    QCOMPARE(moved.PlanY, 30.0f);
    QCOMPARE(moved.PlanXMetres, 10.0f);
    QCOMPARE(moved.PlanYMetres, 15.0f);
    QCOMPARE(moved.ProfileX, 8.0f);
    QCOMPARE(moved.ProfileY, 12.0f);
    QCOMPARE(moved.ProfileYMetres, 3.0f);
    QCOMPARE(form->Modified, std::uint8_t(0));
    QCOMPARE(form->PlanPointPlaced, std::uint8_t(0));
    QCOMPARE(form->ProfilePointPlaced, std::uint8_t(0));
    QCOMPARE(form->Stations[3].PlanX, 0.0f); // the pending entry is untouched
}

void StationEditing::returningToAddMode_data()
{
    QTest::addColumn<bool>("planPlaced");
    QTest::addColumn<bool>("profilePlaced");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("addEnabled");
    QTest::newRow("plan only, extended") << true << false << true << false;
    QTest::newRow("both placed") << true << true << true << true;
    QTest::newRow("plan only, none") << true << false << false << true;
    QTest::newRow("nothing placed") << false << false << true << false;
}

void StationEditing::returningToAddMode()
{
    QFETCH(bool, planPlaced);
    QFETCH(bool, profilePlaced);
    QFETCH(bool, extended);
    QFETCH(bool, addEnabled);
    fillStations(2);
    if (!extended)
        click(form->RadioButton5);
    if (planPlaced)
        form->PlacePlanPoint(3, 3);
    if (profilePlaced)
        form->PlaceProfilePoint(3, 3);
    click(form->RadioButton2);
    click(form->RadioButton1);
    QCOMPARE(form->ButtonAdd->isEnabled(), addEnabled);
    QVERIFY(form->CheckBox5->isEnabled());
}

void StationEditing::moveWithAnEmptyTableDoesNothing()
{
    form->RadioButton2->setEnabled(true); // as after opening an empty project
    form->Edit6->setText(QStringLiteral("typed"));
    click(form->RadioButton2);
    QCOMPARE(form->MoveMode, std::uint8_t(0));
    QVERIFY(form->RadioButton1->isChecked());
    QCOMPARE(form->Edit6->text(), QStringLiteral("typed"));
    QCOMPARE(form->GroupBox2->title(), QStringLiteral("New Station"));
    QVERIFY(!form->ButtonAdd->isEnabled());
}

void StationEditing::clickingTheCheckedModeAgainKeepsTheTypedTexts()
{
    fillStations(2);
    click(form->RadioButton2);
    click(form->RadioButton1);
    form->Edit6->setText(QStringLiteral("typing"));
    click(form->RadioButton1);
    QCOMPARE(form->Edit6->text(), QStringLiteral("typing"));
}

void StationEditing::profileModeButtonsOnlySetTheFlag()
{
    form->PlacePlanPoint(3, 3);
    click(form->RadioButton5);
    QCOMPARE(form->ProfileExtended, std::uint8_t(0));
    QVERIFY(!form->ButtonAdd->isEnabled());
    click(form->RadioButton3);
    QCOMPARE(form->ProfileExtended, std::uint8_t(1));
    QVERIFY(dialogs->shown.isEmpty());
}

QTEST_MAIN(StationEditing)
#include "test_station_editing.moc"
