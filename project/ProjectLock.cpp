#include "project/ProjectLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace {

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
    auto lock = std::make_unique<QLockFile>(lockPath);
    lock->setStaleLockTime(0); // only a dead holder makes it stale, however long it has been held
    if (!lock->tryLock(0)) {
        qint64 pid = 0;
        QString host, application;
        if (holder && lock->getLockInfo(&pid, &host, &application))
            *holder = QString::number(pid);
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
