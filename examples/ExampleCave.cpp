#include "examples/ExampleCave.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QtMath>
#include <algorithm>

namespace {

struct Leg
{
    double bearingDeg; // clockwise from north
    double length;     // horizontal, metres
    double rise;       // metres, up positive
    double halfWidth;
    double roof;
    double floor;
};

// Main passage 1..19 from the entrance (station 0).
const Leg MainLegs[] = {
    {100, 6.0, -1.5, 2.0, 2.5, 0.8}, {120, 7.5, -3.0, 1.5, 2.0, 0.6}, {95, 5.0, -0.5, 2.5, 3.0, 0.8},
    {70, 8.0, -2.0, 3.5, 4.0, 1.0},  {85, 6.5, -4.0, 1.2, 1.5, 0.5}, {110, 5.5, 0.0, 1.0, 1.2, 0.4},
    {140, 7.0, -1.0, 2.0, 2.5, 0.8}, {120, 6.0, -2.5, 4.0, 5.0, 1.2}, {90, 7.5, -1.0, 2.5, 3.0, 0.8},
    {60, 6.0, 0.5, 1.5, 2.0, 0.6},   {80, 8.5, -3.0, 2.0, 2.5, 0.8}, {105, 5.0, -6.0, 1.5, 3.0, 0.6},
    {130, 6.5, -1.0, 3.0, 3.5, 1.0}, {100, 7.0, 0.0, 2.0, 2.5, 0.8}, {75, 6.0, -0.5, 1.5, 1.8, 0.6},
    {95, 5.5, -2.0, 2.5, 3.0, 0.8},  {120, 4.5, -1.0, 1.5, 2.0, 0.6}, {150, 6.0, -0.5, 2.0, 1.5, 0.6},
    {170, 5.0, -1.5, 2.5, 1.0, 1.0},
};

// Side branch 20..29 from station 8; its extended profile runs back to the left, below.
const Leg BranchLegs[] = {
    {10, 6.0, -1.0, 1.5, 2.0, 0.6},  {350, 7.0, -2.0, 1.2, 1.5, 0.5}, {20, 5.5, -0.5, 2.0, 2.5, 0.8},
    {45, 6.5, -3.5, 1.0, 1.5, 0.5},  {15, 7.5, -1.0, 2.5, 3.0, 0.8}, {340, 5.0, 0.0, 3.0, 3.5, 1.0},
    {320, 6.0, -1.5, 1.5, 2.0, 0.6}, {355, 4.5, -2.5, 1.2, 1.5, 0.5}, {25, 6.0, -0.5, 2.0, 2.0, 0.6},
    {5, 5.0, -1.0, 1.0, 1.2, 0.4},
};

constexpr double MarginMetres = 12.0;
const QColor Paper(0xFA, 0xF6, 0xEA);
const QColor Ink(0x30, 0x28, 0x20);
const QColor PassageFill(0xE6, 0xDC, 0xC4);

// A slightly unsteady line through the given points, as drawn by hand.
QPainterPath handDrawn(const QVector<QPointF> &points, quint32 seed, double wobble = 1.6)
{
    QRandomGenerator random(seed);
    QPainterPath path;
    for (int i = 0; i < points.size(); ++i) {
        const QPointF jitter((random.generateDouble() - 0.5) * wobble, (random.generateDouble() - 0.5) * wobble);
        if (i == 0)
            path.moveTo(points[i] + jitter);
        else {
            const QPointF previous = path.currentPosition();
            const QPointF target = points[i] + jitter;
            const QPointF middle = (previous + target) / 2
                                   + QPointF((random.generateDouble() - 0.5) * wobble * 2,
                                             (random.generateDouble() - 0.5) * wobble * 2);
            path.quadTo(middle, target);
        }
    }
    return path;
}

// A passage between two walls given from its start to its end: either its fill, or its walls and
// dashed survey line (all fills are drawn before any wall, so branches merge cleanly).
void drawPassage(QPainter &p, const QVector<QPointF> &wallA, const QVector<QPointF> &wallB,
                 const QVector<QPointF> &line, quint32 seed, bool fill)
{
    const QVector<QPointF> back(wallB.rbegin(), wallB.rend());
    if (fill) {
        QPainterPath outline = handDrawn(wallA, seed);
        outline.connectPath(handDrawn(back, seed + 1));
        outline.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(PassageFill);
        p.drawPath(outline);
        return;
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(handDrawn(wallA, seed));
    p.drawPath(handDrawn(back, seed + 1));
    p.setPen(QPen(QColor(0x80, 0x70, 0x60), 1, Qt::DashLine));
    p.drawPolyline(line.constData(), int(line.size()));
}

void drawScaleBar(QPainter &p, QPointF left, double pixelsPer10m)
{
    p.setPen(QPen(Ink, 2));
    QFont font(QStringLiteral("DejaVu Sans"), 11);
    p.setFont(font);
    for (int i = 0; i < 3; ++i) {
        const QRectF cell(left.x() + i * pixelsPer10m, left.y(), pixelsPer10m, 10);
        p.setBrush(i % 2 ? Qt::white : Ink);
        p.drawRect(cell);
    }
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i <= 3; ++i) {
        const double x = left.x() + i * pixelsPer10m;
        p.drawLine(QPointF(x, left.y() - 6), QPointF(x, left.y() + 16));
        p.drawText(QRectF(x - 30, left.y() + 18, 60, 20), Qt::AlignHCenter | Qt::AlignTop,
                   i == 3 ? QStringLiteral("30 м") : QString::number(i * 10));
    }
}

void drawStationMark(QPainter &p, QPointF at, const QString &label, QPointF labelOffset)
{
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(Qt::NoBrush);
    const QPolygonF triangle({at + QPointF(0, -5), at + QPointF(4.5, 3), at + QPointF(-4.5, 3)});
    p.drawPolygon(triangle);
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 9, -1, true));
    p.drawText(at + labelOffset, label);
}

} // namespace

