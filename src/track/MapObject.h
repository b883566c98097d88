// The model of one loaded track: the 80 × 80 grid of placed tiles, the coverage mask that
// tells the vegetation where the track lies, the checkpoint tracker, the driving path and
// its spline, the track's units taken from the terrain, and the four boundary planes.
#pragma once

#include "track/MapEntry.h"
#include "track/TrackObjectDesc.h"
#include "track/TrackTile.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nxOgre
{
class NxActor;
class scene;
}
class CheckPointTracker;
class TrackGraph;
class TrackScene;
class TrackSpline;

class MapObject
{
public:
    static constexpr int kGridSize = 80;            // tiles along each side
    static constexpr int kCoveragePerTile = 9;      // mask cells along one tile edge
    static constexpr int kCoverageSize = kGridSize * kCoveragePerTile;
    static constexpr uint32_t kCovered = 255;
    static constexpr const char* kTileListPath = "../media/tiles/TrackObjectList.xml";

    // Both borrowed; the physics scene must outlive this object (it holds the boundaries).
    MapObject(TrackScene* scene, nxOgre::scene* physicsScene);
    virtual ~MapObject();
    MapObject(const MapObject&) = delete;
    MapObject& operator=(const MapObject&) = delete;

    // Told the tiles done and the total now and then while tiles are made, built and given
    // their lightmaps, so that a loading screen can show a large track is still coming.
    using Progress = std::function<void(int done, int total)>;
    void setProgress(Progress report) { progress = std::move(report); }

    // The terrain's horizontal scale (world units per sample) and page size (samples, at least 2).
    void setScale(float scale, float pageSize);
    // Reads the tile list and the track file and makes the tiles. Throws DataFileError (file
    // and problem named) for an unreadable or malformed file, a track without start or
    // finish, or a tile mesh that can't be loaded; nothing of the track is kept then.
    void load(const std::string& trackPath, const std::string& tileListPath = kTileListPath);
    void buildTiles();
    // The spline of the driving path; null when the path is broken.
    void buildTrackSpline();
    LightMapTally bakeLightMaps();
    // Four planes keeping bodies inside the track's free area.
    void createBoundaries();

    CheckPointTracker* getCheckPointTracker() const { return tracker.get(); }
    TrackGraph* getTrackGraph() const { return graph.get(); }
    TrackSpline* getTrackSpline() const { return spline.get(); }
    Ogre::Vector3 getStartPosition() const { return startPosition; }
    Ogre::Quaternion getStartOrientation() const { return startOrientation; }
    float getScale() const { return scale; }
    float getPageSize() const { return pageSize; }
    float getTileSize() const { return tileSize; }
    // The centre of grid cell (x, y) as world (x, z).
    Ogre::Vector2 getTileCentre(int x, int y) const;
    // 0 (free) to 255 (track), blended between the mask cells around the world point.
    float getCoverage(float x, float z) const;
    // The mask cell at (row along world x, column along world z); 0 outside.
    uint32_t getCoverageCell(int row, int column) const;
    // The placed tile of grid cell (x, y), or null.
    TrackTile* getTile(int x, int y) const;
    int getTileCount() const;
    // The free area along world x and z: [lo, hi].
    float getBoundaryLow() const;
    float getBoundaryHigh() const;
    const std::vector<nxOgre::NxActor*>& getBoundaries() const { return boundaries; }

    // The footprint corner a turned single-mesh tile is shifted by, in cells.
    static Ogre::Vector2 getCornerOffset(const TrackObjectDesc& desc, int rotation);
    TrackObjectDesc* findTileDescriptor(const std::string& name) const;
    bool isStartTile(const std::string& name) const;
    bool isFinishTile(const std::string& name) const;
    std::string getRenderMeshName(const std::string& name, int rotation) const;
    std::vector<std::string> getPhysicMeshNames(const std::string& name, int rotation) const;
    std::vector<std::string> getSmoothMeshNames(const std::string& name, int rotation) const;

private:
    void loadTileDescriptors(const std::string& listPath);
    void loadMap(const std::string& path);
    void deleteTileDescriptors();
    void deleteTiles();
    // Back to an empty track: no tiles, mask, path, gates or start.
    void clearTrack();
    void releaseBoundaries();
    void addTileLines(const MapEntry& entry, const TrackObjectDesc& desc);
    void coverTile(const MapEntry& entry, const TrackObjectDesc& desc);
    void addTileMarks(const MapEntry& entry);
    std::unique_ptr<TrackTile> makeTile(const MapEntry& entry, const TrackObjectDesc* desc, const std::string& path);
    void reportProgress(int done, int total) const;
    static std::vector<std::string> meshNames(const TrackObjectDesc::MeshTable& table, bool perDirection,
                                              int rotation);

    TrackScene* scene;
    nxOgre::scene* physicsScene;
    std::unique_ptr<TrackGraph> graph;
    std::unique_ptr<CheckPointTracker> tracker;
    std::unique_ptr<TrackSpline> spline;
    Ogre::Vector3 startPosition = Ogre::Vector3::ZERO;
    Ogre::Quaternion startOrientation = Ogre::Quaternion::IDENTITY;
    TrackObjectDescs tileDescriptions;  // only while loading
    std::array<std::unique_ptr<TrackTile>, kGridSize * kGridSize> tiles;  // x * 80 + y
    std::vector<uint32_t> coverage;  // row * 720 + column
    std::vector<nxOgre::NxActor*> boundaries;
    float scale = 1.0f;
    float pageSize = 2.0f;
    float tileSize = 6.0f;
    Progress progress;

    static uint32_t templateCounter;  // names the templates of every track of the run
};
