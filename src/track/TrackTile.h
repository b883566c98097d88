// One placed tile of a loaded track: its own copy of the tile type's render mesh, turned,
// scaled to the terrain and draped over it, shown on a node at the tile centre, with one
// collision shape per physics mesh (draped the same way) in the paged store and, for tiles that ask for it,
// lightmaps shared by every tile of the type through the disk cache.
#pragma once

#include <OGRE/OgreMatrix4.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
class SceneNode;
class SubEntity;
}
namespace nxOgre
{
class meshShapeSR;
}
class CLightMap;
struct LightMapBakeParameters;
class MapObject;
class TileTemplate;
class TrackScene;

// What a lightmap pass did: maps baked now and maps taken from the cache (the disk's, or one
// an earlier tile of the same type already holds).
struct LightMapTally
{
    int baked = 0;
    int fromCache = 0;
    LightMapTally& operator+=(const LightMapTally& other)
    {
        baked += other.baked;
        fromCache += other.fromCache;
        return *this;
    }
};

// The lightmaps of one track load by cache key and the material they modulate: every tile
// of a type shows the same picture, so one texture and one material serve them all.
struct SharedLightMaps
{
    std::map<std::string, std::shared_ptr<CLightMap>> maps;
    // Set once paging is off for the first bake: its rays must meet every collision shape,
    // and making them all is worth it only when something is baked.
    bool raysReady = false;
};

class TrackTile
{
public:
    static constexpr float kLightMapTexelsPerUnit = 5.0f;
    static constexpr float kLightMapSurfaceOffset = 0.1f;  // world units

    // Clones the template's meshes and entities; the template is not kept. Rotations in
    // quarter turns, offsets in grid cells.
    TrackTile(TrackScene* scene, TileTemplate& tileTemplate, int renderRotation, int physicRotation,
              const Ogre::Vector2& renderOffset, const Ogre::Vector2& physicOffset);
    ~TrackTile();
    TrackTile(const TrackTile&) = delete;
    TrackTile& operator=(const TrackTile&) = delete;

    // Drapes the meshes on the terrain at grid cell (x, y), shows the tile and registers
    // its collision shapes. Once; later calls do nothing.
    void build(int x, int y, const MapObject& track);
    // Turns, scales and drapes one mesh: each vertex goes where drape puts it; normals are
    // turned by rotation.
    void transformMesh(const Ogre::MeshPtr& mesh, const Ogre::Matrix4& world, const Ogre::Matrix4& local,
                       const Ogre::Quaternion& rotation);
    // Vertex v goes to W⁻¹ of the terrain point under W·L·v, raised by |(L·v).y|.
    Ogre::Vector3 drape(const Ogre::Vector3& v, const Ogre::Matrix4& world, const Ogre::Matrix4& worldInverse,
                        const Ogre::Matrix4& local) const;
    // Lightmaps from the ones shared, the cache, or baked and stored (and then shared);
    // nothing without the lightmap flag or before the tile is built.
    LightMapTally bakeLightMaps(SharedLightMaps& shared);

    const std::string& getName() const { return name; }
    Ogre::SceneNode* getNode() const { return node; }
    Ogre::Entity* getEntity() const { return entity; }
    // The names under which the collision shapes are registered in the paged store.
    const std::vector<std::string>& getShapeNames() const { return shapeNames; }
    const std::vector<std::shared_ptr<CLightMap>>& getLightMaps() const { return lightMaps; }
    int getRenderRotation() const { return renderRotation; }
    int getPhysicRotation() const { return physicRotation; }
    const Ogre::Vector2& getRenderOffset() const { return renderOffset; }
    const Ogre::Vector2& getPhysicOffset() const { return physicOffset; }
    bool isLightMapped() const { return lightMapped; }

private:
    // The shapes of the type's physics meshes, draped where the tile lies.
    void addCollisionShapes(const std::vector<Ogre::MeshPtr>& meshes, bool smooth, const Ogre::Matrix4& world,
                            const Ogre::Matrix4& local);
    LightMapBakeParameters lightMapParameters() const;
    std::shared_ptr<CLightMap> loadCachedLightMap(Ogre::SubEntity* subEntity, const std::string& key);
    std::shared_ptr<CLightMap> bakeLightMap(Ogre::SubEntity* subEntity, const std::string& key, bool& raysReady);

    TrackScene* scene;
    std::vector<std::unique_ptr<nxOgre::meshShapeSR>> shapes;  // plain ones first
    std::vector<std::string> shapeNames;
    std::string name;
    Ogre::Entity* renderClone = nullptr;
    std::vector<Ogre::MeshPtr> physicMeshes;  // the tile type's, shared; dropped once built
    std::vector<Ogre::MeshPtr> smoothMeshes;
    Ogre::Entity* entity = nullptr;  // the one shown
    Ogre::SceneNode* node = nullptr;
    std::vector<std::shared_ptr<CLightMap>> lightMaps;
    int renderRotation;
    int physicRotation;
    Ogre::Vector2 renderOffset;
    Ogre::Vector2 physicOffset;
    bool lightMapped;
};
