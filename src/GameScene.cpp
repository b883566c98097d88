// The race scene.
#include "GameScene.h"

#include "GameConfiguration.h"
#include "GameManager.h"
#include "LogStream.h"
#include "RaceResourceGroup.h"
#include "RaceSettings.h"
#include "GamePlay.h"
#include "HighScorePath.h"
#include "RaceSky.h"
#include "ScreenProjection.h"
#include "StepClock.h"
#include "VegetationManager.h"
#include "XMLParser.h"
#include "ai/StrategicAI.h"
#include "graphics/CLightMap.h"
#include "graphics/HDRListener.h"
#include "graphics/MotionBlurListener.h"
#include "graphics/ShadowReceiverRange.h"
#include "graphics/TempImageManager.h"
#include "graphics/TempImageManagerTLM.h"
#include "graphics/ToyPictureGrey.h"
#include "physic/CameraRig.h"
#include "physic/Car.h"
#include "physic/CarDesc.h"
#include "physic/PhysicBase.h"
#include "physic/RaceMaterials.h"
#include "physic/TerrainPhysicManager.h"
#include "sound/SoundManager.h"
#include "track/CheckPointTracker.h"
#include "track/MapDescription.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"
#include "track/TerrainPageSource.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlaySystem.h>
#include <CEGUI/Window.h>

#include <stdexcept>
#include <chrono>
#include <memory>

namespace
{
const char* const kLightmapCacheName = "lightmaps";
const char* const kNetworkFolder = "../media/ai/";
// The learning driver's training files go into the working folder, beside the screenshots.
const char* const kTrainingFolder = "";
constexpr float kCameraWindowSeconds = 0.4f;
constexpr float kCameraDelaySeconds = 0.3f;
constexpr float kCameraOffset = -0.25f;
constexpr int kTerrainLightmapSize = 1024;  // pixels
constexpr float kTerrainSurfaceOffset = 0.6f;  // world units
constexpr float kStartSquare = 4.0f;        // world units about the start the car stands above
constexpr float kMarkerHeight = 1.0f;       // the AI marker floats this far above the ground
constexpr float kShadowFarDistance = 15.0f;
const Ogre::ColourValue kShadowColour(0.7f, 0.7f, 0.7f, 1.0f);
const Ogre::ColourValue kSunColour(0.88235295f, 1.5882354f, 2.2213373f, 1.0f);
const Ogre::Vector3 kSunDirection(0.25218579f, -0.86644399f, -0.43090263f);
constexpr float kSkyBoxDistance = 100.0f;
const char* const kSkyBoxMaterial = "CubeMapSky/sky05";
constexpr float kMaxBlur = 0.9f;
constexpr float kBlurFromKmh = 110.0f;
constexpr float kBlurFullKmh = 300.0f;

void log(const std::string& text)
{
    Ogre::LogManager::getSingleton().logMessage(text);
}

// The engine only says a compositor could not be added: which one, and why, as far as we can
// tell (its script missing, or read without defining it).
void logMissingCompositor(const std::string& compositor, const std::string& script)
{
    if (Ogre::CompositorManager::getSingleton().getByName(compositor))
        return;
    const bool scriptFound = Ogre::ResourceGroupManager::getSingleton().resourceExistsInAnyGroup(script);
    log("The compositor \"" + compositor + "\" is not defined: its script \"" + script +
        (scriptFound ? "\" does not define it (see the script errors above)" : "\" was not found"));
}

// Shows a loading stage on the loading screen at once, before the stage's work starts.
void showCaption(CEGUI::Window* caption, const char* text)
{
    if (!caption)
        return;
    caption->setText(text);
    Ogre::Root::getSingleton().renderOneFrame();
}

// Keeps a long stage's caption moving: "<stage> 40%", drawn at most about once a second.
MapObject::Progress stageProgress(CEGUI::Window* caption, const std::string& stage)
{
    if (!caption)
        return nullptr;
    auto shown = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::steady_clock::now());
    return [caption, stage, shown](int done, int total) {
        const auto now = std::chrono::steady_clock::now();
        if (total <= 0 || now - *shown < std::chrono::seconds(1))
            return;
        *shown = now;
        showCaption(caption, (stage + " " + std::to_string(done * 100 / total) + "%").c_str());
    };
}

