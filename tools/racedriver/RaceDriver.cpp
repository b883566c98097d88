// Runs the game with a frame hook that does what the loading screen will do: enables the
// race scene, loads a built-in track into it and changes to the play state, printing how many
// trees it planted. While the race runs it prints the car's speed and position, the frame rate,
// the longest of the race's first frames and the speed blur switching; the keys come from
// outside (xdotool). Commands written into the control file, one at a time:
//   next          leaves the race for the next track, or ends the game after the last
//   sky <hours>   stands the advanced sky's clock at that time of day (the race keeps 10:00)
//   shot <file>   writes a screenshot a few frames later, once the sky has caught up
//   tree <radius> [entity]   names the tree nearest the car with none other within radius and
//                 a clear run-up towards it along +x; with an entity name, a tree of that kind
//   put <x> <z> <heading degrees>   stands the car there, at rest (heading 0: facing +x)
//   launch <km/h> sets the car moving along its heading at that speed, its wheels rolling with it
//   report <frames>   reports the car every that many frames from now on
//   ray <x> <y> <z> <dx> <dy> <dz> <length>   the static shape a ray hits first
//   timescale <factor>   runs the race clock that many times the wall clock, in this race and
//                 the next (the physics still simulates at most 0.1 s a frame, in its fixed steps)
// usage: quillmor_racedriver <control file> <track file>...   (run from the build's bin folder)
#include "DebugOverlay.h"
#include "GameManager.h"
#include "GamePlay.h"
#include "GameScene.h"
#include "PlayState.h"
#include "RaceSky.h"
#include "RunGame.h"
#include "TreeLoader.h"
#include "TreeProbe.h"
#include "VegetationManager.h"
#include "XMLParser.h"
#include "graphics/Screenshot.h"
#include "gui/MainMenuState.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "sky/DayClock.h"
#include "sky/SkySystem.h"
#include "track/DataFileError.h"
#include "track/MapDescription.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
constexpr int kReportEveryFrames = 10;  // until "report" asks for another
constexpr long kFpsEveryMilliseconds = 2000;
constexpr size_t kStartFrames = 30;  // reported once: the start-up and the countdown's first frames
// A sky update shows in the frame after it, and the window holds the frame before the hook.
constexpr long kShotDelayFrames = 3;
using Clock = std::chrono::steady_clock;
const Clock::time_point kLaunched = Clock::now();

long millisecondsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The command line written into the control file since the last look, which is then emptied.
std::string takeCommand(const std::string& path)
{
    std::ifstream in(path);
    std::string command;
    if (!std::getline(in, command) || command.empty())
        return "";
    in.close();
    std::ofstream(path, std::ios::trunc);
    return command;
}

