#include "survey/StationTable.h"

bool StationTable::canStartBranch() const
{
    const int n = count();
    return n > 0 && !at(n - 1).branchEnd && (n < 2 || !at(n - 2).branchEnd);
}

void StationTable::appendPending()
{
    if (!hasPending())
        return;
    m_stations.push_back(m_pending);
    m_pending = Station{};
}

void StationTable::assign(std::vector<Station> stations)
{
    if (stations.size() > size_t(TableSize))
        stations.resize(size_t(TableSize));
    m_stations = std::move(stations);
    m_pending = Station{};
}

void StationTable::clear()
{
    m_stations.clear();
    m_pending = Station{};
}

void StationTable::retractLast()
{
    if (m_stations.empty())
        return;
    m_pending = m_stations.back();
    m_stations.pop_back();
}

void StationTable::insert(int index, const Station &station)
{
    if (index < 0 || index > count() || count() >= TableSize)
        return;
    m_stations.insert(m_stations.begin() + index, station);
}

void StationTable::remove(int index)
{
    if (contains(index))
        m_stations.erase(m_stations.begin() + index);
}
