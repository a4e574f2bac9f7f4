#include "views/ImageFile.h"

#include <QImageReader>
#include <QPixelFormat>

ImageFileHandles::ImageFileHandles() = default;
ImageFileHandles::~ImageFileHandles() = default;

int OpenImageFile(const QString &fileName, ImageFileHandles &handles)
{
    // Scanned sheets of several hundred megapixels are ordinary here, and the readers' default cap
    // (128 MB) would refuse them; whether the memory is really there is asked before reading.
    QImageReader::setAllocationLimit(0);
    handles.DecoderHandle = std::make_unique<QImageReader>();
    handles.DecoderHandle->setFileName(fileName);
    if (!handles.DecoderHandle->canRead())
        return ImageFileNotReadable;
    handles.ImageHandle = 0; // the first image is the one read
    return ImageFileOk;
}

// Whether pixels of that size can be had at all. A large block is mapped lazily, so asking costs
// nothing, and a refusal now is a clear "no memory" rather than a read that fails half-way.
static bool memoryAllows(const QSize &size, QImage::Format format)
{
    if (!size.isValid())
        return true; // unknown until read; the read itself will fail if it must
    const QImage probe(size, format == QImage::Format_Invalid ? QImage::Format_RGB32 : format);
    return !probe.isNull();
}

static void makePaletteOpaque(QImage &image)
{
    QList<QRgb> colours = image.colorTable();
    for (QRgb &colour : colours)
        colour = qRgb(qRed(colour), qGreen(colour), qBlue(colour));
    image.setColorTable(colours);
}

// Brings a decoded image into one of the three working formats. The common ones (8-bit colour
// and grey, palettes) need no conversion at all, and dropping alpha is done in place.
static void toWorkingFormat(QImage &image)
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

int ReadImageIntoBitmap(ImageFileHandles &handles, QImage &bitmap)
{
    if (!handles.DecoderHandle || handles.ImageHandle < 0)
        return ImageFileNotReadable;
    QImageReader &reader = *handles.DecoderHandle;
    if (!memoryAllows(reader.size(), reader.imageFormat()))
        return ImageFileTooLarge;
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return ImageFileNotReadable;
    toWorkingFormat(image);
    if (image.isNull())
        return ImageFileTooLarge; // the conversion could not get its memory
    bitmap = std::move(image);
    return ImageFileOk;
}

void CloseImageFile(ImageFileHandles &handles)
{
    handles.ImageHandle = -1;
    handles.DecoderHandle.reset();
}

int LoadImageFile(const QString &fileName, QImage &bitmap)
{
    ImageFileHandles handles;
    int status = OpenImageFile(fileName, handles);
    if (status >= 0)
        status = ReadImageIntoBitmap(handles, bitmap);
    CloseImageFile(handles);
    return status;
}
