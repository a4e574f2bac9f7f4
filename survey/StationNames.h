#pragma once

#include "survey/StationTable.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

// Whose rules a station name must follow. AsStored is the Lumaro layouts: labels as they are.
enum class NameRules { AsStored, Survex, Therion, Compass };

// The station names a data file writes, for every writer in one place. A station's stored name is
// its label, or its table index when it has none (as the from/to layouts have always written).
// A stored name the target reads as it is stays byte for byte; any other becomes a word of ASCII
// letters, digits, "_" and "-": Cyrillic letters transliterated (GOST 7.79-2000 system B, without
// its ` and ' marks), every other character "_". Equal stored names always give equal names, so
// branches tied by a repeated label stay tied; a changed name that would meet another station's
// name (compared without case, as Survex lowers them) gets "_2", "_3" ... instead.
//
// What a target reads as it is: Survex, letters, digits, "_" and "-"; Therion the same but not
// starting with "-"; Compass as Therion and at most 12 characters.
class StationNames
{
public:
    static constexpr int CompassLimit = 12;

    StationNames(const StationTable &stations, NameRules rules);

    QByteArray name(int index) const { return m_names.value(index); }
    QByteArray storedName(int index) const { return m_stored.value(index); }
    bool changed(int index) const { return m_names.value(index) != m_stored.value(index); }

    // The written name of the first station whose stored name is `stored` (decoded text), or an
    // empty array when no station has it.
    QByteArray nameOf(const QString &stored) const;

    // A word the target reads (for a survey's name): no collision check, never empty.
    static QByteArray word(const QString &text, NameRules rules);

    // A station's name as the from/to layouts write it: its label (on one line), or its table
    // index when it has none.
    static QByteArray stored(const Station &station, int index);
    // A Cyrillic letter's ASCII spelling by the table (Ъ and Ь have none); false for any other
    // character.
    static bool transliterate(QChar letter, QByteArray *latin);

private:
    QVector<QByteArray> m_stored;
    QVector<QByteArray> m_names;
    QHash<QByteArray, QByteArray> m_byStored;
};
