#include "views/ViewPainter.h"

#include "survey/Truncate.h"
#include "views/ViewSnapshot.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QLine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

const QColor GridColour(0x00, 0x80, 0x80);  // teal
const QColor Red(0xFF, 0x00, 0x00);
const QColor Blue(0x00, 0x00, 0xFF);
const QColor White(0xFF, 0xFF, 0xFF);

// A fixed face and size, unsmoothed, so labels come out the same pixels on every machine that
// has the font the program installs. (Made afresh when needed: a font must not outlive the
// application object, as a static one would.)
QFont labelFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

int labelHeight(int pixels)
{
    static QHash<int, int> heights;
    auto found = heights.constFind(pixels);
    if (found == heights.constEnd())
        found = heights.insert(pixels, QFontMetrics(labelFont(pixels)).height());
    return *found;
}

// How large marks and labels are drawn, in device pixels per pixel of the usual 11-pixel style:
// the size chosen for the screen, constant at any zoom; in a saved picture, grown with the scan
// so that labels stay readable on a large sheet.
double markScale(const ViewSnapshot &view, bool onScreen)
{
    const double chosen = view.labelPixels > 0 ? view.labelPixels / double(ViewSnapshot::MediumLabelPixels) : 1.0;
    if (onScreen)
        return chosen;
    const int shortSide = std::min(view.sourceWidth, view.sourceHeight);
    return chosen * std::max(1, shortSide / 1000);
}

int scaled(int pixels, double scale) { return std::max(1, truncToInt(std::round(pixels * scale))); }

// An ellipse filling a box of w x h pixels with a one-pixel outline: the pixels whose centres lie
// inside the ellipse inscribed in the box, those touching the outside being the outline. Kept as
// a small image (transparent around the ellipse) so that drawing a mark is one blit at any zoom.
QImage ellipseSprite(int w, int h, QRgb outline, QRgb fill)
{
    static std::map<std::tuple<int, int, QRgb, QRgb>, QImage> cache;
    const auto key = std::make_tuple(w, h, outline, fill);
    if (cache.size() > 256)
        cache.clear();
    auto found = cache.find(key);
    if (found != cache.end())
        return found->second;

    QImage sprite(w, h, QImage::Format_ARGB32_Premultiplied);
    sprite.fill(Qt::transparent);
    const double a = w / 2.0;
    const double b = h / 2.0;
    auto inside = [&](int i, int j) {
        if (i < 0 || j < 0 || i >= w || j >= h)
            return false;
        const double u = (i + 0.5 - a) / a;
        const double v = (j + 0.5 - b) / b;
        return u * u + v * v <= 1.0;
    };
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (!inside(i, j))
                continue;
            const bool edge = !inside(i - 1, j) || !inside(i + 1, j) || !inside(i, j - 1) || !inside(i, j + 1);
            sprite.setPixel(i, j, edge ? outline : fill);
        }
    cache.emplace(key, sprite);
    return sprite;
}

// The text on its white box, rendered once per text and colour.
QImage labelSprite(const QString &text, const QColor &colour, int pixels)
{
    static QHash<QPair<QRgb, int>, QHash<QString, QImage>> cache;
    QHash<QString, QImage> &texts = cache[qMakePair(colour.rgb(), pixels)];
    auto found = texts.constFind(text);
    if (found != texts.constEnd())
        return *found;
    if (texts.size() > 4000)
        texts.clear();

    const QFont font = labelFont(pixels);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(text);
    QImage sprite;
    if (width > 0) {
        sprite = QImage(width, metrics.height(), QImage::Format_RGB32);
        sprite.fill(White);
        QPainter painter(&sprite);
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(QPoint(0, metrics.ascent()), text);
    }
    texts.insert(text, sprite);
    return sprite;
}

// A mark's box: truncated corners of the position -/+ half, right and bottom exclusive.
QRect markBox(const QPointF &at, int half)
{
    const int left = truncToInt(at.x() - half);
    const int top = truncToInt(at.y() - half);
    return QRect(QPoint(left, top), QSize(truncToInt(at.x() + half) - left, truncToInt(at.y() + half) - top));
}

QPoint truncated(const QPointF &at) { return QPoint(truncToInt(at.x()), truncToInt(at.y())); }