Ogre::RenderWindow* renderWindow()
{
    return GameManager::getInstance()->getRenderWindow();
}

GameConfiguration& gameSettings()
{
    GameConfiguration* own = GameManager::getInstance()->getGameConfiguration();
    if (!own)
        throw std::logic_error("the race scene is made once the game has its settings");
    return *own;
}
}

GameScene::GameScene() : GameScene(gameSettings())
{
}

GameScene::GameScene(GameConfiguration& settings) : settings(settings)
{
    create();
}

GameScene::~GameScene()
{
    destroy();
}

void GameScene::create()
{
    const std::string savePath = settings.getSavePath();
    // Without a per-user folder there is nowhere to keep lightmaps: they are baked each time.
    if (!savePath.empty())
        lightmapCache = std::make_unique<TempImageManagerTLM>(kLightmapCacheName, savePath);
    log("\n\nCreating [GameScene]...");
    log("creating TerrainSceneManager");
    // The octree scene manager with our own terrain page source stands in for the engine's
    // old terrain scene manager.
    sceneManager = Ogre::Root::getSingleton().createSceneManager("OctreeSceneManager");
    if (Ogre::OverlaySystem* overlays = GameManager::getInstance()->getOverlaySystem())
        sceneManager->addRenderQueueListener(overlays);
    cameraRig = std::make_unique<CameraRig>("Default_Cam", sceneManager, kCameraWindowSeconds, kCameraDelaySeconds);
    cameraRig->setOffset(kCameraOffset);
    SoundManager::getInstance()->setCamera(cameraRig->getCamera());
    log("creating PhysicBase");
    physics = std::make_unique<PhysicBase>(Ogre::Root::getSingletonPtr(), sceneManager, savePath);
    physics->init();
    createRaceMaterials(*physics->getScene());
    log("creating scene object managers");
    mapObject = std::make_unique<MapObject>(this, physics->getScene());
    terrainSource = std::make_unique<TerrainPageSource>(sceneManager);
    terrain = std::make_unique<TerrainObject>(sceneManager, terrainSource.get());
    terrainSource->addListener(terrain.get());
    log("\nCreating [GameScene]...done\n");
}

void GameScene::load(const MapDescription& map, CEGUI::Window* caption)
{
    log("\n\n" + std::string(47, '*') + "\nLoad [GameScene]...\n");
    StepClock clock("race load");
    RaceResourceGroup::prepare();
    clock.step("race resources");

    log("\n\nCreating World...");
    showCaption(caption, "Creating World...");
    createWorld();
    clock.step("world and sky");
    terrain->load(map.terrainName, TerrainObject::kTerrainListPath, map.filePath);
    clock.step("terrain");

    log("\n\nBuilding Track...");
    showCaption(caption, "Building Track...");
    mapObject->setProgress(stageProgress(caption, "Building Track..."));
    createTrack(map);
    clock.step("track");

    log("\n\nLoading Lightmap...");
    showCaption(caption, "Loading Lightmap...");
    createTerrainLightmap(map, caption);
    clock.step("terrain lightmap");

    log("\n\nCreating Static Geometry...");
    showCaption(caption, "Creating Static Geometry...");
    mapObject->setProgress(stageProgress(caption, "Creating Static Geometry..."));
    createStaticGeometry();
    mapObject->setProgress(nullptr);
    clock.step("static geometry");

    if (settings.isVegetationEnabled())
    {
        createVegetation(caption);
        clock.step("vegetation");
    }

    if (terrainLightmap)
    {
        log("SetMaterial...");
        terrainLightmap->createMaterial();
        // Without a render system there is no lightmap texture and so no material to take.
        if (Ogre::MaterialManager::getSingleton().resourceExists(terrainLightmap->getName()))
            terrain->setCustomMaterial(terrainLightmap->getName());
        // The terrain as one mesh was only the surface to make the lightmap on; the race
        // draws the page's tiles.
        terrainLightmap->releaseSurface();
        terrain->destroyMesh();
    }
    limitShadowReceivers();  // after the terrain's tiles are remade with their material
    clock.step("terrain material");

    log("\n\nCreating Cars...");
    showCaption(caption, "Creating Cars...");
    createCar();
    createRaceRules(map);
    createAI();
    drawStartView();

    physics->resume();
    physics->addListener(this);  // last: the camera follows the car's finished step
    clock.step("car, rules and AI");
    log("\nLoad [GameScene]...done\n" + std::string(47, '*') + "\n");
}

