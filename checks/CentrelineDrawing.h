#pragma once

#include "checks/SurveyNetwork.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QVector>

class QPainter;

// How the centreline is looked at: an orthographic projection turned to face a compass
// direction and tilted between level (an elevation) and straight down (the plan), scaled and
// placed in the widget. `centre` (a point of the survey) appears at `origin` (widget pixels).
struct CentrelineCamera
{
    double facingDeg = 0.0; // the compass direction the viewer looks towards
    double tiltDeg = 90.0;  // 90 looks straight down, 0 looks level
    double pixelsPerMetre = 10.0;
    QPointF origin;
    NetworkPoint centre;

    static CentrelineCamera plan();        // north up, east right
    static CentrelineCamera northFacing(); // looking north: east right, up up
    static CentrelineCamera eastFacing();  // looking east: south right, up up

    QPointF project(const NetworkPoint &point) const;
    // Turns by a drag: facing by dFacing degrees, tilt by dTilt, kept between level and down.
    void rotate(double dFacing, double dTilt);
    // Scales by factor about a widget point, which keeps showing the same place.
    void zoomAt(const QPointF &at, double factor);
    // The whole of `points` inside `area` (widget pixels), centred there.
    void fit(const QVector<NetworkPoint> &points, const QRectF &area);
};

// What the 3D view draws: stations, legs between them, the heights they span and the legs to
// highlight. Made from a network, so it shows the positions the check computed.
struct CentrelineScene
{
    enum LegMark : unsigned char { Plain = 0, InMisclosedLoop = 1, Disagrees = 2 };

    QVector<NetworkPoint> stations; // per table entry
    QVector<QString> labels;        // per table entry
    QVector<int> legFrom, legTo;    // table entries
    QVector<unsigned char> legMark;
    double lowest = 0.0, highest = 0.0;
    // The passage where stations have dimensions: per table entry, the points on the left and
    // right walls (across the mean plan direction of its legs), the roof and the floor; a point
    // not known (no value, or one below zero) is not drawn, nor is anything joined to it.
    enum Wall { Left = 0, Right = 1, Up = 2, Down = 3 };
    struct WallPoints
    {
        NetworkPoint at[4];
        bool known[4] = {false, false, false, false};
    };
    QVector<WallPoints> walls; // empty when no station has dimensions

    static CentrelineScene of(const SurveyNetwork &network);
    bool hasDisagreement() const;
    bool hasMisclosedLoop() const;
};

namespace CentrelinePainter {

extern const QColor Background;

extern const QColor LoopColour;

extern const QColor WallColour; // the passage's outline

// Where the stations may go in a picture of that size: clear of the legend, the key and the
// scale bar.
QRectF drawingArea(const QSize &size);

// The scene on a painter covering `size`, with a height legend, the highlight key, a scale bar
// and the directions; labels beside the stations when asked.
void paint(QPainter &painter, const CentrelineScene &scene, const CentrelineCamera &camera, const QSize &size,
           bool labels);

// Height colour: 0 the lowest (blue) .. 1 the highest (red).
QColor heightColour(double fraction);

} // namespace CentrelinePainter
