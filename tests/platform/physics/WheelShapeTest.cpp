// The raycast wheel on a box chassis: carrying the weight, driving, braking, steering,
// grip, and standing still on a slope.
#include "TestCar.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace nxOgre;
using testcar::kGravity;
using testcar::kStep;

namespace
{
constexpr float kPi = 3.14159265f;

struct WheelFixture : ::testing::Test
{
    world physics{0, 1, ""};
    scene* sc = testcar::makeGameScene(physics);

    void run(float seconds)
    {
        const int steps = static_cast<int>(std::lround(seconds / kStep));
        for (int i = 0; i < steps; ++i)
            physics.frameStarted(FrameEvent{kStep, kStep});
    }
};
}

TEST_F(WheelFixture, WheelsAtRestCarryTheirShareOfTheWeight)
{
    testcar::Car car = testcar::makeCar(*sc, "car", btVector3(0, 0, 0));
    run(2.0f);
    float total = 0.0f;
    for (NxWheelShape* wheel : car.wheels)
    {
        NxWheelContactData contact;
        wheel->getContact(contact);
        ASSERT_TRUE(wheel->hasContact());
        EXPECT_NEAR(contact.contactForce, testcar::kMass * kGravity / 4.0f, testcar::kMass * kGravity * 0.03f);
        EXPECT_NEAR(contact.contactNormal.y(), 1.0f, 1e-4f);
        EXPECT_NEAR(contact.contactPoint.y(), 0.0f, 1e-4f);
        // The wheel centre sits radius above the ground: the contact position says where.
        const float centreY = wheel->getGlobalPosition().y() - contact.contactPosition;
        EXPECT_NEAR(centreY, testcar::kRadius, 1e-3f);
        total += contact.contactForce;
    }
    EXPECT_NEAR(total, testcar::kMass * kGravity, testcar::kMass * kGravity * 0.01f);
    EXPECT_LT(car.actor().getLinearVelocity().length(), 0.01f);
}

TEST_F(WheelFixture, MotorDrivesTheCarForwardAndTheBrakeStopsIt)
{
    testcar::Car car = testcar::makeCar(*sc, "car", btVector3(0, 0, 0));
    run(1.0f);
    const btVector3 start = car.actor().getGlobalPosition();
    car.setMotor(800.0f);
    run(3.0f);
    const float speed = car.forwardSpeed();
    // 4850 N at the rear rims, less what it takes to spin up four heavy wheels: about 0.3 g.
    EXPECT_GT(speed, 8.0f);
    EXPECT_GT(car.wheels[2]->getAxleSpeed(), 0.0f);
    EXPECT_NEAR(car.wheels[0]->getAxleSpeed() * testcar::kRadius, speed, 0.5f) << "free front wheels roll along";
    const btVector3 moved = car.actor().getGlobalPosition() - start;
    EXPECT_GT(moved.x(), 10.0f);
    EXPECT_LT(std::fabs(moved.z()), 0.05f * moved.x()) << "drives straight";

    car.setMotor(0.0f);
    car.setBrake(3000.0f);
    float stopTime = -1.0f;
    for (int i = 0; i < 1000 && stopTime < 0.0f; ++i)
    {
        run(kStep);
        if (car.actor().getLinearVelocity().length() < 0.05f)
            stopTime = i * kStep;
    }
    ASSERT_GT(stopTime, 0.0f) << "the brakes stop the car";
    // Braking can't beat the tyres' grip (peak 1.0 of the load) nor be much weaker.
    const float deceleration = speed / stopTime;
    EXPECT_LT(deceleration, 1.05f * kGravity);
    EXPECT_GT(deceleration, 0.5f * kGravity);
    for (NxWheelShape* wheel : car.wheels)
        EXPECT_EQ(wheel->getAxleSpeed(), 0.0f);
}

TEST_F(WheelFixture, SteeringLeftTurnsLeftAndTheSideForceOpposesTheSlide)
{
    testcar::Car car = testcar::makeCar(*sc, "car", btVector3(0, 0, 0));
    run(1.0f);
    car.setMotor(600.0f);
    run(2.0f);
    car.setMotor(150.0f);
    // Positive steer turns the wheels toward -z, the car's left: it yaws counter-clockwise.
    car.setSteer(0.2f);
    run(1.0f);
    EXPECT_GT(car.yawRate(), 0.2f);
    NxWheelContactData front;
    car.wheels[0]->getContact(front);
    const btVector3 velocity = car.actor().getLinearVelocity();
    EXPECT_LT(velocity.z(), 0.0f) << "heading off to the left";
    // The front tyre slides outward (+z side) and its impulse pushes it back inward.
    EXPECT_LT(front.lateralSlip * front.lateralImpulse, 0.0f);

    car.setSteer(-0.2f);
    run(2.0f);
    EXPECT_LT(car.yawRate(), -0.2f);
}

