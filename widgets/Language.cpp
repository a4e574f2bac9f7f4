#include "widgets/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <clocale>

namespace Language {

namespace {

const QString SettingsKey = QStringLiteral("language");
const QString ProgramTranslation = QStringLiteral(":/i18n/speomark_ru.qm");

Applied s_current = Applied::English;
QTranslator *s_program = nullptr; // owned by the application
QTranslator *s_qt = nullptr;

void removeTranslator(QTranslator *&translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

QTranslator *installed(const QString &file, const QString &folder = QString())
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, folder) && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

Choice chosen()
{
    const QString value = QSettings().value(SettingsKey).toString();
    if (value == QLatin1String("en"))
        return Choice::English;
    if (value == QLatin1String("ru"))
        return Choice::Russian;
    return Choice::System;
}

void setChosen(Choice choice)
{
    QSettings().setValue(SettingsKey, choice == Choice::English   ? QStringLiteral("en")
                                      : choice == Choice::Russian ? QStringLiteral("ru")
                                                                  : QStringLiteral("system"));
}

Applied resolve(Choice choice, const QStringList &uiLanguages)
{
    switch (choice) {
    case Choice::English:
        return Applied::English;
    case Choice::Russian:
        return Applied::Russian;
    case Choice::System:
        break;
    }
    // Every other language gets English, the one the program is written in.
    if (uiLanguages.isEmpty())
        return Applied::English;
    return QLocale(uiLanguages.constFirst()).language() == QLocale::Russian ? Applied::Russian : Applied::English;
}

Applied systemLanguage() { return resolve(Choice::System, QLocale::system().uiLanguages()); }

void apply(Applied language)
{
    removeTranslator(s_program);
    removeTranslator(s_qt);
    s_current = language;
    // The system's own error texts ("File too large") come from the C library in the desktop's
    // language; in English they must not bring Russian into a message.
    std::setlocale(LC_MESSAGES, language == Applied::English ? "C" : "");
    if (language == Applied::English)
        return;
    s_program = installed(ProgramTranslation);
    s_qt = installed(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void applyChosen() { apply(resolve(chosen(), QLocale::system().uiLanguages())); }

Applied current() { return s_current; }

QLocale dateLocale()
{
    // The desktop's own conventions where they are in the program's language.
    const QLocale::Language language = s_current == Applied::Russian ? QLocale::Russian : QLocale::English;
    if (QLocale::system().language() == language)
        return QLocale(QLocale::system().name()); // the desktop's country, in its own language
    return language == QLocale::Russian ? QLocale(QLocale::Russian, QLocale::Russia)
                                        : QLocale(QLocale::English, QLocale::UnitedKingdom);
}

bool nativeDialogsFit() { return s_current == systemLanguage(); }

QString translated(Applied language, const char *context, const char *source)
{
    if (language == s_current)
        return QCoreApplication::translate(context, source);
    if (language == Applied::English)
        return QString::fromUtf8(source);
    QTranslator russian;
    const QString text = russian.load(ProgramTranslation) ? russian.translate(context, source) : QString();
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

} // namespace Language
