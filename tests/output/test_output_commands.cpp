// Survey data files and pictures: the names Save and Save as write, and View, Save, Save as, the
// picture buttons and the save prompt driven through the window with scripted dialogs and real
// files in a scratch folder.
#include "widgets/RadioGroup.h"
#include "app/ui/SurveyTextWindow.h"
#include "checks/SurvexExport.h"
#include "output/SurveyOutput.h"
#include "project/RecoveryFile.h"
#include "project/ProjectFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <limits>
#include <memory>

class OutputCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void savedNamesTakeTheLayoutExtension_data();
    void savedNamesTakeTheLayoutExtension();
    void windowFilesEqualTheExport_data();
    void windowFilesEqualTheExport();
    void firstSaveAsksForANameThenSavesInTheNewLayout();
    void theCloseQuestionNamesWhatDiffersFromTheDisk();
    void editedPreviewIsSavedWhileTheSurveyIsUnchanged();
    void saveAfterCloseProjectAsksAgain();
    void viewAlwaysBuildsAndShowsThePreview();
    void aFailingBuildKeepsWhatItShould();
    void failedWritesSayWhyAndKeepTheOldFile();
    void closePromptAnswers_data();
    void closePromptAnswers();
    void savePictureBeforeAnImageDoesNothing();
    void savePictureWritesTheSourceSizeBitmap();
    void detailsAndOtherProgramsFiles();

private:
    void loadFiveStations(SurveyDocument &document);
    QStringList filesWritten() const;
    QByteArray fixture(const QString &name) const { return TestFiles::dataBytes(name); }
    QByteArray fileBytes(const QString &name) const { return TestFiles::bytes(path(name)); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    SurveyTextWindow &preview() { return f->textWindow(); }

    QTemporaryDir m_dir;
    std::unique_ptr<WindowFixture> f;
};

void OutputCommands::init()
{
    QVERIFY(m_dir.isValid());
    f = std::make_unique<WindowFixture>();
}

