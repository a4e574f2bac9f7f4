#include "app/ui/WindowMenus.h"

#include "document/EditHistory.h"
#include "views/ViewSnapshot.h"
#include "widgets/Language.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPoint>
#include <QSettings>
#include <utility>

namespace {

QAction *item(QMenu *menu, const QString &text, const QList<QKeySequence> &keys = {})
{
    QAction *action = menu->addAction(text);
    action->setShortcuts(keys);
    return action;
}

// A digitising choice the settings remember: on for a new user, off where the user turned it off.
QAction *option(QMenu *menu, const QString &text, const QString &key, bool byDefault, const QKeySequence &keys)
{
    QAction *action = item(menu, text, {keys});
    action->setCheckable(true);
    action->setChecked(QSettings().value(key, byDefault).toBool());
    QObject::connect(action, &QAction::toggled, action, [key](bool checked) { QSettings().setValue(key, checked); });
    return action;
}

// A key on no menu, working wherever the focus is in the window.
QAction *windowKey(QMainWindow *window, const QList<QKeySequence> &keys, const QString &text = QString())
{
    auto *action = new QAction(text, window);
    action->setShortcuts(keys);
    window->addAction(action);
    return action;
}

constexpr int RecentProjects = 8;

// The recent projects as the settings hold them, no more than the menu shows, whatever a
// damaged or hand-edited settings file says.
QStringList recentProjects()
{
    QSettings settings;
    QStringList recent = settings.value(QStringLiteral("recentProjects")).toStringList();
    if (recent.size() > RecentProjects) {
        recent.erase(recent.begin() + RecentProjects, recent.end());
        settings.setValue(QStringLiteral("recentProjects"), recent);
    }
    return recent;
}

} // namespace

WindowMenus::WindowMenus(QMainWindow *window, EditHistory &history, QAction *stationsListToggle)
{
    createFileMenu(window);
    createEditMenu(window, history);
    createViewMenu(window, stationsListToggle);
    createChoiceMenus();
    QMenu *help = window->menuBar()->addMenu(tr("&Help"));
    userGuide = item(help, tr("User Guide"), {Qt::Key_F1});
    // Esc stops the scan being read or the walls being found, or gives up a measurement.
    cancel = windowKey(window, {Qt::Key_Escape});
}

void WindowMenus::createFileMenu(QMainWindow *window)
{
    fileMenu = window->menuBar()->addMenu(tr("&File"));
    QMenu *m = fileMenu;
    openPlan = item(m, tr("Open Plan (Left Image)"), {Qt::CTRL | Qt::ALT | Qt::Key_L});
    openProfile = item(m, tr("Open Profile (Right Image)"), {Qt::CTRL | Qt::ALT | Qt::Key_R});
    addPlanSheet = item(m, tr("Add Plan Sheet..."), {Qt::CTRL | Qt::SHIFT | Qt::Key_L});
    addProfileSheet = item(m, tr("Add Profile Sheet..."), {Qt::CTRL | Qt::SHIFT | Qt::Key_R});
    // The sheet shown in the pane under the mouse (or last clicked).
    renameSheet = item(m, tr("Rename Sheet..."), {Qt::Key_F2});
    removeSheet = item(m, tr("Remove Sheet"));
    m->addSeparator();
    openProject = item(m, tr("Open Existing Project"), {Qt::CTRL | Qt::Key_O});
    recentMenu = m->addMenu(tr("Open Recent Project"));
    saveProject = item(m, tr("Save Project"), {Qt::CTRL | Qt::Key_S});
    saveProjectAs = item(m, tr("Save Project As"), {Qt::CTRL | Qt::SHIFT | Qt::Key_S});
    closeProject = item(m, tr("Close Project"), {Qt::CTRL | Qt::Key_W});
    m->addSeparator();
    surveyDetails = item(m, tr("Survey Details..."), {Qt::CTRL | Qt::Key_I});
    viewSurveyData = item(m, tr("View Survey Data"), {Qt::CTRL | Qt::Key_D});
    saveSurveyData = item(m, tr("Save Survey Data"), {Qt::CTRL | Qt::Key_E});
    saveSurveyDataAs = item(m, tr("Save Survey Data As"), {Qt::CTRL | Qt::SHIFT | Qt::Key_E});
    openInAven = item(m, tr("Open in Aven"), {Qt::CTRL | Qt::SHIFT | Qt::Key_A});
    openInAven->setObjectName(QStringLiteral("OpenInAven"));
    m->addSeparator();
    savePlanPicture = item(m, tr("Save Plan Picture"), {Qt::CTRL | Qt::ALT | Qt::Key_P});
    saveProfilePicture = item(m, tr("Save Profile Picture"), {Qt::CTRL | Qt::SHIFT | Qt::Key_P});
    m->addSeparator();
    closeAll = item(m, tr("Close All"), {Qt::CTRL | Qt::SHIFT | Qt::Key_W});
    quit = item(m, tr("Quit"), {Qt::CTRL | Qt::Key_Q});
}

