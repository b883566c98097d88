// The loaded track: set-up, building, boundaries and queries. Reading the track file is
// in MapObjectLoad.cpp.
#include "track/MapObject.h"

#include "LogStream.h"
#include "XMLParser.h"
#include "platform/physics/NxActorDesc.h"
#include "platform/physics/NxVectors.h"
#include "platform/physics/scene.h"
#include "track/CheckPointTracker.h"
#include "track/TrackGraph.h"
#include "track/TrackSpline.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kBorderSamples = 8.0f;      // terrain samples before the first tile
constexpr float kSamplesPerTile = 3.0f;     // tile pitch in terrain samples
constexpr double kBoundaryMargin = 6.4;     // boundary units kept free at each edge
}

uint32_t MapObject::templateCounter = 0;

MapObject::MapObject(TrackScene* scene, nxOgre::scene* physicsScene)
    : scene(scene), physicsScene(physicsScene), coverage(static_cast<size_t>(kCoverageSize) * kCoverageSize, 0)
{
    graph = std::make_unique<TrackGraph>();
    tracker = std::make_unique<CheckPointTracker>();
    setScale(1.0f, 2.0f);
}

MapObject::~MapObject()
{
    deleteTiles();
    releaseBoundaries();
}

void MapObject::setScale(float newScale, float newPageSize)
{
    scale = newScale;
    pageSize = newPageSize >= 2.0f ? newPageSize : 2.0f;
    graph->setParams(kSamplesPerTile * scale, 8.0f / 3.0f, 0.0f, 8.0f / 3.0f);
    tileSize = scale * pageSize / (pageSize - 1.0f) * kSamplesPerTile;
}

void MapObject::reportProgress(int done, int total) const
{
    // Every 64 tiles: often enough for a caption, rare enough to cost nothing.
    if (progress && (done % 64 == 0 || done == total))
        progress(done, total);
}

void MapObject::buildTiles()
{
    const int total = getTileCount();
    int done = 0;
    for (int x = 0; x < kGridSize; ++x)
        for (int y = 0; y < kGridSize; ++y)
            if (TrackTile* tile = getTile(x, y))
            {
                tile->build(x, y, *this);
                reportProgress(++done, total);
            }
}

void MapObject::buildTrackSpline()
{
    spline.reset();
    if (!graph->buildPath())
    {
        debugLog() << "Track: the driving path from the start to the finish is broken, no spline" << std::endl;
        return;
    }
    spline = std::make_unique<TrackSpline>();
    spline->build(graph->getPoints());
}

LightMapTally MapObject::bakeLightMaps()
{
    LightMapTally tally;
    SharedLightMaps shared;
    const int total = getTileCount();
    int done = 0;
    for (int x = 0; x < kGridSize; ++x)
        for (int y = 0; y < kGridSize; ++y)
            if (TrackTile* tile = getTile(x, y))
            {
                tally += tile->bakeLightMaps(shared);
                reportProgress(++done, total);
            }
    debugLog() << "Tile lightmaps: " << tally.baked << " baked, " << tally.fromCache << " from the cache"
               << std::endl;
    return tally;
}

float MapObject::getBoundaryLow() const
{
    const float unit = scale * pageSize / (pageSize - 1.0f);
    return static_cast<float>(kBoundaryMargin * unit);
}

float MapObject::getBoundaryHigh() const
{
    const float unit = scale * pageSize / (pageSize - 1.0f);
    return static_cast<float>(scale * pageSize - kBoundaryMargin * unit);
}

void MapObject::createBoundaries()
{
    releaseBoundaries();
    if (!physicsScene)
        return;
    const float low = getBoundaryLow();
    const float high = getBoundaryHigh();
    const struct
    {
        nxOgre::NxVec3 normal;
        float distance;
    } planes[] = {{{1, 0, 0}, low}, {{0, 0, 1}, low}, {{-1, 0, 0}, -high}, {{0, 0, -1}, -high}};
    for (const auto& plane : planes)
    {
        nxOgre::NxPlaneShapeDesc shape;
        shape.normal = plane.normal;
        shape.d = plane.distance;
        nxOgre::NxActorDesc actor;
        actor.shapes.push_back(&shape);
        if (nxOgre::NxActor* created = physicsScene->createActor(actor))
            boundaries.push_back(created);
    }
}

void MapObject::releaseBoundaries()
{
    if (physicsScene)
        for (nxOgre::NxActor* actor : boundaries)
            physicsScene->releaseActor(actor);
    boundaries.clear();
}

void MapObject::deleteTiles()
{
    for (auto& tile : tiles)
        tile.reset();
}

