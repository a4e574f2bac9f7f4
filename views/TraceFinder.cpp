#include "TraceFinder.h"

#include "ClickSnap.h"
#include "TraceInk.h"

#include "survey/Truncate.h"

#include <opencv2/imgproc.hpp>
#include <algorithm>
#include <cmath>
#include <memory>
#include <queue>
#include <array>
#include <cstdio>

namespace TraceFinder {

namespace {

constexpr int Tile = 128;
// A step over paper costs this many steps along ink, so the search keeps to the drawn line and
// jumps only its small breaks (a pen lifted, a speck of paper in a 1-bit scan).
constexpr float PaperCost = 8.0f;
constexpr float OpenPaperCost = 60.0f;
// Of the pixels followed, more than this share on paper means no line joins the two points.
constexpr double MostPaper = 0.25;
// How far around the two points the search may go, as a share of their distance (and at least
// MinimumMargin pixels): a traverse winds, but comes back near its ends seldom.
constexpr double MarginShare = 2.0;
constexpr int MinimumMargin = 3000;
// Pixels the search may look at, at least.
constexpr long MinimumBudget = 6'000'000;
// Path pixels looked at for marks in one window.
constexpr int ChunkLength = 192;
constexpr int ChunkMargin = 48;
// Marks are looked for this far either side of the way first found, which may run along a wall
// touching a mark rather than along the centre line.
constexpr int PassageReach = 72;
// A straight leg may have breaks of ink this long, and must be inked over this share of it.
constexpr int MaximumBreak = 6;
constexpr double MinimumCover = 0.85;
// A traverse's marks are no smaller than this share of the clicked ones, nor larger than the
// clicked ones over it.
constexpr double AlikeMarks = 0.6;
// A mark whose centre is this far from where its legs meet is swollen by a wall it touches.
constexpr double SwollenMark = 1.5;
// How far off the straight line between two mark centres its ink may be: a mark touching a wall
// has its centre found a pixel or two off.
constexpr int Slack = 2;
// Legs are drawn no longer than this share of the distance between the clicked points (and
// MinimumLongestLeg pixels).
constexpr double LongestLegShare = 1.0;
constexpr double MinimumLongestLeg = 400.0;

// The scan as ink, read a tile at a time as the search reaches it, with the search's costs.
class TiledSearch
{
public:
    TiledSearch(const QImage &image)
        : m_image(image), m_tilesX((image.width() + Tile - 1) / Tile), m_tilesY((image.height() + Tile - 1) / Tile),
          m_tiles(size_t(m_tilesX) * size_t(m_tilesY))
    {
    }

    bool ink(int x, int y) { return tile(x, y).ink[offset(x, y)] != 0; }
    // A pixel's ink and search state at once (one tile look-up).
    struct Cell
    {
        bool ink;
        float &cost;
        uchar &from;
    };
    Cell cell(int x, int y)
    {
        TileData &t = tile(x, y);
        const int at = offset(x, y);
        return {t.ink[at] != 0, t.cost[at], t.from[at]};
    }
    float &cost(int x, int y) { return tile(x, y).cost[offset(x, y)]; }
    uchar &from(int x, int y) { return tile(x, y).from[offset(x, y)]; }

    // Forgets the last search's costs, keeping the ink read.
    void clear()
    {
        for (auto &t : m_tiles)
            if (t)
                std::fill(t->cost.get(), t->cost.get() + Tile * Tile, INFINITY);
    }

private:
    struct TileData
    {
        std::unique_ptr<uchar[]> ink{new uchar[Tile * Tile]};
        std::unique_ptr<float[]> cost{new float[Tile * Tile]};
        std::unique_ptr<uchar[]> from{new uchar[Tile * Tile]};
    };

    static int offset(int x, int y) { return (y % Tile) * Tile + x % Tile; }

    TileData &tile(int x, int y)
    {
        std::unique_ptr<TileData> &t = m_tiles[size_t(y / Tile) * size_t(m_tilesX) + size_t(x / Tile)];
        if (!t) {
            t = std::make_unique<TileData>();
            const QRect rect((x / Tile) * Tile, (y / Tile) * Tile, Tile, Tile);
            // A pixel of margin, so specks are told from strokes at the tile's edge too.
            const QRect read = rect.adjusted(-1, -1, 1, 1) & m_image.rect();
            const cv::Mat ink = TraceInk::inkOf(TraceInk::readDarkness(m_image, read));
            std::fill(t->ink.get(), t->ink.get() + Tile * Tile, uchar(0));
            std::fill(t->cost.get(), t->cost.get() + Tile * Tile, INFINITY);
            for (int j = 0; j < Tile && rect.top() + j < m_image.height(); ++j)
                for (int i = 0; i < Tile && rect.left() + i < m_image.width(); ++i)
                    t->ink[j * Tile + i] = ink.at<uchar>(rect.top() + j - read.top(), rect.left() + i - read.left());
        }
        return *t;
    }