ExampleCave::ExampleCave()
{
    auto addLegs = [this](const Point &from, const Leg *legs, int count, double developDirection) {
        Point p = from;
        for (int i = 0; i < count; ++i) {
            const Leg &leg = legs[i];
            p.east += leg.length * std::sin(qDegreesToRadians(leg.bearingDeg));
            p.north += leg.length * std::cos(qDegreesToRadians(leg.bearingDeg));
            p.up += leg.rise;
            p.developed += developDirection * leg.length;
            p.halfWidth = leg.halfWidth;
            p.roof = leg.roof;
            p.floor = leg.floor;
            p.label = QString::number(m_points.size() - (developDirection < 0 ? 1 : 0));
            m_points.append(p);
        }
    };
    m_points.append({0, 0, 0, 0, 2.5, 3.0, 0.8, QStringLiteral("0")});
    addLegs(m_points[0], MainLegs, int(std::size(MainLegs)), 1.0);
    m_points.last().branchEnd = true;
    // The branch starts again from station 8, named as it is so the data ties the two together.
    Point junction = m_points[8];
    junction.branchEnd = false;
    m_points.append(junction);
    addLegs(junction, BranchLegs, int(std::size(BranchLegs)), -1.0);

    double west = 1e9, east = -1e9, south = 1e9, north = -1e9, left = 1e9, right = -1e9, top = -1e9, bottom = 1e9;
    for (const Point &p : std::as_const(m_points)) {
        west = std::min(west, p.east);
        east = std::max(east, p.east);
        south = std::min(south, p.north);
        north = std::max(north, p.north);
        left = std::min(left, p.developed);
        right = std::max(right, p.developed);
        top = std::max(top, p.up + p.roof);
        bottom = std::min(bottom, p.up - p.floor);
    }
    // Sheet origins on whole 10 m so the scale bar and a 100-pixel grid share their lines.
    auto down10 = [](double v) { return std::floor(v / 10.0) * 10.0; };
    auto up10 = [](double v) { return std::ceil(v / 10.0) * 10.0; };
    m_planWest = down10(west - MarginMetres);
    m_planNorth = up10(north + MarginMetres + 10.0);
    m_planWidth = int((up10(east + MarginMetres) - m_planWest) / MetresPerPixel);
    m_planHeight = int((m_planNorth - down10(south - MarginMetres - 10.0)) / MetresPerPixel);
    m_profileLeft = down10(left - MarginMetres);
    m_profileTop = up10(top + MarginMetres);
    m_profileWidth = int((up10(right + MarginMetres) - m_profileLeft) / MetresPerPixel);
    m_profileHeight = int((m_profileTop - down10(bottom - MarginMetres - 10.0)) / MetresPerPixel);

    // The stations as clicked on the drawings: whole pixels at zoom 1, metres from the scale.
    for (const Point &p : std::as_const(m_points)) {
        Station s;
        const QPointF plan = planPixel(p);
        const QPointF profile = profilePixel(p);
        s.planX = float(plan.x());
        s.planY = float(plan.y());
        s.profileX = float(profile.x());
        s.profileY = float(profile.y());
        s.planXMetres = float(static_cast<long double>(plan.x()) * MetresPerPixel);
        s.planYMetres = float(static_cast<long double>(plan.y()) * MetresPerPixel);
        s.profileYMetres = float(static_cast<long double>(profile.y()) * MetresPerPixel);
        s.label = fittedLabel(p.label);
        s.branchEnd = p.branchEnd;
        // The passage as the survey noted it, to a decimetre: the drawing's walls follow it.
        const auto noted = [](double metres) { return std::round(metres * 10.0) / 10.0; };
        s.dimensions = {noted(p.halfWidth), noted(p.halfWidth), noted(p.roof), noted(p.floor)};
        m_stations.append(s);
    }
    m_stations[0].comment = fittedComment(QStringLiteral("вход"));
    m_stations[8].comment = fittedComment(QStringLiteral("развилка"));
    m_stations[19].comment = fittedComment(QStringLiteral("сифон"));
    m_stations[m_stations.size() - 1].comment = fittedComment(QStringLiteral("узость"));
}

