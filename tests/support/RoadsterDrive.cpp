// The drive harness: headless engine, car file, physics scene and the car's input rules.
#include "RoadsterDrive.h"

#include "GameConfiguration.h"
#include "GameScene.h"
#include "HeadlessOgre.h"
#include "OfflineEngine.h"
#include "XMLParser.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "physic/PhysicListener.h"
#include "physic/RaceMaterials.h"
#include "platform/physics/NxShapeDesc.h"
#include "platform/physics/NxActor.h"
#include "platform/physics/scene.h"

#include <OGRE/Ogre.h>
#include <btBulletDynamicsCommon.h>

#include <cmath>
#include <set>
#include <stdexcept>

namespace
{
// The sub-mesh name the road tiles carry.
const char* const kTileRoadName = "road1_blinn1";

// One resource group per media folder, made once per process. Left uninitialised: without a
// render system the material scripts can't be parsed, and the meshes need only the files.
void registerCarMedia(const std::string& carsDir)
{
    static std::set<std::string> registered;
    if (!registered.insert(carsDir).second)
        return;
    HeadlessOgre::root();
    const std::string group = "Cars" + std::to_string(registered.size());
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.createResourceGroup(group);
    groups.addResourceLocation(carsDir, "FileSystem", group);
}
}

// The vehicle's part of a race step, after the world's, as the player's car takes it.
class RaceStep : public PhysicListener
{
public:
    explicit RaceStep(std::function<void()> drive) : drive(std::move(drive)) {}
    void onPhysicStep(float) override { drive(); }

private:
    std::function<void()> drive;
};

RoadsterDrive::RoadsterDrive(const std::string& mediaDir, const std::string& carFile, float stepSeconds, bool floor)
    : dt(stepSeconds), physics(std::make_unique<nxOgre::world>(0, 1, ""))
{
    const std::string carsDir = mediaDir + "/cars";
    registerCarMedia(carsDir);
    // The scene as the race sets it up.
    physicsScene = physics->createScene("DefaultScene");
    physicsScene->setGravity(btVector3(0, -kGravity, 0));
    physicsScene->setTiming(0, dt, 1);
    nxOgre::material* standard = physicsScene->findMaterial("Default");
    standard->setBounce(0.5f);
    standard->setStaticFriction(0.6f);
    standard->setDynamicFriction(0.6f);
    createRaceMaterials(*physicsScene);
    // The ground is the race's road: a plane through the origin facing up.
    if (floor)
    {
        nxOgre::NxPlaneShapeDesc plane;
        plane.materialIndex = physicsScene->findMaterialIndex(RaceMaterials::kRoadName);
        nxOgre::NxActorDesc ground;
        ground.name = "road";
        ground.shapes = {&plane};
        physicsScene->createActor(ground);
    }
    sceneManager = HeadlessOgre::createSceneManager();
    createCar(carsDir, carFile);
}

RoadsterDrive::RoadsterDrive(const std::string& mediaDir, World world) : dt(0.01f)
{
    if (world == World::Harness)
        throw std::invalid_argument("the harness world has its own constructor");
    const std::string carsDir = mediaDir + "/cars";
    registerCarMedia(carsDir);
    OfflineEngine::loadSceneManagers();
    raceSettings = std::make_unique<GameConfiguration>();
    raceScene = std::make_unique<GameScene>(*raceSettings);
    physicsScene = raceScene->getPhysicScene();
    sceneManager = raceScene->getSceneManager();
    // A road as the tiles bring it: their road sub-meshes' name, which the race scene
    // aliases to its road material, above the world's own floor.
    groundHeight = kRaceRoadHeight;
    nxOgre::NxPlaneShapeDesc plane;
    plane.d = groundHeight;
    plane.materialIndex = physicsScene->findMaterialIndex(kTileRoadName);
    // Unknown names fall back to the default material, which would drive just as well.
    if (plane.materialIndex == 0 || plane.materialIndex != physicsScene->findMaterialIndex(RaceMaterials::kRoadName))
        throw std::logic_error(std::string("the race scene does not know the road as \"") + kTileRoadName + "\"");
    nxOgre::NxActorDesc ground;
    ground.name = "road";
    ground.shapes = {&plane};
    physicsScene->createActor(ground);
    createCar(carsDir, "Roadster.xml");
    raceStep = std::make_unique<RaceStep>([this] { driveVehicle(); });
    raceScene->getPhysicBase()->addListener(raceStep.get());
}

