// Undo and redo of every edit, and the station table after Delete and Insert: each edit undoes to
// the exact bytes it started from and redoes to the exact bytes it made, and a job edited by
// Delete or Insert writes the same survey text as one digitised that way from the start.
#include "survey/CommandError.h"
#include "document/EditHistory.h"
#include "support/Editors.h"
#include "output/SurveyText.h"
#include "project/ProjectContents.h"
#include "project/ProjectFile.h"
#include "project/StationRecord.h"
#include "stations/StationEditor.h"
#include "views/ScaleCalibration.h"
#include "views/ViewEditor.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {

using Step = std::function<void(Editors &)>;

// Where a label's station lies on both drawings: the same for every station of that name, so a
// tie in a new branch stands where the station it repeats does.
QPoint spot(const QString &label)
{
    const uint hash = qHash(label, 7u);
    return QPoint(20 + int(hash % 300), 20 + int((hash / 300) % 200));
}

// Digitises a job: each label is a station, "+" before it ticks "New branch" for it.
void digitise(Editors &e, const QStringList &job)
{
    for (const QString &token : job) {
        const QString label = token.startsWith('+') ? token.mid(1) : token;
        e.stations.setNewBranch(token.startsWith('+'));
        e.stations.placePoint(ViewSide::Plan, spot(label));
        e.stations.placePoint(ViewSide::Profile, spot(label) + QPoint(0, 7));
        e.stations.add(label, QString());
    }
}

void calibrate(Editors &e)
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        e.document.editView(side, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.1; });
}

// Everything an edit may change and undo must bring back, as bytes: the project file, the pending
// station, the survey text in two layouts, and the editing state.
QByteArray fingerprint(Editors &e)
{
    e.readWantedScans(); // as the window does, off its thread

    QByteArray bytes = ProjectFile::serialize(ProjectContents::capture(e.document, ProjectContents::Entries::AsTheyStand),
                                              QStringLiteral("f"));
    QByteArray pending(StationRecord::Size, '\0');
    if (e.document.stations().hasPending())
        StationRecord::write(e.document.stations().pending(), pending.data());
    bytes += pending;
    for (const SurveyFormat format : {SurveyFormat::LumaroLabel, SurveyFormat::Survex})
        bytes += SurveyText::build(e.document.stations(), format, SurveyStyle::DepthChange, 0.0).fileBytes();
    const EditState &s = e.session.state();
    bytes += QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11|")
                 .arg(s.pointPlaced[0])
                 .arg(s.pointPlaced[1])
                 .arg(int(s.mode))
                 .arg(s.selected)
                 .arg(s.insertBefore)
                 .arg(s.labelEntry, s.commentEntry)
                 .arg(s.newBranchChecked)
                 .arg(s.addEnabled)
                 .arg(s.gridLocked[0])
                 .arg(s.gridLocked[1])
                 .toUtf8();
    const QImage &scan = e.document.view(ViewSide::Plan).image;
    bytes += QByteArray::number(scan.isNull() ? 0u : qHashBits(scan.constBits(), size_t(scan.sizeInBytes())));
    return bytes;
}

QString surveyTexts(const SurveyDocument &document)
{
    QString all;
    for (const SurveyFormat format : {SurveyFormat::LumaroLabel, SurveyFormat::LumaroFromTo, SurveyFormat::Survex})
        all += QString::fromLatin1(SurveyText::build(document.stations(), format, SurveyStyle::Angle, 0.0).fileBytes());
    return all;
}

} // namespace

Q_DECLARE_METATYPE(Step)

class EditHistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_folder.isValid()); }
    void everyEditUndoesAndRedoesToTheExactBytes_data();
    void everyEditUndoesAndRedoesToTheExactBytes();
    void deletingIsDigitisingWithoutTheStation_data();
    void deletingIsDigitisingWithoutTheStation();
    void insertingIsDigitisingWithTheStation_data();
    void insertingIsDigitisingWithTheStation();
    void editsAtTheTableLimitUndo();
    void aFailedEditLeavesNeitherStepNorChange();
    void theHistoryKeepsNoPixelsAndStaysWithinItsBudget();

private:
    QTemporaryDir m_folder;
};

