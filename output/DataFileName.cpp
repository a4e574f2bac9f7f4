#include "output/DataFileName.h"

#include "output/ExportFormats.h"

#include <algorithm>

namespace DataFileNames {

// Where the file's own name starts; both separators count, as paths typed on other systems may
// use either.
static qsizetype nameStart(const QString &path)
{
    return std::max(path.lastIndexOf(QChar('/')), path.lastIndexOf(QChar('\\'))) + 1;
}

const QStringList &knownExtensions()
{
    static const QStringList known = ExportFormats::extensions();
    return known;
}

QString extensionOf(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QChar('.'));
    if (dot < nameStart(path) || dot == nameStart(path))
        return QString(); // no dot in the name, or a name that is all extension (".svx")
    const QString extension = path.mid(dot + 1).toLower();
    return knownExtensions().contains(extension) ? extension : QString();
}

QString withoutExtension(const QString &path)
{
    const QString extension = extensionOf(path);
    return extension.isEmpty() ? path : path.left(path.size() - extension.size() - 1);
}

bool hasExtension(const QString &path)
{
    return !extensionOf(path).isEmpty();
}

bool hasAnySuffix(const QString &path)
{
    return path.lastIndexOf(QChar('.')) > nameStart(path);
}

} // namespace DataFileNames
