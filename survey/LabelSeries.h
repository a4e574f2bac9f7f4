#pragma once

#include <QString>

class StationTable;

// The series station labels run in ("A12", "A13" ...; "9a", "9b"; "I23", "I22" ...), so the next
// label can be proposed and a station costs two clicks and a key.
namespace LabelSeries {

// The label after `label`: its trailing number plus one ("A9" -> "A10"), or its letter after a
// number stepped on ("9a" -> "9b"); empty when it has neither.
QString next(const QString &label);
// The label before it ("A10" -> "A9"); empty when the number would go below 0 or there is none.
QString previous(const QString &label);

// What to propose for the next station of the table: the step after its last labelled station, in
// the direction its traverse runs (down when the station before it has the next label), skipping
// every label a station already has; empty when nothing can be proposed.
QString proposed(const StationTable &table);

} // namespace LabelSeries
