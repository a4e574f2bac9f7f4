// View, Save, Save as, the picture buttons and the save prompt, driven through the window with
// scripted dialogs and real files in a scratch folder.
#include "app/SpeomarkWindows.h"
#include "support/TestFiles.h"
#include "app/TRadioGroup.h"
#include "app/TTextForm.h"
#include "project/ProjectFile.h"
#include "support/ScriptedDialogs.h"
#include "views/TImagePane.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QtEndian>
#include <csignal>
#include <memory>
#include <sys/resource.h>

// While alive, files this process writes cannot grow beyond a few bytes, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not a killed process
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

class OutputCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstSaveWritesTheLayoutExtensionAndCaption();
    void saveAgainRebuildsInTheNewLayoutWithoutADialog();
    void saveWithoutChangesWritesTheEditedPreview();
    void saveAsKeepsAChosenExtension_data();
    void saveAsKeepsAChosenExtension();
    void aDotInAFolderNameIsNotAnExtension();
    void saveAfterCloseProjectAsksAgain();
    void viewAlwaysBuildsAndShowsThePreview();
    void aFailingBuildKeepsWhatItShould();
    void failedWritesSayWhyAndKeepTheOldFile();
    void closePromptAnswers_data();
    void closePromptAnswers();
    void closingWithoutChangesAsksNothing();
    void savePictureBeforeAnImageDoesNothing();
    void savePictureWritesTheSourceSizeBitmap();

private:
    void loadFiveStations();
    QByteArray fixture(const QString &name) const;
    QByteArray fileBytes(const QString &path) const;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::unique_ptr<SpeomarkWindows> m_windows;
    TSpeomarkForm *form = nullptr;
    ScriptedDialogs *dialogs = nullptr;
};

