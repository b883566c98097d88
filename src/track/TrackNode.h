// One waypoint of the driving path: a point of a tile description, later placed on the grid.
#pragma once

#include <cstdint>

class TrackNode
{
public:
    // A node of all zeros with id -1; it takes no id.
    TrackNode() = default;
    // Takes a new id from the program-wide counter.
    TrackNode(float x, float y, float z, float width);
    TrackNode(const TrackNode& other) = default;
    TrackNode& operator=(const TrackNode& other) = default;

    int32_t getId() const { return id; }
    // Restarts the id counter at 0 (a new track graph does this).
    static void resetIds();

    // Takes a new id and moves the node from the tile's own cells (before rotation) to grid
    // cells: the tile's first cell is (tileX, tileY), it is turned by rotation quarter turns
    // and measures tileWidth x tileHeight cells unturned. y is left alone.
    void place(int tileX, int tileY, int rotation, int tileWidth, int tileHeight);

    float x = 0.0f;      // cells along the grid's first index
    float y = 0.0f;      // height, untouched by placement
    float z = 0.0f;      // cells along the grid's second index
    float width = 0.0f;  // cells

private:
    int32_t id = -1;
    static int32_t nextId;
};
