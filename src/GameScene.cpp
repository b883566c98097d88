// The race scene.
#include "GameScene.h"

#include "GameManager.h"
#include "ScreenProjection.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>

namespace
{
constexpr unsigned short kRaceViewportZOrder = 10;
constexpr float kNearClip = 0.5f;   // world units
constexpr float kFarClip = 5000.0f; // the whole 4000-unit world and its sky
}

GameScene::GameScene()
{
    create();
}

GameScene::~GameScene()
{
    destroy();
}

void GameScene::create()
{
    Ogre::LogManager::getSingleton().logMessage("\n\nCreating [GameScene]...");
    sceneManager = Ogre::Root::getSingleton().createSceneManager("OctreeSceneManager");
    if (Ogre::OverlaySystem* overlays = GameManager::getInstance()->getOverlaySystem())
        sceneManager->addRenderQueueListener(overlays);
    camera = sceneManager->createCamera("GameCamera");
    camera->setNearClipDistance(kNearClip);
    camera->setFarClipDistance(kFarClip);
    sceneManager->getRootSceneNode()->createChildSceneNode("GameCameraNode")->attachObject(camera);
    staticGeometry = sceneManager->createStaticGeometry("Game_Static_Geometry");
    terrainSource = std::make_unique<TerrainPageSource>(sceneManager);
    terrain = std::make_unique<TerrainObject>(sceneManager, terrainSource.get());
    terrainSource->addListener(terrain.get());
    Ogre::LogManager::getSingleton().logMessage("\nCreating [GameScene]...done\n");
}

void GameScene::destroy()
{
    if (!sceneManager)
        return;
    disable();
    terrainSource->removeListener(terrain.get());
    terrain.reset();
    terrainSource.reset();
    sceneManager->clearScene();
    sceneManager->destroyAllStaticGeometry();
    sceneManager->destroyAllCameras();
    Ogre::Root::getSingleton().destroySceneManager(sceneManager);
    sceneManager = nullptr;
    camera = nullptr;
    staticGeometry = nullptr;
}

void GameScene::enable()
{
    if (enabled)
        return;
    Ogre::Viewport* viewport = GameManager::getInstance()->getRenderWindow()->addViewport(camera, kRaceViewportZOrder);
    camera->setAspectRatio(static_cast<Ogre::Real>(viewport->getActualWidth()) /
                           static_cast<Ogre::Real>(viewport->getActualHeight()));
    enabled = true;
}

void GameScene::disable()
{
    if (!enabled)
        return;
    Ogre::LogManager::getSingleton().logMessage("Disable GameScene...");
    if (Ogre::RenderWindow* window = GameManager::getInstance()->getRenderWindow())
    {
        if (window->hasViewportWithZOrder(kRaceViewportZOrder))
            window->removeViewport(kRaceViewportZOrder);
    }
    enabled = false;
}

void GameScene::addToStaticGeometry(Ogre::SceneNode* node)
{
    staticGeometry->addSceneNode(node);
}

Ogre::Vector3 GameScene::screenToWorld(const Ogre::Vector2& screen)
{
    return screenExtentToWorld(*camera, screen);
}

Ogre::Vector3 GameScene::screenToWorldRay(const Ogre::Vector2& screen)
{
    return screenPointToWorld(*camera, screen);
}
