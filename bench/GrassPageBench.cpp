// Loading one grass page of the race's size (50 x 50 units) at the race's blade density,
// headless: population, the blade mesh, its entity and the page's clone, then the unload.
#include "HeadlessOgre.h"
#include "paging/GeometryPager.h"
#include "paging/GrassLoader.h"
#include "paging/GrassPage.h"

#include <OGRE/Ogre.h>
#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
void loadGrassPage(benchmark::State& state)
{
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    Ogre::Camera* camera = scene->createCamera("Viewer");
    scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(25.0f, 2.0f, 25.0f))->attachObject(camera);
    if (!Ogre::MaterialManager::getSingleton().resourceExists("GrassPageBench/Blade"))
        Ogre::MaterialManager::getSingleton().create("GrassPageBench/Blade", Ogre::RGN_DEFAULT);
    uint32_t nowMs = 0;
    {
        GeometryPager pager(camera, 50.0f, [&nowMs] { return nowMs; });
        pager.setBounds(TBounds(0.0f, 0.0f, 50.0f, 50.0f));  // one page
        pager.addDetailLevel<GrassPage>(100.0f, 0.0f);
        GrassLoader grass(&pager);
        grass.setHeightFunction([](float x, float z) { return std::sin(x * 0.02f) * std::cos(z * 0.02f); });
        GrassLayer* layer = grass.addLayer("GrassPageBench/Blade");
        layer->setDensity(2.5f);  // the race's top grass setting
        layer->setMinimumSize(1.0f, 0.4f);
        layer->setMaximumSize(1.2f, 0.6f);
        layer->setRenderTechnique(static_cast<GrassTechnique>(state.range(0)), true);
        pager.setPageLoader(&grass);
        // The first loads of a process pay for growing the heap: leave them out.
        for (int warmUp = 0; warmUp < 20; ++warmUp)
        {
            pager.reloadGeometry();
            nowMs += 1000;  // past the wait between queued loads
            pager.update();
        }
        for (auto _ : state)
        {
            pager.reloadGeometry();
            nowMs += 1000;  // past the wait between queued loads
            pager.update();
            if (grass.getLiveMeshCount() != 1)
            {
                state.SkipWithError("the page did not load");
                break;
            }
        }
        pager.removeDetailLevels();
    }
    HeadlessOgre::root().destroySceneManager(scene);
}
BENCHMARK(loadGrassPage)->ArgName("technique")->Arg(GRASSTECH_QUAD)->Arg(GRASSTECH_CROSSQUADS)->Arg(GRASSTECH_SPRITE)
    ->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();
