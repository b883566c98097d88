// The checkpoint arrow's turn and colour for checkpoints ahead, beside and behind the car,
// and its mesh on the screen wherever it points.
#include "CheckPointArrow.h"
#include "GamePlay.h"
#include "SpeedEffects.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

// The arrow's mesh hung where the race hangs it, in the camera's frame, stays inside the view
// at any turn, for the narrowest view the race has (standing still) at every aspect ratio.
TEST(CheckPointArrow, TheArrowStaysOnTheScreenWhereverItPoints)
{
    HeadlessOgre::root();
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    const std::string group = "ArrowTest";
    groups.addResourceLocation(QUILLMOR_BUILD_DIR "/media/overlays", "FileSystem", group);
    groups.initialiseResourceGroup(group);
    const Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(GamePlay::kArrowMesh, group);
    const Ogre::AxisAlignedBox bounds = mesh->getBounds();
    constexpr float kMargin = 0.95f;  // of the half view
    for (float aspect : {1.0f, 4.0f / 3.0f, 16.0f / 9.0f, 2.39f})
    {
        const Ogre::Radian halfHigh(Ogre::Degree(SpeedEffects::fieldOfView(0.0f, aspect) / 2.0f));
        const float up = Ogre::Math::Tan(halfHigh), across = up * aspect;
        float highest = 0.0f, widest = 0.0f;
        for (float degrees = -180.0f; degrees <= 180.0f; degrees += 5.0f)
        {
            const Ogre::Quaternion turn(Ogre::Degree(degrees), Ogre::Vector3::UNIT_Y);
            for (const Ogre::Vector3& corner : bounds.getAllCorners())
            {
                const Ogre::Vector3 seen = CheckPointArrow::kOffset + turn * corner;
                ASSERT_LT(seen.z, 0.0f);
                highest = std::max(highest, std::abs(seen.y / seen.z) / up);
                widest = std::max(widest, std::abs(seen.x / seen.z) / across);
            }
        }
        EXPECT_LT(highest, kMargin) << "aspect " << aspect << ": the arrow reaches past the top or bottom edge (" << highest << ")";
        EXPECT_LT(widest, kMargin) << "aspect " << aspect << ": the arrow reaches past a side";
    }
    mesh->unload();
    Ogre::MeshManager::getSingleton().remove(mesh);
    groups.destroyResourceGroup(group);
}