void GameScene::drawStartView()
{
    // The GL driver compiles a material's shaders when it first draws it: drawn first in
    // the race, the start view stood still for a second and more. Drawn here, behind the
    // loading screen, from where the race's first frame will look.
    if (!car || !viewport)
        return;
    cameraRig->update(physics->getStep(), 0.0f, car->getHeading(true));
    const Ogre::Vector3 eye = cameraRig->getPosition();
    cameraRig->follow(terrain->getHeight(eye.x, eye.z));
    if (vegetation)
        vegetation->update();
    Ogre::Root::getSingleton().renderOneFrame();
}

void GameScene::createWorld()
{
    const GameConfiguration& config = settings;
    // What this race is built with, as the options menu last saved it.
    const auto onOff = [](bool on) { return on ? "on" : "off"; };
    log(std::string("Race graphics: shadows ") + onOff(config.isShadowEnabled()) + ", HDR " +
        onOff(config.isHDREnabled()) + ", vegetation " + onOff(config.isVegetationEnabled()) + ", motion blur " +
        onOff(config.isMotionBlurEnabled()) + ", advanced sky " + onOff(config.isAdvancedSkyEnabled()) +
        ", lightmaps " + onOff(config.isLightMapsEnabled()));
    if (config.isShadowEnabled())
    {
        sceneManager->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_MODULATIVE);
        sceneManager->setShadowColour(kShadowColour);
        sceneManager->setShadowTexturePixelFormat(Ogre::PF_L8);
        sceneManager->setShadowTextureSelfShadow(false);
        sceneManager->setShadowFarDistance(kShadowFarDistance);
        const unsigned size = RaceSettings::shadowTextureSize(config.getShadowQuality());
        sceneManager->setShadowTextureSize(static_cast<unsigned short>(size));
    }
    else
        sceneManager->setShadowTechnique(Ogre::SHADOWTYPE_NONE);
    createSky();
    staticGeometry = sceneManager->createStaticGeometry("Default_Static_Geometry");
}

void GameScene::createSky()
{
    GameConfiguration& config = settings;
    if (config.isAdvancedSkyEnabled())
    {
        raceSky = std::make_unique<RaceSky>();
        std::string error;
        if (!raceSky->create(Ogre::Root::getSingletonPtr(), sceneManager, renderWindow(), error))
        {
            log("Advanced sky failed, using the sky box: " + error);
            raceSky.reset();
            config.setAdvancedSkyEnabled(false);
        }
    }
    if (!raceSky)
    {
        sceneManager->setSkyBox(true, kSkyBoxMaterial, kSkyBoxDistance, true);
        Ogre::Light* sun = sceneManager->createLight("SkySun");
        sun->setType(Ogre::Light::LT_DIRECTIONAL);
        sun->setDiffuseColour(kSunColour);
        sun->setSpecularColour(kSunColour);
        sun->setCastShadows(false);
        sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(sun);
        sun->getParentSceneNode()->setDirection(kSunDirection.normalisedCopy(), Ogre::Node::TS_WORLD);
    }
    // Adds no light; it only casts the texture shadows, straight down.
    Ogre::Light* shadowLight = sceneManager->createLight("shadowLight");
    shadowLight->setType(Ogre::Light::LT_DIRECTIONAL);
    shadowLight->setDiffuseColour(Ogre::ColourValue::Black);
    shadowLight->setSpecularColour(Ogre::ColourValue::Black);
    shadowLight->setPowerScale(0.0f);
    shadowLight->setCastShadows(true);
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(shadowLight);
    shadowLight->getParentSceneNode()->setDirection(Ogre::Vector3::NEGATIVE_UNIT_Y, Ogre::Node::TS_WORLD);
}

