#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace TestFiles {

QString dataPath(const QString &name)
{
    return QDir(qEnvironmentVariable("SPEOMARK_TEST_DATA")).filePath(name);
}

QByteArray dataBytes(const QString &name)
{
    QFile file(dataPath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return file.readAll();
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool systemGrantsEveryAllocation()
{
    return bytes(QStringLiteral("/proc/sys/vm/overcommit_memory")).trimmed() == "1";
}

} // namespace TestFiles
