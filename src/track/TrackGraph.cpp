// Driving path graph: neighbour search and the walk from start to finish.
#include "track/TrackGraph.h"

#include "LogStream.h"
#include "track/TrackSpline.h"

#include <cmath>
#include <limits>

namespace
{
constexpr double kSnapStepsPerCell = 1000.0;  // positions meet on a 1/1000 cell grid

// Rounded rather than truncated, so that 10.4999999 and 10.5 meet; clamped so that no
// value leaves the integer range.
long long snap(float value)
{
    const double scaled = static_cast<double>(value) * kSnapStepsPerCell;
    constexpr double kLimit = 1e15;
    if (!(scaled > -kLimit))
        return static_cast<long long>(-kLimit);
    if (!(scaled < kLimit))
        return static_cast<long long>(kLimit);
    return std::llround(scaled);
}
}

TrackGraph::TrackGraph() : spline(std::make_unique<TrackSpline>())
{
    TrackNode::resetIds();
}

TrackGraph::~TrackGraph() = default;

void TrackGraph::setParams(float newScale, float offsetX, float offsetY, float offsetZ)
{
    scale = newScale;
    offset = Ogre::Vector3(offsetX, offsetY, offsetZ);
}

void TrackGraph::addNode(const TrackNode& node)
{
    allNodes[node.getId()] = node;
}

void TrackGraph::addConnector(const TileConnector& connector)
{
    if (connector.getNodeCount() == 0)
        return;
    const int32_t firstId = connector.getNode(0);
    const auto node = allNodes.find(firstId);
    if (node == allNodes.end())
        return;
    connectors[firstId] = connector;
    addEntry(firstId, node->second);
}

void TrackGraph::addEntry(int32_t id, const TrackNode& node)
{
    removeEntry(id);
    entryNodes[id] = node;
    startsByZ[snap(node.z)].emplace(snap(node.x), id);
    startsByX[snap(node.x)].emplace(snap(node.z), id);
}

void TrackGraph::removeEntry(int32_t id)
{
    const auto entry = entryNodes.find(id);
    if (entry == entryNodes.end())
        return;
    const long long x = snap(entry->second.x);
    const long long z = snap(entry->second.z);
    const auto forget = [id](LineStarts& lines, long long key, long long along) {
        const auto line = lines.find(key);
        if (line == lines.end())
            return;
        line->second.erase({along, id});
        if (line->second.empty())
            lines.erase(line);
    };
    forget(startsByZ, z, x);
    forget(startsByX, x, z);
    entryNodes.erase(entry);
}

void TrackGraph::setStart(const TileConnector& connector)
{
    if (connector.getNodeCount() == 0)
        return;
    startId = connector.getNode(0);
    addConnector(connector);
}

void TrackGraph::setEnd(const TileConnector& connector)
{
    if (connector.getNodeCount() == 0)
        return;
    endId = connector.getNode(0);
    addConnector(connector);
}

TrackNode TrackGraph::getNode(int32_t id) const
{
    const auto node = allNodes.find(id);
    return node == allNodes.end() ? TrackNode() : node->second;
}

int32_t TrackGraph::findNeighbour(const Ogre::Vector3& position, int32_t direction) const
{
    const long long px = snap(position.x);
    const long long pz = snap(position.z);
    const bool alongX = direction == 1 || direction == 3;
    const bool towardsMore = direction == 1 || direction == 2;
    const LineStarts& lines = alongX ? startsByZ : startsByX;
    const auto line = lines.find(alongX ? pz : px);
    if (line == lines.end())
        return -1;
    const auto& starts = line->second;
    const long long from = alongX ? px : pz;
    constexpr int32_t kFirstId = std::numeric_limits<int32_t>::min();
    constexpr int32_t kLastId = std::numeric_limits<int32_t>::max();
    // The nearest in the direction; of two at one point, the one with the lower id.
    if (towardsMore)
    {
        const auto ahead = starts.lower_bound({from, kFirstId});
        return ahead == starts.end() ? -1 : ahead->second;
    }
    auto behind = starts.upper_bound({from, kLastId});
    if (behind == starts.begin())
        return -1;
    --behind;
    return starts.lower_bound({behind->first, kFirstId})->second;
}

bool TrackGraph::buildPath()
{
    if (walked)
    {
        debugLog() << "TrackGraph: the path was walked already; a graph is walked once\n";
        return false;
    }
    walked = true;
    pathPoints.clear();
    const bool reachedEnd = walk();
    for (auto& point : pathPoints)
    {
        point.x = (point.x + offset.x) * scale;
        point.y = (point.y + offset.y) * scale;
        point.z = (point.z + offset.z) * scale;
        point.w = point.w * scale;
    }
    return reachedEnd;
}

bool TrackGraph::walk()
{
    if (startId == -1 || endId == -1)
        return false;
    auto current = connectors.find(startId);
    int32_t currentId = startId;
    while (current != connectors.end())
    {
        const TileConnector& connector = current->second;
        for (size_t i = 0; i < connector.getNodeCount(); ++i)
        {
            const int32_t id = connector.getNode(i);
            const auto node = allNodes.find(id);
            // A point another line of the same tile has walked already is not appended
            // again: a default node would put a waypoint at the world's corner.
            if (node != allNodes.end())
            {
                const TrackNode& n = node->second;
                pathPoints.emplace_back(n.x, n.y, n.z, n.width);
                allNodes.erase(node);
            }
            removeEntry(id);
        }
        if (currentId == endId)
            return true;
        if (pathPoints.empty())
            return false;
        currentId = findNeighbour(pathPoints.back().xyz(), connector.getDirection());
        current = currentId == -1 ? connectors.end() : connectors.find(currentId);
    }
    return false;
}

TrackSpline* TrackGraph::buildSpline()
{
    spline->build(pathPoints);
    return spline.get();
}
