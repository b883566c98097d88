// The headless race scene of the car tests and the car benchmark.
#include "CarScene.h"

#include "EnginePlugins.h"
#include "HeadlessOgre.h"
#include "physic/RaceMaterials.h"
#include "physic/VehicleSR.h"
#include "XMLParser.h"
#include "graphics/LightSorter.h"

#include <OGRE/Ogre.h>

#include <cmath>
#include <cstdlib>

// The sound facade starts before main: give it OpenAL's silent device, so that the car's
// sounds load and play into nothing, unless the environment asks for another. Linked into
// every program that uses the car scene.
__attribute__((constructor(101))) static void useSilentSoundDevice()
{
    setenv("ALSOFT_DRIVERS", "null", 0);
}

namespace
{
const std::string kMediaDir = std::string(QUILLMOR_BUILD_DIR) + "/media/";
const std::string kGameMediaPrefix = "../media/";

void addDirectionalLight(Ogre::SceneManager* sceneManager, const std::string& name, const Ogre::Vector3& direction)
{
    Ogre::Light* light = sceneManager->createLight(name);
    light->setType(Ogre::Light::LT_DIRECTIONAL);
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(light);
    light->getParentSceneNode()->setDirection(direction.normalisedCopy(), Ogre::Node::TS_WORLD);
}

void readSoundFromBuild(SoundDesc& sound)
{
    if (sound.path.compare(0, kGameMediaPrefix.size(), kGameMediaPrefix) == 0)
        sound.path = kMediaDir + sound.path.substr(kGameMediaPrefix.size());
}
}

void CarScene::prepareMedia()
{
    static bool prepared = false;
    if (prepared)
        return;
    TerrainFiles::prepareEngine();  // a texture manager, so that material scripts parse
    EnginePlugins::load("Plugin_ParticleFX");
    // Without a render system the root never initialises the particle manager, whose
    // billboard renderer the smoke needs.
    Ogre::ParticleSystemManager& particles = Ogre::ParticleSystemManager::getSingleton();
    bool hasBillboards = false;
    for (auto it = particles.getRendererFactoryIterator(); it.hasMoreElements(); it.moveNext())
        hasBillboards = hasBillboards || it.peekNextKey() == "billboard";
    if (!hasBillboards)
        particles._initialise();
    // Particle systems take their frame clock from the controller manager on attachment.
    if (!Ogre::ControllerManager::getSingletonPtr())
        new Ogre::ControllerManager();  // lives as long as the headless engine
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    const std::string group = "CarSceneMedia";
    groups.createResourceGroup(group);
    groups.addResourceLocation(kMediaDir + "cars", "FileSystem", group);
    groups.addResourceLocation(kMediaDir + "materials", "FileSystem", group);
    groups.initialiseResourceGroup(group);
    prepared = true;
}

std::unique_ptr<CarDesc> CarScene::roadster()
{
    auto desc = XMLParser::getInstance()->loadCar(kMediaDir + "cars/Roadster.xml");
    for (auto* list : {&desc->motorSounds, &desc->carCrashSounds, &desc->wheelCrashSounds})
        for (SoundDesc& sound : *list)
            readSoundFromBuild(sound);
    for (SoundDesc* sound : {&desc->skidSound, &desc->terrainSound, &desc->crashTouchSound})
        readSoundFromBuild(*sound);
    return desc;
}

CarScene::CarScene()
{
    prepareMedia();
    scene = physics.init();
    prepareRace(*scene, sceneManager());
}

void CarScene::prepareRace(nxOgre::scene& scene, Ogre::SceneManager* sceneManager)
{
    // The race scene makes the road's and the terrain's materials before the car.
    createRaceMaterials(scene);
    addDirectionalLight(sceneManager, LightSorter::kShadowLightName, Ogre::Vector3::NEGATIVE_UNIT_Y);
    addDirectionalLight(sceneManager, LightSorter::kSunLightName, Ogre::Vector3(0.3f, -1.0f, 0.2f));
}

CarScene::~CarScene()
{
    physics.clearPagedActors();
}

void CarScene::loadTerrain(unsigned pageSize, float pageWorld, float maxHeight,
                           const std::function<float(unsigned, unsigned)>& height)
{
    files.addTerrain("CarTest", pageSize, pageWorld, maxHeight, height);
    terrainScene.terrain->load("CarTest", files.listPath());
    terrainPhysics = std::make_unique<TerrainPhysicManager>(&physics, terrainScene.terrain.get());
    physics.setPaging(true);
    terrainPhysics->createPagedPatches();
    terrainLoaded = true;
}

std::unique_ptr<Car> CarScene::makeCar(const CarDesc& desc, const Ogre::Vector3& at, const Ogre::Quaternion& turn,
                                       const std::string& name)
{
    auto car = std::make_unique<Car>(name, &desc, at, turn, scene, sceneManager(), terrain());
    car->getVehicle()->getGearbox()->setAutomatic(true);
    return car;
}

void CarScene::step(Car& car)
{
    if (physics.isPaging())
        physics.pagingUpdate();
    physics.simulate(1.0f);  // the nodes follow the bodies' latest poses
    car.onPhysicStep(kStep);
}

void CarScene::frame(Car& car, float frameDt)
{
    car.onPhysicFrame(1.0f, kStep, frameDt);
}

void CarScene::run(Car& car, float seconds, const std::function<bool()>& each)
{
    const int steps = static_cast<int>(std::lround(seconds / kStep));
    for (int i = 0; i < steps; ++i)
    {
        step(car);
        frame(car);
        if (each && !each())
            return;
    }
}