void OutputCommands::cleanup()
{
    f.reset();
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

// The five stations of the layout examples (A, B, C | B, D), added but not yet saved.
void OutputCommands::loadFiveStations(SurveyDocument &document)
{
    const ProjectContents five = ProjectFile::read(TestFiles::dataPath(QStringLiteral("five-stations.sprj")));
    document.editStations([&](StationTable &table) { table = five.stations; });
    document.setModified(true);
}

// Every file in the scratch folder, its subfolders included, relative to it.
QStringList OutputCommands::filesWritten() const
{
    QStringList files;
    QDirIterator it(m_dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(m_dir.path()).relativeFilePath(it.next()));
    files.sort();
    return files;
}

void OutputCommands::savedNamesTakeTheLayoutExtension_data()
{
    QTest::addColumn<bool>("saveAs");
    QTest::addColumn<int>("ticked");
    QTest::addColumn<QString>("known");      // the data file saved before ("" = none)
    QTest::addColumn<QString>("chosen");     // the name from the dialog ("" = not shown)
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("format");         // the format written
    QTest::addColumn<QString>("remembered"); // the data file's name afterwards
    QTest::addColumn<int>("tickedAfter");
    const int label = int(SurveyFormat::LumaroLabel), fromTo = int(SurveyFormat::LumaroFromTo),
              survex = int(SurveyFormat::Survex);
    const int svx = int(ExportFormat::Survex), cav = int(ExportFormat::LumaroFromTo),
              labelCav = int(ExportFormat::LumaroLabel), th = int(ExportFormat::Therion);
    // The name typed is the name written: Save adds the layout's extension to a name without a
    // known one, and never cuts the name short (a neighbour's file may have the shorter name).
    const int compass = int(ExportFormat::Compass);
    QTest::newRow("save, .dat typed") << false << fromTo << "" << "cave.dat" << "cave.dat" << compass << "" << fromTo;
    QTest::newRow("save, Label layout") << false << label << "" << "cave.txt" << "cave.txt.cav" << labelCav << "cave.txt"
                                        << label;
    QTest::newRow("save, two dots") << false << fromTo << "" << "cave.v2.txt" << "cave.v2.txt.cav" << cav << "cave.v2.txt"
                                    << fromTo;
    QTest::newRow("save, a date in the name") << false << survex << "" << "cave_2023.07.15.svx" << "cave_2023.07.15.svx"
                                              << svx << "cave_2023.07.15" << survex;
    QTest::newRow("save, a date, no extension") << false << survex << "" << "cave_2023.07.15" << "cave_2023.07.15.svx"
                                                << svx << "cave_2023.07.15" << survex;
    QTest::newRow("save, known name") << false << survex << "cave" << "" << "cave.svx" << svx << "cave" << survex;
    QTest::newRow("save, dot in a folder") << false << fromTo << "caves.old/cave" << "" << "caves.old/cave.cav" << cav
                                           << "caves.old/cave" << fromTo;
    // A name whose extension we know chooses the format, and ticks its layout for the next Save.
    QTest::newRow("save, .svx typed") << false << fromTo << "" << "s63.svx" << "s63.svx" << svx << "s63" << survex;
    QTest::newRow("save, .cav typed") << false << survex << "" << "s63.cav" << "s63.cav" << cav << "s63" << fromTo;
    QTest::newRow("save, .th typed") << false << fromTo << "" << "s63.th" << "s63.th" << th << "" << fromTo;
    // Save as keeps a chosen extension and adds the layout's only where there is none.
    QTest::newRow("save as, own extension") << true << fromTo << "old" << "cave.txt" << "cave.txt" << cav << "cave"
                                            << fromTo;
    QTest::newRow("save as, two dots") << true << fromTo << "" << "cave.v2.txt" << "cave.v2.txt" << cav << "cave.v2"
                                       << fromTo;
    QTest::newRow("save as, .dat typed") << true << survex << "old" << "cave.dat" << "cave.dat" << compass << "old"
                                         << survex;
    QTest::newRow("save as, no extension") << true << survex << "" << "cave" << "cave.svx" << svx << "cave" << survex;
    QTest::newRow("save as, dot in a folder") << true << fromTo << "" << "caves.old/cave" << "caves.old/cave.cav" << cav
                                              << "caves.old/cave" << fromTo;
    QTest::newRow("save as, .svx typed") << true << fromTo << "" << "cave.svx" << "cave.svx" << svx << "cave" << survex;
    QTest::newRow("save as, .cav, Label") << true << label << "" << "cave.CAV" << "cave.CAV" << labelCav << "cave"
                                          << label;
    QTest::newRow("save as, .th typed") << true << survex << "old" << "cave.th" << "cave.th" << th << "old" << survex;
}

void OutputCommands::savedNamesTakeTheLayoutExtension()
{
    QFETCH(bool, saveAs);
    QFETCH(int, ticked);
    QFETCH(QString, known);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(int, format);
    QFETCH(QString, remembered);
    QFETCH(int, tickedAfter);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("caves.old")));
    SurveyDocument document;
    EditSession session;
    SurveyOutput output(document, session);
    document.setFormat(SurveyFormat(ticked));
    document.setModified(true);
    if (!known.isEmpty())
        session.setDataFileName(path(known));
    const QStringList lines{QStringLiteral("*begin"), QStringLiteral("*end")};
    const QString chosenPath = chosen.isEmpty() ? QString() : path(chosen);
    const SurveyOutput::Target target =
        saveAs ? output.saveAsTarget(chosenPath, std::nullopt) : output.saveTarget(chosenPath);
    QCOMPARE(target.path, path(written));
    QCOMPARE(int(target.format), format);
    output.write(lines, target);
    QCOMPARE(filesWritten(), QStringList{written});
    QCOMPARE(fileBytes(written), QByteArray("*begin\r\n*end\r\n"));
    QCOMPARE(session.dataFileName(), remembered.isEmpty() ? QString() : path(remembered));
    QCOMPARE(int(document.format()), tickedAfter);
    QVERIFY(document.modified()); // only the save prompt's "Yes" clears it
}

