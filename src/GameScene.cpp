// The race scene.
#include "GameScene.h"

#include "GameConfiguration.h"
#include "GameManager.h"
#include "ScreenProjection.h"
#include "graphics/TempImageManagerTLM.h"
#include "physic/PhysicBase.h"
#include "physic/TerrainPhysicManager.h"
#include "track/MapDescription.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>
#include <CEGUI/Window.h>

namespace
{
constexpr unsigned short kRaceViewportZOrder = 10;
constexpr float kNearClip = 0.5f;   // world units
constexpr float kFarClip = 5000.0f; // the whole 4000-unit world and its sky
const char* const kLightmapCacheName = "lightmaps";

// Shows a loading stage on the loading screen at once, before the stage's work starts.
void showCaption(CEGUI::Window* caption, const char* text)
{
    Ogre::LogManager::getSingleton().logMessage(std::string("\n\n") + text);
    if (!caption)
        return;
    caption->setText(text);
    Ogre::Root::getSingleton().renderOneFrame();
}

// The per-user folder, or "" before the game has its settings.
std::string userFolder()
{
    const GameConfiguration* settings = GameManager::getInstance()->getGameConfiguration();
    return settings ? settings->getSavePath() : "";
}
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
    const std::string savePath = userFolder();
    physics = std::make_unique<PhysicBase>(Ogre::Root::getSingletonPtr(), sceneManager, savePath);
    physics->init();
    terrainSource = std::make_unique<TerrainPageSource>(sceneManager);
    terrain = std::make_unique<TerrainObject>(sceneManager, terrainSource.get());
    terrainSource->addListener(terrain.get());
    // Without a per-user folder there is nowhere to keep lightmaps: they are baked each time.
    if (!savePath.empty())
        lightmapCache = std::make_unique<TempImageManagerTLM>(kLightmapCacheName, savePath);
    mapObject = std::make_unique<MapObject>(this, physics->getScene());
    Ogre::LogManager::getSingleton().logMessage("\nCreating [GameScene]...done\n");
}

void GameScene::load(const MapDescription& map, CEGUI::Window* caption)
{
    showCaption(caption, "Creating World...");
    createSky();
    terrain->load(map.terrainName, TerrainObject::kTerrainListPath, map.filePath);
    showCaption(caption, "Building Track...");
    mapObject->setScale(terrain->getHorizontalScale(), terrain->getPageSize());
    mapObject->load(map.filePath);
    mapObject->buildTiles();
    mapObject->buildTrackSpline();
    showCaption(caption, "Creating Static Geometry...");
    physics->setPaging(false);  // the bake's rays see every shape
    mapObject->bakeLightMaps();
    physics->setPaging(true);
    mapObject->createBoundaries();
    terrainCollision = std::make_unique<TerrainPhysicManager>(physics.get(), terrain.get());
    terrainCollision->createPagedPatches();
}

void GameScene::destroy()
{
    if (!sceneManager)
        return;
    disable();
    mapObject.reset();
    terrainCollision.reset();
    lightmapCache.reset();
    terrainSource->removeListener(terrain.get());
    terrain.reset();
    terrainSource.reset();
    physics.reset();
    sceneManager->clearScene();
    sceneManager->destroyAllStaticGeometry();
    sceneManager->destroyAllCameras();
    Ogre::Root::getSingleton().destroySceneManager(sceneManager);
    sceneManager = nullptr;
    camera = nullptr;
    staticGeometry = nullptr;
}

nxOgre::scene* GameScene::getPhysicScene() const
{
    return physics ? physics->getScene() : nullptr;
}

void GameScene::createSky()
{
    if (!sceneManager->hasLight("shadowLight"))
    {
        Ogre::Light* shadowLight = sceneManager->createLight("shadowLight");
        shadowLight->setType(Ogre::Light::LT_DIRECTIONAL);
        sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(shadowLight);
        shadowLight->getParentSceneNode()->setDirection(Ogre::Vector3::NEGATIVE_UNIT_Y, Ogre::Node::TS_WORLD);
    }
    // The sun of the advanced sky takes this name when that sky exists; until then, a plain one.
    if (!sceneManager->hasLight("SkySun"))
    {
        Ogre::Light* sun = sceneManager->createLight("SkySun");
        sun->setType(Ogre::Light::LT_DIRECTIONAL);
        sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(sun);
        sun->getParentSceneNode()->setDirection(Ogre::Vector3(0.1f, -1.0f, 0.1f).normalisedCopy(),
                                                Ogre::Node::TS_WORLD);
    }
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
