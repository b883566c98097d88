// The vehicle's rules on the shipped Roadster standing on a floor: construction from the
// description, the reverse mode, the coasting brake, slide-mode switching, the weight-shift
// limit, the steering assist, the heading angle; and the wheel's own steps.
#include "RoadsterDrive.h"

#include "platform/physics/NxWheelShape.h"
#include "platform/physics/convexShape.h"
#include "platform/physics/scene.h"
#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cmath>

namespace
{
const std::string kMediaDir = std::string(QUILLMOR_BUILD_DIR) + "/media";

struct VehicleRules : ::testing::Test
{
    RoadsterDrive drive{kMediaDir};
    VehicleSR& v = drive.vehicle();

    void SetUp() override { drive.run(1.0f); }

    // Makes the vehicle read this chassis velocity (world frame) as its current and previous state.
    void moveAt(const btVector3& velocity)
    {
        v.getBody()->setLinearVelocity(velocity);
        v.getBody()->getNxActor()->setAngularVelocity(btVector3(0, 0, 0));
        v.storeState();
        v.storeState();
    }
};
}

TEST_F(VehicleRules, CreatedFromTheDescriptionWithNamesSpringsAndCentre)
{
    Ogre::SceneManager* manager = v.getBodyNode()->getCreator();
    EXPECT_TRUE(manager->hasSceneNode("TestRoadstercarNode"));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(manager->hasEntity("TestRoadsterWheel" + std::to_string(i)));
    EXPECT_NE(nullptr, drive.scene().findMaterial("TestRoadsterWheel0TireMat"));
    EXPECT_NE(nullptr, drive.scene().findMaterial("TestRoadsterconvexMaterial"));
    ASSERT_EQ(4u, v.getWheels().size());
    const nxOgre::NxWheelShape& shape = *v.getWheels()[0]->getShape();
    const float scale = (0.25f + 0.33f) / 0.25f;
    EXPECT_NEAR(15100.0f * scale, shape.getSuspension().spring, 0.5f);
    EXPECT_NEAR(1080.0f * scale, shape.getSuspension().damper, 0.05f);
    EXPECT_NEAR(std::min(1.0f, 0.43f * scale), shape.getSuspension().targetValue, 1e-5f);
    for (const WheelDesc& wheel : drive.description().vehicle->wheels)
    {
        EXPECT_FLOAT_EQ(0.70710677f, wheel.orientation.w);
        EXPECT_FLOAT_EQ(0.70710677f, wheel.orientation.y);
        EXPECT_FLOAT_EQ(0.0f, wheel.orientation.x + wheel.orientation.z);
    }
    // The description's offset lowers the hull's own centre of mass.
    EXPECT_NEAR(-0.25f, v.getCenterOfMass().y - (-0.025f), 0.05f);
    EXPECT_TRUE(v.isComplete());
    EXPECT_FLOAT_EQ(0.1f, v.getAirResistance());
}

TEST_F(VehicleRules, WheelsOfTypeZeroAreSkippedButTheirTyreMaterialIsMade)
{
    VehicleDesc desc = *drive.description().vehicle;
    desc.name = "Three";
    desc.wheels[1].type = Wheel::kNoWheel;
    std::string name = "Test";
    std::unique_ptr<VehicleSR> three(
        desc.createVehicle(name, Ogre::Vector3(10, 1, 10), &drive.scene(), v.getBodyNode()->getCreator()));
    EXPECT_EQ("TestThree", name) << "the caller's name gets the vehicle's appended";
    EXPECT_EQ(3u, three->getWheels().size());
    EXPECT_NE(nullptr, drive.scene().findMaterial("TestThreeWheel1TireMat"));
}

