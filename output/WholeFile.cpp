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
    if (!file.open(QIODevice::WriteOnly))
        throw CommandError(QStringLiteral("Cannot create file %1: %2.").arg(shown, reason(file)));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw CommandError(
            QStringLiteral("Cannot write file %1: %2. Any earlier file of that name is unchanged.").arg(shown, reason(file)));
}

} // namespace WholeFile
