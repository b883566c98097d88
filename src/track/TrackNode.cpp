// Waypoints and their placement on the track grid.
#include "track/TrackNode.h"

int32_t TrackNode::nextId = 0;

TrackNode::TrackNode(float x, float y, float z, float width) : x(x), y(y), z(z), width(width), id(nextId++)
{
}

void TrackNode::resetIds()
{
    nextId = 0;
}

void TrackNode::place(int tileX, int tileY, int rotation, int tileWidth, int tileHeight)
{
    id = nextId++;
    const float halfWidth = tileWidth / 2.0f;
    const float halfHeight = tileHeight / 2.0f;
    const float px = x - halfWidth;
    const float pz = z - halfHeight;

    // Exact quarter turns by -90 degrees about +y each: a rotation matrix with cos/sin in
    // floating point would leave edge points a rounding error off their neighbours.
    float turnedX = px;
    float turnedZ = pz;
    switch (((rotation % 4) + 4) % 4)
    {
    case 1: turnedX = -pz; turnedZ = px; break;
    case 2: turnedX = -px; turnedZ = -pz; break;
    case 3: turnedX = pz; turnedZ = -px; break;
    default: break;
    }

    const bool quarterTurned = (rotation % 2) != 0;
    x = turnedX + (quarterTurned ? halfHeight : halfWidth) + tileX;
    z = turnedZ + (quarterTurned ? halfWidth : halfHeight) + tileY;
}