void drawEllipseMark(QPainter &painter, const QRect &box, const QRect &clip, QRgb outline, QRgb fill)
{
    if (box.width() <= 0 || box.height() <= 0 || !box.intersects(clip))
        return;
    painter.drawImage(box.topLeft(), ellipseSprite(box.width(), box.height(), outline, fill));
}

// A label beside a mark, at a device position, `scale` times the usual size.
void drawLabel(QPainter &painter, const QPointF &at, const QString &text, const QColor &colour, const QRect &clip,
               double scale)
{
    if (text.isEmpty())
        return;
    const int pixels = scaled(ViewSnapshot::MediumLabelPixels, scale);
    const double offset = 3.0 * scale;
    const QPoint corner(truncToInt(at.x() + offset), truncToInt(at.y() - offset));
    if (corner.x() > clip.right() || corner.y() > clip.bottom() || corner.y() + labelHeight(pixels) < clip.top())
        return;
    const QImage sprite = labelSprite(text, colour, pixels);
    if (sprite.isNull() || corner.x() + sprite.width() < clip.left())
        return;
    painter.drawImage(corner, sprite);
}

bool lineMeetsClip(const QPoint &a, const QPoint &b, const QRect &clip)
{
    return std::max(a.x(), b.x()) >= clip.left() && std::min(a.x(), b.x()) <= clip.right()
           && std::max(a.y(), b.y()) >= clip.top() && std::min(a.y(), b.y()) <= clip.bottom();
}

// Calls visit(d) for each grid offset d (from the origin) in [low, high]: 0 always exists; then
// d_j = T(j x cell) for j = 1, 2, ... while d_j stays below `extent` and T((j + 1) x cell) > 0.
// For a cell below half a pixel (or none at all) that second test fails at once; from half a
// pixel up it always holds. Offsets repeated by rounding are visited once.
template <class Visit> void forEachGridOffset(double cell, int extent, int low, int high, Visit visit)
{
    if (low <= 0 && 0 <= high)
        visit(0);
    if (!(cell >= 0.5) || !std::isfinite(cell))
        return;
    const double first = std::max(1.0, std::floor(double(low) / cell) - 1.0);
    int previous = 0;
    for (double j = first;; j += 1.0) {
        const int d = truncToInt(j * cell);
        if (d >= extent || d > high)
            break;
        if (d >= low && d != previous && d > 0)
            visit(d);
        previous = d;
    }
}

} // namespace

