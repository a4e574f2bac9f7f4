#include "project/ProjectLock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ProjectLock)
};

QString lockPathFor(const QString &projectPath)
{
    const QFileInfo info(projectPath);
    const QString full = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QString folder = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("open"));
    QDir().mkpath(folder);
    const QByteArray name = QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(folder).filePath(QString::fromLatin1(name) + QStringLiteral(".lock"));
}

} // namespace

ProjectLock::ProjectLock() = default;

ProjectLock::~ProjectLock() = default;

bool ProjectLock::take(const QString &path, QString *holder)
{
    const QString lockPath = lockPathFor(path);
    if (m_lock && m_lock->fileName() == lockPath)
        return true;
    release();
    m_problem.clear();
    auto lock = std::make_unique<QLockFile>(lockPath);
    lock->setStaleLockTime(0); // only a dead holder makes it stale, however long it has been held
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) {
            // Not held by anyone: the mark cannot be made here, and saying "open elsewhere" would
            // be false.
            m_problem = Words::tr("Another Speomark opening %1 will not be warned: %2 cannot be written.")
                            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(QFileInfo(lockPath).absolutePath()));
            return true;
        }
        qint64 pid = 0;
        QString host, application;
        if (holder)
            *holder = lock->getLockInfo(&pid, &host, &application) ? QString::number(pid) : Words::tr("unknown");
        return false;
    }
    m_lock = std::move(lock);
    m_path = path;
    return true;
}

void ProjectLock::release()
{
    m_lock.reset(); // unlocks
    m_path.clear();
}
