#include "views/ScanInk.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ScanInk {

QRect windowAround(const QImage &image, QPointF click, double half)
{
    const QRectF reach(click.x() - half, click.y() - half, 2 * half, 2 * half);
    if (!reach.intersects(QRectF(image.rect())))
        return {};
    const int left = int(std::floor(std::max(reach.left(), 0.0)));
    const int top = int(std::floor(std::max(reach.top(), 0.0)));
    const int right = int(std::floor(std::min(reach.right(), double(image.width() - 1))));
    const int bottom = int(std::floor(std::min(reach.bottom(), double(image.height() - 1))));
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

InkWindow readInkWindow(const QImage &image, const QRect &rect)
{
    InkWindow window;
    window.rect = rect;
    window.width = rect.width();
    window.height = rect.height();
    // Only the window is converted: a scan can be far too big to convert whole.
    const QImage part = image.copy(rect).convertToFormat(QImage::Format_ARGB32);
    if (part.size() != rect.size())
        return window;
    const size_t count = size_t(window.width) * size_t(window.height);
    std::vector<std::array<float, 3>> colours(count);
    std::vector<float> luminance(count);
    for (int y = 0; y < window.height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(part.constScanLine(y));
        for (int x = 0; x < window.width; ++x) {
            const QRgb pixel = line[x];
            // Transparent parts of a drawing are paper.
            const float alpha = float(qAlpha(pixel)) / 255.0f;
            const float paper = 255.0f * (1.0f - alpha);
            const std::array<float, 3> colour = {qRed(pixel) * alpha + paper, qGreen(pixel) * alpha + paper,
                                                 qBlue(pixel) * alpha + paper};
            const size_t i = size_t(y) * size_t(window.width) + size_t(x);
            colours[i] = colour;
            luminance[i] = 0.299f * colour[0] + 0.587f * colour[1] + 0.114f * colour[2];
        }
    }
    // The paper is the lighter half of the window: marks and lines never cover half of it where
    // a click means anything.
    std::vector<float> sorted = luminance;
    const auto middle = sorted.begin() + std::ptrdiff_t(count / 2);
    std::nth_element(sorted.begin(), middle, sorted.end());
    const float median = *middle;
    std::array<double, 3> paperSum = {0, 0, 0};
    double paperCount = 0;
    for (size_t i = 0; i < count; ++i)
        if (luminance[i] >= median) {
            for (int c = 0; c < 3; ++c)
                paperSum[size_t(c)] += colours[i][size_t(c)];
            paperCount += 1;
        }
    std::array<float, 3> paper;
    for (int c = 0; c < 3; ++c)
        paper[size_t(c)] = float(paperSum[size_t(c)] / std::max(paperCount, 1.0));
    const float paperLuminance = 0.299f * paper[0] + 0.587f * paper[1] + 0.114f * paper[2];

    // Darker than the paper, or of another hue (red ink is not much darker than the paper).
    window.score.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const float darker = std::max(0.0f, paperLuminance - luminance[i]);
        float hue = 0.0f;
        for (int c = 0; c < 3; ++c) {
            const float apart = (colours[i][size_t(c)] - luminance[i]) - (paper[size_t(c)] - paperLuminance);
            hue += apart * apart;
        }
        window.score[i] = std::min(255.0f, std::sqrt(darker * darker + hue));
        window.inkLevel = std::max(window.inkLevel, window.score[i]);
    }
    // Halfway to the strongest ink: faint printed grids and the paper's grain fall below it.
    window.threshold = std::max(MinimumContrast, window.inkLevel / 2.0f);
    return window;
}

} // namespace ScanInk
