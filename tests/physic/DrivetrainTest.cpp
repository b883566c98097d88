// Linear curves, the motor's limits and the gearbox's clutch and shifting.
#include "physic/Gearbox.h"
#include "physic/GearboxDesc.h"
#include "physic/LinearCurve.h"
#include "physic/Motor.h"
#include "physic/MotorDesc.h"

#include <gtest/gtest.h>

TEST(LinearCurveTest, InterpolatesAndClampsAtTheEnds)
{
    LinearCurve curve;
    curve.addPoint(10, 20);
    curve.addPoint(0, 500);
    curve.addPoint(1.05f, 200);
    curve.addPoint(0.3f, 300);
    struct Case
    {
        float x, y;
    };
    for (const Case& c : {Case{-1, 500}, Case{0, 500}, Case{0.15f, 400}, Case{0.3f, 300}, Case{1.05f, 200},
                          Case{5.525f, 110}, Case{10, 20}, Case{20, 20}})
        EXPECT_NEAR(c.y, curve.getValue(c.x), 1e-3f) << c.x;
    EXPECT_TRUE(curve.isInRange(0) && curve.isInRange(10));
    EXPECT_FALSE(curve.isInRange(-0.1f) || curve.isInRange(10.1f));
    EXPECT_EQ(4u, curve.getPointCount());
    EXPECT_FLOAT_EQ(300, curve.getValueAt(1));

    curve.addPoint(0.3f, 100);  // replaces
    EXPECT_EQ(4u, curve.getPointCount());
    EXPECT_FLOAT_EQ(100, curve.getValue(0.3f));

    LinearCurve single;
    single.addPoint(3, 7);
    for (float x : {-100.0f, 3.0f, 100.0f})
        EXPECT_FLOAT_EQ(7, single.getValue(x));
    single.clear();
    EXPECT_EQ(0u, single.getPointCount());
    EXPECT_FLOAT_EQ(0, single.getValue(1)) << "an empty curve gives 0";
    EXPECT_TRUE(single.isInRange(0));
}

namespace
{
MotorDesc testMotor()
{
    MotorDesc desc;
    desc.minRpm = 800;
    desc.maxRpm = 7000;
    desc.addPoint(800, 200);
    desc.addPoint(7000, 300);
    return desc;
}

GearboxDesc testGearbox()
{
    GearboxDesc desc;
    desc.forwardRatios = {10, 6, 4, 3};
    desc.backwardRatio = 9;
    desc.gearUpRpm = 6000;
    return desc;
}
}

TEST(MotorTest, LimitsAndThrottle)
{
    Motor motor(testMotor());
    EXPECT_FLOAT_EQ(800, motor.getRpm());
    motor.setRpm(9000);
    EXPECT_FLOAT_EQ(7000, motor.getRpm());
    motor.setRpm(100);
    EXPECT_FLOAT_EQ(800, motor.getRpm());
    EXPECT_FLOAT_EQ(0, motor.getTorque()) << "no throttle, no torque";
    motor.setThrottle(2);
    EXPECT_FLOAT_EQ(1, motor.getThrottle());
    EXPECT_FLOAT_EQ(200, motor.getTorque());
    motor.setThrottle(-1);
    EXPECT_FLOAT_EQ(0, motor.getThrottle());

    MotorDesc crossed = testMotor();
    crossed.minRpm = 8000;  // limits crossed: the minimum wins
    Motor odd(crossed);
    odd.setRpm(7500);
    EXPECT_FLOAT_EQ(8000, odd.getRpm());
}

TEST(GearboxTest, EngagingAGearOpensTheClutch)
{
    struct Case
    {
        int gear;
        float motorRpm, clutchTime, threshold;
    };
    for (const Case& c : {Case{1, 5000, 0.5f, 3800}, Case{1, 6500, 0.9f, 4500}, Case{-1, 6500, 0.9f, 4500},
                          Case{3, 6500, 0.5f, 0}})
    {
        Motor motor(testMotor());
        motor.setRpm(c.motorRpm);
        Gearbox gearbox(testGearbox(), &motor);
        gearbox.setGear(c.gear);
        EXPECT_EQ(c.gear, gearbox.getGear());
        EXPECT_FLOAT_EQ(1, gearbox.getClutch());
        EXPECT_FLOAT_EQ(c.clutchTime, gearbox.getClutchTime()) << c.gear << " at " << c.motorRpm;
        EXPECT_FLOAT_EQ(c.threshold, gearbox.getClutchThresholdRpm()) << c.gear << " at " << c.motorRpm;
    }
    Motor motor(testMotor());
    Gearbox gearbox(testGearbox(), &motor);
    gearbox.setGear(5);
    gearbox.setGear(-2);
    EXPECT_EQ(0, gearbox.getGear()) << "gears outside -1..count are ignored";
    EXPECT_FLOAT_EQ(0, gearbox.getClutch());
    EXPECT_FLOAT_EQ(0, gearbox.getDriveTorque()) << "neutral drives nothing";
}

