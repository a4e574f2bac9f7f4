#include "checks/CentrelineDrawing.h"

#include "views/ViewPainter.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(CentrelineDrawing)
};

constexpr double Radians = 3.14159265358979323846 / 180.0;
constexpr int HeightSteps = 32; // legs and stations are drawn in this many colour batches

struct Axes
{
    double cosFacing, sinFacing, cosTilt, sinTilt;
};

// Sine and cosine that are exactly 0 and 1 at right angles, so the plan shows no trace of the
// heights and an elevation none of the depth.
double sinDeg(double deg)
{
    const double r = std::fmod(deg, 360.0);
    if (r == 0.0 || std::fabs(r) == 180.0)
        return 0.0;
    if (r == 90.0 || r == -270.0)
        return 1.0;
    if (r == -90.0 || r == 270.0)
        return -1.0;
    return std::sin(deg * Radians);
}

double cosDeg(double deg)
{
    return sinDeg(deg + 90.0);
}

Axes axes(const CentrelineCamera &camera)
{
    return {cosDeg(camera.facingDeg), sinDeg(camera.facingDeg), cosDeg(camera.tiltDeg), sinDeg(camera.tiltDeg)};
}

// Right and up on the screen, metres, before scaling.
QPointF flat(const Axes &a, double east, double north, double up)
{
    const double right = east * a.cosFacing - north * a.sinFacing;
    const double forward = east * a.sinFacing + north * a.cosFacing;
    return {right, up * a.cosTilt + forward * a.sinTilt};
}

int heightStep(const CentrelineScene &scene, double up)
{
    const double span = scene.highest - scene.lowest;
    if (!(span > 0.0) || !std::isfinite(up))
        return HeightSteps / 2;
    return std::clamp(int((up - scene.lowest) / span * HeightSteps), 0, HeightSteps - 1);
}

QFont smallFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    return font;
}

} // namespace

CentrelineCamera CentrelineCamera::plan()
{
    return CentrelineCamera{};
}

CentrelineCamera CentrelineCamera::northFacing()
{
    CentrelineCamera camera;
    camera.tiltDeg = 0.0;
    return camera;
}

CentrelineCamera CentrelineCamera::eastFacing()
{
    CentrelineCamera camera;
    camera.facingDeg = 90.0;
    camera.tiltDeg = 0.0;
    return camera;
}

QPointF CentrelineCamera::project(const NetworkPoint &point) const
{
    const QPointF f = flat(axes(*this), point.east - centre.east, point.north - centre.north, point.up - centre.up);
    return {origin.x() + f.x() * pixelsPerMetre, origin.y() - f.y() * pixelsPerMetre};
}

void CentrelineCamera::rotate(double dFacing, double dTilt)
{
    facingDeg = std::fmod(facingDeg + dFacing, 360.0);
    if (facingDeg < 0.0)
        facingDeg += 360.0;
    tiltDeg = std::clamp(tiltDeg + dTilt, 0.0, 90.0);
}

void CentrelineCamera::zoomAt(const QPointF &at, double factor)
{
    const double scaled = pixelsPerMetre * factor;
    if (!(scaled > 1e-6 && scaled < 1e6))
        return;
    origin = at - (at - origin) * factor;
    pixelsPerMetre = scaled;
}