// Where a sheet draws the cave: scale, north (degrees clockwise from the image's top), the
// point of the rotated cave at the image's top-left corner, and the image's size. Plan
// coordinates are east and north, profile ones developed length and height.
struct ExampleCave::Mapping
{
    bool plan = true;
    double metresPerPixel = 0.1;
    double northDeg = 0.0;
    double left = 0.0; // metres, in the rotated frame
    double top = 0.0;
    int width = 0;
    int height = 0;
    bool wholePixels = false; // as clicked at zoom 1

    QPointF pixel(double x, double y) const
    {
        const double t = qDegreesToRadians(northDeg);
        const double across = plan ? x * std::cos(t) + y * std::sin(t) : x;
        const double up = plan ? y * std::cos(t) - x * std::sin(t) : y;
        const QPointF at((across - left) / metresPerPixel, (top - up) / metresPerPixel);
        return wholePixels ? QPointF(std::round(at.x()), std::round(at.y())) : at;
    }
    QPointF of(const Point &p) const { return plan ? pixel(p.east, p.north) : pixel(p.developed, p.up); }
};

QPointF ExampleCave::planPixel(const Point &p) const
{
    return QPointF(std::round((p.east - m_planWest) / MetresPerPixel),
                   std::round((m_planNorth - p.north) / MetresPerPixel));
}

QPointF ExampleCave::profilePixel(const Point &p) const
{
    return QPointF(std::round((p.developed - m_profileLeft) / MetresPerPixel),
                   std::round((m_profileTop - p.up) / MetresPerPixel));
}

QImage ExampleCave::drawPlan(const Mapping &mapping, const QString &title) const
{
    QImage sheet(mapping.width, mapping.height, QImage::Format_RGB32);
    sheet.fill(Paper);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double pxPerMetre = 1.0 / mapping.metresPerPixel;
    const auto planPixel = [&](const Point &point) { return mapping.of(point); };

    // Walls of each branch: the survey line offset to both sides by the passage half width.
    // Fills first, walls after, and the side branch's walls only from its first own station, so
    // no wall line crosses the main passage at the junction.
    auto drawBranch = [&](int first, int last, quint32 seed, bool fill) {
        QVector<QPointF> leftWall, rightWall, line;
        for (int i = first; i <= last; ++i) {
            const Point &pt = m_points[i];
            const int a = std::max(first, i - 1), b = std::min(last, i + 1);
            const QPointF dir = planPixel(m_points[b]) - planPixel(m_points[a]);
            const double len = std::hypot(dir.x(), dir.y());
            const QPointF normal = len > 0 ? QPointF(-dir.y() / len, dir.x() / len) : QPointF(0, 1);
            const QPointF centre = planPixel(pt);
            leftWall.append(centre + normal * pt.halfWidth * pxPerMetre);
            rightWall.append(centre - normal * pt.halfWidth * pxPerMetre);
            line.append(centre);
        }
        drawPassage(p, leftWall, rightWall, line, seed, fill);
    };
    const int last = int(m_points.size()) - 1;
    drawBranch(20, last, 23, true);
    drawBranch(0, 19, 11, true);
    drawBranch(0, 19, 11, false);
    drawBranch(21, last, 23, false);

    for (int i = 0; i < m_points.size(); ++i) {
        if (i == 20)
            continue; // the junction is marked once, as station 8
        drawStationMark(p, planPixel(m_points[i]), m_points[i].label, QPointF(6, 14));
    }

    // Title, scale bar on whole 100-pixel lines, north arrow.
    p.setPen(Ink);
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 20, QFont::Bold));
    p.drawText(QPointF(100, 60), QStringLiteral("Пещера Учебная"));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 14));
    p.drawText(QPointF(100, 90), title);
    drawScaleBar(p, QPointF(100, mapping.height - 80), 10.0 * pxPerMetre);
    const QPointF arrow(mapping.width - 100, 140);
    // North as the sheet has it: turned by its north.
    p.translate(arrow);
    p.rotate(mapping.northDeg);
    p.translate(-arrow);
    p.setPen(QPen(Ink, 2));
    p.setBrush(Ink);
    p.drawPolygon(QPolygonF({arrow + QPointF(0, -60), arrow + QPointF(14, 10), arrow + QPointF(0, -5)}));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({arrow + QPointF(0, -60), arrow + QPointF(-14, 10), arrow + QPointF(0, -5)}));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 16, QFont::Bold));
    p.drawText(QRectF(arrow.x() - 20, arrow.y() - 95, 40, 30), Qt::AlignCenter, QStringLiteral("С"));
    p.end();
    return sheet;
}

