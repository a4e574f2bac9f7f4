#include "widgets/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace Glyphs {

static QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage openFolder()
{
    QImage image = blank(22, 21);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Back of the folder with its tab.
    p.setPen(QColor(0x80, 0x60, 0x00));
    p.setBrush(QColor(0xE8, 0xC0, 0x40));
    p.drawPolygon(QPolygon({{1, 6}, {6, 6}, {8, 8}, {15, 8}, {15, 19}, {1, 19}}));
    // Open front flap, tilted.
    p.setBrush(QColor(0xFF, 0xE0, 0x70));
    p.drawPolygon(QPolygon({{4, 11}, {20, 11}, {16, 19}, {1, 19}}));
    // Curved arrow leaving the folder.
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath arrow;
    arrow.moveTo(10, 8);
    arrow.cubicTo(11, 2, 16, 1, 19, 4);
    p.setPen(QPen(QColor(0x00, 0x40, 0xC0), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arrow);
    p.setBrush(QColor(0x00, 0x40, 0xC0));
    p.drawPolygon(QPolygonF({{20.5, 1.5}, {20.5, 6.5}, {16.0, 5.0}}));
    return image;
}

static QImage lens(bool plus)
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Handle.
    p.setPen(QPen(QColor(0x60, 0x30, 0x10), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
    // Glass.
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1.4));
    p.setBrush(QColor(0xD8, 0xF0, 0xFF));
    p.drawEllipse(QPointF(6.5, 6.5), 5.2, 5.2);
    // Sign.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0x00, 0x00));
    p.drawRect(4, 6, 6, 2);
    if (plus)
        p.drawRect(6, 4, 2, 6);
    return image;
}

QImage zoomOut() { return lens(false); }
QImage zoomIn() { return lens(true); }

QImage helpQuestion()
{
    QImage image = blank(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(16);
    QPainterPath mark;
    mark.addText(3, 14, font, QStringLiteral("?"));
    p.setPen(QPen(QColor(0x60, 0x50, 0x00), 1.2));
    p.setBrush(QColor(0xFF, 0xE0, 0x00));
    p.drawPath(mark);
    return image;
}

QImage applicationIcon()
{
    // Drawn with the 16 colours of the classic palette only, then stored as a 16-colour image.
    QImage canvas(32, 32, QImage::Format_RGB32);
    canvas.fill(QColor(0x00, 0x00, 0x80)); // navy
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Passage walls.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawPolygon(QPolygon({{0, 20}, {6, 12}, {14, 14}, {22, 6}, {32, 4}, {32, 14}, {24, 16},
                            {16, 24}, {8, 22}, {0, 30}}));
    // Survey line and stations.
    p.setPen(QPen(QColor(0xFF, 0x00, 0x00), 2));
    p.drawPolyline(QPolygon({{3, 24}, {10, 17}, {17, 19}, {27, 9}}));
    p.setPen(QColor(0xFF, 0x00, 0x00));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    for (const QPoint &station : {QPoint(3, 24), QPoint(10, 17), QPoint(17, 19), QPoint(27, 9)})
        p.drawEllipse(station, 2, 2);
    p.end();
    QList<QRgb> palette;
    for (const QRgb colour : {0xFF000000u, 0xFF800000u, 0xFF008000u, 0xFF808000u, 0xFF000080u,
                              0xFF800080u, 0xFF008080u, 0xFFC0C0C0u, 0xFF808080u, 0xFFFF0000u,
                              0xFF00FF00u, 0xFFFFFF00u, 0xFF0000FFu, 0xFFFF00FFu, 0xFF00FFFFu,
                              0xFFFFFFFFu})
        palette.append(colour);
    return canvas.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
}

QIcon icon(const QImage &glyph) { return QIcon(QPixmap::fromImage(glyph)); }

} // namespace Glyphs
