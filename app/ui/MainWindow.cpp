#include "app/ui/MainWindow.h"
#include "app/ui/ScanQuestions.h"

#include "survey/CommandError.h"
#include "survey/Truncate.h"
#include "widgets/Controls.h"
#include "app/ui/HelpWindow.h"
#include "widgets/Language.h"
#include "widgets/NumberField.h"
#include "widgets/PaneSplitter.h"
#include "widgets/Panel.h"
#include "app/ui/ProjectFiles.h"
#include "app/ui/QtDialogService.h"
#include "app/ui/RecoveryKeeper.h"
#include "app/ui/SheetCommands.h"
#include "app/ui/SurveyTextWindow.h"
#include "app/ui/WindowMenus.h"
#include "checks/SurveyLegs.h"
#include "checks/SurvexExport.h"
#include "app/ui/CheckWindows.h"
#include "app/ui/DocumentCheckSource.h"
#include "checks/ui/CentrelineWindow.h"
#include "checks/ui/SurveyCheckWindow.h"
#include "output/ui/DataFileBox.h"
#include "output/ui/SurveyDetailsDialog.h"
#include "project/ProjectFile.h"
#include "stations/ui/ModeBox.h"
#include "stations/ui/ProjectionBoxes.h"
#include "stations/ui/StationBox.h"
#include "stations/ui/StationsList.h"
#include "views/ui/ImagePane.h"
#include "views/ui/PaneArea.h"
#include "views/ui/LoadProgress.h"
#include "views/ui/ViewStrip.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QCursor>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QNativeGestureEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QApplication>
#include <QStatusBar>
#include <QTabBar>
#include <QWheelEvent>
#include <new>
#include <type_traits>

using namespace Controls;

