// Loading a built-in track the way the race scene does, headless: terrain, tile list and
// track file, tiles draped and registered, path and spline, tile lightmaps, boundaries.
// Cold: an empty lightmap cache (every tile type baked); warm: the cache filled.
#include "XMLParser.h"
#include "physic/PhysicBase.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"

#include "support/OfflineEngine.h"
#include "support/RaceTestScene.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
void loadTrack(RaceTestScene& scene, const std::string& track)
{
    const std::string path = "../media/maps/" + track;
    const auto description = XMLParser::getInstance()->loadMapDescription(path);
    TerrainObject& terrain = *scene.getTerrainObject();
    terrain.load(description->terrainName);
    MapObject map(&scene, scene.getPhysicScene());
    map.setScale(terrain.getHorizontalScale(), terrain.getPageSize());
    map.load(path);
    map.buildTiles();
    map.buildTrackSpline();
    scene.getPhysicBase()->setPaging(false);
    benchmark::DoNotOptimize(map.bakeLightMaps());
    map.createBoundaries();
}

void trackLoad(benchmark::State& state, const char* track, bool warm)
{
    RaceTestScene::prepareMedia();
    OfflineEngine::loadImageCodecs();
    for (auto _ : state)
    {
        state.PauseTiming();
        auto userFolder = std::make_unique<TempFolder>();
        if (warm)
        {
            RaceTestScene filler(userFolder->path());
            loadTrack(filler, track);
        }
        auto scene = std::make_unique<RaceTestScene>(userFolder->path());
        state.ResumeTiming();
        loadTrack(*scene, track);
        state.PauseTiming();
        scene.reset();
        userFolder.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(trackLoad, TestLoopCold, "TestLoop.map", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trackLoad, TestLoopWarm, "TestLoop.map", true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trackLoad, DesertRunCold, "DesertRun.map", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(trackLoad, DesertRunWarm, "DesertRun.map", true)->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();
