// The checkpoint arrow's turn and colour for checkpoints ahead, beside and behind the car.
#include "CheckPointArrow.h"

#include <OGRE/OgreMath.h>

#include <gtest/gtest.h>

using Ogre::Vector2;

TEST(CheckPointArrow, AngleSignAndColour)
{
    const float pi = Ogre::Math::PI;
    struct Case
    {
        const char* what;
        Vector2 heading, checkPoint;
        float angle;
        float red, green;
    };
    // The car stands at (10, 10); headings and checkpoints in the ground plane (x, z).
    const Case cases[] = {
        {"ahead", {1, 0}, {50, 10}, 0.0f, 0, 1},
        {"to +z of a car heading +x", {1, 0}, {10, 40}, pi / 2, 0.5f, 0.5f},
        {"to -z of a car heading +x", {1, 0}, {10, -40}, -pi / 2, 0.5f, 0.5f},
        {"behind", {0, 1}, {10, -5}, pi, 1, 0},
        {"unnormalised heading", {0, -3}, {40, 10}, pi / 2, 0.5f, 0.5f},
        {"on the checkpoint", {1, 0}, {10, 10}, 0.0f, 0, 1},
    };
    for (const Case& c : cases) {
        const float angle = CheckPointArrow::angleToCheckPoint(c.heading, {10, 10}, c.checkPoint);
        EXPECT_NEAR(std::abs(angle), std::abs(c.angle), 1e-5f) << c.what;
        if (std::abs(c.angle) > 1e-3f && std::abs(c.angle) < pi - 1e-3f) {
            EXPECT_EQ(angle > 0, c.angle > 0) << c.what;
        }
        const Ogre::ColourValue colour = CheckPointArrow::colourFor(angle);
        EXPECT_NEAR(colour.r, c.red, 1e-5f) << c.what;
        EXPECT_NEAR(colour.g, c.green, 1e-5f) << c.what;
        EXPECT_NEAR(colour.b, 0.0f, 1e-5f) << c.what;
        EXPECT_NEAR(colour.a, 0.7f, 1e-5f) << c.what;
    }
}

TEST(CheckPointArrow, NearlyStraightAheadIsNotANumberProblem)
{
    // A heading a rounding error off the direction must give a finite angle.
    const float angle = CheckPointArrow::angleToCheckPoint({0.6f, 0.8f}, {0, 0}, {3000.0f, 4000.0f});
    EXPECT_TRUE(std::isfinite(angle));
    EXPECT_NEAR(angle, 0.0f, 1e-3f);
}