void OutputCommands::init()
{
    QVERIFY(m_dir.isValid());
    m_windows = std::make_unique<SpeomarkWindows>();
    form = &m_windows->SpeomarkForm;
    dialogs = installScriptedDialogs(*form);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void OutputCommands::cleanup()
{
    form->Modified = 0; // let the window close without asking
    m_windows.reset();
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

QByteArray OutputCommands::fixture(const QString &name) const
{
    return TestFiles::dataBytes(name);
}

QByteArray OutputCommands::fileBytes(const QString &name) const
{
    return TestFiles::bytes(name);
}

// The five stations of the layout examples (A, B, C | B, D), added but not yet saved.
void OutputCommands::loadFiveStations()
{
    const ProjectContents five = ProjectFile::read(TestFiles::dataPath(QStringLiteral("five-stations.sprj")));
    std::copy(five.stations.begin(), five.stations.end(), form->Stations.begin());
    form->StationCount = int(five.stations.size());
    form->Modified = 1;
}

void OutputCommands::firstSaveWritesTheLayoutExtensionAndCaption()
{
    loadFiveStations();
    dialogs->answerFile(path(QStringLiteral("cave"))); // the dialog makes it cave.dat
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QCOMPARE(fileBytes(path(QStringLiteral("cave.cav"))), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    QVERIFY(!QFile::exists(path(QStringLiteral("cave.dat"))));
    QCOMPARE(form->DataFileName, path(QStringLiteral("cave")));
    QCOMPARE(m_windows->TextForm.windowTitle(), path(QStringLiteral("cave")) + QStringLiteral(" - view"));
    QCOMPARE(form->SaveDialog1.fileName, path(QStringLiteral("cave.cav")));
    QCOMPARE(form->Modified, std::uint8_t(1)); // Save does not clear it
    QCOMPARE(dialogs->shown.size(), 1);
    QCOMPARE(dialogs->shown[0].dialog.defaultSuffix, QStringLiteral("dat"));
    QVERIFY(dialogs->shown[0].dialog.overwritePrompt);
}

void OutputCommands::saveAgainRebuildsInTheNewLayoutWithoutADialog()
{
    loadFiveStations();
    dialogs->answerFile(path(QStringLiteral("cave")));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    form->DataFormat->setItemIndex(2);
    form->DataStyle->setItemIndex(1);
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QCOMPARE(dialogs->fileDialogsShown(), 1);
    QCOMPARE(fileBytes(path(QStringLiteral("cave.svx"))),
             fixture(QStringLiteral("five-stations.survex-depthchange.svx")));
    QCOMPARE(fileBytes(path(QStringLiteral("cave.cav"))), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    QCOMPARE(form->DataFileName, path(QStringLiteral("cave")));
}

void OutputCommands::saveWithoutChangesWritesTheEditedPreview()
{
    loadFiveStations();
    form->Modified = 0; // as right after opening a project
    m_windows->TextForm.setLines({QStringLiteral("*begin"), QStringLiteral("; checked by hand, пещера"),
                                  QStringLiteral("*end")});
    dialogs->answerFile(path(QStringLiteral("edited")));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QCOMPARE(fileBytes(path(QStringLiteral("edited.cav"))),
             QByteArray("*begin\r\n; checked by hand, \xEF\xE5\xF9\xE5\xF0\xE0\r\n*end\r\n"));
    dialogs->answerFile(path(QStringLiteral("again.txt")));
    QTest::mouseClick(form->Button10, Qt::LeftButton);
    QCOMPARE(fileBytes(path(QStringLiteral("again.txt"))), fileBytes(path(QStringLiteral("edited.cav"))));
}

void OutputCommands::saveAsKeepsAChosenExtension_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("nextSave");
    QTest::newRow("cave.txt") << "cave.txt" << "cave.txt" << "cave.cav";
    QTest::newRow("typed without extension") << "cave" << "cave.dat" << "cave.cav";
    QTest::newRow("two dots") << "cave.v2.txt" << "cave.v2.txt" << "cave.cav";
}

void OutputCommands::saveAsKeepsAChosenExtension()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QFETCH(QString, nextSave);
    loadFiveStations();
    dialogs->answerFile(path(typed));
    QTest::mouseClick(form->Button10, Qt::LeftButton);
    QCOMPARE(fileBytes(path(written)), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    QCOMPARE(form->DataFileName, path(QStringLiteral("cave")));
    // Save after Save as writes the layout's own extension beside it, without a dialog.
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QCOMPARE(dialogs->fileDialogsShown(), 1);
    QVERIFY(QFile::exists(path(nextSave)));
}

void OutputCommands::aDotInAFolderNameIsNotAnExtension()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("caves.old")));
    loadFiveStations();
    dialogs->answerFile(path(QStringLiteral("caves.old/cave")));
    QTest::mouseClick(form->Button10, Qt::LeftButton);
    QVERIFY(QFile::exists(path(QStringLiteral("caves.old/cave.dat"))));
    QCOMPARE(form->DataFileName, path(QStringLiteral("caves.old/cave")));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QVERIFY(QFile::exists(path(QStringLiteral("caves.old/cave.cav"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("caves.cav"))));
}

void OutputCommands::saveAfterCloseProjectAsksAgain()
{
    loadFiveStations();
    dialogs->answerFile(path(QStringLiteral("cave")));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    dialogs->answerQuestion(Answer::No);
    QTest::mouseClick(form->ButtonCloseProject, Qt::LeftButton);
    QVERIFY(form->DataFileName.isEmpty());
    QCOMPARE(m_windows->TextForm.windowTitle(), QStringLiteral("Text data file - view"));
    QTest::mouseClick(form->Button7, Qt::LeftButton); // the dialog is shown and cancelled
    QCOMPARE(dialogs->fileDialogsShown(), 2);
}

void OutputCommands::viewAlwaysBuildsAndShowsThePreview()
{
    loadFiveStations();
    form->Modified = 0;
    m_windows->TextForm.setLines({QStringLiteral("hand edit")});
    QTest::mouseClick(form->Button5, Qt::LeftButton);
    QVERIFY(m_windows->TextForm.isVisible());
    QCOMPARE(m_windows->TextForm.lines(),
             (QStringList{"#from_to", "A\tB\t5.00\t36.87\t0.00\t", "B\tC\t6.32\t0.00\t-18.44\t",
                          "B\tD\t5.00\t90.00\t36.87\t ; sump"}));
    QCOMPARE(form->Modified, std::uint8_t(0));
    QVERIFY(form->DataFileName.isEmpty());
    QVERIFY(dialogs->shown.isEmpty());
}

void OutputCommands::aFailingBuildKeepsWhatItShould()
{
    loadFiveStations();
    m_windows->TextForm.setLines({QStringLiteral("before")});
    // An orientation that is not a number changes nothing, even with no station at all.
    form->EditPlanOrientationAngle->setText(QStringLiteral("abc"));
    QTest::mouseClick(form->Button5, Qt::LeftButton);
    QCOMPARE(dialogs->messages(), QStringList{"'abc' is not a valid floating point value"});
    QCOMPARE(m_windows->TextForm.lines(), QStringList{"before"});
    dialogs->answerFile(path(QStringLiteral("cave")));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QCOMPARE(dialogs->fileDialogsShown(), 0);

    // A zero-length leg in style Angle: the lines before it stay, nothing is saved.
    form->EditPlanOrientationAngle->setText(QStringLiteral("0"));
    form->Stations[3] = form->Stations[2];
    form->Stations[2].BranchEnd = 0;
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QCOMPARE(dialogs->messages().last(), QStringLiteral("Invalid floating point operation"));
    QCOMPARE(m_windows->TextForm.lines(),
             (QStringList{"#from_to", "A\tB\t5.00\t36.87\t0.00\t", "B\tC\t6.32\t0.00\t-18.44\t"}));
    QCOMPARE(dialogs->fileDialogsShown(), 0);
    QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());
}

