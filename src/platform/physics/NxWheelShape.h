// Our raycast wheel on a chassis actor: a sprung ray along the suspension, tyre forces
// from slip velocities through the tyre force functions, and a spinning axle driven by
// motor and brake torque. Its actor steps all its wheels together (see NxActor).
#pragma once

#include "platform/physics/NxWheelContactData.h"
#include "platform/physics/NxWheelShapeDesc.h"
#include "platform/physics/WheelRayCaster.h"

namespace nxOgre
{

class NxActor;

class NxWheelShape
{
public:
    NxWheelShape(NxActor& owner, const NxWheelShapeDesc& desc);

    NxActor& getActor() const { return actor; }

    void setMotorTorque(float torque) { inputsChanged |= torque != motorTorque; motorTorque = torque; }
    float getMotorTorque() const { return motorTorque; }
    void setBrakeTorque(float torque);
    float getBrakeTorque() const { return brakeTorque; }
    void setSteerAngle(float angleRad) { inputsChanged |= angleRad != steerAngle; steerAngle = angleRad; }
    float getSteerAngle() const { return steerAngle; }
    void setAxleSpeed(float radPerSecond) { axleSpeed = radPerSecond; }
    float getAxleSpeed() const { return axleSpeed; }  // rad/s, positive when rolling forward

    void setLongitudalTireForceFunction(const NxTireFunctionDesc& f) { longitudal = f; }
    const NxTireFunctionDesc& getLongitudalTireForceFunction() const { return longitudal; }
    void setLateralTireForceFunction(const NxTireFunctionDesc& f) { lateral = f; }
    const NxTireFunctionDesc& getLateralTireForceFunction() const { return lateral; }
    void setSuspension(const NxSpringDesc& spring) { suspension = spring; }
    const NxSpringDesc& getSuspension() const { return suspension; }

    float getRadius() const { return radius; }
    float getSuspensionTravel() const { return travel; }
    float getInverseWheelMass() const { return inverseWheelMass; }
    NxMaterialIndex getMaterialIndex() const { return materialIndex; }
    const btTransform& getLocalPose() const { return localPose; }
    btVector3 getLocalPosition() const { return localPose.getOrigin(); }
    void setLocalPosition(const btVector3& position) { localPose.setOrigin(position); }
    btVector3 getGlobalPosition() const;

    // The contact of the last step; returns the touched actor (null for ground that is not
    // an actor, such as the scene's floor) and fills contact. Without contact it returns
    // null and contact.contactForce is 0.
    NxActor* getContact(NxWheelContactData& contact) const;
    bool hasContact() const { return inContact; }
    // Whether motor, brake or steering changed since the last call: a resting car must wake.
    bool takeInputsChanged();

    // The suspension's ray with the actor at actorPose: from the wheel's top down through
    // its travel and radius.
    void getRay(const btTransform& actorPose, btVector3& from, btVector3& to) const;

    // The three phases of a step, run by the actor for all its wheels in turn; the actor's
    // pose holds through the casts, so the actor passes it once for all its wheels.
    void castAndSpring(WheelRayCaster& ground, const btTransform& actorPose, float dt);
    void applyTyreForces(float dt);
    void holdIteration(float dt, const btVector3& gravity);

private:
    void brakeAxle(float dt);
    float effectiveMass(const btVector3& relPoint, const btVector3& relApply, const btVector3& dir) const;

    NxActor& actor;
    btTransform localPose;
    float radius;
    float travel;
    NxSpringDesc suspension;
    NxTireFunctionDesc longitudal;
    NxTireFunctionDesc lateral;
    float inverseWheelMass;
    NxMaterialIndex materialIndex;

    // inputs
    float motorTorque = 0.0f;
    float brakeTorque = 0.0f;
    float steerAngle = 0.0f;
    bool inputsChanged = false;

    // state carried between steps
    float axleSpeed = 0.0f;
    float compression = 0.0f;
    bool hadContact = false;

    // this step's ray and contact
    bool inContact = false;
    WheelRayHit ground;
    float load = 0.0f;  // N
    btVector3 upWorld{0, 1, 0};
    btVector3 headingWorld{1, 0, 0};
    NxWheelContactData contactData;

    // this step's standing hold, solved across the wheels of the actor
    float holdBlend = 0.0f;
    float holdLateral = 0.0f, holdLongitudal = 0.0f;      // accumulated impulses
    float holdCapLateral = 0.0f, holdCapLongitudal = 0.0f;
    float holdMassLateral = 0.0f, holdMassLongitudal = 0.0f;
};

}
