#pragma once

#include "widgets/DialogService.h"

#include <QCoreApplication>

enum class ViewSide;

// The window's file dialogs, each starting in the folder it was last used in, also after a
// restart: scans (the plan's and the profile's each remember their own file), survey data,
// pictures and projects.
struct FileDialogs
{
    Q_DECLARE_TR_FUNCTIONS(FileDialogs)
public:
    FileDialogs();
    FileDialog &image(ViewSide side);

    FileDialog planImage;
    FileDialog profileImage;
    FileDialog dataFile;
    FileDialog picture;
    FileDialog saveProject;
    FileDialog openProject;
};
