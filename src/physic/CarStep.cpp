// The player's car each physics step (inputs, automatic brakes, smoke, tyre tracks,
// surface sounds) and each frame (brake lights, shade, engine and touch sounds).
#include "physic/Car.h"

#include "graphics/EntityMaterialInstancePlus.h"
#include "graphics/LineManager.h"
#include "graphics/WorldTransform.h"
#include "physic/CarContactSounds.h"
#include "physic/PhysicsConversions.h"
#include "physic/VehicleSR.h"
#include "physic/Wheel.h"
#include "platform/physics/scene.h"
#include "sound/NodeSound.h"
#include "sound/SoundControl.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreParticleEmitter.h>
#include <OGRE/OgreParticleSystem.h>
#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <cmath>

namespace
{
void playWhile(NodeSound* sound, bool condition)
{
    if (!sound)
        return;
    if (condition)
        sound->play();
    else
        sound->stop();
}
}

void Car::onPhysicStep(float dt)
{
    // A pose set from outside between two steps is applied once more, from the body
    if (poseAgain)
    {
        nxOgre::body* body = vehicle->getBody();
        setPose(toOgre(body->getGlobalPosition()), toOgre(body->getGlobalOrientation()));
    }
    // The vehicle steps, then the smoke, tyre tracks and contact sounds follow it
    vehicle->onPhysicStep(dt);
    updateParticles();
    if (soundsEnabled)
        contactSounds->update();
    // The speed, and the acceleration since the last step
    const float newSpeed = std::fabs(vehicle->getSpeed());
    acceleration = dt > 0.0f ? (newSpeed - speed) / dt : 0.0f;
    speed = newSpeed;
    // The driver's inputs, then the brakes that hold the car
    brakeLightsOn = false;
    vehicle->setThrottle(throttle);
    vehicle->setBrake(brake, false);
    if (throttle == 0.0f && brake == 0.0f && getWheelSpeed() < kIdleBrakeKmh)
    {
        vehicle->setBrake(getSpeedKmh() < kIdleHoldKmh ? kIdleBrake : kIdleRollingBrake, true);
        brakeLightsOn = true;
    }
    if (stopped)
    {
        vehicle->setBrake(kStoppedBrake, true);
        brakeLightsOn = true;
    }
    // Analogue input sets the wheels at once; keys turn them at the steering speed
    if (!digitalSteering)
        vehicle->setSteering(steerLeft > 0.0f ? steerLeft : steerRight, true);
    else
        vehicle->setSteering(digitalLeft ? 1.0f : digitalRight ? -1.0f : 0.0f, false);
    // The handbrake, and the brake lights whenever the pedals slow the car: the brake
    // rolling forwards, the throttle rolling backwards
    vehicle->setParkBrake(handbrake);
    const float wheelSpeed = vehicle->getWheelSpeed();
    if ((brake > 0.0f && wheelSpeed >= 0.0f) || (!(brake > 0.0f) && throttle > 0.0f && wheelSpeed < 0.0f))
        brakeLightsOn = true;
}

void Car::updateParticles()
{
    bool skid = false;
    bool onTerrain = false;
    const auto& wheels = vehicle->getWheels();
    for (size_t i = 0; i < wheels.size(); ++i)
    {
        const Wheel& wheel = *wheels[i];
        bool smoke = false;
        const nxOgre::NxWheelContactData* contact = wheel.getContactData();
        if (contact)
        {
            const bool skidding = wheel.isHandbrake() || wheel.getBrakeTorque() > kSkidBrakeTorque;
            const auto surface = contact->otherShapeMaterialIndex;
            if (getWheelSpeed() > kSmokeMinKmh && skidding && (surface == 0 || surface == roadMaterial))
                smoke = skid = true;
            if (getWheelSpeed() > kTerrainSoundMinKmh && hasTerrainMaterial && surface == terrainMaterial &&
                vehicle->getSpeed() > 0.0f)
                onTerrain = true;
        }
        if (Ogre::ParticleSystem* system = smokeSystems[i])
        {
            if (system->getNumEmitters() > 0)
                system->getEmitter(0)->setEnabled(smoke);
            // A system with no smoke and none to make has nothing to advance; most steps
            // are such steps, and advancing four empty systems was a tenth of the car's step.
            if (smoke || system->getNumParticles() > 0)
            {
                system->setSpeedFactor(1.0f);
                system->_update(kParticleStep);
                system->setSpeedFactor(0.0f);
            }
        }
        // Smoke and track go together: a skidding wheel on the road.
        if (smoke)
        {
            const Ogre::Vector3 centre = toOgre(contact->contactPoint) + toOgre(contact->contactNormal) * kTrackLift;
            const Ogre::Vector3 side = toOgre(contact->lateralDirection) * kTrackHalfWidth;
            Ogre::Vector3 a = centre + side, b = centre - side;
            if (vehicle->getSpeed() < 0.0f)
                std::swap(a, b);
            tyreTrails[i]->addLine(a, b);
        }
        else
        {
            tyreTrails[i]->clear();
        }
    }
    if (soundsEnabled)
    {
        playWhile(skidSound, skid);
        playWhile(terrainSound, onTerrain);
    }
}

void Car::onPhysicFrame(float alpha, float alphaTime, float frameDt)
{
    vehicle->onPhysicFrame(alpha, alphaTime, frameDt);
    if (brakeLightMaterial)
        brakeLightMaterial->setSelfIllumination(brakeLightsOn ? Ogre::ColourValue::White : Ogre::ColourValue::Black);
    updateShade(frameDt);
    if (soundsEnabled)
        updateFrameSounds();
}

void Car::updateShade(float frameDt)
{
    // Covered when every probe has something static above it.
    bool covered = true;
    for (Ogre::SceneNode* probe : probeNodes)
    {
        const Ogre::Vector3 at = WorldTransform::position(probe);
        const nxOgre::NxRay up{toPhysics(at), toPhysics(Ogre::Vector3::UNIT_Y)};
        covered = covered &&
                  physicsScene->raycastAnyShape(up, nxOgre::NX_STATIC_SHAPES, nxOgre::kAllShapeGroups, kShadeRayLength);
    }
    const float target = covered ? 0.0f : 1.0f;
    if (shade == target)
        return;
    const float rate = (getWheelSpeed() + 200.0f) / 200.0f;
    const float step = frameDt * kShadeFadeRate * rate;
    shade = shade < target ? std::min(target, shade + step) : std::max(target, shade - step);
    shade = std::clamp(shade, 0.0f, 1.0f);
    shadeMaterial->setDiffuse(shade);
    shadeMaterial->setAmbient(shade * 0.3f + 0.7f);
    shadeMaterial->setSpecular(shade);
}

void Car::updateFrameSounds()
{
    engineSoundControl->update(getRpm());
    const Ogre::Vector3 velocity = vehicle->getInterpolatedVelocity();
    for (NodeSound* engine : engineSounds)
    {
        engine->setVelocity(velocity.x, velocity.y, velocity.z);
        engine->play();
    }
    playWhile(crashTouchSound, contactSounds->hasCarContact() && getWheelSpeed() > kCrashTouchMinKmh);
}
