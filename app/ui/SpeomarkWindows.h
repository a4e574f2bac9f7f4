#pragma once

#include "app/ui/HelpWindow.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SurveyTextWindow.h"

// The program's three windows, created in start-up order: the main window first (so it is the
// application's main window), then the text preview and the help window, both hidden.
struct SpeomarkWindows
{
    SpeomarkWindows();

    MainWindow mainWindow;
    SurveyTextWindow textWindow;
    HelpWindow helpWindow;
};