// Stands the race's advanced sky at a time of day; false when the race has none.
bool setSkyHour(GameScene& scene, double hours)
{
    const RaceSky* raceSky = scene.getRaceSky();
    if (!raceSky || !raceSky->getSkySystem())
        return false;
    sky::DayClock* clock = raceSky->getSkySystem()->getDayClock();
    clock->setCurrentTime(hours * 3600.0);
    clock->forceUpdate();
    return true;
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
    bool blurActive = false;
    int reportEvery = kReportEveryFrames;
    std::vector<long> startFrames;  // milliseconds
    Clock::time_point lastFrameAt = Clock::now();
    std::string shotPath;
    long shotAtFrame = -1;
    float timeScale = 1.0f;

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
                game->getGameScene()->enable();  // as the loading screen does
                game->getGameScene()->load(*description, nullptr);
            }
            catch (const DataFileError& error)
            {
                std::printf("load failed %s: %s\n", path.c_str(), error.what());
                std::fflush(stdout);
                game->resetGameScene();
                return true;
            }
            game->getGameScene()->getPhysicBase()->setTimeScale(timeScale);
            std::printf("track %s loaded in %ld ms\n", path.c_str(), millisecondsSince(begin));
            // The game's log says nothing of the desert's trees.
            if (const VegetationManager* vegetation = game->getGameScene()->getVegetation();
                vegetation && vegetation->getTreeLoader())
                std::printf("trees planted: %u\n", vegetation->getTreeLoader()->getTreesAdded());
            std::fflush(stdout);
            game->changeState(PlayState::getInstance());
            racing = true;
            startFrames.clear();
            lastFrameAt = Clock::now();
            announced = false;
            blurActive = false;
            shotAtFrame = -1;
            frames = 0;
            return true;
        }
        PlayState* play = PlayState::getInstance();
        // The frames of the race's first seconds, each from one call to the next.
        if (startFrames.size() < kStartFrames)
        {
            startFrames.push_back(millisecondsSince(lastFrameAt));
            lastFrameAt = Clock::now();
            if (startFrames.size() == kStartFrames)
            {
                std::vector<long> sorted = startFrames;
                std::sort(sorted.begin(), sorted.end());
                const auto longest = std::max_element(startFrames.begin(), startFrames.end());
                std::printf("start frames %zu: longest %ld ms (frame %ld), median %ld ms\n", startFrames.size(),
                            *longest, static_cast<long>(longest - startFrames.begin()), sorted[sorted.size() / 2]);
                std::fflush(stdout);
            }
        }
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
        if (Car* car = game->getGameScene()->getCar(); car && frames % reportEvery == 0)
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
            const Ogre::RenderTarget::FrameStats stats = DebugOverlay::frameStatistics(*game->getRenderWindow());
            std::printf("fps %.1f triangles %zu batches %zu\n", (frames - framesAtFps) * 1000.0 / elapsed,
                        stats.triangleCount, stats.batchCount);
            framesAtFps = frames;
            fpsAt = Clock::now();
        }
        if (const bool blur = game->getGameScene()->isMotionBlurActive(); blur != blurActive)
        {
            blurActive = blur;
            std::printf("motion blur %s\n", blur ? "on" : "off");
        }
        if (frames == shotAtFrame)
        {
            std::string problem;
            if (writeScreenshot(*game->getRenderWindow(), shotPath, &problem))
                std::printf("shot %s written\n", shotPath.c_str());
            else
                std::printf("shot %s failed: %s\n", shotPath.c_str(), problem.c_str());
            shotAtFrame = -1;
        }
        std::istringstream command(takeCommand(control));
        std::string verb;
        command >> verb;
        if (verb == "sky")
        {
            double hours = 0.0;
            if (!(command >> hours))
                std::printf("sky: no hour given\n");
            else if (setSkyHour(*game->getGameScene(), hours))
                std::printf("sky at %.2f h\n", hours);
            else
                std::printf("sky: the race has no advanced sky\n");
        }
        else if (verb == "shot")
        {
            if (command >> shotPath)
                shotAtFrame = frames + kShotDelayFrames;
            else
                std::printf("shot: no file given\n");
        }
        else if (verb == "tree")
        {
            float radius = 0.0f;
            std::string entity;  // optional
            if (!(command >> radius))
                std::printf("tree: no radius given\n");
            else if (command >> entity; const auto tree = TreeProbe::loneTree(*game->getGameScene(), radius, entity))
                std::printf("tree at %.2f %.2f %.2f kind %s\n", tree->position.x, tree->position.y,
                            tree->position.z, tree->entity->getName().c_str());
            else
                std::printf("tree: none of %s stands alone within %.1f\n", entity.empty() ? "the kinds" : entity.c_str(),
                            radius);
        }
        else if (verb == "put")
        {
            float x = 0.0f, z = 0.0f, heading = 0.0f;
            Car* car = game->getGameScene()->getCar();
            if (!(command >> x >> z >> heading))
                std::printf("put: give x, z and a heading\n");
            else if (!car)
                std::printf("put: the race has no car\n");
            else
            {
                car->setPose(Ogre::Vector3(x, 0.0f, z), Ogre::Quaternion(Ogre::Degree(heading), Ogre::Vector3::UNIT_Y));
                std::printf("put at %.2f %.2f\n", x, z);
            }
        }
        else if (verb == "launch")
        {
            float speedKmh = 0.0f;
            Car* car = game->getGameScene()->getCar();
            if (!(command >> speedKmh))
                std::printf("launch: give a speed in km/h\n");
            else if (!car)
                std::printf("launch: the race has no car\n");
            else
            {
                car->setRollingSpeed(speedKmh);
                std::printf("launched at %.1f km/h\n", speedKmh);
            }
        }
        else if (verb == "report")
        {
            int every = 0;
            if (command >> every && every > 0)
            {
                reportEvery = every;
                std::printf("reporting every %d frames\n", every);
            }
            else
                std::printf("report: give a number of frames above 0\n");
        }
        else if (verb == "ray")
        {
            Ogre::Vector3 origin, direction;
            float length = 0.0f;
            if (command >> origin.x >> origin.y >> origin.z >> direction.x >> direction.y >> direction.z >> length)
                std::printf("ray %s\n", TreeProbe::castRay(*game->getGameScene(), origin, direction, length).c_str());
            else
                std::printf("ray: give an origin, a direction and a length\n");
        }
        else if (verb == "timescale")
        {
            float factor = 0.0f;
            if (!(command >> factor) || !(factor > 0.0f))
                std::printf("timescale: give a factor above 0\n");
            else
            {
                timeScale = factor;
                game->getGameScene()->getPhysicBase()->setTimeScale(timeScale);
                std::printf("timescale %.2f\n", timeScale);
            }
        }
        else if (verb == "next")
        {
            std::printf("raced %ld frames in %ld ms\n", frames - framesAtReady, millisecondsSince(readyAt));
            // The menus over the race (the in-game menu after Escape) go first.
            while (game->getCurrentState() != play)
                game->popState();
            game->changeState(MainMenuState::getInstance());
            racing = false;
        }
        std::fflush(stdout);
        return true;
    });
    return runGame(*manager);
}
