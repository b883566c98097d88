// The headless race scene of the loaded-track tests and benchmark.
#include "RaceTestScene.h"

#include "HeadlessOgre.h"
#include "TerrainFiles.h"
#include "graphics/TempImageManagerTLM.h"
#include "physic/PhysicBase.h"

#include <OGRE/Ogre.h>

#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace
{
void parseMaterials(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("no material script " + path);
    Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(path, &file, false));
    Ogre::MaterialManager::getSingleton().parseScript(stream, Ogre::RGN_DEFAULT);
}
}

RaceTestScene::RaceTestScene(const std::string& cacheFolder)
{
    prepareMedia();
    physics = std::make_unique<PhysicBase>(nullptr, nullptr, logFolder.path());
    physicScene = physics->init();
    if (!cacheFolder.empty())
        cache = std::make_unique<TempImageManagerTLM>("lightmaps", cacheFolder);
}

RaceTestScene::~RaceTestScene() = default;

void RaceTestScene::prepareMedia()
{
    static bool prepared = false;
    if (prepared)
        return;
    TerrainFiles::prepareEngine();
    if (chdir(QUILLMOR_BUILD_DIR "/bin") != 0)
        throw std::runtime_error("no bin/ folder in the build");
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    // Read by hand rather than by initialising the group: its other scripts want a renderer.
    groups.addResourceLocation("../media/tiles", "FileSystem", Ogre::RGN_DEFAULT);
    groups.addResourceLocation("../media/terrain", "FileSystem", Ogre::RGN_DEFAULT);
    parseMaterials("../media/tiles/Tiles.material");
    parseMaterials("../media/terrain/Terrain.material");
    groups.addResourceLocation("../media/trees", "FileSystem", Ogre::RGN_DEFAULT);
    parseMaterials("../media/trees/Trees.material");
    prepared = true;
}