TEST_F(WheelFixture, StifferTyresGripMore)
{
    // Two cars slide sideways at 4 units/s; the stiffer tyres stop the slide sooner.
    float slid[2];
    const float stiffness[2] = {0.5f, 1.0f};
    for (int i = 0; i < 2; ++i)
    {
        world local(0, 1, "");
        scene* s = testcar::makeGameScene(local);
        testcar::Car car = testcar::makeCar(*s, "car", btVector3(0, 0, 0), btQuaternion::getIdentity(), stiffness[i]);
        for (int k = 0; k < 100; ++k)
            local.frameStarted(FrameEvent{kStep, kStep});
        car.actor().setLinearVelocity(btVector3(0, 0, 4.0f));
        const float startZ = car.actor().getGlobalPosition().z();
        for (int k = 0; k < 300; ++k)
            local.frameStarted(FrameEvent{kStep, kStep});
        slid[i] = car.actor().getGlobalPosition().z() - startZ;
        EXPECT_LT(std::fabs(car.actor().getLinearVelocity().z()), 0.05f) << "stiffness " << stiffness[i];
    }
    EXPECT_LT(slid[1], 0.7f * slid[0]);
}

TEST_F(WheelFixture, BrakedCarStandsStillOnASlope)
{
    // A 10° ramp, uphill toward +x; the car faces up, down and across it in turn.
    for (float yawDeg : {0.0f, 180.0f, 90.0f})
    {
        world local(0, 1, "");
        scene* s = testcar::makeGameScene(local, false);
        const btQuaternion tilt(btVector3(0, 0, 1), 10.0f * kPi / 180.0f);
        NxPlaneShapeDesc ramp;
        ramp.normal = quatRotate(tilt, btVector3(0, 1, 0));
        NxActorDesc ground;
        ground.shapes = {&ramp};
        ASSERT_NE(s->createActor(ground), nullptr);
        const btQuaternion turn = tilt * btQuaternion(btVector3(0, 1, 0), yawDeg * kPi / 180.0f);
        testcar::Car car = testcar::makeCar(*s, "car", btVector3(0, 0, 0), turn);
        car.setBrake(3000.0f);
        for (int k = 0; k < 200; ++k)
            local.frameStarted(FrameEvent{kStep, kStep});
        const btVector3 settled = car.actor().getGlobalPosition();
        for (int k = 0; k < 1000; ++k)
            local.frameStarted(FrameEvent{kStep, kStep});
        const float drift = (car.actor().getGlobalPosition() - settled).length();
        EXPECT_LT(drift, 0.001f) << "facing " << yawDeg << " degrees";
        // Let go of the brakes: it rolls away downhill (toward -x) unless it faces across.
        car.setBrake(0.0f);
        for (int k = 0; k < 100; ++k)
            local.frameStarted(FrameEvent{kStep, kStep});
        const float rolled = car.actor().getGlobalPosition().x() - settled.x();
        if (yawDeg == 90.0f)
            EXPECT_GT(rolled, -0.05f);
        else
            EXPECT_LT(rolled, -0.2f) << "facing " << yawDeg << " degrees";
    }
}

TEST_F(WheelFixture, WheelInTheAirSpinsFreelyAndReportsNoContact)
{
    testcar::Car car = testcar::makeCar(*sc, "car", btVector3(0, 50, 0));
    car.setMotor(10.0f);
    run(0.5f);
    NxWheelContactData contact;
    EXPECT_EQ(car.wheels[2]->getContact(contact), nullptr);
    EXPECT_FALSE(car.wheels[2]->hasContact());
    EXPECT_EQ(contact.contactForce, 0.0f);
    EXPECT_NEAR(contact.contactPosition, testcar::kTravel, 1e-6f);
    // Inverse inertia 0.01 / r²: 10 N·m for 0.5 s.
    EXPECT_NEAR(car.wheels[2]->getAxleSpeed(), 10.0f * 0.01f / (0.33f * 0.33f) * 0.5f, 0.05f);
    EXPECT_EQ(car.wheels[0]->getAxleSpeed(), 0.0f);
}
