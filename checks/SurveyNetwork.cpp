#include "checks/SurveyNetwork.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <map>
#include <optional>

namespace {

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
    double allowedMisclosure(const SurveyLoop &loop, int to) const;
    void placeAsDrawn(int piece, const QVector<int> &nodes);
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
    loop.allowed = allowedMisclosure(loop, to);
    loop.flagged = loop.misclosure > loop.allowed;
    // Two legs between one pair of stations: the shortest way back is the one leg already there.
    if (loop.legs.size() == 2)
        m_net.repeatedLegs.append(loop);
    else
        m_net.loops.append(loop);
}

// What a loop may miss by. Around it the position of each station carries over from leg to leg
// except where a leg goes on from another table entry of the station: there the two placements
// of one station meet, each with its clicks' error on the plan and on the profile.
double Walk::allowedMisclosure(const SurveyLoop &loop, int to) const
{
    const CheckSettings &settings = m_net.settings;
    const LegTolerance &tolerance = settings.tolerance;
    if (tolerance.fromDrawing()) {
        double sum = 0.0;
        bool known = true;
        auto addPlacements = [&](int a, int b) {
            for (const int entry : {a, b}) {
                const Station &station = m_stations.at(entry);
                const double plan = settings.planScaleAt(station);
                const double profile = settings.profileScaleAt(station);
                known = known && plan >= 0.0 && profile >= 0.0;
                sum += plan * plan + profile * profile;
            }
        };
        int node = to;
        int arriving = m_net.legs[loop.closingLeg].to;
        for (const int index : loop.legs) {
            const LegCheck &leg = m_net.legs[index];
            const bool forward = m_entryNode[leg.from] == node;
            const int departing = forward ? leg.from : leg.to;
            if (departing != arriving)
                addPlacements(arriving, departing);
            arriving = forward ? leg.to : leg.from;
            node = m_entryNode[arriving];
        }
        if (known && std::isfinite(sum))
            return tolerance.pixels * std::sqrt(sum);
    }
    return tolerance.allowed(loop.length);
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

// A piece not tied stands where the drawings put it beside the first piece, when its first
// station and station 0 lie on the same sheets; otherwise east of everything placed before it,
// a gap apart, its first station level with station 0.
void Walk::placeUntiedPieces()
{
    if (m_pieces.size() < 2)
        return;
    // Each piece's nodes, gathered once: a survey of many one-station pieces stays linear.
    QVector<QVector<int>> nodesOf(m_pieces.size());
    for (int node = 0; node < m_nodeAt.size(); ++node)
        if (m_nodePiece[node] >= 0 && m_nodePiece[node] < nodesOf.size())
            nodesOf[m_nodePiece[node]].append(node);
    const double infinity = std::numeric_limits<double>::infinity();
    auto extent = [&](int piece, double *west, double *east) {
        *west = infinity;
        *east = -infinity;
        for (const int node : std::as_const(nodesOf[piece])) {
            if (!std::isfinite(m_nodeAt[node].east))
                continue;
            *west = std::min(*west, m_nodeAt[node].east);
            *east = std::max(*east, m_nodeAt[node].east);
        }
    };
    for (int p = 1; p < m_pieces.size(); ++p)
        if (m_pieceTarget[p] == p)
            placeAsDrawn(p, nodesOf[p]);
    double west = 0.0, east = 0.0;
    extent(0, &west, &east);
    if (!std::isfinite(east))
        west = east = 0.0;
    for (int p = 1; p < m_pieces.size(); ++p) {
        if (m_pieceTarget[p] != p || m_pieces[p].asDrawn)
            continue;
        double pieceWest = 0.0, pieceEast = 0.0;
        extent(p, &pieceWest, &pieceEast);
        if (!std::isfinite(pieceEast))
            continue;
        const double gap = std::max(10.0, 0.1 * (east - west));
        const double shift = east + gap - pieceWest;
        for (const int node : std::as_const(nodesOf[p]))
            m_nodeAt[node].east += shift;
        east += gap + (pieceEast - pieceWest);
    }
}

void Walk::placeAsDrawn(int piece, const QVector<int> &nodes)
{
    const Station &origin = m_stations.at(m_pieces[0].firstStation);
    const int firstEntry = m_pieces[piece].firstStation;
    const Station &first = m_stations.at(firstEntry);
    const bool profile = m_net.settings.profileKind != ProfileKind::None;
    if (first.planSheet != origin.planSheet || (profile && first.profileSheet != origin.profileSheet))
        return;
    // The image bearing from station 0 to the piece's first station, clockwise from the top edge
    // (image y runs down), turned back by the sheet's north.
    const double dx = double(first.planXMetres) - double(origin.planXMetres);
    const double dy = double(first.planYMetres) - double(origin.planYMetres);
    const double compass = (std::atan2(dx, -dy) / Radians - m_net.settings.planOrientation.of(origin.planSheet)) * Radians;
    const double horizontal = std::hypot(dx, dy);
    // Depths come from the stored metres, as the legs take them, with or without a profile.
    const double rise = double(origin.profileYMetres) - double(first.profileYMetres);
    const NetworkPoint &from = m_nodeAt[m_entryNode[m_pieces[0].firstStation]];
    const NetworkPoint target = plus(from, horizontal * std::sin(compass), horizontal * std::cos(compass), rise);
    const NetworkPoint &now = m_nodeAt[m_entryNode[firstEntry]];
    const double east = target.east - now.east, north = target.north - now.north, up = target.up - now.up;
    if (!std::isfinite(east) || !std::isfinite(north) || !std::isfinite(up))
        return;
    for (const int node : nodes)
        m_nodeAt[node] = plus(m_nodeAt[node], east, north, up);
    m_pieces[piece].asDrawn = true;
}

// Stations near each other are found through a grid on each plan sheet with a third axis for
// depth: a pair within reach lies in the same or a neighbouring cell. Each station is paired with
// the first earlier one that qualifies, so a cluster of any size costs about one look per station.
void Walk::findLikelyTies()
{
    const int count = m_stations.count();
    const CheckSettings &settings = m_net.settings;
    const LegTolerance &tolerance = settings.tolerance;
    const bool drawing = tolerance.fromDrawing();
    // On one plan sheet two clicks on one mark are at most this many pixels apart (each is off
    // by up to `pixels`, independently).
    const double planReach = drawing ? tolerance.pixels * std::sqrt(2.0) : SurveyNetwork::TiePixels;
    auto depthReach = [&](const Station &a, const Station &b) {
        // Depths come through the legs from the profile, so besides the two clicks a couple of
        // placements met on the way may add to it.
        const double clicks = drawing ? tolerance.ofClicks({settings.profileScaleAt(a), settings.profileScaleAt(b)}) : -1.0;
        return clicks > 0.0 ? 2.0 * clicks : tolerance.metres;
    };
    double depthCell = drawing ? 0.0 : tolerance.metres;
    if (drawing)
        for (int i = 0; i < count; ++i)
            depthCell = std::max(depthCell, depthReach(m_stations.at(i), m_stations.at(i)));
    if (!(depthCell > 0.0) || !std::isfinite(depthCell))
        depthCell = 1.0;

    // Depths compare within a piece, and across pieces placed where the drawings put them.
    auto frame = [&](int entry) {
        const int piece = m_nodePiece[m_entryNode[entry]];
        return piece == 0 || m_pieces[piece].asDrawn ? 0 : piece;
    };
    struct Placed
    {
        std::array<qint64, 5> cell; // plan sheet, depth frame, x, y, depth
        int entry;
        bool operator<(const Placed &o) const { return cell != o.cell ? cell < o.cell : entry < o.entry; }
    };
    auto cellOf = [&](int entry, std::array<qint64, 5> *cell) {
        const Station &s = m_stations.at(entry);
        const double x = std::floor(s.planX / planReach), y = std::floor(s.planY / planReach);
        const double z = std::floor(m_nodeAt[m_entryNode[entry]].up / depthCell);
        for (const double c : {x, y, z})
            if (!std::isfinite(c) || std::fabs(c) > 1e15)
                return false;
        *cell = {s.planSheet, frame(entry), qint64(x), qint64(y), qint64(z)};
        return true;
    };
    QVector<Placed> cells;
    cells.reserve(count);
    for (int i = 0; i < count; ++i) {
        Placed placed{{}, i};
        if (cellOf(i, &placed.cell))
            cells.append(placed);
    }
    std::sort(cells.begin(), cells.end());

    auto pairKey = [](int a, int b) { return (quint64(quint32(std::min(a, b))) << 32) | quint32(std::max(a, b)); };
    // Every leg, the loops' closing ones too, as node neighbours: two stations a few legs apart
    // are a passage, however near the drawing puts them.
    QVector<QVector<int>> neighbours(m_nodeAt.size());
    for (const LegCheck &leg : std::as_const(m_net.legs)) {
        const int a = m_entryNode[leg.from], b = m_entryNode[leg.to];
        neighbours[a].append(b);
        neighbours[b].append(a);
    }
    auto nearByLegs = [&](int a, int b) {
        ++m_stamp;
        QVector<int> ring{a};
        m_visited[a] = m_stamp;
        for (int step = 0; step < SurveyNetwork::TieLegsApart && !ring.isEmpty(); ++step) {
            QVector<int> next;
            for (const int node : std::as_const(ring))
                for (const int other : neighbours[node]) {
                    if (other == b)
                        return true;
                    if (m_visited[other] != m_stamp) {
                        m_visited[other] = m_stamp;
                        next.append(other);
                    }
                }
            ring = std::move(next);
        }
        return false;
    };

    QSet<quint64> reported;
    for (const Placed &here : std::as_const(cells)) {
        const int i = here.entry;
        const Station &s = m_stations.at(i);
        const int a = m_entryNode[i];
        bool found = false;
        for (qint64 dx = -1; dx <= 1 && !found; ++dx)
            for (qint64 dy = -1; dy <= 1 && !found; ++dy)
                for (qint64 dz = -1; dz <= 1 && !found; ++dz) {
                    std::array<qint64, 5> key = here.cell;
                    key[2] += dx;
                    key[3] += dy;
                    key[4] += dz;
                    for (auto it = std::lower_bound(cells.cbegin(), cells.cend(), Placed{key, -1});
                         it != cells.cend() && it->cell == key && it->entry < i; ++it) {
                        const int j = it->entry;
                        const int b = m_entryNode[j];
                        if (a == b)
                            continue;
                        const Station &t = m_stations.at(j);
                        const double planApart = std::hypot(double(t.planX) - s.planX, double(t.planY) - s.planY);
                        const double depthApart = std::fabs(m_nodeAt[a].up - m_nodeAt[b].up);
                        if (!(planApart <= planReach) || !(depthApart <= depthReach(s, t)))
                            continue;
                        const quint64 pair = pairKey(a, b);
                        if (nearByLegs(a, b))
                            continue;
                        found = true;
                        if (reported.contains(pair))
                            break;
                        reported.insert(pair);
                        const double scale = settings.planScaleAt(s);
                        m_net.likelyTies.append({j, i, SurveyLegs::stationName(t, j), SurveyLegs::stationName(s, i),
                                                 scale > 0.0 ? planApart * scale : 0.0, depthApart});
                        break;
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

namespace {

// Left plus right where both are known; up plus down.
std::optional<double> widthAt(const Station &station)
{
    const PassageDimensions &d = station.dimensions;
    if (!d.left || !d.right)
        return std::nullopt;
    return *d.left + *d.right;
}

std::optional<double> heightAt(const Station &station)
{
    const PassageDimensions &d = station.dimensions;
    if (!d.up || !d.down)
        return std::nullopt;
    return *d.up + *d.down;
}

void checkDimensions(const StationTable &stations, SurveyNetwork &network)
{
    bool anyDimensions = false;
    for (int i = 0; i < stations.count(); ++i) {
        network.dimensions.append(stations.at(i).dimensions);
        anyDimensions = anyDimensions || !stations.at(i).dimensions.isEmpty();
    }
    if (!anyDimensions)
        return;
    for (int i = 0; i < stations.count(); ++i) {
        const Station &station = stations.at(i);
        const PassageDimensions &d = station.dimensions;
        if (d.isEmpty()) {
            network.withoutDimensions.append(i);
            continue;
        }
        DimensionProblem problem;
        problem.station = i;
        problem.name = SurveyLegs::stationName(station, i);
        const auto negative = [](const std::optional<double> &value) { return value && *value < 0.0; };
        if (negative(d.left) || negative(d.right) || negative(d.up) || negative(d.down)) {
            network.dimensionProblems.append(problem);
            continue;
        }
        // Its neighbours along the traverse: the stations its legs join it to.
        for (const auto &[across, kind] : {std::pair(&widthAt, DimensionProblem::Kind::TooWide),
                                           std::pair(&heightAt, DimensionProblem::Kind::TooHigh)}) {
            const std::optional<double> value = across(station);
            if (!value)
                continue;
            std::optional<double> widest;
            for (const int k : {i - 1, i + 1}) {
                const bool joined = k == i - 1 ? stations.hasLegBefore(i) : k < stations.count() && stations.hasLegBefore(k);
                const std::optional<double> neighbour = joined ? across(stations.at(k)) : std::nullopt;
                if (neighbour && *neighbour > 0.0)
                    widest = std::max(widest.value_or(0.0), *neighbour);
            }
            if (widest && *value > SurveyNetwork::WidthJump * *widest
                && *value - *widest > SurveyNetwork::WidthJumpMetres) {
                problem.kind = kind;
                problem.width = *value;
                problem.neighbourWidth = *widest;
                network.dimensionProblems.append(problem);
                break;
            }
        }
    }
}

// A station's point on a plan sheet as the ground vector it stands for: north + i east, from the
// stored metres turned by the sheet's north (see SheetAlignment). On a profile, up.
using Complex = std::complex<double>;

Complex groundOnPlan(const Station &station, double northDeg)
{
    return std::polar(1.0, -northDeg * Radians) * Complex(-double(station.planYMetres), double(station.planXMetres));
}

// The turn, scale and shift that best lay points A on points B (B = slope A + offset), kept as
// sums so one point can be taken out again.
struct ClosestSimilarity
{
    double n = 0.0, aa = 0.0;
    Complex a, b, ab;

    void add(Complex pa, Complex pb, double sign)
    {
        n += sign;
        a += sign * pa;
        b += sign * pb;
        aa += sign * std::norm(pa);
        ab += sign * std::conj(pa) * pb;
    }
    bool fit(Complex *slope, Complex *offset, double *spread = nullptr) const
    {
        if (n < 1.5)
            return false;
        const double centred = aa - std::norm(a) / n;
        if (!(centred > 1e-12 * std::max(aa, 1.0)) || !std::isfinite(centred))
            return false;
        *slope = (ab - std::conj(a) * b / n) / centred;
        *offset = (b - *slope * a) / n;
        if (spread)
            *spread = centred;
        return true;
    }
};

void compareSheets(const StationTable &stations, SurveyNetwork &network, const QVector<QByteArray> &keys,
                   SheetKind kind)
{
    const CheckSettings &settings = network.settings;
    const LegTolerance &tolerance = settings.tolerance;
    const bool plan = kind == SheetKind::Plan;
    auto sheetOf = [&](const Station &s) { return plan ? s.planSheet : s.profileSheet; };
    // Each sheet's first entry of each name.
    std::map<SheetId, QHash<QByteArray, int>> firstOn;
    for (int i = stations.count() - 1; i >= 0; --i)
        firstOn[sheetOf(stations.at(i))][keys[i]] = i;
    if (firstOn.size() < 2)
        return;
    auto scaleAt = [&](const Station &s) { return plan ? settings.planScaleAt(s) : settings.profileScaleAt(s); };

    for (auto a = firstOn.cbegin(); a != firstOn.cend(); ++a)
        for (auto b = std::next(a); b != firstOn.cend(); ++b) {
            SheetComparison pair;
            pair.kind = kind;
            pair.first = a->first;
            pair.second = b->first;
            QVector<int> firstEntries;
            for (auto it = a->second.cbegin(); it != a->second.cend(); ++it)
                if (b->second.contains(it.key()))
                    firstEntries.append(it.value());
            if (firstEntries.isEmpty())
                continue;
            std::sort(firstEntries.begin(), firstEntries.end());
            const double northA = plan ? settings.planOrientation.of(pair.first) : 0.0;
            const double northB = plan ? settings.planOrientation.of(pair.second) : 0.0;
            // Each shared station on each sheet, laid on the mean of all.
            QVector<Complex> onA, onB;
            double clickSquares = 0.0; // the clicks' metres, squared, summed over the stations
            bool clicksKnown = tolerance.fromDrawing();
            for (const int i : std::as_const(firstEntries)) {
                const int j = b->second.value(keys[i]);
                const Station &sa = stations.at(i), &sb = stations.at(j);
                onA.append(plan ? groundOnPlan(sa, northA) : Complex(-double(sa.profileYMetres)));
                onB.append(plan ? groundOnPlan(sb, northB) : Complex(-double(sb.profileYMetres)));
                const double ma = scaleAt(sa), mb = scaleAt(sb);
                clicksKnown = clicksKnown && ma >= 0.0 && mb >= 0.0;
                clickSquares += ma * ma + mb * mb;
                pair.stations.append({SurveyLegs::stationName(sa, i), i, j});
            }
            const int n = int(onA.size());
            Complex meanA, meanB;
            for (int k = 0; k < n; ++k) {
                meanA += onA[k] / double(n);
                meanB += onB[k] / double(n);
            }
            double spreadA = 0.0, spreadB = 0.0;
            ClosestSimilarity all;
            for (int k = 0; k < n; ++k) {
                onA[k] -= meanA;
                onB[k] -= meanB;
                spreadA += std::norm(onA[k]);
                spreadB += std::norm(onB[k]);
                all.add(onA[k], onB[k], 1.0);
            }
            // One station's error on the two sheets; where a scale is unknown, the rule's metres.
            const double perStation = clicksKnown && std::isfinite(clickSquares)
                                          ? tolerance.pixels * std::sqrt(clickSquares / n)
                                          : tolerance.metres;

            // The two furthest apart on the first sheet (near enough: the one furthest from the
            // middle, then the one furthest from it).
            int from = 0, to = 0;
            for (int k = 1; k < n; ++k)
                if (std::norm(onA[k]) > std::norm(onA[from]))
                    from = k;
            for (int k = 0; k < n; ++k)
                if (std::norm(onA[k] - onA[from]) > std::norm(onA[to] - onA[from]))
                    to = k;
            if (plan ? onA[from].imag() > onA[to].imag() : onA[from].real() > onA[to].real())
                std::swap(from, to); // westward or downward first, whichever the set spreads along
            pair.fromName = pair.stations[from].name;
            pair.toName = pair.stations[to].name;
            const Complex alongA = onA[to] - onA[from], alongB = onB[to] - onB[from];
            pair.firstSpacing = std::abs(alongA);
            pair.secondSpacing = std::abs(alongB);
            auto bearing = [](Complex v) {
                const double deg = std::atan2(v.imag(), v.real()) / Radians;
                return deg < 0.0 ? deg + 360.0 : deg;
            };
            if (plan) {
                pair.firstBearingDeg = bearing(alongA);
                pair.secondBearingDeg = bearing(alongB);
            }

            pair.compared = n >= 2 && spreadA > 0.0 && spreadB > 0.0 && std::isfinite(spreadA + spreadB);
            if (!pair.compared) {
                network.sheetComparisons.append(pair);
                continue;
            }
            // Each station against the others: where the second sheet puts it, minus where the
            // first does once laid on the second by the other stations (by their turn and scale
            // too, from three on). A wrong label shows there alone, not spread over the rest.
            auto measure = [&](int k, int leftOut) {
                SharedStation &shared = pair.stations[k];
                Complex d = onB[k] - onA[k];
                ClosestSimilarity others = all;
                others.add(onA[k], onB[k], -1.0);
                if (leftOut >= 0 && leftOut != k)
                    others.add(onA[leftOut], onB[leftOut], -1.0);
                // The others' turn and scale where they pin it down, the station no further out
                // than three times their spread (two stations close together give a turn that
                // carried far out means nothing); else their mean alone.
                Complex slope, offset;
                double spread = 0.0;
                const double reach = std::abs(onA[k] - others.a / others.n);
                if (n >= 3 && others.fit(&slope, &offset, &spread) && reach < 3.0 * std::sqrt(spread / others.n))
                    d = onB[k] - (slope * onA[k] + offset);
                else if (n >= 2)
                    d = onB[k] - onA[k] - (others.b - others.a) / others.n;
                shared.dNorth = plan ? d.real() : 0.0;
                shared.dEast = plan ? d.imag() : 0.0;
                shared.dUp = plan ? 0.0 : d.real();
                shared.apart = std::abs(d);
                // Its own two clicks, and the others' fit off by about as much again.
                const double ma = scaleAt(stations.at(shared.first)), mb = scaleAt(stations.at(shared.second));
                shared.allowed = clicksKnown ? std::sqrt(2.0) * tolerance.pixels * std::sqrt(ma * ma + mb * mb)
                                             : tolerance.metres;
                shared.flagged = shared.apart > shared.allowed;
            };
            int worst = -1;
            for (int k = 0; k < n; ++k) {
                measure(k, -1);
                const SharedStation &shared = pair.stations[k];
                if (shared.flagged && n >= 3
                    && (worst < 0 || shared.apart / shared.allowed > pair.stations[worst].apart / pair.stations[worst].allowed))
                    worst = k;
            }
            // The others again without it, so it pulls none of them away.
            if (worst >= 0)
                for (int k = 0; k < n; ++k)
                    if (k != worst)
                        measure(k, worst);
            // North and scale from the stations that agree: the worst one beyond its allowance
            // takes no part.
            ClosestSimilarity used = all;
            if (worst >= 0)
                used.add(onA[worst], onB[worst], -1.0);
            Complex a, offset;
            double spread = 0.0;
            if (used.fit(&a, &offset, &spread)) {
                // The second sheet's points as the first's times a = s e^(-i turn).
                const double pinned = perStation / std::sqrt(spread); // radians, or a fraction of the scale
                pair.scalePercent = 100.0 * ((plan ? std::abs(a) : a.real()) - 1.0);
                pair.allowedScalePercent = 100.0 * pinned;
                pair.scaleFlagged = std::fabs(pair.scalePercent) > pair.allowedScalePercent;
                if (plan) {
                    pair.turnDeg = -std::arg(a) / Radians;
                    pair.allowedTurnDeg = pinned / Radians;
                    pair.northFlagged = std::fabs(pair.turnDeg) > pair.allowedTurnDeg;
                }
            }
            network.sheetComparisons.append(pair);
        }
}

void compareSheets(const StationTable &stations, SurveyNetwork &network)
{
    const bool profile = network.settings.profileKind != ProfileKind::None;
    bool severalSheets = false;
    for (int i = 1; i < stations.count() && !severalSheets; ++i)
        severalSheets = stations.at(i).planSheet != stations.at(0).planSheet
                        || (profile && stations.at(i).profileSheet != stations.at(0).profileSheet);
    if (!severalSheets)
        return;
    QVector<QByteArray> keys(stations.count());
    for (int i = 0; i < stations.count(); ++i)
        keys[i] = SurveyLegs::stationKey(stations.at(i), i);
    compareSheets(stations, network, keys, SheetKind::Plan);
    if (profile)
        compareSheets(stations, network, keys, SheetKind::Profile);
}

} // namespace

bool SheetComparison::flagged() const
{
    return northFlagged || scaleFlagged
           || std::any_of(stations.begin(), stations.end(), [](const SharedStation &s) { return s.flagged; });
}

int SurveyNetwork::flaggedSheetCount() const
{
    return int(std::count_if(sheetComparisons.begin(), sheetComparisons.end(),
                             [](const SheetComparison &pair) { return pair.flagged(); }));
}

SurveyNetwork SurveyNetwork::build(const StationTable &stations, const CheckSettings &settings)
{
    SurveyNetwork network;
    network.settings = settings;
    network.legs = SurveyLegs::check(stations, settings);
    Walk(stations, network).run();
    compareSheets(stations, network);
    checkDimensions(stations, network);
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

int SurveyNetwork::flaggedRepeatCount() const
{
    return int(std::count_if(repeatedLegs.begin(), repeatedLegs.end(), [](const SurveyLoop &leg) { return leg.flagged; }));
}

int SurveyNetwork::untiedPieceCount() const
{
    return int(std::count_if(pieces.begin(), pieces.end(), [](const SurveyPiece &piece) { return !piece.tied; }));
}

bool SurveyNetwork::anythingFlagged() const
{
    const bool broken = std::any_of(legs.begin(), legs.end(), [](const LegCheck &leg) { return !leg.computed; });
    return broken || flaggedLegCount() > 0 || flaggedLoopCount() > 0 || flaggedRepeatCount() > 0 || !zeroLengthLegs.isEmpty()
           || !mixedScaleLegs.isEmpty() || untiedPieceCount() > 0 || !likelyTies.isEmpty()
           || !dimensionProblems.isEmpty() || flaggedSheetCount() > 0;
}