QImage ExampleCave::planSheet() const
{
    Mapping mapping{true, MetresPerPixel, 0.0, m_planWest, m_planNorth, m_planWidth, m_planHeight, true};
    return drawPlan(mapping, QStringLiteral("План"));
}

QImage ExampleCave::drawProfile(const Mapping &mapping, const QString &title) const
{
    QImage sheet(mapping.width, mapping.height, QImage::Format_RGB32);
    sheet.fill(Paper);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double pxPerMetre = 1.0 / mapping.metresPerPixel;
    const auto profilePixel = [&](const Point &point) { return mapping.of(point); };

    auto drawBranch = [&](int first, int last, quint32 seed, bool fill) {
        QVector<QPointF> roof, floor, line;
        for (int i = first; i <= last; ++i) {
            const QPointF centre = profilePixel(m_points[i]);
            roof.append(centre - QPointF(0, m_points[i].roof * pxPerMetre));
            floor.append(centre + QPointF(0, m_points[i].floor * pxPerMetre));
            line.append(centre);
        }
        drawPassage(p, roof, floor, line, seed, fill);
    };
    const int last = int(m_points.size()) - 1;
    drawBranch(20, last, 43, true);
    drawBranch(0, 19, 31, true);
    drawBranch(0, 19, 31, false);
    drawBranch(21, last, 43, false);
    for (int i = 0; i < m_points.size(); ++i) {
        if (i == 20)
            continue;
        drawStationMark(p, profilePixel(m_points[i]), m_points[i].label, QPointF(6, -8));
    }
    // Entrance level mark.
    const QPointF entrance = profilePixel(m_points[0]);
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(entrance + QPointF(-60, -m_points[0].roof * pxPerMetre), entrance + QPointF(0, -m_points[0].roof * pxPerMetre));

    p.setPen(Ink);
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 20, QFont::Bold));
    p.drawText(QPointF(100, 60), QStringLiteral("Пещера Учебная"));
    p.setFont(QFont(QStringLiteral("DejaVu Serif"), 14));
    p.drawText(QPointF(100, 90), title);
    drawScaleBar(p, QPointF(100, mapping.height - 80), 10.0 * pxPerMetre);
    p.end();
    return sheet;
}

QImage ExampleCave::profileSheet() const
{
    Mapping mapping{false, MetresPerPixel, 0.0, m_profileLeft, m_profileTop, m_profileWidth, m_profileHeight, true};
    return drawProfile(mapping, QStringLiteral("Развёртка"));
}