namespace {

// Sizes of the window's frame parts, in pixels.
constexpr int InitialClientWidth = 881;
constexpr int MinimumClientWidth = 881; // as wide as the window opens: strip and lower panel fit whole
constexpr int MinimumClientHeight = 400;
constexpr int InitialClientHeight = 659;
constexpr int LowerPanelHeight = 160;
constexpr int StatusPanelWidth = 80;
constexpr int PositionPanelWidth = 190; // "(12345 ; 12345)  1234.56 ; 1234.56 m"

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), m_dialogs(std::make_unique<QtDialogService>())
{
    setWindowTitle(QStringLiteral("Speomark"));
    setWindowIcon(Glyphs::icon(Glyphs::applicationIcon()));
    // A narrow sans face at 11 pixels keeps every caption inside the small controls of the panels.
    // Frames with their caption on the line, so controls can sit right under the caption.
    // (The font goes in the same sheet: a sheet on the window would override a font set apart.)
    setStyleSheet(QStringLiteral(
        "MainWindow, MainWindow * { font-family: \"DejaVu Sans Condensed\"; font-size: 11px; }"
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 6px; padding: 0 2px; }"));

    createPanels();
    createStationsList();
    createMenu();
    nameControls();
    connectCommands();
    connectMenus();
    // The recovery file follows the job a few seconds behind, never more often than that.
    connect(m_recovery, &RecoveryKeeper::failed, this, [this](const QString &message) { statusBar()->showMessage(message); });
    // The wheel and pinches over the panes zoom; text boxes let Ctrl+Z through when they have
    // nothing to undo; scans and projects can be dropped on the window.
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        m_paneArea->scrollBox(side)->viewport()->installEventFilter(this);
    for (QLineEdit *box : findChildren<QLineEdit *>())
        box->installEventFilter(this);
    setAcceptDrops(true);
    // The plan pane holds the keyboard at first, so Ctrl+Z, Delete and the arrows reach the survey
    // rather than a text box's own editing.
    m_paneArea->planScroll->setFocus();
    connect(&m_document, &SurveyDocument::changed, this, &MainWindow::documentChanged);
    connect(m_wallSearch, &WallSearch::said, this, [this](const QString &line) { statusBar()->showMessage(line); });
    connect(m_wallSearch, &WallSearch::failed, this, [this](const QString &message) {
        m_dialogs->message(this, QStringLiteral("Speomark"), message, MessageIcon::Error);
    });
    connect(&m_session, &EditSession::changed, this, &MainWindow::sessionChanged);
    setWorkTabOrder();
    updateControls();

    resize(InitialClientWidth, InitialClientHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

MainWindow::~MainWindow()
{
    m_recovery->remove(); // a clean end leaves nothing to recover
}

void MainWindow::setSecondaryWindows(SurveyTextWindow *textWindow, HelpWindow *helpWindow)
{
    m_textWindow = textWindow;
    m_helpWindow = helpWindow;
    connect(m_textWindow, &SurveyTextWindow::edited, this, [this] { m_output.previewEdited(); });
    m_output.setPreview([this](const QStringList &lines) { m_textWindow->setLines(lines); },
                        [this] { return m_textWindow->lines(); });
    updateControls();
}

void MainWindow::setDialogService(std::unique_ptr<DialogService> service)
{
    m_dialogs = std::move(service);
}

void MainWindow::guard(const std::function<void()> &command)
{
    QString failure;
    try {
        command();
        return;
    } catch (const CommandError &error) {
        failure = error.message();
    } catch (const std::bad_alloc &) {
        failure = tr("Out of memory");
    } catch (const std::exception &error) {
        failure = QString::fromLocal8Bit(error.what());
    }
    m_dialogs->message(this, QStringLiteral("Speomark"), failure, MessageIcon::Error);
}

QString MainWindow::positionText(ViewSide side) const
{
    return m_statusPanels.value(side == ViewSide::Plan ? 1 : 2)->text();
}

// ---- Construction ----

void MainWindow::createPanels()
{
    auto *central = new QWidget(this);
    // Every control of the strip and the lower panel keeps its room; a docked list widens the
    // window rather than covering them.
    central->setMinimumSize(MinimumClientWidth, MinimumClientHeight);
    setCentralWidget(central);

    // Upper part: the strip with both views' controls, the sheets' tabs and the two panes.
    m_paneArea = new PaneArea(InitialClientWidth, central);

    // Lower panel: orientation and profile kind, stations, mode, output and project controls.
    m_lowerPanel = new Panel(central);
    m_projection = new ProjectionBoxes(m_lowerPanel);
    m_stationBox = place(new StationBox(m_lowerPanel), 122, 7, 337, 86);
    m_savePlanPictureButton = pushButton(m_lowerPanel, tr("Save left BMP"), 120, 105, 89, 25);
    m_saveProfilePictureButton = pushButton(m_lowerPanel, tr("Save right BMP"), 224, 105, 81, 25);
    m_helpPanel = place(new Panel(m_lowerPanel), 321, 107, 28, 27);
    m_helpButton = pushButton(m_helpPanel, QString(), 2, 0, 25, 25);
    m_helpButton->setIcon(Glyphs::icon(Glyphs::helpQuestion()));
    m_helpButton->setIconSize(QSize(16, 16));
    m_helpButton->setAccessibleName(tr("Help"));
    m_saveProjectAsButton = pushButton(m_lowerPanel, tr("Save Project As"), 367, 94, 91, 25);
    m_closeProjectButton = pushButton(m_lowerPanel, tr("Close Project"), 368, 122, 91, 25);
    m_modeBox = new ModeBox(m_lowerPanel);
    m_modeBox->move(472, 7);
    m_dataFileBox = place(new DataFileBox(m_lowerPanel), 600, 8, 273, 121);

    // Status bar: three panels of 80 pixels; the first is never written, the others show the
    // cursor position on the plan and on the profile.
    m_statusBar = new QStatusBar(this);
    m_statusBar->setSizeGripEnabled(true);
    setStatusBar(m_statusBar);
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(m_statusBar);
        panel->setFixedWidth(i == 0 ? StatusPanelWidth : PositionPanelWidth);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_statusBar->addWidget(panel);
        m_statusPanels.append(panel);
    }
    // What each panel is goes in its description: a name would stand in for the values it shows.
    m_statusPanels[0]->setAccessibleDescription(tr("Status"));
    m_statusPanels[1]->setAccessibleDescription(tr("Cursor on the plan"));
    m_statusPanels[2]->setAccessibleDescription(tr("Cursor on the profile"));
    // How far a scan has been read, with Cancel.
    auto *progress = new LoadProgress(m_statusBar);
    m_statusBar->addPermanentWidget(progress);
    progress->watch(&m_opening.loader());
    connect(&m_opening.loader(), &ImageLoader::finished, this, [this] {
        guard([this] {
            m_opening.readEnded();
            runScanOpening();
        });
    });
}

void MainWindow::createMenu()
{
    m_menus = std::make_unique<WindowMenus>(this, m_history, m_stationsDock->toggleViewAction());
    const WindowMenus &m = *m_menus;
    connect(m.recentMenu, &QMenu::aboutToShow, this, [this] {
        m_menus->showRecentProjects([this](const QString &path) { guard([&] { openProject(path); }); });
    });
    // Shown only while Survex can do it: it may be installed or removed while the program runs.
    const auto showAven = [this] {
        m_menus->openInAven->setVisible(!QStandardPaths::findExecutable(QStringLiteral("aven")).isEmpty()
                                        && !CavernRun::findCavern().isEmpty());
    };
    showAven();
    connect(m.fileMenu, &QMenu::aboutToShow, this, showAven);
    m_survexFile = new SurvexExport(this);
    connect(m_survexFile, &SurvexExport::finished, this, [this](bool succeeded, const QString &message) {
        statusBar()->clearMessage();
        if (succeeded)
            statusBar()->showMessage(tr("Survex wrote %1").arg(QDir::toNativeSeparators(m_survexFilePath)), 10000);
        else
            m_dialogs->message(this, tr("Speomark: Survex"), message, MessageIcon::Error);
    });
    m_avenModel = new SurvexExport(this);
    connect(m_avenModel, &SurvexExport::finished, this, [this](bool succeeded, const QString &message) {
        statusBar()->clearMessage();
        const QString aven = QStandardPaths::findExecutable(QStringLiteral("aven"));
        if (!succeeded)
            m_dialogs->message(this, tr("Speomark: Survex"), message, MessageIcon::Error);
        else if (aven.isEmpty() || !QProcess::startDetached(aven, {m_avenModel->modelPath()}))
            m_dialogs->message(this, tr("Speomark: Survex"), tr("aven could not be started."), MessageIcon::Error);
    });
}

void MainWindow::connectMenus()
{
    const WindowMenus &m = *m_menus;
    const auto sheetUnderCursor = [this] { return m_document.shownSheet(paneUnderCursor()); };
    const std::pair<QAction *, std::function<void()>> commands[] = {
        {m.openPlan, [this] { openImage(ViewSide::Plan); }},
        {m.openProfile, [this] { openImage(ViewSide::Profile); }},
        {m.addPlanSheet, [this] { addSheet(ViewSide::Plan); }},
        {m.addProfileSheet, [this] { addSheet(ViewSide::Profile); }},
        {m.renameSheet, [this, sheetUnderCursor] { m_sheets.rename(sheetUnderCursor()); }},
        {m.removeSheet, [this, sheetUnderCursor] { m_sheets.remove(sheetUnderCursor()); }},
        {m.openProject, [this] { openProjectFromDialog(); }},
        {m.saveProject, [this] { m_projects.save(); }},
        {m.saveProjectAs, [this] { m_projects.saveAs(); }},
        {m.closeProject, [this] { closeProject(); }},
        {m.surveyDetails, [this] { editSurveyDetails(); }},
        {m.viewSurveyData, [this] { viewSurveyText(); }},
        {m.saveSurveyData, [this] { saveSurveyText(); }},
        {m.saveSurveyDataAs, [this] { saveSurveyTextAs(); }},
        {m.openInAven, [this] { openInAven(); }},
        {m.savePlanPicture, [this] { savePicture(ViewSide::Plan); }},
        {m.saveProfilePicture, [this] { savePicture(ViewSide::Profile); }},
        {m.closeAll, [this] { closeAll(); }},
        {m.quit, [this] { close(); }},
        {m.add, [this] { addStation(); }},
        {m.insert, [this] { insertStation(); }},
        {m.remove, [this] { deleteStation(); }},
        {m.addMode, [this] { m_stationEditor.enterAddMode(); }},
        {m.moveMode, [this] { chooseMoveMode(); }},
        {m.newBranch, [this] { m_stationEditor.setNewBranch(!m_session.newBranchChecked()); }},
        {m.takeBack, [this] { if (m_paneInput.takeBackAvailable()) m_history.undo(); }},
        {m.findWalls, [this] { m_wallSearch->start(); }},
        {m.zoomIn, [this] { zoomIn(paneUnderCursor()); }},
        {m.zoomOut, [this] { zoomOut(paneUnderCursor()); }},
        {m.actualSize, [this] { actualSize(paneUnderCursor()); }},
        {m.showLabels, [this] { m_document.setShowLabels(!m_document.showLabels()); }},
        {m.showLines, [this] { m_document.setShowLines(!m_document.showLines()); }},
        {m.measurePlanScale, [this] { startMeasuring(ViewSide::Plan, MeasureKind::Scale); }},
        {m.measureProfileScale, [this] { startMeasuring(ViewSide::Profile, MeasureKind::Scale); }},
        {m.measureNorth, [this] { startMeasuring(ViewSide::Plan, MeasureKind::North); }},
        {m.surveyCheck, [this] { m_checks->showCheck(); }},
        {m.view3d, [this] { m_checks->show3d(); }},
        {m.userGuide, [this] { showHelp(); }},
        {m.cancel, [this] { cancel(); }},
    };
    for (const auto &[action, run] : commands)
        command(action, &QAction::triggered, run);
    for (QAction *nudge : m.nudges)
        command(nudge, &QAction::triggered, [this, nudge] { m_paneInput.nudge(nudge->data().toPoint()); });
    for (QAction *shift : m.gridShifts)
        command(shift, &QAction::triggered, [this, shift] {
            const QPoint step = shift->data().toPoint();
            m_paneArea->strip(paneUnderCursor())->shiftGrid(step.x(), step.y());
        });
    connectOptions();
}

// The digitising and display choices take effect now and whenever they change.
void MainWindow::connectOptions()
{
    const WindowMenus &m = *m_menus;
    const auto option = [this](QAction *action, std::function<void(bool)> apply) {
        apply(action->isChecked());
        connect(action, &QAction::toggled, this, apply);
    };
    PaneInput::Options &input = m_paneInput.options();
    option(m.addWhenPlaced, [&input](bool on) { input.addWhenPlaced = on; });
    option(m.snap, [&input](bool on) { input.snap.guides = input.snap.marks = on; });
    option(m.snapAcrossPassages, [&input](bool on) { input.snap.passages = on; });
    option(m.keepLastInView, [this](bool on) { m_keepLastInView = on; });
    connect(m.editWalls, &QAction::toggled, this, [this](bool on) { guard([&] { editWalls(on); }); });
    const auto takeBackShown = [this] { m_menus->takeBack->setEnabled(m_paneInput.takeBackAvailable()); };
    connect(&m_history, &EditHistory::changed, this, takeBackShown);
    connect(&m_session, &EditSession::changed, this, takeBackShown);
    m_labelPixels = WindowMenus::rememberedLabelPixels();
    connect(m.labelSizes, &QActionGroup::triggered, this, [this](QAction *size) {
        m_labelPixels = size->data().toInt();
        redraw(ViewSide::Plan);
        redraw(ViewSide::Profile);
    });
    connect(m.languages, &QActionGroup::triggered, this,
            [this](QAction *choice) { guard([&] { chooseLanguage(Language::Choice(choice->data().toInt())); }); });
}

void MainWindow::editWalls(bool on)
{
    m_paneInput.options().editingWalls = on;
    if (on && !m_session.moving())
        chooseMoveMode();
    redraw(ViewSide::Plan);
    redraw(ViewSide::Profile);
    if (on)
        statusBar()->showMessage(tr("Drag the marks of the selected station's walls; < and > choose the station."));
}

void MainWindow::cancel()
{
    if (m_opening.loader().isBusy())
        m_opening.loader().cancel();
    else if (!m_wallSearch->cancel())
        stopMeasuring();
}

ViewSide MainWindow::paneUnderCursor() const
{
    return m_paneArea->sideUnderCursor(m_paneInput.activeSide());
}

void MainWindow::createStationsList()
{
    m_stationsDock = new QDockWidget(tr("Stations"), this);
    m_stationsList = new StationsList(m_stationsDock);
    m_stationsList->setMinimumWidth(260); // number, label and the start of the comment
    m_stationsList->installEventFilter(this);
    m_stationBox->labelEdit->installEventFilter(this);
    m_stationBox->commentEdit->installEventFilter(this);
    m_stationsDock->setWidget(m_stationsList);
    m_stationsDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, m_stationsDock);
    // Off by default; the choice is remembered.
    m_stationsDock->setVisible(QSettings().value(QStringLiteral("view/stationsList"), false).toBool());
    connect(m_stationsDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            m_stationsList->showStations(m_document.stations(), m_session.moving() ? m_session.selected() : -1);
    });
    connect(m_stationsDock->toggleViewAction(), &QAction::toggled, this,
            [](bool shown) { QSettings().setValue(QStringLiteral("view/stationsList"), shown); });
}

