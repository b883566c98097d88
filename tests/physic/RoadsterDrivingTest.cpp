// The shipped Roadster driven without a window: acceleration through the gears, braking,
// reverse, steering, steering on the keys, cornering grip, a step steer, a handbrake slide,
// reset, parking on a slope, and the same figures at half the step. Acceleration, braking, cornering and the
// step steer hold in the race scene's own physics world too.
#include "RoadsterDrive.h"

#include "physic/Wheel.h"
#include "platform/physics/NxActor.h"
#include "platform/physics/NxTriangleMesh.h"
#include "platform/physics/scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
const std::string kMediaDir = std::string(QUILLMOR_BUILD_DIR) + "/media";

// Throttle that holds a speed; never quite 0 so the car's holding brake stays off.
float cruiseThrottle(const RoadsterDrive& drive, float targetKmh)
{
    return std::clamp(0.3f + 0.15f * (targetKmh - drive.forwardKmh()), 0.02f, 1.0f);
}

// From standstill to the speed at full throttle; false if it never gets there.
bool accelerateTo(RoadsterDrive& drive, float kmh, float limitSeconds = 20.0f)
{
    drive.inputs = RoadsterDrive::Inputs();
    drive.inputs.throttle = 1.0f;
    bool reached = false;
    drive.run(limitSeconds, [&] { return !(reached = drive.forwardKmh() >= kmh); });
    return reached;
}

void cruise(RoadsterDrive& drive, float kmh, float seconds)
{
    drive.run(seconds, [&] {
        drive.inputs.throttle = cruiseThrottle(drive, kmh);
        return true;
    });
}

struct Acceleration
{
    float toHundredSeconds = -1.0f;
    std::vector<int> gears;  // each gear as it was engaged
    float highestRpm = 0.0f;
};

Acceleration fullThrottleRun(RoadsterDrive& drive)
{
    drive.run(1.0f);
    Acceleration result;
    drive.inputs.throttle = 1.0f;
    const float start = drive.time();
    drive.run(14.0f, [&] {
        const int gear = drive.vehicle().getGearbox()->getGear();
        if (result.gears.empty() || result.gears.back() != gear)
            result.gears.push_back(gear);
        result.highestRpm = std::max(result.highestRpm, drive.vehicle().getMotor()->getRpm());
        if (result.toHundredSeconds < 0.0f && drive.forwardKmh() >= 100.0f)
            result.toHundredSeconds = drive.time() - start;
        return true;
    });
    return result;
}

Acceleration fullThrottleRun(float stepSeconds)
{
    RoadsterDrive drive(kMediaDir, "Roadster.xml", stepSeconds);
    return fullThrottleRun(drive);
}

float brakingDistanceFromHundred(RoadsterDrive& drive)
{
    drive.run(1.0f);
    EXPECT_TRUE(accelerateTo(drive, 100.0f));
    const btVector3 start = drive.position();
    drive.inputs = RoadsterDrive::Inputs();
    drive.inputs.brake = 1.0f;
    drive.run(10.0f, [&] { return drive.forwardKmh() > 0.5f; });
    return (drive.position() - start).length();
}

float brakingDistanceFromHundred(float stepSeconds)
{
    RoadsterDrive drive(kMediaDir, "Roadster.xml", stepSeconds);
    return brakingDistanceFromHundred(drive);
}

// The scenarios that hold in either world.
class RoadsterScenario : public ::testing::TestWithParam<RoadsterDrive::World>
{
protected:
    std::unique_ptr<RoadsterDrive> makeDrive() const
    {
        if (GetParam() == RoadsterDrive::World::Harness)
            return std::make_unique<RoadsterDrive>(kMediaDir);
        return std::make_unique<RoadsterDrive>(kMediaDir, RoadsterDrive::World::RaceScene);
    }
};

std::string worldName(const ::testing::TestParamInfo<RoadsterDrive::World>& info)
{
    return info.param == RoadsterDrive::World::Harness ? "Harness" : "RaceScene";
}
}

INSTANTIATE_TEST_SUITE_P(Worlds, RoadsterScenario,
                         ::testing::Values(RoadsterDrive::World::Harness, RoadsterDrive::World::RaceScene), worldName);

