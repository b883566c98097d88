// Test scene for the render utilities: draws a tyre-track spiral, a body faded through its
// material clone and a recoloured body from above, writes a screenshot, reads it back and
// checks the pixels where each should be. Exit code 0 when every check holds.
// usage: quillmor_trailscene <Plugins.cfg> <media folder> <screenshot.png>
#include "graphics/EntityMaterialInstance.h"
#include "graphics/EntityMaterialInstancePlus.h"
#include "graphics/LineManager.h"
#include "graphics/PictureTextureWriter.h"
#include "graphics/ToyPictureRGBA.h"

#include "ToolEngine.h"

#include <OGRE/Ogre.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr unsigned kWindowWidth = 800;   // pixels
constexpr unsigned kWindowHeight = 600;  // pixels
constexpr float kCameraHeight = 1000.0f;                  // world units above the ground
const Ogre::ColourValue kGround(0.8f, 0.8f, 0.8f);        // the viewport's clear colour
const Ogre::Vector3 kFadedBodyPosition(-450, 0, 0);
const Ogre::Vector3 kPaintedBodyPosition(450, 0, 0);
const Ogre::Vector3 kPictureBodyPosition(0, 0, -420);
constexpr float kFadedTransparency = 0.5f;
constexpr float kPaintShade = 0.5f;
constexpr float kTrackHalfWidth = 12.0f;                   // world units
constexpr int kSpiralPairs = 300;                          // several full strips of 42 pairs
constexpr float kSpiralStartRadius = 40.0f;
constexpr float kSpiralGrowthPerTurn = 70.0f;
constexpr float kSpiralTurns = 3.0f;

Ogre::Vector3 spiralCentre(float t)  // t from 0 to 1 along the spiral
{
    const float angle = t * kSpiralTurns * Ogre::Math::TWO_PI;
    const float radius = kSpiralStartRadius + kSpiralGrowthPerTurn * kSpiralTurns * t;
    return Ogre::Vector3(radius * std::cos(angle), 0.0f, radius * std::sin(angle));
}

void makeMaterial(const std::string& name, const Ogre::ColourValue& colour)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create(name, Ogre::RGN_DEFAULT);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(true);
    pass->setAmbient(colour);
    pass->setDiffuse(colour);
}

// A cube textured with an uploaded picture: checks the picture lands in the texture's
// real format (a swapped byte order shows as the wrong colour).
Ogre::Entity* makePictureBody(Ogre::SceneManager* scene, const ToyPictureRGBA& picture)
{
    Ogre::TexturePtr texture = Ogre::TextureManager::getSingleton().createManual(
        "TrailScene/PictureTexture", Ogre::RGN_DEFAULT, Ogre::TEX_TYPE_2D, picture.getWidth(), picture.getHeight(), 0,
        Ogre::PF_R8G8B8A8, Ogre::TU_DEFAULT);
    Ogre::HardwarePixelBufferSharedPtr buffer = texture->getBuffer();
    buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    PictureTextureWriter::write(picture, buffer->getCurrentLock());
    buffer->unlock();
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().create("TrailScene/Picture", Ogre::RGN_DEFAULT);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->createTextureUnitState()->setTexture(texture);
    Ogre::Entity* body = scene->createEntity("pictureBody", Ogre::SceneManager::PT_CUBE);
    body->setMaterial(material);
    scene->getRootSceneNode()->createChildSceneNode(kPictureBodyPosition)->attachObject(body);
    return body;
}

size_t materialCount()
{
    size_t count = 0;
    for (auto it = Ogre::MaterialManager::getSingleton().getResourceIterator(); it.hasMoreElements(); it.moveNext())
        ++count;
    return count;
}

struct Check
{
    std::string what;
    Ogre::Vector3 world;
    // Accepted byte range of each channel.
    int redMin, redMax, greenMin, greenMax, blueMin, blueMax;
};

class Screen
{
public:
    Screen(Ogre::Camera* camera, const Ogre::Image& image) : camera(camera), image(image) {}

    bool check(const Check& check) const
    {
        const Ogre::Vector3 projected = camera->getProjectionMatrix() * (camera->getViewMatrix() * check.world);
        const int x = static_cast<int>((projected.x * 0.5f + 0.5f) * image.getWidth());
        const int y = static_cast<int>((0.5f - projected.y * 0.5f) * image.getHeight());
        const Ogre::ColourValue colour = image.getColourAt(x, y, 0);
        const int red = static_cast<int>(colour.r * 255.0f + 0.5f);
        const int green = static_cast<int>(colour.g * 255.0f + 0.5f);
        const int blue = static_cast<int>(colour.b * 255.0f + 0.5f);
        const bool ok = red >= check.redMin && red <= check.redMax && green >= check.greenMin &&
                        green <= check.greenMax && blue >= check.blueMin && blue <= check.blueMax;
        std::cout << (ok ? "ok   " : "FAIL ") << check.what << " at pixel (" << x << ", " << y << "): " << red
                  << " " << green << " " << blue << "\n";
        return ok;
    }

private:
    Ogre::Camera* camera;
    const Ogre::Image& image;
};