template <class Sender, class Signal, class Slot> void MainWindow::command(Sender *sender, Signal signal, Slot slot)
{
    // Every command runs inside the guard, so an error ends it and the program goes on.
    // A slot may ignore the signal's arguments (a button's "checked", say).
    connect(sender, signal, this, [this, slot](auto... arguments) {
        guard([&] {
            if constexpr (std::is_invocable_v<Slot, decltype(arguments)...>)
                slot(arguments...);
            else
                slot();
        });
    });
}

void MainWindow::connectCommands()
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        ViewStrip *strip = m_paneArea->strip(side);
        ImagePane *image = m_paneArea->pane(side);
        command(strip, &ViewStrip::openClicked, [this, side] { openImage(side); });
        command(strip, &ViewStrip::zoomInClicked, [this, side] { zoomIn(side); });
        command(strip, &ViewStrip::zoomOutClicked, [this, side] { zoomOut(side); });
        command(strip, &ViewStrip::gridOkClicked, [this, side, strip] {
            if (const QString refused = strip->takeGridRefusal(); !refused.isEmpty())
                throw CommandError(refused);
            applyScale(side);
        });
        command(strip, &ViewStrip::gridShownClicked, [this, side](bool shown) { m_viewEditor.setGridShown(side, shown); });
        command(strip, &ViewStrip::gridShifted, [this, side](int right, int up) { m_viewEditor.setGridShift(side, right, up); });
        command(strip, &ViewStrip::gridEntriesEdited, [this, side](const QString &metres, const QString &pixels) {
            m_viewEditor.setGridEntries(side, metres, pixels);
        });
        command(image, &ImagePane::pressed,
                [this, side](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
                    pressOnPane(side, button, modifiers, at);
                });
        command(image, &ImagePane::moved, [this, side](Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at) {
            moveOnPane(side, buttons, at, modifiers);
        });
        command(image, &ImagePane::released,
                [this, side](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) {
                    releaseOnPane(side, button, modifiers, at);
                });
    }
    connect(m_paneArea, &PaneArea::paneFractionsChanged, this,
            [this](float plan, float profile) { guard([&] { m_document.setPaneFractions(plan, profile); }); });
    command(m_paneArea, &PaneArea::sheetChosen, [this](ViewSide side, int sheet) { m_sheets.show(side, sheet); });
    command(m_paneArea, &PaneArea::sheetRenameAsked, [this](int sheet) { m_sheets.rename(sheet); });
    command(m_paneArea, &PaneArea::sheetRemoveAsked, [this](int sheet) { m_sheets.remove(sheet); });
    command(m_checks, &CheckWindows::stationChosen, [this](int index) { showStation(index); });
    connect(m_checks, &CheckWindows::overlayChanged, this, [this] {
        redraw(ViewSide::Plan);
        redraw(ViewSide::Profile);
    });
    command(m_checks, &CheckWindows::tieAsked, [this](const QVector<int> &entries, const QString &label) {
        m_stationEditor.setLabels(entries, label);
        showStation(entries.constFirst());
    });
    connectPanels();
}

