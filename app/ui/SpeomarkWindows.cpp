#include "app/ui/SpeomarkWindows.h"

SpeomarkWindows::SpeomarkWindows()
{
    // Only the main window ends the program; the others just hide when closed.
    textWindow.setAttribute(Qt::WA_QuitOnClose, false);
    helpWindow.setAttribute(Qt::WA_QuitOnClose, false);
    mainWindow.setSecondaryWindows(&textWindow, &helpWindow);
}
