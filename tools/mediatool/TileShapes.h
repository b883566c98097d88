// The shapes of the tile set: centre lines of each tile type and what surface (road, kerb,
// verge, start line) lies at a point, shared by the tile meshes and the editor pictures.
#pragma once

#include <string>
#include <vector>

namespace tiles
{
constexpr float kMeshUnitsPerCell = 3.0f;
constexpr float kRoadHalfWidth = 0.8f;   // mesh units: asphalt
constexpr float kKerbHalfWidth = 1.0f;   // mesh units: asphalt and kerbs, 24 world units at scale 12
constexpr float kVergeHalfWidth = 1.2f;  // mesh units: all the tile draws, under the 30-unit gate

enum class Surface { None, Road, Kerb, Verge, Line };

// A piece of centre line in tile cells (x, z from the tile's first corner): a segment, or
// an arc around a centre from startAngle to endAngle (radians).
struct CentrePiece
{
    bool arc = false;
    float x0 = 0, z0 = 0, x1 = 0, z1 = 0;  // segment ends, or the arc's centre in x0, z0
    float radius = 0, startAngle = 0, endAngle = 0;
};

struct TileShape
{
    std::string name;       // tile type, e.g. "Straight"
    int width = 1;          // cells
    int height = 1;
    std::vector<CentrePiece> pieces;
    float markFrom = -1.0f;  // a painted band across the road between these fractions of the
    float markTo = -1.0f;    // first piece's length (start, finish and checkpoint lines)
    float humpHeight = 0.0f; // mesh units at the middle of the first piece
};

// Where a point (cells) lies relative to the nearest centre line.
struct RoadPlace
{
    float distance;  // mesh units from the centre line
    float across;    // signed, mesh units
    float along;     // mesh units from the piece's start
    float fraction;  // along / piece length
    int piece;
};

const std::vector<TileShape>& tileShapes();
RoadPlace locate(const TileShape& shape, float x, float z);
Surface surfaceAt(const TileShape& shape, float x, float z);
// Height above the tile's plane, mesh units; never below 0.
float heightAt(const TileShape& shape, float x, float z);
}