void CentrelineCamera::fit(const QVector<NetworkPoint> &points, const QRectF &area)
{
    origin = area.center();
    double low[3] = {INFINITY, INFINITY, INFINITY}, high[3] = {-INFINITY, -INFINITY, -INFINITY};
    for (const NetworkPoint &p : points) {
        const double v[3] = {p.east, p.north, p.up};
        for (int k = 0; k < 3; ++k)
            if (std::isfinite(v[k])) {
                low[k] = std::min(low[k], v[k]);
                high[k] = std::max(high[k], v[k]);
            }
    }
    if (!(high[0] >= low[0]) || !(high[1] >= low[1]) || !(high[2] >= low[2])) {
        centre = NetworkPoint{};
        pixelsPerMetre = 10.0;
        return;
    }
    centre = {(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2};
    const Axes a = axes(*this);
    double left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
    for (const NetworkPoint &p : points) {
        const QPointF f = flat(a, p.east - centre.east, p.north - centre.north, p.up - centre.up);
        if (!std::isfinite(f.x()) || !std::isfinite(f.y()))
            continue;
        left = std::min(left, f.x());
        right = std::max(right, f.x());
        bottom = std::min(bottom, f.y());
        top = std::max(top, f.y());
    }
    const double width = std::max(right - left, 1e-9), height = std::max(top - bottom, 1e-9);
    const double roomX = std::max(1.0, area.width()), roomY = std::max(1.0, area.height());
    // A single station, or stations in a vertical line seen from above, get a sensible scale.
    pixelsPerMetre = std::min({roomX / width, roomY / height, 100.0});
    if (!(pixelsPerMetre > 0.0) || !std::isfinite(pixelsPerMetre))
        pixelsPerMetre = 10.0;
    // The middle of what shows, not of the box, goes to the widget's centre.
    origin -= QPointF((left + right) / 2 * pixelsPerMetre, -(bottom + top) / 2 * pixelsPerMetre);
}

CentrelineScene CentrelineScene::of(const SurveyNetwork &network)
{
    CentrelineScene scene;
    scene.stations = network.positions;
    scene.labels.reserve(network.positions.size());
    QVector<bool> named(network.positions.size(), false);
    for (const LegCheck &leg : network.legs) {
        named[leg.from] = named[leg.to] = true;
        scene.legFrom.append(leg.from);
        scene.legTo.append(leg.to);
        scene.legMark.append(leg.flagged ? Disagrees : Plain);
    }
    for (const SurveyLoop &loop : network.loops)
        if (loop.flagged)
            for (const int leg : loop.legs)
                scene.legMark[leg] = std::max<unsigned char>(scene.legMark[leg], InMisclosedLoop);
    bool anyDimensions = false;
    for (const PassageDimensions &d : network.dimensions)
        anyDimensions = anyDimensions || !d.isEmpty();
    if (anyDimensions && network.dimensions.size() == network.positions.size()) {
        // Each station's plan direction: the sum of its legs' unit directions, so a bend
        // takes the mean of the two.
        QVector<QPointF> along(network.positions.size());
        for (const LegCheck &leg : network.legs) {
            const NetworkPoint &a = network.positions[leg.from];
            const NetworkPoint &b = network.positions[leg.to];
            const double dEast = b.east - a.east, dNorth = b.north - a.north;
            const double length = std::hypot(dEast, dNorth);
            if (!(length > 0.0) || !std::isfinite(length))
                continue;
            along[leg.from] += QPointF(dEast / length, dNorth / length);
            along[leg.to] += QPointF(dEast / length, dNorth / length);
        }
        scene.walls.resize(network.positions.size());
        for (int i = 0; i < network.positions.size(); ++i) {
            const PassageDimensions &d = network.dimensions[i];
            const NetworkPoint &p = network.positions[i];
            WallPoints &w = scene.walls[i];
            const double length = std::hypot(along[i].x(), along[i].y());
            // Left of the way on, looking along it; a station without a plan direction has no
            // left or right.
            const bool across = length > 1e-9 && std::isfinite(length);
            const double leftEast = across ? -along[i].y() / length : 0.0;
            const double leftNorth = across ? along[i].x() / length : 0.0;
            const auto usable = [](const std::optional<double> &value) { return value && *value >= 0.0; };
            if (across && usable(d.left)) {
                w.at[Left] = {p.east + leftEast * *d.left, p.north + leftNorth * *d.left, p.up};
                w.known[Left] = true;
            }
            if (across && usable(d.right)) {
                w.at[Right] = {p.east - leftEast * *d.right, p.north - leftNorth * *d.right, p.up};
                w.known[Right] = true;
            }
            if (usable(d.up)) {
                w.at[Up] = {p.east, p.north, p.up + *d.up};
                w.known[Up] = true;
            }
            if (usable(d.down)) {
                w.at[Down] = {p.east, p.north, p.up - *d.down};
                w.known[Down] = true;
            }
        }
    }
    scene.lowest = INFINITY;
    scene.highest = -INFINITY;
    for (const NetworkPoint &p : network.positions)
        if (std::isfinite(p.up)) {
            scene.lowest = std::min(scene.lowest, p.up);
            scene.highest = std::max(scene.highest, p.up);
        }
    if (!(scene.highest >= scene.lowest))
        scene.lowest = scene.highest = 0.0;
    return scene;
}

bool CentrelineScene::hasDisagreement() const
{
    return std::find(legMark.begin(), legMark.end(), Disagrees) != legMark.end();
}

bool CentrelineScene::hasMisclosedLoop() const
{
    return std::find(legMark.begin(), legMark.end(), InMisclosedLoop) != legMark.end();
}

namespace CentrelinePainter {

QRectF drawingArea(const QSize &size)
{
    return QRectF(20, 20, std::max(1, size.width() - 100), std::max(1, size.height() - 70));
}

const QColor Background(0x10, 0x10, 0x18);
const QColor LoopColour(0xFF, 0x40, 0xFF);
const QColor WallColour(0x90, 0x90, 0x80);

QColor heightColour(double fraction)
{
    return QColor::fromHsvF(float(0.66 * (1.0 - std::clamp(fraction, 0.0, 1.0))), 0.85f, 1.0f);
}

void paint(QPainter &painter, const CentrelineScene &scene, const CentrelineCamera &camera, const QSize &size,
           bool labels)
{
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Background);
    painter.setRenderHint(QPainter::Antialiasing, true);

    QVector<QPointF> at(scene.stations.size());
    for (int i = 0; i < scene.stations.size(); ++i)
        at[i] = camera.project(scene.stations[i]);

    // The passage under everything else: each station's cross-section, and each wall from
    // station to station along the legs.
    if (!scene.walls.isEmpty()) {
        QVector<QLineF> outline;
        const auto point = [&](int station, int wall) { return camera.project(scene.walls[station].at[wall]); };
        for (int i = 0; i < scene.walls.size(); ++i) {
            const CentrelineScene::WallPoints &w = scene.walls[i];
            for (const auto &[a, b] : {std::pair{0, 2}, std::pair{2, 1}, std::pair{1, 3}, std::pair{3, 0}})
                if (w.known[a] && w.known[b])
                    outline.append(QLineF(point(i, a), point(i, b)));
        }
        for (int l = 0; l < scene.legFrom.size(); ++l) {
            const int from = scene.legFrom[l], to = scene.legTo[l];
            if (from >= scene.walls.size() || to >= scene.walls.size())
                continue;
            for (int wall = 0; wall < 4; ++wall)
                if (scene.walls[from].known[wall] && scene.walls[to].known[wall])
                    outline.append(QLineF(point(from, wall), point(to, wall)));
        }
        painter.setPen(QPen(WallColour, 1.0));
        painter.drawLines(outline);
    }

    // Highlights go under the legs, wide, so the height colours still show along them.
    std::array<QVector<QLineF>, HeightSteps> legs;
    QVector<QLineF> loopLegs, disagreeing;
    for (int l = 0; l < scene.legFrom.size(); ++l) {
        const QLineF line(at[scene.legFrom[l]], at[scene.legTo[l]]);
        const double up = (scene.stations[scene.legFrom[l]].up + scene.stations[scene.legTo[l]].up) / 2;
        legs[size_t(heightStep(scene, up))].append(line);
        if (scene.legMark[l] == CentrelineScene::Disagrees)
            disagreeing.append(line);
        else if (scene.legMark[l] == CentrelineScene::InMisclosedLoop)
            loopLegs.append(line);
    }
    painter.setPen(QPen(LoopColour, 6.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLines(loopLegs);
    painter.setPen(QPen(ViewPainter::disagreementColour(), 6.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLines(disagreeing);
    for (int step = 0; step < HeightSteps; ++step) {
        if (legs[size_t(step)].isEmpty())
            continue;
        painter.setPen(QPen(heightColour((step + 0.5) / HeightSteps), 1.5));
        painter.drawLines(legs[size_t(step)]);
    }

    std::array<QVector<QPointF>, HeightSteps> points;
    for (int i = 0; i < at.size(); ++i)
        points[size_t(heightStep(scene, scene.stations[i].up))].append(at[i]);
    for (int step = 0; step < HeightSteps; ++step) {
        if (points[size_t(step)].isEmpty())
            continue;
        painter.setPen(QPen(heightColour((step + 0.5) / HeightSteps), 5.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoints(points[size_t(step)]);
    }

    const QFont font = smallFont();
    painter.setFont(font);
    const QFontMetrics metrics(font);
    if (labels) {
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        const QRectF visible(QPointF(0, 0), QSizeF(size));
        for (int i = 0; i < at.size() && i < scene.labels.size(); ++i)
            if (visible.contains(at[i]))
                painter.drawText(at[i] + QPointF(4, -4), scene.labels[i]);
    }

    // Height legend: a bar from the lowest (bottom) to the highest station.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int barHeight = std::min(160, size.height() - 60);
    if (barHeight > 20 && !scene.stations.isEmpty()) {
        const QRect bar(size.width() - 28, 30, 12, barHeight);
        for (int y = 0; y < bar.height(); ++y)
            painter.fillRect(QRect(bar.left(), bar.bottom() - y, bar.width(), 1),
                             heightColour((y + 0.5) / bar.height()));
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
        const QString top = QString::number(scene.highest, 'f', 1) + Words::tr(" m");
        const QString bottom = QString::number(scene.lowest, 'f', 1) + Words::tr(" m");
        painter.drawText(QPoint(bar.right() - metrics.horizontalAdvance(top), bar.top() - 6), top);
        painter.drawText(QPoint(bar.right() - metrics.horizontalAdvance(bottom), bar.bottom() + 4 + metrics.ascent()),
                         bottom);
        const QString title = Words::tr("Height");
        painter.drawText(QPoint(bar.left() - 6 - metrics.horizontalAdvance(title), bar.top() + metrics.ascent()), title);
    }

    // Key of the highlights, bottom left, only for those present.
    int keyY = size.height() - 10;
    auto key = [&](const QColor &colour, const QString &text) {
        painter.fillRect(QRect(10, keyY - 8, 18, 6), colour);
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawText(QPoint(34, keyY), text);
        keyY -= metrics.height() + 2;
    };
    if (scene.hasDisagreement())
        key(ViewPainter::disagreementColour(), Words::tr("plan and profile lengths disagree"));
    if (scene.hasMisclosedLoop())
        key(LoopColour, Words::tr("loop misclosed beyond the tolerance"));

    // A scale bar of a round length, about a hundred pixels, at the bottom in the middle.
    if (camera.pixelsPerMetre > 0.0 && std::isfinite(camera.pixelsPerMetre)) {
        const double wanted = 100.0 / camera.pixelsPerMetre;
        const double power = std::pow(10.0, std::floor(std::log10(wanted)));
        const double metres = wanted >= 5 * power ? 5 * power : wanted >= 2 * power ? 2 * power : power;
        const int length = int(std::lround(metres * camera.pixelsPerMetre));
        const QPoint left(size.width() / 2 - length / 2, size.height() - 14);
        painter.setPen(QColor(0xE0, 0xE0, 0xE0));
        painter.drawLine(left, left + QPoint(length, 0));
        painter.drawLine(left, left - QPoint(0, 5));
        painter.drawLine(left + QPoint(length, 0), left + QPoint(length, -5));
        const QString text = QString::number(metres, 'g', 6) + Words::tr(" m");
        painter.drawText(QPoint(left.x() + length / 2 - metrics.horizontalAdvance(text) / 2, left.y() - 4), text);
    }

    // Which way is which: north, east and up as seen now, from a small cross at the bottom right.
    const Axes a = axes(camera);
    const QPointF base(size.width() - 45, size.height() - 45);
    const struct
    {
        QString name;
        double east, north, up;
    } directions[] = {{Words::tr("N"), 0, 1, 0}, {Words::tr("E"), 1, 0, 0}, {Words::tr("Up"), 0, 0, 1}};
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const auto &d : directions) {
        const QPointF f = flat(a, d.east, d.north, d.up);
        if (std::hypot(f.x(), f.y()) < 0.2)
            continue; // pointing at the viewer
        const QPointF tip = base + QPointF(f.x(), -f.y()) * 25.0;
        painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1.0));
        painter.drawLine(base, tip);
        painter.drawText(tip + QPointF(f.x() * 8 - 4, -f.y() * 8 + 4), d.name);
    }
    painter.restore();
}

} // namespace CentrelinePainter
