#include "app/ui/ProjectFiles.h"

#include "app/ui/RecoveryKeeper.h"
#include "app/ui/WindowMenus.h"
#include "document/EditHistory.h"
#include "document/EditSession.h"
#include "project/ProjectController.h"
#include "project/ProjectFile.h"
#include "widgets/DialogService.h"

#include <QDir>

bool ProjectFiles::save()
{
    if (m.session.projectPath().isEmpty())
        return saveAs();
    return write(m.session.projectPath());
}

bool ProjectFiles::saveAs()
{
    if (!m.dialogs().execute(m.window, m.saveDialog) || !write(m.saveDialog.fileName))
        return false;
    WindowMenus::rememberProject(m.saveDialog.fileName);
    return true;
}

bool ProjectFiles::write(const QString &path)
{
    const QByteArray onDisk = ProjectFile::digest(path);
    if (path == m.session.projectPath() && !m.session.projectDigest().isEmpty() && !onDisk.isEmpty()
        && onDisk != m.session.projectDigest()
        && !m.dialogs().askYesNo(m.window, tr("Speomark: Confirm"),
                                 tr("%1 was changed by another program since it was opened or saved here.\n\n"
                                    "Replace it with this job? (No leaves the file as the other program saved it; "
                                    "Save Project As can keep both.)")
                                     .arg(QDir::toNativeSeparators(path))))
        return false;
    m.project.saveAs(path);
    m.session.setProject(path, false, ProjectFile::digest(path));
    m_lock.take(path, nullptr);
    m.recovery.remove();
    return true;
}

bool ProjectFiles::hold(const QString &path)
{
    QString holder;
    if (m_lock.take(path, &holder)) {
        if (!m_lock.problem().isEmpty())
            m.say(m_lock.problem());
        return true;
    }
    return m.dialogs().askYesNo(m.window, tr("Speomark: Confirm"),
                                tr("%1 is open in another Speomark window (process %2). If both save it, the "
                                   "changes of one are lost.\n\nOpen it here as well?")
                                    .arg(QDir::toNativeSeparators(path), holder));
}

void ProjectFiles::newJob(const QString &projectPath, bool changed, const QByteArray &digest)
{
    m.history.clear();
    m.session.setProject(projectPath, changed, digest);
}