TEST_F(VehicleRules, BeforeCompletionAStepOnlyUpdatesTheDirections)
{
    nxOgre::convexShape box({{-1, -0.5f, -1}, {1, -0.5f, -1}, {-1, 0.5f, 1}, {1, 0.5f, 1}, {1, -0.5f, 1}, {-1, 0.5f, -1}},
                            0);
    nxOgre::shapeGroup shapes;
    shapes.add(std::make_unique<nxOgre::convexShape>(box));
    const btQuaternion quarterLeft(btVector3(0, 1, 0), static_cast<float>(M_PI) / 2);
    VehicleSR bare("Bare", &drive.scene(), v.getBodyNode()->getCreator(), "RoadsterHull.mesh", shapes, 100,
                   nxOgre::pose(btVector3(30, 2, 30), quarterLeft));
    bare.onPhysicStep(0.01f);
    EXPECT_FALSE(bare.isComplete());
    EXPECT_NEAR(0.0f, bare.getHeading2D(true).x, 1e-5f);
    EXPECT_NEAR(-1.0f, bare.getHeading2D(true).y, 1e-5f) << "turned left, the car faces -z";
    EXPECT_EQ(nullptr, bare.getGearbox());
}

TEST_F(VehicleRules, BrakingNearStandstillReversesAndThrottleEndsIt)
{
    moveAt(btVector3(0.3f, 0, 0));
    v.setBrake(1.0f, false);
    EXPECT_FLOAT_EQ(0.0f, v.getBrake());
    EXPECT_TRUE(v.isReverse());
    v.setBrake(0.8f, false);
    EXPECT_EQ(-1, v.getGearbox()->getGear());
    EXPECT_TRUE(v.isDriving());
    EXPECT_FLOAT_EQ(0.8f, v.getMotor()->getThrottle()) << "in reverse the brake drives";

    struct Case
    {
        float speed;
        float brakeAfter;
        bool reverseAfter;
    };
    for (const Case& c : {Case{-2.0f, 1.0f, true}, Case{-0.2f, 0.0f, false}})
    {
        SCOPED_TRACE(c.speed);
        moveAt(btVector3(c.speed, 0, 0));
        v.setBrake(1.0f, false);  // (re-)enter reverse
        if (!v.isReverse())
            v.setBrake(1.0f, false);
        v.setThrottle(1.0f);
        EXPECT_FLOAT_EQ(c.brakeAfter, v.getBrake());
        EXPECT_EQ(c.reverseAfter, v.isReverse());
    }
    // Rolling backwards faster than 5 with no pedal selects reverse by itself.
    moveAt(btVector3(-6.0f, 0, 0));
    v.setThrottle(1.0f);  // leaves reverse: rolling back with throttle brakes, not ends
    v.setThrottle(0.0f);
    v.setBrake(0.0f, false);
    EXPECT_TRUE(v.isReverse());
    EXPECT_EQ(-1, v.getGearbox()->getGear());
}

TEST_F(VehicleRules, RollingWithoutPedalsBrakesGentlyOnlyAboveTen)
{
    struct Case
    {
        float speed;
        float torque;
    };
    for (const Case& c : {Case{12.0f, VehicleSR::kCoastBrakeTorque}, Case{8.0f, 0.0f}, Case{-12.0f, VehicleSR::kCoastBrakeTorque}})
    {
        SCOPED_TRACE(c.speed);
        v.setThrottle(0.0f);
        v.setBrake(0.0f, true);
        moveAt(btVector3(c.speed, 0, 0));
        v.onPhysicStep(0.01f);
        for (const auto& wheel : v.getWheels())
            EXPECT_FLOAT_EQ(c.torque, wheel->getBrakeTorque());
    }
    v.setBrake(0.5f, true);
    v.onPhysicStep(0.01f);
    EXPECT_FLOAT_EQ(5000.0f, v.getWheels()[0]->getBrakeTorque());
}

