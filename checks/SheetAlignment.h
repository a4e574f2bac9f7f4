#pragma once

#include "survey/Survey.h"

#include <QString>
#include <QVector>

// A station a sheet shares with the sheets already calibrated: where the sheet draws it, in its
// source pixels, and where the other sheets put it, in metres. After a fit, how far the fitted
// sheet puts it from there.
struct AlignmentTie
{
    QString name;
    int entry = -1;          // the table entry placed on the sheet being fitted; -1 when not from a table
    double x = 0.0, y = 0.0; // source pixels on that sheet (y down)
    double east = 0.0, north = 0.0, up = 0.0; // metres, as the other sheets put it
    double residualMetres = 0.0;
    double residualPixels = 0.0;
};

// A sheet's north and scale found from the stations it shares with others, by least squares:
// on a plan the turn and scale that best lay its points on theirs (a 2-D similarity), on a profile
// the scale and offset that best match their depths (only the vertical: an extended profile's
// run is no distance on the ground). Exact when the points are.
//
// The window offers it once a sheet shares two or more stations with sheets already calibrated:
// `of()` for the sheet, then the sheet's north entry (NumberText::fromDouble(northDeg)) and, when
// the scale was fitted, its scale, with the stations' metres recalculated, as one step.
struct SheetAlignment
{
    SheetId sheet = PlanSheet;
    SheetKind kind = SheetKind::Plan;
    bool fitted = false;
    QString problem;   // why there is no fit, for the user
    double northDeg = 0.0;       // a plan: north clockwise from the image's top, 0 <= north < 360
    double metresPerPixel = 0.0; // fitted, or the one given
    QVector<AlignmentTie> ties;  // with their residuals once fitted
    double worstPixels = 0.0;    // the largest residual, pixels
    double worstMetres = 0.0;
    // How far the north (degrees) and the scale (per cent) could be off when each point is off
    // by one pixel, independently: how well the ties' spread pins them down.
    double northPerPixelDeg = 0.0;
    double scalePerPixelPercent = 0.0;

    // Whether the ties pin north down better than a north arrow this many pixels long does (its
    // two ends a pixel off), and the scale better than a bar this long: where they do not (two
    // ties a short way apart), the arrow and the bar are the better measure.
    bool northBetterThanArrow(double arrowPixels) const;
    bool scaleBetterThanBar(double barPixels) const;

    // The fits themselves. knownMetresPerPixel > 0 holds the scale and fits the rest (a plan:
    // north alone); 0 fits the scale too.
    static SheetAlignment fitPlan(QVector<AlignmentTie> ties, double knownMetresPerPixel = 0.0);
    static SheetAlignment fitProfile(QVector<AlignmentTie> ties, double knownMetresPerPixel = 0.0);

    // A sheet of a survey against another: the sheet of the same kind, with a scale, that shares
    // most stations with it (by name), each placed where that sheet's own scale and north put it.
    // With fitScale false the sheet's own scale is kept.
    static SheetAlignment of(const Survey &survey, SheetId sheet, bool fitScale);
};
