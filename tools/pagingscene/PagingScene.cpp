// Test scene for the tree paging: ten thousand trees of a test mesh on a 1000 x 1000 ground,
// drawn by batch pages near a camera that flies a loop over the forest again and again, and
// by impostor pages farther out (unless "none" is asked for).
// Prints, per loop, the pages loaded, the frame times and the process's memory, writes a
// screenshot of the first and the last loop, and checks that trees are drawn, that the
// scene and the memory stay as they were from one loop to the next, and that the engine's
// log holds no error; with impostors, that far trees show in the band below the horizon.
// The impostor atlas is kept in the given folder (made if missing); one that can't be written
// there is logged and the trees are drawn all the same. The pager runs on a clock of 60 frames
// a second, so every run loads the same pages; the frame times are the machine's own.
// usage: quillmor_pagingscene <Plugins.cfg> <output prefix> [loops] [frames per loop]
//        [impostors|none] [atlas folder]
#include "ForestLoader.h"
#include "TreeMesh.h"
#include "paging/BatchPage.h"
#include "paging/GeometryPager.h"
#include "paging/ImpostorPage.h"
#include "paging/ImpostorTexture.h"

#include "LogStream.h"
#include "SceneFigures.h"
#include "ScreenshotChecks.h"
#include "ToolEngine.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr unsigned kWidth = 800;   // pixels
constexpr unsigned kHeight = 600;  // pixels
constexpr int kTreeCount = 10000;
const TBounds kForest(0.0f, 0.0f, 1000.0f, 1000.0f);  // world units
constexpr float kPageSize = 50.0f;         // world units, as the race's trees
constexpr float kBatchRange = 150.0f;      // world units, the race's far batch range
constexpr float kImpostorRange = 1000.0f;  // world units, the race's far impostor range
constexpr float kLoopRadius = 300.0f;      // world units, around the forest's middle
constexpr float kFlightHeight = 22.0f;     // world units, a little above the tree tops
constexpr uint32_t kFrameMs = 16;          // the pager's clock per frame
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;  // the sanitizer holds freed memory back
#else
constexpr bool kMemoryMeasurable = true;
#endif
// Memory the process may gain over the second half of the loops (heap noise).
constexpr long kMemorySlackKb = 4096;

size_t materialCount()
{
    size_t count = 0;
    for (const auto& entry : Ogre::MaterialManager::getSingleton().getResourceIterator())
        count += entry.second ? 1 : 0;
    return count;
}

bool leafGreen(int r, int g, int b) { return g > 40 && g > r + r / 4 && g > b + b / 4; }

// Rows just below the horizon: the tops of trees farther than the batch range, and nothing
// nearer (the camera flies above every tree top).
constexpr int kFarBandTop = 142;     // pixels from the top, the horizon of an 800 x 600 view
constexpr int kFarBandHeight = 30;   // pixels

// Where the camera is at a fraction 0..1 of the loop, looking along it and a little down.
void placeCamera(Ogre::SceneNode& node, float fraction)
{
    const float angle = Ogre::Math::TWO_PI * fraction;
    const Ogre::Vector3 middle(kForest.left + 0.5f * kForest.width(), kFlightHeight,
                               kForest.top + 0.5f * kForest.height());
    node.setPosition(middle + kLoopRadius * Ogre::Vector3(std::cos(angle), 0.0f, std::sin(angle)));
    const Ogre::Vector3 ahead(-std::sin(angle), -0.22f, std::cos(angle));
    node.setDirection(ahead.normalisedCopy(), Ogre::Node::TS_WORLD);
}