void OutputCommands::failedWritesSayWhyAndKeepTheOldFile()
{
    loadFiveStations();
    dialogs->answerFile(path(QStringLiteral("cave")));
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    const QByteArray good = fileBytes(path(QStringLiteral("cave.cav")));

    // A text the file cannot hold is refused before anything is written.
    form->Modified = 0;
    m_windows->TextForm.setLines({QStringLiteral("洞穴")});
    QTest::mouseClick(form->Button7, Qt::LeftButton);
    QVERIFY(dialogs->messages().last().contains(QStringLiteral("洞穴")));
    QCOMPARE(fileBytes(path(QStringLiteral("cave.cav"))), good);

    // A disk that fills up part of the way: the write fails, is reported, and the good file of
    // that name is still there, whole.
    form->Modified = 1;
    {
        FileSizeLimit full(16);
        QTest::mouseClick(form->Button7, Qt::LeftButton);
    }
    QVERIFY2(dialogs->messages().last().startsWith(QStringLiteral("Cannot write file ")), qPrintable(dialogs->messages().join("|")));
    QCOMPARE(fileBytes(path(QStringLiteral("cave.cav"))), good);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"cave.cav"});

    // A folder that does not exist: the message names the file; name and caption stay.
    m_windows->TextForm.setLines({QStringLiteral("x")});
    dialogs->answerFile(path(QStringLiteral("no such folder/cave")));
    QTest::mouseClick(form->Button10, Qt::LeftButton);
    QVERIFY(dialogs->messages().last().startsWith(QStringLiteral("Cannot create file ")));
    QVERIFY(dialogs->messages().last().contains(QStringLiteral("no such folder")));
    QCOMPARE(form->DataFileName, path(QStringLiteral("cave")));
    QCOMPARE(m_windows->TextForm.windowTitle(), path(QStringLiteral("cave")) + QStringLiteral(" - view"));
}

