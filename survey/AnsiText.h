#pragma once

#include <QByteArray>
#include <QString>

// The one codec for every 8-bit text of the program (labels, comments, paths in project files,
// survey data text): Windows-1251, the code page the stored files have always used.
namespace AnsiText {

// True when every character of text has a byte in the code page.
bool canEncode(const QString &text);

// The bytes of text; characters outside the code page come out as 0x1A (check canEncode first
// where that matters).
QByteArray encode(const QString &text);

// Text from the bytes up to the first zero byte or maxBytes, whichever comes first, so a field
// filled to its last byte without a terminating zero never reads into the next one.
QString decode(const char *bytes, int maxBytes);
QString decode(const QByteArray &bytes);

// True when text holds a control character (below U+0020, U+007F, or U+0080 to U+009F): a line
// break, a tab, or 0x1A, which Survex also reads as a line end. No text of a station or of the
// survey details may hold one.
bool hasControlCharacters(const QString &text);
// The text with each control character a space, as the survey files write a stored one.
QString withoutControlCharacters(QString text);

// The characters of text that the code page cannot hold, each once, in order of appearance.
QString unencodableCharacters(const QString &text);

} // namespace AnsiText
