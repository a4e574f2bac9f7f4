// Survey data files and pictures: the names Save and Save as write, and View, Save, Save as, the
// picture buttons and the save prompt driven through the window with scripted dialogs and real
// files in a scratch folder.
#include "app/ui/RadioGroup.h"
#include "app/ui/SurveyTextWindow.h"
#include "output/SurveyOutput.h"
#include "project/ProjectFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "support/WindowFixture.h"
#include "views/ui/ImagePane.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
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
    void firstSaveAsksForANameThenSavesInTheNewLayout();
    void saveWithoutChangesWritesTheEditedPreview();
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
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("known");      // the data file saved before ("" = none)
    QTest::addColumn<QString>("chosen");     // the name from the dialog ("" = not shown)
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("remembered"); // the data file's name afterwards
    const int label = int(SurveyFormat::LumaroLabel), fromTo = int(SurveyFormat::LumaroFromTo),
              survex = int(SurveyFormat::Survex);
    // Save puts the layout's extension in place of the chosen one.
    QTest::newRow("save, dialog's suffix") << false << fromTo << "" << "cave.dat" << "cave.cav" << "cave";
    QTest::newRow("save, Label layout") << false << label << "" << "cave.txt" << "cave.cav" << "cave";
    QTest::newRow("save, two dots") << false << fromTo << "" << "cave.v2.txt" << "cave.cav" << "cave";
    QTest::newRow("save, known name") << false << survex << "cave" << "" << "cave.svx" << "cave";
    QTest::newRow("save, dot in a folder") << false << fromTo << "caves.old/cave" << "" << "caves.old/cave.cav"
                                           << "caves.old/cave";
    // Save as keeps a chosen extension and adds the layout's only where there is none.
    QTest::newRow("save as, own extension") << true << fromTo << "old" << "cave.txt" << "cave.txt" << "cave";
    QTest::newRow("save as, two dots") << true << fromTo << "" << "cave.v2.txt" << "cave.v2.txt" << "cave";
    QTest::newRow("save as, no extension") << true << survex << "" << "cave" << "cave.svx" << "cave";
    QTest::newRow("save as, dot in a folder") << true << fromTo << "" << "caves.old/cave" << "caves.old/cave.cav"
                                              << "caves.old/cave";
}

void OutputCommands::savedNamesTakeTheLayoutExtension()
{
    QFETCH(bool, saveAs);
    QFETCH(int, format);
    QFETCH(QString, known);
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(QString, remembered);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("caves.old")));
    SurveyDocument document;
    EditSession session;
    SurveyOutput output(document, session);
    document.setFormat(SurveyFormat(format));
    document.setModified(true);
    if (!known.isEmpty())
        session.setDataFileName(path(known));
    const QStringList lines{QStringLiteral("*begin"), QStringLiteral("*end")};
    const QString chosenPath = chosen.isEmpty() ? QString() : path(chosen);
    const QString result = saveAs ? output.saveAs(lines, chosenPath) : output.save(lines, chosenPath);
    QCOMPARE(result, path(written));
    QCOMPARE(filesWritten(), QStringList{written});
    QCOMPARE(fileBytes(written), QByteArray("*begin\r\n*end\r\n"));
    QCOMPARE(session.dataFileName(), path(remembered));
    QVERIFY(document.modified()); // only the save prompt's "Yes" clears it
}

