#pragma once

#include "survey/StationNames.h"
#include "survey/StationTable.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

// Which way a leg runs on the extended profile drawing, seen from the end it is walked from.
enum class ProfileSide { Left, Right };

// One leg as an extended elevation walks it: from the end it reaches first to the other.
struct FoldedLeg
{
    int from = -1; // table indexes of the leg's two stations, in walking order
    int to = -1;
    // The side `to` is drawn on from `from`: none when the drawing gives none (the two stations
    // upright above each other, or on two profile sheets, whose x say nothing of each other).
    std::optional<ProfileSide> drawn;
    ProfileSide inherited = ProfileSide::Right; // what the walk carries into the leg
    // The leg closes a loop at `to`, a station the walk has reached already: the drawing shows
    // that station again at the leg's end, and so must the elevation.
    bool closesLoop = false;

    bool turns() const { return drawn && *drawn != inherited; }
};

// How the extended profile folds the survey, as Survex's extend and Therion lay out an extended
// elevation: a walk from a start station, each leg continuing the way the last one went unless
// told otherwise (both programs start going right), loops broken where told. The walk here is the
// drawing's: it follows every leg from the start, and a leg that meets a station the walk has
// reached already is where the drawing shows that station a second time, the caver having placed
// it again to close the loop. Tie names are the stations: equal names are one station, as the
// writers' readers see them. Stations on pieces the start does not reach start walks of their
// own, from the first of each in the table.
struct ProfileFolds
{
    int start = -1;          // table index where the walk starts; -1: no stations
    QVector<FoldedLeg> legs; // every leg that joins two stations, in the order of the table

    // A leg turns or closes a loop: a reader left to itself lays the survey out otherwise.
    bool needsTelling() const;

    // The folds of the stations (the names as the file writes them; Survex matches them without
    // case), starting at the first station whose stored name is `entrance`, else at the first.
    static ProfileFolds of(const StationTable &stations, const StationNames &names, NameRules rules,
                           const QString &entrance);

    // Half a source pixel: a leg drawn closer to upright than a click can tell has no side.
    static constexpr double UprightPixels = 0.5;
};