// The lower panel's boxes and the pane area's sheets.
void MainWindow::connectPanels()
{
    const auto showRefusal = [this](const QString &message) { statusBar()->showMessage(message, 10000); };
    connect(m_projection, &ProjectionBoxes::refused, this, showRefusal);
    connect(m_paneArea->planStrip, &ViewStrip::entryRefused, this, showRefusal);
    connect(m_paneArea->profileStrip, &ViewStrip::entryRefused, this, showRefusal);
    command(m_projection, &ProjectionBoxes::orientationAccepted,
            [this](const QString &text) { m_stationEditor.setOrientation(text); });
    command(m_projection, &ProjectionBoxes::azimuthAccepted,
            [this](const QString &text) { m_stationEditor.setProjectionAzimuth(text); });
    command(m_projection, &ProjectionBoxes::profileKindChosen,
            [this](ProfileKind kind) { m_stationEditor.setProfileKind(kind); });

    command(m_stationBox, &StationBox::labelEdited, [this](const QString &text) { m_session.setLabelEntry(text); });
    command(m_stationBox, &StationBox::commentEdited, [this](const QString &text) { m_session.setCommentEntry(text); });
    command(m_stationBox, &StationBox::addClicked, [this] { addStation(); });
    command(m_stationBox, &StationBox::newBranchClicked, [this](bool checked) { m_stationEditor.setNewBranch(checked); });
    command(m_stationBox, &StationBox::previousClicked, [this] { m_stationEditor.selectPrevious(); });
    command(m_stationBox, &StationBox::nextClicked, [this] { m_stationEditor.selectNext(); });
    command(m_stationBox, &StationBox::insertClicked, [this] { insertStation(); });
    command(m_stationBox, &StationBox::deleteClicked, [this] { deleteStation(); });
    // A station chosen in the list: both drawings scroll to it.
    command(m_stationsList, &StationsList::stationClicked, [this](int index) { showStation(index); });
    command(m_stationsList, &StationsList::labelEdited,
            [this](int index, const QString &label) { m_stationEditor.setLabel(index, label); });
    command(m_modeBox, &ModeBox::addModeChosen, [this] { m_stationEditor.enterAddMode(); });
    command(m_modeBox, &ModeBox::moveModeChosen, [this] { chooseMoveMode(); });
    command(m_modeBox, &ModeBox::showLabelsClicked, [this](bool shown) { m_document.setShowLabels(shown); });
    command(m_modeBox, &ModeBox::showLinesClicked, [this](bool shown) { m_document.setShowLines(shown); });

    command(m_dataFileBox, &DataFileBox::formatChosen, [this](SurveyFormat format) { m_document.setFormat(format); });
    command(m_dataFileBox, &DataFileBox::styleChosen, [this](SurveyStyle style) { m_document.setStyle(style); });
    command(m_dataFileBox, &DataFileBox::viewClicked, [this] { viewSurveyText(); });
    command(m_dataFileBox, &DataFileBox::saveClicked, [this] { saveSurveyText(); });
    command(m_dataFileBox, &DataFileBox::saveAsClicked, [this] { saveSurveyTextAs(); });
    command(m_dataFileBox, &DataFileBox::checkClicked, [this] { m_checks->showCheck(); });
    command(m_modeBox, &ModeBox::view3dClicked, [this] { m_checks->show3d(); });
    connect(m_modeBox, &ModeBox::addWhenPlacedClicked, m_menus->addWhenPlaced, &QAction::setChecked);
    connect(m_menus->addWhenPlaced, &QAction::toggled, m_modeBox, &ModeBox::showAddWhenPlaced);
    m_modeBox->showAddWhenPlaced(m_paneInput.options().addWhenPlaced);
    command(m_savePlanPictureButton, &QPushButton::clicked, [this] { savePicture(ViewSide::Plan); });
    command(m_saveProfilePictureButton, &QPushButton::clicked, [this] { savePicture(ViewSide::Profile); });

    command(m_saveProjectAsButton, &QPushButton::clicked, [this] { m_projects.saveAs(); });
    command(m_closeProjectButton, &QPushButton::clicked, [this] { closeProject(); });
    command(m_helpButton, &QPushButton::clicked, [this] { showHelp(); });
}

// ---- Showing the document and the session ----

void MainWindow::documentChanged(SurveyDocument::Parts parts, StationRange stations)
{
    const bool both = parts & (SurveyDocument::StationsPart | SurveyDocument::ProfileKindPart | SurveyDocument::DisplayPart);
    // The profile's scale decides which legs disagree, and the plan shows them too.
    const bool disagreement = m_session.showDisagreement() && parts & SurveyDocument::ProfileViewPart;
    if (both || disagreement || parts & SurveyDocument::PlanViewPart)
        redraw(ViewSide::Plan);
    if (both || parts & SurveyDocument::ProfileViewPart)
        redraw(ViewSide::Profile);
    if (parts & SurveyDocument::StationsPart && m_stationsDock->isVisible())
        m_stationsList->showStations(m_document.stations(), m_session.moving() ? m_session.selected() : -1,
                                     stations.first, stations.last);
    // Looking at another sheet changes nothing the project keeps.
    const SurveyDocument::Parts looks = SurveyDocument::ModifiedPart | SurveyDocument::ShownPart
        | SurveyDocument::PlanViewPart | SurveyDocument::ProfileViewPart;
    const bool onlyLooked = parts == SurveyDocument::Parts(SurveyDocument::ModifiedPart)
        || ((parts & SurveyDocument::ShownPart) && !(parts & ~looks));
    if (!onlyLooked)
        m_session.setProjectChanged(true);
    m_recovery->schedule();
    if (parts & (SurveyDocument::ShownPart | SurveyDocument::SheetsPart | SurveyDocument::PlanViewPart
                 | SurveyDocument::ProfileViewPart)) {
        m_opening.documentChanged(parts & SurveyDocument::ShownPart);
        runScanOpening();
    }
    updateControls();
}

void MainWindow::sessionChanged(EditSession::Parts parts)
{
    if (parts & (EditSession::PendingPart | EditSession::ModePart | EditSession::NewBranchPart | EditSession::CheckPart)) {
        redraw(ViewSide::Plan);
        redraw(ViewSide::Profile);
    }
    if (parts & EditSession::ModePart && m_stationsDock->isVisible()) // the selection only
        m_stationsList->showStations(m_document.stations(), m_session.moving() ? m_session.selected() : -1, 1, 0);
    if (parts & (EditSession::PendingPart | EditSession::EntriesPart))
        m_recovery->schedule();
    updateControls();
}

void MainWindow::redraw(ViewSide side)
{
    // The legs the check flags, coloured on both views while "Show disagreement" is ticked.
    const QVector<int> flagged = DocumentCheckSource(m_document, m_session).flaggedLegEnds();
    ViewOverlay overlay = m_checks->overlay();
    if (m_paneInput.options().editingWalls && m_session.moving()) {
        // The selected station's wall marks, to be dragged.
        const int selected = m_session.selected();
        const StationTable &table = m_document.stations();
        for (const PassageWalls::Mark &mark : PassageWalls::marks(m_document, selected, side)) {
            const Station &s = table.at(selected);
            const QPointF from = side == ViewSide::Plan ? QPointF(s.planX, s.planY) : QPointF(s.profileX, s.profileY);
            (side == ViewSide::Plan ? overlay.planWalls : overlay.profileWalls).append({QLineF(from, mark.at), mark.set});
        }
    }
    ViewSnapshot snapshot = ViewSnapshot::of(side, m_document, m_session, flagged, overlay);
    snapshot.labelPixels = m_labelPixels;
    m_paneArea->pane(side)->setSnapshot(std::move(snapshot));
}

