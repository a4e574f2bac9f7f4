// Placing stations, Add with its branch and limit rules, and Move mode, on a bare document and
// session: what the station box and right clicks on the panes do.
#include "survey/CommandError.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "stations/StationEditor.h"

#include <QTest>
#include <memory>

using Outcome = StationEditor::AddOutcome;
constexpr ViewSide Plan = ViewSide::Plan;
constexpr ViewSide Profile = ViewSide::Profile;

class StationEditorTest : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void placingStoresSourcePixelsAndMetres_data();
    void placingStoresSourcePixelsAndMetres();
    void addIsEnabledOnceThePendingStationIsComplete_data();
    void addIsEnabledOnceThePendingStationIsComplete();
    void addAppendsStationsAndRunsTheBranchRules_data();
    void addAppendsStationsAndRunsTheBranchRules();
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

private:
    // Stations 0..count-1 at (10 i, 5) on both views, labelled "S<i>" with comment "c<i>".
    void fillStations(int count);
    void setViews(double zoom, double metresPerPixel);
    const Station &at(int index) const { return document->stations().at(index); }
    const Station &pending() const { return document->stations().pending(); }
    int count() const { return document->stations().count(); }
    void placeBoth(QPoint at)
    {
        editor->placePoint(Plan, at);
        editor->placePoint(Profile, at);
    }

    std::unique_ptr<SurveyDocument> document;
    std::unique_ptr<EditSession> session;
    std::unique_ptr<StationEditor> editor;
};

void StationEditorTest::init()
{
    document = std::make_unique<SurveyDocument>();
    session = std::make_unique<EditSession>();
    editor = std::make_unique<StationEditor>(*document, *session);
}

void StationEditorTest::fillStations(int n)
{
    std::vector<Station> stations(size_t(n), Station{});
    for (int i = 0; i < n; ++i) {
        Station &s = stations[size_t(i)];
        s.planX = s.profileX = float(10 * i);
        s.planY = s.profileY = 5.0f;
        s.label = fittedLabel(QStringLiteral("S%1").arg(i));
        s.comment = fittedComment(QStringLiteral("c%1").arg(i));
    }
    document->editStations([&](StationTable &table) { table.assign(stations); });
}

void StationEditorTest::setViews(double zoom, double metresPerPixel)
{
    for (const ViewSide side : {Plan, Profile})
        document->editView(side, [&](ViewSettings &view) {
            view.zoom = zoom;
            view.calibration.metresPerPixel = metresPerPixel;
        });
}

void StationEditorTest::placingStoresSourcePixelsAndMetres_data()
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

void StationEditorTest::placingStoresSourcePixelsAndMetres()
{
    QFETCH(double, zoom);
    QFETCH(double, metresPerPixel);
    QFETCH(QPoint, mouse);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, xMetres);
    QFETCH(float, yMetres);
    setViews(zoom, metresPerPixel);
    placeBoth(mouse);
    const Station &q = pending();
    QCOMPARE(q.planX, x);
    QCOMPARE(q.planY, y);
    QCOMPARE(q.planXMetres, xMetres);
    QCOMPARE(q.planYMetres, yMetres);
    QCOMPARE(q.profileX, x);
    QCOMPARE(q.profileY, y);
    QCOMPARE(q.profileYMetres, yMetres);
    QVERIFY(session->pointPlaced(Plan) && session->pointPlaced(Profile));
    QCOMPARE(count(), 0);

    // The metres are those of the scale when the point was placed; a later scale changes nothing.
    setViews(zoom, 7.0);
    QCOMPARE(editor->add(QString(), QString()), Outcome::Added);
    QCOMPARE(at(0).planXMetres, xMetres);
    QCOMPARE(at(0).planYMetres, yMetres);
    QCOMPARE(at(0).profileYMetres, yMetres);
}

void StationEditorTest::addIsEnabledOnceThePendingStationIsComplete_data()
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

void StationEditorTest::addIsEnabledOnceThePendingStationIsComplete()
{
    QFETCH(QString, steps);
    QFETCH(QString, enabledAfterEachStep);
    QString seen;
    for (const QChar step : steps) {
        switch (step.unicode()) {
        case 'P':
            editor->placePoint(Plan, {10, 10});
            break;
        case 'R':
            editor->placePoint(Profile, {10, 10});
            break;
        case 'N':
            editor->setProfileKind(ProfileKind::None);
            break;
        case 'E':
            editor->setProfileKind(ProfileKind::Extended);
            break;
        }
        seen += session->addEnabled() ? QChar('1') : QChar('0');
    }
    QCOMPARE(seen, enabledAfterEachStep);
}

