#pragma once

#include "app/TDHelpForm.h"
#include "app/TSpeomarkForm.h"
#include "app/TTextForm.h"

// The program's three windows, created in start-up order: the main window first (so it is the
// application's main window), then the text preview and the help window, both hidden.
struct SpeomarkWindows
{
    SpeomarkWindows();

    TSpeomarkForm SpeomarkForm;
    TTextForm TextForm;
    TDHelpForm DHelpForm;
};