// Each way a caver saves from the window writes exactly what speomark-export writes for the
// project as it then stands.
void OutputCommands::windowFilesEqualTheExport_data()
{
    QTest::addColumn<QString>("edit");    // what is done after opening the example cave
    QTest::addColumn<QString>("button");  // Save or Save as
    QTest::addColumn<QString>("typed");   // the name chosen in the dialog
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("exported"); // speomark-export's --format
    // The example cave has the Survex layout ticked.
    QTest::newRow("open, save as .svx") << "" << "Button10" << "x.svx" << "x.svx" << "survex";
    QTest::newRow("open, save") << "" << "Button7" << "x" << "x.svx" << "survex";
    QTest::newRow("open, save as .th") << "" << "Button10" << "x.th" << "x.th" << "therion";
    QTest::newRow("FromTo ticked, save as .svx") << "fromto" << "Button10" << "cave.svx" << "cave.svx" << "survex";
    QTest::newRow("FromTo ticked, save, .svx typed") << "fromto" << "Button7" << "s63.svx" << "s63.svx" << "survex";
    QTest::newRow("orientation, style and layout changed, save as")
        << "fromto orientation" << "Button10" << "y" << "y.svx" << "survex"; // a name without extension: the layout's
    QTest::newRow("save as, .dat typed") << "" << "Button10" << "x.dat" << "x.dat" << "compass";
    QTest::newRow("station added, save") << "add" << "Button7" << "z" << "z.svx" << "survex";
    QTest::newRow("station added, save as .cav") << "fromto add" << "Button10" << "z.cav" << "z.cav" << "fromto";
}

void OutputCommands::windowFilesEqualTheExport()
{
    QFETCH(QString, edit);
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, exported);
    f->window().openProject(QStringLiteral(SPEOMARK_EXAMPLES "/uchebnaya.sprj"));
    f->waitForImages();
    QCOMPARE(f->document().stations().count(), 31);
    if (edit.contains(QLatin1String("fromto")))
        QTest::mouseClick(f->control<RadioGroup>("DataFormat")->item(1), Qt::LeftButton);
    if (edit.contains(QLatin1String("orientation"))) {
        f->type("EditPlanOrientationAngle", QStringLiteral("45"));
        QTest::keyClick(f->control<QLineEdit>("EditPlanOrientationAngle"), Qt::Key_Return);
        QTest::mouseClick(f->control<RadioGroup>("DataStyle")->item(1), Qt::LeftButton);
        QTest::mouseClick(f->control<RadioGroup>("DataFormat")->item(2), Qt::LeftButton);
    }
    if (edit.contains(QLatin1String("add"))) {
        f->placePoints(QPoint(300, 200), QPoint(320, 210));
        f->click("ButtonAdd");
        QCOMPARE(f->document().stations().count(), 32);
    }
    f->dialogs().answerFile(path(typed));
    f->click(button.toLatin1().constData());
    QCOMPARE(f->dialogs().messages(), QStringList());
    // The project as the window now holds it, through the command line.
    f->dialogs().answerFile(path(QStringLiteral("now.sprj")));
    f->window().projects().saveAs();
    QProcess exporter;
    exporter.start(QStringLiteral(SPEOMARK_EXPORT), {QStringLiteral("--format"), exported, path(QStringLiteral("now.sprj"))});
    QVERIFY(exporter.waitForFinished(30000));
    QCOMPARE(exporter.exitCode(), 0);
    const QByteArray expected = exporter.readAllStandardOutput();
    QVERIFY(expected.count("\r\n") > 25);
    QCOMPARE(fileBytes(written), expected);
}

void OutputCommands::firstSaveAsksForANameThenSavesInTheNewLayout()
{
    loadFiveStations(f->document());
    f->dialogs().answerFile(path(QStringLiteral("cave"))); // the dialog makes it cave.cav, the layout's
    f->click("Button7");
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    QCOMPARE(filesWritten(), QStringList{"cave.cav"});
    QCOMPARE(f->session().dataFileName(), path(QStringLiteral("cave")));
    QCOMPARE(preview().windowTitle(), path(QStringLiteral("cave")) + QStringLiteral(" - просмотр"));
    QCOMPARE(f->dialogs().shown.size(), 1);
    QCOMPARE(f->dialogs().shown[0].dialog.defaultSuffix, QStringLiteral("cav"));
    QVERIFY(f->dialogs().shown[0].dialog.overwritePrompt);

    // A changed survey is built again, in the layout chosen now, and saved without a dialog.
    QTest::mouseClick(f->control<RadioGroup>("DataFormat")->item(2), Qt::LeftButton);
    QTest::mouseClick(f->control<RadioGroup>("DataStyle")->item(1), Qt::LeftButton);
    f->click("Button7");
    QCOMPARE(f->dialogs().fileDialogsShown(), 1);
    QCOMPARE(fileBytes(QStringLiteral("cave.svx")), fixture(QStringLiteral("five-stations.survex-depthchange.svx")));
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    QCOMPARE(f->session().dataFileName(), path(QStringLiteral("cave")));
    // Save as opens at the file last written.
    f->click("Button10");
    QCOMPARE(f->dialogs().shown.last().dialog.fileName, path(QStringLiteral("cave.svx")));
}