void StationEditorTest::addAppendsStationsAndRunsTheBranchRules_data()
{
    // Each step adds a station: '.' plainly, '*' with "New branch" ticked.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("branchEnds");            // of each station at the end
    QTest::addColumn<QString>("newBranchEnabledAfter"); // after each step
    // "New branch" starts ticked, but the first station always starts the first branch.
    QTest::newRow("first station") << "." << "0" << "0";
    QTest::newRow("first station, ticked") << "*" << "0" << "0";
    QTest::newRow("second station, ticked") << ".*" << "00" << "01";
    QTest::newRow("third starts a branch") << "..*." << "0100" << "0101";
    QTest::newRow("a branch after a branch") << "..*..*" << "010010" << "010110";
}

void StationEditorTest::addAppendsStationsAndRunsTheBranchRules()
{
    QFETCH(QString, steps);
    QFETCH(QString, branchEnds);
    QFETCH(QString, newBranchEnabledAfter);
    QString enabled;
    for (int i = 0; i < steps.size(); ++i) {
        session->setEntries(QStringLiteral("L%1").arg(i), QStringLiteral("note %1").arg(i));
        placeBoth({10 * i, 20});
        editor->setNewBranch(steps[i] == QLatin1Char('*'));
        QCOMPARE(editor->add(session->labelEntry(), session->commentEntry()), Outcome::Added);
        enabled += session->newBranchEnabled() ? QChar('1') : QChar('0');
        QCOMPARE(count(), i + 1);
        QCOMPARE(at(i).label, QStringLiteral("L%1").arg(i));
        QCOMPARE(at(i).comment, QStringLiteral("note %1").arg(i));
        QCOMPARE(at(i).planX, float(10 * i));
        QCOMPARE(at(i).profileY, 20.0f);
        // Ready for the next one: nothing placed, the next label proposed, "New branch" cleared.
        QVERIFY(document->modified());
        QVERIFY(!session->pointPlaced(Plan) && !session->pointPlaced(Profile));
        QCOMPARE(session->labelEntry(), QStringLiteral("L%1").arg(i + 1));
        QVERIFY(session->commentEntry().isEmpty());
        QVERIFY(!session->addEnabled());
        QVERIFY(!session->newBranchChecked());
        QCOMPARE(pending().planX, 0.0f);
        QVERIFY(!!pending().label.isEmpty() && !!pending().comment.isEmpty());
    }
    QString ends;
    for (int i = 0; i < count(); ++i)
        ends += at(i).branchEnd ? QChar('1') : QChar('0');
    QCOMPARE(ends, branchEnds);
    QCOMPARE(enabled, newBranchEnabledAfter);
}

void StationEditorTest::addRefusesAt999Stations()
{
    fillStations(999);
    session->setNewBranchEnabled(true);
    session->setNewBranchChecked(true);
    session->setEntries(QStringLiteral("X"), QString());
    placeBoth({5, 5});
    QCOMPARE(editor->add(QStringLiteral("X"), QString()), Outcome::TableFull);
    QCOMPARE(count(), 999);
    QVERIFY(at(998).branchEnd);
    QCOMPARE(pending().label, QStringLiteral("X")); // kept in the pending entry
    QCOMPARE(session->labelEntry(), QStringLiteral("X"));
    QVERIFY(session->pointPlaced(Plan));
    QVERIFY(session->addEnabled());
    QVERIFY(!document->modified());
}

void StationEditorTest::aFullTableHasNoPendingStation()
{
    fillStations(StationTable::TableSize);
    const Station last = at(999);
    editor->placePoint(Plan, {1, 2});
    editor->placePoint(Profile, {3, 4});
    QVERIFY(!session->pointPlaced(Plan) && !session->pointPlaced(Profile));
    QCOMPARE(at(999).planX, last.planX);
    QCOMPARE(editor->add(QStringLiteral("Y"), QString()), Outcome::TableFull);
    QCOMPARE(count(), StationTable::TableSize);
    QCOMPARE(at(999).label, QStringLiteral("S999"));
    // Move mode works on the full table and parks the typed texts beside it.
    session->setEntries(QStringLiteral("typed"), QStringLiteral("note"));
    QVERIFY(editor->enterMoveMode());
    QCOMPARE(session->selected(), 999);
    QCOMPARE(session->labelEntry(), QStringLiteral("S999"));
    editor->enterAddMode();
    QCOMPARE(session->labelEntry(), QStringLiteral("typed"));
    QCOMPARE(session->commentEntry(), QStringLiteral("note"));
}

