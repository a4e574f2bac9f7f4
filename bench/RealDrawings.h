#pragma once

#include "GeneratedScans.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

// Sheets drawn as cavers draw them, for the drawing benchmarks: the centre line runs through every
// station mark, marks touch walls, stations stand on a wall, passages are narrower than the mark,
// labels sit beside the marks, other passages run beyond the walls (above and below on a
// profile, with pitches), the whole sheet is turned a few degrees on the scanner, dust specks the
// paper and the scan is a little blurred. Every station sits in a tile of its own; what was drawn
// is kept, so each side's true distance (to the middle of the first line it meets) is known.
namespace RealDrawings {

constexpr int Tile = 150;
constexpr int TilesAcross = 8;
constexpr double MetresPerPixel = 0.05;
constexpr double Reach = 100.0;

enum class MarkShape { Ring, Dot, Triangle, Cross, Square };
enum class Case { Open, TouchingWall, OnWall, Narrow, PassageBeyond, Noise, Halftone };

struct Line
{
    QLineF line; // sheet pixels, the middle of the drawn stroke
};

struct Station
{
    QPointF at;                // the mark's centre
    double markRadius = 0.0;   // how far its ink reaches from the centre
    std::vector<QPointF> legs; // unit directions of its legs, sheet pixels
    QPointF along;             // the way the passage runs (plan), unit
    Case kind = Case::Open;
    MarkShape shape = MarkShape::Ring;
    int throughLine = -1; // the wall line the station stands on, if any
    QPointF rockSide;     // and the side of it away from the passage
    std::vector<QPointF> ink; // points along the mark's strokes
};

struct Sheet
{
    QImage image;
    std::vector<Line> lines; // walls and other passages' walls, not centre lines
    std::vector<Station> stations;
    std::vector<QPointF> decoys; // centres of lone characters and label digits that are not marks
};

struct Options
{
    bool profile = false;
    double turnDeg = 0.0;
    bool centreLine = true;
    double speckle = 0.0; // share of the paper dusted
    int scan = 1;         // GeneratedScans::asScan
    bool unreadable = false; // noise and halftone tiles only
};

inline double cross(QPointF a, QPointF b) { return a.x() * b.y() - a.y() * b.x(); }
inline QPointF unit(QPointF v) { return v / std::hypot(v.x(), v.y()); }

// The true distance from the station along `direction` to the middle of the first line met;
// nothing when no line is met within reach. A line the station stands on is 0 towards the rock
// and passed over towards the passage.
inline std::optional<double> trueDistance(const Sheet &sheet, const Station &station, QPointF direction)
{
    if (station.throughLine >= 0 && QPointF::dotProduct(direction, station.rockSide) > 0)
        return 0.0;
    std::optional<double> nearest;
    for (size_t i = 0; i < sheet.lines.size(); ++i) {
        if (int(i) == station.throughLine)
            continue;
        const QLineF &wall = sheet.lines[i].line;
        const QPointF run = wall.p2() - wall.p1();
        const double denominator = cross(direction, run);
        if (std::abs(denominator) < 1e-9)
            continue;
        const QPointF offset = wall.p1() - station.at;
        const double t = cross(offset, run) / denominator, u = cross(offset, direction) / denominator;
        if (u < 0 || u > 1 || t <= 0)
            continue;
        if (!nearest || t < *nearest)
            nearest = t;
    }
    if (nearest && *nearest > Reach)
        return std::nullopt;
    return nearest;
}

class Drawer
{
public:
    Drawer(Sheet &sheet, QPainter &painter, std::mt19937 &random, const Options &options)
        : sheet(sheet), painter(painter), random(random), options(options)
    {
    }

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); }

    // A wall from `a` to `b` in the tile's frame, kept as a line of the sheet.
    void wall(QPointF a, QPointF b, double pen)
    {
        painter.setPen(QPen(Ink, pen, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QLineF(a, b));
        sheet.lines.push_back({QLineF(frame.map(a), frame.map(b))});
    }

    void mark(MarkShape shape, double size, double pen)
    {
        painter.setPen(QPen(Ink, pen, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        switch (shape) {
        case MarkShape::Ring: painter.drawEllipse(QPointF(), size, size); break;
        case MarkShape::Dot:
            painter.setBrush(Ink);
            painter.drawEllipse(QPointF(), size * 0.7, size * 0.7);
            break;
        case MarkShape::Triangle: {
            const double s = size * std::sqrt(3.0) / 2;
            painter.drawPolygon(QPolygonF({QPointF(0, -size), QPointF(s, size / 2), QPointF(-s, size / 2)}));
            break;
        }
        case MarkShape::Cross:
            painter.drawLine(QPointF(-size, 0), QPointF(size, 0));
            painter.drawLine(QPointF(0, -size), QPointF(0, size));
            break;
        case MarkShape::Square: painter.drawRect(QRectF(-size * 0.75, -size * 0.75, size * 1.5, size * 1.5)); break;
        }
        painter.setBrush(Qt::NoBrush);
    }

    void text(QPointF baseline, const QString &words, int pixels)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(pixels);
        painter.setFont(font);
        painter.setPen(QPen(Ink, 1.0));
        painter.drawText(baseline, words);
    }

    void stipple(QRectF area, int dots)
    {
        painter.setPen(QPen(Ink, 1.4));
        for (int i = 0; i < dots; ++i)
            painter.drawEllipse(QPointF(uniform(area.left(), area.right()), uniform(area.top(), area.bottom())), 0.7, 0.7);
    }

    // One station in the tile at `centre`: its passage, mark, label and what lies around.
    void tile(QPointF centre, Case kind)
    {
        frame = QTransform().translate(centre.x(), centre.y()).rotate(options.turnDeg);
        painter.save();
        painter.setTransform(frame);
        const double pen = uniform(1.0, 2.4), markPen = uniform(1.0, 2.0), size = uniform(3.5, 6.5);
        const MarkShape shape = MarkShape(random() % 5);
        // Profiles run their passages level or sloping; plans any way at all within the tile.
        const double heading = options.profile ? uniform(-0.35, 0.35) : uniform(-0.6, 0.6);
        const QPointF run(std::cos(heading), std::sin(heading)), left(run.y(), -run.x());
        const double bend = uniform(-0.4, 0.4);
        const QPointF out(std::cos(heading + bend), std::sin(heading + bend));
        // The legs, from the station outward.
        QPointF legIn = -run, legOut = out;
        Station station;
        station.kind = kind;
        station.shape = shape;
        station.markRadius = size + markPen / 2;
        if (kind == Case::Noise || kind == Case::Halftone) {
            unreadable(kind);
            station.legs = {frame.map(-run) - frame.map(QPointF()), frame.map(out) - frame.map(QPointF())};
            station.along = unit(station.legs[1] - station.legs[0]);
            station.at = frame.map(QPointF());
            sheet.stations.push_back(station);
            painter.restore();
            return;
        }
        double leftWall = uniform(12, 45), rightWall = uniform(12, 45);
        const bool onLeft = random() % 2;
        int through = -1;
        switch (kind) {
        case Case::TouchingWall: (onLeft ? leftWall : rightWall) = size + markPen / 2 + pen / 2; break;
        case Case::Narrow:
            leftWall = uniform(2.5, 6.0);
            rightWall = uniform(2.5, 6.0);
            break;
        default: break;
        }
        // Passage walls, straight across the tile (a tile is a short stretch).
        const double wobble = uniform(-0.08, 0.08);
        const QPointF slope = run + wobble * left;
        const int firstLine = int(sheet.lines.size());
        if (kind == Case::OnWall) {
            // The station stands on one wall, its legs leaving it aslant; the other wall is
            // across the passage.
            const QPointF towardsPassage = onLeft ? -left : left;
            const double aslant = (onLeft ? 1 : -1) * uniform(0.25, 0.5);
            const QPointF along(std::cos(heading + aslant), std::sin(heading + aslant));
            wall(-70 * along, 70 * along, pen);
            through = firstLine;
            const double width = uniform(15, 45);
            const QPointF into = QPointF::dotProduct(QPointF(-along.y(), along.x()), towardsPassage) > 0
                ? QPointF(-along.y(), along.x()) : QPointF(along.y(), -along.x());
            wall(into * width - 70 * along, into * width + 70 * along, pen);
            station.rockSide = frame.map(-into) - frame.map(QPointF());
            legIn = -std::cos(0.5) * along + std::sin(0.5) * into;
            legOut = std::cos(0.5) * along + std::sin(0.5) * into;
        } else {
            wall(left * leftWall - 70 * slope, left * leftWall + 70 * slope, pen);
            wall(-left * rightWall - 70 * slope, -left * rightWall + 70 * slope, pen);
        }
        if (kind == Case::PassageBeyond || options.profile) {
            // Another passage beyond one wall (above or below on a profile), close by.
            const double side = onLeft ? 1 : -1, near = (onLeft ? leftWall : rightWall) + uniform(5, 20);
            if (kind != Case::OnWall)
                wall(side * left * near - 70 * run, side * left * near + 70 * run, pen);
        }
        if (options.profile && random() % 2) {
            // A pitch dropping from the passage beside the station.
            const double x = (random() % 2 ? 1 : -1) * uniform(20, 60);
            wall(QPointF(x, rightWall), QPointF(x, rightWall + 60), pen);
        }
        // Stipple on the floor, clear of the station.
        if (kind != Case::Narrow && kind != Case::OnWall && std::min(leftWall, rightWall) > 10) {
            painter.setTransform(frame);
            painter.save();
            painter.rotate(heading * 180 / M_PI);
            stipple(QRectF(15, -std::min(leftWall, rightWall) + 4, 45, 2 * std::min(leftWall, rightWall) - 8), 6);
            painter.restore();
        }
        if (options.centreLine) {
            painter.setPen(QPen(Ink, uniform(0.8, 1.4)));
            painter.drawLine(QPointF(), 80 * legIn);
            painter.drawLine(QPointF(), 80 * legOut);
        }
        mark(shape, size, markPen);
        // The label beside the mark, outside the passage when it does not fit.
        const QString label = GeneratedScans::randomLabel(random, 2);
        const int pixels = 11 + int(random() % 5);
        QPointF baseline(size + 3 + uniform(0, 4), -size - 1 - uniform(0, 3));
        if (kind == Case::Narrow || kind == Case::TouchingWall || kind == Case::OnWall)
            baseline = QPointF(size + 4, -std::max(leftWall, 10.0) - 4);
        text(baseline, label, pixels);
        {
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(pixels);
            const QFontMetricsF metrics(font);
            const QRectF digit = metrics.boundingRect(label.back());
            sheet.decoys.push_back(frame.map(baseline + QPointF(metrics.horizontalAdvance(label.chopped(1)), 0) + digit.center()));
        }
        // A note whose characters look like marks: a ring, a cross, a little ring, a zero.
        static const QString notes[] = {QStringLiteral("ox"), QStringLiteral("O2"), QStringLiteral("+12"),
                                        QString::fromUtf8("45\u00b0"), QStringLiteral("0.5"), QStringLiteral("o.k.")};
        const QString note = notes[random() % 6];
        const int notePixels = 12 + int(random() % 6);
        const QPointF noteAt(-60, 55);
        text(noteAt, note, notePixels);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(notePixels);
        const QFontMetricsF metrics(font);
        const int which = note.endsWith(QChar(0xb0)) ? int(note.size()) - 1 : 0;
        const QRectF glyph = metrics.boundingRect(note.at(which));
        sheet.decoys.push_back(frame.map(noteAt + QPointF(metrics.horizontalAdvance(note.left(which)), 0) + glyph.center()));

        station.at = frame.map(QPointF());
        station.legs = {frame.map(legIn) - frame.map(QPointF()), frame.map(legOut) - frame.map(QPointF())};
        station.along = unit(station.legs[1] - station.legs[0]);
        station.throughLine = through;
        for (int i = 0; i < 24; ++i) {
            const double a = i * M_PI / 12, f = (i % 6) / 6.0;
            QPointF p;
            switch (shape) {
            case MarkShape::Ring: p = size * QPointF(std::cos(a), std::sin(a)); break;
            case MarkShape::Dot: p = size * 0.7 * f * QPointF(std::cos(a), std::sin(a)); break;
            case MarkShape::Cross: p = (i % 2 ? QPointF(size * (2 * f - 1), 0) : QPointF(0, size * (2 * f - 1))); break;
            case MarkShape::Triangle: {
                const double s = size * std::sqrt(3.0) / 2;
                const QPointF corners[] = {QPointF(0, -size), QPointF(s, size / 2), QPointF(-s, size / 2)};
                p = corners[i % 3] + f * (corners[(i + 1) % 3] - corners[i % 3]);
                break;
            }
            case MarkShape::Square: {
                const QPointF corners[] = {QPointF(-1, -1), QPointF(1, -1), QPointF(1, 1), QPointF(-1, 1)};
                p = size * 0.75 * (corners[i % 4] + f * (corners[(i + 1) % 4] - corners[i % 4]));
                break;
            }
            }
            station.ink.push_back(frame.map(p));
        }
        sheet.stations.push_back(station);
        painter.restore();
    }

    // A tile of noise or of a 50 % halftone screen, nothing a caver drew.
    void unreadable(Case kind)
    {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Ink);
        if (kind == Case::Halftone) {
            for (int y = -70; y < 70; y += 4)
                for (int x = -70; x < 70; x += 4)
                    painter.drawEllipse(QPointF(x + (y / 4 % 2) * 2, y), 1.6, 1.6);
        } else {
            for (int i = 0; i < 6000; ++i)
                painter.drawRect(QRectF(uniform(-70, 70), uniform(-70, 70), 1.0 + uniform(0, 1.5), 1.0 + uniform(0, 1.5)));
        }
        painter.setBrush(Qt::NoBrush);
    }

    static inline const QColor Ink{25, 25, 30};

private:
    Sheet &sheet;
    QPainter &painter;
    std::mt19937 &random;
    const Options &options;
    QTransform frame;
};

