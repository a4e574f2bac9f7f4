#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cmath>
#include <random>
#include <vector>

// Generated survey sheets with one traverse drawn as a surveyor draws it: station marks (dots,
// rings, triangles) joined by the centre line, the passage's walls about it (some touching a
// mark), stipple on the floor, each station's label printed beside its mark, a side passage
// forking off, then the scanner's blur and dust. Plans wander; profiles run left to right,
// climbing and dropping. Shared by the trace benchmark and its tests.
namespace TraceSheets {

enum class Shape { Dot, Ring, Triangle };
enum class Scan { Colour, Grey, OneBit };

struct Options
{
    int stations = 20;
    Shape shape = Shape::Dot;
    bool profile = false;
    bool centreLine = true;
    bool fork = false;           // a side passage leaves from a station halfway along
    bool touchingWalls = false;  // a wall touches every third mark
    bool labels = true;
    bool cyrillic = false;
    bool serif = false;          // DejaVu Serif instead of DejaVu Sans
    int labelSize = 15;          // pixels
    bool stipple = true;
    double speckle = 0.05;       // share of pixels darkened by dust
    bool blur = true;
    Scan scan = Scan::Grey;
    double legLength = 130;      // mean, pixels
    double bend = 0.8;           // a plan turns up to half this many radians either way at a station
    int minimumSide = 0;         // the sheet is at least this big either way (paper round it)
    unsigned seed = 1;
};

struct Station
{
    QPointF centre;
    QString label;
    double radius;
};

struct Sheet
{
    QImage image;
    std::vector<Station> stations; // the traverse, in order
    std::vector<QPointF> others;   // marks of the side passage
    std::vector<QLineF> guides;    // on a profile: the vertical guide of each station after the first
};

// A label series as surveyors number them: A12, A13 ...; 7a, 7b ...; 1, 2 ...; sometimes counting down.
inline std::vector<QString> labelSeries(std::mt19937 &random, int count, bool cyrillic)
{
    static const QString latin = QStringLiteral("ABDKMPTS"), russian = QStringLiteral("ПБГДЖЛФЦЯ");
    const QString &letters = cyrillic ? russian : latin;
    const int form = int(random() % 5);
    const bool down = random() % 4 == 0;
    const int first = down ? count + int(random() % 60) : 1 + int(random() % 90);
    const QChar letter = letters[int(random() % unsigned(letters.size()))];
    std::vector<QString> series;
    for (int i = 0; i < count; ++i) {
        const int n = down ? first - i : first + i;
        if (form == 3 && count <= 20) {
            static const QString small = QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
                                 smallRussian = QStringLiteral("абвгдежзиклмнопрстуфхцчшщэюя");
            series.push_back(QString::number(first) + (cyrillic ? smallRussian : small)[i]);
        } else if (form == 4) {
            series.push_back(QString::number(n));
        } else {
            series.push_back(letter + QString::number(n));
        }
    }
    return series;
}

inline QPointF unit(QPointF v)
{
    const double length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : QPointF(1, 0);
}

inline void drawMark(QPainter &painter, QPointF c, Shape shape, double size)
{
    painter.save();
    painter.setBrush(painter.pen().color());
    switch (shape) {
    case Shape::Dot: painter.drawEllipse(c, size * 0.8, size * 0.8); break;
    case Shape::Ring:
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, size, size);
        break;
    case Shape::Triangle: {
        QPainterPath path;
        path.moveTo(c + QPointF(0, -size * 1.2));
        path.lineTo(c + QPointF(size * 1.04, size * 0.6));
        path.lineTo(c + QPointF(-size * 1.04, size * 0.6));
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    }
    painter.restore();
}

// The passage's wall `side` (+1 left, -1 right) of the line through `points`, `half[i]` off it.
inline QPolygonF wallOf(const std::vector<QPointF> &points, const std::vector<double> &half, int side)
{
    QPolygonF wall;
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF in = i > 0 ? unit(points[i] - points[i - 1]) : unit(points[1] - points[0]);
        const QPointF out = i + 1 < points.size() ? unit(points[i + 1] - points[i]) : in;
        const QPointF normal = unit(QPointF(-(in.y() + out.y()), in.x() + out.x()));
        const double cosine = std::max(0.5, normal.x() * -in.y() + normal.y() * in.x());
        wall << points[i] + normal * side * half[i] / cosine;
    }
    return wall;
}