ExampleCave::Sheets ExampleCave::overSeveralSheets() const
{
    // The cave as the single sheets' digitised stations have it: those metres are the truth here.
    QVector<Point> cave = m_points;
    for (int i = 0; i < cave.size(); ++i) {
        const Station &s = m_stations[i];
        // The single sheets' metres, back in the frame the drawing uses.
        cave[i].east = m_planWest + double(s.planXMetres);
        cave[i].north = m_planNorth - double(s.planYMetres);
        cave[i].developed = m_profileLeft + double(s.profileX) * MetresPerPixel;
        cave[i].up = m_profileTop - double(s.profileYMetres);
    }
    // Which stations each sheet carries (table indexes of the single sheets' order), its scale
    // and north. The side branch (20..30) lies on the second plan sheet and the first profile.
    struct Plan
    {
        bool plan;
        QString name;
        double metresPerPixel;
        double northDeg;
        QVector<int> points;
    };
    auto range = [](int first, int last) {
        QVector<int> points;
        for (int i = first; i <= last; ++i)
            points.append(i);
        return points;
    };
    const QVector<Plan> plans = {
        {true, QStringLiteral("Запад"), 0.1, 0.0, range(0, 6)},
        {true, QStringLiteral("Центр"), 0.05, 25.0, range(6, 13) + range(20, 30)},
        {true, QStringLiteral("Восток"), 0.08, -12.0, range(13, 19)},
        {false, QStringLiteral("Развёртка 1"), 0.1, 0.0, range(0, 10) + range(20, 30)},
        {false, QStringLiteral("Развёртка 2"), 0.05, 0.0, range(10, 19)},
    };
    Sheets result;
    QVector<Mapping> mappings;
    for (const Plan &plan : plans) {
        Mapping mapping{plan.plan, plan.metresPerPixel, plan.northDeg, 0, 0, 0, 0, false};
        double left = 1e9, right = -1e9, top = -1e9, bottom = 1e9;
        for (const int i : plan.points) {
            // Where the point lies in the sheet's turned frame, in metres.
            mapping.left = mapping.top = 0.0;
            const QPointF at = mapping.of(cave[i]) * plan.metresPerPixel;
            left = std::min(left, at.x());
            right = std::max(right, at.x());
            top = std::max(top, -at.y());
            bottom = std::min(bottom, -at.y());
        }
        mapping.left = std::floor((left - MarginMetres) / 10.0) * 10.0;
        mapping.top = std::ceil((top + MarginMetres + 10.0) / 10.0) * 10.0;
        mapping.width = int((std::ceil((right + MarginMetres) / 10.0) * 10.0 - mapping.left) / plan.metresPerPixel);
        mapping.height = int((mapping.top - std::floor((bottom - MarginMetres - 10.0) / 10.0) * 10.0) / plan.metresPerPixel);
        mappings.append(mapping);
        result.sheets.append({plan.plan, plan.name, plan.metresPerPixel, plan.northDeg,
                              plan.plan ? drawPlan(mapping, QStringLiteral("План, лист «%1»").arg(plan.name))
                                        : drawProfile(mapping, plan.name)});
    }
    // The traverses as digitised: each on one plan and one profile sheet, each but the first
    // starting at a station placed before (a tie); clicks at a quarter of a pixel.
    struct Traverse
    {
        QVector<int> points;
        int plan, profile;
    };
    const QVector<Traverse> traverses = {{range(0, 6), 0, 3},    {range(6, 10), 1, 3}, {range(10, 13), 1, 4},
                                         {range(13, 19), 2, 4},  {range(20, 30), 1, 3}};
    const auto quarter = [](double v) { return std::round(v * 4.0) / 4.0; };
    for (const Traverse &traverse : traverses) {
        for (int k = 0; k < traverse.points.size(); ++k) {
            const Point &p = cave[traverse.points[k]];
            const Mapping &plan = mappings[traverse.plan];
            const Mapping &profile = mappings[traverse.profile];
            const QPointF planAt = plan.of(p);
            const QPointF profileAt = profile.of(p);
            Station s = m_stations[traverse.points[k]];
            s.planX = float(quarter(planAt.x()));
            s.planY = float(quarter(planAt.y()));
            s.profileX = float(quarter(profileAt.x()));
            s.profileY = float(quarter(profileAt.y()));
            s.planXMetres = float(static_cast<long double>(s.planX) * plan.metresPerPixel);
            s.planYMetres = float(static_cast<long double>(s.planY) * plan.metresPerPixel);
            s.profileYMetres = float(static_cast<long double>(s.profileY) * profile.metresPerPixel);
            s.planSheet = traverse.plan;
            s.profileSheet = traverse.profile;
            s.branchEnd = k == traverse.points.size() - 1;
            if (k == 0 && !result.stations.isEmpty())
                s.comment.clear(); // the tie carries no comment twice
            result.stations.append(s);
        }
    }
    return result;
}