TEST(GearboxTest, RatiosAndDriveTorque)
{
    Motor motor(testMotor());
    Gearbox gearbox(testGearbox(), &motor);
    EXPECT_FLOAT_EQ(10, gearbox.getRatio(1));
    EXPECT_FLOAT_EQ(3, gearbox.getRatio(4));
    EXPECT_FLOAT_EQ(9, gearbox.getRatio(-1));
    EXPECT_FLOAT_EQ(0, gearbox.getRatio(0));
    EXPECT_FLOAT_EQ(0, gearbox.getRatio(5));
    motor.setThrottle(1);
    gearbox.setGear(2);
    gearbox.setClutch(0.25f);
    EXPECT_FLOAT_EQ(200 * 6 * 0.75f, gearbox.getDriveTorque());
}

TEST(GearboxTest, ClutchClosesOverItsTimeAboveTheThreshold)
{
    Motor motor(testMotor());
    Gearbox gearbox(testGearbox(), &motor);
    gearbox.setGear(3);  // 0.5 s, threshold 0
    gearbox.updateClutch(0.1f);
    EXPECT_NEAR(0.8f, gearbox.getClutch(), 1e-5f);
    for (int i = 0; i < 10; ++i)
        gearbox.updateClutch(0.1f);
    EXPECT_FLOAT_EQ(0, gearbox.getClutch());

    gearbox.setGear(1);  // threshold 3800: the idling engine keeps it open
    gearbox.updateClutch(0.1f);
    EXPECT_FLOAT_EQ(1, gearbox.getClutch());
}

TEST(GearboxTest, UpShiftRecordsTheDownShiftRpm)
{
    Motor motor(testMotor());
    Gearbox gearbox(testGearbox(), &motor);
    gearbox.setGear(2);
    gearbox.setWheelRpm(1000, true);
    gearbox.shiftUp();
    EXPECT_EQ(3, gearbox.getGear());
    float rpm = 0;
    ASSERT_TRUE(gearbox.getShiftDownRpm(3, rpm));
    EXPECT_FLOAT_EQ(4 * 1000 - 500, rpm);
    gearbox.setGear(4);
    gearbox.shiftUp();
    EXPECT_EQ(4, gearbox.getGear()) << "no gear above the top";
    gearbox.setGear(1);
    gearbox.shiftDown();
    EXPECT_EQ(1, gearbox.getGear()) << "no automatic down-shift below first";
}

TEST(GearboxTest, AutomaticShiftsOnlyOnTheGroundWithTheClutchClosed)
{
    Motor motor(testMotor());
    motor.setThrottle(1);
    Gearbox gearbox(testGearbox(), &motor);
    gearbox.setAutomatic(true);
    gearbox.setGear(1);
    gearbox.setClutch(0);

    gearbox.setWheelRpm(700, false);  // 7000 engine rpm, wheels in the air
    gearbox.update(0.01f);
    EXPECT_EQ(1, gearbox.getGear()) << "no shift in the air";

    gearbox.setWheelRpm(700, true);
    gearbox.setClutch(0.5f);
    gearbox.update(0.01f);
    EXPECT_EQ(1, gearbox.getGear()) << "no shift while the clutch slips";

    gearbox.setClutch(0);
    gearbox.update(0.01f);
    EXPECT_FLOAT_EQ(7000, motor.getRpm());
    EXPECT_EQ(2, gearbox.getGear()) << "shift-up rpm reached";

    // In second at a low engine rpm: below the recorded down-shift rpm.
    gearbox.setClutch(0);
    gearbox.setWheelRpm(200, true);
    gearbox.update(0.01f);
    EXPECT_EQ(1, gearbox.getGear());
}

TEST(GearboxTest, NeutralLetsTheEngineRevFreely)
{
    Motor motor(testMotor());
    Gearbox gearbox(testGearbox(), &motor);
    motor.setThrottle(1);
    float previous = motor.getRpm();
    for (int i = 0; i < 10; ++i)
    {
        gearbox.update(0.01f);
        EXPECT_GT(motor.getRpm(), previous) << "full throttle in neutral revs up";
        previous = motor.getRpm();
    }
    EXPECT_FLOAT_EQ(1, gearbox.getClutch());
    motor.setThrottle(0);
    for (int i = 0; i < 500; ++i)
        gearbox.update(0.01f);
    EXPECT_FLOAT_EQ(800, motor.getRpm()) << "off throttle it falls back to idle";
    gearbox.update(0);  // nothing happens without time
    EXPECT_FLOAT_EQ(800, motor.getRpm());
}