inline Sheet makeSheet(const Options &o)
{
    std::mt19937 random(o.seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    Sheet sheet;
    // The traverse: plans wander, profiles run to the right.
    std::vector<QPointF> points{QPointF(0, 0)};
    double heading = 2 * M_PI * uniform(random);
    for (int i = 1; i < o.stations; ++i) {
        const double length = o.legLength * (0.75 + 0.5 * uniform(random));
        if (o.profile) {
            const double incline = (random() % 6 == 0 ? 1.2 : 0.6) * (uniform(random) - 0.5) * 2;
            points.push_back(points.back() + length * QPointF(std::cos(incline), std::sin(incline)));
        } else {
            heading += o.bend * (uniform(random) - 0.5);
            points.push_back(points.back() + length * QPointF(std::cos(heading), std::sin(heading)));
        }
    }
    const double size = 4.0 + 1.5 * uniform(random);
    const std::vector<QString> labels = labelSeries(random, o.stations, o.cyrillic);
    // A side passage from a station halfway, marked in a series of its own.
    std::vector<QPointF> branch;
    const int junction = o.stations / 2;
    if (o.fork && o.stations >= 3) {
        const QPointF along = unit(points[size_t(junction + 1)] - points[size_t(junction - 1)]);
        const QPointF away = o.profile ? QPointF(along.x() * 0.5, 0.9) : QPointF(-along.y(), along.x());
        branch.push_back(points[size_t(junction)]);
        for (int i = 0; i < 4; ++i)
            branch.push_back(branch.back() + o.legLength * unit(away + along * 0.6 * (uniform(random) - 0.3)));
    }
    QRectF extent(points[0], QSizeF(1, 1));
    for (QPointF p : points)
        extent |= QRectF(p, QSizeF(1, 1));
    for (QPointF p : branch)
        extent |= QRectF(p, QSizeF(1, 1));
    const double margin = 160;
    const int width = std::max(o.minimumSide, int(extent.width() + 2 * margin));
    const int height = std::max(o.minimumSide, int(extent.height() + 2 * margin));
    const QPointF shift = QPointF(width, height) / 2 - extent.center();
    for (QPointF &p : points)
        p += shift;
    for (QPointF &p : branch)
        p += shift;

    QImage drawn(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y) {
        uchar *line = drawn.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = uchar(240 + random() % 12);
    }
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ink(28, 28, 28);
    QFont font(o.serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(o.labelSize);
    painter.setFont(font);
    const QFontMetricsF metrics(font);

    // Where each label goes: away from the legs at its station.
    std::vector<QPointF> labelWay(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        QPointF legs;
        if (i > 0)
            legs += unit(points[i - 1] - points[i]);
        if (i + 1 < points.size())
            legs += unit(points[i + 1] - points[i]);
        if (int(i) == junction && branch.size() > 1)
            legs += unit(branch[1] - branch[0]);
        const QPointF along = unit(i + 1 < points.size() ? points[i + 1] - points[i] : points[i] - points[i - 1]);
        labelWay[i] = std::hypot(legs.x(), legs.y()) > 0.3 ? unit(-legs) : QPointF(-along.y(), along.x());
    }
    // Walls, a wall touching every third mark on the side away from its label.
    std::vector<double> left(points.size()), right(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        // Room for a label between the mark and the wall.
        const double room = size * 1.2 + 12 + 2.2 * o.labelSize;
        left[i] = room + 14 * uniform(random);
        right[i] = room + 14 * uniform(random);
        if (o.touchingWalls && i % 3 == 1) {
            const QPointF along = unit(i + 1 < points.size() ? points[i + 1] - points[i] : points[i] - points[i - 1]);
            const bool labelLeft = QPointF::dotProduct(labelWay[i], QPointF(along.y(), -along.x())) > 0;
            (labelLeft ? right : left)[i] = size + 1.5;
        }
    }
    QPolygonF leftWall = wallOf(points, left, -1), rightWall = wallOf(points, right, 1);
    // The passage goes on a little past its ends.
    const QPointF back = unit(points[0] - points[1]) * 40, on = unit(points.back() - points[points.size() - 2]) * 40;
    leftWall.prepend(leftWall.first() + back);
    rightWall.prepend(rightWall.first() + back);
    leftWall << leftWall.last() + on;
    rightWall << rightWall.last() + on;
    painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(leftWall);
    painter.drawPolyline(rightWall);
    if (branch.size() > 1) {
        std::vector<double> half(branch.size(), 34.0);
        half[0] = 0;
        painter.drawPolyline(wallOf(branch, half, -1).mid(1));
        painter.drawPolyline(wallOf(branch, half, 1).mid(1));
    }
    // Stipple on the floor, clear of the marks and the labels' room.
    if (o.stipple) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(ink);
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const QLineF leg(points[i], points[i + 1]);
            const QPointF normal = unit(QPointF(-leg.dy(), leg.dx()));
            for (int dot = 0; dot < int(leg.length() / 6); ++dot) {
                const double t = uniform(random), across = (uniform(random) - 0.5) * 2;
                const QPointF at = leg.pointAt(t) + normal * across * (across > 0 ? left[i] : right[i]) * 0.85;
                bool clear = true;
                for (size_t k = 0; k < points.size(); ++k)
                    clear = clear && std::hypot(at.x() - points[k].x(), at.y() - points[k].y()) > size + 8 + 2.2 * o.labelSize;
                clear = clear && std::fabs(QPointF::dotProduct(at - leg.p1(), normal)) > 5;
                if (clear)
                    painter.drawEllipse(at, 0.9, 0.9);
            }
        }
    }
    // The centre line, the marks and their labels.
    painter.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    if (o.centreLine) {
        painter.drawPolyline(QPolygonF(QVector<QPointF>(points.begin(), points.end())));
        if (branch.size() > 1)
            painter.drawPolyline(QPolygonF(QVector<QPointF>(branch.begin(), branch.end())));
    }
    const std::vector<QString> branchLabels = labelSeries(random, int(branch.size()), !o.cyrillic);
    for (size_t i = 0; i < points.size() + branch.size(); ++i) {
        const bool onBranch = i >= points.size();
        if (onBranch && i == points.size())
            continue; // the junction, drawn with the traverse
        const QPointF c = onBranch ? branch[i - points.size()] : points[i];
        const double markSize = size * (0.9 + 0.2 * uniform(random));
        painter.setPen(QPen(ink, 1.6));
        drawMark(painter, c, o.shape, markSize);
        if (onBranch)
            sheet.others.push_back(c);
        else
            sheet.stations.push_back({c, labels[i], markSize});
        if (!o.labels)
            continue;
        const QString text = onBranch ? branchLabels[i - points.size()] : labels[i];
        const QPointF way = onBranch ? unit(QPointF(0.7, -0.7)) : labelWay[i];
        const QRectF box = metrics.tightBoundingRect(text);
        // The box's centre far enough along `way` that no corner of it reaches the mark or the
        // legs, as a surveyor keeps a label clear of the line.
        const double reach = std::hypot(box.width() / 2, box.height() / 2);
        const QPointF middle = c + way * (markSize * 1.2 + 5 + reach);
        painter.drawText(middle - box.center(), text);
    }
    painter.end();

    if (o.profile)
        for (size_t i = 1; i < sheet.stations.size(); ++i) {
            const double x = sheet.stations[i].centre.x() + 3 * (uniform(random) - 0.5);
            sheet.guides.push_back(QLineF(x, 0, x, height));
        }

    // The scanner: a little blur, then dust.
    if (o.blur) {
        QImage soft = drawn;
        for (int y = 1; y + 1 < height; ++y) {
            const uchar *up = drawn.constScanLine(y - 1), *mid = drawn.constScanLine(y), *down = drawn.constScanLine(y + 1);
            uchar *out = soft.scanLine(y);
            for (int x = 1; x + 1 < width; ++x)
                out[x] = uchar((4 * mid[x] + 2 * (mid[x - 1] + mid[x + 1] + up[x] + down[x]) + up[x - 1] + up[x + 1]
                                + down[x - 1] + down[x + 1] + 8) / 16);
        }
        drawn = soft;
    }
    if (o.speckle > 0) {
        const auto specks = size_t(o.speckle * double(width) * double(height));
        for (size_t k = 0; k < specks; ++k) {
            uchar &pixel = drawn.scanLine(int(random() % unsigned(height)))[random() % unsigned(width)];
            pixel = uchar(std::max(0, int(pixel) - 40 - int(random() % 160)));
        }
    }
    switch (o.scan) {
    case Scan::Grey: sheet.image = drawn; break;
    case Scan::OneBit: sheet.image = drawn.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither); break;
    case Scan::Colour: {
        QImage colour(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            const uchar *grey = drawn.constScanLine(y);
            auto *line = reinterpret_cast<QRgb *>(colour.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = qRgb(grey[x] * 250 / 255, grey[x] * 242 / 255, grey[x] * 222 / 255);
        }
        sheet.image = colour;
        break;
    }
    }
    return sheet;
}

} // namespace TraceSheets
