#include "views/MarkFinder.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace MarkFinder {

namespace {

using ScanInk::InkWindow;

// A mark's ink is this share of the strongest ink in the window: halfway
// keeps the blurred edges of a mark and a line beside it apart.
constexpr float MarkInk = 0.5f;
// Directions over half a turn in which a run of ink is measured, 7.5 degrees apart.
constexpr int StrokeDirections = 24;
// A line's anti-aliased or blurred edge still carries a run at this share of the threshold.
constexpr float FaintShare = 0.7f;
// The widest line that can cut a mark apart, and through which its pieces are joined again.
constexpr int BridgeReach = 6;
// Below this a pixel is paper for the centre: grain would pull it about.
constexpr float PaperGrain = 20.0f;
// Smaller pieces are specks (stipple, dust, dither): a mark is drawn to be seen at a glance.
constexpr int MinimumMarkPixels = 12;
constexpr int MinimumMarkExtent = 5;
// A mark looks itself again this well turned about its centre (dot, ring, cross and square a
// half and a quarter turn, a triangle a third); specks touching it and the scanner's grid cost
// the rest. At most this share may be matched only by lines crossing it.
constexpr double MinimumTurnOverlap = 0.8;
constexpr double MinimumThirdOverlap = 0.78;
constexpr double MaximumCrossedShare = 0.85;
constexpr double TriangleMargin = 0.05;
constexpr double MaximumTriangleCrossed = 0.5;
// The centre is looked for this far from the ink's centroid at first.
constexpr double CentreReach = 2.0;
constexpr double CrossedCost = 0.25;
// A character stands in a line of text when a neighbour of about its height sits level with it
// and this close (of the taller one's height, at least two pixels): letters are set tighter than
// a label stands from its mark.
constexpr double TextGap = 0.5;
constexpr double TextOverlap = 0.5;

bool faint(const InkWindow &ink, int x, int y) { return ink.at(x, y) >= FaintShare * ink.threshold; }

// Whether the straight run of ink through pixel (x, y) along `d` is at least `enough` long. A run
// may jump one missing pixel (a hand-drawn line is not perfectly straight) and one reaching the
// window's edge may go on beyond it.
bool longRun(const InkWindow &ink, int x, int y, QPointF d, double enough)
{
    double total = 1.0;
    for (const int sign : {1, -1}) {
        int misses = 0;
        for (int k = 1; total < enough; ++k) {
            const int ix = int(std::floor(x + 0.5 + sign * k * d.x())), iy = int(std::floor(y + 0.5 + sign * k * d.y()));
            if (!ink.contains(ix, iy))
                return total >= enough / 3;
            if (faint(ink, ix, iy)) {
                total += 1 + misses;
                misses = 0;
            } else if (++misses > 1) {
                break;
            }
        }
    }
    return total >= enough;
}

struct UnionFind
{
    std::vector<int> parent;
    explicit UnionFind(size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int a)
    {
        while (parent[size_t(a)] != a)
            a = parent[size_t(a)] = parent[size_t(parent[size_t(a)])];
        return a;
    }
    void join(int a, int b) { parent[size_t(find(a))] = find(b); }
};

// A group's ink as weights 0..1 over its box with a margin, and where strokes cross it: their
// ink is a wildcard, matching anything.
struct Shape
{
    QRect grid;
    std::vector<float> weight;
    std::vector<float> crossed;
    float strongest = 0.0f;

