// Test scene for the grass paging: grass of three layers (swaying, blended quads as in the
// race; crossed quads that sink into the ground; swaying sprites) on 600 x 600 units of hilly
// ground, paged around a camera that flies a low loop again and again. Prints, per loop, the
// pages loaded, the frame times, the meshes held and the process's memory, writes a
// screenshot of the first and the last loop, and checks that grass is drawn, that the
// generated programs compiled, that every loop leaves the meshes, nodes and memory as the
// one before, that all meshes go with the pager, and that the engine's log holds no error.
// The pager runs on a clock of 60 frames a second, so every run loads the same pages; the
// frame times are the machine's own.
// usage: quillmor_grassscene <Plugins.cfg> <output prefix> [loops] [frames per loop]
#include "paging/GeometryPager.h"
#include "paging/GrassLoader.h"
#include "paging/GrassPage.h"

#include "SceneFigures.h"
#include "ScreenshotChecks.h"
#include "ToolEngine.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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
const TBounds kField(0.0f, 0.0f, 600.0f, 600.0f);  // world units
constexpr float kPageSize = 50.0f;     // world units, as the race's grass
constexpr float kGrassRange = 100.0f;  // world units, as the race's grass
constexpr float kLoopRadius = 180.0f;  // world units, around the field's middle
constexpr float kEyeHeight = 2.0f;     // world units above the ground, a driver's view
constexpr uint32_t kFrameMs = 16;      // the pager's clock per frame
constexpr uint32_t kInactivePageLifeMs = 500;  // the race keeps them 2000
constexpr int kGroundCells = 120;      // per side of the ground mesh
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryMeasurable = false;  // the sanitizer holds freed memory back
#else
constexpr bool kMemoryMeasurable = true;
#endif
constexpr long kMemorySlackKb = 4096;  // a screenshot, heap noise

float groundHeight(float x, float z) { return 3.0f * std::sin(x * 0.021f) * std::cos(z * 0.017f); }

size_t meshCount()
{
    size_t count = 0;
    for (const auto& entry : Ogre::MeshManager::getSingleton().getResourceIterator())
        count += entry.second ? 1 : 0;
    return count;
}

bool grassGreen(int r, int g, int b) { return g > 60 && g > r + r / 5 && g > b + b / 5; }

// Blades of grass on a clear background, brighter at the tips, as a texture.
void createBladeTexture(const std::string& name)
{
    constexpr uint32_t size = 64;
    Ogre::Image image(Ogre::PF_BYTE_RGBA, size, size);
    for (uint32_t y = 0; y < size; ++y)
        for (uint32_t x = 0; x < size; ++x)
        {
            const float v = static_cast<float>(y) / size;       // 0 at the top
            const float blade = std::fabs(std::sin(x * 0.45f + v * 1.5f));
            const bool inside = blade > 0.55f + 0.4f * (1.0f - v);  // thinner towards the tips
            const auto shade = static_cast<uint8_t>(90 + 100 * (1.0f - v));
            uint8_t* texel = image.getData(x, y);
            texel[0] = static_cast<uint8_t>(shade / 3);
            texel[1] = shade;
            texel[2] = static_cast<uint8_t>(shade / 5);
            texel[3] = inside ? 255 : 0;
        }
    Ogre::TextureManager::getSingleton().loadImage(name, Ogre::RGN_DEFAULT, image);
}

Ogre::MaterialPtr createGrassMaterial(const std::string& name, const std::string& texture)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, Ogre::RGN_DEFAULT);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setCullingMode(Ogre::CULL_NONE);
    pass->setAlphaRejectSettings(Ogre::CMPF_GREATER_EQUAL, 128);
    pass->setLightingEnabled(false);
    pass->createTextureUnitState(texture)->setTextureAddressingMode(Ogre::TextureUnitState::TAM_CLAMP);
    return material;
}

// Hilly ground under the grass, shaded by its height.
void createGround(Ogre::SceneManager& scene)
{
    Ogre::ManualObject* ground = scene.createManualObject("ground");
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create("GrassScene/Ground", Ogre::RGN_DEFAULT);
    material->getTechnique(0)->getPass(0)->setLightingEnabled(false);
    material->getTechnique(0)->getPass(0)->setVertexColourTracking(Ogre::TVC_DIFFUSE);
    ground->begin("GrassScene/Ground", Ogre::RenderOperation::OT_TRIANGLE_LIST);
    const float cell = kField.width() / kGroundCells;
    for (int z = 0; z <= kGroundCells; ++z)
        for (int x = 0; x <= kGroundCells; ++x)
        {
            const float wx = kField.left + x * cell, wz = kField.top + z * cell;
            const float h = groundHeight(wx, wz);
            ground->position(wx, h, wz);
            const float light = 0.8f + 0.05f * h;
            ground->colour(0.45f * light, 0.33f * light, 0.2f * light);
        }
    for (int z = 0; z < kGroundCells; ++z)
        for (int x = 0; x < kGroundCells; ++x)
        {
            const auto corner = static_cast<uint32_t>(z * (kGroundCells + 1) + x);
            const uint32_t below = corner + kGroundCells + 1;
            ground->triangle(corner, below, corner + 1);
            ground->triangle(corner + 1, below, below + 1);
        }
    ground->end();
    scene.getRootSceneNode()->createChildSceneNode()->attachObject(ground);
}