struct LoopFigures
{
    int loads = 0;
    double medianFrameMs = 0.0;
    double seconds = 0.0;  // real time of the loop
    long residentKb = 0;
    size_t loadedPages = 0;
    size_t sceneNodes = 0;
    size_t materials = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

int run(const std::string& pluginsFile, const std::string& prefix, int loops, int framesPerLoop,
        bool impostors, const std::string& atlasFolder)
{
    LogStream::getInstance()->open(prefix + ".debug.log");
    const std::string logFile = prefix + ".ogre.log";
    const std::unique_ptr<ToolEngine> engine =
        ToolEngine::start(pluginsFile, logFile, "pagingscene", kWidth, kHeight);
    if (!engine)
        return 1;
    Ogre::Root& root = *engine->root;
    Ogre::RenderWindow& window = *engine->window;
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();

    Ogre::SceneManager* scene = root.createSceneManager();
    scene->setAmbientLight(Ogre::ColourValue(0.45f, 0.45f, 0.45f));
    addDirectionalLight(*scene, "sun", Ogre::Vector3(-0.4f, -1.0f, -0.3f), Ogre::ColourValue(0.9f, 0.88f, 0.8f));
    Ogre::Camera* camera = scene->createCamera("flight");
    camera->setNearClipDistance(0.5f);
    camera->setFarClipDistance(2000.0f);
    camera->setAspectRatio(static_cast<float>(kWidth) / kHeight);
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode();
    cameraNode->attachObject(camera);
    cameraNode->setFixedYawAxis(true);  // level flight: no roll
    placeCamera(*cameraNode, 0.0f);
    Ogre::Viewport* viewport = window.addViewport(camera);
    viewport->setBackgroundColour(Ogre::ColourValue(0.55f, 0.7f, 0.9f));

    Ogre::MaterialPtr groundMaterial =
        Ogre::MaterialManager::getSingleton().create("PagingScene/Ground", Ogre::RGN_DEFAULT);
    groundMaterial->getTechnique(0)->getPass(0)->setDiffuse(0.45f, 0.38f, 0.28f, 1.0f);
    groundMaterial->getTechnique(0)->getPass(0)->setAmbient(0.45f, 0.38f, 0.28f);
    Ogre::MeshManager::getSingleton().createPlane(
        "PagingSceneGround", Ogre::RGN_DEFAULT, Ogre::Plane(Ogre::Vector3::UNIT_Y, 0.0f), 4000.0f,
        4000.0f, 1, 1, true, 1, 1.0f, 1.0f, Ogre::Vector3::UNIT_Z);
    Ogre::Entity* ground = scene->createEntity("ground", "PagingSceneGround");
    ground->setMaterial(groundMaterial);
    scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(500.0f, 0.0f, 500.0f))->attachObject(ground);

    // The tree entity is only the template the batches copy; it is never attached.
    Ogre::Entity* tree = scene->createEntity("tree", TreeMesh::create(*scene, "PagingSceneTree"));
    ForestLoader forest(tree, kForest, kTreeCount, kPageSize);

    uint32_t clockMs = 0;
    auto pager = std::make_unique<GeometryPager>(nullptr, 100.0f, [&clockMs] { return clockMs; });
    pager->setCamera(camera);
    pager->setPageSize(kPageSize);
    pager->setBounds(kForest);
    pager->setImpostorCacheFolder(atlasFolder);
    pager->addDetailLevel<BatchPage>(kBatchRange, 0.0f);
    if (impostors)
        pager->addDetailLevel<ImpostorPage>(kImpostorRange, 0.0f);
    pager->setPageLoader(&forest);
    const GeometryPageManager& level = *pager->getDetailLevels().front();
    const size_t materialsBefore = materialCount();

