#pragma once

#include <QImage>
#include <QString>

// What reading an image file gave: the image, or why there is none.
struct ImageRead
{
    enum class Problem {
        None,
        NotReadable, // missing file, not an image, damaged data
        TooLarge     // decodable, but there is not enough memory for its pixels
    };

    QImage image;
    Problem problem = Problem::None;
    QString reason; // the reader's own words, when it gave any

    bool ok() const { return problem == Problem::None; }
};

// Reading a user-chosen scan into a working image.
//
// Any format Qt's image readers know is accepted (BMP, PNG, JPEG, TIFF, GIF, WebP, PBM/PGM/PPM,
// ...); only the first image of a multi-image file is read. The image keeps the decoded pixels
// without a second full copy: colour images as opaque 32-bit RGB, greyscale ones as 8-bit grey and
// palette ones as 8-bit indexed with an opaque palette; all three paint directly.
namespace ImageFile {

ImageRead read(const QString &fileName);

} // namespace ImageFile