// Where the camera is at a fraction 0..1 of the loop, a driver's height above the ground,
// looking along the loop and a little down.
void placeCamera(Ogre::SceneNode& node, float fraction)
{
    const float angle = Ogre::Math::TWO_PI * fraction;
    const float x = kField.left + 0.5f * kField.width() + kLoopRadius * std::cos(angle);
    const float z = kField.top + 0.5f * kField.height() + kLoopRadius * std::sin(angle);
    node.setPosition(x, groundHeight(x, z) + kEyeHeight, z);
    const Ogre::Vector3 ahead(-std::sin(angle), -0.12f, std::cos(angle));
    node.setDirection(ahead.normalisedCopy(), Ogre::Node::TS_WORLD);
}

struct LoopFigures
{
    int loads = 0;
    double medianFrameMs = 0.0;
    double seconds = 0.0;  // real time of the loop
    long residentKb = 0;
    size_t loadedPages = 0;
    size_t meshes = 0;
    size_t sceneNodes = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Counts the pages it loads on top of the grass loader.
class CountingGrassLoader : public GrassLoader
{
public:
    using GrassLoader::GrassLoader;
    void loadPage(PageInfo& page) override
    {
        ++loads;
        GrassLoader::loadPage(page);
    }
    int loads = 0;
};

int run(const std::string& pluginsFile, const std::string& prefix, int loops, int framesPerLoop)
{
    const std::string logFile = prefix + ".ogre.log";
    const std::unique_ptr<ToolEngine> engine =
        ToolEngine::start(pluginsFile, logFile, "grassscene", kWidth, kHeight);
    if (!engine)
        return 1;
    Ogre::Root& root = *engine->root;
    Ogre::RenderWindow& window = *engine->window;
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();

    Ogre::SceneManager* scene = root.createSceneManager();
    Ogre::Camera* camera = scene->createCamera("flight");
    camera->setNearClipDistance(0.2f);
    camera->setFarClipDistance(1000.0f);
    camera->setAspectRatio(static_cast<float>(kWidth) / kHeight);
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode();
    cameraNode->attachObject(camera);
    cameraNode->setFixedYawAxis(true);
    placeCamera(*cameraNode, 0.0f);
    Ogre::Viewport* viewport = window.addViewport(camera);
    viewport->setBackgroundColour(Ogre::ColourValue(0.55f, 0.7f, 0.9f));
    createGround(*scene);
    createBladeTexture("GrassScene/Blades.png");
    createGrassMaterial("GrassScene/Quads", "GrassScene/Blades.png");
    createGrassMaterial("GrassScene/Crossed", "GrassScene/Blades.png");
    createGrassMaterial("GrassScene/Sprites", "GrassScene/Blades.png");
    const size_t meshesBefore = meshCount();

    uint32_t clockMs = 0;
    auto pager = std::make_unique<GeometryPager>(nullptr, 100.0f, [&clockMs] { return clockMs; });
    pager->setCamera(camera);
    pager->setPageSize(kPageSize);
    pager->setBounds(kField);
    // Pages left behind expire within a loop, so that short loops still unload and reload.
    pager->addDetailLevel<GrassPage>(kGrassRange, 0.0f)->setCacheSpeed(200, kInactivePageLifeMs);
    auto grass = std::make_unique<CountingGrassLoader>(pager.get());
    grass->setHeightFunction(groundHeight);
    grass->setRenderQueueGroup(50);

    GrassLayer* quads = grass->addLayer("GrassScene/Quads");  // the race's grass
    quads->setDensity(1.0f);
    quads->setMinimumSize(1.0f, 0.4f);
    quads->setMaximumSize(1.2f, 0.6f);
    quads->setRenderTechnique(GRASSTECH_QUAD, true);
    quads->setAnimationEnabled(true);
    quads->setSwayLength(0.2f);
    quads->setSwaySpeed(0.5f);
    quads->setSwayDistribution(10.0f);
    quads->setMapBounds(kField);
    GrassLayer* crossed = grass->addLayer("GrassScene/Crossed");
    crossed->setDensity(0.15f);
    crossed->setMinimumSize(0.8f, 0.8f);
    crossed->setMaximumSize(1.4f, 1.4f);
    crossed->setRenderTechnique(GRASSTECH_CROSSQUADS);
    crossed->setFadeTechnique(FADETECH_GROW);
    GrassLayer* sprites = grass->addLayer("GrassScene/Sprites");
    sprites->setDensity(0.1f);
    sprites->setMinimumSize(0.6f, 0.6f);
    sprites->setMaximumSize(1.0f, 1.0f);
    sprites->setRenderTechnique(GRASSTECH_SPRITE);
    sprites->setFadeTechnique(FADETECH_ALPHAGROW);
    sprites->setAnimationEnabled(true);
    pager->setPageLoader(grass.get());
    const GeometryPageManager& level = *pager->getDetailLevels().front();

    bool ok = true;
    std::vector<LoopFigures> figures;
    for (int loop = 1; loop <= loops; ++loop)
    {
        LoopFigures now;
        const int loadsBefore = grass->loads;
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
                const Region lowerHalf{0, int(kHeight) / 2, int(kWidth), int(kHeight)};
                const size_t blades = countPixels(shot, lowerHalf, grassGreen);
                const size_t area = kWidth * kHeight / 2;
                std::cout << shotName << ": " << blades << " grass-green pixels of " << area
                          << " in the lower half\n";
                ok &= check(blades > area / 5, "grass covers the ground in loop " + std::to_string(loop));
            }
        }
        now.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loopStart).count();
        now.loads = grass->loads - loadsBefore;
        now.medianFrameMs = median(frameMs);
        now.residentKb = residentKb();
        now.loadedPages = level.getLoadedPageCount();
        now.meshes = meshCount() - meshesBefore;
        now.sceneNodes = scene->getRootSceneNode()->numChildren();
        std::cout << "loop " << std::setw(2) << loop << ": " << std::setw(4) << now.loads << " pages loaded, "
                  << "median frame " << std::fixed << std::setprecision(2) << now.medianFrameMs << " ms ("
                  << std::setprecision(0) << 1000.0 / now.medianFrameMs << " fps), memory "
                  << now.residentKb << " kB, " << now.loadedPages << " pages held, " << now.meshes
                  << " grass meshes, " << now.sceneNodes << " scene nodes\n";
        ok &= check(now.meshes == grass->getLiveMeshCount(), "the loader knows every grass mesh there is");
        figures.push_back(now);
    }

    ok &= check(figures.front().loads > 0, "pages load as the camera flies");
    for (const GrassLayer* layer : {quads, crossed, sprites})
    {
        const Ogre::Pass* pass = layer->getMaterial()->getTechnique(0)->getPass(0);
        const bool compiled = pass->hasVertexProgram() && pass->getVertexProgram()->isSupported() &&
                              !pass->getVertexProgram()->hasCompileError();
        ok &= check(compiled, layer->getMaterial()->getName() + " draws with its compiled program");
    }
    if (figures.size() >= 3)
    {
        const LoopFigures& second = figures[1];
        bool steady = true;
        for (size_t i = 2; i < figures.size(); ++i)
            steady = steady && figures[i].loads == second.loads && figures[i].loadedPages == second.loadedPages &&
                     figures[i].meshes == second.meshes && figures[i].sceneNodes == second.sceneNodes;
        ok &= check(steady, "every loop loads the same pages and leaves the same meshes and scene nodes");
        ok &= check(figures.back().loads > 0, "pages left behind unload and load again on the next loop");
        const LoopFigures& middle = figures[figures.size() / 2];
        const long grownKb = figures.back().residentKb - middle.residentKb;
        if (kMemoryMeasurable)
            ok &= check(grownKb <= kMemorySlackKb,
                        "memory stays flat (" + std::to_string(grownKb) + " kB over the second half of the loops)");
    }

    pager.reset();  // unloads every page through the loader
    grass.reset();
    ok &= check(meshCount() == meshesBefore, "every grass mesh is gone with the pager");
    root.destroySceneManager(scene);
    ok &= check(!logHasErrors(logFile), "no error in the engine's log");
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5)
    {
        std::cerr << "usage: quillmor_grassscene <Plugins.cfg> <output prefix> [loops] [frames per loop]\n";
        return 2;
    }
    const int loops = argc == 5 ? std::max(1, std::atoi(argv[3])) : 10;
    const int framesPerLoop = argc == 5 ? std::max(8, std::atoi(argv[4])) : 600;
    try
    {
        return run(argv[1], argv[2], loops, framesPerLoop);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "grassscene: " << error.getFullDescription() << "\n";
        return 1;
    }
}
