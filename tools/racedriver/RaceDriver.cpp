// Runs the game with a frame hook that does what the loading screen will do: loads a
// built-in track into the race scene and changes to the play state. While the race runs
// it prints the car's speed and position and the frame rate; the keys come from outside
// (xdotool). Writing "next" into the control file leaves the race for the next track, or
// ends the game after the last.
// usage: quillmor_racedriver <control file> <track file>...   (run from the build's bin folder)
#include "GameManager.h"
#include "GamePlay.h"
#include "GameScene.h"
#include "PlayState.h"
#include "RunGame.h"
#include "XMLParser.h"
#include "gui/MainMenuState.h"
#include "physic/Car.h"
#include "track/DataFileError.h"
#include "track/MapDescription.h"

#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneNode.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace
{
constexpr int kReportEveryFrames = 10;
constexpr long kFpsEveryMilliseconds = 2000;
using Clock = std::chrono::steady_clock;
const Clock::time_point kLaunched = Clock::now();

long millisecondsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The command written into the control file since the last look, which is then emptied.
std::string takeCommand(const std::string& path)
{
    std::ifstream in(path);
    std::string command;
    if (!(in >> command))
        return "";
    in.close();
    std::ofstream(path, std::ios::trunc);
    return command;
}

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
}

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: quillmor_racedriver <control file> <track file>...\n");
        return 2;
    }
    const std::string control = argv[1];
    const std::vector<std::string> tracks(argv + 2, argv + argc);
    std::ofstream(control, std::ios::trunc);
    size_t next = 0;
    bool racing = false;
    bool announced = false;
    long frames = 0;
    long framesAtReady = 0;
    Clock::time_point readyAt = Clock::now();
    long framesAtFps = 0;
    Clock::time_point fpsAt = Clock::now();

    GameManager* manager = GameManager::getInstance();
    manager->setFrameHook([&](GameManager* game) {
        if (!racing)
        {
            if (next == tracks.size())
            {
                std::printf("peak rss_kb %ld\n", residentKilobytes());
                return false;
            }
            const std::string& path = tracks[next++];
            const Clock::time_point begin = Clock::now();
            try
            {
                auto description = XMLParser::getInstance()->loadMapDescription(path);
                description->filePath = path;
                description->standardMap = true;
                game->getGameScene()->load(*description, nullptr);
            }
            catch (const DataFileError& error)
            {
                std::printf("load failed %s: %s\n", path.c_str(), error.what());
                std::fflush(stdout);
                game->resetGameScene();
                return true;
            }
            std::printf("track %s loaded in %ld ms\n", path.c_str(), millisecondsSince(begin));
            std::fflush(stdout);
            game->changeState(PlayState::getInstance());
            racing = true;
            announced = false;
            frames = 0;
            return true;
        }
        PlayState* play = PlayState::getInstance();
        if (!announced && !play->isStartingUp())
        {
            std::printf("race ready: first race frame after %ld ms\n", millisecondsSince(kLaunched));
            std::fflush(stdout);
            announced = true;
            framesAtReady = frames;
            readyAt = Clock::now();
            framesAtFps = frames;
            fpsAt = readyAt;
        }
        ++frames;
        if (Car* car = game->getGameScene()->getCar(); car && frames % kReportEveryFrames == 0)
        {
            const Ogre::Vector3 at = car->getNode()->getPosition();
            const GamePlay* rules = game->getGameScene()->getGamePlay();
            // The race clock counts physics steps: waits on it are fair however slow the frames.
            std::printf("speed %.1f at %.1f %.1f heading %.1f throttle %.1f gear %d rpm %.0f race %.2f phase %d\n",
                        car->getSpeedKmh(), at.x, at.z, car->getHeadingAngle(), car->getThrottle(), car->getGear(),
                        car->getRpm(), rules ? rules->getRules().getTimer().getTime() / 1000.0 : 0.0,
                        rules ? rules->getPhase() : -1);
        }
        // By the clock, not by frames: a slow race still reports often.
        if (const long elapsed = millisecondsSince(fpsAt); elapsed >= kFpsEveryMilliseconds)
        {
            const Ogre::RenderTarget::FrameStats& stats = game->getRenderWindow()->getStatistics();
            std::printf("fps %.1f triangles %zu batches %zu\n", (frames - framesAtFps) * 1000.0 / elapsed,
                        stats.triangleCount, stats.batchCount);
            framesAtFps = frames;
            fpsAt = Clock::now();
        }
        std::fflush(stdout);
        if (takeCommand(control) == "next")
        {
            std::printf("raced %ld frames in %ld ms\n", frames - framesAtReady, millisecondsSince(readyAt));
            // The menus over the race (the in-game menu after Escape) go first.
            while (game->getCurrentState() != play)
                game->popState();
            game->changeState(MainMenuState::getInstance());
            racing = false;
        }
        return true;
    });
    return runGame(*manager);
}
