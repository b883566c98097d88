// A car from a car file on a physics scene set up as the game sets it up, driven without
// a window the way the player's car drives its vehicle: for the driving tests, the tuning
// tool and the step benchmark. The scene is the harness's own, or the physics of a race
// scene (GameScene) with a road under the car, stepped by the race's physics loop.
#pragma once

#include "physic/CarDesc.h"
#include "physic/VehicleSR.h"
#include "platform/physics/world.h"

#include <functional>
#include <memory>
#include <string>

namespace Ogre
{
class SceneManager;
}

class GameConfiguration;
class GameScene;
class PhysicListener;

class RoadsterDrive
{
public:
    enum class World
    {
        Harness,    // a physics world of its own, set up like the race's
        RaceScene,  // the physics world a GameScene builds, on the race's road material
    };

    static constexpr float kGravity = 14.80665f;  // the game's, units/s²
    static constexpr float kOneG = 9.81f;         // for reporting accelerations

    // What the driver does, applied every step as the player's car applies it.
    struct Inputs
    {
        float throttle = 0.0f;     // 0..1
        float brake = 0.0f;        // 0..1
        float steer = 0.0f;        // 1 full left .. -1 full right
        bool digitalSteer = true;  // keys (at the steering speed, with assist) or direct
        bool handbrake = false;
    };

    // mediaDir holds "cars/"; carFile is read from there. floor: a ground plane of the race's road.
    RoadsterDrive(const std::string& mediaDir, const std::string& carFile = "Roadster.xml", float stepSeconds = 0.01f,
                  bool floor = true);
    // In the race scene's world the step is the race's fixed one.
    RoadsterDrive(const std::string& mediaDir, World world);
    ~RoadsterDrive();
    RoadsterDrive(const RoadsterDrive&) = delete;
    RoadsterDrive& operator=(const RoadsterDrive&) = delete;

    // Puts the car at rest on the ground below at (as the car's reset does).
    void place(const btVector3& at, const btQuaternion& turn = btQuaternion::getIdentity());
    void step();
    // Steps for seconds, calling each after every step; each may return false to stop early.
    void run(float seconds, const std::function<bool()>& each = {});

    Inputs inputs;
    nxOgre::scene& scene() const { return *physicsScene; }
    VehicleSR& vehicle() const { return *car; }
    const CarDesc& description() const { return *desc; }
    float stepSeconds() const { return dt; }
    float time() const { return elapsed; }

    float forwardKmh() const;  // along the chassis, signed
    btVector3 position() const;
    btVector3 velocity() const;
    float yawRate() const;     // rad/s about the chassis' up; positive turns left
    float headingDegrees() const;  // counter-clockwise from +x seen from above
    float largestLateralSlip() const;  // of all wheels in contact, units/s

    static constexpr float kRaceRoadHeight = 1.0f;  // above the race world's own floor

private:
    void createCar(const std::string& carsDir, const std::string& carFile);
    void driveVehicle();

    float dt;
    float groundHeight = 0.0f;
    float elapsed = 0.0f;
    std::unique_ptr<CarDesc> desc;
    std::unique_ptr<nxOgre::world> physics;
    std::unique_ptr<GameConfiguration> raceSettings;  // the race scene's: it goes first
    std::unique_ptr<GameScene> raceScene;
    std::unique_ptr<PhysicListener> raceStep;
    nxOgre::scene* physicsScene = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    std::unique_ptr<VehicleSR> car;
};
