// The driver selector and the track follower: the cycle of drivers, the learning driver's
// training files, the look-ahead on the spline, the target kept ahead of the player, taking
// up the path again after the car was put back, one step per physics step.
#include "ai/AiTrackFollower.h"
#include "ai/OperationalAI.h"
#include "ai/StrategicAI.h"
#include "track/CheckPointTracker.h"
#include "track/TrackSpline.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
struct FakeCar : AiCar
{
    Ogre::Vector2 position{0, 0};
    float wheelSpeed = 0.0f;
    bool isStopped() const override { return false; }
    Ogre::Vector2 getGroundPosition() const override { return position; }
    Ogre::Vector2 getGroundHeading() const override { return {0, -1}; }
    float getWheelSpeed() const override { return wheelSpeed; }
    const LinearCurve* getSpeedCurve() const override { return nullptr; }
    void setSteerLeft(float) override {}
    void setSteerRight(float) override {}
    void setThrottle(float) override {}
    void setBrake(float) override {}
};

// Counts its steps and remembers its last target.
struct CountingDriver : OperationalAI
{
    CountingDriver() : OperationalAI("counting") {}
    int steps = 0;
    void update(float) override { ++steps; }
    Ogre::Vector2 target() const { return targetPoint; }

protected:
    void resetControllers() override {}
    float steeringOutput(float, float) override { return 0.0f; }
    float speedOutput(float, float) override { return 0.0f; }
};

// A straight road along -z from the origin, 1000 units long.
struct StraightRoad : TrackSpline
{
    StraightRoad()
    {
        std::vector<Ogre::Vector4> points;
        for (int i = 0; i <= 10; ++i)
            points.emplace_back(0.0f, 0.0f, -100.0f * i, 10.0f);
        build(points);
    }
};
}

TEST(StrategicAI, CyclesThroughTheDriversAndBackToThePlayer)
{
    StrategicAI selector("", "");
    EXPECT_EQ(selector.getIndex(), 0u);
    EXPECT_EQ(selector.getSelected(), nullptr);
    const char* expected[] = {"PID", "Adaptive PID", "Neuronal Net", "Neuronal Net"};
    for (const char* name : expected)
    {
        selector.nextOperationalAI();
        ASSERT_NE(selector.getSelected(), nullptr);
        EXPECT_EQ(selector.getSelected()->getName(), name);
    }
    selector.nextOperationalAI();
    EXPECT_EQ(selector.getIndex(), 0u);
}

TEST(StrategicAI, TheLearningDriverLearnsWhenPickedAndWritesBothFilesWithTheRace)
{
    TempFolder folder;
    StraightRoad road;
    FakeCar car;
    const std::string speedData = folder.path() + StrategicAI::kSpeedTraining;
    const std::string steerData = folder.path() + StrategicAI::kSteerTraining;
    {
        StrategicAI selector("", folder.path());
        selector.setAiCar(&car);
        selector.setTrackSpline(&road);
        for (int driver = 0; driver < 3; ++driver)
            selector.nextOperationalAI();
        ASSERT_EQ(selector.getIndex(), 3u);
        for (int step = 0; step < 25; ++step)
            selector.onPhysicStep(0.01f);
        selector.nextOperationalAI();  // the driving one records nothing
        for (int step = 0; step < 10; ++step)
            selector.onPhysicStep(0.01f);
        EXPECT_TRUE(TempFolder::read(speedData).empty()) << "written when the race ends";
    }
    EXPECT_EQ(TempFolder::read(speedData).substr(0, 7), "25 1 1\n");
    EXPECT_EQ(TempFolder::read(steerData).substr(0, 7), "25 1 1\n");
}

TEST(AiTrackFollower, TargetRunsALookAheadInFrontOfTheCar)
{
    StraightRoad road;
    struct Case
    {
        const char* what;
        float wheelSpeedKmh;
        float lookAhead;
    };
    const Case cases[] = {
        {"at rest", 0.0f, 20.0f},
        {"at 50 km/h", 50.0f, 20.0f},
        {"at 100 km/h", 100.0f, 28.0f},
    };
    for (const Case& c : cases)
    {
        FakeCar car;
        car.wheelSpeed = c.wheelSpeedKmh;
        CountingDriver driver;
        driver.setAiCar(&car);
        AiTrackFollower follower;
        follower.setOperationalAI(&driver);
        follower.setCar(&car);
        follower.setTrackSpline(&road);
        follower.update(0.01f);
        EXPECT_FLOAT_EQ(follower.getLookAhead(), c.lookAhead) << c.what;
        // The spline's parameter is its length only roughly near its ends.
        EXPECT_NEAR(driver.target().distance(car.position), c.lookAhead, 1.5f) << c.what;
        EXPECT_EQ(driver.getTargetSpeed(), 200.0f) << c.what;
    }
}

