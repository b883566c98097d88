// The race scene: its own scene manager, the race camera, the physics world and, while a
// race is loaded, the terrain, the track, the lightmaps, the sky, the player's car, the
// race rules and the computer drivers' selector. Made empty at start-up and after every race.
#pragma once

#include "SpeedEffects.h"
#include "Scene.h"
#include "graphics/LightMapBakeParameters.h"
#include "physic/PhysicListener.h"
#include "track/TrackScene.h"

#include <memory>
#include <string>

namespace CEGUI
{
class Window;
}

namespace Ogre
{
class Camera;
class CompositorInstance;
class Entity;
class Light;
class StaticGeometry;
class Viewport;
}

struct MapDescription;
class CameraRig;
class Car;
class CarDesc;
class CLightMap;
class GameConfiguration;
class HDRListener;
class MapObject;
class MotionBlurListener;
class PhysicBase;
class RaceSky;
class ShadowReceiverRange;
class GamePlay;
class StrategicAI;
class TempImageManager;
class TempImageManagerTLM;
class TerrainObject;
class TerrainPageSource;
class TerrainPhysicManager;
class VegetationManager;
class ToyPictureGrey;

class GameScene : public Scene, public TrackScene, public PhysicListener
{
public:
    static constexpr const char* kCarFile = "../media/cars/Roadster.xml";
    static constexpr unsigned short kViewportZOrder = 10;

    // Creates the empty race scene on the game's settings; engine exceptions pass.
    GameScene();
    // The same on the given settings (borrowed; they outlive the scene), which the scene reads
    // and in which it switches off the effects it cannot build.
    explicit GameScene(GameConfiguration& settings);
    virtual ~GameScene();
    GameScene(const GameScene&) = delete;
    GameScene& operator=(const GameScene&) = delete;

    void create() override;
    // Loads one race: world, track, lightmaps, static geometry, the car, the rules and the
    // computer drivers. Each stage's caption goes to the loading screen's text window when
    // there is one. A broken data file (the car's too) throws DataFileError; the scene is
    // then to be replaced, not raced.
    void load(const MapDescription& map, CEGUI::Window* caption);
    void destroy() override;
    // The race view without the speed blur, the HDR bloom tried on one frame.
    void enable() override { enableEffects(false, true); }
    // The race view and its screen effects; an effect that cannot be built is switched off
    // in the settings and the race goes on without it.
    void enableEffects(bool withMotionBlur, bool testHDR);
    void disable() override;
    // Once per rendered frame while the race runs.
    void update();
    Ogre::SceneManager* getSceneManager() override { return sceneManager; }
    void addToStaticGeometry(Ogre::SceneNode* node) override;
    Ogre::Vector3 screenToWorld(const Ogre::Vector2& screen) override;
    Ogre::Vector3 screenToWorldRay(const Ogre::Vector2& screen) override;

    void onPhysicStep(float dt) override;
    void onPhysicFrame(float alpha, float alphaTime, float frameDt) override;

    // Another car file for this scene's next load (tools and tests).
    void setCarFile(const std::string& path) { carFile = path; }
    // The settings the race is built by.
    const GameConfiguration& getSettings() const { return settings; }

