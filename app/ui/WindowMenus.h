#pragma once

#include <QCoreApplication>
#include <QList>
#include <functional>

class EditHistory;
class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;

// The menu bar and the window's keys: every command's caption, key and place on a menu, in one
// table a menu. Nothing here runs a command: the window connects each action to its own.
class WindowMenus
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    WindowMenus(QMainWindow *window, EditHistory &history, QAction *stationsListToggle);

    QMenu *fileMenu = nullptr, *editMenu = nullptr, *viewMenu = nullptr, *recentMenu = nullptr;
    // File
    QAction *openPlan = nullptr, *openProfile = nullptr, *addPlanSheet = nullptr, *addProfileSheet = nullptr,
            *renameSheet = nullptr, *removeSheet = nullptr, *openProject = nullptr, *saveProject = nullptr,
            *saveProjectAs = nullptr, *closeProject = nullptr, *surveyDetails = nullptr, *viewSurveyData = nullptr,
            *saveSurveyData = nullptr, *saveSurveyDataAs = nullptr, *openInAven = nullptr,
            *savePlanPicture = nullptr, *saveProfilePicture = nullptr, *closeAll = nullptr, *quit = nullptr;
    // Edit. The digitising options are checked as the settings remember them, and remember
    // every change.
    QAction *undo = nullptr, *redo = nullptr, *add = nullptr, *insert = nullptr, *remove = nullptr,
            *addMode = nullptr, *moveMode = nullptr, *newBranch = nullptr, *addWhenPlaced = nullptr,
            *takeBack = nullptr, *snap = nullptr, *snapAcrossPassages = nullptr, *keepLastInView = nullptr,
            *editWalls = nullptr, *findWalls = nullptr;
    QList<QAction *> nudges;     // data: the step in source pixels
    // View
    QAction *zoomIn = nullptr, *zoomOut = nullptr, *actualSize = nullptr, *showLabels = nullptr,
            *showLines = nullptr, *measurePlanScale = nullptr, *measureProfileScale = nullptr,
            *measureNorth = nullptr, *surveyCheck = nullptr, *view3d = nullptr;
    QList<QAction *> gridShifts; // data: the step right and up
    QActionGroup *labelSizes = nullptr; // data: pixels
    QActionGroup *languages = nullptr;  // data: Language::Choice
    // Help, and keys on no menu.
    QAction *userGuide = nullptr, *cancel = nullptr;

    // Open Recent Project, as the settings remember the projects; `open` opens one chosen.
    void showRecentProjects(const std::function<void(const QString &)> &open);
    static void rememberProject(const QString &path);

    // The label size remembered, within what the menu offers.
    static int rememberedLabelPixels();

private:
    void createFileMenu(QMainWindow *window);
    void createEditMenu(QMainWindow *window, EditHistory &history);
    void createViewMenu(QMainWindow *window, QAction *stationsListToggle);
    void createChoiceMenus();
};
