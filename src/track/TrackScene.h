// What a loaded track and its tiles use of the race scene: the scene manager, the
// terrain, the physics world and the tile lightmap cache. The race scene implements it.
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

protected:
    ~TrackScene() = default;
};
