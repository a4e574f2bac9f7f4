#pragma once

#include <QImage>
#include <QString>

struct ViewSnapshot;

// 24-bit BMP files written a band of rows at a time straight into the whole-file writer, so a
// picture never needs a second full copy in memory, nor a view's picture a first one. The bytes
// are those of Qt's BMP writer for the same picture.
//
// Every failure throws CommandError and leaves any earlier file of that name as it was: the whole-file
// writer's messages, or "Cannot make the picture for <path>: <reason>. Any earlier file of that name
// is unchanged." when the pixels cannot be had (no memory, no size, too large for a BMP file).
namespace BitmapFile {

// Memory for the pixels of one band of a view's picture.
constexpr qint64 BandBytes = qint64(16) << 20;

// ViewPainter::sourcePicture(view), drawn band by band. A band is painted with enough rows around
// it to hold both ends of every leg crossing its edges (up to 1024 rows or the band's height each
// way), so the legs come out as in the whole picture.
void writeView(const ViewSnapshot &view, const QString &path, qint64 bandBytes = BandBytes);

} // namespace BitmapFile
