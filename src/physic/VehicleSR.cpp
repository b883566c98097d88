// The vehicle's inputs, its fixed step and its read-outs.
#include "physic/VehicleSR.h"

#include "physic/MeshEntity.h"
#include "physic/PhysicsConversions.h"
#include "platform/physics/body.h"
#include "platform/physics/scene.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace
{
constexpr float kUnitsPerSecondToKmh = 3.6f;
constexpr float kStandstillSpeed = 0.4f;     // km/h: below it an idle automatic drops to neutral
constexpr float kCoastSpeed = 10.0f;         // units/s: above it a rolling car brakes a little
constexpr float kReverseSpeed = 5.0f;        // units/s backwards that selects reverse by itself
constexpr float kStopSpeed = 0.5f;           // units/s: braking below it means "reverse"
constexpr float kSlideReleaseBrake = 0.7f;   // the slide holds while braking harder
constexpr float kSlideReleaseFriction = 0.5f;
constexpr float kSlideEnterFriction = 0.4f;  // slippery ground slides by itself
constexpr float kForwardShift = 0.035f;      // units of centre-of-mass shift per unit/s²
constexpr float kSideShiftShare = 0.38f;     // sideways share of that shift
constexpr float kStraightDrag = 0.5f;        // N per (unit/s)², added to the air resistance
constexpr float kSteeredDrag = 2.0f;         // the same while the front wheels are turned
constexpr float kSlidePush = 4.0f;           // N per unit/s along the motion while sliding
constexpr float kMotionDirectionSpeed = 5.0f;  // km/h of wheel speed before travel has a direction
constexpr float kAssistDeadZone = 0.05f;     // rad of slide angle the assist ignores
constexpr float kAssistGain = 0.45f;
constexpr float kAssistSpeedShare = 0.8f;
constexpr float kHandbrakeSteerShare = 4.0f;
constexpr float kSteerSpeedScale = 0.12f;    // rad/s per unit of the steering-speed curve

float kmh(float unitsPerSecond)
{
    return unitsPerSecond * kUnitsPerSecondToKmh;
}
}

VehicleSR::VehicleSR(const std::string& name, nxOgre::scene* scene, Ogre::SceneManager* sceneManager,
                     const std::string& meshName, const nxOgre::shapeGroup& shapes, float mass, const nxOgre::pose& at)
{
    // The entity first: a missing mesh throws before anything is left in the physics scene.
    chassisEntity = createMeshEntity(*sceneManager, name, meshName);
    body = scene->createBody(name, shapes, mass, at);
    if (!body)
    {
        sceneManager->destroyEntity(chassisEntity);
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS,
                    "the chassis body \"" + name + "\" can't be made (name taken or no usable hull)", "VehicleSR");
    }
    body->setAngularDamping(kAngularDamping);
    bodyNode = sceneManager->getRootSceneNode()->createChildSceneNode(name);
    bodyNode->attachObject(chassisEntity);
    Ogre::SceneNode* node = bodyNode;
    body->onRender = [node](const nxOgre::NxPose& pose) {
        node->setPosition(toOgre(pose.position));
        node->setOrientation(toOgre(pose.orientation));
    };
    body->onRender(body->getInterpolatedPose(1.0f));
}

VehicleSR::~VehicleSR()
{
    // The body stays in the physics scene, but must no longer move our node.
    if (body)
        body->onRender = nullptr;
}

nxOgre::NxActor& VehicleSR::actor() const
{
    return *body->getNxActor();
}

void VehicleSR::onPhysicStep(float dt)
{
    alpha = 1.0f;  // read-outs inside the step give the latest state
    if (complete)
    {
        float largestSlip = 0.0f, meanFriction = 1.0f;
        driveWheels(dt, largestSlip, meanFriction);
        switchSlideMode(largestSlip, meanFriction);
        body->wakeUp();
        const Ogre::Vector3 before = localVelocity;
        storeState();
        const float speed = getSpeed();
        if (dt > 0.0f)
            shiftWeight(before, dt);
        applyDrag(speed);
        gearbox->update(dt);
    }
    if (motor)
    {
        previousRpm = rpm;
        rpm = motor->getRpm();
    }
    previousHeading = heading;
    previousMotionDirection = motionDirection;
    updateDirections();
}