void MainWindow::updateControls()
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        m_paneArea->strip(side)->showSettings(m_document.view(side), m_session.gridLocked(side));
    m_lowerPanel->setEnabled(m_session.lowerPanelEnabled());
    m_projection->show(m_document.orientationEntry(), m_document.profileKind(), m_document.projectionAzimuthEntry());
    m_stationBox->showSession(m_session);
    m_modeBox->showMode(m_session.moving(), !m_document.stations().isEmpty(), m_document.showLabels(),
                        m_document.showLines());
    m_dataFileBox->showChoices(m_document.format(), m_document.style());
    m_menus->add->setEnabled(m_session.addEnabled());
    m_menus->addMode->setChecked(!m_session.moving());
    m_menus->moveMode->setChecked(m_session.moving());
    m_menus->newBranch->setChecked(m_session.newBranchChecked());
    m_menus->newBranch->setEnabled(m_session.newBranchEnabled());
    m_menus->showLabels->setChecked(m_document.showLabels());
    m_menus->showLines->setChecked(m_document.showLines());
    m_sheets.showTabs(*m_paneArea);
    const bool stationSelected = m_session.moving() && m_document.stations().contains(m_session.selected());
    m_menus->insert->setEnabled(stationSelected);
    m_menus->remove->setEnabled(stationSelected);
    for (QAction *nudge : std::as_const(m_menus->nudges))
        nudge->setEnabled(stationSelected);
    // "cave.sprj* - Speomark": the project's name, starred while it has unsaved changes.
    QString project =
        m_session.projectPath().isEmpty() ? tr("Untitled") : QFileInfo(m_session.projectPath()).fileName();
    // Two windows of two projects of one name are told apart by their folders.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        const auto *other = qobject_cast<MainWindow *>(widget);
        if (other && other != this && !m_session.projectPath().isEmpty()
            && QFileInfo(other->m_session.projectPath()).fileName() == project
            && other->m_session.projectPath() != m_session.projectPath())
        {
            project += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(QFileInfo(m_session.projectPath()).absolutePath()));
            break;
        }
    }
    setWindowTitle(m_session.projectPath().isEmpty() && !m_session.projectChanged()
                       ? QStringLiteral("Speomark")
                       : project + (m_session.projectChanged() ? QStringLiteral("*") : QString())
                             + QStringLiteral(" - Speomark"));
    if (m_textWindow)
        m_textWindow->showDataFileName(m_session.dataFileName());
}

// ---- Views ----


void MainWindow::openImage(ViewSide side)
{
    FileDialog &dialog = m_files.image(side);
    if (!dialogs().execute(this, dialog))
        return;
    openImageFile(side, dialog.fileName);
}


void MainWindow::actualSize(ViewSide side)
{
    m_paneArea->scrollTo(side, m_viewEditor.actualSize(side, m_paneArea->scrollPosition(side), m_paneArea->scrollBox(side)->viewport()->size()).scroll);
}

// The pane takes its new size first, so the scroll bars hold the position in the new range.
void MainWindow::zoomIn(ViewSide side)
{
    if (m_viewEditor.zoomIn(side))
        m_paneArea->scrollTo(side, ZoomPan::scrollAfterZoomIn(m_paneArea->scrollPosition(side), m_paneArea->scrollBox(side)->size()));
}

void MainWindow::zoomOut(ViewSide side)
{
    if (m_viewEditor.zoomOut(side))
        m_paneArea->scrollTo(side, ZoomPan::scrollAfterZoomOut(m_paneArea->scrollPosition(side), m_paneArea->scrollBox(side)->size()));
}

void MainWindow::applyScale(ViewSide side)
{
    const double oldScale = m_document.view(side).calibration.metresPerPixel;
    switch (m_calibration.pressOkOrChange(side)) {
    case ScaleCalibration::Outcome::Refused:
        dialogs().message(this, tr("Information"), ScaleCalibration::refusal(side), MessageIcon::Information);
        break;
    case ScaleCalibration::Outcome::Accepted:
        m_paneInput.scaleChanged(side, oldScale);
        break;
    case ScaleCalibration::Outcome::Unlocked:
        break;
    }
}

// ---- Stations ----

void MainWindow::addStation()
{
    const bool adding = !m_session.moving();
    switch (m_stationEditor.add(m_session.labelEntry(), m_session.commentEntry())) {
    case StationEditor::AddOutcome::TableFull:
        dialogs().message(this, QStringLiteral("Speomark"), StationEditor::tableFullMessage(), MessageIcon::None);
        break;
    case StationEditor::AddOutcome::Added:
        if (adding && !m_session.moving()) // the proposed label, ready to be typed over
            m_stationBox->focusLabel();
        if (adding && m_keepLastInView && !m_document.stations().isEmpty())
            keepInView(m_document.stations().count() - 1);
        break;
    default:
        break;
    }
}

void MainWindow::chooseMoveMode()
{
    if (!m_stationEditor.enterMoveMode())
        updateControls(); // nothing to edit: "Add new" stays checked
}

void MainWindow::insertStation()
{
    if (m_stationEditor.startInsert() == StationEditor::AddOutcome::TableFull)
        dialogs().message(this, QStringLiteral("Speomark"), StationEditor::tableFullMessage(), MessageIcon::None);
}

void MainWindow::deleteStation()
{
    m_stationEditor.deleteSelected();
}

// ---- Survey data output ----

std::optional<SurveyOutput::TextSource> MainWindow::askTextSource(ExportFormat format)
{
    const SurveyOutput::TextSource source = m_output.sourceFor(format);
    if (source != SurveyOutput::TextSource::AskEditedOrBuild)
        return source;
    switch (dialogs().askYesNoCancel(this, tr("Speomark: Confirm"), SurveyOutput::editedQuestion())) {
    case Answer::Yes:
        return SurveyOutput::TextSource::Edited;
    case Answer::No:
        return SurveyOutput::TextSource::Build;
    case Answer::Cancel:
        break;
    }
    return std::nullopt;
}

std::optional<SurveyOutput::TextSource> MainWindow::tickedTextSource()
{
    // Built first, so a leg that cannot be computed stops Save before any dialog.
    const std::optional<SurveyOutput::TextSource> source = askTextSource(m_output.ticked());
    if (source == SurveyOutput::TextSource::Build)
        m_output.show(m_output.ticked());
    return source;
}

