#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Writing a file all at once through a temporary file beside it that replaces the target only
// when every byte is on disk, so a failed write (no such folder, no permission, a full disk, a
// file-size limit, a failed sync) leaves any earlier file of that name as it was. Used for survey
// data text, project files and pictures.
namespace WholeFile {

// Flushes a file's data to the disk (0) or fails with errno set (-1), as fdatasync does.
using SyncFunction = int (*)(int fileDescriptor);

// A file written in pieces: write() as often as needed, then commit(). Destroyed without a
// successful commit(), it removes its temporary file and the target is untouched.
//
// Throws CommandError "Cannot create file <path>: <reason>." when the file cannot be created and
// "Cannot write file <path>: <reason>. Any earlier file of that name is unchanged." when writing,
// syncing or replacing fails.
class Writer
{
public:
    explicit Writer(const QString &path, SyncFunction sync = nullptr); // nullptr: the system's fdatasync
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    void write(const char *bytes, qint64 size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    void commit();

private:
    [[noreturn]] void fail(const QString &reason);

    QString m_shown;
    QSaveFile m_file;
    SyncFunction m_sync;
};

void write(const QString &path, const QByteArray &bytes);

} // namespace WholeFile
