#pragma once

#include "project/ProjectLock.h"

#include <QCoreApplication>
#include <functional>

class DialogService;
class EditHistory;
class EditSession;
class ProjectController;
class RecoveryKeeper;
class QWidget;
struct FileDialog;

// Saving the job as a project file, and holding the file while it is open here, so that two
// windows or another program saving it are noticed before either loses the other's work.
class ProjectFiles
{
    Q_DECLARE_TR_FUNCTIONS(ProjectFiles)
public:
    struct Parts
    {
        QWidget *window;
        EditSession &session;
        EditHistory &history;
        ProjectController &project;
        RecoveryKeeper &recovery;
        FileDialog &saveDialog;
        std::function<DialogService &()> dialogs;
        std::function<void(const QString &)> say; // a line in the status bar
    };
    explicit ProjectFiles(Parts parts) : m(std::move(parts)) {}

    // Save Project (asking for a name the first time) and Save Project As; false when the user
    // cancelled or chose to leave the file alone.
    bool save();
    bool saveAs();
    // Saves the job to `path`, asking first when another program wrote the file since this job
    // read or wrote it.
    bool write(const QString &path);
    // Marks the project as open here; false when the user chose not to open one another program
    // holds.
    bool hold(const QString &path);
    // A job opened, closed or recovered starts with nothing to undo.
    void newJob(const QString &projectPath, bool changed, const QByteArray &digest = QByteArray());
    ProjectLock &lock() { return m_lock; }

private:
    Parts m;
    ProjectLock m_lock;
};