    bool ok = true;
    std::vector<LoopFigures> figures;
    for (int loop = 1; loop <= loops; ++loop)
    {
        LoopFigures now;
        const int loadsBefore = forest.loads;
        std::vector<double> frameMs;
        const auto loopStart = std::chrono::steady_clock::now();
        for (int frame = 0; frame < framesPerLoop; ++frame)
        {
            const auto frameStart = std::chrono::steady_clock::now();
            placeCamera(*cameraNode, static_cast<float>(frame) / framesPerLoop);
            clockMs += kFrameMs;
            pager->update();
            OgreBites::WindowEventUtilities::messagePump();
            root.renderOneFrame(kFrameMs / 1000.0f);
            frameMs.push_back(std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - frameStart).count());
            if (frame == framesPerLoop / 4 && (loop == 1 || loop == loops))
            {
                const std::string shotName = prefix + "_loop" + std::to_string(loop) + ".png";
                const Ogre::Image shot = takeScreenshot(window, shotName);
                const size_t leaves = countPixels(shot, Region{0, 0, int(kWidth), int(kHeight)}, leafGreen);
                std::cout << shotName << ": " << leaves << " leaf-green pixels of " << kWidth * kHeight << "\n";
                ok &= check(leaves > kWidth * kHeight / 20, "trees fill the view in loop " + std::to_string(loop));
                const size_t farLeaves = countPixels(shot, Region{0, kFarBandTop, int(kWidth), kFarBandTop + kFarBandHeight}, leafGreen);
                std::cout << shotName << ": " << farLeaves << " leaf-green pixels of " << kWidth * kFarBandHeight
                          << " in the far band\n";
                if (impostors)
                    ok &= check(farLeaves > kWidth * kFarBandHeight / 4,
                                "far trees show as impostors in loop " + std::to_string(loop));
            }
        }
        now.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loopStart).count();
        now.loads = forest.loads - loadsBefore;
        now.medianFrameMs = median(frameMs);
        now.residentKb = residentKb();
        now.loadedPages = level.getLoadedPageCount();
        now.sceneNodes = scene->getRootSceneNode()->numChildren();
        now.materials = materialCount();
        std::cout << "loop " << std::setw(2) << loop << ": " << std::setw(4) << now.loads << " pages loaded ("
                  << std::fixed << std::setprecision(1) << now.loads / now.seconds << " per second), "
                  << "median frame " << std::setprecision(2) << now.medianFrameMs << " ms ("
                  << std::setprecision(0) << 1000.0 / now.medianFrameMs << " fps), memory "
                  << now.residentKb << " kB, " << now.loadedPages << " pages held, " << now.sceneNodes
                  << " scene nodes, " << now.materials << " materials\n";
        figures.push_back(now);
    }

    ok &= check(figures.front().loads > 0, "pages load as the camera flies");
    if (figures.size() >= 3)
    {
        // The first loop starts from nothing; from the second on every loop ends as it began.
        const LoopFigures& second = figures[1];
        bool steady = true;
        for (size_t i = 2; i < figures.size(); ++i)
            steady = steady && figures[i].loads == second.loads &&
                     figures[i].loadedPages == second.loadedPages &&
                     figures[i].sceneNodes == second.sceneNodes && figures[i].materials == second.materials;
        ok &= check(steady, "every loop loads the same pages and leaves the same scene and materials");
        ok &= check(figures.back().loads > 0, "pages left behind unload and load again on the next loop");
        // The heap and the GL driver settle over the first few loops; from the middle on
        // nothing may grow. The last loop is left out: its screenshot alone adds megabytes.
        const LoopFigures& middle = figures[figures.size() / 2];
        const long grownKb = figures[figures.size() - 2].residentKb - middle.residentKb;
        if (kMemoryMeasurable)
            ok &= check(grownKb <= kMemorySlackKb,
                        "memory stays flat (" + std::to_string(grownKb) + " kB over the second half of the loops)");
    }

    if (impostors)
        ok &= check(ImpostorTexture::registeredCount() == 1, "one atlas for the one tree mesh");
    pager.reset();  // the batches' scene nodes go before the scene
    ok &= check(materialCount() == materialsBefore, "the pages' material copies and atlas materials are gone");
    ok &= check(ImpostorTexture::registeredCount() == 0, "the atlas goes with the last impostor page");
    root.destroySceneManager(scene);
    ok &= check(!logHasErrors(logFile), "no error in the engine's log");
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5 && argc != 6 && argc != 7)
    {
        std::cerr << "usage: quillmor_pagingscene <Plugins.cfg> <output prefix> [loops] [frames per loop]"
                     " [impostors|none] [atlas folder]\n";
        return 2;
    }
    const int loops = argc >= 5 ? std::max(1, std::atoi(argv[3])) : 10;
    const int framesPerLoop = argc >= 5 ? std::max(8, std::atoi(argv[4])) : 600;
    const bool impostors = argc < 6 || std::string(argv[5]) != "none";
    const std::string prefix = argv[2];
    std::string atlasFolder = argc == 7 ? std::string(argv[6]) : prefix + "_atlas";
    if (atlasFolder.back() != '/')
        atlasFolder += "/";
    try
    {
        return run(argv[1], prefix, loops, framesPerLoop, impostors, atlasFolder);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "pagingscene: " << error.getFullDescription() << "\n";
        return 1;
    }
}
