#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <opencv2/core.hpp>
#include <vector>

// What the traverse tracer and the label reader share: windows of a scan read as darkness and
// ink, and the station marks found in such a window. Only used inside views/ (OpenCV stays
// private to this floor).
namespace TraceInk {

// A pixel this dark (0 paper .. 255 black) is ink: darker than any paper, grid or pencil shading
// the scanner leaves, lighter than a blurred pen line.
constexpr int InkDarkness = 100;
// Station marks are drawn no bigger than this across, in pixels.
constexpr int MaximumMarkSize = 40;

// `rect` (within the image) as darkness, one byte a pixel, whatever the scan's format.
cv::Mat readDarkness(const QImage &image, const QRect &rect);

// Darkness as ink (255) and paper (0), without lone specks of scanner dust.
cv::Mat inkOf(const cv::Mat &darkness);

// A station mark in a window: where it is (in scan pixels), its radius and how mark-like it is.
struct Blob
{
    QPointF centre;
    double radius = 0.0;
    double solidity = 0.0; // filled area over the box it sits in (a disc ~0.79, a triangle ~0.5)
    QRect box;             // in scan pixels
};

// The blobs of a window of ink at `origin` that hold a disc thicker than a line `lineWidth`
// pixels wide: filled dots and triangles, and rings and outlines once their insides are filled.
// Lines, letters' strokes, stipple and walls are too thin to hold it. Blobs touching the
// window's edge are left out (a neighbouring window sees them whole).
std::vector<Blob> findBlobs(const cv::Mat &darkness, const cv::Mat &ink, QPoint origin, double lineWidth);

// The width of the drawn line along `path` (pixels of a window at `origin`), from how much ink
// lies around its points; 2 when the path runs over no line.
double lineWidthAlong(const cv::Mat &ink, QPoint origin, const std::vector<QPoint> &path);

} // namespace TraceInk
