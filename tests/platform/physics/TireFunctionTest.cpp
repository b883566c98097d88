// The tyre force curve: its fixed points, its shape and bad input.
#include "platform/physics/NxTireFunctionDesc.h"

#include <gtest/gtest.h>

using nxOgre::NxTireFunctionDesc;

namespace
{
NxTireFunctionDesc curve(float extS, float extV, float asyS, float asyV)
{
    NxTireFunctionDesc f;
    f.extremumSlip = extS;
    f.extremumValue = extV;
    f.asymptoteSlip = asyS;
    f.asymptoteValue = asyV;
    return f;
}
}

TEST(TireFunction, PassesThroughItsDefiningPoints)
{
    struct Case
    {
        const char* name;
        float slip;
        float expected;
    };
    const NxTireFunctionDesc f = curve(2.0f, 1.0f, 8.0f, 0.75f);
    const Case cases[] = {
        {"no slip, no force", 0.0f, 0.0f},      {"peak", 2.0f, 1.0f},
        {"asymptote", 8.0f, 0.75f},             {"flat beyond", 40.0f, 0.75f},
        {"negative slip is mirrored", -2.0f, 1.0f},
        {"start slope is 2 x peak / slip", 0.001f, 0.001f * 2.0f * 1.0f / 2.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(f.curve(c.slip), c.expected, 1e-4f) << c.name;
}

TEST(TireFunction, RisesWithoutOvershootThenFallsToTheAsymptote)
{
    const NxTireFunctionDesc f = curve(1.5f, 0.75f, 6.0f, 0.6f);
    float previous = 0.0f;
    for (int i = 1; i <= 150; ++i)
    {
        const float value = f.curve(i * 0.01f);
        ASSERT_GE(value, previous) << "at slip " << i * 0.01f;
        ASSERT_LE(value, 0.75f + 1e-6f);
        previous = value;
    }
    for (int i = 151; i <= 600; ++i)
    {
        const float value = f.curve(i * 0.01f);
        ASSERT_LE(value, previous + 1e-6f) << "at slip " << i * 0.01f;
        previous = value;
    }
    // The slope is what the axle update leans on: it must match the curve.
    for (float s : {0.3f, 1.0f, 2.5f, 5.0f})
        EXPECT_NEAR(f.curveSlope(s), (f.curve(s + 1e-3f) - f.curve(s - 1e-3f)) / 2e-3f, 2e-3f) << s;
    EXPECT_NEAR(f.curveSlope(1.5f), 0.0f, 1e-5f);
}

TEST(TireFunction, UnorderedSlipsGiveNoForce)
{
    for (const NxTireFunctionDesc& f : {curve(0.0f, 1.0f, 8.0f, 0.7f), curve(3.0f, 1.0f, 2.0f, 0.7f)})
    {
        EXPECT_FALSE(f.isValid());
        EXPECT_EQ(f.curve(1.0f), 0.0f);
        EXPECT_EQ(f.curveSlope(1.0f), 0.0f);
    }
}