void RoadsterDrive::createCar(const std::string& carsDir, const std::string& carFile)
{
    desc = XMLParser::getInstance()->loadCar(carsDir + "/" + carFile);
    std::string name = "Test";
    car.reset(desc->vehicle->createVehicle(name, Ogre::Vector3(0, 1, 0), physicsScene, sceneManager));
    car->getGearbox()->setAutomatic(true);
    place(btVector3(0, 0, 0));
}

RoadsterDrive::~RoadsterDrive()
{
    car.reset();
    if (raceScene)
    {
        raceScene->getPhysicBase()->removeListener(raceStep.get());
        raceScene.reset();
    }
    else
        HeadlessOgre::root().destroySceneManager(sceneManager);
}

void RoadsterDrive::place(const btVector3& at, const btQuaternion& turn)
{
    nxOgre::body& body = *car->getBody();
    const btVector3 up = quatRotate(turn, btVector3(0, 1, 0));
    body.setGlobalOrientation(turn);
    body.setGlobalPosition(at + btVector3(0, groundHeight, 0) + up * 0.8f);
    car->resetMotion();
    inputs = Inputs();
}

void RoadsterDrive::step()
{
    elapsed += dt;
    if (raceScene)
    {
        // One fixed step of the race's loop: the world, then its listeners.
        raceScene->getPhysicBase()->simulate(0.0f);
        return;
    }
    physics->frameStarted(nxOgre::FrameEvent{dt, dt});
    physics->render(1.0f);  // the bodies' scene nodes follow, as in the game
    driveVehicle();
}

void RoadsterDrive::driveVehicle()
{
    VehicleSR& v = *car;
    v.onPhysicStep(dt);
    v.setThrottle(inputs.throttle);
    v.setBrake(inputs.brake, false);
    if (inputs.throttle == 0.0f && inputs.brake == 0.0f && std::fabs(v.getWheelSpeed()) < Car::kIdleBrakeKmh)
        v.setBrake(std::fabs(forwardKmh()) < Car::kIdleHoldKmh ? Car::kIdleBrake : Car::kIdleRollingBrake, true);
    if (inputs.digitalSteer)
        v.setSteering(inputs.steer > 0.0f ? 1.0f : inputs.steer < 0.0f ? -1.0f : 0.0f, false);
    else
        v.setSteering(inputs.steer, true);
    v.setParkBrake(inputs.handbrake);
}

void RoadsterDrive::run(float seconds, const std::function<bool()>& each)
{
    const int steps = static_cast<int>(std::lround(seconds / dt));
    for (int i = 0; i < steps; ++i)
    {
        step();
        if (each && !each())
            return;
    }
}

float RoadsterDrive::forwardKmh() const
{
    const nxOgre::NxActor& actor = *car->getBody()->getNxActor();
    return actor.getLinearVelocity().dot(actor.getGlobalPose().getBasis().getColumn(0)) * 3.6f;
}

btVector3 RoadsterDrive::position() const
{
    return car->getBody()->getGlobalPosition();
}

btVector3 RoadsterDrive::velocity() const
{
    return car->getBody()->getNxActor()->getLinearVelocity();
}

float RoadsterDrive::yawRate() const
{
    const nxOgre::NxActor& actor = *car->getBody()->getNxActor();
    return actor.getAngularVelocity().dot(actor.getGlobalPose().getBasis().getColumn(1));
}

float RoadsterDrive::headingDegrees() const
{
    const btVector3 forward = car->getBody()->getNxActor()->getGlobalPose().getBasis().getColumn(0);
    return std::atan2(-forward.z(), forward.x()) * 180.0f / static_cast<float>(M_PI);
}

float RoadsterDrive::largestLateralSlip() const
{
    float largest = 0.0f;
    for (const auto& wheel : car->getWheels())
        if (wheel->hasContact())
            largest = std::max(largest, wheel->getSlip());
    return largest;
}