void EditHistoryTest::everyEditUndoesAndRedoesToTheExactBytes_data()
{
    QTest::addColumn<Step>("setup");   // before the edit, not recorded as part of it
    QTest::addColumn<Step>("edit");
    QTest::addColumn<QString>("name"); // what Edit > Undo calls it
    const Step nothing = [](Editors &) {};
    const Step moveMode = [](Editors &e) { e.stations.select(3); };
    const QString scan = m_folder.filePath(QStringLiteral("scan.png"));
    QImage(40, 30, QImage::Format_RGB32).save(scan);

    QTest::newRow("place a plan point") << nothing << Step([](Editors &e) { e.stations.placePoint(ViewSide::Plan, {40, 41}); })
                                        << "Place Plan Point";
    QTest::newRow("add") << Step([](Editors &e) {
        e.stations.placePoint(ViewSide::Plan, {40, 41});
        e.stations.placePoint(ViewSide::Profile, {40, 48});
    }) << Step([](Editors &e) { e.stations.add(QStringLiteral("N7"), QStringLiteral("by the sump")); })
                         << "Add Station N7";
    QTest::newRow("add starting a branch")
        << Step([](Editors &e) {
               e.stations.placePoint(ViewSide::Plan, {40, 41});
               e.stations.placePoint(ViewSide::Profile, {40, 48});
               e.stations.setNewBranch(true);
           })
        << Step([](Editors &e) { e.stations.add(QString(), QString()); }) << "Add Station 6";
    QTest::newRow("move by a click") << moveMode << Step([](Editors &e) { e.stations.placePoint(ViewSide::Profile, {5, 6}); })
                                     << "Move Station D";
    QTest::newRow("one drag of many steps") << moveMode << Step([](Editors &e) {
        for (int x = 10; x < 60; x += 10)
            e.stations.drag(ViewSide::Plan, {x, x / 2}, 77);
    }) << "Move Station D";
    QTest::newRow("arrow keys") << moveMode << Step([](Editors &e) {
        e.stations.nudge(ViewSide::Plan, {1, 0});
        e.stations.nudge(ViewSide::Plan, {0, -10});
    }) << "Move Station D";
    QTest::newRow("edit the texts") << moveMode << Step([](Editors &e) { e.stations.add(QStringLiteral("D2"), QStringLiteral("x")); })
                                    << "Edit Station D";
    QTest::newRow("rename in the list") << nothing << Step([](Editors &e) { e.stations.setLabel(1, QStringLiteral("Bb")); })
                                        << "Rename Station B";
    QTest::newRow("passage dimensions") << nothing << Step([](Editors &e) {
        e.stations.setDimensions(2, PassageDimensions{1.5, std::nullopt, 2.0, 0.0});
    }) << "Set Walls of Station C";
    QTest::newRow("passage dimensions taken away")
        << Step([](Editors &e) { e.stations.setDimensions(3, PassageDimensions{std::nullopt, 4.0, std::nullopt, 1.0}); })
        << Step([](Editors &e) { e.stations.setDimensions(3, PassageDimensions()); }) << "Set Walls of Station D";
    QTest::newRow("make a likely tie") << nothing
                                       << Step([](Editors &e) { e.stations.setLabels({1, 3}, QStringLiteral("C")); })
                                       << "Make B a Tie with C";
    QTest::newRow("delete") << moveMode << Step([](Editors &e) { e.stations.deleteSelected(); }) << "Delete Station D";
    QTest::newRow("insert") << Step([](Editors &e) {
        e.stations.select(3);
        e.stations.startInsert();
        e.stations.placePoint(ViewSide::Plan, {70, 71});
        e.stations.placePoint(ViewSide::Profile, {70, 72});
    }) << Step([](Editors &e) { e.stations.add(QStringLiteral("I"), QString()); })
                            << "Insert Station I";
    QTest::newRow("scale OK") << Step([](Editors &e) { e.document.setGridEntries(ViewSide::Plan, "5", "40"); })
                              << Step([](Editors &e) { e.scale.pressOkOrChange(ViewSide::Plan); }) << "Set Plan Scale";
    QTest::newRow("scale Change") << Step([](Editors &e) { e.scale.pressOkOrChange(ViewSide::Profile); })
                                  << Step([](Editors &e) { e.scale.pressOkOrChange(ViewSide::Profile); }) << "Change Profile Scale";
    QTest::newRow("orientation typed") << nothing << Step([](Editors &e) {
        for (const char *typed : {"1", "12", "12.5"})
            e.stations.setOrientation(QString::fromLatin1(typed));
    }) << "Set Plan Orientation";
    QTest::newRow("projection azimuth typed")
        << Step([](Editors &e) { e.stations.setProfileKind(ProfileKind::Projective); }) << Step([](Editors &e) {
               for (const char *typed : {"2", "24", "247", "247,5"})
                   e.stations.setProjectionAzimuth(QString::fromLatin1(typed));
           })
        << "Set Projection Azimuth";
    QTest::newRow("profile kind") << nothing << Step([](Editors &e) { e.stations.setProfileKind(ProfileKind::None); })
                                  << "Set Profile Kind";
    QTest::newRow("open a scan") << nothing << Step([scan](Editors &e) { e.views.openImage(ViewSide::Plan, scan); })
                                 << "Open Plan Image";
    const auto read = [scan] { return ImageFile::read(scan); };
    const Step secondPlan = [read](Editors &e) { e.views.addSheet(ViewSide::Plan, read()); };
    QTest::newRow("add a sheet") << nothing << secondPlan << "Add Plan Sheet";
    QTest::newRow("rename a sheet") << secondPlan << Step([](Editors &e) { e.views.renameSheet(2, QStringLiteral("East")); })
                                    << "Rename Sheet";
    QTest::newRow("remove a sheet and its stations")
        << Step([secondPlan](Editors &e) {
               secondPlan(e);
               digitise(e, {"+E", "F"}); // a tie to E, and F: on the new plan sheet
           })
        << Step([](Editors &e) { e.views.removeSheet(2); }) << "Remove Sheet Plan 2";
}

