// Time of one tile lightmap bake at 5 texels per unit: a tile-sized ground in a Bullet scene
// with a floor and a field of boxes around it, the light slanted as in a race.
#include "HeadlessOgre.h"
#include "LightMapMeshes.h"
#include "graphics/CLightMap.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxActorDesc.h"
#include "platform/physics/scene.h"

#include <OGRE/Ogre.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{
constexpr float kTexelsPerUnit = 5.0f;
constexpr int kBoxRows = 10;         // boxes per side of the field
constexpr float kBoxSpacing = 12.0f;  // world units

void bakeTile(benchmark::State& state)
{
    HeadlessOgre::root();
    const float halfWidth = static_cast<float>(state.range(0)) / 2;
    PhysicBase physics(nullptr, nullptr, "/tmp/");
    nxOgre::scene* scene = physics.init();
    nxOgre::NxBoxShapeDesc box;
    box.dimensions = btVector3(1.5f, 2.0f, 1.5f);
    for (int row = 0; row < kBoxRows; ++row)
    {
        for (int column = 0; column < kBoxRows; ++column)
        {
            nxOgre::NxActorDesc desc;
            desc.shapes.push_back(&box);
            desc.globalPose.setOrigin(btVector3((column - kBoxRows / 2) * kBoxSpacing, 2.0f,
                                                (row - kBoxRows / 2) * kBoxSpacing));
            scene->createActor(desc);
        }
    }
    LightMapMeshes meshes;
    Ogre::Entity* ground = meshes.groundEntity("BenchGround", 2, 16, halfWidth);
    LightMapBakeParameters bake;
    bake.lightDirection = Ogre::Vector3(0.1f, -1.0f, 0.1f);
    bake.surfaceOffset = 0.1f;
    int size = 0;
    for (auto _ : state)
    {
        CLightMap map(&physics, ground->getSubEntity(0), kTexelsPerUnit, 0, false, bake);
        size = map.getSize();
        benchmark::DoNotOptimize(map.lightAt(0, 0));
    }
    state.counters["size"] = size;
    state.counters["texels/s"] = benchmark::Counter(static_cast<double>(size) * size * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}
}

// Tile widths in world units: 48 bakes 256², 96 bakes 512².
BENCHMARK(bakeTile)->Arg(48)->Arg(96)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
