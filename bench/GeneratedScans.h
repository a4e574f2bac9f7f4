#pragma once

#include <QImage>
#include <QString>
#include <random>

// What the generated sheets of the drawing benchmarks share: the kinds of scan a drawing comes
// in, and station labels as a surveyor writes them.
namespace GeneratedScans {

// 0 colour, 1 grey, 2 black and white.
inline QImage asScan(const QImage &drawn, int scan)
{
    if (scan == 1)
        return drawn.convertToFormat(QImage::Format_Grayscale8);
    if (scan == 2)
        return drawn.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    return drawn;
}

// A letter and up to `maxDigits` digits ("B7", "K309").
inline QString randomLabel(std::mt19937 &random, int maxDigits)
{
    static const char letters[] = "ABCDEFGHK";
    QString label(QChar(letters[random() % 9]));
    for (int digits = 1 + int(random() % unsigned(maxDigits)); digits > 0; --digits)
        label += QChar('0' + int(random() % 10));
    return label;
}

} // namespace GeneratedScans