    const QImage &m_image;
    int m_tilesX, m_tilesY;
    std::vector<std::unique_ptr<TileData>> m_tiles;
};

constexpr int StepX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int StepY[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr uchar NoStep = 255;

float octile(int dx, int dy)
{
    const float a = float(std::abs(dx)), b = float(std::abs(dy));
    return std::max(a, b) + (float(M_SQRT2) - 1.0f) * std::min(a, b);
}

struct Path
{
    std::vector<QPoint> pixels;
    float cost = 0;
    int onPaper = 0;
    bool cancelled = false;
};

// The cheapest way from `from` to `to` within `bounds` (A*, octile distance), or an empty path.
Path cheapestPath(TiledSearch &search, QPoint from, QPoint to, const QRect &bounds, long budget, const Control &control,
                  double progressFrom, double progressTo)
{
    struct Open
    {
        float f;
        float g;
        int x, y;
        bool operator>(const Open &o) const { return f > o.f; }
    };
    Path result;
    search.clear();
    std::priority_queue<Open, std::vector<Open>, std::greater<Open>> open;
    search.cost(from.x(), from.y()) = 0;
    search.from(from.x(), from.y()) = NoStep;
    const float whole = std::max(1.0f, octile(to.x() - from.x(), to.y() - from.y()));
    open.push({whole, 0, from.x(), from.y()});
    double reported = 0;
    const int left = bounds.left(), right = bounds.right(), top = bounds.top(), bottom = bounds.bottom();
    for (long pops = 0; !open.empty(); ++pops) {
        const Open here = open.top();
        open.pop();
        if (here.g > search.cost(here.x, here.y))
            continue;
        if (here.x == to.x() && here.y == to.y())
            break;
        if (pops > budget)
            return result;
        if ((pops & 0x3fff) == 0) {
            if (control.cancelled()) {
                result.cancelled = true;
                return result;
            }
            const double done = 1.0 - (here.f - here.g) / whole;
            if (control.progress && done > reported + 0.02) {
                reported = done;
                control.progress(progressFrom + (progressTo - progressFrom) * done);
            }
        }
        for (int d = 0; d < 8; ++d) {
            const int x = here.x + StepX[d], y = here.y + StepY[d];
            if (x < left || x > right || y < top || y > bottom)
                continue;
            const TiledSearch::Cell cell = search.cell(x, y);
            float step = 1.0f;
            if (!cell.ink) {
                // Paper beside ink bridges a break in a line; open paper is all but closed, so
                // the search does not flood the paper about a winding traverse.
                bool besideInk = false;
                for (int n = 0; n < 8 && !besideInk; ++n) {
                    const int nx = x + StepX[n], ny = y + StepY[n];
                    besideInk = nx >= left && nx <= right && ny >= top && ny <= bottom && search.ink(nx, ny);
                }
                step = besideInk ? PaperCost : OpenPaperCost;
            }
            const float g = here.g + ((d & 1) ? float(M_SQRT2) : 1.0f) * step;
            if (g < cell.cost) {
                cell.cost = g;
                cell.from = uchar(d);
                open.push({g + octile(to.x() - x, to.y() - y), g, x, y});
            }
        }
    }
    if (!std::isfinite(search.cost(to.x(), to.y())))
        return result;
    result.cost = search.cost(to.x(), to.y());
    for (QPoint at = to;;) {
        result.pixels.push_back(at);
        result.onPaper += !search.ink(at.x(), at.y());
        const uchar d = search.from(at.x(), at.y());
        if (d == NoStep)
            break;
        at -= QPoint(StepX[d], StepY[d]);
    }
    std::reverse(result.pixels.begin(), result.pixels.end());
    return result;
}

QPoint pixelOf(QPointF p) { return QPoint(truncToInt(std::floor(p.x())), truncToInt(std::floor(p.y()))); }

bool usable(const QImage &scan, QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && scan.rect().contains(pixelOf(p));
}

QRect searchBounds(const QImage &scan, QPoint a, QPoint b)
{
    const double distance = std::hypot(double(a.x() - b.x()), double(a.y() - b.y()));
    const int margin = std::max(MinimumMargin, truncToInt(distance * MarginShare));
    return QRect(a, b).normalized().adjusted(-margin, -margin, margin, margin) & scan.rect();
}

// A mark's centre to the mark finder's precision where it agrees (it declines marks touching
// walls or text, which keep the blob's own centre).
QPointF refined(const QImage &scan, const TraceInk::Blob &blob, bool *agreed)
{
    const std::optional<QPointF> snapped = ClickSnap::snapToStationMark(scan, blob.centre, std::max(6.0, blob.radius));
    *agreed = snapped && std::hypot(snapped->x() - blob.centre.x(), snapped->y() - blob.centre.y()) <= 1.5;
    return *agreed ? *snapped : blob.centre;
}

struct Placed
{
    size_t at; // index along the path
    Mark mark;
    bool agreed;
};

// Every mark the path runs through, in order along it. `corridor` is how far beside the path a
// mark's edge may lie (0 on a drawn line, which runs through its marks).
std::vector<Placed> marksAlong(const QImage &scan, const std::vector<QPoint> &path, double corridor,
                               const Control &control, bool *cancelled)
{
    std::vector<Placed> placed;
    for (size_t start = 0; start < path.size(); start += ChunkLength) {
        if (control.cancelled()) {
            *cancelled = true;
            return {};
        }
        const size_t end = std::min(path.size(), start + ChunkLength);
        QRect box(path[start], QSize(1, 1));
        for (size_t i = start; i < end; ++i)
            box |= QRect(path[i], QSize(1, 1));
        const int margin = ChunkMargin + truncToInt(corridor);
        const QRect window = box.adjusted(-margin, -margin, margin, margin) & scan.rect();
        const cv::Mat darkness = TraceInk::readDarkness(scan, window);
        const cv::Mat ink = TraceInk::inkOf(darkness);
        const std::vector<QPoint> piece(path.begin() + long(start), path.begin() + long(end));
        const double width = TraceInk::lineWidthAlong(ink, window.topLeft(), piece);
        const size_t from = start > size_t(ChunkMargin) ? start - ChunkMargin : 0;
        const size_t to = std::min(path.size(), end + ChunkMargin);
        for (const TraceInk::Blob &blob : TraceInk::findBlobs(darkness, ink, window.topLeft(), width)) {
            size_t nearest = from;
            double best = INFINITY;
            for (size_t i = from; i < to; ++i) {
                const double d = std::hypot(path[i].x() + 0.5 - blob.centre.x(), path[i].y() + 0.5 - blob.centre.y());
                if (d < best) {
                    best = d;
                    nearest = i;
                }
            }
            if (nearest < start || nearest >= end || best > blob.radius + 1.5 + corridor)
                continue;
            bool agreed = false;
            const QPointF centre = refined(scan, blob, &agreed);
            placed.push_back({nearest, Mark{centre, blob.radius, 0.0}, agreed});
        }
        if (control.progress)
            control.progress(0.5 + 0.5 * double(end) / double(path.size()));
    }
    std::sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.at < b.at; });
    return placed;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// How much each mark looks like the rest: its size against theirs, and whether the mark finder
// saw a mark there too.
void rate(std::vector<Placed> &placed)
{
    std::vector<double> radii;
    for (const Placed &p : placed)
        radii.push_back(p.mark.radius);
    const double typical = median(radii);
    for (Placed &p : placed) {
        const double off = typical > 0 ? std::fabs(p.mark.radius - typical) / typical : 0.0;
        p.mark.confidence = std::clamp(0.6 + (p.agreed ? 0.3 : 0.0) + 0.1 - 0.5 * off, 0.05, 1.0);
    }
}

// The middle of the passage from `from` to `to` where no line joins them: a path over the paper
// kept as far from ink (walls) as it can, at a quarter of the scan's resolution.
Path passageMiddle(const QImage &scan, QPoint from, QPoint to, const QRect &bounds, const Control &control)
{
    Path result;
    constexpr int Cell = 4;
    const QRect cells(bounds.left() / Cell, bounds.top() / Cell, (bounds.width() + Cell - 1) / Cell,
                      (bounds.height() + Cell - 1) / Cell);
    cv::Mat walls(cells.height(), cells.width(), CV_8U, cv::Scalar(255));
    for (int y0 = 0; y0 < bounds.height(); y0 += 1024) {
        if (control.cancelled()) {
            result.cancelled = true;
            return result;
        }
        const QRect band(bounds.left(), bounds.top() + y0, bounds.width(), std::min(1024, bounds.height() - y0));
        const cv::Mat ink = TraceInk::inkOf(TraceInk::readDarkness(scan, band));
        // Marks and stipple are not walls: only long strokes bound the passage.
        cv::Mat labels, stats, centroids;
        cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
        for (int y = 0; y < ink.rows; ++y)
            for (int x = 0; x < ink.cols; ++x) {
                const int l = labels.at<int>(y, x);
                if (l == 0)
                    continue;
                const int w = stats.at<int>(l, cv::CC_STAT_WIDTH), h = stats.at<int>(l, cv::CC_STAT_HEIGHT);
                if (std::max(w, h) > TraceInk::MaximumMarkSize)
                    walls.at<uchar>((y0 + y) / Cell, x / Cell) = 0;
            }
    }
    cv::Mat distance;
    cv::distanceTransform(walls, distance, cv::DIST_L2, 3);
    const int sx = from.x() / Cell - cells.left(), sy = from.y() / Cell - cells.top();
    const int gx = to.x() / Cell - cells.left(), gy = to.y() / Cell - cells.top();
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < cells.width() && y < cells.height(); };
    if (!inside(sx, sy) || !inside(gx, gy))
        return result;
    // A cell costs more the nearer a wall: the cheapest way keeps to the middle.
    auto cellCost = [&](int x, int y) {
        const float d = distance.at<float>(y, x);
        return d < 0.5f ? 1e4f : 1.0f + 40.0f / (d * d);
    };
    cv::Mat cost(distance.size(), CV_32F, cv::Scalar(INFINITY));
    cv::Mat came(distance.size(), CV_8U, cv::Scalar(NoStep));
    struct Open
    {
        float g;
        int x, y;
        bool operator>(const Open &o) const { return g > o.g; }
    };
    std::priority_queue<Open, std::vector<Open>, std::greater<Open>> open;
    cost.at<float>(sy, sx) = 0;
    open.push({0, sx, sy});
    while (!open.empty()) {
        const Open here = open.top();
        open.pop();
        if (here.g > cost.at<float>(here.y, here.x))
            continue;
        if (here.x == gx && here.y == gy)
            break;
        for (int d = 0; d < 8; ++d) {
            const int x = here.x + StepX[d], y = here.y + StepY[d];
            if (!inside(x, y))
                continue;
            const float g = here.g + ((d & 1) ? float(M_SQRT2) : 1.0f) * cellCost(x, y);
            if (g < cost.at<float>(y, x)) {
                cost.at<float>(y, x) = g;
                came.at<uchar>(y, x) = uchar(d);
                open.push({g, x, y});
            }
        }
    }
    if (!std::isfinite(cost.at<float>(gy, gx)))
        return result;
    for (int x = gx, y = gy;;) {
        const QPoint centre((cells.left() + x) * Cell + Cell / 2, (cells.top() + y) * Cell + Cell / 2);
        result.pixels.push_back(centre);
        const uchar d = came.at<uchar>(y, x);
        if (d == NoStep)
            break;
        x -= StepX[d];
        y -= StepY[d];
    }
    std::reverse(result.pixels.begin(), result.pixels.end());
    // Back to whole pixels, one a step, so marks are placed along it as along a line.
    std::vector<QPoint> dense;
    for (size_t i = 0; i + 1 < result.pixels.size(); ++i)
        for (int k = 0; k < Cell; ++k)
            dense.push_back(result.pixels[i] + (result.pixels[i + 1] - result.pixels[i]) * k / Cell);
    dense.push_back(result.pixels.back());
    result.pixels = std::move(dense);
    return result;
}

// How wide the passage is around the middle path: the corridor its marks may lie in.
double halfPassage(const QImage &scan, const std::vector<QPoint> &path)
{
    std::vector<double> halves;
    for (size_t i = 0; i < path.size(); i += 16) {
        const QPoint p = path[i];
        const QRect window = QRect(p.x() - 64, p.y() - 64, 129, 129) & scan.rect();
        const cv::Mat ink = TraceInk::inkOf(TraceInk::readDarkness(scan, window));
        double nearest = 64;
        for (int y = 0; y < ink.rows; y += 1)
            for (int x = 0; x < ink.cols; x += 1)
                if (ink.at<uchar>(y, x))
                    nearest = std::min(nearest, std::hypot(window.left() + x - p.x(), window.top() + y - p.y()));
        halves.push_back(nearest);
    }
    return std::clamp(median(halves), 4.0, 64.0);
}


// Every blob within `margin` of the path, each once.
std::vector<TraceInk::Blob> blobsAround(const QImage &scan, const std::vector<QPoint> &path, int margin,
                                        const Control &control, bool *cancelled)
{
    std::vector<TraceInk::Blob> blobs;
    for (size_t start = 0; start < path.size(); start += ChunkLength) {
        if (control.cancelled()) {
            *cancelled = true;
            return {};
        }
        const size_t end = std::min(path.size(), start + ChunkLength);
        QRect box(path[start], QSize(1, 1));
        for (size_t i = start; i < end; ++i)
            box |= QRect(path[i], QSize(1, 1));
        const QRect window = box.adjusted(-margin, -margin, margin, margin) & scan.rect();
        const cv::Mat darkness = TraceInk::readDarkness(scan, window);
        const cv::Mat ink = TraceInk::inkOf(darkness);
        const std::vector<QPoint> piece(path.begin() + long(start), path.begin() + long(end));
        const double width = TraceInk::lineWidthAlong(ink, window.topLeft(), piece);
        for (const TraceInk::Blob &blob : TraceInk::findBlobs(darkness, ink, window.topLeft(), width)) {
            const bool seen = std::any_of(blobs.begin(), blobs.end(), [&](const TraceInk::Blob &b) {
                return std::hypot(b.centre.x() - blob.centre.x(), b.centre.y() - blob.centre.y()) < 2.0;
            });
            if (!seen)
                blobs.push_back(blob);
        }
        if (control.progress)
            control.progress(0.5 + 0.25 * double(end) / double(path.size()));
    }
    return blobs;
}

// Whether a straight stroke of ink joins `a` and `b` (leaving out `skipA` and `skipB` pixels at
// their ends, inside their marks): a survey leg is drawn straight from mark to mark, where a wall
// that happens to touch two marks wanders between them.
bool joinedStraight(TiledSearch &tiles, const QRect &bounds, QPointF a, QPointF b, double skipA, double skipB)
{
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    const double span = length - skipA - skipB;
    if (span < 2)
        return length > 0;
    const QPointF step = (b - a) / length;
    int covered = 0, samples = 0, gap = 0;
    for (double t = skipA; t <= length - skipB; t += 1.0) {
        const QPointF p = a + step * t;
        const int x = truncToInt(std::floor(p.x())), y = truncToInt(std::floor(p.y()));
        bool ink = false;
        for (int dy = -Slack; dy <= Slack && !ink; ++dy)
            for (int dx = -Slack; dx <= Slack && !ink; ++dx)
                ink = bounds.contains(x + dx, y + dy) && tiles.ink(x + dx, y + dy);
        ++samples;
        covered += ink;
        gap = ink ? 0 : gap + 1;
        // Most pairs of marks are not joined: the first break too long says so.
        if (gap > MaximumBreak)
            return false;
    }
    return covered >= MinimumCover * samples;
}

struct Node
{
    QPointF at;
    double radius; // 0 for a clicked point that is not on a mark
    int blob;      // index into the blobs, -1 for a clicked point
};

// The stations from the first node to the last as the cheapest chain of straight legs between
// marks. A leg costs its length squared, so a chain through a mark on the way beats a leg past
// it: the chain runs through every mark the line does. Empty when the legs do not join them.
std::vector<int> chainOfLegs(TiledSearch &tiles, const QRect &bounds, const std::vector<Node> &nodes, double longestLeg,
                             const Control &control, bool *cancelled)
{
    const size_t n = nodes.size();
    std::vector<double> cost(n, INFINITY);
    std::vector<int> before(n, -1);
    std::vector<bool> done(n);
    cost[0] = 0;
    for (;;) {
        if (control.cancelled()) {
            *cancelled = true;
            return {};
        }
        size_t here = n;
        for (size_t i = 0; i < n; ++i)
            if (!done[i] && std::isfinite(cost[i]) && (here == n || cost[i] < cost[here]))
                here = i;
        if (here == n || here == 1)
            break;
        done[here] = true;
        for (size_t next = 0; next < n; ++next) {
            if (done[next])
                continue;
            const double length = std::hypot(nodes[next].at.x() - nodes[here].at.x(), nodes[next].at.y() - nodes[here].at.y());
            const double via = cost[here] + length * length;
            if (length > longestLeg || via >= cost[next])
                continue;
            if (joinedStraight(tiles, bounds, nodes[here].at, nodes[next].at, nodes[here].radius + 1.0,
                               nodes[next].radius + 1.0)) {
                cost[next] = via;
                before[next] = int(here);
            }
        }
    }
    if (!std::isfinite(cost[1]))
        return {};
    std::vector<int> chain;
    for (int at = 1; at >= 0; at = before[size_t(at)])
        chain.push_back(at);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// The node for a clicked point: the mark it is on, or the point itself.
Node nodeAt(QPointF click, const std::vector<TraceInk::Blob> &blobs)
{
    for (size_t i = 0; i < blobs.size(); ++i)
        if (std::hypot(blobs[i].centre.x() - click.x(), blobs[i].centre.y() - click.y()) <= blobs[i].radius + 4.0)
            return {blobs[i].centre, blobs[i].radius, int(i)};
    return {click, 0.0, -1};
}

// The middle line of the ink of a leg from `a` to `b`, leaving out its ends inside the marks:
// darkness-weighted, so it lies between pixels as the pen did.
std::optional<QLineF> legLine(const QImage &scan, QPointF a, QPointF b, double skipA, double skipB)
{
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (length - skipA - skipB < 8)
        return std::nullopt;
    const QPointF along = (b - a) / length;
    const QRect window = QRectF(a, b).normalized().toAlignedRect().adjusted(-4, -4, 4, 4) & scan.rect();
    const cv::Mat darkness = TraceInk::readDarkness(scan, window);
    double sum = 0, mx = 0, my = 0;
    std::vector<std::array<double, 3>> points;
    for (int y = 0; y < darkness.rows; ++y)
        for (int x = 0; x < darkness.cols; ++x) {
            const double weight = darkness.at<uchar>(y, x) - 60.0;
            if (weight <= 0)
                continue;
            const QPointF p(window.left() + x + 0.5, window.top() + y + 0.5);
            const QPointF d = p - a;
            const double t = QPointF::dotProduct(d, along), off = d.x() * along.y() - d.y() * along.x();
            if (t < skipA || t > length - skipB || std::fabs(off) > 3.5)
                continue;
            points.push_back({p.x(), p.y(), weight});
            sum += weight;
            mx += weight * p.x();
            my += weight * p.y();
        }
    if (sum <= 0 || points.size() < 6)
        return std::nullopt;
    mx /= sum;
    my /= sum;
    double sxx = 0, sxy = 0, syy = 0;
    for (const auto &[x, y, w] : points) {
        sxx += w * (x - mx) * (x - mx);
        sxy += w * (x - mx) * (y - my);
        syy += w * (y - my) * (y - my);
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    const QPointF mean(mx, my), way(std::cos(angle), std::sin(angle));
    return QLineF(mean - way * 50, mean + way * 50);
}

QPointF footOn(const QLineF &line, QPointF p)
{
    const QPointF way = (line.p2() - line.p1()) / line.length();
    return line.p1() + way * QPointF::dotProduct(p - line.p1(), way);
}

// A mark's centre from the legs drawn to it: where they cross when they meet at an angle,
// else the point of the leg nearest the blob's centre. Legs are drawn to the centre over a
// hundred pixels, so this holds where the blob itself is swollen by a wall it touches.
QPointF centreOnLegs(QPointF blob, const std::optional<QLineF> &in, const std::optional<QLineF> &out)
{
    QPointF centre = blob;
    if (in && out) {
        const QPointF u = (in->p2() - in->p1()) / in->length(), v = (out->p2() - out->p1()) / out->length();
        const double sine = std::fabs(u.x() * v.y() - u.y() * v.x());
        QPointF crossing;
        if (sine > std::sin(12.0 * M_PI / 180.0) && in->intersects(*out, &crossing) != QLineF::NoIntersection)
            centre = crossing;
        else
            centre = (footOn(*in, blob) + footOn(*out, blob)) / 2;
    } else if (in || out) {
        centre = footOn(in ? *in : *out, blob);
    }
    return std::hypot(centre.x() - blob.x(), centre.y() - blob.y()) <= 3.5 ? centre : blob;
}

std::vector<QPoint> rasterised(const std::vector<QPointF> &corners)
{
    std::vector<QPoint> pixels;
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
        const QLineF leg(corners[i], corners[i + 1]);
        const int steps = std::max(1, truncToInt(leg.length()));
        for (int k = 0; k < steps; ++k)
            pixels.push_back(pixelOf(leg.pointAt(double(k) / steps)));
    }
    if (!corners.empty())
        pixels.push_back(pixelOf(corners.back()));
    return pixels;
}

} // namespace

Trace traceTraverse(const QImage &scan, QPointF first, QPointF last, const Control &control)
{
    Trace trace;
    if (scan.isNull() || !usable(scan, first) || !usable(scan, last))
        return trace;
    const QPoint a = pixelOf(first), b = pixelOf(last);
    const QRect bounds = searchBounds(scan, a, b);
    const double distance = std::hypot(double(a.x() - b.x()), double(a.y() - b.y()));
    // Enough for a traverse winding about its ends; the tiles are only read where the search goes.
    const long budget = std::max(MinimumBudget, 300L * truncToInt(distance + 1000));
    TiledSearch search(scan);
    Path path = cheapestPath(search, a, b, bounds, budget, control, 0.0, 0.5);
    if (path.cancelled) {
        trace.outcome = Outcome::Cancelled;
        return trace;
    }
    double corridor = 0.0;
    if (path.pixels.empty() || path.onPaper > MostPaper * double(path.pixels.size())) {
        path = passageMiddle(scan, a, b, bounds, control);
        if (path.cancelled) {
            trace.outcome = Outcome::Cancelled;
            return trace;
        }
        if (path.pixels.empty()) {
            trace.outcome = Outcome::NoLine;
            return trace;
        }
        trace.alongDrawnLine = false;
        corridor = halfPassage(scan, path.pixels);
    }
    bool cancelled = false;
    if (trace.alongDrawnLine) {
        // The marks about, joined by the straight legs of the drawn line.
        const std::vector<TraceInk::Blob> blobs = blobsAround(scan, path.pixels, PassageReach, control, &cancelled);
        std::vector<Node> nodes{nodeAt(first, blobs), nodeAt(last, blobs)};
        // The traverse's marks are drawn alike: the clicked ones say what size (the filled
        // insides of letters beside them are smaller).
        double smallest = 0, largest = INFINITY;
        for (const Node &end : {nodes[0], nodes[1]})
            if (end.blob >= 0) {
                smallest = std::max(smallest, AlikeMarks * end.radius);
                largest = std::min(largest, end.radius / AlikeMarks);
            }
        for (size_t i = 0; i < blobs.size(); ++i)
            if (int(i) != nodes[0].blob && int(i) != nodes[1].blob && blobs[i].radius >= smallest
                && blobs[i].radius <= largest)
                nodes.push_back({blobs[i].centre, blobs[i].radius, int(i)});
        const std::vector<int> chain
            = cancelled ? std::vector<int>{}
                        : chainOfLegs(search, bounds, nodes, std::max(MinimumLongestLeg, LongestLegShare * distance),
                                      control, &cancelled);
        if (cancelled) {
            trace.outcome = Outcome::Cancelled;
            return trace;
        }
        if (!chain.empty()) {
            std::vector<Placed> placed;
            std::vector<QPointF> corners;
            std::vector<std::optional<QLineF>> legs;
            for (size_t k = 0; k + 1 < chain.size(); ++k) {
                const Node &from = nodes[size_t(chain[k])], &to = nodes[size_t(chain[k + 1])];
                legs.push_back(legLine(scan, from.at, to.at, from.radius + 3, to.radius + 3));
            }
            for (size_t k = 0; k < chain.size(); ++k) {
                const Node &node = nodes[size_t(chain[k])];
                corners.push_back(node.at);
                if (node.blob < 0)
                    continue;
                bool agreed = false;
                QPointF centre = refined(scan, blobs[size_t(node.blob)], &agreed);
                // The legs are less precise than a whole mark, but hold where a wall swells it.
                const QPointF onLegs = centreOnLegs(centre, k > 0 ? legs[k - 1] : std::nullopt,
                                                    k + 1 < chain.size() ? legs[k] : std::nullopt);
                if (std::hypot(onLegs.x() - centre.x(), onLegs.y() - centre.y()) > SwollenMark)
                    centre = onLegs;
                placed.push_back({placed.size(), Mark{centre, node.radius, 0.0}, agreed});
            }
            rate(placed);
            for (const Placed &p : placed)
                trace.marks.push_back(p.mark);
            trace.path = rasterised(corners);
            trace.outcome = Outcome::Found;
            if (control.progress)
                control.progress(1.0);
            return trace;
        }
    }
    if (trace.alongDrawnLine) {
        // Ink joins the points (walls do, touching marks), but no straight legs: no line is drawn.
        path = passageMiddle(scan, a, b, bounds, control);
        if (path.cancelled || path.pixels.empty()) {
            trace.outcome = path.cancelled ? Outcome::Cancelled : Outcome::NoLine;
            return trace;
        }
        trace.alongDrawnLine = false;
        corridor = halfPassage(scan, path.pixels);
    }
    std::vector<Placed> placed = marksAlong(scan, path.pixels, corridor, control, &cancelled);
    if (cancelled) {
        trace.outcome = Outcome::Cancelled;
        return trace;
    }
    rate(placed);
    for (const Placed &p : placed)
        trace.marks.push_back(p.mark);
    trace.path = std::move(path.pixels);
    trace.outcome = Outcome::Found;
    if (control.progress)
        control.progress(1.0);
    return trace;
}

std::vector<std::optional<Mark>> followOnProfile(const QImage &profile, QPointF start, const std::vector<QLineF> &guides,
                                                 const ProfileSearch &search, const Control &control)
{
    std::vector<std::optional<Mark>> found(guides.size());
    if (profile.isNull() || !usable(profile, start))
        return found;
    const double tolerance = std::isfinite(search.tolerance) ? std::clamp(search.tolerance, 1.0, 200.0) : 12.0;
    const double reach = std::isfinite(search.reach) ? std::clamp(search.reach, 10.0, 20000.0) : 1500.0;
    TiledSearch tiles(profile);
    QPointF previous = start;
    for (size_t g = 0; g < guides.size(); ++g) {
        if (control.cancelled())
            return found;
        if (control.progress)
            control.progress(double(g) / double(guides.size()));
        const QLineF guide = guides[g];
        if (!std::isfinite(guide.x1()) || !std::isfinite(guide.y1()) || !std::isfinite(guide.x2())
            || !std::isfinite(guide.y2()) || guide.length() <= 0)
            continue;
        // The stretch of the guide within reach of the station before.
        const QPointF along = (guide.p2() - guide.p1()) / guide.length();
        const double foot = QPointF::dotProduct(previous - guide.p1(), along);
        const QPointF near = guide.p1() + along * foot;
        const double off = std::hypot(near.x() - previous.x(), near.y() - previous.y());
        if (off > reach)
            continue;
        const double half = std::sqrt(reach * reach - off * off);
        const QPointF p = near - along * half, q = near + along * half;
        const int margin = truncToInt(tolerance) + ChunkMargin;
        const QRect window = QRectF(p, q).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin)
            & profile.rect();
        if (window.isEmpty())
            continue;
        const cv::Mat darkness = TraceInk::readDarkness(profile, window);
        const cv::Mat ink = TraceInk::inkOf(darkness);
        std::vector<TraceInk::Blob> candidates;
        for (const TraceInk::Blob &blob : TraceInk::findBlobs(darkness, ink, window.topLeft(), 2.0)) {
            const QPointF d = blob.centre - guide.p1();
            const double across = std::fabs(d.x() * along.y() - d.y() * along.x());
            const double from = std::hypot(blob.centre.x() - previous.x(), blob.centre.y() - previous.y());
            if (across <= tolerance && from > blob.radius && from <= reach)
                candidates.push_back(blob);
        }
        // The drawn line decides: the mark it leads to from the station before, cheaply.
        const QRect bounds = QRectF(previous, QSizeF(1, 1)).toAlignedRect().united(window).adjusted(-64, -64, 64, 64)
            & profile.rect();
        struct Reached
        {
            float cost;
            const TraceInk::Blob *blob;
        };
        std::vector<Reached> reached;
        for (const TraceInk::Blob &blob : candidates) {
            const double straight = std::hypot(blob.centre.x() - previous.x(), blob.centre.y() - previous.y());
            const Path path = cheapestPath(tiles, pixelOf(previous), pixelOf(blob.centre), bounds,
                                           60L * truncToInt(straight + 200), control, 0, 0);
            if (path.cancelled)
                return found;
            if (!path.pixels.empty() && path.onPaper <= MostPaper * double(path.pixels.size()))
                reached.push_back({path.cost, &blob});
        }
        std::sort(reached.begin(), reached.end(), [](const Reached &x, const Reached &y) { return x.cost < y.cost; });
        const bool clear = reached.size() == 1 || (reached.size() > 1 && reached[1].cost > 1.3f * reached[0].cost);
        if (!clear)
            continue;
        bool agreed = false;
        const QPointF centre = refined(profile, *reached[0].blob, &agreed);
        const double confidence = reached.size() == 1 ? 0.9 : std::clamp(1.0 - reached[0].cost / reached[1].cost, 0.2, 0.9);
        found[g] = Mark{centre, reached[0].blob->radius, std::min(1.0, confidence + (agreed ? 0.1 : 0.0))};
        previous = centre;
    }
    if (control.progress)
        control.progress(1.0);
    return found;
}

} // namespace TraceFinder
