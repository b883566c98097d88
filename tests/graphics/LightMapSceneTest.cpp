// Lightmaps baked in a real Bullet scene: a ground with a box standing on it, lit from
// above and along the ground.
#include "HeadlessOgre.h"
#include "LightMapMeshes.h"
#include "TempFolder.h"
#include "graphics/CLightMap.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxActorDesc.h"
#include "platform/physics/scene.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
constexpr float kBoxHalfWidth = 2.0f;  // world units: the box stands on x, z in [-2, 2]
constexpr float kBoxHeight = 3.0f;
constexpr float kBlurReach = 5.0f;     // texels: the blur's tail is still felt this far out

class LightMapSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessOgre::root();
        scene = physics.init();  // with its floor: the plane y = 0
        box.dimensions = btVector3(kBoxHalfWidth, kBoxHeight / 2, kBoxHalfWidth);
        nxOgre::NxActorDesc desc;
        desc.shapes.push_back(&box);
        desc.globalPose.setOrigin(btVector3(0, kBoxHeight / 2, 0));
        ASSERT_NE(nullptr, scene->createActor(desc));
    }

    // Rays kept 0.1 off the surface, as the tiles bake.
    static LightMapBakeParameters lightAlong(const Ogre::Vector3& direction)
    {
        LightMapBakeParameters parameters;
        parameters.lightDirection = direction;
        parameters.surfaceOffset = 0.1f;
        parameters.recordHits = false;
        return parameters;
    }

    // Ground position of texel (x, y) of a map of the given size.
    static Ogre::Vector2 groundAt(int x, int y, int size)
    {
        const float width = 2 * LightMapMeshes::kHalfWidth;
        return Ogre::Vector2(-LightMapMeshes::kHalfWidth + (x + 0.5f) * width / size,
                             -LightMapMeshes::kHalfWidth + (y + 0.5f) * width / size);
    }

    TempFolder folder;
    PhysicBase physics{nullptr, nullptr, folder.path()};
    nxOgre::scene* scene = nullptr;
    nxOgre::NxBoxShapeDesc box;
    LightMapMeshes meshes;
};

TEST_F(LightMapSceneTest, GroundUnderTheBoxIsShadowedAndTheRestFullyLit)
{
    Ogre::Entity* ground = meshes.groundEntity("SceneGround", 2, 4);
    CLightMap map(&physics, ground->getSubEntity(0), 5.0f, 0, false, lightAlong(Ogre::Vector3(0, -1, 0)));
    ASSERT_TRUE(map.isBaked());
    const int size = map.getSize();
    ASSERT_EQ(128, size);  // a 20 × 20 ground at 5 texels per unit
    const float texel = 2 * LightMapMeshes::kHalfWidth / size;
    for (int x = 0; x < size; ++x)
    {
        for (int y = 0; y < size; ++y)
        {
            const Ogre::Vector2 at = groundAt(x, y, size);
            const float outside = std::max(std::fabs(at.x), std::fabs(at.y)) - kBoxHalfWidth;
            if (outside < -kBlurReach * texel)
            {
                ASSERT_LE(map.lightAt(x, y), CLightMap::kShadowed + 1) << x << "," << y;
            }
            else if (outside > kBlurReach * texel)
            {
                ASSERT_EQ(CLightMap::kLit, map.lightAt(x, y)) << x << "," << y;
            }
        }
    }
}

TEST_F(LightMapSceneTest, GrazingLightCastsTheBoxsShadowAlongTheGround)
{
    // Light running along +x, level with the ground: rays start half a unit above it.
    Ogre::Entity* ground = meshes.groundEntity("GrazedGround", 1, 4);
    CLightMap map(&physics, ground->getSubEntity(0), 2.0f, 0, false, lightAlong(Ogre::Vector3(1, 0, 0)));
    ASSERT_TRUE(map.isBaked());
    const int size = map.getSize();
    const float texel = 2 * LightMapMeshes::kHalfWidth / size;
    int shadowed = 0;
    for (int x = 0; x < size; ++x)
    {
        for (int y = 0; y < size; ++y)
        {
            const Ogre::Vector2 at = groundAt(x, y, size);
            const bool behindBox = at.x > kBoxHalfWidth + kBlurReach * texel && std::fabs(at.y) < kBoxHalfWidth - kBlurReach * texel;
            const bool clear = std::fabs(at.y) > kBoxHalfWidth + kBlurReach * texel ||
                               (at.x < -kBoxHalfWidth - kBlurReach * texel);
            if (behindBox)
            {
                ASSERT_LE(map.lightAt(x, y), CLightMap::kShadowed + 1) << x << "," << y;
                ++shadowed;
            }
            else if (clear)
            {
                ASSERT_EQ(CLightMap::kLit, map.lightAt(x, y)) << x << "," << y << " at " << at;
            }
        }
    }
    EXPECT_GT(shadowed, 0);
}
}