TEST(AiTrackFollower, FarTargetsStayAndAPutBackCarIsFoundAgain)
{
    StraightRoad road;
    FakeCar car;
    CountingDriver driver;
    driver.setAiCar(&car);
    AiTrackFollower follower;
    follower.setOperationalAI(&driver);
    follower.setCar(&car);
    follower.setTrackSpline(&road);

    // Drive to 500 units along the road.
    for (float z = 0; z >= -500.0f; z -= 1.0f)
    {
        car.position = Ogre::Vector2(0, z);
        follower.update(0.01f);
    }
    EXPECT_NEAR(follower.getDistance(), 520.0f, 0.5f);

    // The car drifts 30 units off the road beside its target: farther than the look-ahead,
    // so the target stays where it is.
    car.position = Ogre::Vector2(30, -520);
    follower.update(0.01f);
    EXPECT_NEAR(follower.getDistance(), 520.0f, 0.5f);

    // Put back at a checkpoint 300 units behind: the path is taken up where the car is.
    car.position = Ogre::Vector2(0, -200);
    follower.update(0.01f);
    EXPECT_NEAR(follower.getDistance(), 220.0f, 2.5f);
    EXPECT_NEAR(driver.target().y, -220.0f, 2.5f);
}

TEST(AiTrackFollower, TheTargetKeepsAheadOfThePlayerSoADriverTakesUpTheRoadThere)
{
    StraightRoad road;
    FakeCar car;
    AiTrackFollower follower;
    follower.setCar(&car);
    follower.setTrackSpline(&road);
    for (float z = 0; z >= -300.0f; z -= 1.0f)  // the player drives, no driver is stepped
    {
        car.position = Ogre::Vector2(0, z);
        follower.update(0.01f);
    }
    EXPECT_NEAR(follower.getDistance(), 320.0f, 0.5f);

    CountingDriver driver;
    driver.setAiCar(&car);
    follower.setOperationalAI(&driver);
    follower.update(0.01f);
    EXPECT_EQ(driver.steps, 1);
    EXPECT_NEAR(driver.target().y, -320.0f, 0.5f) << "ahead of the car, not back at the start";
}

TEST(AiTrackFollower, OneStepPerPhysicsStepEvenWithSplineAndCheckPoints)
{
    StraightRoad road;
    CheckPointTracker tracker;
    tracker.setStart(Ogre::Vector2(0, 0), 0);
    tracker.setFinish(Ogre::Vector2(0, -1000), 0);
    FakeCar car;
    CountingDriver driver;
    driver.setAiCar(&car);
    AiTrackFollower follower;
    follower.setOperationalAI(&driver);
    follower.setCar(&car);
    follower.setTrackSpline(&road);
    follower.setCheckPointTracker(&tracker);
    follower.update(0.01f);
    EXPECT_EQ(driver.steps, 1);

    AiTrackFollower gates;
    CountingDriver gateDriver;
    gateDriver.setAiCar(&car);
    gates.setOperationalAI(&gateDriver);
    gates.setCheckPointTracker(&tracker);
    gates.update(0.01f);
    EXPECT_EQ(gateDriver.steps, 1);
    EXPECT_EQ(gateDriver.getTargetSpeed(), 300.0f);
    EXPECT_EQ(gateDriver.target(), tracker.getCheckPointPosition(0));
}

TEST(StrategicAI, ResetPullsTheTargetBackToTheLookAhead)
{
    StraightRoad road;
    StrategicAI selector("", "");
    selector.setTrackSpline(&road);
    selector.getFollower()->setDistance(400.0f);
    selector.reset();
    EXPECT_FLOAT_EQ(selector.getFollower()->getDistance(), 20.0f);
}
