#include "views/ImageFile.h"

#include <QImageReader>
#include <QPixelFormat>

namespace {

// Whether pixels of that size can be had at all. A large block is mapped lazily, so asking costs
// nothing, and a refusal now is a clear "no memory" rather than a read that fails half-way.
bool memoryAllows(const QSize &size, QImage::Format format)
{
    if (!size.isValid())
        return true; // unknown until read; the read itself will fail if it must
    const QImage probe(size, format == QImage::Format_Invalid ? QImage::Format_RGB32 : format);
    return !probe.isNull();
}

void makePaletteOpaque(QImage &image)
{
    QList<QRgb> colours = image.colorTable();
    for (QRgb &colour : colours)
        colour = qRgb(qRed(colour), qGreen(colour), qBlue(colour));
    image.setColorTable(colours);
}

// Brings a decoded image into one of the three working formats. The common ones (8-bit colour
// and grey, palettes) need no conversion at all, and dropping alpha is done in place.
void toWorkingFormat(QImage &image)
{
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_Grayscale8:
        return;
    case QImage::Format_Indexed8:
        makePaletteOpaque(image);
        return;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        image.convertTo(QImage::Format_Indexed8);
        makePaletteOpaque(image);
        return;
    default:
        break;
    }
    // Drawn as a 24-bit picture would be: the colour channels kept, transparency dropped.
    if (image.pixelFormat().colorModel() == QPixelFormat::Grayscale)
        image.convertTo(QImage::Format_Grayscale8);
    else
        image.convertTo(QImage::Format_RGB32);
}

ImageRead failure(ImageRead::Problem problem, const QString &reason)
{
    ImageRead result;
    result.problem = problem;
    result.reason = reason;
    return result;
}

} // namespace

ImageRead ImageFile::read(const QString &fileName)
{
    // Scanned sheets of several hundred megapixels are ordinary here, and the readers' default cap
    // (128 MB) would refuse them; whether the memory is really there is asked before reading.
    QImageReader::setAllocationLimit(0);
    QImageReader reader(fileName);
    if (!reader.canRead())
        return failure(ImageRead::Problem::NotReadable, reader.errorString());
    if (!memoryAllows(reader.size(), reader.imageFormat()))
        return failure(ImageRead::Problem::TooLarge, QStringLiteral("Out of memory"));
    ImageRead result;
    if (!reader.read(&result.image) || result.image.isNull())
        return failure(ImageRead::Problem::NotReadable, reader.errorString());
    toWorkingFormat(result.image);
    if (result.image.isNull()) // the conversion could not get its memory
        return failure(ImageRead::Problem::TooLarge, QStringLiteral("Out of memory"));
    return result;
}
