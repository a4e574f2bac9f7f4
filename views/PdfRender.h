#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>

class ReadControl;

// A PDF page's pixels, drawn by a helper process (speomark-pdf-render) in bands of whole rows.
//
// Poppler's rasteriser can take memory far beyond the picture's size (a filled path of a few
// hundred thousand segments needs gigabytes per hundred rows), and it can refuse a large picture
// by silently giving a 1 x 1 one. So the rasteriser runs in a process of its own, under an
// address-space limit, and sends its rows down a pipe; the window only ever holds the picture.
// A helper that runs out of memory dies alone: the rows already received are kept and the rest
// is asked for again in bands half as tall, down to one row. Cancel kills the helper at once, and
// the helper dies with the window.
//
// A page that paints nothing but grey travels and stays at one byte a pixel.
namespace PdfRender {

struct Job
{
    QString path;
    int page = 1; // from 1
    int dotsPerInch = 0;
    QSize size;   // the picture's rows and columns, as the window has made room for them
    // The address space the helper may take; 0 = defaultHelperMemory().
    qint64 helperMemory = 0;
    // Rows per band to begin with; 0 = as many as a quarter of the helper's memory holds.
    int bandRows = 0;
};

struct Outcome
{
    enum class Kind { Rendered, Cancelled, Failed, NoRoom };
    Kind kind = Kind::Failed;
    QString reason;   // Failed, NoRoom: what the user is told
    int bandRows = 0; // the band height the last helper drew with
    // Rendered: the page, 8-bit grey (Format_Grayscale8) when it has no colour, else opaque RGB32.
    QImage image;
};

// Draws the page. NoRoom: this process could not hold its pixels.
Outcome render(const Job &job, ReadControl *control);

// 2 GB, or less when this process itself is held to less (the helper inherits the limit).
qint64 defaultHelperMemory();

// The helper's file: beside the program once installed (in ../libexec/speomark or the same
// folder), else where the build put it.
QString helperPath();

// How the helper ends, besides a crash (which is taken for running out of memory).
enum HelperExit { Drawn = 0, Usage = 1, NotReadable = 2, OutOfMemory = 3, OutputClosed = 4 };

// What the helper writes before its rows.
struct Header
{
    std::uint32_t grey = 0;     // 1: rows of one grey byte a pixel; 0: RGB32 rows
    std::uint32_t bandRows = 0; // rows it draws at a time
};

} // namespace PdfRender
