// The race view over the speed: field of view and camera lag at the table's speeds, and
// the blur's switching gap between 100 and 110 km/h.
#include "SpeedEffects.h"

#include <gtest/gtest.h>

namespace
{
constexpr float kAspect = 4.0f / 3.0f;

TEST(SpeedEffects, FieldOfViewAndLagWidenUpTo200KmhThenStay)
{
    const float base = kAspect * 40.0f;
    const float k = kAspect * 3.43f;
    struct Case
    {
        float kmh, fov, lag;
    };
    for (const Case& c : {Case{-5.0f, base, 1.0f}, Case{0.0f, base, 1.0f}, Case{100.0f, base + 100.0f / k, 0.875f},
                          Case{199.0f, base + 199.0f / k, 1.0f - 199.0f / 800.0f}, Case{200.0f, base + 200.0f / k, 0.75f},
                          Case{320.0f, base + 200.0f / k, 0.75f}})
    {
        EXPECT_NEAR(SpeedEffects::fieldOfView(c.kmh, kAspect), c.fov, 1e-4f) << c.kmh << " km/h";
        EXPECT_NEAR(SpeedEffects::cameraLag(c.kmh), c.lag, 1e-6f) << c.kmh << " km/h";
    }
    // A wide window starts wider.
    EXPECT_NEAR(SpeedEffects::fieldOfView(0.0f, 16.0f / 9.0f), 16.0f / 9.0f * 40.0f, 1e-4f);
}

TEST(SpeedEffects, BlurSwitchesOnAbove110AndOffBelow100Only)
{
    SpeedEffects effects;
    // Rising: nothing up to and at 110, on just above it.
    for (float kmh : {0.0f, 100.0f, 105.0f, 110.0f})
        EXPECT_FALSE(effects.updateBlur(kmh)) << kmh;
    EXPECT_FALSE(effects.isBlurActive());
    EXPECT_TRUE(effects.updateBlur(110.5f));
    EXPECT_TRUE(effects.isBlurActive());
    // Oscillating inside the gap changes nothing.
    for (float kmh : {109.0f, 101.0f, 100.0f, 110.0f, 105.0f, 111.0f, 100.0f})
        EXPECT_FALSE(effects.updateBlur(kmh)) << kmh;
    EXPECT_TRUE(effects.isBlurActive());
    EXPECT_TRUE(effects.updateBlur(99.5f));
    EXPECT_FALSE(effects.isBlurActive());
    for (float kmh : {101.0f, 109.0f, 110.0f, 100.0f, 0.0f})
        EXPECT_FALSE(effects.updateBlur(kmh)) << kmh;
    EXPECT_FALSE(effects.isBlurActive());
}
}
