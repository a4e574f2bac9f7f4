#pragma once

#include "survey/Station.h"

#include <vector>

// The station table: the stations added so far, in the order they were digitised, and the
// pending entry that holds the station being placed. It has room for TableSize entries, the
// pending one included, so Add stops at MaxAdded stations; a project may fill all TableSize,
// and then there is no pending entry.
//
// This is the only place that knows how stations make legs and branches: a leg joins station
// i-1 to station i unless i-1 ends a branch. The views, the survey text and the export ask here.
class StationTable
{
public:
    static constexpr int TableSize = Limits::StationTableSize;
    static constexpr int MaxAdded = Limits::MaxStations;

    int count() const { return int(m_stations.size()); }
    bool isEmpty() const { return m_stations.empty(); }
    const Station &at(int index) const { return m_stations[size_t(index)]; }
    Station &at(int index) { return m_stations[size_t(index)]; }
    bool contains(int index) const { return index >= 0 && index < count(); }
    const Station *data() const { return m_stations.data(); }

    // The pending entry exists while the table has room for it.
    bool hasPending() const { return count() < TableSize; }
    const Station &pending() const { return m_pending; }
    Station &pending() { return m_pending; } // only while hasPending()

    // The branch rule.
    bool hasLegBefore(int index) const { return index > 0 && index <= count() && !at(index - 1).branchEnd; }
    // "New branch" may be offered for the next station: after any station except the first, the
    // last of a branch, and the one that itself started a branch.
    bool canStartBranch() const;

    // The pending entry becomes the last station; a new, empty pending entry follows.
    void appendPending();
    // The last station becomes the pending entry again (what appendPending undoes).
    void retractLast();
    // A station put in at index (0 .. count()), the later ones moving up; and taken out.
    void insert(int index, const Station &station);
    void remove(int index);
    // Replaces every station; the pending entry starts empty. More than TableSize are cut off.
    void assign(std::vector<Station> stations);
    // No stations and an empty pending entry.
    void clear();

private:
    std::vector<Station> m_stations;
    Station m_pending{};
};
