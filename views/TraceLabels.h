#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Station labels as a series: A12, A13, A14; 7a, 7b; П3, П4; I23, I22, I21. Used to check the
// labels read from a drawing and to propose one where the reading is doubtful. Pure functions.
namespace TraceLabels {

// The label `steps` places after `label` in its series (before it when negative): the last number
// counts (keeping leading zeros: A09 -> A10), or a single letter after it (12a -> 12b, 5б -> 5в).
// Nothing where the series cannot go on (no number, below zero, past the alphabet).
std::optional<QString> stepped(const QString &label, int steps);

// Which way `to` follows `from`: +1 or -1 when it is the next or the previous label, else 0.
int direction(const QString &from, const QString &to);

// The label after `labels`, going the way their last two go (I23, I22 -> I21; one label counts
// up). Nothing when there is none.
std::optional<QString> next(const QStringList &labels);

// Lookalikes written as the series writes them: Latin and Cyrillic letters that print alike (A
// and А, P and Р ...) in the script the readings mostly use, and a digit read where most labels
// start with a letter that looks like it (574 among S75, S76) as that letter.
QStringList inOneScript(const QStringList &readings);

struct Reading
{
    QString text;      // as read, empty when nothing was
    double confidence; // 0..1
};

struct Settled
{
    QString label;
    bool forALook = false; // proposed, not read, or read but breaking the series
};

// A label for every station of a traverse, in order, from what was read beside their marks.
// Readings at least `trusted` sure that agree with a neighbour set the series and its direction;
// a station whose reading is doubtful or breaks the series gets the series' label for it instead,
// marked for a look. With nothing to go on, the readings stay as they are, all for a look.
std::vector<Settled> settle(const std::vector<Reading> &readings, double trusted = 0.75);

} // namespace TraceLabels