TEST_P(RoadsterScenario, AcceleratesThroughItsGearsInOrderWithinTheRpmLimit)
{
    const auto drive = makeDrive();
    const Acceleration run = fullThrottleRun(*drive);
    std::printf("0-100 km/h in %.2f s, highest rpm %.0f, gears:", run.toHundredSeconds, run.highestRpm);
    for (int gear : run.gears)
        std::printf(" %d", gear);
    std::printf("\n");
    EXPECT_GE(run.toHundredSeconds, 5.0f);
    EXPECT_LE(run.toHundredSeconds, 7.0f);
    ASSERT_GE(run.gears.size(), 4u);
    for (std::size_t i = 0; i < run.gears.size(); ++i)
        EXPECT_EQ(static_cast<int>(i) + 1, run.gears[i]) << "gears engaged one after another, never skipped or back";
    EXPECT_LE(run.highestRpm, 7000.0f);
}

TEST_P(RoadsterScenario, FullBrakeFromHundredStopsWithinThirtyToFortyMetres)
{
    const auto drive = makeDrive();
    const float distance = brakingDistanceFromHundred(*drive);
    std::printf("100-0 km/h in %.1f m\n", distance);
    EXPECT_GE(distance, 30.0f);
    EXPECT_LE(distance, 40.0f);
}

TEST(RoadsterDriving, BrakeAtStandstillEngagesReverseAndDrivesBackwards)
{
    RoadsterDrive drive(kMediaDir);
    drive.run(1.0f);
    drive.inputs.brake = 1.0f;
    drive.run(3.0f);
    EXPECT_TRUE(drive.vehicle().isReverse());
    EXPECT_EQ(-1, drive.vehicle().getGearbox()->getGear());
    EXPECT_LT(drive.forwardKmh(), -5.0f);
    // Throttle brakes the backward roll, then leaves reverse.
    drive.inputs = RoadsterDrive::Inputs();
    drive.inputs.throttle = 1.0f;
    drive.run(4.0f);
    EXPECT_FALSE(drive.vehicle().isReverse());
    EXPECT_GT(drive.forwardKmh(), 5.0f);
}

TEST(RoadsterDriving, SteeringLeftTurnsLeftAndRightTurnsRight)
{
    for (float steer : {1.0f, -1.0f})
    {
        SCOPED_TRACE(steer);
        RoadsterDrive drive(kMediaDir);
        drive.run(1.0f);
        accelerateTo(drive, 30.0f);
        const float before = drive.headingDegrees();
        drive.inputs.steer = steer;
        cruise(drive, 30.0f, 1.0f);
        const float turned = drive.headingDegrees() - before;
        // Left is counter-clockwise seen from above: the heading angle grows.
        EXPECT_GT(turned * steer, 20.0f) << turned;
        EXPECT_GT(drive.yawRate() * steer, 0.3f);
        EXPECT_GT(drive.vehicle().getAngleTo(Ogre::Vector2(1, 0)) * steer, 0.0f) << "the car's own heading angle agrees";
    }
}

// On the keys the wheels turn at the car's steering speed: a short tap is a small
// correction, about a lane (some 3.5 units) by the time a player sees it and answers, and a
// held key reaches full lock soon, never at once.
TEST(RoadsterDriving, OnTheKeysATapMovesTheCarAboutALaneAndAHeldKeyLocksSoon)
{
    constexpr float kTap = 0.2f;       // seconds
    constexpr float kAnswer = 2.0f;    // seconds from the tap to the player's next move
    constexpr float kFewest = 1.5f;    // units sideways
    constexpr float kMost = 4.5f;
    constexpr float kSoonestLock = 0.25f;  // seconds of a held key
    constexpr float kLatestLock = 0.5f;
    for (float kmh : {50.0f, 60.0f})
    {
        SCOPED_TRACE(testing::Message() << kmh << " km/h");
        RoadsterDrive drive(kMediaDir);
        drive.run(1.0f);
        ASSERT_TRUE(accelerateTo(drive, kmh));
        cruise(drive, kmh, 2.0f);
        const btVector3 start = drive.position();
        const btVector3 ahead = drive.velocity().normalized();
        const btVector3 left(ahead.z(), 0.0f, -ahead.x());
        float since = 0.0f;
        drive.run(kAnswer, [&] {
            drive.inputs.steer = since < kTap ? 1.0f : 0.0f;
            drive.inputs.throttle = cruiseThrottle(drive, kmh);
            since += drive.stepSeconds();
            return true;
        });
        const float sideways = (drive.position() - start).dot(left);
        std::printf("%.0f km/h: a %.1f s tap moves the car %.2f units sideways in %.0f s", kmh, kTap, sideways, kAnswer);
        EXPECT_GE(sideways, kFewest);
        EXPECT_LE(sideways, kMost);

        cruise(drive, kmh, 2.0f);  // the wheels straight again
        const Wheel& front = *drive.vehicle().getWheels().front();
        drive.inputs.steer = 1.0f;
        since = 0.0f;
        drive.run(1.0f, [&] {
            drive.inputs.throttle = cruiseThrottle(drive, kmh);
            since += drive.stepSeconds();
            const float lock = drive.vehicle().getSteeringRestriction().getValue(std::fabs(drive.vehicle().getWheelSpeed()));
            return front.getSteerAngle() < 0.99f * lock;
        });
        std::printf(", a held key locks in %.2f s\n", since);
        EXPECT_GE(since, kSoonestLock) << "full lock at once";
        EXPECT_LE(since, kLatestLock);
    }
}