void VehicleSR::driveWheels(float dt, float& largestSlip, float& meanFriction)
{
    airborne = true;
    const float speedKmh = kmh(getSpeed());
    float frictionSum = 0.0f;
    wheelSpeed = 0.0f;
    for (const auto& wheel : wheels)
    {
        if (wheel->isDriven())
        {
            const float wheelRpm = wheel->getRpm(), wheelKmh = wheel->getSpeedKmh();
            wheelSpeed = wheelRpm < 0.0f ? std::min(wheelSpeed, wheelKmh) : std::max(wheelSpeed, wheelKmh);
            if (wheel->hasContact())
            {
                airborne = false;
                gearbox->setWheelRpm(wheelRpm, true);
                largestSlip = std::max(largestSlip, wheel->getSlip());
            }
            else
                gearbox->setWheelRpm(wheelRpm, false);
            if (driving)
                wheel->setMotorTorque(gearbox->getDriveTorque());
            else
            {
                wheel->setMotorTorque(0.0f);
                if (gearbox->isAutomatic() && -kStandstillSpeed < speedKmh && speedKmh < kStandstillSpeed)
                    gearbox->setGear(0);
            }
        }
        if (wheel->hasBrakes())
        {
            const bool coasting = brake == 0.0f && !driving && std::fabs(getSpeed()) > kCoastSpeed;
            wheel->setBrakeTorque(coasting ? kCoastBrakeTorque : brake * kBrakeTorquePerInput);
        }
        wheel->update(dt);
        frictionSum += wheel->getSurfaceFriction();
    }
    if (!wheels.empty())
        meanFriction = frictionSum / static_cast<float>(wheels.size());
}

void VehicleSR::switchSlideMode(float largestSlip, float meanFriction)
{
    if (handbrake && !parkBrake && 0.0f < largestSlip && largestSlip < kSlideLeaveSlip && brake <= kSlideReleaseBrake &&
        meanFriction > kSlideReleaseFriction)
        setHandbrake(false);
    if (!handbrake && (largestSlip > kSlideEnterSlip || meanFriction <= kSlideEnterFriction))
        setHandbrake(true);
}

void VehicleSR::shiftWeight(const Ogre::Vector3& before, float dt)
{
    Ogre::Vector3 offset = centerOfMass;
    if (!airborne)
    {
        Ogre::Vector3 shift = (localVelocity - before) / dt;
        shift.y = 0.0f;
        shift.x = -shift.x;
        shift.z *= kSideShiftShare;
        shift *= kForwardShift;
        if (shift.length() > kMaxWeightShift)
            shift = shift.normalisedCopy() * kMaxWeightShift;
        offset += shift;
    }
    else
        offset.y = 0.0f;
    actor().setCMassOffsetLocalPosition(toPhysics(offset));
}

void VehicleSR::applyDrag(float speed)
{
    if (handbrake)
    {
        body->addForce(toPhysics(worldVelocity * kSlidePush));
        return;
    }
    const bool steered = !wheels.empty() && wheels.front()->getSteerAngle() != 0.0f;
    const float drag = (airResistance + (steered ? kSteeredDrag : kStraightDrag)) * speed * speed;
    if (worldVelocity.squaredLength() > 0.0f)
        body->addForce(toPhysics(-drag * worldVelocity.normalisedCopy()));
}

void VehicleSR::updateDirections()
{
    const Ogre::Vector3 forward = toOgre(body->getGlobalOrientation()) * Ogre::Vector3::UNIT_X;
    heading = Ogre::Vector2(forward.x, forward.z);
    heading.normalise();
    if (std::fabs(wheelSpeed) > kMotionDirectionSpeed)
    {
        const Ogre::Vector3 velocity = getInterpolatedVelocity();
        motionDirection = Ogre::Vector2(velocity.x, velocity.z);
        if (motionDirection.length() > kMotionDirectionSpeed)
            motionDirection.normalise();
    }
    else
        motionDirection = heading;
}

