// A headless scene manager with a terrain page source and the TerrainObject listening to it,
// as the race scene sets them up; torn down in the reverse order.
#pragma once

#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include <memory>

namespace Ogre
{
class SceneManager;
}

struct TerrainScene
{
    TerrainScene();
    ~TerrainScene();
    TerrainScene(const TerrainScene&) = delete;
    TerrainScene& operator=(const TerrainScene&) = delete;

    Ogre::SceneManager* sceneManager;
    std::unique_ptr<TerrainPageSource> source;
    std::unique_ptr<TerrainObject> terrain;
};