    bool contains(int x, int y) const { return grid.contains(x, y); }
    size_t index(int x, int y) const { return size_t(y - grid.top()) * size_t(grid.width()) + size_t(x - grid.left()); }
    static double bilinear(const Shape &s, const std::vector<float> &values, QPointF at)
    {
        const double u = at.x() - 0.5, v = at.y() - 0.5;
        if (!(u > s.grid.left() - 1 && v > s.grid.top() - 1 && u < s.grid.right() + 1 && v < s.grid.bottom() + 1))
            return 0.0;
        const int x0 = int(std::floor(u)), y0 = int(std::floor(v));
        const double fx = u - x0, fy = v - y0;
        auto value = [&](int x, int y) { return s.contains(x, y) ? double(values[s.index(x, y)]) : 0.0; };
        return (value(x0, y0) * (1 - fx) + value(x0 + 1, y0) * fx) * (1 - fy)
            + (value(x0, y0 + 1) * (1 - fx) + value(x0 + 1, y0 + 1) * fx) * fy;
    }
    // The most ink and crossing within half a pixel of `at`: a thin mark seen through the
    // scanner's grid is not exactly symmetric.
    std::pair<double, double> near(QPointF at) const
    {
        double ink = 0.0, wild = 0.0;
        for (const QPointF leeway : {QPointF(0, 0), QPointF(0.5, 0), QPointF(-0.5, 0), QPointF(0, 0.5), QPointF(0, -0.5)}) {
            ink = std::max(ink, bilinear(*this, weight, at + leeway));
            wild = std::max(wild, bilinear(*this, crossed, at + leeway));
        }
        return {ink, wild};
    }
};

Shape shapeOf(const Reading &reading, int label)
{
    const InkWindow &ink = reading.ink;
    const std::vector<QPoint> &pixels = reading.groups[size_t(label)];
    QRect box;
    for (const QPoint &p : pixels)
        box |= QRect(p, p);
    Shape shape;
    shape.grid = box.adjusted(-2, -2, 2, 2) & QRect(0, 0, ink.width, ink.height);
    const size_t count = size_t(shape.grid.width()) * size_t(shape.grid.height());
    shape.weight.assign(count, 0.0f);
    shape.crossed.assign(count, 0.0f);
    for (const QPoint &p : pixels)
        shape.strongest = std::max(shape.strongest, ink.at(p.x(), p.y()));
    auto nextTo = [&](int x, int y, auto test) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (ink.contains(x + dx, y + dy) && test(x + dx, y + dy))
                    return true;
        return false;
    };
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            const size_t i = shape.index(x, y);
            const int group = reading.group[reading.index(x, y)];
            const bool stroke = reading.stroke[reading.index(x, y)];
            const bool nearStroke = nextTo(x, y, [&](int u, int v) { return reading.stroke[reading.index(u, v)] != 0; });
            if (group == label || (group < 0 && !stroke && !nearStroke && !ink.ink(x, y)
                                   && nextTo(x, y, [&](int u, int v) { return reading.group[reading.index(u, v)] == label; }))) {
                // The group's own ink and the faint edge around it.
                const float s = ink.at(x, y);
                shape.weight[i] = s < PaperGrain ? 0.0f : std::min(1.0f, s / shape.strongest);
            } else if (stroke || (nearStroke && group != label)) {
                shape.crossed[i] = 1.0f;
            }
        }
    return shape;
}

// Symmetries about `c`: the turns that map the mark onto itself.
QPointF turned(QPointF c, QPointF p, double angle)
{
    const double cosine = std::cos(angle), sine = std::sin(angle);
    const QPointF d = p - c;
    return c + QPointF(cosine * d.x() - sine * d.y(), sine * d.x() + cosine * d.y());
}

struct Overlap
{
    double kept = 0.0;    // share of the ink landing on ink or on a crossing stroke
    double crossed = 0.0; // share landing on a crossing stroke only
};

Overlap overlap(const Shape &shape, QPointF c, double angle)
{
    double total = 0.0, kept = 0.0, crossed = 0.0;
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            const double w = shape.weight[shape.index(x, y)];
            if (w <= 0.0)
                continue;
            total += w;
            const auto [there, wild] = shape.near(turned(c, QPointF(x + 0.5, y + 0.5), angle));
            if (there >= w) {
                kept += w;
            } else if (wild >= 0.5) {
                kept += w;
                crossed += w - there;
            } else {
                kept += there;
            }
        }
    return total > 0.0 ? Overlap{kept / total, crossed / total} : Overlap{};
}

