// Driving path graph: neighbour search and the walk from start to finish.
#include "track/TrackGraph.h"

#include "LogStream.h"
#include "track/TrackSpline.h"

#include <cmath>

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
    entryNodes[firstId] = node->second;
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
    int32_t bestId = -1;
    long long bestCoordinate = 0;
    for (const auto& [id, node] : entryNodes)
    {
        const long long nx = snap(node.x);
        const long long nz = snap(node.z);
        const long long across = alongX ? nz - pz : nx - px;
        const long long along = alongX ? nx : nz;
        const long long from = alongX ? px : pz;
        if (across != 0 || (towardsMore ? along < from : along > from))
            continue;
        const bool better = towardsMore ? along < bestCoordinate : along > bestCoordinate;
        if (bestId == -1 || better)
        {
            bestId = id;
            bestCoordinate = along;
        }
    }
    return bestId;
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
            entryNodes.erase(id);
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