TEST_F(VehicleRules, LargeSlipStartsTheSlideModeAndTheParkBrakeKeepsIt)
{
    // Pushed sideways at 7 units/s: the tyres slip more than 6.
    v.getBody()->setLinearVelocity(btVector3(0, 0, 7.0f));
    drive.step();
    drive.step();
    EXPECT_TRUE(v.isHandbrake());
    for (const auto& wheel : v.getWheels())
        EXPECT_TRUE(wheel->isHandbrake());

    // Held by the park brake, the slide mode outlasts the slide.
    drive.inputs.handbrake = true;
    drive.run(3.0f);
    EXPECT_TRUE(v.isHandbrake());
    // A car standing still has no slip at all: exactly 0 never releases the mode.
    drive.inputs.handbrake = false;
    drive.run(1.0f);
    EXPECT_TRUE(v.isHandbrake());
}

TEST_F(VehicleRules, WeightShiftIsLimitedToEightTenths)
{
    const Ogre::Vector3 base = v.getCenterOfMass();
    moveAt(btVector3(0, 0, 0));
    v.getBody()->setLinearVelocity(btVector3(30, 0, 0));
    v.onPhysicStep(0.01f);
    const btVector3 centre = v.getBody()->getNxActor()->getCMassLocalPosition();
    const Ogre::Vector3 shift = Ogre::Vector3(centre.x(), centre.y(), centre.z()) - base;
    EXPECT_NEAR(VehicleSR::kMaxWeightShift, shift.length(), 1e-4f);
    EXPECT_LT(shift.x, -0.79f) << "speeding up moves the weight back";
}

TEST_F(VehicleRules, TheAssistSteersTowardsTheTravelOnlyWhenLeftAlone)
{
    // The nose points 10° left of the travel (+x): the assist steers right, towards it.
    const btQuaternion noseLeft(btVector3(0, 1, 0), 10.0f * static_cast<float>(M_PI) / 180.0f);
    drive.place(btVector3(0, 0, 0), noseLeft);
    drive.run(1.0f);
    auto slideAt = [&](float speed) {
        v.getBody()->setLinearVelocity(btVector3(speed, 0, 0));
        v.getBody()->getNxActor()->setAngularVelocity(btVector3(0, 0, 0));
        for (const auto& wheel : v.getWheels())
            wheel->getShape()->setAxleSpeed(speed / wheel->getRadius());
        v.onPhysicStep(0.01f);
        v.onPhysicStep(0.01f);
    };
    slideAt(15.0f);
    v.setSteering(0.0f, false);
    const float assisted = v.getWheels()[0]->getTargetSteerAngle();
    EXPECT_LT(assisted, -0.02f);
    EXPECT_NEAR(-0.45f * 10.0f * static_cast<float>(M_PI) / 180.0f, assisted, 0.02f);

    v.setSteering(0.5f, false);
    EXPECT_GT(v.getWheels()[0]->getTargetSteerAngle(), 0.0f) << "the driver's steering wins";
    v.setHandbrake(true);
    v.setSteering(0.0f, false);
    EXPECT_FLOAT_EQ(0.0f, v.getWheels()[0]->getTargetSteerAngle()) << "no assist in the slide mode";
    v.setHandbrake(false);
    slideAt(-15.0f);
    v.setSteering(0.0f, false);
    EXPECT_FLOAT_EQ(0.0f, v.getWheels()[0]->getTargetSteerAngle()) << "no assist rolling backwards";
}

TEST_F(VehicleRules, AngleToIsSignedCounterClockwise)
{
    struct Case
    {
        Ogre::Vector2 direction;
        float degrees;
    };
    // Standing at rest the heading is +x, i.e. (1, 0) in (x, z).
    for (const Case& c : {Case{{1, 0}, 0}, Case{{0, 1}, 90}, Case{{0, -1}, -90}, Case{{0.70710677f, 0.70710677f}, 45},
                          Case{{0.70710677f, -0.70710677f}, -45}})
        EXPECT_NEAR(c.degrees, v.getAngleTo(c.direction), 0.05f) << c.direction;
    EXPECT_NEAR(180.0f, std::fabs(v.getAngleTo(Ogre::Vector2(-1, 0))), 0.05f) << "straight behind, either sign";
}

