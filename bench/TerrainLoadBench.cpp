// Loading a shipped terrain (terrain file, 257 x 257 heightmap, 16 render tiles, height
// copy) and building its collision (4096 patches cooked and registered in the paged store).
#include "physic/PhysicBase.h"
#include "physic/TerrainPhysicManager.h"

#include "support/TerrainFiles.h"
#include "support/TerrainScene.h"

#include <OGRE/Ogre.h>
#include <benchmark/benchmark.h>

namespace
{
const std::string kTerrainFolder = std::string(QUILLMOR_BUILD_DIR) + "/media/terrain/";

// The built media's terrain folder as a resource location, once.
void locateTerrains()
{
    TerrainFiles::prepareEngine();
    static bool located = false;
    if (located)
        return;
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(kTerrainFolder, "FileSystem", Ogre::RGN_DEFAULT);
    Ogre::MaterialManager::getSingleton().create("Terrain/Grass", Ogre::RGN_DEFAULT);
    located = true;
}

void loadTerrain(benchmark::State& state)
{
    locateTerrains();
    TerrainScene scene;
    for (auto _ : state)
    {
        scene.terrain->load("Grass", kTerrainFolder + "TerrainList.xml");
        benchmark::DoNotOptimize(scene.terrain->getHeightData());
    }
}
BENCHMARK(loadTerrain)->Unit(benchmark::kMillisecond);

void buildTerrainCollision(benchmark::State& state)
{
    locateTerrains();
    TerrainScene scene;
    scene.terrain->load("Grass", kTerrainFolder + "TerrainList.xml");
    for (auto _ : state)
    {
        state.PauseTiming();
        auto physics = std::make_unique<PhysicBase>(nullptr, nullptr);
        physics->init();
        state.ResumeTiming();
        TerrainPhysicManager manager(physics.get(), scene.terrain.get());
        manager.createPagedPatches();
        benchmark::DoNotOptimize(manager.getPatchCount());
    }
}
BENCHMARK(buildTerrainCollision)->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();