void ViewPainter::paintOverlay(QPainter &painter, const ViewSnapshot &view, const QRectF &sourceArea, bool onScreen)
{
    const QRect clip = sourceArea.toAlignedRect().adjusted(-1, -1, 1, 1);
    const int width = view.sourceWidth;
    const int height = view.sourceHeight;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    // Lines join pixel centres: at zoom 1 they cover the same pixels as the blocks, larger zooms
    // put them in the middle of the stretched pixels rather than along their top-left edge.
    const QTransform blocks = painter.transform();
    const double deviceScale = std::abs(painter.deviceTransform().m11());
    const double centre = deviceScale > 0.0 ? (deviceScale - 1.0) / (2.0 * deviceScale) : 0.0;
    const QTransform lines = QTransform::fromTranslate(centre, centre) * blocks;
    QPen pen(Red, 1.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);

    // Grid: one line pair per offset, right and down from the origin.
    if (view.gridShown) {
        const QPoint origin = view.gridOrigin;
        const int extent = std::max(width, height);
        forEachGridOffset(view.gridPixels, extent, clip.top() - origin.y(), clip.bottom() - origin.y(), [&](int d) {
            if (width > 1)
                painter.fillRect(QRect(origin.x() + 1, origin.y() + d, width - 1, 1), GridColour);
        });
        forEachGridOffset(view.gridPixels, extent, clip.left() - origin.x(), clip.right() - origin.x(), [&](int d) {
            if (height > 1)
                painter.fillRect(QRect(origin.x() + d, origin.y() + 1, 1, height - 1), GridColour);
        });
    }

    // Legs whose plan and profile lengths disagree: three pixels wide under the marks and the
    // ordinary leg, so the red line still runs along the middle; the traverse chosen in the check
    // wider still, in its own colour.
    const auto wideLegs = [&](const QVector<int> &ends, const QPen &widePen, int reach) {
        QVector<QLine> wide;
        for (const int to : ends) {
            if (to < 1 || to >= view.stations.size())
                continue;
            const QPoint from = truncated(view.stations[to - 1]);
            const QPoint end = truncated(view.stations[to]);
            if (lineMeetsClip(from, end, clip.adjusted(-reach, -reach, reach, reach)))
                wide.append(QLine(from, end));
        }
        if (wide.isEmpty())
            return;
        painter.setTransform(lines);
        painter.setPen(widePen);
        painter.drawLines(wide);
        painter.setTransform(blocks);
    };
    wideLegs(view.disagreeingLegs,
             QPen(ViewPainter::disagreementColour(), 3.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin), 1);
    wideLegs(view.chosenLegs, QPen(ViewPainter::chosenColour(), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), 2);

    // Marks and labels are drawn in the device's pixels, at their own size whatever the zoom.
    const double scale = markScale(view, onScreen);
    const QRect deviceClip = blocks.mapRect(QRectF(clip)).toAlignedRect().adjusted(-1, -1, 1, 1);
    const auto onDevice = [&](const QPointF &at) { return blocks.map(at); };
    const auto mark = [&](const QPointF &at, int half, QRgb outline, QRgb fill) {
        drawEllipseMark(painter, markBox(onDevice(at), scaled(half, scale)), deviceClip, outline, fill);
    };
    const auto label = [&](const QPointF &at, const QString &text) {
        drawLabel(painter, onDevice(at), text, view.labelColour, deviceClip, scale);
    };

    // Station marks, labels and legs.
    painter.resetTransform();
    for (const QPointF &at : view.stations)
        mark(at, 2, Red.rgb(), White.rgb());
    for (int i = 0; i < view.labels.size() && i < view.stations.size(); ++i)
        label(view.stations[i], view.labels[i]);
    painter.setTransform(blocks);
    QVector<QLine> legs;
    for (int i = 1; i < view.legBefore.size() && i < view.stations.size(); ++i) {
        if (!view.legBefore[i])
            continue;
        const QPoint from = truncated(view.stations[i - 1]);
        const QPoint to = truncated(view.stations[i]);
        if (lineMeetsClip(from, to, clip))
            legs.append(QLine(from, to));
    }
    if (!legs.isEmpty()) {
        painter.setTransform(lines);
        painter.setPen(pen);
        painter.drawLines(legs);
        painter.setTransform(blocks);
    }

    // Where the adjusted survey moves each station: an arrow from the drawn point, its head a
    // fixed size on screen.
    if (!view.shiftArrows.isEmpty()) {
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(ViewPainter::shiftColour(), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QRectF reach = QRectF(deviceClip).adjusted(-8, -8, 8, 8);
        for (const QLineF &arrow : view.shiftArrows) {
            const QLineF line(onDevice(arrow.p1()), onDevice(arrow.p2()));
            if (!reach.intersects(QRectF(line.p1(), line.p2()).normalized().adjusted(-1, -1, 1, 1)))
                continue;
            painter.drawLine(line);
            if (line.length() < 4.0)
                continue;
            const QPointF back = (line.p1() - line.p2()) / line.length() * 7.0;
            const QPointF side(-back.y() * 0.5, back.x() * 0.5);
            painter.drawLine(line.p2(), line.p2() + back + side);
            painter.drawLine(line.p2(), line.p2() + back - side);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setTransform(blocks);
    }

    // The guide for the pending station.
    if (view.guide == ViewSnapshot::Guide::Circle) {
        const QRect box = view.guideCircleBox;
        if (box.width() > 0 && box.height() > 0 && box.intersects(clip)) {
            painter.setTransform(lines);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(QRectF(box.x(), box.y(), box.width() - 1, box.height() - 1));
            painter.setTransform(blocks);
        }
    } else if ((view.guide == ViewSnapshot::Guide::VerticalLines || view.guide == ViewSnapshot::Guide::VerticalLine)
               && height > 0) {
        const int lines = view.guide == ViewSnapshot::Guide::VerticalLine ? 1 : 2;
        for (int i = 0; i < lines; ++i)
            if (view.guideLineX[i] >= clip.left() && view.guideLineX[i] <= clip.right())
                painter.fillRect(QRect(view.guideLineX[i], 0, 1, height), Red);
    }

    // The selected station's walls: a line out to each mark, a square a fixed size on screen,
    // filled where the wall has a value.
    if (!view.wallMarks.isEmpty()) {
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, true);
        for (const ViewOverlay::WallMark &mark : view.wallMarks) {
            const QLineF line(onDevice(mark.line.p1()), onDevice(mark.line.p2()));
            painter.setPen(QPen(ViewPainter::chosenColour(), 1.5, mark.set ? Qt::SolidLine : Qt::DashLine));
            painter.drawLine(line);
            painter.setPen(QPen(ViewPainter::chosenColour(), 1.5));
            painter.setBrush(mark.set ? QBrush(ViewPainter::chosenColour()) : QBrush(Qt::white));
            painter.drawRect(QRectF(line.p2() - QPointF(4, 4), QSizeF(8, 8)));
        }
        painter.setBrush(Qt::NoBrush);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setTransform(blocks);
    }

    // Where the point held down will land: a ring with a cross, a fixed size on screen.
    if (view.previewShown) {
        painter.resetTransform();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(ViewPainter::shiftColour(), 1.5));
        painter.setBrush(Qt::NoBrush);
        const QPointF at = onDevice(view.preview);
        painter.drawEllipse(at, 6.0, 6.0);
        painter.drawLine(at - QPointF(9, 0), at + QPointF(9, 0));
        painter.drawLine(at - QPointF(0, 9), at + QPointF(0, 9));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setTransform(blocks);
    }

    // The pending station: a solid dot, its label, the leg from the last station.
    if (view.pendingShown) {
        painter.resetTransform();
        mark(view.pending, 2, Red.rgb(), Red.rgb());
        label(view.pending, view.pendingLabel);
        painter.setTransform(blocks);
        if (view.pendingLegShown) {
            const QPoint from = truncated(view.pendingLegFrom);
            const QPoint to = truncated(view.pending);
            if (lineMeetsClip(from, to, clip)) {
                painter.setTransform(lines);
                painter.setPen(pen);
                painter.drawLine(from, to);
                painter.setTransform(blocks);
            }
        }
    }

    // The station selected in Move mode: a red disc with a blue rim over its mark.
    if (view.highlightShown) {
        painter.resetTransform();
        mark(view.highlight, 3, Blue.rgb(), Red.rgb());
        painter.setTransform(blocks);
    }

    painter.restore();
}