void MainWindow::showNewJobsText()
{
    m_output.previewCleared();
    try {
        m_output.show(m_output.ticked());
    } catch (const CommandError &) {
        // A leg that cannot be computed is reported when the text is viewed or saved.
    }
}

void MainWindow::viewSurveyText()
{
    m_output.show(m_output.ticked());
    m_textWindow->bringToFront();
}

void MainWindow::saveSurveyText()
{
    const std::optional<SurveyOutput::TextSource> source = tickedTextSource();
    const bool known = m_output.dataFileKnown();
    m_files.dataFile.defaultSuffix = m_output.saveSuffix();
    if (source && (known || dialogs().execute(this, m_files.dataFile)))
        saveTo(m_output.saveTarget(known ? QString() : m_files.dataFile.fileName), *source);
}

void MainWindow::saveSurveyTextAs()
{
    const std::optional<SurveyOutput::TextSource> source = tickedTextSource();
    FileDialog dialog = m_files.dataFile;
    dialog.filter = ExportFormats::saveAsFilters(SurvexExport::available());
    dialog.defaultSuffix.clear(); // a name without an extension takes the chosen filter's
    if (source && dialogs().execute(this, dialog))
        saveTo(m_output.saveAsTarget(dialog.fileName, dialog.selectedFilter), *source);
}

void MainWindow::saveTo(const SurveyOutput::Target &target, SurveyOutput::TextSource tickedSource)
{
    const bool survexport = ExportFormats::row(target.format).viaSurvexport();
    if (survexport)
        m_output.checkSurvexport(target, SurvexExport::available(),
                                 m_survexFile->isRunning() ? m_survexFilePath : QString());
    const ExportFormat textFormat = SurveyOutput::textFormat(target.format);
    const std::optional<SurveyOutput::TextSource> source =
        textFormat == m_output.ticked() ? tickedSource : askTextSource(textFormat);
    if (!source)
        return;
    if (survexport)
        return startSurvexport(target, *source);
    m_output.write(target, *source);
    if (ExportFormats::row(target.format).layout)
        m_files.dataFile.fileName = target.path; // the dialogs open at the data file
}

void MainWindow::startSurvexport(const SurveyOutput::Target &target, SurveyOutput::TextSource source)
{
    const QByteArray survex = m_output.bytes(ExportFormat::Survex, source);
    m_survexFilePath = target.path;
    statusBar()->showMessage(tr("Survex is writing %1...").arg(QDir::toNativeSeparators(target.path)));
    m_survexFile->start(survex, target.format, target.path);
}

void MainWindow::openInAven()
{
    if (m_avenModel->isRunning())
        return; // the model on its way opens in aven
    const std::optional<SurveyOutput::TextSource> source = askTextSource(ExportFormat::Survex);
    if (!source)
        return;
    const QByteArray survex = m_output.bytes(ExportFormat::Survex, *source);
    statusBar()->showMessage(tr("cavern is computing the survey for aven..."));
    m_avenModel->startModel(survex);
}

void MainWindow::editSurveyDetails()
{
    SurveyDetails details = m_document.details();
    if (!dialogs().editSurveyDetails(this, &details, SurveyDetailsDialog::entranceChoices(m_document.stations())))
        return;
    m_history.record(tr("Edit Survey Details"), [&] {
        m_document.setDetails(details);
        m_document.setModified(true);
    });
}

void MainWindow::savePicture(ViewSide side)
{
    if (m_paneArea->pane(side)->height() == 0)
        return; // nothing is shown before an image is opened, nor after Close Project
    if (!dialogs().execute(this, m_files.picture))
        return;
    SurveyOutput::writePicture(m_paneArea->pane(side)->snapshot(), m_files.picture.fileName);
}

SurveyOutput::PromptResult MainWindow::askToSaveChanges()
{
    using Result = SurveyOutput::PromptResult;
    const std::optional<QString> question = m_output.closeQuestion();
    if (!question)
        return Result::NothingToAsk;
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    switch (dialogs().askYesNoCancel(this, tr("Speomark: Confirm"), *question)) {
    case Answer::No:
        m_document.setModified(false);
        return Result::Discarded;
    case Answer::Yes:
        return saveOnClosing() ? Result::Saved : Result::Cancelled;
    case Answer::Cancel:
        break;
    }
    return Result::Cancelled;
}

bool MainWindow::saveOnClosing()
{
    if (m_session.projectChanged() && !m_projects.save())
        return false;
    if (!m_output.dataFileKnown())
        return true;
    const std::optional<SurveyOutput::TextSource> source = askTextSource(m_output.ticked());
    if (!source)
        return false;
    m_output.write(m_output.saveTarget(QString()), *source);
    m_document.setModified(false);
    return true;
}

// ---- Project files ----

void MainWindow::openProjectFromDialog()
{
    if (!dialogs().execute(this, m_files.openProject))
        return;
    openProject(m_files.openProject.fileName);
}

// ---- Opening scans: read off the window's thread; nothing changes until they are read ----

bool MainWindow::busyReading()
{
    if (!m_opening.busy())
        return false;
    statusBar()->showMessage(tr("A scan is still being read; wait for it or press Esc."), 5000);
    return true;
}

void MainWindow::openImageFile(ViewSide side, const QString &path)
{
    if (!busyReading())
        m_opening.openScan(side, path);
}

void MainWindow::addSheetFromFile(ViewSide side, const QString &path)
{
    if (!busyReading())
        m_opening.addSheet(side, path);
}

void MainWindow::openProject(const QString &path)
{
    if (busyReading())
        return;
    m_files.openProject.fileName = path;
    // The whole file is read and checked before anything changes: a file that is refused leaves
    // the current job as it was, and only then is the user asked about unsaved stations.
    const ProjectContents project = ProjectFile::read(path);
    const QByteArray digest = ProjectFile::digest(path);
    if (askToSaveChanges() == SurveyOutput::PromptResult::Cancelled)
        return;
    if (path != m_projects.lock().path() && !m_projects.hold(path))
        return;
    m_opening.openProject(ProjectController::scanJobs(project, path), [=, this](ImageRead plan, ImageRead profile) {
        return projectRead(project, path, digest, std::move(plan), std::move(profile));
    });
}

QList<ScanOpening::Unopened> MainWindow::projectRead(const ProjectContents &project, const QString &path,
                                                     const QByteArray &digest, ImageRead plan, ImageRead profile)
{
    const ProjectController::Opened opened = m_project.open(project, path, std::move(plan), std::move(profile));
    m_projects.newJob(path, false, digest);
    showNewJobsText();
    WindowMenus::rememberProject(path);
    for (const QString &problem : {project.extrasProblem, project.detailsProblem(), project.projectionProblem(),
                                   project.dimensionsProblem()})
        if (!problem.isEmpty())
            dialogs().message(this, QStringLiteral("Speomark"), problem, MessageIcon::Information);
    QList<ScanOpening::Unopened> unopened;
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const ProjectController::Scan &scan = side == ViewSide::Plan ? opened.plan : opened.profile;
        if (!(side == ViewSide::Plan ? opened.planImageMissing : opened.profileImageMissing))
            continue;
        if (scan.message.isEmpty()) // the project names no scan for this view
            unopened.append({side, side == ViewSide::Plan ? tr("Problems opening the Plan image!")
                                                          : tr("Problems opening the Profile image!")});
        else
            unopened.append({side, scan.message, scan.fileMissing, !scan.fileMissing});
    }
    return unopened;
}

