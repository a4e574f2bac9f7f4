#pragma once

#include "document/EditHistory.h"
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "app/ui/FileDialogs.h"
#include "widgets/DialogService.h"
#include "widgets/Language.h"
#include "output/SurveyOutput.h"
#include "project/ProjectController.h"
#include "app/ui/CheckWindows.h"
#include "app/ui/ProjectFiles.h"
#include "app/ui/SheetCommands.h"
#include "app/ui/RecoveryKeeper.h"
#include "stations/StationEditor.h"
#include "stations/WallSearch.h"
#include "views/ScaleCalibration.h"
#include "views/ScanOpening.h"
#include "views/PaneTool.h"
#include "views/ViewEditor.h"
#include "views/ViewSnapshot.h"
#include "stations/PassageWalls.h"
#include "stations/PaneInput.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class CentrelineWindow;
class SurvexExport;
class DataFileBox;
class SurveyCheckWindow;
class HelpWindow;
class ImagePane;
class ModeBox;
class NumberField;
class PaneArea;
class ProjectionBoxes;
class Panel;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QDockWidget;
class QDragEnterEvent;
class QKeyEvent;
class QDropEvent;
class QScrollArea;
class QStatusBar;
class QTabBar;
class StationBox;
class StationsList;
class SurveyTextWindow;
class ViewStrip;
class WindowMenus;