// Dust on the paper, then the scanner's blur.
inline void ageScan(QImage &image, double speckle, std::mt19937 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    if (speckle > 0) {
        const int w = image.width(), h = image.height();
        for (int y = 0; y < h; ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < w; ++x)
                if (unit(random) < speckle) {
                    const int darker = 60 + int(random() % 140);
                    const QRgb p = line[x];
                    line[x] = qRgb(std::max(0, qRed(p) - darker), std::max(0, qGreen(p) - darker), std::max(0, qBlue(p) - darker));
                }
        }
    }
    // A [1 2 1] blur each way.
    const QImage before = image.copy();
    for (int y = 1; y + 1 < image.height(); ++y) {
        const auto *up = reinterpret_cast<const QRgb *>(before.constScanLine(y - 1));
        const auto *mid = reinterpret_cast<const QRgb *>(before.constScanLine(y));
        const auto *down = reinterpret_cast<const QRgb *>(before.constScanLine(y + 1));
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 1; x + 1 < image.width(); ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb p = (dy < 0 ? up : dy > 0 ? down : mid)[x + dx];
                    const int weight = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
                    sum[0] += qRed(p) * weight;
                    sum[1] += qGreen(p) * weight;
                    sum[2] += qBlue(p) * weight;
                }
            out[x] = qRgb(sum[0] / 16, sum[1] / 16, sum[2] / 16);
        }
    }
}

inline Sheet makeSheet(const Options &options, unsigned seed)
{
    Sheet sheet;
    const int side = Tile * TilesAcross;
    QImage drawn(side, side, QImage::Format_RGB32);
    std::mt19937 random(seed);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(drawn.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int grain = int(random() % 9);
            line[x] = qRgb(238 + grain, 234 + grain, 220 + grain);
        }
    }
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    Drawer draw(sheet, painter, random, options);
    const Case cases[] = {Case::Open, Case::TouchingWall, Case::OnWall, Case::Narrow, Case::PassageBeyond};
    for (int row = 0; row < TilesAcross; ++row)
        for (int column = 0; column < TilesAcross; ++column) {
            const QPointF centre(column * Tile + Tile / 2.0, row * Tile + Tile / 2.0);
            const int n = row * TilesAcross + column;
            const Case kind = options.unreadable ? (n % 2 ? Case::Noise : Case::Halftone) : cases[n % 5];
            draw.tile(centre, kind);
        }
    painter.end();
    ageScan(drawn, options.speckle, random);
    sheet.image = GeneratedScans::asScan(drawn, options.scan);
    return sheet;
}

} // namespace RealDrawings
