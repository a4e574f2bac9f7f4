#pragma once

#include <QTemporaryDir>

// Switches the C library to a German locale (decimal comma), built with localedef into a scratch
// folder, as a system whose separator is a comma would have it. The application switches the C
// library to the system's locale, so numbers must come out the same either way.
class CommaLocale
{
public:
    CommaLocale();
    ~CommaLocale();
    bool active() const { return m_active; } // false when localedef is not available

private:
    QTemporaryDir m_folder;
    QByteArray m_saved;
    bool m_active = false;
};