void VehicleSR::onPhysicFrame(float frameAlpha, float /*alphaTime*/, float /*frameDt*/)
{
    alpha = frameAlpha;
}

void VehicleSR::storeState()
{
    updateGroundActor();
    // Measured at the unshifted centre of mass: the weight shift moves the body's centre every
    // step, and the velocity of a moving centre on a turning car would read as acceleration
    // and feed the shift.
    const Ogre::Vector3 chassisVelocity =
        toOgre(actor().getPointVelocity(toPhysics(toWorld(actor().getGlobalPose(), centerOfMass))));
    Ogre::Vector3 velocity = chassisVelocity;
    if (groundActor && groundActor->isDynamic())
        velocity -= toOgre(groundActor->getLinearVelocity());
    previousLocalVelocity = localVelocity;
    localVelocity = toOgre(body->getGlobalOrientation()).Inverse() * velocity;
    previousWorldVelocity = worldVelocity;
    worldVelocity = chassisVelocity;
}

void VehicleSR::updateGroundActor()
{
    // Ties go to the first actor in map order, so the null actor (no contact) wins them.
    std::map<nxOgre::NxActor*, int> wheelsOn;
    for (const auto& wheel : wheels)
        ++wheelsOn[wheel->getContactActor()];
    groundActor = nullptr;
    int most = 0;
    for (const auto& [ground, count] : wheelsOn)
        if (count > most)
        {
            most = count;
            groundActor = ground;
        }
}

Ogre::Vector3 VehicleSR::getInterpolatedVelocity() const
{
    return previousWorldVelocity + (worldVelocity - previousWorldVelocity) * alpha;
}

float VehicleSR::getSpeed() const
{
    return previousLocalVelocity.x + (localVelocity.x - previousLocalVelocity.x) * alpha;
}

float VehicleSR::getRpm() const
{
    return previousRpm + (rpm - previousRpm) * alpha;
}

Ogre::Vector2 VehicleSR::getHeading2D(bool wantHeading) const
{
    if (wantHeading)
        return previousHeading + (heading - previousHeading) * alpha;
    Ogre::Vector2 direction = previousMotionDirection + (motionDirection - previousMotionDirection) * alpha;
    direction.normalise();
    return direction;
}

float VehicleSR::getAngleTo(const Ogre::Vector2& direction) const
{
    const Ogre::Vector2 h = getHeading2D(true);
    // Clamped at both ends: an interpolated heading can be a hair longer than 1.
    const float cosine = std::clamp(h.dotProduct(direction), -1.0f, 1.0f);
    const float degrees = Ogre::Radian(std::acos(cosine)).valueDegrees();
    return h.x * direction.y - h.y * direction.x < 0.0f ? -degrees : degrees;
}

void VehicleSR::setThrottle(float throttle)
{
    const float speed = getSpeed();
    const bool automatic = gearbox && gearbox->isAutomatic();
    if (throttle <= 0.0f)
    {
        if (!reverse)
        {
            driving = false;
            if (motor)
                motor->setThrottle(0.0f);
            return;
        }
        if (automatic && speed > kReverseSpeed && gearbox->getGear() <= 0)
        {
            gearbox->setGear(1);
            reverse = false;
        }
        brake = 0.0f;
        return;
    }
    if (!reverse)
    {
        if (automatic && gearbox->getGear() <= 0)
            gearbox->setGear(1);
        if (motor)
            motor->setThrottle(throttle);
        brake = 0.0f;
        driving = true;
        return;
    }
    // In reverse the throttle brakes a backward roll, then ends reverse.
    if (speed < -kStopSpeed)
        brake = 1.0f;
    else
    {
        brake = 0.0f;
        reverse = false;
    }
}