void EditHistoryTest::everyEditUndoesAndRedoesToTheExactBytes()
{
    QFETCH(Step, setup);
    QFETCH(Step, edit);
    QFETCH(QString, name);
    Editors e;
    calibrate(e);
    digitise(e, {"A", "B", "C", "D", "+B", "E"});
    setup(e);
    e.history.clear();
    e.document.setModified(false);
    const QByteArray before = fingerprint(e);
    edit(e);
    const QByteArray after = fingerprint(e);
    QVERIFY(after != before);
    QCOMPARE(e.history.count(), 1); // one step, however many parts
    QCOMPARE(e.history.undoText(), name);
    e.history.undo();
    QCOMPARE(fingerprint(e), before);
    QVERIFY(e.document.modified()); // undoing is a change like any other
    e.history.redo();
    QCOMPARE(fingerprint(e), after);
    e.history.undo();
    QCOMPARE(fingerprint(e), before);
}

void EditHistoryTest::deletingIsDigitisingWithoutTheStation_data()
{
    QTest::addColumn<QStringList>("job");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QStringList>("without");
    QTest::newRow("in a branch") << QStringList{"A", "B", "C", "D"} << 1 << QStringList{"A", "C", "D"};
    QTest::newRow("the first") << QStringList{"A", "B", "C", "D"} << 0 << QStringList{"B", "C", "D"};
    QTest::newRow("the last") << QStringList{"A", "B", "C", "D"} << 3 << QStringList{"A", "B", "C"};
    QTest::newRow("a branch's end") << QStringList{"A", "B", "C", "+B", "D"} << 2 << QStringList{"A", "B", "+B", "D"};
    QTest::newRow("a branch's start") << QStringList{"A", "B", "C", "+B", "D", "E"} << 3 << QStringList{"A", "B", "C", "+D", "E"};
    QTest::newRow("a branch of one") << QStringList{"A", "B", "C", "+X", "+B", "D"} << 3 << QStringList{"A", "B", "C", "+B", "D"};
    QTest::newRow("the last branch's last") << QStringList{"A", "B", "+B", "D"} << 3 << QStringList{"A", "B", "+B"};
    QTest::newRow("the only station") << QStringList{"A"} << 0 << QStringList{};
}

void EditHistoryTest::deletingIsDigitisingWithoutTheStation()
{
    QFETCH(QStringList, job);
    QFETCH(int, deleted);
    QFETCH(QStringList, without);
    Editors edited, expected;
    for (Editors *e : {&edited, &expected})
        calibrate(*e);
    digitise(edited, job);
    digitise(expected, without);
    QVERIFY(edited.stations.select(deleted));
    QVERIFY(edited.stations.deleteSelected());
    QCOMPARE(surveyTexts(edited.document), surveyTexts(expected.document));
    QCOMPARE(edited.session.moving(), !without.isEmpty()); // nothing left to move: back to Add mode
}

void EditHistoryTest::insertingIsDigitisingWithTheStation_data()
{
    QTest::addColumn<QStringList>("job");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("with");
    QTest::newRow("in a branch") << QStringList{"A", "C", "D"} << 1 << "B" << QStringList{"A", "B", "C", "D"};
    QTest::newRow("at station 0") << QStringList{"B", "C"} << 0 << "A" << QStringList{"A", "B", "C"};
    QTest::newRow("before the last") << QStringList{"A", "B", "D"} << 2 << "C" << QStringList{"A", "B", "C", "D"};
    QTest::newRow("before a branch's start") << QStringList{"A", "B", "C", "+B", "D"} << 3 << "X"
                                             << QStringList{"A", "B", "C", "+X", "B", "D"};
}

