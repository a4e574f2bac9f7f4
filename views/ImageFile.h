#pragma once

#include <QImage>
#include <QString>
#include <memory>

class QImageReader;

// Reading a user-chosen image file into a working bitmap, in three calls that are always used in
// this order: OpenImageFile, ReadImageIntoBitmap (only when opening succeeded), CloseImageFile
// (always, whatever happened before). Statuses are negative on failure, as callers only test the
// sign. The handles live for one open command.
//
// Any format Qt's image readers know is accepted (BMP, PNG, JPEG, TIFF, GIF, WebP, PBM/PGM/PPM,
// ...); only the first image of a multi-image file is read. The bitmap keeps the decoded pixels
// without a second full copy: colour images as opaque 32-bit RGB, greyscale ones as 8-bit grey and
// palette ones as 8-bit indexed with an opaque palette; all three paint directly.
struct ImageFileHandles
{
    ImageFileHandles();
    ~ImageFileHandles();
    ImageFileHandles(const ImageFileHandles &) = delete;
    ImageFileHandles &operator=(const ImageFileHandles &) = delete;

    std::unique_ptr<QImageReader> DecoderHandle; // the decoder given the file
    int ImageHandle = -1;                        // the image chosen from it; -1 = none
};

enum ImageFileStatus : int {
    ImageFileOk = 0,
    ImageFileNotReadable = -1, // missing file, not an image, damaged data
    ImageFileTooLarge = -2     // decodable, but there is not enough memory for its pixels
};

int OpenImageFile(const QString &fileName, ImageFileHandles &handles);
// On success the bitmap is replaced by the image; on failure it is left as it was.
int ReadImageIntoBitmap(ImageFileHandles &handles, QImage &bitmap);
void CloseImageFile(ImageFileHandles &handles);

// The three calls in order, for commands that only want the pixels (a project's images).
int LoadImageFile(const QString &fileName, QImage &bitmap);