void OutputCommands::closePromptAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("knownName");   // DataFileName before closing ("" = never saved)
    QTest::addColumn<QString>("dialogAnswer"); // file chosen in the save dialog, "" = cancel
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("written");      // file expected afterwards, "" = none
    QTest::newRow("cancel") << int(Answer::Cancel) << "" << "" << false << "";
    QTest::newRow("no") << int(Answer::No) << "" << "" << true << "";
    QTest::newRow("yes, known name") << int(Answer::Yes) << "cave" << "" << true << "cave.cav";
    QTest::newRow("yes, dialog") << int(Answer::Yes) << "" << "typed" << true << "typed.dat";
    QTest::newRow("yes, dialog cancelled") << int(Answer::Yes) << "" << "" << false << "";
}

void OutputCommands::closePromptAnswers()
{
    QFETCH(int, answer);
    QFETCH(QString, knownName);
    QFETCH(QString, dialogAnswer);
    QFETCH(bool, closed);
    QFETCH(QString, written);
    loadFiveStations();
    if (!knownName.isEmpty())
        form->DataFileName = path(knownName);
    dialogs->answerQuestion(Answer(answer));
    if (!dialogAnswer.isEmpty())
        dialogs->answerFile(path(dialogAnswer));
    QCOMPARE(form->close(), closed);
    QCOMPARE(form->isVisible(), !closed);
    QCOMPARE(dialogs->shown[0].caption, QStringLiteral("Speomark: Confirm"));
    QCOMPARE(dialogs->shown[0].text, QStringLiteral("File has been modified. Save?"));
    const QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
    QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty())
        QCOMPARE(fileBytes(path(written)), fixture(QStringLiteral("five-stations.fromto-angle.cav")));
    if (!closed)
        QCOMPARE(form->StationCount, 5);
}

void OutputCommands::closingWithoutChangesAsksNothing()
{
    loadFiveStations();
    form->Modified = 0;
    QVERIFY(form->close());
    QVERIFY(dialogs->shown.isEmpty());
}

void OutputCommands::savePictureBeforeAnImageDoesNothing()
{
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    QTest::mouseClick(form->Button8, Qt::LeftButton);
    QVERIFY(dialogs->shown.isEmpty());
}

void OutputCommands::savePictureWritesTheSourceSizeBitmap()
{
    QImage plan(120, 80, QImage::Format_RGB32);
    plan.fill(qRgb(200, 180, 150));
    QVERIFY(plan.save(path(QStringLiteral("plan.png"))));
    dialogs->answerFile(path(QStringLiteral("plan.png")));
    QTest::mouseClick(form->OpenLeftBtn, Qt::LeftButton);
    form->Stations[0].PlanX = 30.0f;
    form->Stations[0].PlanY = 40.0f;
    form->StationCount = 1;
    QTest::mouseClick(form->LeftPlus, Qt::LeftButton);
    QCOMPARE(form->ImageLeft->size(), QSize(240, 160));

    dialogs->answerFile(path(QStringLiteral("left")));
    QTest::mouseClick(form->Button4, Qt::LeftButton);
    const QByteArray bmp = fileBytes(path(QStringLiteral("left.bmp")));
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    auto int32At = [&](int at) { return qFromLittleEndian<qint32>(bmp.constData() + at); };
    QCOMPARE(int32At(18), 120); // source size, not the zoomed one
    QCOMPARE(int32At(22), 80);
    QCOMPARE(qFromLittleEndian<quint16>(bmp.constData() + 28), quint16(24));
    QImage saved;
    QVERIFY(saved.loadFromData(bmp, "BMP"));
    const QImage expected = form->ImageLeft->sourcePicture();
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(saved.pixel(30, 40), qRgb(255, 255, 255)); // the station mark's white fill
    QCOMPARE(saved.pixel(5, 70), qRgb(200, 180, 150));
}

QTEST_MAIN(OutputCommands)
#include "test_output_commands.moc"
