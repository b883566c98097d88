// Test scene for the race display: the race rules over a plain ground with the overlay
// "OnScreenGUI" and the arrow to the next checkpoint, screenshots during the start
// countdown and after the start. Checks that the countdown, the green arrow (whole, in the race's
// narrowest view) and the clock's label show and that the engine logged no error.
// usage: quillmor_hudscene <Plugins.cfg> <media folder> <screenshot prefix>
#include "GamePlay.h"
#include "SpeedEffects.h"
#include "track/CheckPointTracker.h"

#include "ScreenshotChecks.h"
#include "ToolEngine.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

namespace
{
constexpr unsigned kWidth = 800;   // pixels
constexpr unsigned kHeight = 600;  // pixels
constexpr float kStep = 0.01f;     // seconds
const Region kCountdownRegion{300, 150, 500, 300};
const Region kArrowRegion{250, 0, 550, 260};
const Region kTopEdge{0, 0, kWidth, 2};
const Region kTimeLabelRegion{10, 8, 70, 34};  // "Time", left of the race clock

// Two physics steps and a frame.
void raceFrames(Ogre::Root& root, GamePlay& play, int frames)
{
    for (int i = 0; i < frames; ++i) {
        play.update(kStep);
        play.update(kStep);
        play.updateGUI();
        OgreBites::WindowEventUtilities::messagePump();
        root.renderOneFrame(2 * kStep);
    }
}

bool logHasErrors(const std::string& logFile)
{
    std::ifstream log(logFile);
    std::string line;
    bool errors = false;
    while (std::getline(log, line))
        if (line.find("Error") != std::string::npos || line.find("Exception") != std::string::npos) {
            std::cout << "log: " << line << "\n";
            errors = true;
        }
    return errors;
}

bool yellow(int r, int g, int b)
{
    return r > 180 && g > 150 && b < 100;
}

// The labels' pale straw.
bool straw(int r, int g, int b)
{
    return r > 170 && g > 170 && b > 90 && b < 190;
}

bool green(int r, int g, int b)
{
    return g > 40 && g > 2 * r && g > 2 * b;
}

int run(const std::string& pluginsFile, const std::string& mediaDir, const std::string& prefix)
{
    const std::string logFile = prefix + ".ogre.log";
    const std::unique_ptr<ToolEngine> engine = ToolEngine::start(pluginsFile, logFile, "hudscene", kWidth, kHeight);
    if (!engine)
        return 1;
    Ogre::Root& root = *engine->root;
    auto overlaySystem = std::make_unique<Ogre::OverlaySystem>();
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.addResourceLocation(mediaDir + "/overlays", "FileSystem", Ogre::RGN_DEFAULT);
    groups.addResourceLocation("/usr/share/fonts/truetype/dejavu", "FileSystem", Ogre::RGN_DEFAULT);
    groups.initialiseAllResourceGroups();

    // The race's own kind of scene manager: its nodes bound only their own objects.
    Ogre::SceneManager* scene = root.createSceneManager("OctreeSceneManager");
    scene->addRenderQueueListener(overlaySystem.get());
    scene->setAmbientLight(Ogre::ColourValue(0.6f, 0.6f, 0.6f));
    addDirectionalLight(*scene, "sun", Ogre::Vector3(0.3f, -1.0f, -0.4f), Ogre::ColourValue(0.8f, 0.8f, 0.8f));
    Ogre::Camera* camera = scene->createCamera("view");
    camera->setNearClipDistance(0.1f);
    camera->setFarClipDistance(3000.0f);
    // The race's view standing still, its narrowest.
    camera->setFOVy(Ogre::Degree(SpeedEffects::fieldOfView(0.0f, static_cast<float>(kWidth) / kHeight)));
    camera->setAspectRatio(static_cast<float>(kWidth) / kHeight);
    scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 3, 0))->attachObject(camera);
    engine->window->addViewport(camera)->setBackgroundColour(Ogre::ColourValue(0.35f, 0.45f, 0.6f));

    CheckPointTracker tracker;
    tracker.setStart(Ogre::Vector2(0, 0), 0);
    tracker.addCheckPointByDirection(1, Ogre::Vector2(0, -200), 0);
    tracker.setFinish(Ogre::Vector2(0, -400), 0);

    const std::string table = prefix + ".sde";
    std::remove(table.c_str());
    GamePlay play(scene, &tracker, nullptr, table);
    play.setGUIVisible(true);
    bool ok = check(play.getArrowNode() != nullptr, "the display and its arrow are built");

    play.startRace();
    raceFrames(root, play, 10);
    ok &= check(play.getCaption("Countdown") == "3", "the countdown shows 3 (" + play.getCaption("Countdown") + ")");
    const Ogre::Image counting = takeScreenshot(*engine->window, prefix + "_countdown.png");
    const size_t digits = countPixels(counting, kCountdownRegion, yellow);
    ok &= check(digits > 200, "the countdown digit is drawn (" + std::to_string(digits) + " pixels)");
    const size_t arrow = countPixels(counting, kArrowRegion, green);
    ok &= check(arrow > 200, "the green arrow is drawn (" + std::to_string(arrow) + " pixels)");
    const size_t cut = countPixels(counting, kTopEdge, green);
    ok &= check(cut == 0, "the arrow pointing ahead is not cut off at the top (" + std::to_string(cut) + " pixels on the edge)");

    raceFrames(root, play, 160);
    ok &= check(play.getPhase() == RaceRules::kRacing, "the race has started");
    ok &= check(play.getCaption("Countdown").empty(), "the countdown is gone");
    ok &= check(play.getCaption("RaceTime") != "00:00:00:00", "the race clock runs (" + play.getCaption("RaceTime") + ")");
    const Ogre::Image racing = takeScreenshot(*engine->window, prefix + "_racing.png");
    const size_t label = countPixels(racing, kTimeLabelRegion, straw);
    ok &= check(label > 40, "the clock's label is drawn (" + std::to_string(label) + " pixels)");

    play.setGUIVisible(false);
    raceFrames(root, play, 2);
    const Ogre::Image hidden = takeScreenshot(*engine->window, prefix + "_hidden.png");
    ok &= check(countPixels(hidden, kArrowRegion, green) < 20, "hiding the display hides the arrow");
    ok &= check(!logHasErrors(logFile), "no error in the engine's log");
    return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: quillmor_hudscene <Plugins.cfg> <media folder> <screenshot prefix>\n";
        return 2;
    }
    try {
        return run(argv[1], argv[2], argv[3]);
    } catch (const Ogre::Exception& error) {
        std::cerr << "hudscene: " << error.getFullDescription() << "\n";
        return 1;
    }
}