// What the user typed into the preview is saved as typed while the survey is as the text was
// built from; once the survey changed, Save asks which to keep.
void OutputCommands::editedPreviewIsSavedWhileTheSurveyIsUnchanged()
{
    loadFiveStations(f->document());
    f->click("Button5");
    preview().textBox->setPlainText(QStringLiteral("*begin\n; checked by hand, пещера\n*end")); // as typed
    f->dialogs().answerFile(path(QStringLiteral("edited")));
    f->click("Button7");
    const QByteArray edited("*begin\r\n; checked by hand, \xEF\xE5\xF9\xE5\xF0\xE0\r\n*end\r\n");
    QCOMPARE(fileBytes(QStringLiteral("edited.cav")), edited);
    f->dialogs().answerFile(path(QStringLiteral("again.txt")));
    f->click("Button10");
    QCOMPARE(fileBytes(QStringLiteral("again.txt")), edited);
    QCOMPARE(f->dialogs().shown.size(), 2); // no question while nothing changed

    // The survey changes: keep the edits (Yes), cancel (nothing written), or rebuild (No). Save
    // writes the data file Save as named last.
    f->type("EditPlanOrientationAngle", QStringLiteral("90"));
    f->dialogs().answerQuestion(Answer::Yes);
    f->click("Button7");
    QCOMPARE(f->dialogs().shown.last().kind, ScriptedDialogs::Shown::Kind::Question);
    QCOMPARE(fileBytes(QStringLiteral("again.cav")), edited);
    QFile::remove(path(QStringLiteral("again.cav")));
    f->dialogs().answerQuestion(Answer::Cancel);
    f->click("Button7");
    QVERIFY(!QFile::exists(path(QStringLiteral("again.cav"))));
    f->dialogs().answerQuestion(Answer::No);
    f->click("Button7");
    const QByteArray rebuilt = fileBytes(QStringLiteral("again.cav"));
    QVERIFY2(rebuilt.startsWith("#from_to\r\nA\tB\t5.00\t306.87\t"), rebuilt.constData());
    QCOMPARE(preview().lines().join(QStringLiteral("\r\n")).toLatin1() + "\r\n", rebuilt);
    QCOMPARE(f->dialogs().shown.size(), 5);
}

void OutputCommands::saveAfterCloseProjectAsksAgain()
{
    loadFiveStations(f->document());
    f->dialogs().answerFile(path(QStringLiteral("cave")));
    f->click("Button7");
    f->dialogs().answerQuestion(Answer::No);
    f->click("ButtonCloseProject");
    QVERIFY(f->session().dataFileName().isEmpty());
    QCOMPARE(preview().windowTitle(), QStringLiteral("Файл данных - просмотр"));
    f->click("Button7"); // the dialog is shown and cancelled
    QCOMPARE(f->dialogs().fileDialogsShown(), 2);
}

void OutputCommands::viewAlwaysBuildsAndShowsThePreview()
{
    loadFiveStations(f->document());
    f->document().setModified(false);
    preview().setLines({QStringLiteral("hand edit")});
    f->click("Button5");
    QVERIFY(preview().isVisible());
    QCOMPARE(preview().lines(), (QStringList{"#from_to", "A\tB\t5.00\t36.87\t0.00\t", "B\tC\t6.32\t0.00\t-18.43\t",
                                             "B\tD\t5.00\t90.00\t36.87\t ; sump"}));
    QVERIFY(!f->document().modified());
    QVERIFY(f->session().dataFileName().isEmpty());
    QVERIFY(f->dialogs().shown.isEmpty());
}

