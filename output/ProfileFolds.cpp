#include "output/ProfileFolds.h"

#include "survey/AnsiText.h"

#include <QHash>
#include <cmath>
#include <numeric>

namespace {

std::optional<ProfileSide> drawnSide(const Station &from, const Station &to)
{
    if (from.profileSheet != to.profileSheet)
        return std::nullopt;
    const double run = double(to.profileX) - double(from.profileX);
    if (!std::isfinite(run) || std::fabs(run) < ProfileFolds::UprightPixels)
        return std::nullopt;
    return run > 0.0 ? ProfileSide::Right : ProfileSide::Left;
}

// Which stations the loops so far have joined.
class Pieces
{
public:
    explicit Pieces(int count) : m_parent(count) { std::iota(m_parent.begin(), m_parent.end(), 0); }
    int find(int node)
    {
        while (m_parent[node] != node)
            node = m_parent[node] = m_parent[m_parent[node]];
        return node;
    }
    bool join(int a, int b) // false when they were joined already
    {
        a = find(a);
        b = find(b);
        if (a == b)
            return false;
        m_parent[b] = a;
        return true;
    }

private:
    QVector<int> m_parent;
};

} // namespace

bool ProfileFolds::needsTelling() const
{
    for (const FoldedLeg &leg : legs)
        if (leg.turns() || leg.closesLoop)
            return true;
    return false;
}

ProfileFolds ProfileFolds::of(const StationTable &stations, const StationNames &names, NameRules rules,
                              const QString &entrance)
{
    ProfileFolds folds;
    const int count = stations.count();
    if (count == 0)
        return folds;

    // One node per station name, numbered in the order the table first gives them.
    QVector<int> node(count);
    QHash<QByteArray, int> byName;
    for (int i = 0; i < count; ++i) {
        const QByteArray name = rules == NameRules::Survex ? names.name(i).toLower() : names.name(i);
        node[i] = int(byName.insert(name, byName.value(name, int(byName.size()))).value());
    }
    const int nodes = int(byName.size());

    // The legs in table order; one that joins stations joined already closes a loop at its end.
    Pieces pieces(nodes);
    QVector<QVector<int>> legsAt(nodes); // the tree's legs at each node, by index into folds.legs
    for (int i = 1; i < count; ++i) {
        if (!stations.hasLegBefore(i) || node[i - 1] == node[i])
            continue; // a station repeated after itself makes no leg to lay out
        FoldedLeg leg;
        leg.from = i - 1;
        leg.to = i;
        leg.closesLoop = !pieces.join(node[i - 1], node[i]);
        if (!leg.closesLoop) {
            legsAt[node[i - 1]].append(int(folds.legs.size()));
            legsAt[node[i]].append(int(folds.legs.size()));
        }
        folds.legs.append(leg);
    }

    folds.start = 0;
    const QByteArray entranceName = AnsiText::encode(entrance);
    for (int i = 0; i < count && !entrance.isEmpty(); ++i) {
        if (names.storedName(i) == entranceName) {
            folds.start = i;
            break;
        }
    }

    // The walk: the side each node passes on, from the start and then from every piece it missed.
    QVector<std::optional<ProfileSide>> sideAt(nodes);
    QVector<int> stack;
    for (int first = -1; first < count; ++first) {
        const int root = node[first < 0 ? folds.start : first];
        if (sideAt[root])
            continue;
        sideAt[root] = ProfileSide::Right;
        stack.append(root);
        while (!stack.isEmpty()) {
            const int at = stack.takeLast();
            for (const int index : legsAt[at]) {
                FoldedLeg &leg = folds.legs[index];
                const int next = node[leg.from] == at ? node[leg.to] : node[leg.from];
                if (sideAt[next])
                    continue; // the leg back to where the walk came from
                if (node[leg.from] != at)
                    std::swap(leg.from, leg.to);
                leg.drawn = drawnSide(stations.at(leg.from), stations.at(leg.to));
                leg.inherited = *sideAt[at];
                sideAt[next] = leg.drawn.value_or(leg.inherited);
                stack.append(next);
            }
        }
    }
    for (FoldedLeg &leg : folds.legs) {
        if (!leg.closesLoop)
            continue;
        leg.drawn = drawnSide(stations.at(leg.from), stations.at(leg.to));
        leg.inherited = sideAt[node[leg.from]].value_or(ProfileSide::Right);
    }
    return folds;
}
