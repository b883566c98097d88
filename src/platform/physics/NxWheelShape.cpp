// The raycast wheel: suspension, slip, tyre forces, axle and the standing hold.
#include "platform/physics/NxWheelShape.h"

#include "platform/physics/NxActor.h"

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>

namespace nxOgre
{
namespace
{
// Below this speed along the wheel (units/s) a velocity-cancelling hold blends in, so a
// parked car neither creeps nor jitters; the tyre curves alone can't hold a car at zero slip.
constexpr float kHoldBlendSpeed = 1.0f;

float sign(float x)
{
    return static_cast<float>((x > 0.0f) - (x < 0.0f));
}

float peak(const NxTireFunctionDesc& f)
{
    return std::max(f.extremumValue, f.asymptoteValue);
}
}

NxWheelShape::NxWheelShape(NxActor& owner, const NxWheelShapeDesc& desc)
    : actor(owner),
      localPose(desc.localPose),
      radius(desc.radius > 0.0f ? desc.radius : 1.0f),
      travel(desc.suspensionTravel > 0.0f ? desc.suspensionTravel : 0.0f),
      suspension(desc.suspension),
      longitudal(desc.longitudalTireForceFunction),
      lateral(desc.lateralTireForceFunction),
      inverseWheelMass(desc.inverseWheelMass > 0.0f ? desc.inverseWheelMass : 1.0f),
      materialIndex(desc.materialIndex),
      motorTorque(desc.motorTorque),
      brakeTorque(std::max(0.0f, desc.brakeTorque)),
      steerAngle(desc.steerAngle)
{
    suspension.targetValue = std::clamp(suspension.targetValue, 0.0f, 1.0f);
}

void NxWheelShape::setBrakeTorque(float torque)
{
    const float clamped = std::max(0.0f, torque);
    inputsChanged |= clamped != brakeTorque;
    brakeTorque = clamped;
}

bool NxWheelShape::takeInputsChanged()
{
    const bool changed = inputsChanged;
    inputsChanged = false;
    return changed;
}

btVector3 NxWheelShape::getGlobalPosition() const
{
    return actor.getGlobalPose() * localPose.getOrigin();
}

NxActor* NxWheelShape::getContact(NxWheelContactData& contact) const
{
    contact = contactData;
    if (!inContact)
    {
        contact = NxWheelContactData();
        contact.contactPosition = travel;
        return nullptr;
    }
    return ground.actor;
}

void NxWheelShape::brakeAxle(float dt)
{
    const float inverseInertia = inverseWheelMass / (radius * radius);
    const float change = brakeTorque * inverseInertia * dt;
    // A brake slows the spin down to a stop, never reverses it.
    if (std::fabs(axleSpeed) <= change)
        axleSpeed = 0.0f;
    else
        axleSpeed -= sign(axleSpeed) * change;
}

float NxWheelShape::effectiveMass(const btVector3& relPoint, const btVector3& relApply, const btVector3& dir) const
{
    const btRigidBody& body = *actor.getRigidBody();
    const float w = body.getInvMass() + relPoint.cross(dir).dot(body.getInvInertiaTensorWorld() * relApply.cross(dir));
    return w > 1e-9f ? 1.0f / w : 0.0f;
}

void NxWheelShape::getRay(const btTransform& actorPose, btVector3& from, btVector3& to) const
{
    const btTransform pose = actorPose * localPose;
    from = pose.getOrigin();
    to = from - pose.getBasis().getColumn(1) * (travel + radius);
}

void NxWheelShape::castAndSpring(WheelRayCaster& caster, const btTransform& actorPose, float dt)
{
    btRigidBody& body = *actor.getRigidBody();
    const btTransform pose = actorPose * localPose;
    const btMatrix3x3& basis = pose.getBasis();
    upWorld = basis.getColumn(1);
    headingWorld = basis * btVector3(std::sin(steerAngle), 0, std::cos(steerAngle));
    const btVector3 origin = pose.getOrigin();
    const float rayLength = travel + radius;

    ground = caster.castWheelRay(origin, origin - upWorld * rayLength, &body);
    contactData = NxWheelContactData();
    holdBlend = 0.0f;
    if (!ground.hit)
    {
        inContact = hadContact = false;
        compression = 0.0f;
        load = 0.0f;
        contactData.contactPosition = travel;
        return;
    }
    inContact = true;
    const float distance = ground.fraction * rayLength;
    const float newCompression = std::clamp(rayLength - distance, 0.0f, travel);
    const float compressionSpeed = hadContact ? (newCompression - compression) / dt : newCompression / dt;
    compression = newCompression;
    hadContact = true;
    const float relaxedAt = (1.0f - suspension.targetValue) * travel;
    // A spring only pushes: a wheel leaving the ground never pulls the chassis down.
    load = std::max(0.0f, suspension.spring * (compression - relaxedAt) + suspension.damper * compressionSpeed);
    body.applyImpulse(upWorld * (load * dt), origin - body.getCenterOfMassPosition());

    contactData.contactPoint = ground.point;
    contactData.contactNormal = ground.normal;
    contactData.contactForce = load;
    contactData.otherShapeMaterialIndex = ground.materialIndex;
    contactData.contactPosition = distance - radius;
}

void NxWheelShape::applyTyreForces(float dt)
{
    const float inverseInertia = inverseWheelMass / (radius * radius);
    if (!inContact)
    {
        axleSpeed += motorTorque * inverseInertia * dt;
        brakeAxle(dt);
        return;
    }
    btRigidBody& body = *actor.getRigidBody();
    const btVector3 centre = body.getCenterOfMassPosition();
    const btVector3 normal = ground.normal;
    btVector3 forward = headingWorld - normal * normal.dot(headingWorld);
    if (forward.length2() < 1e-8f)
        forward = upWorld.cross(normal).cross(normal);  // wheel lying on its side: any direction will do
    forward.normalize();
    const btVector3 side = forward.cross(normal);
    const btVector3 point = ground.point;
    const btVector3 arm = point - centre;

    btVector3 velocity = body.getVelocityInLocalPoint(arm);
    if (ground.movingGround)
        velocity -= ground.movingGround->getVelocityInLocalPoint(point - ground.movingGround->getCenterOfMassPosition());
    const float speedAlong = velocity.dot(forward);
    const float slipAlong = axleSpeed * radius - speedAlong;
    const float slipAcross = velocity.dot(side);

    float forceAlong = sign(slipAlong) * longitudal.curve(slipAlong) * longitudal.stiffnessFactor * load;
    float forceAcross = -sign(slipAcross) * lateral.curve(slipAcross) * lateral.stiffnessFactor * load;
    float gripSlope = longitudal.curveSlope(slipAlong) * longitudal.stiffnessFactor * load;

    holdBlend = std::clamp(1.0f - std::fabs(speedAlong) / kHoldBlendSpeed, 0.0f, 1.0f);
    holdLateral = holdLongitudal = 0.0f;
    holdCapLateral = holdCapLongitudal = 0.0f;
    if (holdBlend > 0.0f)
    {
        forceAcross *= 1.0f - holdBlend;
        holdCapLateral = holdBlend * peak(lateral) * lateral.stiffnessFactor * load * dt;
        if (brakeTorque > 0.0f && axleSpeed == 0.0f)
        {
            forceAlong *= 1.0f - holdBlend;
            gripSlope *= 1.0f - holdBlend;
            const float brakeLimit = brakeTorque / radius;
            holdCapLongitudal =
                holdBlend * std::min(peak(longitudal) * longitudal.stiffnessFactor * load, brakeLimit) * dt;
        }
        holdMassLateral = effectiveMass(arm, arm, side);
        holdMassLongitudal = effectiveMass(arm, arm, forward);
    }

    // Implicit axle: the tyre's answer to the new spin is part of the update, else stiff
    // tyres on a light axle oscillate.
    const float slope = std::max(0.0f, gripSlope);
    const float spinChange = (motorTorque - forceAlong * radius) * inverseInertia * dt /
                             (1.0f + inverseInertia * dt * radius * radius * slope);
    forceAlong += slope * radius * spinChange;
    axleSpeed += spinChange;
    brakeAxle(dt);

    const btVector3 force = forward * forceAlong + side * forceAcross;
    body.applyImpulse(force * dt, arm);
    if (ground.movingGround)
        ground.movingGround->applyImpulse(-force * dt, point - ground.movingGround->getCenterOfMassPosition());

    contactData.longitudalDirection = forward;
    contactData.lateralDirection = side;
    contactData.longitudalSlip = slipAlong;
    contactData.lateralSlip = slipAcross;
    contactData.longitudalImpulse = forceAlong * dt;
    contactData.lateralImpulse = forceAcross * dt;
}

void NxWheelShape::holdIteration(float dt, const btVector3& gravity)
{
    if (!inContact || holdBlend <= 0.0f)
        return;
    btRigidBody& body = *actor.getRigidBody();
    const btVector3 point = ground.point;
    const btVector3 arm = point - body.getCenterOfMassPosition();
    btVector3 velocity = body.getVelocityInLocalPoint(arm);
    if (ground.movingGround)
        velocity -= ground.movingGround->getVelocityInLocalPoint(point - ground.movingGround->getCenterOfMassPosition());
    const btVector3& forward = contactData.longitudalDirection;
    const btVector3& side = contactData.lateralDirection;

    // Cancel the sideways motion plus what gravity adds in this step, within the tyre's limit.
    const float targetAcross = velocity.dot(side) + gravity.dot(side) * dt;
    float total = std::clamp(holdLateral - holdMassLateral * targetAcross, -holdCapLateral, holdCapLateral);
    const float changeAcross = total - holdLateral;
    holdLateral = total;
    float changeAlong = 0.0f;
    if (holdCapLongitudal > 0.0f)
    {
        const float targetAlong = velocity.dot(forward) + gravity.dot(forward) * dt;
        total = std::clamp(holdLongitudal - holdMassLongitudal * targetAlong, -holdCapLongitudal, holdCapLongitudal);
        changeAlong = total - holdLongitudal;
        holdLongitudal = total;
    }
    const btVector3 impulse = side * changeAcross + forward * changeAlong;
    body.applyImpulse(impulse, arm);
    if (ground.movingGround)
        ground.movingGround->applyImpulse(-impulse, point - ground.movingGround->getCenterOfMassPosition());
    contactData.longitudalImpulse += changeAlong;
    contactData.lateralImpulse += changeAcross;
}

}
