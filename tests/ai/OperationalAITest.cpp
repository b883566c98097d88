// The computer drivers on a fake car: the angle to the target, the steering and pedal
// split, the speed limits, the neural driver's modes and its training files.
#include "ai/AdaptivePIDOperationalAI.h"
#include "ai/NNOperationalAI.h"
#include "ai/PIDOperationalAI.h"
#include "physic/LinearCurve.h"

#include "support/TempFolder.h"

#include <OGRE/OgreStringConverter.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace
{
constexpr float kStep = 0.01f;

// A car standing at `position` looking along `heading`, remembering what it was told.
struct FakeCar : AiCar
{
    Ogre::Vector2 position{0, 0};
    Ogre::Vector2 heading{0, -1};  // along -z
    float wheelSpeed = 0.0f;
    bool stopped = false;
    const LinearCurve* curve = nullptr;
    float left = -1, right = -1, throttle = -1, brake = -1;

    bool isStopped() const override { return stopped; }
    Ogre::Vector2 getGroundPosition() const override { return position; }
    Ogre::Vector2 getGroundHeading() const override { return heading; }
    float getWheelSpeed() const override { return wheelSpeed; }
    const LinearCurve* getSpeedCurve() const override { return curve; }
    void setSteerLeft(float value) override { left = value; }
    void setSteerRight(float value) override { right = value; }
    void setThrottle(float value) override { throttle = value; }
    void setBrake(float value) override { brake = value; }
};

LinearCurve roadsterCurve()
{
    LinearCurve curve;
    for (auto [steer, kmh] : {std::pair{0.0f, 500.0f}, {0.3f, 300.0f}, {1.05f, 200.0f}, {10.0f, 20.0f}})
        curve.addPoint(steer, kmh);
    return curve;
}
}

TEST(OperationalAI, AngleToTheTargetIsNegativeToTheRight)
{
    struct Case
    {
        const char* what;
        Ogre::Vector2 target;
        float degrees;
    };
    const Case cases[] = {
        {"straight ahead", {0, -10}, 0.0f},
        {"to the right (+x)", {10, 0}, -90.0f},
        {"to the left (-x)", {-10, 0}, 90.0f},
        {"ahead right", {10, -10}, -45.0f},
        {"straight behind", {0, 10}, -180.0f},
        {"on the car itself", {0, 0}, -90.0f},
    };
    FakeCar car;
    PIDOperationalAI driver;
    driver.setAiCar(&car);
    for (const Case& c : cases)
        EXPECT_NEAR(driver.getAngleToTarget(c.target), c.degrees, 1e-3f) << c.what;
    car.stopped = true;
    EXPECT_EQ(driver.getAngleToTarget(Ogre::Vector2(10, 0)), 0.0f) << "a held car";
}

TEST(OperationalAI, SteersAndPedalsWithOneSignEach)
{
    FakeCar car;
    PIDOperationalAI driver;
    driver.setAiCar(&car);
    driver.setTarget(Ogre::Vector2(-10, -10), 100.0f);  // left, and faster than the car
    driver.update(kStep);
    EXPECT_GT(car.left, 0.0f);
    EXPECT_EQ(car.right, 0.0f);
    EXPECT_GT(car.throttle, 0.0f);
    EXPECT_EQ(car.brake, 0.0f);
    EXPECT_EQ(driver.getInfo1(), "P:0.05 I:0.03 D:0.02");
    EXPECT_EQ(driver.getInfo2(), "P:0.05 I:0.02 D:0");

    PIDOperationalAI braking;
    car.wheelSpeed = 150.0f;
    braking.setAiCar(&car);
    braking.setTarget(Ogre::Vector2(10, -10), 100.0f);  // right, and slower than the car
    braking.update(kStep);
    EXPECT_EQ(car.left, 0.0f);
    EXPECT_LT(car.right, 0.0f);
    EXPECT_EQ(car.throttle, 0.0f);
    EXPECT_GT(car.brake, 0.0f);

    FakeCar held;
    held.stopped = true;
    braking.setAiCar(&held);
    braking.update(kStep);
    EXPECT_EQ(held.left, -1.0f) << "a held car is not touched";
    EXPECT_EQ(held.throttle, -1.0f);
}