TEST(RoadsterDriving, HarderSteeringAtThirtyGivesATighterCircle)
{
    std::vector<float> radii;
    for (float steer : {0.3f, 0.6f, 1.0f})
    {
        RoadsterDrive drive(kMediaDir);
        drive.run(1.0f);
        accelerateTo(drive, 30.0f);
        drive.inputs.digitalSteer = false;
        drive.inputs.steer = steer;
        cruise(drive, 30.0f, 6.0f);
        const float speed = drive.velocity().length();
        radii.push_back(speed / std::fabs(drive.yawRate()));
        std::printf("steer %.1f at %.1f km/h: circle radius %.1f m\n", steer, speed * 3.6f, radii.back());
    }
    EXPECT_GT(radii[0], radii[1]);
    EXPECT_GT(radii[1], radii[2]);
}

TEST_P(RoadsterScenario, SteadyCorneringAtSixtyHoldsNearOneGWithoutSpinning)
{
    const auto own = makeDrive();
    RoadsterDrive& drive = *own;
    drive.run(1.0f);
    accelerateTo(drive, 60.0f);
    drive.inputs.digitalSteer = false;
    drive.inputs.steer = 1.0f;
    float lateralSum = 0.0f, largestSideslip = 0.0f, speedSum = 0.0f;
    int samples = 0;
    drive.run(10.0f, [&] {
        drive.inputs.throttle = cruiseThrottle(drive, 60.0f);
        const btVector3 forward = drive.vehicle().getBody()->getNxActor()->getGlobalPose().getBasis().getColumn(0);
        const btVector3 velocity = drive.velocity();
        const float sideslip = std::acos(std::clamp(forward.dot(velocity.normalized()), -1.0f, 1.0f));
        largestSideslip = std::max(largestSideslip, sideslip);
        if (drive.time() > 7.0f)
        {
            lateralSum += velocity.length() * std::fabs(drive.yawRate());
            speedSum += velocity.length();
            ++samples;
        }
        return true;
    });
    const float lateralG = lateralSum / samples / RoadsterDrive::kOneG;
    std::printf("at %.1f km/h: %.2f g lateral, largest sideslip %.1f deg\n", speedSum / samples * 3.6f, lateralG,
                largestSideslip * 180.0f / static_cast<float>(M_PI));
    EXPECT_NEAR(60.0f, speedSum / samples * 3.6f, 5.0f);
    EXPECT_GE(lateralG, 0.8f);
    EXPECT_LE(lateralG, 1.0f);
    EXPECT_LT(largestSideslip, 15.0f * static_cast<float>(M_PI) / 180.0f) << "no spin";
}

TEST_P(RoadsterScenario, SharpSteerAtHundredSettlesWithinHalfASecondOfRelease)
{
    const auto own = makeDrive();
    RoadsterDrive& drive = *own;
    drive.run(1.0f);
    ASSERT_TRUE(accelerateTo(drive, 100.0f));
    drive.inputs.steer = 1.0f;
    cruise(drive, 100.0f, 0.4f);
    const float peakYaw = std::fabs(drive.yawRate());
    drive.inputs.steer = 0.0f;
    float settledAt = -1.0f;
    const float release = drive.time();
    cruise(drive, 100.0f, 0.0f);
    drive.run(2.0f, [&] {
        drive.inputs.throttle = cruiseThrottle(drive, 100.0f);
        const bool calm = std::fabs(drive.yawRate()) < 0.05f;
        if (!calm)
            settledAt = -1.0f;
        else if (settledAt < 0.0f)
            settledAt = drive.time() - release;
        return true;
    });
    std::printf("peak yaw rate %.2f rad/s, settled %.2f s after release\n", peakYaw, settledAt);
    EXPECT_GT(peakYaw, 0.2f) << "the steer must have turned the car";
    EXPECT_GE(settledAt, 0.0f);
    EXPECT_LE(settledAt, 0.5f);
}