void OutputCommands::aFailingBuildKeepsWhatItShould()
{
    loadFiveStations(f->document());
    f->dialogs().answerFile(path(QStringLiteral("cave")));

    // A leg that cannot be computed (a coordinate that is no number): the lines before it stay,
    // nothing is saved.
    f->document().editStations([](StationTable &table) { table.at(2).planXMetres = std::numeric_limits<float>::infinity(); });
    f->click("Button7");
    QCOMPARE(f->dialogs().messages().last(), QStringLiteral("Недопустимая операция с плавающей точкой"));
    QCOMPARE(preview().lines(), (QStringList{"#from_to", "A\tB\t5.00\t36.87\t0.00\t"}));
    QCOMPARE(f->dialogs().fileDialogsShown(), 0);
    QCOMPARE(filesWritten(), QStringList());

    // Two stations at one place in style Angle are a leg of nothing; the text is saved whole.
    f->document().editStations([](StationTable &table) {
        table.at(2).planXMetres = table.at(1).planXMetres;
        table.at(3) = table.at(2);
        table.at(2).branchEnd = false;
    });
    f->click("Button7");
    QCOMPARE(preview().lines(), (QStringList{"#from_to", "A\tB\t5.00\t36.87\t0.00\t", "B\tC\t6.32\t0.00\t-18.43\t",
                                             "C\tC\t0.00\t0.00\t0.00\t", ";sump"}));
    QCOMPARE(filesWritten(), QStringList{"cave.cav"});
}

void OutputCommands::failedWritesSayWhyAndKeepTheOldFile()
{
    loadFiveStations(f->document());
    f->dialogs().answerFile(path(QStringLiteral("cave")));
    f->click("Button7");
    const QByteArray good = fileBytes(QStringLiteral("cave.cav"));

    // A text typed into the preview that the file cannot hold is refused before anything is written.
    preview().textBox->setPlainText(QStringLiteral("洞穴"));
    f->click("Button7");
    QVERIFY(f->dialogs().messages().last().contains(QStringLiteral("洞穴")));
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), good);

    // A disk that fills up part of the way: the write fails, is reported, and the good file of
    // that name is still there, whole.
    f->click("Button5");
    {
        FileSizeLimit full(16);
        f->click("Button7");
    }
    QVERIFY2(f->dialogs().messages().last().startsWith(QStringLiteral("Не удаётся записать файл ")),
             qPrintable(f->dialogs().messages().join("|")));
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), good);
    QCOMPARE(filesWritten(), QStringList{"cave.cav"});

    // A folder that does not exist: the message names the file; name and caption stay.
    f->dialogs().answerFile(path(QStringLiteral("no such folder/cave")));
    f->click("Button10");
    QVERIFY(f->dialogs().messages().last().startsWith(QStringLiteral("Не удаётся создать файл ")));
    QVERIFY(f->dialogs().messages().last().contains(QStringLiteral("no such folder")));
    QCOMPARE(f->session().dataFileName(), path(QStringLiteral("cave")));
    QCOMPARE(preview().windowTitle(), path(QStringLiteral("cave")) + QStringLiteral(" - просмотр"));
}