    Ogre::Camera* getCamera() const;
    CameraRig* getCameraRig() const { return cameraRig.get(); }
    // The race's terrain, registered with the scene's terrain page source; no terrain is
    // loaded until the race loads.
    TerrainObject* getTerrainObject() const override { return terrain.get(); }
    // The race's physics world, logging to the per-user folder when there is one.
    PhysicBase* getPhysicBase() const override { return physics.get(); }
    nxOgre::scene* getPhysicScene() const override;
    // The tile lightmap cache "lightmaps" of the per-user folder; null when the settings have
    // no per-user folder.
    TempImageManagerTLM* getLightmapCache() const override { return lightmapCache.get(); }
    // The lightmapped materials' filtering: by the texture quality, trilinear on a software
    // renderer; worked out with the race's terrain lightmap.
    unsigned getLightMapAnisotropy() const override { return lightmapAnisotropy; }
    // The track's cache of generated pictures; null before a load.
    TempImageManager* getImageCache() const { return imageCache.get(); }
    ToyPictureGrey* getLightmapPicture() const { return lightmapPicture.get(); }
    // Whether the lightmap picture came from the cache with the trees' shadows in it.
    bool lightmapHasTrees() const { return lightmapWithTrees; }
    // The race's trees; null with vegetation off or when they could not be built.
    VegetationManager* getVegetation() const { return vegetation.get(); }
    // The race's track, empty until it is loaded.
    MapObject* getMapObject() const { return mapObject.get(); }
    // The player's car; null before a load.
    Car* getCar() const { return car.get(); }
    GamePlay* getGamePlay() const { return gamePlay.get(); }
    StrategicAI* getStrategicAI() const { return strategicAI.get(); }
    bool isEnabled() const { return enabled; }
    bool isMotionBlurActive() const { return speedEffects.isBlurActive(); }
    bool hasAdvancedSky() const { return raceSky != nullptr; }
    // The advanced sky; null when the race uses the sky box.
    const RaceSky* getRaceSky() const { return raceSky.get(); }

private:
    void createWorld();
    void createSky();
    void createTrack(const MapDescription& map);
    void createTerrainLightmap(const MapDescription& map, CEGUI::Window* caption);
    void createStaticGeometry();
    // An error switches vegetation off for the game; the race loads without it.
    void createVegetation(CEGUI::Window* caption);
    void dropVegetation(const std::string& why);
    void limitShadowReceivers();
    void createCar();
    // Where the race rules join the scene: registered after the car, before the AI.
    void createRaceRules(const MapDescription& map);
    void createAI();
    // Draws the race's first view once, behind the loading screen when it is enabled.
    void drawStartView();
    void createMotionBlur();
    void createHDR(bool test);
    void setMotionBlur(bool on);

    GameConfiguration& settings;
    std::string carFile = kCarFile;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Viewport* viewport = nullptr;
    std::unique_ptr<CameraRig> cameraRig;
    Ogre::StaticGeometry* staticGeometry = nullptr;
    Ogre::SceneNode* aiDebugNode = nullptr;
    bool enabled = false;
    SpeedEffects speedEffects;
    Ogre::CompositorInstance* blurCompositor = nullptr;
    Ogre::CompositorInstance* hdrCompositor = nullptr;
    std::unique_ptr<MotionBlurListener> blurListener;
    std::unique_ptr<HDRListener> hdrListener;
    std::unique_ptr<RaceSky> raceSky;
    std::unique_ptr<ShadowReceiverRange> shadowReceivers;  // null without shadows
    std::unique_ptr<PhysicBase> physics;
    std::unique_ptr<TerrainPageSource> terrainSource;
    std::unique_ptr<TerrainObject> terrain;
    std::unique_ptr<TempImageManagerTLM> lightmapCache;
    std::unique_ptr<TempImageManager> imageCache;
    std::unique_ptr<ToyPictureGrey> lightmapPicture;
    std::unique_ptr<CLightMap> terrainLightmap;
    unsigned lightmapAnisotropy = LightMapBakeParameters().anisotropy;
    bool lightmapWithTrees = false;
    std::unique_ptr<VegetationManager> vegetation;  // before the track and the terrain it stands on
    std::unique_ptr<MapObject> mapObject;  // holds actors in the physics scene: goes first
    std::unique_ptr<TerrainPhysicManager> terrainCollision;  // before the physics it lives in
    std::unique_ptr<CarDesc> carDesc;
    std::unique_ptr<Car> car;
    std::unique_ptr<GamePlay> gamePlay;
    std::unique_ptr<StrategicAI> strategicAI;
};
