#include "output/WholeFile.h"

#include "app/CommandError.h"

#include <QDir>
#include <QSaveFile>

namespace WholeFile {

// QSaveFile reports some failures of its temporary file (such as a name too long for the file
// system) without a reason.
static QString reason(const QFileDevice &file)
{
    const QString text = file.errorString();
    return text.isEmpty() || text == QLatin1String("Unknown error") ? QStringLiteral("the file system refused it") : text;
}

void write(const QString &path, const QByteArray &bytes)
{
    const QString shown = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    // Unbuffered, so a write the disk cuts short shows in write()'s count: buffered, a short write
    // at the final flush goes unnoticed and commit() would put a truncated file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw CommandError(QStringLiteral("Cannot create file %1: %2.").arg(shown, reason(file)));
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != bytes.size() || !file.commit())
        throw CommandError(
            QStringLiteral("Cannot write file %1: %2. Any earlier file of that name is unchanged.").arg(shown, reason(file)));
}

} // namespace WholeFile