void GameScene::createTrack(const MapDescription& map)
{
    mapObject->setScale(terrain->getHorizontalScale(), terrain->getPageSize());
    mapObject->load(map.filePath);
    mapObject->buildTiles();
    mapObject->buildTrackSpline();
}

void GameScene::createTerrainLightmap(const MapDescription& map, CEGUI::Window* caption)
{
    const std::string savePath = settings.getSavePath();
    if (!savePath.empty())
        imageCache = std::make_unique<TempImageManager>(map.name, map.standardMap, savePath);
    const GameConfiguration& config = settings;
    if (!config.isLightMapsEnabled())
        return;
    // For the terrain's and the tiles' lightmapped materials alike.
    const Ogre::RenderSystem* renderer = Ogre::Root::getSingleton().getRenderSystem();
    const bool software = renderer && renderer->getCapabilities() &&
                          RaceSettings::isSoftwareRenderer(renderer->getCapabilities()->getDeviceName());
    if (software && config.getTextureQuality() >= 2)
        log("Software renderer " + renderer->getCapabilities()->getDeviceName() +
            ": the lightmapped materials are filtered trilinearly, not anisotropically");
    lightmapAnisotropy = RaceSettings::textureAnisotropy(config.getTextureQuality(), software);
    LightMapBakeParameters terrainBake;
    terrainBake.lightDirection = Ogre::Vector3::NEGATIVE_UNIT_Y;
    terrainBake.surfaceOffset = kTerrainSurfaceOffset;
    terrainBake.recordHits = false;
    terrainBake.anisotropy = lightmapAnisotropy;
    lightmapPicture = std::make_unique<ToyPictureGrey>();
    Ogre::SubEntity* ground = terrain->getEntity()->getSubEntity(0);
    // Only a race that plants trees has a picture with their shadows.
    const VegetationPlan plan = VegetationManager::planFor(*this);
    const std::string vegetationKey = plan.lightmapName();
    const auto source = RaceSettings::chooseLightmapSource(
        config.isVegetationEnabled(), plan.hasTrees() && imageCache && imageCache->exists(vegetationKey),
        imageCache && imageCache->exists(RaceSettings::kLightmapName));
    // A cached picture that does not read is baked anew.
    if (source == RaceSettings::LightmapSource::VegetationCache &&
        imageCache->loadImage(*lightmapPicture, vegetationKey))
    {
        terrainLightmap = std::make_unique<CLightMap>(physics.get(), ground, kTerrainLightmapSize, false, terrainBake);
        // The trees' shadows are already in it.
        lightmapWithTrees = true;
        terrainLightmap->loadFromPicture(lightmapPicture.get());
        return;
    }
    if (source != RaceSettings::LightmapSource::Compute &&
        imageCache->loadImage(*lightmapPicture, RaceSettings::kLightmapName))
    {
        terrainLightmap = std::make_unique<CLightMap>(physics.get(), ground, kTerrainLightmapSize, false, terrainBake);
        terrainLightmap->loadFromPicture(lightmapPicture.get());
        return;
    }
    log("\n\nCreating Lightmap...");
    showCaption(caption, "Creating Lightmap...");
    log("setPaging...");
    physics->setPaging(false);  // the rays see every shape
    log("LightMap...");
    terrainLightmap =
        std::make_unique<CLightMap>(physics.get(), ground, 0.0f, kTerrainLightmapSize, false, terrainBake);
    terrainLightmap->saveToPicture(lightmapPicture.get());
    if (imageCache)
        imageCache->saveImage(*lightmapPicture, RaceSettings::kLightmapName);
}

void GameScene::createStaticGeometry()
{
    if (settings.isLightMapsEnabled())
    {
        log("BakeLightMap for TrackTiles...");
        // The tiles bake with the class-wide settings: lit from straight above, as the terrain.
        CLightMap::setLightDirection(Ogre::Vector3::NEGATIVE_UNIT_Y);
        // Paging goes off (every shape made for the rays) only if a tile's map is baked.
        mapObject->bakeLightMaps();
        log("setPaging...");
    }
    physics->setPaging(true);
    log("createStatic...");
    mapObject->createBoundaries();
    terrainCollision = std::make_unique<TerrainPhysicManager>(physics.get(), terrain.get());
    terrainCollision->createPagedPatches();
    staticGeometry->build();
}