void StationEditorTest::textsThatTheFieldsCannotHoldAreRefused()
{
    placeBoth({5, 5});
    QString refusal;
    try {
        editor->add(QString(), QStringLiteral("вход 洞")); // pasted by a program, not typed
    } catch (const CommandError &error) {
        refusal = error.message();
    }
    QVERIFY(refusal.contains(QStringLiteral("洞")));
    QVERIFY(!refusal.contains(QStringLiteral("в")));
    QCOMPARE(count(), 0);
    QVERIFY(session->addEnabled());
    QVERIFY(!document->modified());
    // Nor are they stored over a station being edited.
    fillStations(2);
    QVERIFY(editor->enterMoveMode());
    QVERIFY_THROWS_EXCEPTION(CommandError, editor->add(QStringLiteral("B洞"), QString()));
    QCOMPARE(at(1).label, QStringLiteral("S1"));
    // Nor a control character, a line end to a survey file's reader; the message names the field.
    const QString unit = QString::fromLatin1("ok\x1a*units tape feet");
    const QString why = QStringLiteral(" cannot hold a line break, a tab or another control character.");
    QVERIFY_THROWS_EXCEPTION(CommandError, editor->add(QStringLiteral("B"), unit));
    QCOMPARE(StationEditor::commentProblem(unit), QStringLiteral("A station's comment") + why);
    QVERIFY_THROWS_EXCEPTION(CommandError, editor->setLabel(0, unit));
    QCOMPARE(StationEditor::labelProblem(unit), QStringLiteral("A station's label") + why);
    QCOMPARE(at(0).label, QStringLiteral("S0"));
    // One stored by a damaged project shows as the space the files write, and OK keeps that.
    Station stored = at(1);
    stored.comment = fittedComment(QString::fromLatin1("a\x1a*fix"));
    document->setStation(1, stored);
    QVERIFY(editor->select(1));
    QCOMPARE(session->commentEntry(), QStringLiteral("a *fix"));
    QCOMPARE(editor->add(session->labelEntry(), session->commentEntry()), Outcome::Edited);
    QCOMPARE(at(1).comment, QStringLiteral("a *fix"));
    QCOMPARE(at(1).label, QStringLiteral("S1"));
}

void StationEditorTest::fullWidthTextsDoNotSpill()
{
    const QString label = QStringLiteral("Ж1234567890123456789");
    const QString comment = QString(256, QChar('c'));
    QCOMPARE(label.size(), 20);
    placeBoth({5, 5});
    QCOMPARE(editor->add(label, comment), Outcome::Added);
    QCOMPARE(at(0).label, label);
    QCOMPARE(at(0).comment, comment);
    QVERIFY(!at(0).branchEnd);
    // Back in the boxes unchanged.
    QVERIFY(editor->enterMoveMode());
    QCOMPARE(session->labelEntry(), label);
    QCOMPARE(session->commentEntry(), comment);
}

void StationEditorTest::moveModeStepsThroughStations()
{
    fillStations(5);
    session->setNewBranchEnabled(true);
    session->setEntries(QStringLiteral("A1"), QStringLiteral("pending"));
    QVERIFY(editor->enterMoveMode());
    QVERIFY(session->moving());
    QCOMPARE(session->selected(), 4);
    QVERIFY(session->addEnabled());
    QVERIFY(!session->newBranchEnabled());
    QCOMPARE(session->labelEntry(), QStringLiteral("S4"));
    QCOMPARE(session->commentEntry(), QStringLiteral("c4"));
    QCOMPARE(pending().label, QStringLiteral("A1"));
    QCOMPARE(pending().comment, QStringLiteral("pending"));

    editor->selectNext();
    QCOMPARE(session->selected(), 4);
    for (const int step : {3, 2, 1, 0, 0}) {
        editor->selectPrevious();
        QCOMPARE(session->selected(), step);
        QCOMPARE(session->labelEntry(), QStringLiteral("S%1").arg(step));
        QCOMPARE(session->commentEntry(), QStringLiteral("c%1").arg(step));
    }
    editor->selectNext();
    QCOMPARE(session->labelEntry(), QStringLiteral("S1"));

    editor->enterAddMode();
    QVERIFY(!session->moving());
    QVERIFY(session->addModeEntered());
    QCOMPARE(session->labelEntry(), QStringLiteral("A1"));
    QCOMPARE(session->commentEntry(), QStringLiteral("pending"));
    QVERIFY(!document->modified());
}