TEST(RoadsterDriving, HandbrakeTurnEntersAndLeavesTheSlideMode)
{
    RoadsterDrive drive(kMediaDir);
    drive.run(1.0f);
    ASSERT_TRUE(accelerateTo(drive, 70.0f));
    drive.inputs = RoadsterDrive::Inputs();
    drive.inputs.steer = 1.0f;
    drive.inputs.handbrake = true;
    const float headingBefore = drive.headingDegrees();
    float largestSlip = 0.0f;
    drive.run(1.0f, [&] {
        largestSlip = std::max(largestSlip, drive.largestLateralSlip());
        return true;
    });
    EXPECT_TRUE(drive.vehicle().isHandbrake());
    EXPECT_GT(largestSlip, 3.0f) << "the tail must slide";
    EXPECT_GT(drive.headingDegrees() - headingBefore, 15.0f);
    drive.inputs = RoadsterDrive::Inputs();
    drive.inputs.throttle = 0.3f;
    bool left = false;
    drive.run(4.0f, [&] { return !(left = !drive.vehicle().isHandbrake()); });
    EXPECT_TRUE(left) << "the slide mode ends by itself once the slide is over";
}

TEST(RoadsterDriving, ResetLeavesTheCarAtRestWithoutDrift)
{
    RoadsterDrive drive(kMediaDir);
    drive.run(1.0f);
    accelerateTo(drive, 60.0f);
    drive.inputs.steer = 1.0f;
    drive.run(0.5f);
    drive.place(btVector3(20, 0, 5));
    drive.run(2.0f);  // drops onto its springs
    const btVector3 settled = drive.position();
    drive.run(10.0f);
    EXPECT_LT((drive.position() - settled).length(), 0.001f);
    EXPECT_LT(drive.velocity().length(), 0.01f);
    EXPECT_EQ(0, drive.vehicle().getGearbox()->getGear());
    EXPECT_FALSE(drive.vehicle().isHandbrake());
}

TEST(RoadsterDriving, ParkedOnATenDegreeRampItHoldsInEveryDirection)
{
    const float slope = 10.0f * static_cast<float>(M_PI) / 180.0f;
    for (float yawDegrees : {0.0f, 90.0f, 180.0f, 270.0f})
    {
        SCOPED_TRACE(yawDegrees);
        RoadsterDrive drive(kMediaDir, "Roadster.xml", 0.01f, false);
        // A 200-unit ramp rising along +x, as a triangle mesh.
        nxOgre::NxTriangleMeshDesc ramp;
        const float half = 100.0f;
        for (float x : {-half, half})
            for (float z : {-half, half})
                ramp.points.insert(ramp.points.end(), {x * std::cos(slope), x * std::sin(slope), z});
        ramp.triangles = {0, 1, 2, 1, 3, 2};
        nxOgre::NxTriangleMeshShapeDesc shape;
        shape.meshData = nxOgre::NxTriangleMesh::create(ramp, nullptr);
        nxOgre::NxActorDesc ground;
        ground.shapes = {&shape};
        ASSERT_NE(nullptr, drive.scene().createActor(ground));
        const btQuaternion turn = btQuaternion(btVector3(0, 0, 1), slope) *
                                  btQuaternion(btVector3(0, 1, 0), yawDegrees * static_cast<float>(M_PI) / 180.0f);
        drive.place(btVector3(0, 0, 0), turn);
        drive.run(3.0f);
        const btVector3 parked = drive.position();
        drive.run(10.0f);
        const float moved = (drive.position() - parked).length();
        std::printf("yaw %.0f deg on the ramp: moved %.3f mm in 10 s\n", yawDegrees, moved * 1000.0f);
        EXPECT_LT(moved, 0.001f);
    }
}

TEST(RoadsterDriving, HalfTheStepGivesTheSameFigures)
{
    const Acceleration full = fullThrottleRun(0.01f), half = fullThrottleRun(0.005f);
    std::printf("0-100: %.2f s at 0.01, %.2f s at 0.005\n", full.toHundredSeconds, half.toHundredSeconds);
    EXPECT_NEAR(full.toHundredSeconds, half.toHundredSeconds, 0.04f * full.toHundredSeconds);
    EXPECT_EQ(full.gears, half.gears);
    const float fullBrake = brakingDistanceFromHundred(0.01f), halfBrake = brakingDistanceFromHundred(0.005f);
    std::printf("100-0: %.1f m at 0.01, %.1f m at 0.005\n", fullBrake, halfBrake);
    EXPECT_NEAR(fullBrake, halfBrake, 0.04f * fullBrake);
}
