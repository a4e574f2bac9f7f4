#pragma once

#include <QByteArray>
#include <QString>

// Whose reader a line is written for.
enum class LineSyntax { Lumaro, Survex, Therion, Compass };

// One line of a survey data file, put together from the writer's own syntax (keywords, numbers,
// separators, names StationNames made) and free text: labels, comments, name notes and details.
// Every layout builds its lines with it, so no free text can end a line or start a command:
//  - free text loses its control characters (bytes below 0x20, and 0x7F), each written as a
//    space: cavern ends a line at CR, LF and 0x1A, Therion at LF, Compass ends a survey at a form
//    feed, and a tab is a column of the from/to layouts;
//  - a Therion line never ends in a backslash (blanks after it included): Therion would join the
//    next line to it, so such a line gets an empty comment " #" after it;
//  - a Compass comment whose first character is "#" would be read as the leg's flags ("#|X#"
//    drops the leg), so empty flags "#|#" go before it.
// Free text that needs none of this is written byte for byte.
class SafeLine
{
public:
    explicit SafeLine(LineSyntax syntax, const QByteArray &code = QByteArray()) : m_syntax(syntax), m_bytes(code) {}

    SafeLine &code(const QByteArray &bytes)
    {
        m_bytes += bytes;
        return *this;
    }
    // Stored Windows-1251 bytes (a label, a comment, a note).
    SafeLine &text(const QByteArray &bytes)
    {
        m_bytes += oneLine(bytes);
        return *this;
    }
    // A detail, through the code page.
    SafeLine &text(const QString &text);
    // A detail in double quotes (the details' check refuses a quote inside).
    SafeLine &quoted(const QString &text);
    // The free text of a comment column, which Compass might read as flags.
    SafeLine &comment(const QByteArray &bytes);

    // The finished line, without its line end.
    QByteArray bytes() const;

    // Free text as it may stand inside a line: each control character a space.
    static QByteArray oneLine(QByteArray bytes);
    static bool isControl(char byte) { return static_cast<unsigned char>(byte) < 0x20 || byte == 0x7f; }

private:
    LineSyntax m_syntax;
    QByteArray m_bytes;
};
