#include "checks/SurveyNetwork.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The metres per pixel a point was placed with: its metres over its pixels, read from the
// coordinate furthest from the image's edge; -1 when every coordinate is too near 0 to tell.
double placedScale(std::initializer_list<std::pair<float, float>> pixelsAndMetres)
{
    double pixels = 0.0, metres = 0.0;
    for (const auto &[p, m] : pixelsAndMetres)
        if (std::isfinite(p) && std::isfinite(m) && std::fabs(p) > std::fabs(pixels)) {
            pixels = p;
            metres = m;
        }
    return std::fabs(pixels) >= 1.0 ? metres / pixels : -1.0;
}

bool differ(double a, double b)
{
    // Metres are stored as 32-bit reals: anything closer than a part in ten thousand is one scale.
    return a >= 0.0 && b >= 0.0 && std::fabs(a - b) > 1e-4 * std::max(a, b);
}

bool placedUnderTwoScales(const Station &from, const Station &to)
{
    return differ(placedScale({{from.planX, from.planXMetres}, {from.planY, from.planYMetres}}),
                  placedScale({{to.planX, to.planXMetres}, {to.planY, to.planYMetres}}))
        || differ(placedScale({{from.profileY, from.profileYMetres}}), placedScale({{to.profileY, to.profileYMetres}}));
}

constexpr double Radians = 3.14159265358979323846 / 180.0;

struct Edge
{
    int node;
    int leg;
};

// The walk's working state: one node per distinct name, the legs that placed a node or joined
// two pieces (a spanning forest, along which loops are measured), and the pieces as found.
class Walk
{
public:
    Walk(const StationTable &stations, SurveyNetwork &network) : m_stations(stations), m_net(network) {}

    void run();

private:
    void numberNames();
    int addNode(int entry, const NetworkPoint &at, int piece);
    void closeLoop(int legIndex, int from, int to, const NetworkPoint &reached);
    void join(int legIndex, int from, int to, const NetworkPoint &reached);
    void placeUntiedPieces();
    void findLikelyTies();
    void listRepeatedNames();

    const StationTable &m_stations;
    SurveyNetwork &m_net;
    QVector<int> m_nameOf;     // per table entry: entries with one name (as Survex matches) share it
    QVector<int> m_nodeOfName; // the node of each name, -1 until placed
    QVector<NetworkPoint> m_nodeAt;
    QVector<int> m_nodePiece;
    QVector<QVector<Edge>> m_edges;
    QVector<int> m_entryNode;
    QVector<SurveyPiece> m_pieces; // every piece started; a joined one points elsewhere
    QVector<int> m_pieceTarget;    // itself, or the piece it was joined to
    QVector<int> m_visited, m_previousNode, m_previousLeg; // for the path searches
    int m_stamp = 0;
};

NetworkPoint plus(const NetworkPoint &a, double east, double north, double up)
{
    return {a.east + east, a.north + north, a.up + up};
}