void OutputCommands::closePromptAnswers_data()
{
    QTest::addColumn<QString>("project");    // the job's project file ("" = never saved)
    QTest::addColumn<bool>("projectChanged"); // edits since it was saved
    QTest::addColumn<QString>("dataFile");   // the data file saved before ("" = never saved)
    QTest::addColumn<bool>("modified");       // stations added since the data file was written
    QTest::addColumn<int>("answer");         // -1: no question expected
    QTest::addColumn<QString>("dialogAnswer"); // file chosen in the project dialog, "" = cancel
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("unsaved");    // what the question names
    QTest::addColumn<QStringList>("written"); // files written by closing
    const int yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel);
    QTest::newRow("nothing unsaved") << "cave.sprj" << false << "" << false << -1 << "" << true << "" << QStringList();
    QTest::newRow("project saved, no data file") << "cave.sprj" << false << "" << true << -1 << "" << true << ""
                                                 << QStringList();
    QTest::newRow("cancel") << "" << true << "" << true << cancel << "" << false << "ни разу не сохранялся" << QStringList();
    QTest::newRow("no") << "cave.sprj" << true << "" << true << no << "" << true << "cave.sprj" << QStringList();
    QTest::newRow("yes, new project: named and saved")
        << "" << true << "" << true << yes << "typed" << true << "ни разу не сохранялся" << QStringList{"typed.sprj"};
    QTest::newRow("yes, new project, dialog cancelled")
        << "" << true << "" << true << yes << "" << false << "ни разу не сохранялся" << QStringList();
    QTest::newRow("yes, known project") << "cave.sprj" << true << "" << true << yes << "" << true << "cave.sprj"
                                        << QStringList{"cave.sprj"};
    QTest::newRow("yes, project and data file") << "cave.sprj" << true << "cave" << true << yes << "" << true
                                                << "cave.cav" << QStringList{"cave.cav", "cave.sprj"};
    QTest::newRow("yes, only the data file behind") << "cave.sprj" << false << "cave" << true << yes << "" << true
                                                    << "cave.cav" << QStringList{"cave.cav"};
}

void OutputCommands::closePromptAnswers()
{
    QFETCH(QString, project);
    QFETCH(bool, projectChanged);
    QFETCH(QString, dataFile);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(QString, dialogAnswer);
    QFETCH(bool, closed);
    QFETCH(QString, unsaved);
    QFETCH(QStringList, written);
    loadFiveStations(f->document());
    f->document().setModified(modified);
    f->session().setProject(project.isEmpty() ? QString() : path(project), projectChanged);
    if (!dataFile.isEmpty())
        f->session().setDataFileName(path(dataFile));
    f->window().recovery().write();
    if (answer >= 0)
        f->dialogs().answerQuestion(Answer(answer));
    if (!dialogAnswer.isEmpty())
        f->dialogs().answerFile(path(dialogAnswer));
    QCOMPARE(f->window().close(), closed);
    QCOMPARE(f->window().isVisible(), !closed);
    if (answer >= 0) {
        QCOMPARE(f->dialogs().shown[0].caption, QStringLiteral("Speomark: подтверждение"));
        QVERIFY(f->dialogs().shown[0].text.startsWith(QStringLiteral("Файл изменён. Сохранить?")));
        QVERIFY2(f->dialogs().shown[0].text.contains(unsaved), qPrintable(f->dialogs().shown[0].text));
    } else {
        QVERIFY(f->dialogs().shown.isEmpty());
    }
    QCOMPARE(filesWritten(), written);
    for (const QString &file : written) {
        if (file.endsWith(QLatin1String(".cav")))
            QCOMPARE(fileBytes(file), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
        else // the project on disk holds the edits
            QCOMPARE(ProjectFile::read(path(file)).stations.count(), 5);
    }
    // The work stays recoverable until it is saved or given up.
    const bool workLeft = !closed && (projectChanged || modified);
    QCOMPARE(f->window().recovery().exists(), workLeft);
    if (!closed)
        QCOMPARE(f->document().stations().count(), 5);
}

void OutputCommands::savePictureBeforeAnImageDoesNothing()
{
    f->click("Button4");
    f->click("Button8");
    QVERIFY(f->dialogs().shown.isEmpty());
}

void OutputCommands::savePictureWritesTheSourceSizeBitmap()
{
    QImage plan(120, 80, QImage::Format_RGB32);
    plan.fill(qRgb(200, 180, 150));
    QVERIFY(plan.save(path(QStringLiteral("plan.png"))));
    f->dialogs().answerFile(path(QStringLiteral("plan.png")));
    f->click("OpenLeftBtn");
    f->waitForImages();
    f->document().editStations([](StationTable &table) {
        Station station{};
        station.planX = 30.0f;
        station.planY = 40.0f;
        table.assign({station});
    });
    f->click("LeftPlus");
    auto *pane = f->control<ImagePane>("ImageLeft");
    QCOMPARE(pane->size(), QSize(240, 160));

    f->dialogs().answerFile(path(QStringLiteral("left")));
    f->click("Button4");
    const QByteArray bmp = fileBytes(QStringLiteral("left.bmp"));
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    auto int32At = [&](int at) { return qFromLittleEndian<qint32>(bmp.constData() + at); };
    QCOMPARE(int32At(18), 120); // source size, not the zoomed one
    QCOMPARE(int32At(22), 80);
    QCOMPARE(qFromLittleEndian<quint16>(bmp.constData() + 28), quint16(24));
    QImage saved;
    QVERIFY(saved.loadFromData(bmp, "BMP"));
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), pane->sourcePicture().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(saved.pixel(30, 40), qRgb(255, 255, 255)); // the station mark's white fill
    QCOMPARE(saved.pixel(5, 70), qRgb(200, 180, 150));
}

