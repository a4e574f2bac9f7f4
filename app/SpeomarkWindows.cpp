#include "app/SpeomarkWindows.h"

SpeomarkWindows::SpeomarkWindows()
{
    // Only the main window ends the program; the others just hide when closed.
    TextForm.setAttribute(Qt::WA_QuitOnClose, false);
    DHelpForm.setAttribute(Qt::WA_QuitOnClose, false);
    SpeomarkForm.setSecondaryWindows(&TextForm, &DHelpForm);
}
