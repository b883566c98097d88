// The physics car: a chassis body with its wheels, motor, gearbox and steering curves. It
// turns the driver's inputs into wheel torques, steer targets and gear changes, and adds an
// automatic reverse mode, slide-mode switching, a steering assist, a weight shift, drag and
// read-outs interpolated for rendering. Stepped by its car, not by the physics world.
#pragma once

#include "physic/Gearbox.h"
#include "physic/LinearCurve.h"
#include "physic/Motor.h"
#include "physic/PhysicListener.h"
#include "physic/Wheel.h"

#include <OGRE/OgreVector.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
class SceneManager;
class SceneNode;
}

namespace nxOgre
{
class NxActor;
class body;
class scene;
class shapeGroup;
struct pose;
}

struct VehicleDesc;

class VehicleSR : public PhysicListener
{
public:
    static constexpr float kAngularDamping = 0.2f;
    static constexpr float kBrakeTorquePerInput = 10000.0f;  // N·m at brake 1
    // N·m when rolling with no input: engine braking, well below what locks our wheels
    // (about 1200 N·m on the road), or every lift-off at speed would be a skid.
    static constexpr float kCoastBrakeTorque = 200.0f;
    static constexpr float kSlideEnterSlip = 6.0f;           // units/s of lateral slip
    static constexpr float kSlideLeaveSlip = 3.5f;
    static constexpr float kMaxWeightShift = 0.8f;           // units

    // Makes the chassis body from shapes in the physics scene, and its scene node and the
    // graphic mesh's entity in sceneManager, all named name. Throws the engine's exception
    // when the body can't be made.
    VehicleSR(const std::string& name, nxOgre::scene* scene, Ogre::SceneManager* sceneManager,
              const std::string& meshName, const nxOgre::shapeGroup& shapes, float mass, const nxOgre::pose& at);
    ~VehicleSR() override;
    VehicleSR(const VehicleSR&) = delete;
    VehicleSR& operator=(const VehicleSR&) = delete;

    void onPhysicStep(float dt) override;
    void onPhysicFrame(float alpha, float alphaTime, float frameDt) override;
    void onPause() override {}
    void onResume() override {}

    // Steering input 1 full left .. -1 full right; direct sets the wheels at once.
    virtual void setSteering(float input, bool direct);
    virtual void setThrottle(float throttle);
    // direct applies b as it is (holding brakes); otherwise braking near standstill reverses.
    virtual void setBrake(float b, bool direct);
    virtual Ogre::Vector3 getInterpolatedVelocity() const;
    // Forward speed relative to the ground, units/s, signed.
    virtual float getSpeed() const;
    // Signed speed of the driven wheels in km/h, from the last step.
    virtual float getWheelSpeed() const { return wheelSpeed; }
    virtual void updateGroundActor();
    virtual float getRpm() const;
    virtual Gearbox* getGearbox() const { return gearbox.get(); }
    virtual void resetMotion();
    virtual void setHandbrake(bool on);
    virtual bool isHandbrake() const { return handbrake; }
    virtual void setParkBrake(bool on);
    virtual bool isParkBrake() const { return parkBrake; }
    // heading true: the chassis' forward (x, z); false: the direction of travel.
    virtual Ogre::Vector2 getHeading2D(bool heading) const;
    // Degrees from the heading to direction, positive when direction lies counter-clockwise.
    virtual float getAngleTo(const Ogre::Vector2& direction) const;
    virtual void storeState();

    const std::vector<std::unique_ptr<Wheel>>& getWheels() const { return wheels; }
    nxOgre::body* getBody() const { return body; }
    Ogre::Entity* getChassisEntity() const { return chassisEntity; }
    Ogre::SceneNode* getBodyNode() const { return bodyNode; }
    Ogre::SceneNode* getCarNode() const { return carNode; }
    Motor* getMotor() const { return motor.get(); }
    const LinearCurve& getSteeringRestriction() const { return steeringRestriction; }
    const LinearCurve& getSteeringSpeed() const { return steeringSpeed; }
    bool isComplete() const { return complete; }
    bool isReverse() const { return reverse; }
    bool isDriving() const { return driving; }
    bool isAirborne() const { return airborne; }
    float getBrake() const { return brake; }
    float getAirResistance() const { return airResistance; }
    const Ogre::Vector3& getCenterOfMass() const { return centerOfMass; }
    const Ogre::Vector3& getLocalVelocity() const { return localVelocity; }
    nxOgre::NxActor* getGroundActor() const { return groundActor; }

private:
    friend struct VehicleDesc;  // fills the wheels, curves, drivetrain and centre of mass

    void driveWheels(float dt, float& largestSlip, float& meanFriction);
    void switchSlideMode(float largestSlip, float meanFriction);
    void shiftWeight(const Ogre::Vector3& before, float dt);
    void applyDrag(float speed);
    void updateDirections();
    float assistTarget(float wheelSpeedKmh) const;
    nxOgre::NxActor& actor() const;

    std::vector<std::unique_ptr<Wheel>> wheels;
    nxOgre::body* body = nullptr;          // belongs to the physics scene
    Ogre::Entity* chassisEntity = nullptr;  // belongs to the scene manager
    Ogre::SceneNode* bodyNode = nullptr;    // follows the body
    Ogre::SceneNode* carNode = nullptr;
    LinearCurve steeringRestriction;
    LinearCurve steeringSpeed;
    bool complete = false;
    bool handbrake = false;
    std::unique_ptr<Motor> motor;
    std::unique_ptr<Gearbox> gearbox;
    float airResistance = 0.0f;
    Ogre::Vector3 centerOfMass = Ogre::Vector3::ZERO;  // actor frame
    nxOgre::NxActor* groundActor = nullptr;
    bool driving = false;
    bool reverse = false;
    float brake = 0.0f;
    bool airborne = true;
    bool parkBrake = false;
    Ogre::Vector2 heading = Ogre::Vector2::UNIT_X;
    Ogre::Vector2 motionDirection = Ogre::Vector2::UNIT_X;
    Ogre::Vector3 localVelocity = Ogre::Vector3::ZERO;  // chassis frame, relative to the ground
    Ogre::Vector3 worldVelocity = Ogre::Vector3::ZERO;
    float rpm = 0.0f;
    float wheelSpeed = 0.0f;  // km/h
    Ogre::Vector2 previousHeading = Ogre::Vector2::UNIT_X;
    Ogre::Vector2 previousMotionDirection = Ogre::Vector2::UNIT_X;
    Ogre::Vector3 previousLocalVelocity = Ogre::Vector3::ZERO;
    Ogre::Vector3 previousWorldVelocity = Ogre::Vector3::ZERO;
    float previousRpm = 0.0f;
    float alpha = 0.0f;
};
