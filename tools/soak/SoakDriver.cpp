// Runs the game with a driver that restarts the engine several times (the options menu's
// restart path), then loads and unloads a built-in track many times the way a race does
// (terrain, tiles, lightmaps, boundaries, terrain collision; unloaded by replacing the
// race scene). After each cycle it prints the resident memory and open file descriptors, and
// for a track cycle the time its load took.
// usage: quillmor_soak [restarts] [track loads] [track file]   (run from the build's bin folder)
#include "GameManager.h"
#include "GameScene.h"
#include "RunGame.h"
#include "XMLParser.h"
#include "track/MapDescription.h"

#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreTextureManager.h>

#include <dirent.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace
{
constexpr int kFramesPerCycle = 30;

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int openDescriptors()
{
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd"))
    {
        while (readdir(folder))
            ++count;
        closedir(folder);
    }
    return count - 3;  // ".", ".." and the listing's own descriptor
}

size_t resourceCount(Ogre::ResourceManager& manager)
{
    size_t count = 0;
    for (auto it = manager.getResourceIterator(); it.hasMoreElements(); it.moveNext())
        ++count;
    return count;
}

// The track as a race loads it, into the current race scene.
void loadTrack(GameScene& scene, const std::string& trackPath)
{
    auto description = XMLParser::getInstance()->loadMapDescription(trackPath);
    description->filePath = trackPath;
    scene.load(*description, nullptr);
    scene.enable();
}
}

int main(int argc, char** argv)
{
    const int restarts = argc > 1 ? std::atoi(argv[1]) : 5;
    const int trackLoads = argc > 2 ? std::atoi(argv[2]) : 20;
    const std::string trackPath = argc > 3 ? argv[3] : "../media/maps/TestLoop.map";
    int cycle = 0;
    int frames = 0;
    long loadMilliseconds = 0;

    GameManager* manager = GameManager::getInstance();
    manager->setFrameHook([&](GameManager* game) {
        const bool trackPhase = cycle > restarts;
        // Counted first: enabling the race scene renders a test frame, which calls this hook again.
        if (++frames == 1 && trackPhase)
        {
            const auto begin = std::chrono::steady_clock::now();
            loadTrack(*game->getGameScene(), trackPath);
            loadMilliseconds = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                     std::chrono::steady_clock::now() - begin)
                                                     .count());
        }
        if (frames < kFramesPerCycle)
            return true;
        frames = 0;
        std::printf("cycle %d %s rss_kb %ld fds %d meshes %zu materials %zu textures %zu load_ms %ld\n", cycle,
                    trackPhase ? "track" : "engine", residentKilobytes(), openDescriptors(),
                    resourceCount(Ogre::MeshManager::getSingleton()),
                    resourceCount(Ogre::MaterialManager::getSingleton()),
                    resourceCount(Ogre::TextureManager::getSingleton()), trackPhase ? loadMilliseconds : 0L);
        std::fflush(stdout);
        ++cycle;
        if (cycle <= restarts)
        {
            game->requestRestart();
            return false;
        }
        if (trackPhase)
        {
            game->resetGameScene();
        }
        return cycle <= restarts + trackLoads;
    });
    return runGame(*manager);
}
