#pragma once

#include "views/ScanOpening.h"

class DialogService;
class QWidget;
struct FileDialog;

// Asks or tells what opening a scan needs through the dialog service: a message, a Yes/No
// question, a PDF page, a missing scan to locate and the file dialog of the scan's pane. Steps
// that ask nothing get an empty answer.
ScanOpening::Answer askAboutScan(DialogService &dialogs, QWidget *parent, const ScanOpening::Step &step,
                                 FileDialog &scanDialog);