void OutputCommands::firstSaveAsksForANameThenSavesInTheNewLayout()
{
    loadFiveStations(f->document());
    f->dialogs().answerFile(path(QStringLiteral("cave"))); // the dialog makes it cave.dat
    f->click("Button7");
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    QCOMPARE(filesWritten(), QStringList{"cave.cav"});
    QCOMPARE(f->session().dataFileName(), path(QStringLiteral("cave")));
    QCOMPARE(preview().windowTitle(), path(QStringLiteral("cave")) + QStringLiteral(" - просмотр"));
    QCOMPARE(f->dialogs().shown.size(), 1);
    QCOMPARE(f->dialogs().shown[0].dialog.defaultSuffix, QStringLiteral("dat"));
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

void OutputCommands::saveWithoutChangesWritesTheEditedPreview()
{
    loadFiveStations(f->document());
    f->document().setModified(false); // as right after opening a project
    preview().setLines({QStringLiteral("*begin"), QStringLiteral("; checked by hand, пещера"), QStringLiteral("*end")});
    f->dialogs().answerFile(path(QStringLiteral("edited")));
    f->click("Button7");
    QCOMPARE(fileBytes(QStringLiteral("edited.cav")),
             QByteArray("*begin\r\n; checked by hand, \xEF\xE5\xF9\xE5\xF0\xE0\r\n*end\r\n"));
    f->dialogs().answerFile(path(QStringLiteral("again.txt")));
    f->click("Button10");
    QCOMPARE(fileBytes(QStringLiteral("again.txt")), fileBytes(QStringLiteral("edited.cav")));
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
    preview().setLines({QStringLiteral("before")});
    // An orientation that is not a number changes nothing.
    f->control<QLineEdit>("EditPlanOrientationAngle")->setText(QStringLiteral("abc"));
    f->click("Button5");
    QCOMPARE(f->dialogs().messages(), QStringList{"«abc» — неверное число"});
    QCOMPARE(preview().lines(), QStringList{"before"});
    f->dialogs().answerFile(path(QStringLiteral("cave")));
    f->click("Button7");
    QCOMPARE(f->dialogs().fileDialogsShown(), 0);

    // A leg that cannot be computed (a coordinate that is no number): the lines before it stay,
    // nothing is saved.
    f->control<QLineEdit>("EditPlanOrientationAngle")->setText(QStringLiteral("0"));
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

    // A text the file cannot hold is refused before anything is written.
    f->document().setModified(false);
    preview().setLines({QStringLiteral("洞穴")});
    f->click("Button7");
    QVERIFY(f->dialogs().messages().last().contains(QStringLiteral("洞穴")));
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), good);

    // A disk that fills up part of the way: the write fails, is reported, and the good file of
    // that name is still there, whole.
    f->document().setModified(true);
    {
        FileSizeLimit full(16);
        f->click("Button7");
    }
    QVERIFY2(f->dialogs().messages().last().startsWith(QStringLiteral("Не удаётся записать файл ")),
             qPrintable(f->dialogs().messages().join("|")));
    QCOMPARE(fileBytes(QStringLiteral("cave.cav")), good);
    QCOMPARE(filesWritten(), QStringList{"cave.cav"});

    // A folder that does not exist: the message names the file; name and caption stay.
    preview().setLines({QStringLiteral("x")});
    f->dialogs().answerFile(path(QStringLiteral("no such folder/cave")));
    f->click("Button10");
    QVERIFY(f->dialogs().messages().last().startsWith(QStringLiteral("Не удаётся создать файл ")));
    QVERIFY(f->dialogs().messages().last().contains(QStringLiteral("no such folder")));
    QCOMPARE(f->session().dataFileName(), path(QStringLiteral("cave")));
    QCOMPARE(preview().windowTitle(), path(QStringLiteral("cave")) + QStringLiteral(" - просмотр"));
}

void OutputCommands::closePromptAnswers_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("knownName");    // the data file saved before ("" = never saved)
    QTest::addColumn<QString>("dialogAnswer"); // file chosen in the save dialog, "" = cancel
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("written");      // file expected afterwards, "" = none
    QTest::newRow("no changes") << false << int(Answer::Cancel) << "" << "" << true << "";
    QTest::newRow("cancel") << true << int(Answer::Cancel) << "" << "" << false << "";
    QTest::newRow("no") << true << int(Answer::No) << "" << "" << true << "";
    QTest::newRow("yes, known name") << true << int(Answer::Yes) << "cave" << "" << true << "cave.cav";
    QTest::newRow("yes, dialog") << true << int(Answer::Yes) << "" << "typed" << true << "typed.dat";
    QTest::newRow("yes, dialog cancelled") << true << int(Answer::Yes) << "" << "" << false << "";
}

void OutputCommands::closePromptAnswers()
{
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(QString, knownName);
    QFETCH(QString, dialogAnswer);
    QFETCH(bool, closed);
    QFETCH(QString, written);
    loadFiveStations(f->document());
    f->document().setModified(modified);
    if (!knownName.isEmpty())
        f->session().setDataFileName(path(knownName));
    f->dialogs().answerQuestion(Answer(answer));
    if (!dialogAnswer.isEmpty())
        f->dialogs().answerFile(path(dialogAnswer));
    QCOMPARE(f->window().close(), closed);
    QCOMPARE(f->window().isVisible(), !closed);
    if (modified) {
        QCOMPARE(f->dialogs().shown[0].caption, QStringLiteral("Speomark: подтверждение"));
        QCOMPARE(f->dialogs().shown[0].text, QStringLiteral("Файл изменён. Сохранить?"));
    } else {
        QVERIFY(f->dialogs().shown.isEmpty());
    }
    QCOMPARE(filesWritten(), written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty())
        QCOMPARE(fileBytes(written), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
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
    QCOMPARE(f->history().stack().undoText(), QStringLiteral("правку сведений о съёмке"));
    f->window().viewSurveyText();
    QVERIFY(f->textWindow().lines().first().startsWith(QStringLiteral("*begin")));
    QVERIFY(f->textWindow().lines().join('\n').contains(QStringLiteral("Учебная")));
    f->history().stack().undo();
    QVERIFY(document.details().isEmpty());

    f->dialogs().answerFile(path(QStringLiteral("cave")), SurveyOutput::filter(SurveyOutput::OtherFormat::Therion));
    f->window().saveSurveyTextAs();
    f->dialogs().answerFile(path(QStringLiteral("cave.dat")), SurveyOutput::filter(SurveyOutput::OtherFormat::Compass));
    f->window().saveSurveyTextAs();
    QVERIFY(fileBytes(QStringLiteral("cave.th")).contains("  centreline\r\n"));
    QVERIFY(fileBytes(QStringLiteral("cave.dat")).contains("FROM"));
    QVERIFY(f->session().dataFileName().isEmpty()); // Save still asks for the Survex file
}

QTEST_MAIN(OutputCommands)
#include "test_output_commands.moc"
