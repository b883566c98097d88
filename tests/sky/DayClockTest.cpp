// The sky's clock: wrapping into the year, negative times, the day time, update frames,
// late-year precision.
#include "sky/DayClock.h"

#include <gtest/gtest.h>

namespace
{
constexpr double kYear = 86400.0 * 365.0;
}

TEST(DayClock, TimesWrapIntoTheYear)
{
    struct Case
    {
        const char* what;
        double set;
        double expected;
    };
    const Case cases[] = {
        {"an ordinary time", 36000.0, 36000.0},
        {"an hour before the start counts as an hour after it", -3600.0, 3600.0},
        {"one year and an hour", kYear + 3600.0, 3600.0},
        {"exactly a year", kYear, 0.0},
        {"two years and a minute back", -2.0 * kYear - 60.0, 60.0},
    };
    for (const Case& c : cases)
    {
        sky::DayClock clock;
        clock.setCurrentTime(c.set);
        EXPECT_NEAR(clock.getCurrentTime(), c.expected, 1e-6) << c.what;
        EXPECT_GE(clock.getCurrentTime(), 0.0) << c.what;
        EXPECT_LT(clock.getCurrentTime(), kYear) << c.what;
    }
}

TEST(DayClock, DayTimeOfTheYearTime)
{
    sky::DayClock clock;
    clock.setCurrentTime(90000.0);
    EXPECT_DOUBLE_EQ(clock.getCurrentDayTime(), 3600.0);
    EXPECT_NEAR(clock.getCurrentRelativeDayTime(), 3600.0 / 86400.0, 1e-7);
    clock.setCurrentRelativeTime(0.5);
    EXPECT_NEAR(clock.getCurrentRelativeYearTime(), 0.5f, 1e-7f);
}

TEST(DayClock, FrozenRaceClockUpdatesEveryFrameAtTen)
{
    sky::DayClock clock;
    clock.setCurrentTime(10 * 3600 + 0 * 60 + 0);
    clock.setTimeScale(0.0f);
    for (int frame = 0; frame < 100; ++frame)
    {
        EXPECT_TRUE(clock.update(0.016f)) << frame;
        EXPECT_FLOAT_EQ(clock.getCurrentRelativeDayTime(), 10.0f / 24.0f) << frame;
    }
}

TEST(DayClock, RunsForwardAcrossTheYearsEndAndBackwardStopsAtItsStart)
{
    sky::DayClock forward;
    forward.setCurrentTime(kYear - 0.5);
    for (int frame = 0; frame < 100; ++frame)
        forward.update(0.01f);  // one real second at scale 1
    EXPECT_NEAR(forward.getCurrentTime(), 0.5, 1e-4) << "wrapped past the end";

    sky::DayClock backward;
    backward.setCurrentTime(0.5);
    backward.setTimeScale(-1.0f);
    for (int frame = 0; frame < 100; ++frame)
        backward.update(0.01f);
    // Past the start each step's time comes out positive again and the next takes it back: a
    // clock running backwards stays at the year's start, within one step.
    EXPECT_LE(backward.getCurrentTime(), 0.01 + 1e-6);
}

TEST(DayClock, SmallStepsStillAdvanceLateInTheYear)
{
    sky::DayClock clock;
    clock.setCurrentTime(kYear - 1000.0);
    const double before = clock.getCurrentTime();
    for (int frame = 0; frame < 1000; ++frame)
        clock.update(0.001f);
    EXPECT_NEAR(clock.getCurrentTime() - before, 1.0, 1e-3);
}

TEST(DayClock, UpdateRateCarriesTheRemainder)
{
    sky::DayClock clock;
    clock.setUpdateRate(2.0f);
    EXPECT_TRUE(clock.update(0.1f)) << "the forced first update";
    std::vector<bool> updates;
    for (int frame = 0; frame < 10; ++frame)
        updates.push_back(clock.update(0.5f));
    // The forced update leaves 1.1 s: 2.1 s are reached at the second frame, 0.1 s carry
    // over, and then every fourth frame updates.
    EXPECT_EQ(updates, (std::vector<bool>{false, true, false, false, false, true, false, false, false, true}));

    clock.setUpdateRate(-1.0f);
    EXPECT_EQ(clock.getUpdateRate(), 0.0f);
}