void StationEditorTest::unconfirmedEditsAreLostAndOkKeepsThem()
{
    fillStations(5);
    QVERIFY(editor->enterMoveMode());
    session->setLabelEntry(QStringLiteral("changed"));
    editor->selectPrevious();
    QCOMPARE(at(4).label, QStringLiteral("S4"));
    QCOMPARE(session->labelEntry(), QStringLiteral("S3"));
    QVERIFY(!document->modified());

    QCOMPARE(editor->add(QStringLiteral("B3"), QStringLiteral("sump")), Outcome::Edited);
    QCOMPARE(at(3).label, QStringLiteral("B3"));
    QCOMPARE(at(3).comment, QStringLiteral("sump"));
    QVERIFY(document->modified());
    QCOMPARE(count(), 5);
    QVERIFY(session->moving());
    QCOMPARE(editor->add(QStringLiteral("B3"), QStringLiteral("sump")), Outcome::Edited); // may be pressed again
    QCOMPARE(at(3).label, QStringLiteral("B3"));
    // A selection outside the table edits nothing.
    session->setSelected(7);
    QCOMPARE(editor->add(QStringLiteral("Z"), QString()), Outcome::Nothing);
    QCOMPARE(count(), 5);
}

void StationEditorTest::movingAPointDoesNotSetModified()
{
    fillStations(3);
    document->editView(Plan, [](ViewSettings &view) {
        view.zoom = 2.0;
        view.calibration.metresPerPixel = 0.5;
    });
    document->editView(Profile, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.25; });
    QVERIFY(editor->enterMoveMode());
    editor->selectPrevious();
    editor->placePoint(Plan, {40, 60});
    editor->placePoint(Profile, {8, 12});
    const Station &moved = at(1);
    QCOMPARE(moved.planX, 20.0f);
    QCOMPARE(moved.planY, 30.0f);
    QCOMPARE(moved.planXMetres, 10.0f);
    QCOMPARE(moved.planYMetres, 15.0f);
    QCOMPARE(moved.profileX, 8.0f);
    QCOMPARE(moved.profileY, 12.0f);
    QCOMPARE(moved.profileYMetres, 3.0f);
    QCOMPARE(at(2).planX, 20.0f); // the others stay
    QVERIFY(!document->modified());
    QVERIFY(!session->pointPlaced(Plan) && !session->pointPlaced(Profile));
    QCOMPARE(pending().planX, 0.0f); // the pending entry is untouched
}

void StationEditorTest::returningToAddMode_data()
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

void StationEditorTest::returningToAddMode()
{
    QFETCH(bool, planPlaced);
    QFETCH(bool, profilePlaced);
    QFETCH(bool, extended);
    QFETCH(bool, addEnabled);
    fillStations(2);
    if (!extended)
        editor->setProfileKind(ProfileKind::None);
    if (planPlaced)
        editor->placePoint(Plan, {3, 3});
    if (profilePlaced)
        editor->placePoint(Profile, {3, 3});
    QVERIFY(editor->enterMoveMode());
    editor->enterAddMode();
    QCOMPARE(session->addEnabled(), addEnabled);
    QVERIFY(session->newBranchEnabled());
}

void StationEditorTest::moveWithAnEmptyTableDoesNothing()
{
    session->setLabelEntry(QStringLiteral("typed"));
    QVERIFY(!editor->enterMoveMode());
    QVERIFY(!session->moving());
    QCOMPARE(session->labelEntry(), QStringLiteral("typed"));
    QVERIFY(!session->addModeEntered());
    QVERIFY(!session->addEnabled());
}

QTEST_MAIN(StationEditorTest)
#include "test_station_editor.moc"
