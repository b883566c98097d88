// The wheel's step: contact, tyre functions, suspension, steering and rolling.
#include "physic/Wheel.h"

#include "physic/PhysicsConversions.h"
#include "platform/physics/NxWheelShape.h"
#include "platform/physics/scene.h"

#include <OGRE/OgreMath.h>
#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kRadPerSecondToRpm = 60.0f / (2.0f * static_cast<float>(M_PI));
}

Wheel::Wheel(nxOgre::scene* scene) : physicsScene(scene)
{
}

void Wheel::setNodes(Ogre::SceneNode* wheel, Ogre::SceneNode* roll, Ogre::Entity* wheelEntity)
{
    wheelNode = wheel;
    rollNode = roll;
    entity = wheelEntity;
    if (wheelNode)
        restOrientation = wheelNode->getOrientation();
}

void Wheel::setGeometry(int wheelType, bool hasBrakes, float wheelRadius, float travel)
{
    type = wheelType;
    brakes = hasBrakes;
    radius = wheelRadius;
    suspensionTravel = travel;
}

void Wheel::storeRestPosition()
{
    if (wheelShape)
        restPosition = toOgre(wheelShape->getLocalPosition());
}

void Wheel::update(float dt)
{
    if (!wheelShape)
        return;
    // What the shape found in the last step
    axleSpeed = wheelShape->getAxleSpeed();
    contactFound = false;
    nxOgre::NxWheelContactData found;
    wheelShape->getContact(found);
    if (wheelShape->hasContact())
    {
        // On the ground
        contactFound = true;
        contact = found;
        slip = std::fabs(found.lateralSlip);
        const nxOgre::material* surface = physicsScene ? physicsScene->getMaterialFromIndex(found.otherShapeMaterialIndex) : nullptr;
        surfaceFriction = surface ? surface->getDynamicFriction() : 1.0f;
        applyTireFunctions(std::fabs(getRpm()));
        // Our shape reports how far the wheel centre sits below the top of its travel.
        suspensionOffset = -found.contactPosition;
    }
    else
    {
        // In the air: the last tyre functions stay
        suspensionOffset = -suspensionTravel;
        surfaceFriction = 1.0f;
    }
    placeWheelNode();
    // Steering, then rolling
    moveSteering(dt);
    rollAngle = std::fmod(rollAngle + axleSpeed * dt, Ogre::Math::TWO_PI);
    if (rollNode)
        rollNode->roll(Ogre::Radian(axleSpeed * dt));
}

void Wheel::applyTireFunctions(float wheelRpm)
{
    // The surface scales the grip along the wheel only; our shape integrates forces over the
    // step itself, so the stiffness needs no correction for the step length.
    nxOgre::NxTireFunctionDesc along = tires.longitudinal;
    along.stiffnessFactor *= surfaceFriction;
    wheelShape->setLongitudalTireForceFunction(along);
    const bool sliding = handbrake && wheelRpm >= kHandbrakeSlideRpm;
    wheelShape->setLateralTireForceFunction(sliding ? tires.lateralSlip : tires.lateral);
}

void Wheel::placeWheelNode()
{
    if (wheelNode)
        wheelNode->setPosition(restPosition + Ogre::Vector3(0, suspensionOffset, 0));
}

void Wheel::moveSteering(float dt)
{
    const float change = steerSpeed * dt;
    if (targetSteerAngle > currentSteerAngle)
        currentSteerAngle = std::min(currentSteerAngle + change, targetSteerAngle);
    else if (targetSteerAngle < currentSteerAngle)
        currentSteerAngle = std::max(currentSteerAngle - change, targetSteerAngle);
    wheelShape->setSteerAngle(currentSteerAngle);
    if (wheelNode)
        wheelNode->setOrientation(restOrientation * Ogre::Quaternion(Ogre::Radian(currentSteerAngle), Ogre::Vector3::UNIT_Y));
}

void Wheel::reset()
{
    if (!wheelShape)
        return;
    // A car put back at rest must not land on wheels still spinning from before.
    wheelShape->setAxleSpeed(0.0f);
    if (isDriven())
        wheelShape->setMotorTorque(0.0f);
    if (isSteered())
    {
        wheelShape->setSteerAngle(0.0f);
        targetSteerAngle = 0.0f;
    }
    if (brakes)
        wheelShape->setBrakeTorque(kResetBrakeTorque);
}

void Wheel::setMotorTorque(float torque)
{
    if (wheelShape)
        wheelShape->setMotorTorque(torque);
}

void Wheel::setBrakeTorque(float torque)
{
    if (wheelShape)
        wheelShape->setBrakeTorque(torque);
}

float Wheel::getBrakeTorque() const
{
    return wheelShape ? wheelShape->getBrakeTorque() : 0.0f;
}

float Wheel::getRpm() const
{
    return axleSpeed * kRadPerSecondToRpm;
}

float Wheel::getSpeedKmh() const
{
    return getRpm() * 60.0f * 2.0f * static_cast<float>(M_PI) * radius / 1000.0f;
}

nxOgre::NxActor* Wheel::getContactActor() const
{
    if (!wheelShape)
        return nullptr;
    nxOgre::NxWheelContactData ignored;
    return wheelShape->getContact(ignored);
}

void Wheel::setSteerAngleNow(float angleRad)
{
    targetSteerAngle = currentSteerAngle = angleRad;
}

void Wheel::setSteerSpeed(float radPerSecond)
{
    steerSpeed = std::max(radPerSecond, kMinSteerSpeed);
}

float Wheel::getRollAngle() const
{
    return rollAngle;
}