// The centre about which the turns map the ink onto itself: where the ink and its turned copy
// differ least, counting only ink whose copy does not fall under a crossing stroke. Found downhill
// from the centroid in shrinking steps, so a mark that lines cut unevenly still comes to its true
// centre.
QPointF symmetricCentre(const Shape &shape, const std::vector<double> &angles)
{
    double sum = 0.0, sumX = 0.0, sumY = 0.0;
    std::vector<std::pair<QPointF, double>> inked;
    for (int y = shape.grid.top(); y <= shape.grid.bottom(); ++y)
        for (int x = shape.grid.left(); x <= shape.grid.right(); ++x) {
            const double w = shape.weight[shape.index(x, y)];
            if (w <= 0.0)
                continue;
            inked.push_back({QPointF(x + 0.5, y + 0.5), w});
            sum += w;
            sumX += w * (x + 0.5);
            sumY += w * (y + 0.5);
        }
    if (!(sum > 0.0))
        return {};
    // Ink turned onto a crossing stroke costs a quarter of ink turned onto paper: enough that the
    // centre does not slide off to hide the mark under the strokes, little enough that strokes
    // touching one side do not pull it.
    auto mismatch = [&](QPointF c) {
        double differ = 0.0;
        for (const auto &[p, w] : inked)
            for (const double angle : angles) {
                const QPointF to = turned(c, p, angle);
                if (Shape::bilinear(shape, shape.crossed, to) >= 0.5) {
                    differ += CrossedCost * w * w * w;
                    continue;
                }
                const double there = Shape::bilinear(shape, shape.weight, to);
                differ += w * (w - there) * (w - there);
            }
        return differ;
    };
    QPointF best(sumX / sum, sumY / sum);
    auto descend = [&](double from) {
        double least = mismatch(best);
        for (double step = from; step >= 1.0 / 32; step /= 2)
            for (bool moved = true; moved;) {
                moved = false;
                const QPointF around = best;
                for (const QPointF towards : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1), QPointF(1, 1),
                                              QPointF(-1, 1), QPointF(1, -1), QPointF(-1, -1)})
                    if (const double differ = mismatch(around + step * towards); differ < least) {
                        least = differ;
                        best = around + step * towards;
                        moved = true;
                    }
            }
    };
    descend(CentreReach);
    // Then again without the ink that the first turn maps onto paper, twice: a speck touching the
    // mark, and the part of it the first search moved onto the mark.
    for (int round = 0; round < 2; ++round) {
        const size_t before = inked.size();
        inked.erase(std::remove_if(inked.begin(), inked.end(),
                                   [&](const std::pair<QPointF, double> &pixel) {
                                       const auto [there, wild] = shape.near(turned(best, pixel.first, angles.front()));
                                       return there < 0.5 * pixel.second && wild < 0.5;
                                   }),
                    inked.end());
        if (inked.size() == before || inked.empty())
            break;
        descend(0.5);
    }
    // Last, the centroid of what is left, leaving out the ink whose counterparts lie under
    // strokes: once the specks are gone that is symmetric about the centre, and unlike the search
    // it weighs every pixel alike.
    double kept = 0.0, keptX = 0.0, keptY = 0.0;
    for (const auto &[p, w] : inked) {
        bool crossed = false;
        for (const double angle : angles)
            crossed = crossed || shape.near(turned(best, p, angle)).second >= 0.5;
        if (!crossed) {
            kept += w;
            keptX += w * p.x();
            keptY += w * p.y();
        }
    }
    if (kept > 0.5 * sum) {
        const QPointF centroid(keptX / kept, keptY / kept);
        if (std::hypot(centroid.x() - best.x(), centroid.y() - best.y()) < 1.0)
            best = centroid;
    }
    return best;
}

QRect boxOf(const std::vector<QPoint> &pixels)
{
    QRect box;
    for (const QPoint &p : pixels)
        box |= QRect(p, p);
    return box;
}

// Whether the group stands in a line of text: a neighbour of about its height level with it and
// as close as letters are set.
bool inText(const Reading &reading, int label, const QRect &box)
{
    const int height = box.height();
    for (size_t other = 0; other < reading.groups.size(); ++other) {
        if (int(other) == label || reading.groups[other].size() < 4)
            continue;
        const QRect near = boxOf(reading.groups[other]);
        const int extent = std::max(near.width(), near.height());
        if (extent < std::max(3.0, 0.4 * height) || near.height() > 2.5 * height)
            continue;
        const int gap = std::max(near.left() - box.right(), box.left() - near.right()) - 1;
        const int level = std::min(near.bottom(), box.bottom()) - std::max(near.top(), box.top()) + 1;
        if (gap <= std::max(2.0, TextGap * std::max(height, near.height()))
            && level >= TextOverlap * std::min(height, near.height()))
            return true;
    }
    return false;
}

} // namespace

bool runsAlong(const ScanInk::InkWindow &ink, int x, int y, QPointF direction, double enough)
{
    return ink.contains(x, y) && longRun(ink, x, y, direction, enough);
}