Ogre::Vector2 MapObject::getTileCentre(int x, int y) const
{
    return Ogre::Vector2((kSamplesPerTile * static_cast<float>(x) + kBorderSamples) * scale + tileSize / 2,
                         (kSamplesPerTile * static_cast<float>(y) + kBorderSamples) * scale + tileSize / 2);
}

float MapObject::getCoverage(float x, float z) const
{
    // Cell coordinates along both axes; each cell's value sits at its centre.
    const float rawX = (x / scale - kBorderSamples) / kSamplesPerTile * kCoveragePerTile;
    const float rawZ = (z / scale - kBorderSamples) / kSamplesPerTile * kCoveragePerTile;
    if (!(rawX >= 0.0f && rawZ >= 0.0f && rawX < kCoverageSize && rawZ < kCoverageSize))
        return 0.0f;
    // Clamped to the outer cell centres, so the first and last rows and columns count whole.
    const float last = static_cast<float>(kCoverageSize - 1);
    const float cx = std::clamp(rawX - 0.5f, 0.0f, last);
    const float cz = std::clamp(rawZ - 0.5f, 0.0f, last);
    const int ix = std::min(static_cast<int>(cx), kCoverageSize - 2);
    const int iz = std::min(static_cast<int>(cz), kCoverageSize - 2);
    const float fx = cx - static_cast<float>(ix);
    const float fz = cz - static_cast<float>(iz);
    const auto m = [this](int row, int column) { return static_cast<float>(getCoverageCell(row, column)); };
    return (1 - fx) * (1 - fz) * m(ix, iz) + fx * (1 - fz) * m(ix + 1, iz) + (1 - fx) * fz * m(ix, iz + 1) +
           fx * fz * m(ix + 1, iz + 1);
}

uint32_t MapObject::getCoverageCell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= kCoverageSize || column >= kCoverageSize)
        return 0;
    return coverage[static_cast<size_t>(row) * kCoverageSize + static_cast<size_t>(column)];
}

TrackTile* MapObject::getTile(int x, int y) const
{
    if (x < 0 || y < 0 || x >= kGridSize || y >= kGridSize)
        return nullptr;
    return tiles[static_cast<size_t>(x) * kGridSize + static_cast<size_t>(y)].get();
}

int MapObject::getTileCount() const
{
    return static_cast<int>(std::count_if(tiles.begin(), tiles.end(), [](const auto& tile) { return tile != nullptr; }));
}

Ogre::Vector2 MapObject::getCornerOffset(const TrackObjectDesc& desc, int rotation)
{
    const float width = static_cast<float>(desc.width - 1);
    const float height = static_cast<float>(desc.height - 1);
    switch (rotation)
    {
    case 1:
        return Ogre::Vector2(0.0f, height);
    case 2:
        return Ogre::Vector2(width, height);
    case 3:
        return Ogre::Vector2(width, 0.0f);
    default:
        return Ogre::Vector2::ZERO;
    }
}

TrackObjectDesc* MapObject::findTileDescriptor(const std::string& name) const
{
    const auto found = tileDescriptions.find(name);
    return found == tileDescriptions.end() ? nullptr : found->second.get();
}

bool MapObject::isStartTile(const std::string& name) const
{
    const TrackObjectDesc* desc = findTileDescriptor(name);
    return desc && desc->start;
}

bool MapObject::isFinishTile(const std::string& name) const
{
    const TrackObjectDesc* desc = findTileDescriptor(name);
    return desc && desc->finish;
}

std::string MapObject::getRenderMeshName(const std::string& name, int rotation) const
{
    const TrackObjectDesc* desc = findTileDescriptor(name);
    if (!desc)
        return "";
    if (!desc->perDirectionGraphic)
        return desc->graphicMeshes[0];
    return rotation >= 0 && rotation < 4 ? desc->graphicMeshes[rotation] : "";
}

std::vector<std::string> MapObject::meshNames(const TrackObjectDesc::MeshTable& table, bool perDirection,
                                              int rotation)
{
    const auto found = table.find(perDirection ? rotation : 0);
    return found == table.end() ? std::vector<std::string>() : found->second;
}

std::vector<std::string> MapObject::getPhysicMeshNames(const std::string& name, int rotation) const
{
    const TrackObjectDesc* desc = findTileDescriptor(name);
    return desc ? meshNames(desc->physicMeshes, desc->perDirectionPhysic, rotation) : std::vector<std::string>();
}

std::vector<std::string> MapObject::getSmoothMeshNames(const std::string& name, int rotation) const
{
    const TrackObjectDesc* desc = findTileDescriptor(name);
    return desc ? meshNames(desc->smoothPhysicMeshes, desc->perDirectionPhysic, rotation)
                : std::vector<std::string>();
}
