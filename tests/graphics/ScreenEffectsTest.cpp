// The screen effects' numbers: the bloom kernel, the eye's adaptation, the blur by speed.
#include "graphics/BloomKernel.h"
#include "graphics/LuminanceHistory.h"
#include "graphics/MotionBlurListener.h"

#include <gtest/gtest.h>

#include <vector>

TEST(BloomKernel, GaussianTapsMirroredAboutTheCentre)
{
    const BloomKernel kernel = BloomKernel::forSize(64);
    const float weights[] = {0.132981f, 0.157243f, 0.133103f, 0.100821f, 0.068338f, 0.041449f, 0.022496f, 0.010926f};
    float sum = kernel.weights[0].x;
    EXPECT_NEAR(kernel.weights[0].x, weights[0], 1e-6f);
    for (int i = 1; i <= 7; ++i)
    {
        EXPECT_NEAR(kernel.weights[i].x, weights[i], 1e-6f) << i;
        EXPECT_EQ(kernel.weights[i + 7], kernel.weights[i]) << i;
        EXPECT_EQ(kernel.weights[i].w, 1.0f);
        EXPECT_FLOAT_EQ(kernel.horizontalOffsets[i].x, i / 64.0f) << i;
        EXPECT_FLOAT_EQ(kernel.horizontalOffsets[i + 7].x, -i / 64.0f) << i;
        EXPECT_FLOAT_EQ(kernel.verticalOffsets[i].y, i / 64.0f) << i;
        EXPECT_FLOAT_EQ(kernel.verticalOffsets[i + 7].y, -i / 64.0f) << i;
        EXPECT_EQ(kernel.horizontalOffsets[i].y, 0.0f);
        sum += 2.0f * kernel.weights[i].x;
    }
    EXPECT_NEAR(sum, 0.132981f + 2.0f * 0.534376f, 1e-4f);
    EXPECT_EQ(kernel.horizontalOffsets[0], Ogre::Vector4::ZERO);
    EXPECT_FLOAT_EQ(BloomKernel::forSize(0).horizontalOffsets[1].x, 1.0f) << "a target without size";
}

TEST(LuminanceHistory, AdaptsOverTheLastReadings)
{
    LuminanceHistory twoFrames(2);
    std::vector<float> adapted;
    for (float reading : {0.2f, 0.4f, 0.6f, 0.8f})
        adapted.push_back(twoFrames.add(reading));
    const std::vector<float> expected{0.2f, 0.3f, 0.4f, 0.6f};
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(adapted[i], expected[i], 1e-6f) << i;
    EXPECT_EQ(twoFrames.size(), 2u);

    LuminanceHistory none(0);
    for (float reading : {0.9f, 0.1f})
        EXPECT_EQ(none.add(reading), 0.4f);
    EXPECT_EQ(none.size(), 0u);
}

TEST(MotionBlurListener, BlurGrowsWithSpeedUpToItsMaximum)
{
    struct Case
    {
        const char* what;
        float speed, minSpeed, maxSpeed, blur;
    };
    const Case cases[] = {
        {"standing", 0, 110, 300, 0},
        {"at the minimum", 110, 110, 300, 0},
        {"half way", 205, 110, 300, 0.45f},
        {"at the maximum", 300, 110, 300, 0.9f},
        {"beyond it", 400, 110, 300, 0.9f},
        {"equal speeds, below", 100, 150, 150, 0},
        {"equal speeds, above", 200, 150, 150, 0.9f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MotionBlurListener::blurForSpeed(c.speed, 0.9f, c.minSpeed, c.maxSpeed), c.blur, 1e-6f) << c.what;
}
