// The sky's sphere meshes: counts, index ranges, winding, positions on the unit sphere.
#include "sky/SphereMesh.h"

#include "sky/SkyResourceGroup.h"
#include "support/HeadlessOgre.h"

#include <OGRE/OgreMesh.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSubMesh.h>

#include <gtest/gtest.h>

namespace
{
Ogre::Vector3 at(const sky::SphereVertex& vertex)
{
    return Ogre::Vector3(vertex.position[0], vertex.position[1], vertex.position[2]);
}
}

TEST(SphereMesh, CountsIndicesAndWinding)
{
    struct Case
    {
        const char* what;
        sky::SphereKind kind;
        unsigned vertices;
        unsigned indices;
    };
    const unsigned n = 32;
    const Case cases[] = {
        {"pole sphere", sky::SphereKind::Pole, (n - 1) * n + 2, 6 * n * (n - 1)},
        {"UV sphere", sky::SphereKind::UV, (n + 1) * (n + 1), 6 * n * n},
    };
    for (const Case& c : cases)
    {
        const sky::SphereGeometry sphere = sky::buildSphereGeometry(n, c.kind);
        ASSERT_EQ(sphere.vertices.size(), c.vertices) << c.what;
        ASSERT_EQ(sphere.indices.size(), c.indices) << c.what;
        for (const sky::SphereVertex& vertex : sphere.vertices)
        {
            ASSERT_NEAR(at(vertex).length(), 1.0f, 1e-5f) << c.what;
            ASSERT_NEAR(at(vertex).dotProduct(Ogre::Vector3(vertex.normal)), -1.0f, 1e-5f) << c.what << ": inwards";
        }
        int inward = 0;
        int outward = 0;
        for (std::size_t i = 0; i < sphere.indices.size(); i += 3)
        {
            ASSERT_LT(sphere.indices[i], c.vertices);
            ASSERT_LT(sphere.indices[i + 1], c.vertices);
            ASSERT_LT(sphere.indices[i + 2], c.vertices);
            const Ogre::Vector3 a = at(sphere.vertices[sphere.indices[i]]);
            const Ogre::Vector3 b = at(sphere.vertices[sphere.indices[i + 1]]);
            const Ogre::Vector3 d = at(sphere.vertices[sphere.indices[i + 2]]);
            const float facing = (b - a).crossProduct(d - a).dotProduct(a + b + d);
            if (facing < -1e-5f)
                ++inward;
            else if (facing > 1e-5f)
                ++outward;
        }
        // Every triangle faces the camera inside (UV sphere: the poles' slivers have no area).
        EXPECT_EQ(outward, 0) << c.what;
        EXPECT_GE(inward, static_cast<int>(c.indices / 3 - 2 * n)) << c.what;
    }
}

TEST(SphereMesh, TextureCoordinatesMeasureHeight)
{
    const sky::SphereGeometry pole = sky::buildSphereGeometry(32, sky::SphereKind::Pole);
    const sky::SphereVertex& top = pole.vertices[31 * 32];
    const sky::SphereVertex& bottom = pole.vertices[31 * 32 + 1];
    EXPECT_EQ(top.position[1], 1.0f);
    EXPECT_EQ(top.uv[1], 0.0f);
    EXPECT_EQ(bottom.uv[1], 2.0f);
    EXPECT_NEAR(pole.vertices[15 * 32].uv[1], 1.0f, 1e-5f) << "the horizon ring";

    const sky::SphereGeometry uv = sky::buildSphereGeometry(32, sky::SphereKind::UV);
    EXPECT_EQ(uv.vertices[32].uv[0], 1.0f) << "the seam column repeats the first";
    EXPECT_NEAR(uv.vertices.back().uv[1], 1.0f, 1e-5f);
}

TEST(SphereMesh, MadeOncePerName)
{
    HeadlessOgre::root();
    if (!Ogre::ResourceGroupManager::getSingleton().resourceGroupExists(sky::getSkyResourceGroupName()))
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup(sky::getSkyResourceGroupName());
    sky::createSphereMesh("TestSkyDome", 32, sky::SphereKind::Pole);
    Ogre::MeshPtr first = Ogre::MeshManager::getSingleton().getByName("TestSkyDome", sky::getSkyResourceGroupName());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sharedVertexData->vertexCount, 994u);
    EXPECT_EQ(first->getSubMesh(0)->indexData->indexCount, 5952u);
    EXPECT_FLOAT_EQ(first->getBoundingSphereRadius(), 1.0f);
    sky::createSphereMesh("TestSkyDome", 16, sky::SphereKind::UV);
    EXPECT_EQ(Ogre::MeshManager::getSingleton().getByName("TestSkyDome", sky::getSkyResourceGroupName()), first);
    EXPECT_EQ(first->sharedVertexData->vertexCount, 994u);
    first.reset();
    Ogre::MeshManager::getSingleton().remove("TestSkyDome", sky::getSkyResourceGroupName());
}