void GameScene::createVegetation(CEGUI::Window* caption)
{
    log("\n\nBuilding vegetation...");
    showCaption(caption, "Building vegetation...");
    const auto begin = std::chrono::steady_clock::now();
    try
    {
        vegetation = std::make_unique<VegetationManager>();
        vegetation->init(*this, cameraRig->getCamera(), *mapObject);
        const auto spent = std::chrono::steady_clock::now() - begin;
        log("Vegetation built in " +
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count()) + " ms");
    }
    catch (const std::exception& error)
    {
        dropVegetation(error.what());
    }
    catch (...)
    {
        dropVegetation("unknown error");
    }
    if (terrainLightmap)
        terrainLightmap->loadFromPicture(lightmapPicture.get());
}

void GameScene::dropVegetation(const std::string& why)
{
    // The race goes on as it would without vegetation.
    log("Vegetation failed, switched off: " + why);
    vegetation.reset();
    settings.setVegetationEnabled(false);
    // The picture may carry the trees' shadows, cached or stamped before the failure: there
    // are no trees to go with them now.
    if (lightmapPicture && imageCache && imageCache->loadImage(*lightmapPicture, RaceSettings::kLightmapName))
        lightmapWithTrees = false;
}

void GameScene::limitShadowReceivers()
{
    if (!settings.isShadowEnabled())
        return;
    // The terrain's render tiles and the track's tiles: everything of the world so far.
    shadowReceivers = std::make_unique<ShadowReceiverRange>(sceneManager);
    for (const char* type : {"ManualObject", "Entity"})
        for (const auto& named : sceneManager->getMovableObjects(type))
            shadowReceivers->add(named.second);
}

void GameScene::createCar()
{
    // A car file that does not read stops the load here (DataFileError names the file):
    // there is no race without the player's car.
    carDesc = XMLParser::getInstance()->loadCar(carFile);
    Ogre::Vector3 start = mapObject->getStartPosition();
    start.y = terrain->getMaxHeight(start.x, start.z, kStartSquare);
    car = std::make_unique<Car>("Car1_", carDesc.get(), start, mapObject->getStartOrientation(),
                                physics->getScene(), sceneManager, terrain.get());
    car->setCameraRig(cameraRig.get());
    mapObject->getCheckPointTracker()->setCar(car.get());
    physics->addListener(car.get());
}

void GameScene::createRaceRules(const MapDescription& map)
{
    const std::string savePath = settings.getSavePath();
    // Without a per-user folder the table is read from nowhere and saving it reports why.
    const std::string tablePath = savePath.empty() ? std::string() : highScorePathFor(savePath, map);
    gamePlay = std::make_unique<GamePlay>(sceneManager, mapObject->getCheckPointTracker(), cameraRig.get(), tablePath);
    gamePlay->setCar(car.get());
    physics->addListener(gamePlay.get());
}

void GameScene::createAI()
{
    Ogre::Entity* marker = sceneManager->createEntity("AIDebug", "sphere.1m.mesh");
    aiDebugNode = sceneManager->getRootSceneNode()->createChildSceneNode("AIDebugNode", Ogre::Vector3::ZERO);
    // On the marker node so that it goes with the scene; shown only while debugging the AI.
    aiDebugNode->attachObject(marker);
    marker->setVisible(false);
    strategicAI = std::make_unique<StrategicAI>(kNetworkFolder, kTrainingFolder);
    // The computer drivers take over the player's car when the AI key selects one.
    strategicAI->setCar(car.get());
    strategicAI->setMarker(aiDebugNode);
    if (TrackSpline* spline = mapObject->getTrackSpline())
        strategicAI->setTrackSpline(spline);
    else
        strategicAI->setCheckPointTracker(mapObject->getCheckPointTracker());
    physics->addListener(strategicAI.get());
    gamePlay->setStrategicAI(strategicAI.get());
}

