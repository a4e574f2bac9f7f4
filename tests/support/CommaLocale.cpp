#include "support/CommaLocale.h"

#include <QFile>
#include <QProcess>
#include <clocale>

CommaLocale::CommaLocale() : m_saved(std::setlocale(LC_ALL, nullptr))
{
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"),
                                                  QStringLiteral("UTF-8"), m_folder.filePath(QStringLiteral("de_DE.UTF-8"))});
    if (!localedef.waitForFinished(60000) || localedef.exitCode() != 0)
        return;
    qputenv("LOCPATH", QFile::encodeName(m_folder.path()));
    m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

CommaLocale::~CommaLocale()
{
    std::setlocale(LC_ALL, m_saved.constData());
    qunsetenv("LOCPATH");
}
