// The drivers' controllers: the sliding-window PID and the self-tuning one.
#include "ai/AdaptivePIDController.h"
#include "ai/PIDController.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr float kStep = 0.01f;  // seconds, the physics step the drivers run at
}

TEST(PIDController, FreshAndResetControllersOutputNothing)
{
    PIDController pid;
    pid.setGains(2.0f, 3.0f, 4.0f);
    for (int pass = 0; pass < 2; ++pass)
    {
        EXPECT_EQ(pid.getError(), 0.0f);
        EXPECT_EQ(pid.getIntegral(), 0.0f);
        EXPECT_EQ(pid.getDerivative(), 0.0f);
        EXPECT_EQ(pid.getOutput(), 0.0f);
        for (int i = 0; i < 15; ++i)
            pid.addSample(1.5f * i, kStep);
        pid.reset();
    }
    EXPECT_EQ(pid.getKp(), 2.0f) << "reset keeps the gains";
}

TEST(PIDController, OneSampleHasNoDerivative)
{
    PIDController pid;
    pid.setGains(2.0f, 3.0f, 4.0f);
    pid.addSample(0.5f, 0.02f);
    EXPECT_EQ(pid.getDerivative(), 0.0f);
    EXPECT_FLOAT_EQ(pid.getOutput(), 2.0f * 0.5f + 3.0f * 0.5f * 0.02f);
}

TEST(PIDController, IntegralCoversTheLastTenSamples)
{
    PIDController pid;
    float sumOfLastTen = 0.0f;
    for (int i = 1; i <= 25; ++i)
    {
        pid.addSample(static_cast<float>(i), kStep);
        if (i > 15)
            sumOfLastTen += static_cast<float>(i);
        if (i == 11)
        {
            EXPECT_NEAR(pid.getIntegral(), (2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10 + 11) * kStep, 1e-4f)
                << "the eleventh sample drops the first";
        }
    }
    EXPECT_NEAR(pid.getIntegral(), sumOfLastTen * kStep, 1e-3f) << "the window keeps sliding";
}

TEST(PIDController, DerivativeOfTheLastTwoSamples)
{
    struct Case
    {
        const char* what;
        float newestStep;
        float expected;
    };
    const Case cases[] = {
        {"a normal step", 0.01f, (0.7f - 0.2f) / 0.01f},
        {"just above the limit", 0.0011f, (0.7f - 0.2f) / 0.0011f},
        {"at the limit it saturates", 0.001f, 999999.0f},
        {"a zero step saturates", 0.0f, 999999.0f},
    };
    for (const Case& c : cases)
    {
        PIDController pid;
        pid.setGains(0.0f, 0.0f, 2.0f);
        pid.addSample(0.2f, 0.05f);
        pid.addSample(0.7f, c.newestStep);
        EXPECT_FLOAT_EQ(pid.getDerivative(), c.expected) << c.what;
        EXPECT_FLOAT_EQ(pid.getOutput(), 2.0f * c.expected) << c.what;
    }
}

TEST(AdaptivePIDController, TunesOneGainAtATimeInTurn)
{
    AdaptivePIDController adaptive;
    adaptive.setPeriod(0.06f);
    std::vector<int> turns;
    for (int step = 0; step < 40; ++step)
    {
        adaptive.update(kStep, 1.0f, 0.0f, 1.0f);
        ASSERT_GE(adaptive.tunedGain(), 0);
        if (turns.empty() || turns.back() != adaptive.tunedGain())
            turns.push_back(adaptive.tunedGain());
    }
    EXPECT_EQ(turns, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));

    // Each turn lasts about six steps; rounding of the float sum may move a switch by one.
    AdaptivePIDController counted;
    counted.setPeriod(0.06f);
    int stepsOfP = 0;
    for (int step = 0; step < 12; ++step)
    {
        counted.update(kStep, 1.0f, 0.0f, 1.0f);
        stepsOfP += counted.tunedGain() == 0;
    }
    EXPECT_GE(stepsOfP, 5);
    EXPECT_LE(stepsOfP, 6);
}