void GameScene::update()
{
    if (!(physics->update() > 0.0f))
        return;  // paused
    if (gamePlay)
        gamePlay->updateGUI();
    const float speed = car ? car->getSpeedKmh() : 0.0f;
    const GameConfiguration& config = settings;
    if (config.isMotionBlurEnabled() && speedEffects.updateBlur(speed))
        setMotionBlur(speedEffects.isBlurActive());
    cameraRig->setFOV(SpeedEffects::fieldOfView(speed, config.getAspectRatio()));
    cameraRig->setLag(SpeedEffects::cameraLag(speed));
    if (aiDebugNode)
    {
        Ogre::Vector3 at = aiDebugNode->getPosition();
        at.y = terrain->getHeight(at.x, at.z) + kMarkerHeight;
        aiDebugNode->setPosition(at);
    }
    if (vegetation)
        vegetation->update();
    const Ogre::Vector3 eye = cameraRig->getPosition();
    cameraRig->follow(terrain->getHeight(eye.x, eye.z));
    if (viewport)
        terrainSource->updateLevels(*cameraRig->getCamera(), static_cast<float>(viewport->getActualHeight()));
    if (shadowReceivers)
        shadowReceivers->update(cameraRig->getCamera()->getDerivedPosition());
}

void GameScene::setMotionBlur(bool on)
{
    if (blurCompositor)
        blurCompositor->setEnabled(on);
    speedEffects.setBlurActive(on);
}

void GameScene::onPhysicStep(float dt)
{
    if (!car)
        return;
    terrainCollision->update({car->getNode()->getPosition()});
    cameraRig->update(dt, car->getAcceleration(), car->getHeading(true));
}

void GameScene::onPhysicFrame(float alpha, float, float)
{
    cameraRig->setAlpha(alpha);
}

void GameScene::enableEffects(bool withMotionBlur, bool testHDR)
{
    if (enabled)
        return;
    log("Enable GameScene...");
    enabled = true;
    // The loading screen enables the scene before the load makes the effects' scripts ready.
    RaceResourceGroup::prepare();
    viewport = renderWindow()->addViewport(cameraRig->getCamera(), kViewportZOrder, 0.0f, 0.0f, 1.0f, 1.0f);
    cameraRig->getCamera()->setAspectRatio(settings.getAspectRatio());
    if (withMotionBlur && settings.isMotionBlurEnabled() && !blurCompositor)
        createMotionBlur();
    if (settings.isHDREnabled() && !hdrCompositor)
        createHDR(testHDR);
}

void GameScene::createMotionBlur()
{
    log("Creating MotionBlur Effect...");
    try
    {
        Car* speedSource = car.get();
        blurListener = std::make_unique<MotionBlurListener>(
            [speedSource] { return speedSource ? speedSource->getWheelSpeed() : 0.0f; }, kMaxBlur, kBlurFromKmh,
            kBlurFullKmh);
        blurCompositor = Ogre::CompositorManager::getSingleton().addCompositor(viewport, "Motion Blur");
        if (!blurCompositor)
            logMissingCompositor("Motion Blur", "MotionBlur.compositor");
        if (blurCompositor)
        {
            blurCompositor->setEnabled(false);  // the speed switches it on
            speedEffects.setBlurActive(false);
            blurCompositor->addListener(blurListener.get());
        }
    }
    catch (const Ogre::Exception& error)
    {
        log("ERROR: Exception " + error.getFullDescription());
        blurCompositor = nullptr;
    }
    if (blurCompositor)
        log("DONE");
    else
    {
        log("FAILED");
        blurListener.reset();
        settings.setMotionBlurEnabled(false);
    }
}

void GameScene::createHDR(bool test)
{
    log("Creating HDR Effect...");
    try
    {
        hdrCompositor = Ogre::CompositorManager::getSingleton().addCompositor(viewport, "HDR", 0);
        if (!hdrCompositor)
            logMissingCompositor("HDR", "HDR.compositor");
        if (hdrCompositor)
        {
            hdrCompositor->setEnabled(true);
            hdrListener = std::make_unique<HDRListener>(hdrCompositor, static_cast<int>(settings.getHDRFading()));
            hdrCompositor->addListener(hdrListener.get());
            hdrListener->notifyViewportSize(viewport->getActualWidth(), viewport->getActualHeight());
            hdrListener->notifyCompositor(hdrCompositor);
            if (test)
            {
                log("Testing HDR...");
                Ogre::Root::getSingleton().renderOneFrame();
            }
        }
    }
    catch (const Ogre::Exception& error)
    {
        log("ERROR: Exception " + error.getFullDescription());
        if (hdrCompositor)
            Ogre::CompositorManager::getSingleton().removeCompositor(viewport, "HDR");
        hdrCompositor = nullptr;
    }
    if (hdrCompositor)
        log("DONE");
    else
    {
        log("FAILED");
        hdrListener.reset();
        settings.setHDREnabled(false);
    }
}

