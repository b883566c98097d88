// What a loaded track and its tiles use of the race scene: the scene manager, the
// terrain, the physics world, the tile lightmap cache and how the lightmaps are filtered.
// The race scene implements it.
#pragma once

namespace Ogre
{
class SceneManager;
}
namespace nxOgre
{
class scene;
}
class PhysicBase;
class TempImageManagerTLM;
class TerrainObject;

class TrackScene
{
public:
    virtual Ogre::SceneManager* getSceneManager() = 0;
    virtual TerrainObject* getTerrainObject() const = 0;
    virtual PhysicBase* getPhysicBase() const = 0;
    virtual nxOgre::scene* getPhysicScene() const = 0;
    virtual TempImageManagerTLM* getLightmapCache() const = 0;
    // Anisotropic filtering degree of the tiles' lightmapped materials; 1 or less: trilinear.
    virtual unsigned getLightMapAnisotropy() const = 0;

protected:
    ~TrackScene() = default;
};
