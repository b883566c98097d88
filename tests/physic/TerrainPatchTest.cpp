// Terrain collision: the patch layout over the page, the patches' meshes and reference
// points, and bodies meeting the terrain where the terrain says it is, edges included.
#include "ClockedPhysicBase.h"

#include "physic/NxMeshShapeTerrain.h"
#include "physic/RaceMaterials.h"
#include "physic/TerrainPhysicManager.h"

#include "support/TerrainFiles.h"
#include "support/TerrainScene.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cmath>

namespace
{
using Patch = TerrainPhysicManager::Patch;

// A terrain loaded through the real loader, with the physics world beside it.
struct TerrainPhysicsFixture : ::testing::Test
{
    TerrainFiles files;
    TerrainScene terrainScene;
    TerrainObject& terrain = *terrainScene.terrain;
    ClockedPhysicBase physics{nullptr, nullptr};
    nxOgre::scene* scene = physics.init();

    ~TerrainPhysicsFixture() override { physics.clearPagedActors(); }
    void load(unsigned pageSize, float pageWorld, float maxHeight, const std::function<float(unsigned, unsigned)>& sample)
    {
        files.addTerrain("Test", pageSize, pageWorld, maxHeight, sample);
        terrain.load("Test", files.listPath());
    }
    // Runs the physics for the given time in frames of 0.1 s.
    void run(float seconds)
    {
        physics.resume();
        for (int frame = 0; frame < std::lround(seconds * 10); ++frame)
        {
            physics.frameTimesMs.push_back(100);
            physics.update();
        }
    }
};

// Every quad of the page lies in exactly one patch; a patch's samples stay on the page.
void expectExactCover(unsigned pageSize, const std::vector<Patch>& patches)
{
    const unsigned quads = pageSize - 1;
    std::vector<int> covered(static_cast<size_t>(quads) * quads, 0);
    for (const Patch& patch : patches)
    {
        ASSERT_LE(patch.firstX + patch.samplesX, pageSize);
        ASSERT_LE(patch.firstZ + patch.samplesZ, pageSize);
        for (unsigned z = patch.firstZ; z + 1 < patch.firstZ + patch.samplesZ; ++z)
            for (unsigned x = patch.firstX; x + 1 < patch.firstX + patch.samplesX; ++x)
                ++covered[static_cast<size_t>(z) * quads + x];
    }
    for (size_t quad = 0; quad < covered.size(); ++quad)
        ASSERT_EQ(covered[quad], 1) << "quad " << quad % quads << ", " << quad / quads;
}
}

TEST(TerrainPatchLayout, CoversEveryPageSize)
{
    struct Case
    {
        unsigned pageSize;
        unsigned perSide, step, firstSamples, lastSamples;
    };
    const Case cases[] = {
        {257, 64, 4, 5, 5},     // the game's terrains
        {513, 64, 8, 9, 9},     // the last patch ends on sample 512
        {1025, 64, 16, 17, 17}, // 512 triangles a patch
        {129, 64, 2, 3, 3},
        {65, 64, 1, 2, 2},
        {33, 32, 1, 2, 2},      // small pages: one patch per quad rather than none
        {3, 2, 1, 2, 2},
        {200, 64, 3, 4, 3 + 199 - 3 * 64 + 1},  // not 2^k + 1: the last patches take the rest
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("page size " + std::to_string(c.pageSize));
        const std::vector<Patch> patches = TerrainPhysicManager::layout(c.pageSize);
        ASSERT_EQ(patches.size(), c.perSide * c.perSide);
        EXPECT_EQ(TerrainPhysicManager::patchStep(c.pageSize), c.step);
        EXPECT_EQ(patches.front().samplesX, c.firstSamples);
        EXPECT_EQ(patches.back().samplesX, c.lastSamples);
        EXPECT_EQ(patches.back().samplesZ, c.lastSamples);
        EXPECT_EQ(patches.back().firstX + patches.back().samplesX, c.pageSize) << "ends on the last sample";
        // Row by row: the second patch is the next along x.
        if (patches.size() > 1)
        {
            EXPECT_EQ(patches[1].firstX, c.step);
            EXPECT_EQ(patches[1].firstZ, 0u);
        }
        expectExactCover(c.pageSize, patches);
    }
    EXPECT_TRUE(TerrainPhysicManager::layout(1).empty());
    EXPECT_TRUE(TerrainPhysicManager::layout(0).empty());
}

