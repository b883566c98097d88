// Building and taking down the player's car: vehicle, probes, material clones, cameras,
// sounds, smoke, tyre tracks and the light sorter.
#include "physic/Car.h"

#include "LogStream.h"
#include "graphics/EntityMaterialInstancePlus.h"
#include "graphics/LightSorter.h"
#include "graphics/LineManager.h"
#include "physic/CameraRig.h"
#include "physic/CarCam.h"
#include "physic/CarContactSounds.h"
#include "physic/CarDesc.h"
#include "physic/LinearCurve.h"
#include "physic/VehicleSR.h"
#include "physic/Wheel.h"
#include "platform/physics/scene.h"
#include "sound/NodeSound.h"
#include "sound/SoundControl.h"
#include "sound/SoundManager.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreParticleSystem.h>
#include <OGRE/OgreParticleSystemManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

namespace
{
constexpr unsigned kRenderQueueSmoke = 90;
constexpr std::uint32_t kTrailStrips = 100;
constexpr std::uint32_t kTrailPairsPerStrip = 40;
const char* const kShadePrefix = "ShadowMaterial";
const char* const kRoadMaterialName = "roadMaterial";
const char* const kTerrainMaterialName = "terrainMaterial";
// Where the shade rays start, in the car's frame: centre, front, back.
const Ogre::Vector3 kProbePoints[] = {{0.0f, 0.0f, 0.0f}, {1.8f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}};
// km/h allowed at a steering command: the AI drivers slow down to it. Our tracks' bends are
// tight right angles on narrow roads: the car takes them at about 35 km/h, straights at 60.
const std::pair<float, float> kAISpeedPoints[] = {{0.0f, 60.0f}, {0.3f, 50.0f}, {1.05f, 35.0f}, {10.0f, 20.0f}};
}

Car::Car(const std::string& name, const CarDesc* desc, const Ogre::Vector3& startPosition,
         const Ogre::Quaternion& startOrientation, nxOgre::scene* physicsScene, Ogre::SceneManager* sceneManager,
         TerrainHeights* terrain)
    : startPosition(startPosition),
      startOrientation(startOrientation),
      name(name),
      sceneManager(sceneManager),
      physicsScene(physicsScene),
      terrain(terrain),
      engineSoundControl(std::make_unique<SoundControl>())
{
    create(desc);
}

void Car::create(const CarDesc* desc)
{
    // The vehicle, from a copy: building it writes the wheels' orientations
    VehicleDesc vehicleDesc = *desc->vehicle;
    std::string prefix = name;
    vehicle.reset(vehicleDesc.createVehicle(prefix, startPosition, physicsScene, sceneManager));
    node = vehicle->getBodyNode();

    // The points of the shade test
    for (const Ogre::Vector3& point : kProbePoints)
        probeNodes.push_back(node->createChildSceneNode(point));

    // The shade clones; the brake lights are the clone of their own material
    shadeMaterial = std::make_unique<EntityMaterialInstancePlus>(name + kShadePrefix, vehicle->getChassisEntity());
    if (!desc->brakeLightMaterial.empty())
    {
        for (const auto& instance : shadeMaterial->getInstances())
            if (instance->getBase()->getName() == desc->brakeLightMaterial)
                brakeLightMaterial = instance->getCopy();
        if (!brakeLightMaterial)
            debugLog() << "Car " << name << ": the chassis has no sub-mesh of the brake-light material \""
                       << desc->brakeLightMaterial << "\"; the brake lights stay dark\n";
    }

    // Cameras
    const std::pair<const std::string*, std::unique_ptr<CarCam>*> roles[] = {{&desc->followCamera, &followCamera},
                                                                             {&desc->bumperCamera, &bumperCamera},
                                                                             {&desc->hoodCamera, &hoodCamera},
                                                                             {&desc->cockpitCamera, &cockpitCamera}};
    for (const auto& role : roles)
    {
        const auto found = desc->cameras.find(*role.first);
        if (!role.first->empty() && found != desc->cameras.end())
            *role.second = std::make_unique<CarCam>(name, node, found->second);
    }

    // Sounds
    createSounds(desc);

    // Smoke and tyre tracks per wheel
    createEffects();

    // The surfaces that leave marks and make the terrain sound
    if (nxOgre::material* road = physicsScene->findMaterial(kRoadMaterialName))
        roadMaterial = road->getMaterialIndex();
    if (nxOgre::material* ground = physicsScene->findMaterial(kTerrainMaterialName))
    {
        terrainMaterial = ground->getMaterialIndex();
        hasTerrainMaterial = true;
    }

    // The curve of speeds the computer driver aims for
    aiSpeedCurve = std::make_unique<LinearCurve>();
    for (const auto& point : kAISpeedPoints)
        aiSpeedCurve->addPoint(point.first, point.second);

    // The car is lit by the scene's two fixed lights
    if (sceneManager->hasLight(LightSorter::kShadowLightName) && sceneManager->hasLight(LightSorter::kSunLightName))
    {
        lightSorter = std::make_unique<LightSorter>(sceneManager);
        vehicle->getChassisEntity()->setListener(lightSorter.get());
        for (const auto& wheel : vehicle->getWheels())
            wheel->getEntity()->setListener(lightSorter.get());
    }
    else
    {
        debugLog() << "Car " << name << ": the scene lacks \"" << LightSorter::kShadowLightName << "\" or \""
                   << LightSorter::kSunLightName << "\"; the car takes the engine's lights\n";
    }

    // The car is set on the ground at its start pose, at rest, with every input released
    resetPose();
}