TEST(OperationalAI, TheCurveOnlyLowersTheRequestTheStepsReplaceIt)
{
    const LinearCurve curve = roadsterCurve();
    FakeCar withCurve;
    withCurve.curve = &curve;
    FakeCar without;
    struct Case
    {
        const char* what;
        const FakeCar& car;
        float requested;
        float steering;
        float expected;
    };
    const Case cases[] = {
        {"curve, straight", withCurve, 300, 0.0f, 300},
        {"curve, at its 0.3 key", withCurve, 300, 0.3f, 300},
        {"curve, half way to 1.05", withCurve, 300, -0.675f, 250},
        {"curve, 1.05", withCurve, 300, 1.05f, 200},
        {"curve, full lock", withCurve, 300, 12.0f, 20},
        {"curve, a slow request is never raised", withCurve, 200, 0.3f, 200},
        {"steps, 0.5 leaves it", without, 300, 0.5f, 300},
        {"steps, 0.9", without, 300, 0.9f, 160},
        {"steps, exactly 1.0", without, 300, 1.0f, 160},
        {"steps, 2", without, 300, -2.0f, 145},
        {"steps, 6", without, 300, 6.0f, 100},
        {"steps, 11", without, 300, 11.0f, 20},
        {"steps replace a slow request too", without, 50, 0.9f, 160},
        {"steps leave a slow request below 0.8", without, 50, 0.8f, 50},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(OperationalAI::limitSpeed(c.requested, c.steering, c.car), c.expected, 1e-3f) << c.what;
}

TEST(OperationalAI, AdaptiveDriverTunesOnlyItsSteeringWithinLimits)
{
    FakeCar car;
    AdaptivePIDOperationalAI driver;
    driver.setAiCar(&car);
    for (int step = 0; step < 300; ++step)
    {
        car.heading = Ogre::Vector2(std::sin(step * 0.05f), -std::cos(step * 0.05f));
        driver.setTarget(Ogre::Vector2(-20, -20), 120.0f);
        // The overlay's line shows the gains the step began with, never an older text.
        const AdaptivePIDController& steer = driver.getSteerController();
        const std::string gainsAtStart = "P:" + Ogre::StringConverter::toString(steer.getGain(0)) +
                                         " I:" + Ogre::StringConverter::toString(steer.getGain(1)) +
                                         " D:" + Ogre::StringConverter::toString(steer.getGain(2));
        driver.update(kStep);
        ASSERT_EQ(driver.getInfo1(), gainsAtStart) << "at step " << step;
        ASSERT_GE(steer.getGain(0), 0.015f);
        ASSERT_LE(steer.getGain(0), 0.15f);
        ASSERT_GE(steer.getGain(1), 0.015f);
        ASSERT_LE(steer.getGain(1), 0.08f);
        ASSERT_GE(steer.getGain(2), 0.008f);
        ASSERT_LE(steer.getGain(2), 0.05f);
    }
    EXPECT_NE(driver.getInfo1(), "P:0.03 I:0.03 D:0.02") << "the steering gains moved";
    EXPECT_EQ(driver.getInfo2(), "P:0.05 I:0.02 D:0") << "the speed gains stay";
}

TEST(NNOperationalAI, WithoutUsableNetworksItNeitherSteersNorAcceleratesAndItsPanelSaysWhy)
{
    TempFolder folder;
    // A network of two inputs, which the driver's one input cannot run.
    NeuronalNetwork twoInputs(3, 3);
    twoInputs.addName("a", true);
    twoInputs.addName("b", true);
    twoInputs.addName("out", false);
    ASSERT_TRUE(twoInputs.create());
    const std::string wide = folder.path() + "NNOperationalSteer.net";
    ASSERT_EQ(twoInputs.save(wide), 0);
    const std::string damaged = folder.write("NNOperationalSpeed.net", "FANN_FLO_2.1\nnum_layers=0\n");
    struct Case
    {
        const char* what;
        std::string speedFile, steerFile;
        const char* speedLine;  // the panel's lines: the steering network first
        const char* steerLine;
    };
    const Case cases[] = {
        {"no files", "/nonexistent/NNOperationalSpeed.net", "/nonexistent/NNOperationalSteer.net",
         "NNOperationalSpeed.net: missing", "NNOperationalSteer.net: missing"},
        {"damaged and of the wrong size", damaged, wide, "NNOperationalSpeed.net: damaged",
         "NNOperationalSteer.net: wrong size"},
        {"a folder", folder.path(), "", ": unreadable", ": missing"},
    };
    for (const Case& c : cases)
    {
        FakeCar car;
        car.wheelSpeed = 50.0f;
        NNOperationalAI neural(c.speedFile, c.steerFile, "", "");
        neural.setAiCar(&car);
        EXPECT_FALSE(neural.hasNetworks()) << c.what;
        neural.setTarget(Ogre::Vector2(-10, -10), 100.0f);  // ahead left, faster than the car
        neural.update(kStep);
        EXPECT_EQ(car.left, 0.0f) << c.what;
        EXPECT_EQ(car.right, 0.0f) << c.what;
        EXPECT_EQ(car.throttle, 0.0f) << c.what;
        EXPECT_EQ(car.brake, 0.0f) << c.what;
        EXPECT_NE(neural.getInfo1().find(c.steerLine), std::string::npos) << c.what << ": " << neural.getInfo1();
        EXPECT_NE(neural.getInfo2().find(c.speedLine), std::string::npos) << c.what << ": " << neural.getInfo2();
        // Learning it does not need them: the panel names its files.
        neural.setLearning(true);
        EXPECT_EQ(neural.getInfo1(), c.steerFile) << c.what;
        EXPECT_EQ(neural.getInfo2(), c.speedFile) << c.what;
    }
}

TEST(NNOperationalAI, DrivesWithItsNetworksAndSteersHarderAbove200)
{
    TempFolder folder;
    // Networks that answer a tenth of their input, within the symmetric sigmoid's range.
    for (auto [name, input, output] : {std::tuple{"speed", "speeddiff", "speedresult"},
                                        std::tuple{"steer", "diffphi1", "steerresult"}})
    {
        NeuronalNetwork network(3, 3);
        network.addName(input, true);
        network.addName(output, false);
        for (int i = -10; i <= 10; ++i)
        {
            network.setInput(input, i);
            network.setOutput(output, i / 20.0f);
            network.addTrainingSample();
        }
        ASSERT_TRUE(network.writeTrainingFile(folder.path() + name + ".data"));
        ASSERT_TRUE(network.trainFromFile(folder.path() + name + ".data", 2000, 0));
        ASSERT_EQ(network.save(folder.path() + name + ".net"), 0);
    }
    NNOperationalAI neural(folder.path() + "speed.net", folder.path() + "steer.net", "", "");
    ASSERT_TRUE(neural.hasNetworks());
    float steering[2];
    for (int fast = 0; fast < 2; ++fast)
    {
        FakeCar car;
        car.wheelSpeed = fast ? 201.0f : 199.0f;
        neural.setAiCar(&car);
        neural.setTarget(car.position + Ogre::Vector2(-std::sin(0.1f), -std::cos(0.1f)), 500.0f);
        neural.update(kStep);
        steering[fast] = car.left;
    }
    EXPECT_GT(steering[0], 0.0f);
    EXPECT_NEAR(steering[1], 2.0f * steering[0], 1e-5f);
}

TEST(NNOperationalAI, LearningWritesBothTrainingFilesOnlyWhenItEnds)
{
    TempFolder folder;
    const std::string speedData = folder.path() + "speedtraining.data";
    const std::string steerData = folder.path() + "steertraining.data";
    FakeCar car;
    {
        NNOperationalAI neural("", "", speedData, steerData);
        neural.setAiCar(&car);
        neural.setLearning(false);  // never learned: nothing
        neural.setLearning(true);
        for (int step = 0; step < 5; ++step)
        {
            neural.setTarget(Ogre::Vector2(-5, -10), 80.0f);
            neural.update(kStep);
        }
        EXPECT_EQ(neural.getSampleCount(), 5u);
        EXPECT_TRUE(TempFolder::read(steerData).empty()) << "nothing before learning ends";
    }
    EXPECT_EQ(TempFolder::read(speedData).substr(0, 6), "5 1 1\n");
    EXPECT_EQ(TempFolder::read(steerData).substr(0, 6), "5 1 1\n");
}

TEST(NNOperationalAI, ALearningDriverThatRecordedNothingKeepsEarlierTrainingFiles)
{
    TempFolder folder;
    const std::string speedData = folder.write("speedtraining.data", "1 1 1\n5 \n0.3 \n");
    const std::string steerData = folder.write("steertraining.data", "1 1 1\n-2 \n0.1 \n");
    {
        NNOperationalAI neural("", "", speedData, steerData);
        neural.setLearning(true);  // picked by no one in this race
    }
    EXPECT_EQ(TempFolder::read(speedData), "1 1 1\n5 \n0.3 \n");
    EXPECT_EQ(TempFolder::read(steerData), "1 1 1\n-2 \n0.1 \n");
}