// Names are numbered by sorting them once, which costs less than hashing every one.
void Walk::numberNames()
{
    const int count = m_stations.count();
    QVector<QByteArray> keys(count);
    QVector<int> order(count);
    for (int i = 0; i < count; ++i) {
        keys[i] = SurveyLegs::stationKey(m_stations.at(i), i);
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    m_nameOf.resize(count);
    int names = 0;
    for (int k = 0; k < count; ++k) {
        if (k > 0 && keys[order[k]] != keys[order[k - 1]])
            ++names;
        m_nameOf[order[k]] = names;
    }
    m_nodeOfName.fill(-1, count);
}

int Walk::addNode(int entry, const NetworkPoint &at, int piece)
{
    const int node = int(m_nodeAt.size());
    m_nodeOfName[m_nameOf[entry]] = node;
    m_nodeAt.append(at);
    m_nodePiece.append(piece);
    m_edges.append(QVector<Edge>());
    m_visited.append(0);
    m_previousNode.append(-1);
    m_previousLeg.append(-1);
    return node;
}

// The loop runs back from `from` to `to` along the legs placed so far (the shortest way, in legs)
// and is closed by the leg that reached `to` again.
void Walk::closeLoop(int legIndex, int from, int to, const NetworkPoint &reached)
{
    SurveyLoop loop;
    loop.closingLeg = legIndex;
    const LegCheck &leg = m_net.legs[legIndex];
    loop.station = leg.to;
    loop.name = leg.toName;
    const NetworkPoint &placed = m_nodeAt[to];
    loop.dEast = reached.east - placed.east;
    loop.dNorth = reached.north - placed.north;
    loop.dUp = reached.up - placed.up;
    loop.misclosure = std::sqrt(loop.dEast * loop.dEast + loop.dNorth * loop.dNorth + loop.dUp * loop.dUp);

    ++m_stamp;
    QVector<int> queue{to};
    m_visited[to] = m_stamp;
    m_previousNode[to] = -1;
    for (int head = 0; head < queue.size() && m_visited[from] != m_stamp; ++head) {
        const int node = queue[head];
        for (const Edge &edge : m_edges[node]) {
            if (m_visited[edge.node] == m_stamp)
                continue;
            m_visited[edge.node] = m_stamp;
            m_previousNode[edge.node] = node;
            m_previousLeg[edge.node] = edge.leg;
            queue.append(edge.node);
        }
    }
    // From `from` back towards `to`: the legs in the order the loop is walked, ending at `from`.
    for (int node = from; node != to && m_visited[node] == m_stamp; node = m_previousNode[node])
        loop.legs.prepend(m_previousLeg[node]);
    loop.legs.append(legIndex);
    for (const int index : std::as_const(loop.legs))
        loop.length += m_net.legs[index].tape;
    loop.errorPercent = loop.length > 0.0 ? 100.0 * loop.misclosure / loop.length : 0.0;
    loop.flagged = loop.misclosure > m_net.settings.tolerance.allowed(loop.length);
    m_net.loops.append(loop);
}

// A leg from one piece to a station of another: the later piece moves so the two meet, and from
// then on they are one.
void Walk::join(int legIndex, int from, int to, const NetworkPoint &reached)
{
    const int fromPiece = m_nodePiece[from];
    const int toPiece = m_nodePiece[to];
    const int kept = std::min(fromPiece, toPiece);
    const int moved = std::max(fromPiece, toPiece);
    const NetworkPoint &placed = m_nodeAt[to];
    double east = placed.east - reached.east, north = placed.north - reached.north, up = placed.up - reached.up;
    if (moved == toPiece) {
        east = -east;
        north = -north;
        up = -up;
    }
    for (int node = 0; node < m_nodeAt.size(); ++node) {
        if (m_nodePiece[node] != moved)
            continue;
        m_nodeAt[node] = plus(m_nodeAt[node], east, north, up);
        m_nodePiece[node] = kept;
    }
    m_pieceTarget[moved] = kept;
    m_edges[from].append({to, legIndex});
    m_edges[to].append({from, legIndex});
}

void Walk::run()
{
    const int count = m_stations.count();
    numberNames();
    m_entryNode.fill(-1, count);
    for (QVector<int> *list : {&m_nodePiece, &m_visited, &m_previousNode, &m_previousLeg})
        list->reserve(count);
    m_nodeAt.reserve(count);
    m_edges.reserve(count);
    int nextLeg = 0;
    for (int i = 0; i < count; ++i) {
        const int known = m_nodeOfName[m_nameOf[i]];

        if (nextLeg < m_net.legs.size() && m_net.legs[nextLeg].to == i) {
            const int legIndex = nextLeg++;
            const LegCheck &leg = m_net.legs[legIndex];
            const int from = m_entryNode[i - 1];
            NetworkPoint reached = m_nodeAt[from];
            if (leg.computed) {
                const double bearing = leg.compass * Radians;
                reached = plus(reached, leg.planHorizontal * std::sin(bearing), leg.planHorizontal * std::cos(bearing),
                               leg.depthChange);
            }
            if (known < 0) {
                const int node = addNode(i, reached, m_nodePiece[from]);
                m_edges[from].append({node, legIndex});
                m_edges[node].append({from, legIndex});
                m_entryNode[i] = node;
            } else {
                if (m_nodePiece[known] == m_nodePiece[from])
                    closeLoop(legIndex, from, known, reached);
                else
                    join(legIndex, from, known, reached);
                m_entryNode[i] = known;
            }
            continue;
        }

        // Station 0, or the first station of a branch: tied where its name is already placed.
        if (known >= 0) {
            m_entryNode[i] = known;
            continue;
        }
        const int piece = int(m_pieces.size());
        SurveyPiece started;
        started.firstStation = i;
        started.firstName = SurveyLegs::stationName(m_stations.at(i), i);
        started.tied = piece == 0;
        m_pieces.append(started);
        m_pieceTarget.append(piece);
        m_entryNode[i] = addNode(i, NetworkPoint{}, piece);
    }

    placeUntiedPieces();

    // Pieces that remain, piece 0 first, numbered again in that order.
    QVector<int> finalIndex(m_pieces.size(), -1);
    for (int p = 0; p < m_pieces.size(); ++p) {
        if (m_pieceTarget[p] != p)
            continue;
        finalIndex[p] = int(m_net.pieces.size());
        m_net.pieces.append(m_pieces[p]);
    }
    for (int node = 0; node < m_nodeAt.size(); ++node)
        ++m_net.pieces[finalIndex[m_nodePiece[node]]].stationCount;
    m_net.positions.resize(count);
    m_net.pieceOf.resize(count);
    for (int i = 0; i < count; ++i) {
        m_net.positions[i] = m_nodeAt[m_entryNode[i]];
        m_net.pieceOf[i] = finalIndex[m_nodePiece[m_entryNode[i]]];
    }

    for (int l = 0; l < m_net.legs.size(); ++l) {
        const LegCheck &leg = m_net.legs[l];
        if (leg.zeroLength())
            m_net.zeroLengthLegs.append(l);
        if (placedUnderTwoScales(m_stations.at(leg.from), m_stations.at(leg.to)))
            m_net.mixedScaleLegs.append(l);
    }
    findLikelyTies();
    listRepeatedNames();
}

// Each piece not tied goes to the east of everything placed before it, a gap apart, its first
// station level with station 0.
void Walk::placeUntiedPieces()
{
    if (m_pieces.size() < 2)
        return;
    const double infinity = std::numeric_limits<double>::infinity();
    auto extent = [&](int piece, double *west, double *east) {
        *west = infinity;
        *east = -infinity;
        for (int node = 0; node < m_nodeAt.size(); ++node) {
            if (m_nodePiece[node] != piece || !std::isfinite(m_nodeAt[node].east))
                continue;
            *west = std::min(*west, m_nodeAt[node].east);
            *east = std::max(*east, m_nodeAt[node].east);
        }
    };
    double west = 0.0, east = 0.0;
    extent(0, &west, &east);
    if (!std::isfinite(east))
        west = east = 0.0;
    for (int p = 1; p < m_pieces.size(); ++p) {
        if (m_pieceTarget[p] != p)
            continue;
        double pieceWest = 0.0, pieceEast = 0.0;
        extent(p, &pieceWest, &pieceEast);
        if (!std::isfinite(pieceEast))
            continue;
        const double gap = std::max(10.0, 0.1 * (east - west));
        const double shift = east + gap - pieceWest;
        for (int node = 0; node < m_nodeAt.size(); ++node)
            if (m_nodePiece[node] == p)
                m_nodeAt[node].east += shift;
        east += gap + (pieceEast - pieceWest);
    }
}

// Near stations are found through a grid of TiePixels cells on the plan: a pair within reach
// lies in the same or a neighbouring cell.
void Walk::findLikelyTies()
{
    const int count = m_stations.count();
    const bool profile = m_net.settings.profileKind != ProfileKind::None;
    const double reach = SurveyNetwork::TiePixels;
    auto cell = [&](double value, qint64 *index) {
        const double c = std::floor(value / reach);
        if (!std::isfinite(c) || std::fabs(c) > 1e9)
            return false;
        *index = qint64(c);
        return true;
    };
    auto cellKey = [](qint64 x, qint64 y) { return (quint64(x) << 32) ^ quint64(quint32(y)); };

    // Node pairs joined by a leg, and the stations by cell, as sorted lists.
    QVector<quint64> joined;
    joined.reserve(m_net.legs.size());
    auto pairKey = [](int a, int b) { return (quint64(quint32(std::min(a, b))) << 32) | quint32(std::max(a, b)); };
    for (const LegCheck &leg : std::as_const(m_net.legs))
        joined.append(pairKey(m_entryNode[leg.from], m_entryNode[leg.to]));
    std::sort(joined.begin(), joined.end());
    auto isJoined = [&](quint64 key) { return std::binary_search(joined.begin(), joined.end(), key); };

    struct Placed
    {
        quint64 cell;
        int entry;
        bool operator<(const Placed &o) const { return cell != o.cell ? cell < o.cell : entry < o.entry; }
    };
    QVector<Placed> cells;
    cells.reserve(count);
    for (int i = 0; i < count; ++i) {
        const Station &s = m_stations.at(i);
        qint64 x = 0, y = 0;
        if (cell(s.planX, &x) && cell(s.planY, &y))
            cells.append({cellKey(x, y), i});
    }
    std::sort(cells.begin(), cells.end());

    QVector<quint64> reported;
    for (const Placed &here : std::as_const(cells)) {
        const int i = here.entry;
        const Station &s = m_stations.at(i);
        qint64 x = 0, y = 0;
        cell(s.planX, &x);
        cell(s.planY, &y);
        for (qint64 dx = -1; dx <= 1; ++dx) {
            for (qint64 dy = -1; dy <= 1; ++dy) {
                const quint64 key = cellKey(x + dx, y + dy);
                auto it = std::lower_bound(cells.cbegin(), cells.cend(), Placed{key, -1});
                for (; it != cells.cend() && it->cell == key; ++it) {
                    const int j = it->entry;
                    const int a = m_entryNode[i], b = m_entryNode[j];
                    if (j <= i || a == b || isJoined(pairKey(a, b)) || reported.contains(pairKey(a, b)))
                        continue;
                    const Station &t = m_stations.at(j);
                    if (t.planSheet != s.planSheet || t.profileSheet != s.profileSheet)
                        continue; // pixels of two sheets are not one place
                    if (std::hypot(double(t.planX) - s.planX, double(t.planY) - s.planY) > reach)
                        continue;
                    if (profile && !(std::hypot(double(t.profileX) - s.profileX, double(t.profileY) - s.profileY) <= reach))
                        continue;
                    reported.append(pairKey(a, b));
                    m_net.likelyTies.append({i, j, SurveyLegs::stationName(s, i), SurveyLegs::stationName(t, j)});
                }
            }
        }
    }
    std::sort(m_net.likelyTies.begin(), m_net.likelyTies.end(), [](const LikelyTie &l, const LikelyTie &r) {
        return l.first != r.first ? l.first < r.first : l.second < r.second;
    });
}

void Walk::listRepeatedNames()
{
    QVector<QVector<int>> entries(m_nodeAt.size());
    for (int i = 0; i < m_entryNode.size(); ++i)
        entries[m_entryNode[i]].append(i);
    QVector<int> order; // nodes by their first entry
    for (int i = 0; i < m_entryNode.size(); ++i)
        if (entries[m_entryNode[i]].first() == i && entries[m_entryNode[i]].size() > 1)
            order.append(m_entryNode[i]);
    for (const int node : std::as_const(order)) {
        const int first = entries[node].first();
        const QString name = SurveyLegs::stationName(m_stations.at(first), first);
        m_net.repeated.append({name, entries[node]});
        const Station &placed = m_stations.at(first);
        for (const int entry : std::as_const(entries[node])) {
            const Station &again = m_stations.at(entry);
            SheetTie tie{name, first, entry, again.planSheet != placed.planSheet,
                         again.profileSheet != placed.profileSheet, -1};
            if (!tie.acrossPlans && !tie.acrossProfiles)
                continue;
            for (int l = 0; l < m_net.loops.size() && tie.loop < 0; ++l)
                if (m_net.loops[l].station == entry)
                    tie.loop = l;
            m_net.sheetTies.append(tie);
        }
    }
}

} // namespace

SurveyNetwork SurveyNetwork::build(const StationTable &stations, const CheckSettings &settings)
{
    SurveyNetwork network;
    network.settings = settings;
    network.legs = SurveyLegs::check(stations, settings);
    Walk(stations, network).run();
    return network;
}

int SurveyNetwork::flaggedLegCount() const
{
    return int(std::count_if(legs.begin(), legs.end(), [](const LegCheck &leg) { return leg.flagged; }));
}

int SurveyNetwork::flaggedLoopCount() const
{
    return int(std::count_if(loops.begin(), loops.end(), [](const SurveyLoop &loop) { return loop.flagged; }));
}

int SurveyNetwork::untiedPieceCount() const
{
    return int(std::count_if(pieces.begin(), pieces.end(), [](const SurveyPiece &piece) { return !piece.tied; }));
}

bool SurveyNetwork::anythingFlagged() const
{
    const bool broken = std::any_of(legs.begin(), legs.end(), [](const LegCheck &leg) { return !leg.computed; });
    return broken || flaggedLegCount() > 0 || flaggedLoopCount() > 0 || !zeroLengthLegs.isEmpty()
           || !mixedScaleLegs.isEmpty() || untiedPieceCount() > 0 || !likelyTies.isEmpty();
}