void EditHistoryTest::insertingIsDigitisingWithTheStation()
{
    QFETCH(QStringList, job);
    QFETCH(int, before);
    QFETCH(QString, label);
    QFETCH(QStringList, with);
    Editors edited, expected;
    for (Editors *e : {&edited, &expected})
        calibrate(*e);
    digitise(edited, job);
    digitise(expected, with);
    QVERIFY(edited.stations.select(before));
    QCOMPARE(edited.stations.startInsert(), StationEditor::AddOutcome::Added);
    edited.stations.placePoint(ViewSide::Plan, spot(label));
    edited.stations.placePoint(ViewSide::Profile, spot(label) + QPoint(0, 7));
    QCOMPARE(edited.stations.add(label, QString()), StationEditor::AddOutcome::Added);
    QCOMPARE(surveyTexts(edited.document), surveyTexts(expected.document));
    QVERIFY(edited.session.moving()); // back in Move mode, on the new station
    QCOMPARE(edited.session.selected(), before);
}

void EditHistoryTest::editsAtTheTableLimitUndo()
{
    Editors e;
    std::vector<Station> full(size_t(StationTable::MaxAdded - 1), Station{});
    e.document.editStations([&](StationTable &table) { table.assign(full); });
    digitise(e, {"L"}); // the 999th
    QCOMPARE(e.document.stations().count(), StationTable::MaxAdded);
    QVERIFY(e.stations.select(5));
    QCOMPARE(e.stations.startInsert(), StationEditor::AddOutcome::TableFull); // the limit holds
    QVERIFY(e.stations.select(5));
    QVERIFY(e.stations.deleteSelected());
    QCOMPARE(e.document.stations().count(), StationTable::MaxAdded - 1);
    e.history.undo();
    e.history.undo();
    QCOMPARE(e.document.stations().count(), StationTable::MaxAdded - 1);
    QVERIFY(e.document.stations().at(StationTable::MaxAdded - 2).label.isEmpty());
}

void EditHistoryTest::aFailedEditLeavesNeitherStepNorChange()
{
    Editors e;
    calibrate(e);
    digitise(e, {"A", "B", "C"});
    e.history.clear();
    e.document.setModified(false);
    const QByteArray before = fingerprint(e);
    QVERIFY_THROWS_EXCEPTION(CommandError, e.history.record(QStringLiteral("Half an edit"), [&] {
        e.stations.placePoint(ViewSide::Plan, {9, 9});
        e.stations.setOrientation(QStringLiteral("33"));
        e.document.removeStation(1);
        throw CommandError(QStringLiteral("refused"));
    }));
    QCOMPARE(fingerprint(e), before);
    QCOMPARE(e.history.count(), 0);
    QVERIFY(!e.document.modified());
}

// Opening scans keeps what reopens them, not their pixels; undo reads the earlier one again. A
// history over its budget forgets its oldest steps and keeps the newest undoable.
void EditHistoryTest::theHistoryKeepsNoPixelsAndStaysWithinItsBudget()
{
    Editors e;
    QStringList scans;
    for (const QColor colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
        QImage scan(1500, 1000, QImage::Format_RGB32);
        scan.fill(colour);
        scans.append(m_folder.filePath(colour.name().mid(1) + QStringLiteral(".png")));
        QVERIFY(scan.save(scans.last()));
        e.views.openImage(ViewSide::Plan, scans.last());
    }
    QCOMPARE(e.history.count(), 3);
    QVERIFY2(e.history.bytes() < 64 * 1024, qPrintable(QString::number(e.history.bytes())));
    e.history.undo();
    QCOMPARE(e.document.view(ViewSide::Plan).imagePath, scans[1]);
    e.readWantedScans();
    QCOMPARE(e.document.view(ViewSide::Plan).image.pixel(700, 500), qRgb(0, 255, 0));
    e.history.redo();
    e.readWantedScans();
    QCOMPARE(e.document.view(ViewSide::Plan).image.pixel(0, 0), qRgb(0, 0, 255));

    calibrate(e);
    e.history.setBudget(64 * 1024);
    for (int i = 0; i < 300; ++i)
        digitise(e, {QStringLiteral("S%1").arg(i)});
    QVERIFY(e.history.bytes() <= 64 * 1024);
    QVERIFY(e.history.count() < 300);
    const int stations = e.document.stations().count();
    e.history.undo();
    QCOMPARE(e.document.stations().count(), stations - 1);
}

QTEST_GUILESS_MAIN(EditHistoryTest)
#include "test_edit_history.moc"
