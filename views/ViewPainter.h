#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;
struct ViewSnapshot;

// Paints a view snapshot: the image, then the overlay (grid, legs that disagree, stations, labels,
// legs, guide, pending station, Move-mode highlight) in the drawing order cavers know, on any
// QPainter.
//
// Everything is drawn in source-image pixels through the painter's transform, so the displayed
// pane (transform = zoom) and the saved picture (transform = identity) are the same drawing.
// Pens are one source pixel wide and nothing is antialiased. Marks, labels, the grid and the
// guide lines are drawn as blocks of whole source pixels, so at any zoom they look exactly like
// the source-size picture stretched nearest-neighbour, as the image itself is; the legs and the
// guide circle are lines through the zoom. A label is its text in a fixed font on an opaque
// white box whose top-left corner is the given point.
//
// Not thread-safe: small rendered marks and labels are cached for the user-interface thread.
class ViewPainter
{
public:
    // The part of the pane inside displayedArea (pane pixels, origin at the image's top-left):
    // the image stretched by the snapshot's zoom with nearest-neighbour sampling, then the overlay.
    // Only the source pixels that reach that area are read.
    static void paintDisplayed(QPainter &painter, const ViewSnapshot &view, const QRect &displayedArea);

    // The overlay alone, for a painter whose transform maps source pixels onto its device;
    // elements wholly outside sourceArea are skipped. Marks and labels keep their size in the
    // device's pixels: on screen the chosen size (view.labelPixels) whatever the zoom, in a
    // picture a size that grows with the scan.
    static void paintOverlay(QPainter &painter, const ViewSnapshot &view, const QRectF &sourceArea,
                             bool onScreen = false);

    // The annotated view at source size (source width x height, 24-bit): what "Save BMP" writes.
    // Null when the view has no size or the memory for it cannot be had.
    static QImage sourcePicture(const ViewSnapshot &view);

    // Legs whose plan and profile lengths disagree: orange, apart from the stations' red.
    static QColor disagreementColour() { return QColor(0xFF, 0x8C, 0x00); }
    static QColor chosenColour() { return QColor(0xC0, 0x00, 0xC0); }
    static QColor shiftColour() { return QColor(0x00, 0x80, 0x40); }
};
