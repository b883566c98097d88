// A box-chassis car on four raycast wheels, tuned like the game's cars, for the wheel
// tests and the step benchmark.
#pragma once

#include "platform/physics/world.h"

#include <array>

namespace testcar
{

constexpr float kGravity = 14.80665f;     // the game's gravity, units/s²
constexpr float kMass = 1000.0f;          // kg
constexpr float kRadius = 0.33f;          // wheel radius, units
constexpr float kTravel = 0.25f;          // suspension travel, units
constexpr float kWheelX = 1.35f;          // axle distance from the centre, forward/back
constexpr float kWheelZ = 0.78f;          // half the track width
constexpr float kWheelY = -0.2f;          // wheel pose height in the chassis
constexpr float kStep = 0.01f;            // seconds

// Road tyres: longitudinal peak 1.0 at 2 u/s, lateral peak 0.75 at 1.5 u/s.
nxOgre::NxTireFunctionDesc longitudalTyre(float stiffness = 1.0f);
nxOgre::NxTireFunctionDesc lateralTyre(float stiffness = 1.0f);

struct Car
{
    nxOgre::body* chassis = nullptr;
    std::array<nxOgre::NxWheelShape*, 4> wheels{};  // front left, front right, rear left, rear right

    nxOgre::NxActor& actor() const { return *chassis->getNxActor(); }
    // Forward (+x of the chassis) speed in units/s.
    float forwardSpeed() const;
    float yawRate() const;  // rad/s about the chassis' up axis; positive turns left
    void setMotor(float torquePerRearWheel);
    void setBrake(float torquePerWheel);
    void setSteer(float angleRad);
};

// A car standing on the ground at height groundY with the chassis yawed by yawRad.
Car makeCar(nxOgre::scene& scene, const std::string& name, const btVector3& at,
            const btQuaternion& turn = btQuaternion::getIdentity(), float lateralStiffness = 1.0f,
            float longitudalStiffness = 1.0f);

// A scene the way the game sets it up: floor, gravity, 0.01 s step.
nxOgre::scene* makeGameScene(nxOgre::world& world, bool floor = true);

}
