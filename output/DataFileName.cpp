#include "output/DataFileName.h"

namespace DataFileNames {

// Where the file's own name starts; both separators count, as paths typed on other systems may
// use either.
static qsizetype nameStart(const QString &path)
{
    return std::max(path.lastIndexOf(QChar('/')), path.lastIndexOf(QChar('\\'))) + 1;
}

QString withoutExtension(const QString &path)
{
    const qsizetype dot = path.indexOf(QChar('.'), nameStart(path));
    return dot < 0 ? path : path.left(dot);
}

bool hasExtension(const QString &path)
{
    return path.indexOf(QChar('.'), nameStart(path)) >= 0;
}

} // namespace DataFileNames
