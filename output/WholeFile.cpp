#include "output/WholeFile.h"

#include "survey/CommandError.h"

#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(WholeFile)
};

} // namespace

namespace WholeFile {

// QSaveFile reports some failures of its temporary file (such as a name too long for the file
// system) without a reason.
static QString reason(const QFileDevice &file)
{
    const QString text = file.errorString();
    return text.isEmpty() || text == QLatin1String("Unknown error") ? Words::tr("the file system refused it") : text;
}

static int systemSync(int fileDescriptor) { return ::fdatasync(fileDescriptor); }

Writer::Writer(const QString &path, SyncFunction sync)
    : m_shown(QDir::toNativeSeparators(path)), m_file(path), m_sync(sync ? sync : &systemSync)
{
    // Unbuffered, so a write the disk cuts short shows in write()'s count: buffered, a short write
    // at the final flush goes unnoticed and commit() would put a truncated file in place.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw CommandError(Words::tr("Cannot create file %1: %2.").arg(m_shown, reason(m_file)));
}

void Writer::fail(const QString &why)
{
    m_file.cancelWriting();
    throw CommandError(
        Words::tr("Cannot write file %1: %2. Any earlier file of that name is unchanged.").arg(m_shown, why));
}

void Writer::write(const char *bytes, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const qint64 n = m_file.write(bytes + written, size - written);
        if (n <= 0)
            fail(reason(m_file));
        written += n;
    }
}

void Writer::commit()
{
    // QSaveFile syncs too but ignores the result; data the disk could not keep must not replace
    // the old file.
    if (m_sync(m_file.handle()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!m_file.commit())
        fail(reason(m_file));
}

void write(const QString &path, const QByteArray &bytes)
{
    Writer file(path);
    file.write(bytes);
    file.commit();
}

} // namespace WholeFile