NodeSound* Car::makeNodeSound(const std::string& path, bool loop)
{
    NodeSound* sound = SoundManager::getInstance()->create3DNodeSound(sceneManager, path, loop, kSoundGroup);
    sound->setNodeName(node->getName());
    sound->stop();
    return sound;
}

void Car::createSounds(const CarDesc* desc)
{
    engineSoundControl->clear();
    for (const SoundDesc& sound : desc->motorSounds)
    {
        NodeSound* engine = makeNodeSound(sound.path, true);
        const int id = engineSoundControl->addSound(engine->getSound(), sound.minValue, sound.maxValue);
        if (id >= 0)
        {
            if (sound.pitchControl)
                engineSoundControl->setPitchMapping(id, sound.pitchFactor, sound.standardValue);
            if (sound.fadeSlopes.size() == sound.fadeBreakpoints.size())
                for (size_t j = 0; j < sound.fadeSlopes.size(); ++j)
                    engineSoundControl->setVolumeMapping(id, sound.fadeSlopes[j], sound.fadeBreakpoints[j]);
        }
        engineSounds.push_back(engine);
    }

    contactSounds = std::make_unique<CarContactSounds>(vehicle->getBody());
    for (const SoundDesc& sound : desc->carCrashSounds)
    {
        carCrashSounds.push_back(makeNodeSound(sound.path, false));
        contactSounds->addCarCrashSound(carCrashSounds.back()->getSound(), sound.minValue, sound.maxValue);
    }
    for (const SoundDesc& sound : desc->wheelCrashSounds)
    {
        wheelCrashSounds.push_back(makeNodeSound(sound.path, false));
        contactSounds->addWheelCrashSound(wheelCrashSounds.back()->getSound(), sound.minValue, sound.maxValue);
    }
    // The chassis' contacts with anything are reported to the crash sounds.
    physicsScene->addContactReporter(contactSounds.get());
    const nxOgre::NxActorGroup group = physicsScene->findGroupIndex(kActorGroup);
    vehicle->getBody()->getNxActor()->setGroup(group);
    physicsScene->setGroupContactReport(group, true);

    if (!desc->crashTouchSound.path.empty())
        crashTouchSound = makeNodeSound(desc->crashTouchSound.path, false);
    if (!desc->skidSound.path.empty())
        skidSound = makeNodeSound(desc->skidSound.path, true);
    if (!desc->terrainSound.path.empty())
        terrainSound = makeNodeSound(desc->terrainSound.path, true);
}

