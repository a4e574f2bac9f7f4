#include "TraceInk.h"

#include "survey/Truncate.h"

#include <opencv2/imgproc.hpp>
#include <algorithm>
#include <cmath>

namespace TraceInk {

namespace {

// Enclosed paper up to this many pixels is the inside of a mark (a ring, an outlined triangle)
// or of a letter; larger enclosed areas are passages between walls.
constexpr int MaximumHole = 600;

uchar darknessOfRgb(QRgb rgb)
{
    const int luminance = (qRed(rgb) * 77 + qGreen(rgb) * 150 + qBlue(rgb) * 29) >> 8;
    return uchar(255 - luminance);
}

// The darkness-weighted centre of the pixels of `mask` (over `roi` of the window) and the pixel
// round them, so the half-inked pixels on a mark's rim put it between pixels; a filled inside
// weighs as ink. Returns the weight.
double weighed(const cv::Mat &mask, const cv::Rect &roi, const cv::Mat &darkness, const cv::Mat &hole, QPointF *centre)
{
    double sum = 0, sx = 0, sy = 0;
    for (int y = -1; y <= mask.rows; ++y)
        for (int x = -1; x <= mask.cols; ++x) {
            const int wx = roi.x + x, wy = roi.y + y;
            if (wx < 0 || wy < 0 || wx >= darkness.cols || wy >= darkness.rows)
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    const int my = y + dy, mx = x + dx;
                    near = my >= 0 && mx >= 0 && my < mask.rows && mx < mask.cols && mask.at<uchar>(my, mx);
                }
            if (!near)
                continue;
            const double weight = hole.at<uchar>(wy, wx) ? 1.0 : std::clamp((darkness.at<uchar>(wy, wx) - 30.0) / 170.0, 0.0, 1.0);
            sum += weight;
            sx += weight * (wx + 0.5);
            sy += weight * (wy + 0.5);
        }
    if (centre && sum > 0)
        *centre = QPointF(sx / sum, sy / sum);
    return sum;
}

} // namespace

cv::Mat readDarkness(const QImage &image, const QRect &wanted)
{
    const QRect rect = wanted & image.rect();
    cv::Mat out(std::max(rect.height(), 0), std::max(rect.width(), 0), CV_8U);
    if (rect.isEmpty())
        return out;
    const QImage::Format format = image.format();
    if (format == QImage::Format_Mono || format == QImage::Format_MonoLSB || format == QImage::Format_Indexed8) {
        const QVector<QRgb> table = image.colorTable();
        uchar byIndex[256] = {};
        for (int i = 0; i < table.size() && i < 256; ++i)
            byIndex[i] = darknessOfRgb(table[i]);
        for (int y = 0; y < rect.height(); ++y) {
            const uchar *line = image.constScanLine(rect.top() + y);
            uchar *row = out.ptr<uchar>(y);
            for (int x = 0; x < rect.width(); ++x) {
                const int sx = rect.left() + x;
                int index;
                if (format == QImage::Format_Mono)
                    index = (line[sx >> 3] >> (7 - (sx & 7))) & 1;
                else if (format == QImage::Format_MonoLSB)
                    index = (line[sx >> 3] >> (sx & 7)) & 1;
                else
                    index = line[sx];
                row[x] = byIndex[index];
            }
        }
        return out;
    }
    if (format == QImage::Format_Grayscale8) {
        for (int y = 0; y < rect.height(); ++y) {
            const uchar *line = image.constScanLine(rect.top() + y) + rect.left();
            uchar *row = out.ptr<uchar>(y);
            for (int x = 0; x < rect.width(); ++x)
                row[x] = uchar(255 - line[x]);
        }
        return out;
    }
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied) {
        for (int y = 0; y < rect.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(rect.top() + y)) + rect.left();
            uchar *row = out.ptr<uchar>(y);
            for (int x = 0; x < rect.width(); ++x)
                row[x] = darknessOfRgb(line[x]);
        }
        return out;
    }
    // Rarer formats: only the window is converted.
    const QImage grey = image.copy(rect).convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < rect.height(); ++y) {
        const uchar *line = grey.constScanLine(y);
        uchar *row = out.ptr<uchar>(y);
        for (int x = 0; x < rect.width(); ++x)
            row[x] = uchar(255 - line[x]);
    }
    return out;
}

cv::Mat inkOf(const cv::Mat &darkness)
{
    cv::Mat ink, neighbours;
    cv::threshold(darkness, ink, InkDarkness - 1, 1, cv::THRESH_BINARY);
    // An ink pixel with fewer than two ink neighbours is a speck of dust, not part of a stroke.
    cv::boxFilter(ink, neighbours, -1, cv::Size(3, 3), cv::Point(-1, -1), false, cv::BORDER_REPLICATE);
    cv::Mat kept = (ink > 0) & (neighbours >= 3);
    return kept;
}

