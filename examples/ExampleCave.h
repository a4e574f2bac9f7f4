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

    // The same cave drawn over three plan sheets and two profile sheets, each at a scale and a
    // north of its own, and digitised on them: traverses go from sheet to sheet through ties
    // (the boundary station placed again on the next sheet to start a branch). The cave is the
    // one the single sheets give once digitised, so both surveys agree to the centimetre.
    struct Sheet
    {
        bool plan = true;
        QString name;
        double metresPerPixel = 0.1;
        double northDeg = 0.0;
        QImage image;
    };
    struct Sheets
    {
        QVector<Sheet> sheets;       // the plan sheets first
        QVector<Station> stations;   // planSheet and profileSheet index `sheets`
    };
    Sheets overSeveralSheets() const;

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
    // Where a drawing puts a point, and the picture of the whole cave as it draws it.
    struct Mapping;
    QImage drawPlan(const Mapping &mapping, const QString &title) const;
    QImage drawProfile(const Mapping &mapping, const QString &title) const;

    QVector<Point> m_points;
    QVector<Station> m_stations;
    double m_planWest = 0, m_planNorth = 0, m_profileLeft = 0, m_profileTop = 0;
    int m_planWidth = 0, m_planHeight = 0, m_profileWidth = 0, m_profileHeight = 0;
};
