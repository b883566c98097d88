// Tile set geometry.
#include "TileShapes.h"

#include <cmath>

namespace tiles
{
namespace
{
constexpr float kPi = 3.14159265358979f;
// Mesh units, times the track's scale in the world (12 on the built-in terrains). The surface
// has no step anywhere: a car that runs wide must be able to drive back on, and a step of a
// few tenths of a unit at the verge's edge or the kerb caught the body before the wheels.
constexpr float kBaseHeight = 0.02f;   // the road lies a little above the terrain
constexpr float kKerbRise = 0.008f;    // a rounded kerb, about a tenth of a unit high
constexpr float kVergeLip = 0.002f;    // the verge's outer edge, just off the terrain

CentrePiece segment(float x0, float z0, float x1, float z1)
{
    CentrePiece piece;
    piece.x0 = x0;
    piece.z0 = z0;
    piece.x1 = x1;
    piece.z1 = z1;
    return piece;
}

CentrePiece arc(float cx, float cz, float radius, float startDegrees, float endDegrees)
{
    CentrePiece piece;
    piece.arc = true;
    piece.x0 = cx;
    piece.z0 = cz;
    piece.radius = radius;
    piece.startAngle = startDegrees * kPi / 180.0f;
    piece.endAngle = endDegrees * kPi / 180.0f;
    return piece;
}

TileShape shape(const std::string& name, int size, std::vector<CentrePiece> pieces)
{
    TileShape result;
    result.name = name;
    result.width = result.height = size;
    result.pieces = std::move(pieces);
    return result;
}

RoadPlace locateOn(const CentrePiece& piece, float x, float z)
{
    RoadPlace place{};
    if (!piece.arc)
    {
        const float dx = piece.x1 - piece.x0, dz = piece.z1 - piece.z0;
        const float length = std::sqrt(dx * dx + dz * dz);
        float t = ((x - piece.x0) * dx + (z - piece.z0) * dz) / (length * length);
        t = std::fmin(1.0f, std::fmax(0.0f, t));
        const float px = piece.x0 + t * dx, pz = piece.z0 + t * dz;
        place.distance = std::hypot(x - px, z - pz) * kMeshUnitsPerCell;
        place.across = ((x - piece.x0) * dz - (z - piece.z0) * dx) / length * kMeshUnitsPerCell;
        place.along = t * length * kMeshUnitsPerCell;
        place.fraction = t;
        return place;
    }
    const float angle = std::atan2(z - piece.z0, x - piece.x0);
    const float span = piece.endAngle - piece.startAngle;
    float t = (angle - piece.startAngle) / span;
    t = std::fmin(1.0f, std::fmax(0.0f, t));
    const float onAngle = piece.startAngle + t * span;
    const float px = piece.x0 + piece.radius * std::cos(onAngle);
    const float pz = piece.z0 + piece.radius * std::sin(onAngle);
    place.distance = std::hypot(x - px, z - pz) * kMeshUnitsPerCell;
    place.across = (std::hypot(x - piece.x0, z - piece.z0) - piece.radius) * kMeshUnitsPerCell;
    place.along = t * std::fabs(span) * piece.radius * kMeshUnitsPerCell;
    place.fraction = t;
    return place;
}
}

const std::vector<TileShape>& tileShapes()
{
    static const std::vector<TileShape> shapes = [] {
        const CentrePiece alongZ = segment(0.5f, 0.0f, 0.5f, 1.0f);
        std::vector<TileShape> list;
        list.push_back(shape("Straight", 1, {alongZ}));
        list.push_back(shape("Curve", 1, {arc(1.0f, 0.0f, 0.5f, 180.0f, 90.0f)}));
        list.push_back(shape("WideCurve", 2, {arc(2.0f, 0.0f, 1.5f, 180.0f, 90.0f)}));
        list.push_back(shape("Crossing", 1, {alongZ, segment(0.0f, 0.5f, 1.0f, 0.5f)}));
        TileShape bump = shape("Bump", 1, {alongZ});
        bump.humpHeight = 0.35f;
        list.push_back(bump);
        for (const char* name : {"Start", "Finish", "StartFinish"})
        {
            TileShape marked = shape(name, 1, {alongZ});
            marked.markFrom = 0.45f;
            marked.markTo = 0.55f;
            list.push_back(marked);
        }
        TileShape checkpoint = shape("Checkpoint", 1, {alongZ});
        checkpoint.markFrom = 0.48f;
        checkpoint.markTo = 0.52f;
        list.push_back(checkpoint);
        return list;
    }();
    return shapes;
}

RoadPlace locate(const TileShape& shape, float x, float z)
{
    RoadPlace best{};
    best.distance = 1e9f;
    for (size_t i = 0; i < shape.pieces.size(); ++i)
    {
        RoadPlace place = locateOn(shape.pieces[i], x, z);
        if (place.distance < best.distance)
        {
            best = place;
            best.piece = static_cast<int>(i);
        }
    }
    return best;
}

Surface surfaceAt(const TileShape& shape, float x, float z)
{
    const RoadPlace place = locate(shape, x, z);
    if (place.distance < kRoadHalfWidth)
    {
        const bool marked = place.piece == 0 && place.fraction >= shape.markFrom && place.fraction <= shape.markTo;
        return marked ? Surface::Line : Surface::Road;
    }
    if (place.distance < kKerbHalfWidth)
        return Surface::Kerb;
    if (place.distance < kVergeHalfWidth)
        return Surface::Verge;
    return Surface::None;
}

float heightAt(const TileShape& shape, float x, float z)
{
    const RoadPlace place = locate(shape, x, z);
    // Across the verge the surface eases down from the kerb to the terrain; a hump eases
    // down with it, so it ends at the tile's edge instead of standing there as a wall.
    const float toEdge = (place.distance - kKerbHalfWidth) / (kVergeHalfWidth - kKerbHalfWidth);
    const float t = std::fmin(1.0f, std::fmax(0.0f, toEdge));
    const float raised = 1.0f - t * t * (3.0f - 2.0f * t);
    float height = kVergeLip + (kBaseHeight - kVergeLip) * raised;
    if (place.distance >= kRoadHalfWidth && place.distance < kKerbHalfWidth)
        height += kKerbRise * std::sin(kPi * (place.distance - kRoadHalfWidth) / (kKerbHalfWidth - kRoadHalfWidth));
    if (shape.humpHeight > 0.0f)
    {
        const float wave = std::sin(kPi * place.fraction);
        height += shape.humpHeight * wave * wave * raised;
    }
    return std::fmax(0.0f, height);
}
}
