// The crossing between the engine's and the physics layer's vectors, rotations and poses:
// the engine and Bullet must agree on where a rotation takes a point.
#include "physic/PhysicsConversions.h"

#include <LinearMath/btTransform.h>
#include <gtest/gtest.h>

#include <cmath>

TEST(PhysicsConversions, TheEngineAndBulletAgreeOnRotationsAndPoses)
{
    struct Case
    {
        const char* name;
        btVector3 axis;
        float angleRad;
    };
    const Case cases[] = {
        {"quarter turn about y", {0, 1, 0}, static_cast<float>(M_PI) / 2},
        {"tilt about x", {1, 0, 0}, 0.3f},
        {"oblique", {1, 2, -3}, -2.0f},
    };
    const btVector3 local(1.5f, -0.5f, 2.0f), origin(10, -2, 7);
    for (const Case& c : cases)
    {
        const btQuaternion turn(c.axis.normalized(), c.angleRad);
        const btVector3 expected = btTransform(turn, origin) * local;

        const Ogre::Vector3 rotated = toOgre(nxOgre::NxQuat(turn)) * Ogre::Vector3(1.5f, -0.5f, 2.0f);
        const btVector3 bulletRotated = quatRotate(turn, local);
        EXPECT_NEAR(rotated.x, bulletRotated.x(), 1e-5f) << c.name;
        EXPECT_NEAR(rotated.y, bulletRotated.y(), 1e-5f) << c.name;
        EXPECT_NEAR(rotated.z, bulletRotated.z(), 1e-5f) << c.name;

        const Ogre::Vector3 placed = toWorld(nxOgre::NxPose(btTransform(turn, origin)), toOgre(nxOgre::NxVec3(local)));
        EXPECT_NEAR(placed.x, expected.x(), 1e-4f) << c.name;
        EXPECT_NEAR(placed.y, expected.y(), 1e-4f) << c.name;
        EXPECT_NEAR(placed.z, expected.z(), 1e-4f) << c.name;

        // There and back: from the engine to Bullet's types and home again.
        const Ogre::Quaternion engineTurn = toOgre(nxOgre::NxQuat(turn));
        const btQuaternion back = toPhysics(engineTurn);
        EXPECT_NEAR(std::fabs(back.dot(turn)), 1.0f, 1e-6f) << c.name;
        const btTransform pose = nxOgre::NxPose(toPhysics(Ogre::Vector3(10, -2, 7)), toPhysics(engineTurn));
        EXPECT_NEAR((pose * local - expected).length(), 0.0f, 1e-4f) << c.name;
    }
}
