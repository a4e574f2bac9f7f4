#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

// Reading a small window of a scan as ink, shared by the tools that look at the drawing around a
// point. Only the window is converted: scans run to hundreds of megapixels and come in any format
// (colour, grey, 1-bit, palette). Ink is whatever stands out from the paper of the window, darker
// or of another hue.
namespace ScanInk {

// A pixel must stand this far from the paper (on a 0..255 scale) to be ink at all, so a window of
// bare paper, with its grain and the scanner's noise, holds none.
constexpr float MinimumContrast = 40.0f;

// A window of the scan as ink: how far each pixel stands from the paper there.
struct InkWindow
{
    QRect rect; // in source pixels
    int width = 0;
    int height = 0;
    std::vector<float> score;
    float threshold = 0.0f; // a pixel scoring this much is ink
    float inkLevel = 0.0f;  // the strongest ink in the window

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    float at(int x, int y) const { return score[size_t(y) * size_t(width) + size_t(x)]; }
    bool ink(int x, int y) const { return at(x, y) >= threshold; }
    bool hasInk() const { return inkLevel >= MinimumContrast; }
};

// The square of whole pixels within `half` of `click`, on the image; empty when there is none.
// `click` and `half` must be finite and `half` capped by the caller, so the casts are in range.
QRect windowAround(const QImage &image, QPointF click, double half);

// The window `rect` (on the image) as ink; its threshold is halfway to the strongest ink in it,
// so faint printed grids and the paper's grain fall below it.
InkWindow readInkWindow(const QImage &image, const QRect &rect);

} // namespace ScanInk
