#pragma once

#include "TraceLabels.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

// Reading the label printed beside a station mark (A12, 12a, П3: Latin and Cyrillic letters and
// digits) with Tesseract's English and Russian models. Only a window of the scan around the mark
// is read. Loading the models takes a moment, so a reader is made once and kept; it is not to be
// shared between threads (make one a thread).
class LabelReader
{
public:
    LabelReader();
    ~LabelReader();
    LabelReader(const LabelReader &) = delete;
    LabelReader &operator=(const LabelReader &) = delete;

    // False when Tesseract or its models could not be loaded: nothing is read then.
    bool ready() const;

    struct Reading
    {
        QString text;            // empty when no label was found or read
        double confidence = 0.0; // 0..1
        QRect box;               // where the label is, in scan pixels (empty when none)
    };

    // The label nearest the mark at `centre` (drawn `markRadius` across its half), set apart from
    // the mark, the lines through it and the stipple about.
    Reading read(const QImage &scan, QPointF centre, double markRadius);

    // The labels of a traverse's marks, in order, checked against their series: doubtful
    // readings become proposals marked for a look (TraceLabels::settle).
    std::vector<TraceLabels::Settled> readTraverse(const QImage &scan, const std::vector<QPointF> &centres,
                                                   const std::vector<double> &markRadii);

private:
    struct Engine;
    std::unique_ptr<Engine> m_engine;
};
