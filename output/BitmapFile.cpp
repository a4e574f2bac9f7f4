#include "output/BitmapFile.h"

#include "survey/CommandError.h"
#include "survey/Truncate.h"
#include "output/WholeFile.h"
#include "views/ViewPainter.h"
#include "views/ViewSnapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <new>
#include <optional>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(BitmapFile)
};

constexpr int HeaderBytes = 14 + 40; // the file header, then the Windows information header
constexpr qint64 ChunkBytes = 256 * 1024;
constexpr int MaxExtraRows = 1024; // painted above and below a band for the lines crossing it, or its height

CommandError cannotMake(const QString &path, const QString &reason)
{
    return CommandError(Words::tr("Cannot make the picture for %1: %2. Any earlier file of that name is unchanged.")
                            .arg(QDir::toNativeSeparators(path), reason));
}

// A BMP row: three bytes a pixel, padded to whole 32-bit words.
qint64 rowBytes(int width) { return (qint64(width) * 24 + 31) / 32 * 4; }

int rowsPerBand(int width, qint64 bandBytes)
{
    return int(std::clamp<qint64>(bandBytes / (std::max<qint64>(width, 1) * 3), 1, INT_MAX));
}

// As Qt's BMP writer fills it: sizes, 24 bits, no compression, the resolution (72 dpi when there
// is none), no palette.
QByteArray header(int width, int height, const QImage &resolution)
{
    const quint32 pixelBytes = quint32(rowBytes(width) * height);
    QByteArray bytes(HeaderBytes, '\0');
    uchar *at = reinterpret_cast<uchar *>(bytes.data());
    at[0] = 'B';
    at[1] = 'M';
    qToLittleEndian<quint32>(HeaderBytes + pixelBytes, at + 2);
    qToLittleEndian<quint32>(HeaderBytes, at + 10);
    qToLittleEndian<quint32>(40, at + 14);
    qToLittleEndian<qint32>(width, at + 18);
    qToLittleEndian<qint32>(height, at + 22);
    qToLittleEndian<quint16>(1, at + 26);
    qToLittleEndian<quint16>(24, at + 28);
    qToLittleEndian<quint32>(pixelBytes, at + 34);
    qToLittleEndian<qint32>(resolution.dotsPerMeterX() ? resolution.dotsPerMeterX() : 2834, at + 38);
    qToLittleEndian<qint32>(resolution.dotsPerMeterY() ? resolution.dotsPerMeterY() : 2834, at + 42);
    return bytes;
}

// Rows [top, top + count) of the picture as an image of that many rows; null when the memory for
// them cannot be had.
using BandSource = std::function<QImage(int top, int count)>;

void writeBands(const QString &path, int width, int height, int bandRows, const QImage &resolution,
                const BandSource &band)
{
    if (width <= 0 || height <= 0)
        throw cannotMake(path, Words::tr("it has no pixels"));
    const qint64 stride = rowBytes(width);
    if (stride * height > 0xFFFFFFFFLL - HeaderBytes)
        throw cannotMake(path, Words::tr("%1 x %2 pixels are more than a BMP file can hold").arg(width).arg(height));
    try {
        std::optional<WholeFile::Writer> file;
        QByteArray chunk;
        qint64 used = 0;
        // BMP rows run from the bottom up, so the bands do too.
        for (int end = height; end > 0;) {
            const int top = std::max(0, end - bandRows);
            QImage rows = band(top, end - top);
            if (!rows.isNull() && rows.format() != QImage::Format_RGB888)
                rows = rows.convertToFormat(QImage::Format_RGB888);
            if (rows.isNull())
                throw cannotMake(path, Words::tr("out of memory"));
            if (!file) {
                // Whole rows; the padding bytes stay zero as rows never reach them.
                chunk = QByteArray(std::max(stride, ChunkBytes / stride * stride), '\0');
                file.emplace(path);
                file->write(header(width, height, resolution));
            }
            for (int y = end - top - 1; y >= 0; --y) {
                const uchar *from = rows.constScanLine(y);
                uchar *to = reinterpret_cast<uchar *>(chunk.data()) + used;
                for (int x = 0; x < width; ++x, from += 3, to += 3) {
                    to[0] = from[2];
                    to[1] = from[1];
                    to[2] = from[0];
                }
                used += stride;
                if (used == chunk.size()) {
                    file->write(chunk.constData(), used);
                    used = 0;
                }
            }
            end = top;
        }
        file->write(chunk.constData(), used);
        file->commit();
    } catch (const std::bad_alloc &) {
        throw cannotMake(path, Words::tr("out of memory"));
    }
}

// The rows of the view's picture from top to bottom - 1. Painted on its own, a line crossing the
// band's edge would be cut there and could be drawn a pixel off where the whole picture has it,
// so the band is painted with enough rows around it to hold the ends of the lines that cross it:
// legs join consecutive stations, the pending leg its station and the pending point. (The guide
// circle and everything else are drawn alike wherever they are cut.)
QImage viewBand(const ViewSnapshot &view, int top, int count)
{
    const int bottom = top + count;
    int first = top;
    int last = bottom - 1;
    const auto reach = [&](const QPointF &a, const QPointF &b) {
        const int low = std::min(truncToInt(a.y()), truncToInt(b.y()));
        const int high = std::max(truncToInt(a.y()), truncToInt(b.y()));
        if (high >= top - 2 && low <= bottom + 1) {
            first = std::min(first, low);
            last = std::max(last, high);
        }
    };
    for (int i = 1; i < view.stations.size(); ++i)
        reach(view.stations[i - 1], view.stations[i]);
    if (view.pendingShown && view.pendingLegShown)
        reach(view.pendingLegFrom, view.pending);
    // Bounded, so that one leg across a huge scan cannot make a band as large as the picture;
    // beyond the bound a crossing line may differ by a pixel.
    const int extra = std::max(count, MaxExtraRows);
    const int deviceTop = std::max({0, first - 1, top - extra});
    const int deviceBottom = int(std::min<qint64>({qint64(view.sourceHeight), qint64(last) + 2, qint64(bottom) + extra}));

    QImage device(view.sourceWidth, deviceBottom - deviceTop, QImage::Format_RGB888);
    if (device.isNull())
        return device;
    device.fill(Qt::white);
    QPainter painter(&device);
    painter.translate(0, -deviceTop);
    if (!view.image.isNull())
        painter.drawImage(QPoint(0, top), view.image, QRect(0, top, view.sourceWidth, count));
    ViewPainter::paintOverlay(painter, view, QRectF(0, deviceTop, view.sourceWidth, deviceBottom - deviceTop));
    painter.end();
    if (deviceTop == top && deviceBottom == bottom)
        return device;

    // The band's rows, sharing the painted pixels rather than copying them.
    auto owner = std::make_unique<QImage>(std::move(device));
    QImage rows(owner->constScanLine(top - deviceTop), owner->width(), count, owner->bytesPerLine(),
                QImage::Format_RGB888, [](void *image) { delete static_cast<QImage *>(image); }, owner.get());
    if (!rows.isNull())
        owner.release();
    return rows;
}

} // namespace

namespace BitmapFile {

void writeView(const ViewSnapshot &view, const QString &path, qint64 bandBytes)
{
    // sourcePicture() makes a new image, so the file has a new image's resolution.
    const QImage resolution(1, 1, QImage::Format_RGB888);
    writeBands(path, view.sourceWidth, view.sourceHeight, rowsPerBand(view.sourceWidth, bandBytes), resolution,
               [&](int top, int count) { return viewBand(view, top, count); });
}

} // namespace BitmapFile