void OutputCommands::detailsAndOtherProgramsFiles()
{
    // File > Survey Details puts the cave in the Survex text as one undoable step, and Save as
    // writes Therion and Compass files by the filter chosen.
    SurveyDocument &document = f->document();
    loadFiveStations(document);
    document.setFormat(SurveyFormat::Survex);
    SurveyDetails details;
    details.caveName = QStringLiteral("Учебная");
    f->dialogs().answerDetails(details);
    f->window().editSurveyDetails();
    QCOMPARE(document.details().caveName, QStringLiteral("Учебная"));
    QCOMPARE(f->history().undoText(), QStringLiteral("правку сведений о съёмке"));
    f->window().viewSurveyText();
    QVERIFY(f->textWindow().lines().first().startsWith(QStringLiteral("*begin")));
    QVERIFY(f->textWindow().lines().join('\n').contains(QStringLiteral("Учебная")));
    f->history().undo();
    QVERIFY(document.details().isEmpty());

    f->dialogs().answerFile(path(QStringLiteral("cave")), SurveyOutput::filter(ExportFormat::Therion));
    f->window().saveSurveyTextAs();
    f->dialogs().answerFile(path(QStringLiteral("cave.dat")), SurveyOutput::filter(ExportFormat::Compass));
    f->window().saveSurveyTextAs();
    QVERIFY(fileBytes(QStringLiteral("cave.th")).contains("  centreline\r\n"));
    QVERIFY(fileBytes(QStringLiteral("cave.dat")).contains("FROM"));
    QVERIFY(f->session().dataFileName().isEmpty()); // Save still asks for the Survex file

    // Survex's extend file and the files Survex writes take their own extension, not the Lumaro
    // default the dialog adds.
    f->dialogs().answerFile(path(QStringLiteral("cave")), SurveyOutput::filter(ExportFormat::SurvexExtend));
    f->window().saveSurveyTextAs();
    QVERIFY(fileBytes(QStringLiteral("cave.espec")).startsWith("; Survex extend"));
    if (SurvexExport::available()) {
        f->dialogs().answerFile(path(QStringLiteral("cave")), SurvexExport::filter(SurvexFile::Dxf));
        f->window().saveSurveyTextAs();
        QTRY_VERIFY_WITH_TIMEOUT(fileBytes(QStringLiteral("cave.dxf")).contains("SECTION"), 30000);
    }
}

// Closing asks about the data file only while Save would write other bytes than it holds, however
// the job was saved (the project alone resets nothing of the data file's).
void OutputCommands::theCloseQuestionNamesWhatDiffersFromTheDisk()
{
    SurveyDocument document;
    EditSession session;
    SurveyOutput output(document, session);
    loadFiveStations(document);
    QVERIFY(!output.dataFileDiffers()); // no data file yet: nothing to name
    const SurveyOutput::Target target = output.saveTarget(path(QStringLiteral("cave")));
    output.write(output.build(target.format).previewLines(), target);
    QVERIFY(!output.dataFileDiffers());
    document.setOrientationEntry(QStringLiteral("45"));
    document.setModified(false); // as a project save leaves it
    QVERIFY(output.dataFileDiffers());
    document.setOrientationEntry(QStringLiteral("0"));
    QVERIFY(!output.dataFileDiffers());
    QFile::remove(target.path);
    QVERIFY(output.dataFileDiffers());
}

QTEST_MAIN(OutputCommands)
#include "test_output_commands.moc"
