// The player's car: inputs, read-outs, pose and cameras.
#include "physic/Car.h"

#include "graphics/WorldTransform.h"
#include "physic/CameraRig.h"
#include "physic/CarCam.h"
#include "physic/PhysicsConversions.h"
#include "physic/VehicleSR.h"
#include "physic/Wheel.h"
#include "platform/physics/NxWheelShape.h"
#include "platform/physics/body.h"
#include "sound/NodeSound.h"
#include "physic/TerrainHeights.h"

#include <OGRE/OgreParticleSystem.h>
#include <OGRE/OgreParticleEmitter.h>
#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <cmath>

void Car::setThrottle(float value)
{
    throttle = std::clamp(value, 0.0f, 1.0f);
}

void Car::setBrake(float value)
{
    brake = std::clamp(value, 0.0f, 1.0f);
}

void Car::setHandbrake(bool on)
{
    handbrake = on;
}

void Car::setSteerLeft(float value)
{
    steerLeft = std::clamp(value, 0.0f, 1.0f);
    digitalSteering = false;
}

void Car::setSteerRight(float value)
{
    steerRight = std::clamp(value, -1.0f, 0.0f);
    digitalSteering = false;
}

void Car::setDigitalLeft(bool on)
{
    digitalLeft = on;
    digitalSteering = true;
}

void Car::setDigitalRight(bool on)
{
    digitalRight = on;
    digitalSteering = true;
}

float Car::getWheelSpeed() const
{
    return std::fabs(vehicle->getWheelSpeed());
}

float Car::getSpeedKmh() const
{
    return std::fabs(vehicle->getSpeed()) * 60.0f * 60.0f / 1000.0f;
}

float Car::getRpm() const
{
    return vehicle->getRpm();
}

int Car::getGear() const
{
    return vehicle->getGearbox()->getCurrentGear();
}

float Car::getHeadingAngle() const
{
    return vehicle->getAngleTo(Ogre::Vector2(1.0f, 0.0f));
}

Ogre::Vector2 Car::getHeading(bool interpolated) const
{
    return vehicle->getHeading2D(interpolated);
}

bool Car::isUpsideDown() const
{
    if (!node)
        return false;
    return (WorldTransform::orientation(node) * Ogre::Vector3::UNIT_Y).y < 0.0f;
}

float Car::getSteerRatio() const
{
    const auto& wheels = vehicle->getWheels();
    if (wheels.empty())
        return 0.0f;
    const float limit = vehicle->getSteeringRestriction().getValue(getWheelSpeed());
    return limit != 0.0f ? wheels.front()->getSteerAngle() / limit : 0.0f;
}

std::vector<Wheel*> Car::getWheels() const
{
    std::vector<Wheel*> wheels;
    for (const auto& wheel : vehicle->getWheels())
        wheels.push_back(wheel.get());
    return wheels;
}

bool Car::isSmoking(size_t wheel) const
{
    return wheel < smokeSystems.size() && smokeSystems[wheel] && smokeSystems[wheel]->getNumEmitters() > 0 &&
           smokeSystems[wheel]->getEmitter(0)->getEnabled();
}

void Car::setPose(const Ogre::Vector3& position, const Ogre::Quaternion& orientation)
{
    if (vehicle)
    {
        const float ground = terrain ? terrain->getMaxHeight(position.x, position.z, kPoseGroundSquare) : 0.0f;
        nxOgre::body* body = vehicle->getBody();
        body->setGlobalPosition(nxOgre::NxVec3(position.x, ground + kPoseLift, position.z));
        body->setGlobalOrientation(toPhysics(orientation));
        vehicle->resetMotion();
    }
    throttle = brake = 0.0f;
    handbrake = false;
    steerLeft = steerRight = 0.0f;
    digitalLeft = digitalRight = false;
    for (Ogre::ParticleSystem* system : smokeSystems)
        if (system && system->getNumEmitters() > 0)
            system->getEmitter(0)->setEnabled(false);
    // An outside pose is applied once more from the body at the next step.
    poseAgain = !poseAgain;
}

void Car::setRollingSpeed(float speedKmh)
{
    if (!vehicle)
        return;
    const float speed = speedKmh / 3.6f;  // m/s
    const Ogre::Vector2 heading = getHeading(false);
    vehicle->getBody()->setLinearVelocity(nxOgre::NxVec3(heading.x * speed, 0.0f, heading.y * speed));
    for (const auto& wheel : vehicle->getWheels())
        wheel->getShape()->setAxleSpeed(speed / wheel->getRadius());
}

void Car::resetPose()
{
    setPose(startPosition, startOrientation);
}

void Car::resetToNode()
{
    setPose(WorldTransform::position(node), startOrientation);
}

void Car::setStopped(bool value)
{
    stopped = value;
    if (!vehicle)
        return;
    Gearbox* gearbox = vehicle->getGearbox();
    gearbox->setAutomatic(!value);
    if (value)
        gearbox->setGear(0);
}

void Car::stopSounds()
{
    soundsEnabled = false;
    for (NodeSound* sound : engineSounds)
        sound->stop();
    for (NodeSound* sound : {terrainSound, skidSound, crashTouchSound})
        if (sound)
            sound->stop();
}

void Car::enableSounds()
{
    soundsEnabled = true;
}

CarCam* Car::cameraAt(int index) const
{
    switch (index)
    {
    case kFollowCamera: return followCamera.get();
    case kBumperCamera: return bumperCamera.get();
    case kHoodCamera: return hoodCamera.get();
    case kCockpitCamera: return cockpitCamera.get();
    default: return nullptr;
    }
}

void Car::switchRig(const CarCam* camera)
{
    cameraRig->camSwitch(camera->getPositionNode(), camera->getLookAtNode());
    cameraRig->setSmooth(camera->getFlag());
}

void Car::setCameraRig(CameraRig* rig)
{
    cameraRig = rig;
    if (!cameraRig)
        return;
    // A car without a follow camera shows its first camera.
    for (int index = kFollowCamera; index <= kCockpitCamera; ++index)
        if (CarCam* camera = cameraAt(index))
        {
            switchRig(camera);
            return;
        }
}

void Car::nextCamera()
{
    if (!cameraRig)
        return;
    int index = cameraIndex + 1;
    while (index >= kBumperCamera && index <= kCockpitCamera && !cameraAt(index))
        ++index;
    if (index < kBumperCamera || index > kCockpitCamera)
    {
        // Past the cockpit: back to the follow camera, or the first there is.
        index = kFollowCamera;
        while (index <= kCockpitCamera && !cameraAt(index))
            ++index;
        if (index > kCockpitCamera)
            return;
    }
    cameraIndex = index;
    switchRig(cameraAt(index));
}
