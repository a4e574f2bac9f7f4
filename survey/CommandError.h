#pragma once

#include <QString>
#include <stdexcept>

// An error that ends the command in which it was raised. The command guard of the main window
// shows its message in a box and the program goes on; whatever the command did before stays done.
// Core code throws it; it never shows anything itself.
class CommandError : public std::runtime_error
{
public:
    explicit CommandError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }

    QString message() const { return m_message; }

private:
    QString m_message;
};