void MainWindow::runScanOpening()
{
    while (const std::optional<ScanOpening::Step> step = m_opening.next()) {
        if (step->kind == ScanOpening::Step::Kind::ScaleChanged)
            m_paneInput.scaleChanged(step->side, step->oldScale);
        else if (step->kind == ScanOpening::Step::Kind::ProjectGivenUp && !m_session.projectPath().isEmpty())
            m_projects.lock().take(m_session.projectPath(), nullptr); // the job that stays keeps its project
        m_opening.answer(askAboutScan(dialogs(), this, *step, m_files.image(step->side)));
    }
}


bool MainWindow::closeProject()
{
    if (askToSaveChanges() == SurveyOutput::PromptResult::Cancelled)
        return false;
    m_project.close();
    m_projects.lock().release();
    m_output.previewCleared();
    m_projects.newJob(QString(), false);
    m_statusPanels[1]->setText(QStringLiteral(" "));
    m_statusPanels[2]->setText(QStringLiteral(" "));
    return true;
}

void MainWindow::closeAll()
{
    if (!closeProject())
        return;
    m_checks->hide();
    if (m_textWindow)
        m_textWindow->hide();
}

// ---- Never losing work ----

bool MainWindow::offerRecovery()
{
    bool taken = false;
    for (const RecoveryFile::Left &left : RecoveryKeeper::offer(dialogs(), this)) {
        // Further jobs go to windows of their own; without an opener they wait for the next start.
        MainWindow *into = taken ? (m_openWindow ? m_openWindow() : nullptr) : this;
        if (!into)
            break;
        into->guard([&] { into->recover(left); });
        taken = true;
    }
    return taken;
}

void MainWindow::recover(const RecoveryFile::Left &left)
{
    const ProjectContents contents = ProjectFile::read(left.path);
    // Scans stored by name are looked for beside the project the work belonged to.
    const QString imagesBeside = left.projectPath.isEmpty() ? left.path : left.projectPath;
    // The scans are read in the background, as a sheet shown is (ScanOpening).
    m_project.openWithoutScans(contents, imagesBeside);
    m_projects.newJob(left.projectPath, true);
    RecoveryFile::restoreEditing(contents, m_document, m_session);
    m_document.setModified(true);
    if (!left.projectPath.isEmpty())
        m_projects.lock().take(left.projectPath, nullptr);
    showNewJobsText();
    m_recovery->write(); // the recovered work is safe again at once, in this window's own file
    if (!RecoveryFile::discard(left.path))
        statusBar()->showMessage(tr("%1 cannot be removed, as its folder cannot be written: it will be offered "
                                    "again.")
                                     .arg(QDir::toNativeSeparators(left.path)));
    m_opening.documentChanged(false);
    runScanOpening();
}

// ---- Window ----

// Scrolls each drawing that shows the station just enough to bring it into view, a margin from
// the edge, so the next one can be clicked without panning.
void MainWindow::keepInView(int index)
{
    const Station &station = m_document.stations().at(index);
    if (station.planSheet == m_document.shownSheet(ViewSide::Plan))
        m_paneArea->bringIntoView(ViewSide::Plan, QPointF(station.planX, station.planY), m_document.view(ViewSide::Plan).zoom);
    if (station.profileSheet == m_document.shownSheet(ViewSide::Profile))
        m_paneArea->bringIntoView(ViewSide::Profile, QPointF(station.profileX, station.profileY),
                                  m_document.view(ViewSide::Profile).zoom);
}

void MainWindow::showStation(int index)
{
    if (!m_stationEditor.select(index))
        return;
    const Station station = m_document.stations().at(index);
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        // A station on another sheet is shown on its own sheet, not at its pixels on this one.
        m_sheets.show(side, side == ViewSide::Plan ? station.planSheet : station.profileSheet);
        const QPointF at = side == ViewSide::Plan ? QPointF(station.planX, station.planY)
                                                  : QPointF(station.profileX, station.profileY);
        m_paneArea->centreOn(side, at, m_document.view(side).zoom);
    }
}

void MainWindow::showHelp()
{
    if (m_helpWindow)
        m_helpWindow->bringToFront();
}

void MainWindow::chooseLanguage(Language::Choice choice)
{
    Language::setChosen(choice);
    const Language::Applied next = Language::resolve(choice, QLocale::system().uiLanguages());
    if (next == Language::current())
        return;
    // The windows took their texts when they were made. Said in the language chosen, which the
    // caver has just shown they read.
    dialogs().message(
        this, QStringLiteral("Speomark"),
        Language::translated(next, "MainWindow",
                             QT_TRANSLATE_NOOP("MainWindow", "Speomark will speak this language from its next start.")),
        MessageIcon::Information);
}

void MainWindow::addSheet(ViewSide side)
{
    FileDialog &dialog = m_files.image(side);
    if (!dialogs().execute(this, dialog))
        return;
    addSheetFromFile(side, dialog.fileName);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    QWidget *central = centralWidget();
    const int clientWidth = central->width();
    const int upperHeight = std::max(0, central->height() - LowerPanelHeight);
    m_paneArea->setGeometry(0, 0, clientWidth, upperHeight);
    m_lowerPanel->setGeometry(0, upperHeight, clientWidth, LowerPanelHeight);
    m_paneArea->setPaneFractions(m_document.view(ViewSide::Plan).paneFraction,
                                 m_document.view(ViewSide::Profile).paneFraction);
    m_paneArea->arrange(width());
}

// Tab goes the way the work goes: the plan's strip and drawing, the profile's, then the survey's
// settings, the station box, the mode and the output.
void MainWindow::setWorkTabOrder()
{
    QList<QWidget *> order;
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const ViewStrip *strip = m_paneArea->strip(side);
        order << strip->openButton << strip->gridCheck << strip->gridMetresEdit << strip->gridPixelsEdit
              << strip->gridOkButton << strip->zoomOutButton << strip->zoomInButton << m_paneArea->scrollBox(side);
    }
    order << m_projection->orientationEdit << m_projection->extendedRadio << m_projection->projectiveRadio
          << m_projection->noProfileRadio << m_projection->azimuthEdit
          << m_stationBox->labelEdit << m_stationBox->commentEdit << m_stationBox->addButton
          << m_stationBox->newBranchCheck << m_modeBox->addModeRadio << m_modeBox->moveModeRadio
          << m_modeBox->addWhenPlacedCheck << m_modeBox->showLabelsCheck << m_modeBox->showLinesCheck
          << m_modeBox->view3dButton << m_dataFileBox->viewButton << m_dataFileBox->saveButton
          << m_dataFileBox->saveAsButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        if (order[i - 1] && order[i])
            setTabOrder(order[i - 1], order[i]);
}

