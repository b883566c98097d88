// The race scene: its own scene manager and camera, and, while a race is loaded, the
// track, the car and the race rules. Made empty at start-up and after every race.
#pragma once

#include "Scene.h"
#include "track/TrackScene.h"

#include <memory>

namespace CEGUI
{
class Window;
}

namespace Ogre
{
class Camera;
class StaticGeometry;
}

struct MapDescription;
class TerrainPhysicManager;

class MapObject;
class PhysicBase;
class TempImageManagerTLM;
class TerrainObject;
class TerrainPageSource;

class GameScene : public Scene, public TrackScene
{
public:
    // Creates the empty race scene; engine exceptions pass.
    GameScene();
    virtual ~GameScene();
    GameScene(const GameScene&) = delete;
    GameScene& operator=(const GameScene&) = delete;

    void create() override;
    // Loads one race: terrain, track, lightmaps, static geometry and the terrain collision.
    // Each stage's caption goes to the loading screen's text window when there is one.
    // A broken data file throws DataFileError; the scene is then to be replaced, not raced.
    void load(const MapDescription& map, CEGUI::Window* caption);
    void destroy() override;
    void enable() override;
    void disable() override;
    Ogre::SceneManager* getSceneManager() override { return sceneManager; }
    void addToStaticGeometry(Ogre::SceneNode* node) override;
    Ogre::Vector3 screenToWorld(const Ogre::Vector2& screen) override;
    Ogre::Vector3 screenToWorldRay(const Ogre::Vector2& screen) override;

    Ogre::Camera* getCamera() const { return camera; }
    // The race's terrain, registered with the scene's terrain page source; no terrain is
    // loaded until TerrainObject::load.
    TerrainObject* getTerrainObject() const override { return terrain.get(); }
    // The race's physics world, logging to the per-user folder when there is one.
    PhysicBase* getPhysicBase() const override { return physics.get(); }
    nxOgre::scene* getPhysicScene() const override;
    // The tile lightmap cache "lightmaps" of the per-user folder; null when the game has no
    // settings (and so no per-user folder) yet.
    TempImageManagerTLM* getLightmapCache() const override { return lightmapCache.get(); }
    // The race's track, empty until it is loaded.
    MapObject* getMapObject() const { return mapObject.get(); }
    // The scene's lights: "shadowLight" straight down and the sun "SkySun"; made once.
    void createSky();
    bool isEnabled() const { return enabled; }

private:
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::StaticGeometry* staticGeometry = nullptr;
    bool enabled = false;
    std::unique_ptr<PhysicBase> physics;
    std::unique_ptr<TerrainPageSource> terrainSource;
    std::unique_ptr<TerrainObject> terrain;
    std::unique_ptr<TempImageManagerTLM> lightmapCache;
    std::unique_ptr<MapObject> mapObject;  // holds actors in the physics scene: goes first
    std::unique_ptr<TerrainPhysicManager> terrainCollision;  // before the physics it lives in
};
