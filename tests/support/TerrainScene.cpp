// Headless terrain set-up for tests and benchmarks.
#include "TerrainScene.h"

#include "HeadlessOgre.h"
#include "TerrainFiles.h"

#include <OGRE/Ogre.h>

TerrainScene::TerrainScene()
{
    TerrainFiles::prepareEngine();
    sceneManager = HeadlessOgre::createSceneManager();
    source = std::make_unique<TerrainPageSource>(sceneManager);
    terrain = std::make_unique<TerrainObject>(sceneManager, source.get());
    source->addListener(terrain.get());
}

TerrainScene::~TerrainScene()
{
    source->removeListener(terrain.get());
    terrain.reset();
    source.reset();
    HeadlessOgre::root().destroySceneManager(sceneManager);
}