void MainWindow::placeAsLastClosed()
{
    const QByteArray geometry = QSettings().value(QStringLiteral("window/geometry")).toByteArray();
    if (!geometry.isEmpty() && restoreGeometry(geometry))
        return;
    // The first start: most of the screen, for two drawings side by side.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QSize frameExtra = frameGeometry().size() - size();
        resize(std::max(InitialClientWidth, area.width() * 9 / 10 - frameExtra.width()),
               std::max(InitialClientHeight, area.height() * 9 / 10 - frameExtra.height()));
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    guard([&] { mayClose = askToSaveChanges() != SurveyOutput::PromptResult::Cancelled; });
    if (!mayClose) {
        event->ignore();
        return;
    }
    if (m_textWindow)
        m_textWindow->hide();
    if (m_helpWindow)
        m_helpWindow->hide();
    m_recovery->stop();
    m_recovery->remove();
    QSettings().setValue(QStringLiteral("window/geometry"), saveGeometry());
    event->accept();
}

// ---- Input: the pane input decides, the window shows ----

PaneInput::Pane MainWindow::paneBox(ViewSide side) const
{
    return {m_paneArea->scrollPosition(side), m_paneArea->scrollBox(side)->size(), m_paneArea->scrollBox(side)->viewport()->size()};
}

PaneInput::Asking MainWindow::paneAsking()
{
    return {[this](const QString &message) {
                if (message.isEmpty())
                    statusBar()->clearMessage();
                else
                    statusBar()->showMessage(message);
            },
            [this](const QString &caption, const QString &text) {
                dialogs().message(this, caption, text, MessageIcon::Information);
            },
            [this](const QString &question, QString *typed) {
                return dialogs().askText(this, QStringLiteral("Speomark"), question, typed);
            },
            [this](const QString &question) {
                return dialogs().askYesNo(this, QStringLiteral("Speomark"), question, Answer::No);
            },
            [this] { addStation(); }};
}

void MainWindow::showInput(ViewSide side, const PaneInput::Outcome &outcome)
{
    if (!outcome.position.isEmpty())
        m_statusPanels[side == ViewSide::Plan ? 1 : 2]->setText(outcome.position);
    if (outcome.scroll)
        m_paneArea->scrollTo(side, *outcome.scroll);
    m_menus->takeBack->setEnabled(m_paneInput.takeBackAvailable());
}

void MainWindow::pressOnPane(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)
{
    showInput(side, m_paneInput.press({side, button, button, modifiers, at}, paneBox(side)));
}

void MainWindow::moveOnPane(ViewSide side, Qt::MouseButtons buttons, QPoint at, Qt::KeyboardModifiers modifiers)
{
    showInput(side, m_paneInput.move({side, Qt::NoButton, buttons, modifiers, at}, paneBox(side)));
}

void MainWindow::releaseOnPane(ViewSide side, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at)
{
    showInput(side, m_paneInput.release({side, button, Qt::NoButton, modifiers, at}, paneBox(side)));
}

void MainWindow::startMeasuring(ViewSide side, MeasureKind kind)
{
    m_paneInput.startMeasuring(side, kind);
}

void MainWindow::stopMeasuring()
{
    m_paneInput.stopMeasuring();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        if (watched != m_paneArea->scrollBox(side)->viewport())
            continue;
        if (event->type() == QEvent::Wheel) {
            const auto *wheel = static_cast<QWheelEvent *>(event);
            guard([&] {
                showInput(side, m_paneInput.wheel(side, wheel->angleDelta(), wheel->modifiers(),
                                                  wheel->position().toPoint(), paneBox(side)));
            });
            event->accept();
            return true;
        }
        const auto *gesture = event->type() == QEvent::NativeGesture ? static_cast<QNativeGestureEvent *>(event) : nullptr;
        if (gesture && gesture->gestureType() == Qt::ZoomNativeGesture) {
            const QPoint inBox = m_paneArea->scrollBox(side)->viewport()->mapFromGlobal(gesture->globalPosition().toPoint());
            guard([&] { showInput(side, m_paneInput.zoomAt(side, 1.0 + gesture->value(), inBox, paneBox(side))); });
            return true;
        }
    }
    if (event->type() != QEvent::ShortcutOverride)
        return QMainWindow::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // The drawing's keys act on the drawing under the cursor, even while the label box has the
    // focus: typed there they would rewrite the proposed label ("0" would tie to the entrance).
    if ((watched == m_stationBox->labelEdit || watched == m_stationBox->commentEdit)
        && PaneInput::isDrawingKey(key->key(), key->modifiers())) {
        for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
            if (m_paneArea->scrollBox(side)->rect().contains(m_paneArea->scrollBox(side)->mapFromGlobal(QCursor::pos())))
                return true; // not taken by the box: the window's shortcut acts
    }
    // The docked list moves through the stations with the arrow keys, which elsewhere nudge.
    static const QList<int> listKeys{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    if (watched == m_stationsList && listKeys.contains(key->key())) {
        event->accept();
        return true;
    }
    // A text box with nothing of its own to undo lets Ctrl+Z undo the last edit of the survey,
    // and the window's own Ctrl and Alt shortcuts win over a text box's keys.
    if (auto *box = qobject_cast<QLineEdit *>(watched)) {
        if ((key->matches(QKeySequence::Undo) && !box->isUndoAvailable())
            || (key->matches(QKeySequence::Redo) && !box->isRedoAvailable())
            || (QKeySequence(key->keyCombination()) == QKeySequence(Qt::CTRL | Qt::Key_Y) && !box->isRedoAvailable())
            || windowShortcutWins(key)
            || (key->key() == Qt::Key_Backspace && key->modifiers() == Qt::NoModifier && m_menus->takeBack->isEnabled())) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::windowShortcutWins(const QKeyEvent *key) const
{
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false; // typing, arrows, Delete and Insert belong to the text box
    for (const QKeySequence::StandardKey editing : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                                                    QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo})
        if (key->matches(editing))
            return false;
    const QKeySequence pressed(key->keyCombination());
    for (const QAction *action : findChildren<QAction *>())
        if (action->isEnabled() && action->shortcuts().contains(pressed))
            return true;
    return false;
}

// ---- Dropped files: a project opens, a scan goes to the pane it was dropped on ----

namespace {

QString droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    const QWidget *under = childAt(event->position().toPoint());
    const QWidget *profile = m_paneArea->scrollBox(ViewSide::Profile);
    guard([&] {
        if (path.endsWith(QLatin1String(".sprj"), Qt::CaseInsensitive))
            openProject(path);
        else
            openImageFile(under && (under == profile || profile->isAncestorOf(under)) ? ViewSide::Profile : ViewSide::Plan,
                          path);
    });
}
