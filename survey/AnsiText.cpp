#include "survey/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>

namespace AnsiText {

static const char *const CodePage = "windows-1251";

bool canEncode(const QString &text)
{
    QStringEncoder encoder(CodePage);
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

QByteArray encode(const QString &text)
{
    // Most labels are plain ASCII, the same in the code page; making a converter costs more than
    // a survey check's whole walk of a station.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder(CodePage);
    return encoder.encode(text);
}

QString decode(const char *bytes, int maxBytes)
{
    if (!bytes || maxBytes <= 0)
        return QString();
    const void *zero = std::memchr(bytes, 0, static_cast<size_t>(maxBytes));
    const int length = zero ? static_cast<int>(static_cast<const char *>(zero) - bytes) : maxBytes;
    if (std::all_of(bytes, bytes + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes, length);
    QStringDecoder decoder(CodePage);
    return decoder.decode(QByteArrayView(bytes, length));
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), int(bytes.size()));
}

bool hasControlCharacters(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

QString withoutControlCharacters(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text;
}

QString unencodableCharacters(const QString &text)
{
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        // Keep surrogate pairs together so an emoji is reported as one character.
        const int length = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString character = text.mid(i, length);
        if (!canEncode(character) && !result.contains(character))
            result += character;
        i += length - 1;
    }
    return result;
}

} // namespace AnsiText