double lineWidthAlong(const cv::Mat &ink, QPoint origin, const std::vector<QPoint> &path)
{
    std::vector<double> widths;
    for (size_t i = 0; i < path.size(); i += 3) {
        const int cx = path[i].x() - origin.x(), cy = path[i].y() - origin.y();
        if (cx < 3 || cy < 3 || cx + 3 >= ink.cols || cy + 3 >= ink.rows)
            continue;
        int count = 0;
        for (int y = cy - 3; y <= cy + 3; ++y)
            for (int x = cx - 3; x <= cx + 3; ++x)
                count += ink.at<uchar>(y, x) != 0;
        if (count > 0)
            widths.push_back(count / 8.0); // a line crosses the 7 x 7 box over about 8 pixels
    }
    if (widths.empty())
        return 2.0;
    std::nth_element(widths.begin(), widths.begin() + long(widths.size() / 2), widths.end());
    return std::clamp(widths[widths.size() / 2], 1.0, 6.0);
}

std::vector<Blob> findBlobs(const cv::Mat &darkness, const cv::Mat &ink, QPoint origin, double lineWidth)
{
    std::vector<Blob> blobs;
    if (ink.empty())
        return blobs;
    // Close one-pixel breaks (thin rings lose pixels in 1-bit scans), then fill small enclosed
    // paper so rings and outlines hold as much ink as dots.
    cv::Mat closed;
    cv::morphologyEx(ink, closed, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    cv::Mat paper = closed == 0, labels, stats, centroids;
    const int paperParts = cv::connectedComponentsWithStats(paper, labels, stats, centroids, 4, CV_32S);
    std::vector<uchar> isHole(size_t(std::max(paperParts, 1)), 0);
    for (int l = 1; l < paperParts; ++l) {
        const int left = stats.at<int>(l, cv::CC_STAT_LEFT), top = stats.at<int>(l, cv::CC_STAT_TOP);
        const int w = stats.at<int>(l, cv::CC_STAT_WIDTH), h = stats.at<int>(l, cv::CC_STAT_HEIGHT);
        const bool edge = left == 0 || top == 0 || left + w == ink.cols || top + h == ink.rows;
        isHole[size_t(l)] = !edge && stats.at<int>(l, cv::CC_STAT_AREA) <= MaximumHole;
    }
    cv::Mat filled = closed.clone(), hole(ink.size(), CV_8U, cv::Scalar(0));
    for (int y = 0; y < ink.rows; ++y) {
        const int *row = labels.ptr<int>(y);
        for (int x = 0; x < ink.cols; ++x)
            if (isHole[size_t(row[x])]) {
                filled.at<uchar>(y, x) = 255;
                hole.at<uchar>(y, x) = 1;
            }
    }
    const int kernel = std::max(3, (truncToInt(std::ceil(std::clamp(lineWidth, 1.0, 6.0))) + 2) | 1);
    cv::Mat opened;
    cv::morphologyEx(filled, opened, cv::MORPH_OPEN,
                     cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(kernel, kernel)));
    const int parts = cv::connectedComponentsWithStats(opened, labels, stats, centroids, 8, CV_32S);
    for (int l = 1; l < parts; ++l) {
        const int left = stats.at<int>(l, cv::CC_STAT_LEFT), top = stats.at<int>(l, cv::CC_STAT_TOP);
        const int w = stats.at<int>(l, cv::CC_STAT_WIDTH), h = stats.at<int>(l, cv::CC_STAT_HEIGHT);
        if (left <= 1 || top <= 1 || left + w >= ink.cols - 1 || top + h >= ink.rows - 1)
            continue;
        if (w > MaximumMarkSize || h > MaximumMarkSize)
            continue;
        const cv::Rect roi(left, top, w, h);
        QPointF centre;
        const double sum = weighed(labels(roi) == l, roi, darkness, hole, &centre);
        if (sum <= 0)
            continue;
        // Where a wall or another line meets the mark, the paper they enclose with it is filled
        // too and swells it on that side; opening again at the mark's own size cuts that off.
        const int wider = truncToInt(std::round(1.4 * std::sqrt(sum / M_PI))) | 1;
        if (wider > kernel) {
            const cv::Rect around = cv::Rect(left - 3, top - 3, w + 6, h + 6) & cv::Rect(0, 0, ink.cols, ink.rows);
            cv::Mat trimmed, parts2, stats2, centroids2;
            cv::morphologyEx(filled(around) & (opened(around) > 0), trimmed, cv::MORPH_OPEN,
                             cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(wider, wider)));
            const int count = cv::connectedComponentsWithStats(trimmed, parts2, stats2, centroids2, 8, CV_32S);
            int biggest = 0;
            for (int k = 1; k < count; ++k)
                if (biggest == 0 || stats2.at<int>(k, cv::CC_STAT_AREA) > stats2.at<int>(biggest, cv::CC_STAT_AREA))
                    biggest = k;
            QPointF cut;
            if (biggest > 0 && stats2.at<int>(biggest, cv::CC_STAT_AREA) >= 0.6 * stats.at<int>(l, cv::CC_STAT_AREA)
                && weighed(parts2 == biggest, around, darkness, hole, &cut) > 0
                && std::hypot(cut.x() - centre.x(), cut.y() - centre.y()) > 0.7)
                centre = cut;
        }
        Blob blob;
        blob.centre = QPointF(origin.x(), origin.y()) + centre;
        blob.radius = std::sqrt(sum / M_PI);
        blob.solidity = double(stats.at<int>(l, cv::CC_STAT_AREA)) / double(w * h);
        blob.box = QRect(origin.x() + left, origin.y() + top, w, h);
        blobs.push_back(blob);
    }
    return blobs;
}

} // namespace TraceInk
