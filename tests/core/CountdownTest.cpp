// The one-shot timer: which durations arm it, and how it runs down to zero and stops.
#include "Countdown.h"

#include <gtest/gtest.h>

TEST(CountdownTest, OnlyAPositiveDurationArmsIt)
{
    struct Case
    {
        const char* what;
        float duration;
        bool enabled;
    };
    const Case cases[] = {{"three seconds", 3.0f, true}, {"zero", 0.0f, false}, {"negative", -1.0f, false}};
    for (const Case& c : cases) {
        Countdown countdown(c.duration);
        EXPECT_EQ(countdown.isEnabled(), c.enabled) << c.what;
        EXPECT_FLOAT_EQ(countdown.getRemaining(), c.duration) << c.what;
        countdown.start();
        EXPECT_EQ(countdown.isRunning(), c.enabled) << c.what;
    }
}

TEST(CountdownTest, RunsDownToZeroAndStops)
{
    Countdown countdown(3.0f);
    countdown.update(1.0f);
    EXPECT_FLOAT_EQ(countdown.getRemaining(), 3.0f) << "counts only once started";
    countdown.start();
    countdown.update(1.25f);
    EXPECT_FLOAT_EQ(countdown.getRemaining(), 1.75f);
    EXPECT_TRUE(countdown.isRunning());
    countdown.update(1.75f);
    EXPECT_FALSE(countdown.isRunning()) << "reaching exactly zero ends it";
    EXPECT_FLOAT_EQ(countdown.getRemaining(), 0.0f);
    countdown.update(1.0f);
    EXPECT_FLOAT_EQ(countdown.getRemaining(), 0.0f) << "never below zero";
}

TEST(CountdownTest, StartsOncePerReset)
{
    Countdown countdown(3.0f);
    countdown.start();
    EXPECT_FALSE(countdown.isEnabled());
    countdown.update(5.0f);
    countdown.start();
    EXPECT_FALSE(countdown.isRunning()) << "a run-out countdown does not start again by itself";
    countdown.reset();
    EXPECT_TRUE(countdown.isEnabled());
    EXPECT_FALSE(countdown.isRunning());
    EXPECT_FLOAT_EQ(countdown.getRemaining(), 3.0f);
    countdown.start();
    EXPECT_TRUE(countdown.isRunning());

    countdown.reset();
    EXPECT_FALSE(countdown.isRunning()) << "a reset stops a running countdown";
}