TEST(TerrainPatchLayout, ReferencePointIsOnePatchBeyondTheFirstSample)
{
    EXPECT_EQ(TerrainPhysicManager::referencePoint({0, 0, 9, 9}, 2.0f), Ogre::Vector3(18, 0, 18));
    EXPECT_EQ(TerrainPhysicManager::referencePoint({252, 8, 5, 5}, 12.0f), Ogre::Vector3(257 * 12, 0, 13 * 12));
}

TEST(TerrainPatchShape, GridTrianglesAndMeshOwnership)
{
    std::vector<float> xs, ys, zs;
    for (unsigned r = 0; r < 9; ++r)
        for (unsigned c = 0; c < 9; ++c)
        {
            xs.push_back(static_cast<float>(r));
            ys.push_back(0.0f);
            zs.push_back(static_cast<float>(c));
        }
    auto patch = std::make_unique<nxOgre::NxMeshShapeTerrain>(xs, ys, zs, 9, 3);
    ASSERT_NE(patch->getDescription(), nullptr);
    const nxOgre::NxTriangleMeshPtr mesh = patch->getShapeDescription().meshData;
    EXPECT_EQ(mesh->getVertexCount(), 81u);
    EXPECT_EQ(mesh->getTriangleCount(), 128u);
    EXPECT_EQ(mesh->getTriangleMaterial(127), 3);
    EXPECT_EQ(patch->getShapeDescription().materialIndex, 3);
    EXPECT_EQ(patch->getShapeDescription().meshFlags, nxOgre::NX_MESH_SMOOTH_SPHERE_COLLISIONS);
    EXPECT_EQ(std::string(patch->getShapeAsString()), "Mesh");
    // The first triangle faces up (+y) with rows along x.
    const auto& p = mesh->getPoints();
    const auto& t = mesh->getTriangles();
    const btVector3 a(p[t[0] * 3], p[t[0] * 3 + 1], p[t[0] * 3 + 2]), b(p[t[1] * 3], p[t[1] * 3 + 1], p[t[1] * 3 + 2]),
        c(p[t[2] * 3], p[t[2] * 3 + 1], p[t[2] * 3 + 2]);
    EXPECT_GT((b - a).cross(c - a).y(), 0.0f);

    {
        const nxOgre::NxMeshShapeTerrain copy(*patch);
        EXPECT_FALSE(copy.ownsMesh());
        EXPECT_EQ(copy.getDescription()->type, nxOgre::NxShapeType::TriangleMesh);
    }
    EXPECT_EQ(patch->getShapeDescription().meshData, mesh) << "a copy going releases nothing";
    patch.reset();
    EXPECT_EQ(mesh.use_count(), 1) << "the patch that made the mesh let it go";

    const nxOgre::NxMeshShapeTerrain broken(xs, ys, zs, 10, 0);  // 100 vertices asked, 81 given
    EXPECT_TRUE(broken.hasFailed());
    EXPECT_EQ(broken.getDescription(), nullptr);
}

TEST_F(TerrainPhysicsFixture, PatchesAreRegisteredAtTheirReferencePoints)
{
    createRaceMaterials(*scene);
    load(17, 160.0f, 50.0f, [](unsigned r, unsigned c) { return (r * 3 + c) / 64.0f; });
    TerrainPhysicManager manager(&physics, &terrain);
    manager.createPagedPatches();
    ASSERT_EQ(manager.getPatchCount(), 16u * 16);
    EXPECT_FLOAT_EQ(manager.getCoveredSize(), 16.0f);

    // Patch (x 3, z 5): first sample (3, 5), reference (5, 0, 7) * 10, vertices relative to it.
    const nxOgre::NxMeshShapeTerrain& patch = manager.getPatchShape(5 * 16 + 3);
    ASSERT_NE(patch.getDescription(), nullptr);
    const auto& points = patch.getShapeDescription().meshData->getPoints();
    ASSERT_EQ(points.size(), 4u * 3);
    EXPECT_FLOAT_EQ(points[0], 30.0f - 50.0f);
    EXPECT_NEAR(points[1], terrain.getHeight(30.0f, 50.0f), 1e-4f);
    EXPECT_FLOAT_EQ(points[2], 50.0f - 70.0f);
    EXPECT_FLOAT_EQ(points[3], 30.0f - 50.0f) << "the second vertex is the next sample along z";
    EXPECT_FLOAT_EQ(points[5], 60.0f - 70.0f);
    EXPECT_EQ(patch.getShapeDescription().materialIndex, scene->findMaterialIndex("terrainMaterial"));
    EXPECT_NE(patch.getShapeDescription().materialIndex, 0);

    physics.setPaging(false);  // loads every registered cell
    EXPECT_EQ(physics.getPagedActorCount(), 256u);
}