// The main window: it owns the survey document, the editing session and the controllers that
// change them, and shows them in its panels. A command's slot reads the controls, calls one
// controller and returns; the document and the session report what changed, and the window
// redraws the views concerned and sets every control's state in one place (updateControls).
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The secondary windows, created after this one (see SpeomarkWindows).
    void setSecondaryWindows(SurveyTextWindow *textWindow, HelpWindow *helpWindow);

    SurveyDocument &document() { return m_document; }
    EditSession &session() { return m_session; }
    EditHistory &history() { return m_history; }

    // Dialogs and message boxes go through this service; tests install a scripted one.
    DialogService &dialogs() { return *m_dialogs; }
    void setDialogService(std::unique_ptr<DialogService> service);

    // Runs a command; an error it raises ends it and is shown in a message box. Every command
    // connected to a control runs through here, so no exception reaches the event loop.
    void guard(const std::function<void()> &command);

    // The cursor position shown in the status bar for a view.
    QString positionText(ViewSide side) const;

    // Open Existing Project after its dialog, and a project named on the command line. The scans
    // are read off the window's thread; the job changes only once they have been read.
    void openProject(const QString &path);
    // Reads scans for the window (tests wait on it).
    ImageLoader &imageLoader() { return m_opening.loader(); }
    // At start-up: offers each job crashed programs left behind, one question each (discarding
    // asks once more); true when one was taken up in this window. Further jobs taken up go to
    // windows the opener makes (without one they are left for the next start); files that cannot
    // be read are reported once and set aside.
    bool offerRecovery();
    void setWindowOpener(std::function<MainWindow *()> opener) { m_openWindow = std::move(opener); }
    // Takes up one job left behind: its project file, its edits and what was being typed.
    void recover(const RecoveryFile::Left &left);
    RecoveryKeeper &recovery() { return *m_recovery; }

    // ---- Commands ----
    // Views
    void openImage(ViewSide side);
    void openImageFile(ViewSide side, const QString &path);
    // A new sheet from a scan: its dialog, then read like any scan (the rest: SheetCommands).
    void addSheet(ViewSide side);
    void addSheetFromFile(ViewSide side, const QString &path);
    using MeasureKind = PaneInput::Measure;
    // The next two left clicks on the view measure its scale bar (then the length is asked) or,
    // on the plan, its north arrow.
    void startMeasuring(ViewSide side, MeasureKind kind);
    void stopMeasuring();
    void actualSize(ViewSide side);
    void zoomIn(ViewSide side);
    void zoomOut(ViewSide side);
    // The mouse on a pane, as the pane reports it: handed to the pane input.
    void pressOnPane(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    void moveOnPane(ViewSide side, Qt::MouseButtons buttons, QPoint at, Qt::KeyboardModifiers modifiers = {});
    void releaseOnPane(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    void keepInView(int index);
    void setWorkTabOrder();
    // Where and how large the window was when last closed; at the first start most of the
    // screen. The program calls it before showing the window (tests keep the fixed first size).
    void placeAsLastClosed();
    void applyScale(ViewSide side);
    // Stations
    void addStation();
    void chooseMoveMode();
    void insertStation();
    void deleteStation();
    // Survey data output
    void viewSurveyText();
    void saveSurveyText();
    void saveSurveyTextAs();
    // Survex's own viewer: after cavern has computed the survey, without waiting for it (the
    // status bar says it is busy, a message how it failed).
    void openInAven();
    void editSurveyDetails();
    void savePicture(ViewSide side);
    SurveyOutput::PromptResult askToSaveChanges();
    // Project files
    void openProjectFromDialog();
    ProjectFiles &projects() { return m_projects; }
    CheckWindows &checks() { return *m_checks; }
    SheetCommands &sheets() { return m_sheets; }
    // false when the user chose to keep the job
    bool closeProject();
    // Close Project, and the survey check, 3D view and text windows with it.
    void closeAll();
    // Survey check
    // A station picked in the check: selected in Move mode, both views brought to it.
    void showStation(int index);
    // Window
    void showHelp();
    // Remembers the interface's language for the next start.
    void chooseLanguage(Language::Choice choice);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createPanels();
    void createMenu();
    void connectMenus();
    void connectOptions();
    void editWalls(bool on);
    void cancel();
    void nameControls(); // the strip and the panes
    void nameLowerControls();
    void connectCommands();
    void connectPanels();
    template <class Sender, class Signal, class Slot> void command(Sender *sender, Signal signal, Slot slot);

    void createStationsList();
    // What the pane input decided, shown: the pane scrolled, the status bar's texts.
    void showInput(ViewSide side, const PaneInput::Outcome &outcome);
    PaneInput::Pane paneBox(ViewSide side) const;
    PaneInput::Asking paneAsking(); // the status bar, the dialogs and Add, for the pane input
    // A key pressed in a text box that one of the window's Ctrl or Alt shortcuts should take.
    bool windowShortcutWins(const QKeyEvent *key) const;
    ViewSide paneUnderCursor() const;
    // Asks, tells and does what opening scans needs next (see ScanOpening).
    void runScanOpening();
    // An opened project put in place once its scans are read; the scans it could not show.
    QList<ScanOpening::Unopened> projectRead(const ProjectContents &project, const QString &path,
                                             const QByteArray &digest, ImageRead plan, ImageRead profile);
    bool busyReading();
    // Marks the project as open here; false when the user chose not to open one another program
    void documentChanged(SurveyDocument::Parts parts, StationRange stations);
    void sessionChanged(EditSession::Parts parts);
    void redraw(ViewSide side);
    void updateControls();

    // Where the text Save writes in a format comes from: built afresh, or the preview as the user
    // edited it (asked when the survey changed since it was built); none when the user cancelled.
    std::optional<SurveyOutput::TextSource> askTextSource(ExportFormat format);
    // The same for the ticked layout, whose text is built (and shown) when it is to be.
    std::optional<SurveyOutput::TextSource> tickedTextSource();
    // Writes the target, the ticked layout's text as `tickedSource` settled it.
    void saveTo(const SurveyOutput::Target &target, SurveyOutput::TextSource tickedSource);
    // A file survexport writes: after cavern has computed the survey, without waiting for it (the
    // status bar says it is busy, a message how it failed).
    void startSurvexport(const SurveyOutput::Target &target, SurveyOutput::TextSource source);
    // "Yes" to the close question: the project when it changed, then the job's data file; false
    // when a dialog was cancelled.
    bool saveOnClosing();
    // Saves the job to `path` (asking first when another program wrote the file since this job
    // The preview shows the text of a job just opened or recovered.
    void showNewJobsText();

    SurveyDocument m_document;
    EditSession m_session;
    EditHistory m_history{m_document, m_session};
    StationEditor m_stationEditor{m_document, m_session, &m_history};
    ViewEditor m_viewEditor{m_document, m_session, &m_history};
    ScaleCalibration m_calibration{m_document, m_session, &m_history};
    // The mouse, the wheel and the keys on the drawings; its questions go through the dialogs.
    PaneInput m_paneInput{m_document, m_session, m_history, m_stationEditor, m_viewEditor, m_calibration, paneAsking()};
    SurveyOutput m_output{m_document, m_session};
    ProjectController m_project{m_document, m_session};
    FileDialogs m_files;
    RecoveryKeeper *m_recovery = new RecoveryKeeper(m_document, m_session, this);
    ProjectFiles m_projects{{this, m_session, m_history, m_project, *m_recovery, m_files.saveProject,
                             [this]() -> DialogService & { return dialogs(); },
                             [this](const QString &line) { statusBar()->showMessage(line); }}};
    std::function<MainWindow *()> m_openWindow; // another window, for a second recovered job
    ScanOpening m_opening{m_document, m_viewEditor}; // every scan read, with its questions
    WallSearch *m_wallSearch = new WallSearch(m_document, m_stationEditor, this);
    std::unique_ptr<DialogService> m_dialogs;
    int m_labelPixels = ViewSnapshot::MediumLabelPixels; // labels' size on screen (View menu)
    SurveyTextWindow *m_textWindow = nullptr;
    SheetCommands m_sheets{this, m_document, m_session, m_viewEditor, [this]() -> DialogService & { return dialogs(); }};
    CheckWindows *m_checks = new CheckWindows(m_document, m_session, this);
    // Keeping the last station in view, a digitising choice kept in the settings (the others
    // are the pane input's).
    bool m_keepLastInView = true;
    SurvexExport *m_survexFile = nullptr;  // the file Save as has Survex write
    QString m_survexFilePath;
    SurvexExport *m_avenModel = nullptr;   // the model aven shows, kept while it may read it
    HelpWindow *m_helpWindow = nullptr;


    PaneArea *m_paneArea = nullptr; // the view strips, the sheets' tabs and the panes
    // Lower panel.
    Panel *m_lowerPanel = nullptr;
    ProjectionBoxes *m_projection = nullptr; // the plan's orientation, the profile's kind and azimuth
    StationBox *m_stationBox = nullptr;
    ModeBox *m_modeBox = nullptr;
    DataFileBox *m_dataFileBox = nullptr;
    QPushButton *m_savePlanPictureButton = nullptr;
    QPushButton *m_saveProfilePictureButton = nullptr;
    Panel *m_helpPanel = nullptr;
    QPushButton *m_helpButton = nullptr;
    QPushButton *m_saveProjectAsButton = nullptr;
    QPushButton *m_closeProjectButton = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QList<QLabel *> m_statusPanels;
    std::unique_ptr<WindowMenus> m_menus; // the menus' and the window keys' actions
    QDockWidget *m_stationsDock = nullptr;
    StationsList *m_stationsList = nullptr;
};