void ViewPainter::paintDisplayed(QPainter &painter, const ViewSnapshot &view, const QRect &displayedArea)
{
    const double zoom = view.zoom;
    if (displayedArea.isEmpty())
        return;
    if (!(zoom > 0.0) || !std::isfinite(zoom)) {
        painter.fillRect(displayedArea, White);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setTransform(QTransform::fromScale(zoom, zoom), true);
    const QRectF sourceArea(displayedArea.x() / zoom, displayedArea.y() / zoom, displayedArea.width() / zoom,
                            displayedArea.height() / zoom);
    const QRect needed = sourceArea.toAlignedRect();
    const QRect imagePart = needed & view.image.rect() & QRect(0, 0, view.sourceWidth, view.sourceHeight);
    if (imagePart != needed)
        painter.fillRect(needed, White); // beyond the image, or no image at all
    if (!imagePart.isEmpty()) {
        // Shrinking, Qt samples half a source pixel left of each displayed pixel's centre; drawn
        // that much further left, the image samples at the centres, where the blocks of the
        // overlay are decided, so a line on the scan and a grid line over it stay together.
        const double shift = zoom < 1.0 ? -0.5 : 0.0;
        painter.drawImage(QPointF(imagePart.x() + shift, imagePart.y() + shift), view.image, imagePart);
    }
    paintOverlay(painter, view, sourceArea, true);
    painter.restore();
}

QImage ViewPainter::sourcePicture(const ViewSnapshot &view)
{
    if (view.sourceWidth <= 0 || view.sourceHeight <= 0)
        return QImage();
    QImage picture(view.sourceWidth, view.sourceHeight, QImage::Format_RGB888);
    if (picture.isNull())
        return picture;
    picture.fill(White);
    QPainter painter(&picture);
    if (!view.image.isNull())
        painter.drawImage(QPoint(0, 0), view.image);
    paintOverlay(painter, view, QRectF(picture.rect()));
    painter.end();
    return picture;
}