int run(const std::string& pluginsFile, const std::string& mediaDir, const std::string& screenshot)
{
    const std::unique_ptr<ToolEngine> engine =
        ToolEngine::start(pluginsFile, screenshot + ".ogre.log", "trailscene", kWindowWidth, kWindowHeight);
    if (!engine)
        return 1;
    Ogre::Root* root = engine->root.get();
    Ogre::RenderWindow* window = engine->window;
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(mediaDir + "/materials", "FileSystem",
                                                                   Ogre::RGN_DEFAULT);
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();

    Ogre::SceneManager* scene = root->createSceneManager();
    scene->setAmbientLight(Ogre::ColourValue::White);  // colours come from the materials' ambient
    Ogre::Camera* camera = scene->createCamera("top");
    camera->setNearClipDistance(10.0f);
    camera->setFarClipDistance(5000.0f);
    camera->setFOVy(Ogre::Degree(60.0f));
    camera->setAspectRatio(static_cast<float>(kWindowWidth) / kWindowHeight);
    Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, kCameraHeight, 0));
    cameraNode->pitch(Ogre::Degree(-90.0f));
    cameraNode->attachObject(camera);
    window->addViewport(camera)->setBackgroundColour(kGround);

    const size_t nodesBefore = scene->getRootSceneNode()->numChildren();
    const size_t materialsBefore = materialCount();

    makeMaterial("TrailScene/Body", Ogre::ColourValue(1.0f, 0.0f, 0.0f));
    makeMaterial("TrailScene/Paint", Ogre::ColourValue(0.2f, 0.8f, 0.2f));
    Ogre::Entity* faded = scene->createEntity("fadedBody", Ogre::SceneManager::PT_CUBE);
    faded->setMaterialName("TrailScene/Body");
    scene->getRootSceneNode()->createChildSceneNode(kFadedBodyPosition)->attachObject(faded);
    Ogre::Entity* painted = scene->createEntity("paintedBody", Ogre::SceneManager::PT_CUBE);
    painted->setMaterialName("TrailScene/Paint");
    scene->getRootSceneNode()->createChildSceneNode(kPaintedBodyPosition)->attachObject(painted);
    ToyPictureRGBA picture(8, 8);
    picture.clear(40, 90, 230, 255);
    Ogre::Entity* pictured = makePictureBody(scene, picture);
    const size_t materialsWithBodies = materialCount();

    bool ok = true;
    {
        auto trail = std::make_unique<LineManager>(scene, "", 100, 40);
        for (int k = 0; k < kSpiralPairs; ++k)
        {
            const float t = static_cast<float>(k) / (kSpiralPairs - 1);
            const Ogre::Vector3 centre = spiralCentre(t);
            const Ogre::Vector3 ahead = spiralCentre(t + 0.001f) - centre;
            const Ogre::Vector3 side = ahead.crossProduct(Ogre::Vector3::UNIT_Y).normalisedCopy() * kTrackHalfWidth;
            trail->addLine(centre - side, centre + side);
        }
        auto fade = std::make_unique<EntityMaterialInstance>(faded);
        fade->setTransparency(kFadedTransparency);
        auto paint = std::make_unique<EntityMaterialInstancePlus>("TrailSceneShade", painted);
        paint->setAmbient(kPaintShade);
        paint->setDiffuse(kPaintShade);

        for (int frame = 0; frame < 3; ++frame)
            root->renderOneFrame();
        window->writeContentsToFile(screenshot);

        std::ifstream file(screenshot, std::ios::binary);
        Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(&file, false));
        Ogre::Image image;
        image.load(stream, "png");
        const Screen screen(camera, image);
        const std::vector<Check> checks = {
            {"bare ground", Ogre::Vector3(0, 0, 400), 195, 214, 195, 214, 195, 214},
            {"between the spiral's arms", spiralCentre(0.5f) * 1.22f, 195, 214, 195, 214, 195, 214},
            {"trail, first strip", spiralCentre(0.05f), 0, 150, 0, 150, 0, 150},
            {"trail, a middle strip", spiralCentre(0.5f), 0, 150, 0, 150, 0, 150},
            {"trail, last strip", spiralCentre(0.98f), 0, 150, 0, 150, 0, 150},
            {"half-faded red body over the ground", kFadedBodyPosition + Ogre::Vector3(0, 50, 0), 215, 255, 80, 125,
             80, 125},
            {"uploaded picture in its true colour", kPictureBodyPosition + Ogre::Vector3(0, 50, 0), 30, 50, 80, 100,
             220, 240},
            {"recoloured body at half its paint", kPaintedBodyPosition + Ogre::Vector3(0, 50, 0), 10, 45, 85, 120,
             10, 45},
        };
        for (const Check& check : checks)
            ok = screen.check(check) && ok;
    }

    // Everything the trail and the clones made is gone again.
    scene->destroyEntity(faded);
    scene->destroyEntity(painted);
    scene->destroyEntity(pictured);
    const bool clonesGone = materialCount() == materialsWithBodies;
    std::cout << (clonesGone ? "ok   " : "FAIL ") << "material clones removed (" << materialCount() - materialsBefore
              << " scene materials left, 3 expected)\n";
    const size_t nodesLeft = scene->getRootSceneNode()->numChildren() - nodesBefore;
    const bool nodesGone = nodesLeft == 3;  // the three bodies'
    std::cout << (nodesGone ? "ok   " : "FAIL ") << "trail nodes destroyed (" << nodesLeft << " nodes left, 3 expected)\n";
    ok = ok && clonesGone && nodesGone;

    root->destroySceneManager(scene);
    return ok ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: quillmor_trailscene <Plugins.cfg> <media folder> <screenshot.png>\n";
        return 2;
    }
    try
    {
        return run(argv[1], argv[2], argv[3]);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "engine error: " << error.getFullDescription() << "\n";
        return 1;
    }
}