Reading read(const QImage &image, const QRect &rect, double longestMark)
{
    Reading reading;
    reading.ink = ScanInk::readInkWindow(image, rect);
    reading.ink.threshold = std::max(ScanInk::MinimumContrast, MarkInk * reading.ink.inkLevel);
    const InkWindow &ink = reading.ink;
    const size_t count = size_t(ink.width) * size_t(ink.height);
    reading.stroke.assign(count, 0);
    reading.group.assign(count, -1);
    if (!ink.hasInk() || ink.score.size() != count)
        return reading;
    const double enough = std::max(MinimumStroke, longestMark + 4.0);
    std::vector<QPointF> directions;
    for (int i = 0; i < StrokeDirections; ++i)
        directions.push_back(QPointF(std::cos(i * M_PI / StrokeDirections), std::sin(i * M_PI / StrokeDirections)));
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            if (ink.ink(x, y))
                for (const QPointF &d : directions)
                    if (longRun(ink, x, y, d, enough)) {
                        reading.stroke[reading.index(x, y)] = 1;
                        break;
                    }

    // The compact ink in pieces, joined where a stroke runs between them.
    auto compact = [&](int x, int y) { return ink.contains(x, y) && ink.ink(x, y) && !reading.stroke[reading.index(x, y)]; };
    UnionFind pieces(count);
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x) {
            if (!compact(x, y))
                continue;
            const int here = int(reading.index(x, y));
            bool besideStroke = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (compact(x + dx, y + dy))
                        pieces.join(here, int(reading.index(x + dx, y + dy)));
                    besideStroke = besideStroke || reading.isStroke(x + dx, y + dy);
                }
            if (!besideStroke)
                continue;
            for (int dy = -BridgeReach; dy <= BridgeReach; ++dy)
                for (int dx = -BridgeReach; dx <= BridgeReach; ++dx) {
                    if (std::max(std::abs(dx), std::abs(dy)) < 2 || !compact(x + dx, y + dy))
                        continue;
                    // Across ink all the way, some of it a stroke's.
                    const int steps = 2 * std::max(std::abs(dx), std::abs(dy));
                    bool inked = true, crossesStroke = false;
                    for (int s = 1; s < steps && inked; ++s) {
                        const int u = int(std::floor(x + 0.5 + dx * double(s) / steps));
                        const int v = int(std::floor(y + 0.5 + dy * double(s) / steps));
                        inked = ink.ink(u, v) || faint(ink, u, v);
                        crossesStroke = crossesStroke || reading.isStroke(u, v);
                    }
                    if (inked && crossesStroke)
                        pieces.join(here, int(reading.index(x + dx, y + dy)));
                }
        }
    std::vector<int> labelOfRoot(count, -1);
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x) {
            if (!compact(x, y))
                continue;
            const size_t i = reading.index(x, y);
            int &label = labelOfRoot[size_t(pieces.find(int(i)))];
            if (label < 0) {
                label = int(reading.groups.size());
                reading.groups.emplace_back();
            }
            reading.group[i] = label;
            reading.groups[size_t(label)].push_back(QPoint(x, y));
        }
    return reading;
}

std::vector<Mark> marksNear(const Reading &reading, QPointF point, double radius, double longestMark)
{
    std::vector<Mark> found;
    const InkWindow &ink = reading.ink;
    for (size_t label = 0; label < reading.groups.size(); ++label) {
        const std::vector<QPoint> &pixels = reading.groups[label];
        if (int(pixels.size()) < MinimumMarkPixels)
            continue;
        const QRect box = boxOf(pixels);
        const int extent = std::max(box.width(), box.height());
        if (extent < MinimumMarkExtent || extent > longestMark || box.left() == 0 || box.top() == 0
            || box.right() == ink.width - 1 || box.bottom() == ink.height - 1)
            continue;
        const double toBox = std::hypot(std::max({box.left() - point.x(), point.x() - box.right() - 1.0, 0.0}),
                                        std::max({box.top() - point.y(), point.y() - box.bottom() - 1.0, 0.0}));
        if (toBox > radius)
            continue;
        const Shape shape = shapeOf(reading, int(label));
        if (shape.strongest <= 0.0f)
            continue;
        // A dot, ring, cross or square, or a triangle: whichever the ink shows better.
        std::optional<QPointF> centre;
        double evidence = 0.0;
        // A triangle has to show itself clearly better: a cross cut by a line may look a little
        // like one.
        auto consider = [&](const std::vector<double> &angles, double least, double margin, double crossedAtMost) {
            const QPointF c = symmetricCentre(shape, angles);
            double kept = 1.0, crossed = 0.0;
            for (const double angle : angles) {
                const Overlap o = overlap(shape, c, angle);
                kept = std::min(kept, o.kept);
                crossed = std::max(crossed, o.crossed);
            }
            if (kept >= least && crossed <= crossedAtMost && kept - crossed / 2 > evidence + margin) {
                evidence = kept - crossed / 2;
                centre = c;
            }
        };
        consider({M_PI, M_PI / 2}, MinimumTurnOverlap, 0.0, MaximumCrossedShare);
        consider({2 * M_PI / 3, 4 * M_PI / 3}, MinimumThirdOverlap, TriangleMargin, MaximumTriangleCrossed);
        if (!centre || !std::isfinite(centre->x()) || !std::isfinite(centre->y()))
            continue;
        double reach = 0.0;
        for (const QPoint &p : pixels)
            reach = std::max(reach, std::hypot(p.x() + 0.5 - centre->x(), p.y() + 0.5 - centre->y()) + 0.5);
        const double distance = std::max(0.0, std::hypot(point.x() - centre->x(), point.y() - centre->y()) - reach);
        if (distance > radius || inText(reading, int(label), box))
            continue;
        found.push_back({*centre, reach, distance, int(label)});
    }
    std::sort(found.begin(), found.end(), [](const Mark &a, const Mark &b) { return a.distance < b.distance; });
    return found;
}

} // namespace MarkFinder
