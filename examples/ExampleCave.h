#pragma once

#include "survey/Station.h"

#include <QImage>
#include <QString>
#include <QVector>

// A small made-up cave, "Пещера Учебная": a main passage of 20 stations and a side branch of
// 11 that leaves it at station 8. From one centreline it draws a plan and an extended profile as
// a hand-drawn survey sheet would show them, and gives the stations as a digitiser would have
// clicked them (whole source pixels at zoom 1) on both drawings.
class ExampleCave
{
public:
    static constexpr double MetresPerPixel = 0.1; // 10 m per 100-pixel grid cell on both sheets

    ExampleCave();

    QImage planSheet() const;
    QImage profileSheet() const;
    const QVector<Station> &stations() const { return m_stations; }

private:
    struct Point
    {
        double east, north, up;  // metres
        double developed;        // position along the extended profile, metres
        double halfWidth;        // passage half width on the plan, metres
        double roof, floor;      // passage height above / below the survey line, metres
        QString label;
        bool branchEnd = false;
    };

    QPointF planPixel(const Point &p) const;
    QPointF profilePixel(const Point &p) const;

    QVector<Point> m_points;
    QVector<Station> m_stations;
    double m_planWest = 0, m_planNorth = 0, m_profileLeft = 0, m_profileTop = 0;
    int m_planWidth = 0, m_planHeight = 0, m_profileWidth = 0, m_profileHeight = 0;
};