TEST(AdaptivePIDController, MovesTheTunedGainAgainstTheErrorWithinItsLimits)
{
    AdaptivePIDController adaptive;
    adaptive.setPeriod(10.0f);  // P only
    adaptive.setRate(0, 5.0f);
    adaptive.setLimits(0, 0.0f, 0.3f);
    adaptive.setGains(0.25f, 0.0f, 0.0f);
    float previousGain = adaptive.getGain(0);
    // The actual value keeps overshooting its reference more: the rule must react.
    for (int step = 1; step <= 200; ++step)
    {
        adaptive.update(kStep, 1.0f, 0.0f, 0.01f * step);
        EXPECT_GE(adaptive.getGain(0), 0.0f);
        EXPECT_LE(adaptive.getGain(0), 0.3f);
        EXPECT_EQ(adaptive.getLastGainChange(1), 0.0f);
        EXPECT_EQ(adaptive.getLastGainChange(2), 0.0f);
        previousGain = adaptive.getGain(0);
    }
    EXPECT_NE(previousGain, 0.25f) << "the gain moved";
    EXPECT_FLOAT_EQ(adaptive.getOutput(), adaptive.getGain(0) * 1.0f) << "the inner controller got the gain";
}

TEST(AdaptivePIDController, SensitivityFallsBackToTheSignAndIsCappedAt1000)
{
    AdaptivePIDController adaptive;
    adaptive.setPeriod(10.0f);
    adaptive.setRate(0, 0.001f);
    adaptive.setLimits(0, -1e9f, 1e9f);

    // No earlier change: the sensitivity is the sign of the error's rate, +1 here.
    adaptive.update(kStep, 1.0f, 0.0f, 0.5f);
    EXPECT_FLOAT_EQ(adaptive.getLastGainChange(0), -0.001f * 0.5f * 1.0f);

    // The error jumps while the last change was tiny: the ratio is capped at 1000.
    adaptive.update(kStep, 1.0f, 0.0f, 2.0f);
    EXPECT_FLOAT_EQ(adaptive.getLastGainChange(0), -0.001f * 2.0f * -1000.0f);
}

TEST(AdaptivePIDController, StepsWithinTheThresholdTuneNothing)
{
    AdaptivePIDController adaptive;
    adaptive.setPeriod(10.0f);
    adaptive.setRate(0, 1.0f);
    adaptive.setThreshold(0, 0.5f);
    adaptive.setLimits(0, -10.0f, 10.0f);
    adaptive.setGains(1.0f, 0.0f, 0.0f);
    adaptive.update(kStep, 0.5f, 0.0f, 3.0f);  // |error| == threshold
    EXPECT_EQ(adaptive.getGain(0), 1.0f);
    EXPECT_EQ(adaptive.getLastGainChange(0), 0.0f);
    adaptive.update(kStep, 0.6f, 0.0f, 3.5f);
    EXPECT_NE(adaptive.getGain(0), 1.0f) << "above the threshold the gain moves";
}

TEST(AdaptivePIDController, DegenerateSettingsNeverProduceInfinityOrNaN)
{
    struct Case
    {
        const char* what;
        bool adaptive;
        int mode;
        float period;
        float dt;
    };
    const Case cases[] = {
        {"adaptation off", false, 0, 0.06f, kStep},
        {"no period means no tuning", true, 0, 0.0f, kStep},
        {"a negative period means no tuning", true, 0, -1.0f, kStep},
        {"normalised rule with a zero sensitivity", true, 4, 10.0f, kStep},
        {"an unknown mode", true, 7, 10.0f, kStep},
        {"a zero time step", true, 0, 10.0f, 0.0f},
    };
    for (const Case& c : cases)
    {
        AdaptivePIDController adaptive;
        adaptive.setAdaptive(c.adaptive);
        adaptive.setMode(c.mode);
        adaptive.setPeriod(c.period);
        adaptive.setRate(0, 1.0f);
        adaptive.setLimits(0, -10.0f, 10.0f);
        adaptive.setGains(1.0f, 0.5f, 0.1f);
        for (int step = 0; step < 20; ++step)
            adaptive.update(c.dt, 0.2f, 0.0f, 0.0f);  // on target: zero sensitivity
        EXPECT_TRUE(std::isfinite(adaptive.getOutput())) << c.what;
        EXPECT_EQ(adaptive.getGain(0), 1.0f) << c.what;
        if (c.period <= 0.0f)
        {
            EXPECT_EQ(adaptive.tunedGain(), -1) << c.what;
        }
    }
}

TEST(AdaptivePIDController, HistoryResetKeepsTheTunedGains)
{
    AdaptivePIDController adaptive;
    adaptive.setGains(0.4f, 0.2f, 0.1f);
    adaptive.update(kStep, 1.0f, 0.0f, 0.0f);
    adaptive.resetPID();
    EXPECT_EQ(adaptive.getOutput(), 0.0f);
    EXPECT_EQ(adaptive.getGain(0), 0.4f);
    adaptive.reset();
    EXPECT_EQ(adaptive.getGain(0), 0.0f);
}