void GameScene::disable()
{
    if (!enabled)
        return;
    log("Disable GameScene...");
    if (blurCompositor && speedEffects.isBlurActive())
        setMotionBlur(false);
    Ogre::CompositorManager& compositors = Ogre::CompositorManager::getSingleton();
    if (blurCompositor)
    {
        log("Removing Motion Blur Effect...");
        blurCompositor->removeListener(blurListener.get());
        compositors.removeCompositor(viewport, "Motion Blur");
        blurCompositor = nullptr;
    }
    if (hdrCompositor)
    {
        log("Removing HDR Effect...");
        hdrCompositor->removeListener(hdrListener.get());
        compositors.removeCompositor(viewport, "HDR");
        hdrCompositor = nullptr;
    }
    blurListener.reset();
    hdrListener.reset();
    if (Ogre::RenderWindow* window = renderWindow())
    {
        if (window->hasViewportWithZOrder(kViewportZOrder))
            window->removeViewport(kViewportZOrder);
    }
    viewport = nullptr;
    enabled = false;
}

void GameScene::destroy()
{
    if (!sceneManager)
        return;
    LogStream::getInstance()->getStream() << "DestroyScene" << std::endl;
    disable();
    physics->clearPagedActors();
    terrainSource->removeListener(terrain.get());
    vegetation.reset();
    cameraRig->camSwitch(nullptr, nullptr);
    // The rules and the drivers hold the car: they go before it.
    if (gamePlay)
    {
        physics->removeListener(gamePlay.get());
        gamePlay.reset();
    }
    if (strategicAI)
    {
        physics->removeListener(strategicAI.get());
        strategicAI.reset();
    }
    if (car)
    {
        mapObject->getCheckPointTracker()->setCar(nullptr);
        physics->removeListener(car.get());
        car->clearCameraRig();
        car.reset();
    }
    carDesc.reset();
    physics->removeListener(this);
    shadowReceivers.reset();  // holds the track's and the terrain's objects
    terrainLightmap.reset();
    lightmapPicture.reset();
    lightmapWithTrees = false;
    mapObject.reset();
    terrainCollision.reset();
    terrain.reset();
    terrainSource.reset();
    physics->pause();
    physics.reset();
    if (raceSky)
    {
        raceSky->destroy();
        raceSky.reset();
    }
    imageCache.reset();
    lightmapCache.reset();
    SoundManager::getInstance()->setCamera(nullptr);
    cameraRig.reset();
    sceneManager->clearScene();
    sceneManager->destroyAllStaticGeometry();
    sceneManager->destroyAllCameras();
    Ogre::Root::getSingleton().destroySceneManager(sceneManager);
    sceneManager = nullptr;
    staticGeometry = nullptr;
    aiDebugNode = nullptr;
    Ogre::MeshManager::getSingleton().unloadUnreferencedResources(true);
    LogStream::getInstance()->getStream() << "DestroyScene END" << std::endl;
}

nxOgre::scene* GameScene::getPhysicScene() const
{
    return physics ? physics->getScene() : nullptr;
}

Ogre::Camera* GameScene::getCamera() const
{
    return cameraRig ? cameraRig->getCamera() : nullptr;
}

void GameScene::addToStaticGeometry(Ogre::SceneNode* node)
{
    if (staticGeometry)
        staticGeometry->addSceneNode(node);
}

Ogre::Vector3 GameScene::screenToWorld(const Ogre::Vector2& screen)
{
    return screenExtentToWorld(*cameraRig->getCamera(), screen);
}

Ogre::Vector3 GameScene::screenToWorldRay(const Ogre::Vector2& screen)
{
    return screenPointToWorld(*cameraRig->getCamera(), screen);
}
