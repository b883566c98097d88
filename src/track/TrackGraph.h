// The driving path graph: waypoints and tile lines of a loaded track, walked from the
// start line to the finish line into the ordered path in world units.
#pragma once

#include "track/TileConnector.h"
#include "track/TrackNode.h"

#include <OGRE/OgreVector.h>

#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class TrackSpline;

class TrackGraph
{
public:
    // Restarts the node id counter.
    TrackGraph();
    ~TrackGraph();
    TrackGraph(const TrackGraph&) = delete;
    TrackGraph& operator=(const TrackGraph&) = delete;

    // Grid cells to world units: c becomes (c + offset) * scale.
    void setParams(float scale, float offsetX, float offsetY, float offsetZ);
    void addNode(const TrackNode& node);
    // Stored under its first node's id; ignored when empty or that node was never added.
    void addConnector(const TileConnector& connector);
    void setStart(const TileConnector& connector);
    void setEnd(const TileConnector& connector);
    // A copy of the node, or a default node (id -1) when the id is unknown.
    TrackNode getNode(int32_t id) const;
    // The id of the nearest unwalked line start in line with position in the direction,
    // or -1. Positions are compared on a 1/1000 cell grid.
    int32_t findNeighbour(const Ogre::Vector3& position, int32_t direction) const;
    // Walks from the start line to the end line, filling the path points in world units;
    // true when the end was reached. The walk uses up the graph: a second call fails.
    bool buildPath();
    std::vector<Ogre::Vector4> getPoints() const { return pathPoints; }
    // Builds the graph's own spline from the path points.
    TrackSpline* buildSpline();

private:
    std::map<int32_t, TrackNode> allNodes;
    std::map<int32_t, TrackNode> entryNodes;  // first nodes of lines not walked yet
    // The same line starts by the snapped coordinate they share with the lines that can lead
    // to them, each holding (the other coordinate, id): finding a neighbour is a lookup, not
    // a pass over every line of the track (quadratic on a full 80 x 80 track).
    using LineStarts = std::map<long long, std::set<std::pair<long long, int32_t>>>;
    LineStarts startsByZ;  // reached along x
    LineStarts startsByX;  // reached along z
    std::unique_ptr<TrackSpline> spline;
    int32_t startId = -1;
    int32_t endId = -1;
    std::map<int32_t, TileConnector> connectors;  // by first node id
    std::vector<Ogre::Vector4> pathPoints;        // x, y, z, width
    float scale = 1.0f;
    Ogre::Vector3 offset = Ogre::Vector3::ZERO;
    bool walked = false;

    bool walk();
    void addEntry(int32_t id, const TrackNode& node);
    void removeEntry(int32_t id);
};