void Car::createEffects()
{
    // A missing template is a media fault: the car drives on without smoke.
    const bool smoke = Ogre::ParticleSystemManager::getSingleton().getTemplate(kSmokeTemplate) != nullptr;
    if (!smoke)
        debugLog() << "Car " << name << ": no particle template \"" << kSmokeTemplate << "\"; the tyres make no smoke\n";
    const auto& wheels = vehicle->getWheels();
    for (size_t i = 0; i < wheels.size(); ++i)
    {
        Ogre::ParticleSystem* system = nullptr;
        Ogre::SceneNode* smokeNode = nullptr;
        if (smoke)
        {
            system = sceneManager->createParticleSystem(name + "Smoke" + std::to_string(i), kSmokeTemplate);
            system->setRenderQueueGroup(kRenderQueueSmoke);
            // The car's step advances the smoke, not the frame clock.
            system->setSpeedFactor(0.0f);
            smokeNode = wheels[i]->getWheelNode()->createChildSceneNode();
            smokeNode->attachObject(system);
        }
        smokeSystems.push_back(system);
        smokeNodes.push_back(smokeNode);
        tyreTrails.push_back(std::make_unique<LineManager>(sceneManager, "", kTrailStrips, kTrailPairsPerStrip));
    }
}

Car::~Car()
{
    // The rig must not keep hanging at nodes that go with the car.
    if (cameraRig)
        for (int index = kFollowCamera; index <= kCockpitCamera; ++index)
            if (CarCam* camera = cameraAt(index))
                if (cameraRig->getPositionNode() == camera->getPositionNode())
                    cameraRig->camSwitch(nullptr, nullptr);
    if (lightSorter)
    {
        vehicle->getChassisEntity()->setListener(nullptr);
        for (const auto& wheel : vehicle->getWheels())
            wheel->getEntity()->setListener(nullptr);
    }
    physicsScene->removeContactReporter(contactSounds.get());
    contactSounds.reset();
    followCamera.reset();
    bumperCamera.reset();
    hoodCamera.reset();
    cockpitCamera.reset();
    destroySounds();
    brakeLightMaterial.reset();
    shadeMaterial.reset();  // gives the chassis its materials back and removes the clones
    destroyEffects();
    aiSpeedCurve.reset();
    destroyVehicle();
    engineSoundControl.reset();
    lightSorter.reset();
}

void Car::destroySounds()
{
    SoundManager* sounds = SoundManager::getInstance();
    sounds->destroyNodeSound(skidSound);
    sounds->destroyNodeSound(terrainSound);
    sounds->destroyNodeSound(crashTouchSound);
    skidSound = terrainSound = crashTouchSound = nullptr;
    for (auto* list : {&engineSounds, &carCrashSounds, &wheelCrashSounds})
    {
        for (NodeSound* sound : *list)
            sounds->destroyNodeSound(sound);
        list->clear();
    }
}

void Car::destroyEffects()
{
    for (Ogre::ParticleSystem* system : smokeSystems)
        if (system)
            sceneManager->destroyParticleSystem(system);
    for (Ogre::SceneNode* smokeNode : smokeNodes)
        if (smokeNode)
            sceneManager->destroySceneNode(smokeNode);
    smokeSystems.clear();
    smokeNodes.clear();
    tyreTrails.clear();
    for (Ogre::SceneNode* probe : probeNodes)
        sceneManager->destroySceneNode(probe);
    probeNodes.clear();
}

void Car::destroyVehicle()
{
    // The vehicle leaves its body, entities and nodes behind; a car that goes takes them.
    std::vector<Ogre::Entity*> entities{vehicle->getChassisEntity()};
    for (const auto& wheel : vehicle->getWheels())
        entities.push_back(wheel->getEntity());
    const std::string bodyName = vehicle->getBody()->getName();
    Ogre::SceneNode* bodyNode = vehicle->getBodyNode();
    vehicle.reset();
    for (Ogre::Entity* entity : entities)
        sceneManager->destroyEntity(entity);
    bodyNode->removeAndDestroyAllChildren();
    sceneManager->destroySceneNode(bodyNode);
    physicsScene->destroyBody(bodyName);
    node = nullptr;
}