void WindowMenus::createEditMenu(QMainWindow *window, EditHistory &history)
{
    editMenu = window->menuBar()->addMenu(tr("&Edit"));
    QMenu *m = editMenu;
    undo = history.createUndoAction(window, tr("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    redo = history.createRedoAction(window, tr("Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    m->addActions({undo, redo});
    m->addSeparator();
    // Enter adds the pending station once it is placed, wherever the focus is in the window: on
    // a drawing after the two clicks as much as in the label box.
    add = item(m, tr("Add Station"), {Qt::Key_Return, Qt::Key_Enter});
    window->addAction(add);
    insert = item(m, tr("Insert Station"), {Qt::Key_Insert});
    // Delete alone reaches here only when no text box wants the key.
    remove = item(m, tr("Delete Station"), {Qt::CTRL | Qt::Key_Delete, Qt::Key_Delete});
    addMode = item(m, tr("Add Mode"), {Qt::CTRL | Qt::Key_1});
    moveMode = item(m, tr("Move Mode"), {Qt::CTRL | Qt::Key_2});
    newBranch = item(m, tr("New Branch"), {Qt::CTRL | Qt::Key_B});
    for (QAction *choice : {addMode, moveMode, newBranch})
        choice->setCheckable(true);
    m->addSeparator();
    addWhenPlaced = option(m, tr("Add When Placed"), QStringLiteral("digitising/addWhenPlaced"), true,
                           Qt::CTRL | Qt::ALT | Qt::Key_A);
    // Backspace takes back a station just added by placing it, while its proposed successor's
    // label is still untouched (afterwards the key edits the label box again).
    takeBack = windowKey(window, {Qt::Key_Backspace}, tr("Take Back the Station Added"));
    takeBack->setEnabled(false);
    snap = option(m, tr("Snap to Guides and Marks"), QStringLiteral("digitising/snap"), true, Qt::CTRL | Qt::ALT | Qt::Key_G);
    snapAcrossPassages = option(m, tr("Snap across Passages"), QStringLiteral("digitising/snapAcrossPassages"), false,
                                Qt::CTRL | Qt::ALT | Qt::Key_X);
    keepLastInView = option(m, tr("Keep the Last Station in View"), QStringLiteral("digitising/keepLastInView"), true,
                            Qt::CTRL | Qt::ALT | Qt::Key_K);
    // Passage walls: their marks dragged in Move mode, or found on the scans.
    editWalls = item(m, tr("Edit Walls"), {Qt::Key_F9});
    editWalls->setCheckable(true);
    findWalls = item(m, tr("Find Walls"), {Qt::CTRL | Qt::ALT | Qt::Key_F});
    // Arrow keys nudge the selected station on the pane last clicked; a text box keeps its arrows.
    const std::pair<int, QPoint> steps[] = {{Qt::Key_Left, {-1, 0}}, {Qt::Key_Right, {1, 0}}, {Qt::Key_Up, {0, -1}},
                                            {Qt::Key_Down, {0, 1}}};
    for (const auto &[key, step] : steps) {
        for (const int factor : {1, 10}) {
            QAction *nudge = windowKey(window, {QKeySequence(key | (factor == 10 ? int(Qt::SHIFT) : 0))});
            nudge->setData(step * factor);
            nudges.append(nudge);
        }
    }
}

void WindowMenus::createViewMenu(QMainWindow *window, QAction *stationsListToggle)
{
    viewMenu = window->menuBar()->addMenu(tr("&View"));
    QMenu *m = viewMenu;
    // The zoom keys work on the pane under the mouse; a text box keeps its own keys.
    zoomIn = item(m, tr("Zoom In"), {Qt::Key_Plus, Qt::Key_Equal});
    zoomOut = item(m, tr("Zoom Out"), {Qt::Key_Minus});
    actualSize = item(m, tr("Actual Size"), {Qt::Key_0});
    showLabels = item(m, tr("Show Labels"), {Qt::CTRL | Qt::ALT | Qt::Key_T});
    showLines = item(m, tr("Show Lines"), {Qt::CTRL | Qt::ALT | Qt::Key_N});
    showLabels->setCheckable(true);
    showLines->setCheckable(true);
    m->addSeparator();
    measurePlanScale = item(m, tr("Measure Plan Scale"), {Qt::Key_F8});
    measureProfileScale = item(m, tr("Measure Profile Scale"), {Qt::SHIFT | Qt::Key_F8});
    measureNorth = item(m, tr("Measure North on the Plan"), {Qt::CTRL | Qt::Key_F8});
    // The grid of the pane under the mouse, a pixel at a time, as its arrows move it.
    QMenu *grid = m->addMenu(tr("Move Grid"));
    const std::pair<QString, QPoint> shifts[] = {{tr("Right"), {1, 0}}, {tr("Left"), {-1, 0}}, {tr("Up"), {0, 1}},
                                                 {tr("Down"), {0, -1}}};
    const int keys[] = {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down};
    for (int i = 0; i < 4; ++i) {
        QAction *shift = item(grid, shifts[i].first, {QKeySequence(Qt::ALT | keys[i])});
        shift->setData(shifts[i].second);
        gridShifts.append(shift);
    }
    m->addSeparator();
    surveyCheck = item(m, tr("Survey Check"), {Qt::Key_F5});
    view3d = item(m, tr("3D View"), {Qt::Key_F6});
    m->addSeparator();
    stationsListToggle->setShortcut(QKeySequence(Qt::Key_F7));
    m->addAction(stationsListToggle);
}

int WindowMenus::rememberedLabelPixels()
{
    const int pixels = QSettings().value(QStringLiteral("view/labelPixels"), ViewSnapshot::MediumLabelPixels).toInt();
    return pixels < 6 || pixels > 40 ? ViewSnapshot::MediumLabelPixels : pixels;
}

void WindowMenus::createChoiceMenus()
{
    // Labels keep this size on screen at any zoom; remembered.
    QMenu *labelSize = viewMenu->addMenu(tr("Label Size"));
    labelSizes = new QActionGroup(labelSize);
    const int remembered = rememberedLabelPixels();
    const std::pair<const char *, int> sizes[] = {{QT_TR_NOOP("Small"), 9},
                                                  {QT_TR_NOOP("Medium"), ViewSnapshot::MediumLabelPixels},
                                                  {QT_TR_NOOP("Large"), 15}};
    for (int i = 0; i < 3; ++i) {
        QAction *size = item(labelSize, tr(sizes[i].first), {QKeySequence(Qt::CTRL | Qt::ALT | (Qt::Key_1 + i))});
        size->setCheckable(true);
        size->setChecked(sizes[i].second == remembered);
        size->setData(sizes[i].second);
        labelSizes->addAction(size);
    }
    QObject::connect(labelSizes, &QActionGroup::triggered, labelSizes,
                     [](QAction *size) { QSettings().setValue(QStringLiteral("view/labelPixels"), size->data()); });
    // The interface's language, remembered. Each name is in its own language, so a caver finds
    // theirs whatever the menus speak now.
    QMenu *language = viewMenu->addMenu(tr("Language"));
    language->setObjectName(QStringLiteral("languageMenu"));
    languages = new QActionGroup(language);
    const Language::Choice chosen = Language::chosen();
    for (const auto &[name, choice] : {std::pair{tr("System"), Language::Choice::System},
                                       std::pair{QStringLiteral("English"), Language::Choice::English},
                                       std::pair{QStringLiteral("Русский"), Language::Choice::Russian}}) {
        QAction *action = language->addAction(name);
        action->setCheckable(true);
        action->setChecked(choice == chosen);
        action->setData(int(choice));
        languages->addAction(action);
    }
}

void WindowMenus::rememberProject(const QString &path)
{
    QStringList recent = recentProjects();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent.removeAll(absolute);
    recent.prepend(absolute);
    while (recent.size() > RecentProjects)
        recent.removeLast();
    QSettings().setValue(QStringLiteral("recentProjects"), recent);
}

void WindowMenus::showRecentProjects(const std::function<void(const QString &)> &open)
{
    recentMenu->clear();
    const QStringList recent = recentProjects();
    for (const QString &path : recent) {
        QAction *action = recentMenu->addAction(QDir::toNativeSeparators(path));
        // Only files can be opened: a pipe or a device under that name would hang the window.
        action->setEnabled(QFileInfo(path).isFile());
        QObject::connect(action, &QAction::triggered, action, [open, path] { open(path); });
    }
    recentMenu->setEnabled(!recent.isEmpty());
}
