// One wheel of a vehicle: our raycast wheel shape on the chassis actor, joined with the
// wheel's scene nodes. Each step it reads the contact, adapts the tyre functions to the
// surface and the handbrake, places the visual wheel on its suspension, steers at a limited
// speed and rolls.
#pragma once

#include "platform/physics/NxTireFunctionDesc.h"
#include "platform/physics/NxWheelContactData.h"

#include <OGRE/OgreVector.h>

namespace Ogre
{
class Entity;
class SceneNode;
}

namespace nxOgre
{
class NxActor;
class NxWheelShape;
class scene;
}

class Wheel
{
public:
    // Wheel types of the car file.
    enum Type
    {
        kNoWheel = 0,
        kFree = 1,
        kDriven = 2,
        kSteered = 3,
        kDrivenAndSteered = 4,
    };
    // The tyre functions a wheel switches between.
    struct TireFunctions
    {
        nxOgre::NxTireFunctionDesc longitudinal, lateral, lateralSlip, parkLongitudinal, parkLateral;
    };

    static constexpr float kMinSteerSpeed = 0.02f;    // rad/s
    static constexpr float kResetBrakeTorque = 100000.0f;
    static constexpr float kHandbrakeSlideRpm = 100.0f;  // below it the handbrake keeps full side grip

    explicit Wheel(nxOgre::scene* physicsScene);

    // Set up by WheelDesc::createWheel. The shape belongs to the chassis actor, the nodes and
    // the entity to the scene manager.
    void setShape(nxOgre::NxWheelShape* shape) { wheelShape = shape; }
    void setNodes(Ogre::SceneNode* wheelNode, Ogre::SceneNode* rollNode, Ogre::Entity* entity);
    void setGeometry(int wheelType, bool brakes, float wheelRadius, float travel);
    void setTireFunctions(const TireFunctions& functions) { tires = functions; }
    void storeRestPosition();

    void update(float dt);
    // Driven wheels lose their torque, steered wheels straighten, braked wheels lock.
    void reset();

    void setMotorTorque(float torque);
    void setBrakeTorque(float torque);
    float getBrakeTorque() const;

    float getAxleSpeed() const { return axleSpeed; }  // rad/s
    float getRpm() const;
    float getSpeedKmh() const;
    float getSurfaceFriction() const { return surfaceFriction; }
    float getSlip() const { return slip; }  // |lateral slip| of the last contact, units/s
    float getSuspensionOffset() const { return suspensionOffset; }
    float getSteerAngle() const { return currentSteerAngle; }
    float getTargetSteerAngle() const { return targetSteerAngle; }
    float getSteerSpeed() const { return steerSpeed; }
    float getRadius() const { return radius; }
    float getSuspensionTravel() const { return suspensionTravel; }
    int getType() const { return type; }
    bool isDriven() const { return type == kDriven || type == kDrivenAndSteered; }
    bool isSteered() const { return type == kSteered || type == kDrivenAndSteered; }
    bool hasBrakes() const { return brakes; }
    bool hasContact() const { return contactFound; }
    // The last contact, or null without one.
    const nxOgre::NxWheelContactData* getContactData() const { return contactFound ? &contact : nullptr; }
    // The actor under the wheel now, or null (no contact, or the scene's floor).
    nxOgre::NxActor* getContactActor() const;
    nxOgre::NxWheelShape* getShape() const { return wheelShape; }
    Ogre::SceneNode* getWheelNode() const { return wheelNode; }
    Ogre::Entity* getEntity() const { return entity; }

    void setHandbrake(bool on) { handbrake = on; }
    bool isHandbrake() const { return handbrake; }
    void setTargetSteerAngle(float angleRad) { targetSteerAngle = angleRad; }
    void setSteerAngleNow(float angleRad);
    void setSteerSpeed(float radPerSecond);
    // How far the wheel has turned on its axle, radians, wrapped to a whole turn.
    float getRollAngle() const;

private:
    void applyTireFunctions(float wheelRpm);
    void moveSteering(float dt);
    void placeWheelNode();

    Ogre::SceneNode* wheelNode = nullptr;
    Ogre::Entity* entity = nullptr;
    bool handbrake = false;
    int type = kFree;
    float radius = 1.0f;
    float suspensionTravel = 1.0f;
    bool brakes = false;
    Ogre::SceneNode* rollNode = nullptr;
    TireFunctions tires;
    nxOgre::scene* physicsScene;
    Ogre::Vector3 restPosition = Ogre::Vector3::ZERO;
    Ogre::Quaternion restOrientation = Ogre::Quaternion::IDENTITY;
    bool contactFound = false;
    nxOgre::NxWheelContactData contact;
    nxOgre::NxWheelShape* wheelShape = nullptr;
    float targetSteerAngle = 0.0f;  // rad
    float steerSpeed = 0.8f;        // rad/s
    float surfaceFriction = 1.0f;
    float slip = 0.0f;
    float suspensionOffset = 0.0f;  // units, up from the rest position
    float currentSteerAngle = 0.0f; // rad
    float axleSpeed = 0.0f;         // rad/s
    float rollAngle = 0.0f;         // rad the wheel has turned on its axle, in (-2 pi, 2 pi)
};