TEST_F(TerrainPhysicsFixture, RaysMeetEverySampleOfTheTerrain)
{
    // Bumpy, so that a patch at the wrong place or a transposed grid shows.
    load(33, 320.0f, 40.0f, [](unsigned r, unsigned c) { return 0.5f + 0.4f * std::sin(r * 0.7f) * std::cos(c * 0.45f); });
    TerrainPhysicManager manager(&physics, &terrain);
    manager.createPagedPatches();
    physics.setPaging(false);
    for (unsigned row = 0; row < 33; ++row)
        for (unsigned column = 0; column < 33; ++column)
        {
            // A hair inside the page at its far edges, where the ray would pass the last triangle's edge.
            const float x = std::min(column * 10.0f, 319.99f), z = std::min(row * 10.0f, 319.99f);
            nxOgre::NxRay ray;
            ray.orig = btVector3(x, 100.0f, z);
            nxOgre::NxRaycastHit hit;
            ASSERT_TRUE(scene->raycastClosestShape(ray, nxOgre::NX_STATIC_SHAPES, hit)) << column << ", " << row;
            const float expected = terrain.getHeightData()[row * 33 + column] * 40.0f;
            ASSERT_NEAR(hit.worldImpact.y(), expected, 0.02f) << column << ", " << row;
        }
}

TEST_F(TerrainPhysicsFixture, SphereComesToRestOnTheSlopeEverywhere)
{
    // A plane rising 0.04 along x and 0.08 along z: the bilinear heights are exact on it.
    constexpr float kRiseX = 0.04f, kRiseZ = 0.08f, kBase = 5.0f, kMaxHeight = 100.0f, kWorld = 640.0f;
    load(65, kWorld, kMaxHeight, [&](unsigned r, unsigned c) {
        return (kBase + kRiseX * c * 10.0f + kRiseZ * r * 10.0f) / kMaxHeight;
    });
    TerrainPhysicManager manager(&physics, &terrain);
    manager.createPagedPatches();

    constexpr float kRadius = 1.0f;
    struct Drop
    {
        const char* where;
        float x, z;
    };
    const Drop drops[] = {
        {"first corner", 1.5f, 1.5f},
        {"on a patch corner", 200.0f, 300.0f},
        {"inside a patch", 123.0f, 457.0f},
        {"last column", 638.5f, 320.0f},
        {"last row", 320.0f, 638.5f},
        {"far corner", 638.5f, 638.5f},
        {"first row", 45.0f, 1.5f},
    };
    std::vector<nxOgre::body*> balls;
    for (const Drop& drop : drops)
    {
        nxOgre::NxSphereShapeDesc sphere;
        sphere.radius = kRadius;
        struct Single : nxOgre::shape
        {
            explicit Single(const nxOgre::NxShapeDesc& d) : shape(1), desc(d) {}
            const char* getShapeAsString() const override { return "Sphere"; }
            const nxOgre::NxShapeDesc* getDescription() const override { return &desc; }
            const nxOgre::NxShapeDesc& desc;
        };
        const float dropHeight = terrain.getHeight(drop.x, drop.z) + 3.0f;
        nxOgre::body* ball = scene->createBody(drop.where, Single(sphere), 1.0f,
                                               nxOgre::pose(btVector3(drop.x, dropHeight, drop.z)));
        ASSERT_NE(ball, nullptr);
        ball->setAngularDamping(1.0f);  // slides to rest rather than rolling away
        balls.push_back(ball);
    }
    physics.setPaging(true);
    run(4.0f);
    // The centre of a ball resting on a plane stands r / cos(slope) above the ground below it.
    const float lift = kRadius * std::sqrt(1.0f + kRiseX * kRiseX + kRiseZ * kRiseZ);
    for (size_t i = 0; i < balls.size(); ++i)
    {
        const btVector3 centre = balls[i]->getGlobalPosition();
        SCOPED_TRACE(drops[i].where);
        EXPECT_NEAR(centre.x(), drops[i].x, 0.5f) << "it stayed where it fell";
        EXPECT_NEAR(centre.z(), drops[i].z, 0.5f);
        EXPECT_NEAR(centre.y(), terrain.getHeight(centre.x(), centre.z()) + lift, 0.05f);
    }
    EXPECT_LT(physics.getPagedActorCount(), manager.getPatchCount()) << "only patches near the balls exist";
}
