// Terrain viewer: loads one terrain of the terrain list by name, the way the race scene
// does, and writes a screenshot of it seen from above one corner. Exit code 0 when the
// terrain loaded and the picture was written.
// usage: quillmor_terrainviewer <Plugins.cfg> <media folder> <terrain name> <screenshot.png>
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include "ToolEngine.h"

#include <OGRE/Ogre.h>

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

namespace
{
constexpr unsigned kWindowWidth = 800;   // pixels
constexpr unsigned kWindowHeight = 600;  // pixels
constexpr float kCameraRise = 700.0f;    // world units above the highest corner
const Ogre::ColourValue kSky(0.55f, 0.7f, 0.9f);

int run(const std::string& pluginsFile, const std::string& mediaDir, const std::string& terrainName,
        const std::string& screenshot)
{
    const std::unique_ptr<ToolEngine> engine =
        ToolEngine::start(pluginsFile, screenshot + ".ogre.log", "terrainviewer", kWindowWidth, kWindowHeight);
    if (!engine)
        return 1;
    Ogre::Root* root = engine->root.get();
    Ogre::RenderWindow* window = engine->window;
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation(mediaDir + "/terrain", "FileSystem",
                                                                   Ogre::RGN_DEFAULT);
    Ogre::ResourceGroupManager::getSingleton().initialiseAllResourceGroups();

    Ogre::SceneManager* scene = root->createSceneManager("OctreeSceneManager");
    scene->setAmbientLight(Ogre::ColourValue(0.45f, 0.45f, 0.5f));
    Ogre::Light* sun = scene->createLight("sun");
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    sun->setDiffuseColour(Ogre::ColourValue(1.0f, 0.95f, 0.85f));
    scene->getRootSceneNode()->createChildSceneNode()->attachObject(sun);
    sun->getParentSceneNode()->setDirection(Ogre::Vector3(0.5f, -0.7f, 0.5f).normalisedCopy(), Ogre::Node::TS_WORLD);

    {
        TerrainPageSource source(scene);
        TerrainObject terrain(scene, &source);
        source.addListener(&terrain);
        terrain.load(terrainName, mediaDir + "/terrain/TerrainList.xml");
        const float size = (terrain.getPageSize() - 1) * terrain.getHorizontalScale();
        std::cout << terrainName << ": " << terrain.getPageSize() << " samples, " << size << " world units, "
                  << source.getRenderTileCount() << " render tiles, material "
                  << source.getTerrainMaterial()->getName() << "\n";

        Ogre::Camera* camera = scene->createCamera("viewer");
        camera->setNearClipDistance(5.0f);
        camera->setFarClipDistance(10000.0f);
        camera->setFOVy(Ogre::Degree(60.0f));
        camera->setAspectRatio(static_cast<float>(kWindowWidth) / kWindowHeight);
        Ogre::SceneNode* cameraNode = scene->getRootSceneNode()->createChildSceneNode(
            Ogre::Vector3(-0.05f * size, terrain.getMaxHeight(0, 0, 0.2f * size) + kCameraRise, -0.05f * size));
        cameraNode->attachObject(camera);
        cameraNode->setFixedYawAxis(true);  // keep the horizon level
        cameraNode->lookAt(Ogre::Vector3(0.5f * size, 0, 0.5f * size), Ogre::Node::TS_WORLD);
        window->addViewport(camera)->setBackgroundColour(kSky);

        for (int frame = 0; frame < 3; ++frame)
            root->renderOneFrame();
        window->writeContentsToFile(screenshot);
        source.removeListener(&terrain);
    }
    root->destroySceneManager(scene);
    return 0;
}
}

int main(int argc, char** argv)
{
    if (argc != 5)
    {
        std::cerr << "usage: quillmor_terrainviewer <Plugins.cfg> <media folder> <terrain name> <screenshot.png>\n";
        return 2;
    }
    try
    {
        return run(argv[1], argv[2], argv[3], argv[4]);
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "engine error: " << error.getFullDescription() << "\n";
    }
    catch (const std::exception& error)
    {
        std::cerr << "terrain error: " << error.what() << "\n";
    }
    return 1;
}