TEST_F(VehicleRules, WheelSteeringMovesAtItsSpeedAndNeverPastTheTarget)
{
    Wheel& wheel = *v.getWheels()[0];
    struct Case
    {
        float speed;
        float after;
    };
    for (const Case& c : {Case{0.8f, 0.008f}, Case{50.0f, 0.3f}})
    {
        wheel.setSteerAngleNow(0.0f);
        wheel.setSteerSpeed(c.speed);
        wheel.setTargetSteerAngle(0.3f);
        wheel.update(0.01f);
        EXPECT_NEAR(c.after, wheel.getSteerAngle(), 1e-6f);
        EXPECT_NEAR(c.after, wheel.getShape()->getSteerAngle(), 1e-6f);
    }
    for (float tooSlow : {0.0f, -3.0f})
    {
        wheel.setSteerSpeed(tooSlow);
        EXPECT_FLOAT_EQ(Wheel::kMinSteerSpeed, wheel.getSteerSpeed());
    }
}

TEST_F(VehicleRules, WheelTyresFollowSurfaceAndHandbrake)
{
    drive.scene().findMaterial("roadMaterial")->setDynamicFriction(0.5f);  // the drive's ground
    Wheel& wheel = *v.getWheels()[2];
    const Wheel::TireFunctions& tires = drive.description().vehicle->wheels[2].tires;
    wheel.update(0.01f);
    EXPECT_FLOAT_EQ(0.5f, wheel.getSurfaceFriction());
    EXPECT_FLOAT_EQ(tires.longitudinal.stiffnessFactor * 0.5f, wheel.getShape()->getLongitudalTireForceFunction().stiffnessFactor);
    EXPECT_FLOAT_EQ(tires.lateral.stiffnessFactor, wheel.getShape()->getLateralTireForceFunction().stiffnessFactor);

    struct Case
    {
        float rpm;
        float lateralPeak;
    };
    wheel.setHandbrake(true);
    const float rpmToRadPerSecond = 2.0f * static_cast<float>(M_PI) / 60.0f;
    for (const Case& c : {Case{100.01f, tires.lateralSlip.extremumValue}, Case{99.0f, tires.lateral.extremumValue}})
    {
        SCOPED_TRACE(c.rpm);
        wheel.getShape()->setAxleSpeed(c.rpm * rpmToRadPerSecond);
        wheel.update(0.01f);
        EXPECT_FLOAT_EQ(c.lateralPeak, wheel.getShape()->getLateralTireForceFunction().extremumValue);
    }

    // Lifted off the ground the wheel keeps its tyres, reports friction 1 and hangs at full travel.
    v.getBody()->setGlobalPosition(btVector3(0, 5, 0));
    drive.step();
    EXPECT_FALSE(wheel.hasContact());
    EXPECT_EQ(nullptr, wheel.getContactData());
    EXPECT_FLOAT_EQ(1.0f, wheel.getSurfaceFriction());
    EXPECT_FLOAT_EQ(-wheel.getSuspensionTravel(), wheel.getSuspensionOffset());
    EXPECT_FLOAT_EQ(tires.longitudinal.stiffnessFactor * 0.5f, wheel.getShape()->getLongitudalTireForceFunction().stiffnessFactor);
}

TEST_F(VehicleRules, StandingWheelsSitOnTheGroundAndReportItsSpeed)
{
    for (const auto& wheel : v.getWheels())
    {
        ASSERT_TRUE(wheel->hasContact());
        // The visual wheel's bottom touches the floor (y 0) within a few millimetres.
        v.getBodyNode()->_update(true, false);
        EXPECT_NEAR(wheel->getRadius(), wheel->getWheelNode()->_getDerivedPosition().y, 0.01f);
    }
    Wheel& wheel = *v.getWheels()[2];
    wheel.getShape()->setAxleSpeed(10.0f);
    wheel.update(0.0f);
    EXPECT_NEAR(10.0f * 60.0f / (2 * M_PI), wheel.getRpm(), 1e-3f);
    EXPECT_NEAR(10.0f * 0.33f * 3.6f, wheel.getSpeedKmh(), 1e-3f);
}
