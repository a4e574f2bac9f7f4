#include "survey/SafeLine.h"

#include "survey/AnsiText.h"

QByteArray SafeLine::oneLine(QByteArray bytes)
{
    for (char &byte : bytes) {
        if (isControl(byte))
            byte = ' ';
    }
    return bytes;
}

SafeLine &SafeLine::text(const QString &text)
{
    return this->text(AnsiText::encode(text));
}

SafeLine &SafeLine::quoted(const QString &text)
{
    return code("\"").text(text).code("\"");
}

SafeLine &SafeLine::comment(const QByteArray &bytes)
{
    const QByteArray safe = oneLine(bytes);
    if (m_syntax == LineSyntax::Compass && safe.trimmed().startsWith('#'))
        m_bytes += "#|#  ";
    m_bytes += safe;
    return *this;
}

QByteArray SafeLine::bytes() const
{
    if (m_syntax == LineSyntax::Therion) {
        qsizetype end = m_bytes.size();
        while (end > 0 && (m_bytes[end - 1] == ' ' || m_bytes[end - 1] == '\t'))
            --end;
        if (end > 0 && m_bytes[end - 1] == '\\')
            return m_bytes + " #";
    }
    return m_bytes;
}
