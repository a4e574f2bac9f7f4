#pragma once

#include "survey/NumberText.h"

#include <QString>
#include <optional>

// An angle as the caver typed it (a plan's north, a projected profile's azimuth): the text, kept
// for its box, the project file and recovery, and the degrees it gives, read from the text here
// and nowhere else. A text that is not a finite number gives none.
class TypedDegrees
{
public:
    TypedDegrees() = default;
    explicit TypedDegrees(const QString &typed) : m_text(typed)
    {
        double value = 0.0;
        if (NumberText::tryToDouble(typed, &value))
            m_degrees = value;
        else
            m_degrees.reset();
    }
    // As its box shows a number: 15 significant digits, read back from that text.
    static TypedDegrees of(double degrees) { return TypedDegrees(NumberText::fromDouble(degrees)); }

    const QString &text() const { return m_text; }
    bool isNumber() const { return m_degrees.has_value(); }
    const std::optional<double> &degrees() const { return m_degrees; }
    // The degrees where a survey must have them: a text that is no number stops it with the
    // message every entry box gives.
    double required() const
    {
        return m_degrees ? *m_degrees : NumberText::toDouble(m_text); // the latter throws
    }

    // The text decides; the degrees follow from it.
    bool operator==(const TypedDegrees &other) const { return m_text == other.m_text; }
    bool operator!=(const TypedDegrees &other) const { return !(*this == other); }

private:
    QString m_text = QStringLiteral("0");
    std::optional<double> m_degrees = 0.0;
};
