// A headless stand-in for the race scene, as the loaded track sees it: the terrain scene,
// a physics world, the tile lightmap cache, with the built media's tiles and terrains as
// engine resources (the working folder becomes the build's bin/, as for the game).
#pragma once

#include "TempFolder.h"
#include "TerrainScene.h"
#include "graphics/LightMapBakeParameters.h"
#include "track/TrackScene.h"

#include <memory>
#include <string>

class RaceTestScene : public TrackScene
{
public:
    // cacheFolder: the per-user folder of the lightmap cache; "" for no cache.
    explicit RaceTestScene(const std::string& cacheFolder = "");
    ~RaceTestScene();

    // Once per process: working folder, resource locations and the tile and terrain materials.
    static void prepareMedia();

    Ogre::SceneManager* getSceneManager() override { return terrainScene.sceneManager; }
    TerrainObject* getTerrainObject() const override { return terrainScene.terrain.get(); }
    PhysicBase* getPhysicBase() const override { return physics.get(); }
    nxOgre::scene* getPhysicScene() const override { return physicScene; }
    TempImageManagerTLM* getLightmapCache() const override { return cache.get(); }
    unsigned getLightMapAnisotropy() const override { return LightMapBakeParameters().anisotropy; }

private:
    TempFolder logFolder;
    TerrainScene terrainScene;
    std::unique_ptr<PhysicBase> physics;
    nxOgre::scene* physicScene = nullptr;
    std::unique_ptr<TempImageManagerTLM> cache;
};
