// One line of one placed tile: the ordered waypoint ids and the direction in which the
// walk searches for the next tile's line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class TileConnector
{
public:
    // Empties the node list and sets the search direction (0 -z, 1 +x, 2 +z, 3 -x).
    void setDirection(int32_t newDirection);
    // Turns the search direction by quarter turns.
    void rotate(int quarterTurns);
    void addNode(int32_t id);
    // The id at index, or -1 past the end.
    int32_t getNode(size_t index) const;
    size_t getNodeCount() const { return nodeIds.size(); }
    int32_t getDirection() const { return direction; }

private:
    std::vector<int32_t> nodeIds;
    int32_t direction = 0;
};