void VehicleSR::setBrake(float b, bool direct)
{
    if (direct)
    {
        brake = b;
        return;
    }
    const float speed = getSpeed();
    const bool automatic = gearbox && gearbox->isAutomatic();
    if (b <= 0.0f)
    {
        if (reverse)
        {
            driving = false;
            if (motor)
                motor->setThrottle(0.0f);
            return;
        }
        if (automatic && speed < -kReverseSpeed)
        {
            gearbox->setGear(-1);
            reverse = true;
        }
        brake = 0.0f;
        return;
    }
    if (reverse)
    {
        // In reverse the brake pedal drives backwards.
        if (automatic && gearbox->getGear() >= 0)
        {
            gearbox->setGear(-1);
            brake = 0.0f;
        }
        if (motor)
            motor->setThrottle(b);
        driving = true;
        return;
    }
    if (speed > kStopSpeed)
        brake = b;
    else
    {
        brake = 0.0f;
        reverse = true;
    }
}

float VehicleSR::assistTarget(float wheelSpeedKmh) const
{
    float slide = getAngleTo(getHeading2D(false));
    while (slide > 180.0f)
        slide -= 360.0f;
    while (slide < -180.0f)
        slide += 360.0f;
    slide = Ogre::Degree(slide).valueRadians();
    const float limit = steeringRestriction.getValue(wheelSpeedKmh);
    if (slide > limit)
        slide = limit;
    else if (slide < -limit)
        slide = -limit;
    else if (std::fabs(slide) < kAssistDeadZone)
        slide = 0.0f;
    // The slide angle is positive when the car travels to the right of its nose (our +z);
    // steering towards the travel means turning the wheels the other way round.
    return -slide * kAssistGain;
}

void VehicleSR::setSteering(float input, bool direct)
{
    const float w = getWheelSpeed();
    if (direct)
    {
        const float angle = steeringRestriction.getValue(w) * input;
        for (const auto& wheel : wheels)
            if (wheel->isSteered())
                wheel->setSteerAngleNow(angle);
        return;
    }
    float target = 0.0f;
    bool assist = false;
    if (input == 0.0f && w > 0.0f)
    {
        assist = true;
        if (!handbrake)
            target = assistTarget(w);
    }
    else
        target = steeringRestriction.getValue(w) * input;
    for (const auto& wheel : wheels)
    {
        if (!wheel->isSteered())
            continue;
        const float current = wheel->getSteerAngle();
        if (!wheel->hasContact())
            target = 0.0f;  // for this wheel and every later one
        wheel->setTargetSteerAngle(target);
        float factor = steeringSpeed.getValue(w) * (assist ? kAssistSpeedShare : 1.0f) *
                       (handbrake ? kHandbrakeSteerShare : 1.0f);
        if (target == 0.0f)
            continue;
        // Turning across the centre goes faster the further the wheel has to come back.
        if ((current < 0.0f && 0.0f < target) || (target < 0.0f && 0.0f < current))
            factor *= std::fabs(current) * 20.0f + 2.5f;
        wheel->setSteerSpeed(std::fabs(factor * kSteerSpeedScale));
    }
}

void VehicleSR::setHandbrake(bool on)
{
    handbrake = on;
    for (const auto& wheel : wheels)
        wheel->setHandbrake(on);
}

void VehicleSR::setParkBrake(bool on)
{
    parkBrake = on;
    if (on && !handbrake)
        setHandbrake(true);
}

void VehicleSR::resetMotion()
{
    driving = false;
    reverse = false;
    if (gearbox)
    {
        gearbox->setGear(1);
        gearbox->setWheelRpm(0.0f, true);
        gearbox->setGear(0);
    }
    for (const auto& wheel : wheels)
        wheel->reset();
    setHandbrake(false);
    localVelocity = worldVelocity = Ogre::Vector3::ZERO;
    onPhysicStep(1.0f);
    nxOgre::NxActor& chassis = actor();
    const nxOgre::NxVec3 still;
    chassis.setLinearVelocity(still);
    chassis.setAngularVelocity(still);
    chassis.setLinearMomentum(still);
    chassis.setAngularMomentum(still);
    body->setLinearVelocity(still);
    // The reset step's drag must not push the car at the next step.
    chassis.clearForces();
}
