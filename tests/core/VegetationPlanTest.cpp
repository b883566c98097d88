// What each terrain grows and the names its pictures are cached under; where the planter
// puts trees (never on the track, never off the terrain), that it draws them from the C
// library's generator seeded from the area's corner, and that an area gives one forest.
#include "TreePlanter.h"
#include "VegetationPlan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

namespace
{
TEST(VegetationPlan, TreesGrassRangesAndCacheNamesByTerrainAndDensity)
{
    struct Case
    {
        const char* terrain;
        float trees, grass;
        VegetationKind kind;
        bool hasTrees;
        std::uint32_t count;
        float batchRange, grassDensity;
        const char* lightmapName;
    } cases[] = {
        {"Grass", 1.0f, 1.0f, VegetationKind::Grass, true, 50000, 70.0f, 2.5f, "VegetationLightmap100"},
        {"Grass", 0.333f, 0.6f, VegetationKind::Grass, true, 16650, 70.0f, 1.5f, "VegetationLightmap33"},
        {"Grass", 0.004f, 0.0f, VegetationKind::Grass, true, 200, 70.0f, 0.0f, "VegetationLightmap0"},
        {"Grass", 0.0f, 1.0f, VegetationKind::Grass, false, 0, 70.0f, 2.5f, "VegetationLightmap0"},
        {"Grass", 3.0f, 0.0f, VegetationKind::Grass, true, 50000, 70.0f, 0.0f, "VegetationLightmap100"},  // past the top
        {"Grass", -1.0f, 0.0f, VegetationKind::Grass, false, 0, 70.0f, 0.0f, "VegetationLightmap0"},
        {"Desert", 0.01f, 1.0f, VegetationKind::Desert, true, 3000, 150.0f, 0.16f, "VegetationLightmap1"},
        {"Desert", 0.666f, 0.0f, VegetationKind::Desert, true, 3000, 150.0f, 0.0f, "VegetationLightmap66"},
        {"Desert", 0.0f, 0.0f, VegetationKind::Desert, false, 3000, 150.0f, 0.0f, "VegetationLightmap0"},
        {"Valley", 1.0f, 1.0f, VegetationKind::None, false, 0, 0.0f, 0.0f, "VegetationLightmap100"},
        {"grass", 1.0f, 1.0f, VegetationKind::None, false, 0, 0.0f, 0.0f, "VegetationLightmap100"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.terrain) + " " + std::to_string(c.trees));
        const VegetationPlan plan = VegetationPlanning::plan(c.terrain, c.trees, c.grass);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.hasTrees(), c.hasTrees);
        if (c.hasTrees)
        {
            EXPECT_EQ(plan.treeCount, c.count);
        }
        EXPECT_EQ(plan.batchRange, c.batchRange);
        EXPECT_FLOAT_EQ(plan.grassDensity, c.grassDensity);
        EXPECT_EQ(plan.lightmapName(), c.lightmapName);
        EXPECT_EQ(plan.grassColorMapName(), "GrassColorMap" + std::string(c.lightmapName).substr(18));
    }
}

TEST(TreePlanter, SeedComesFromTheAreasCorner)
{
    EXPECT_EQ(TreePlanter::seedFor(TBounds(0, 0, 10, 10)), 100000u);
    EXPECT_EQ(TreePlanter::seedFor(TBounds(2.9f, 1.5f, 10, 10)), 2000u + 100000u + 100000u);
}

// A straight road along z = 500 to 520 in a 1000 x 1000 world, covered 255, ramping to 0
// over two units either side as a bilinear sample of the mask would.
float roadCoverage(float, float z)
{
    const float distance = std::max(std::fabs(z - 510.0f) - 10.0f, 0.0f);
    return distance >= 2.0f ? 0.0f : 255.0f * (1.0f - distance / 2.0f);
}

float hill(float x, float z)
{
    return 0.01f * x + 0.02f * z;
}

unsigned alternate()
{
    return std::rand() & 1;
}

TEST(TreePlanter, TreesStandOnTheGroundOffTheRoadInsideTheArea)
{
    const TBounds area(0.0f, 0.0f, 1000.0f, 1000.0f);
    const auto trees = TreePlanter(area).plant(5000, roadCoverage, hill, alternate);
    // The road and its ramps take 24 of the 1000 units: about 2.4 % of the tries fail.
    EXPECT_GT(trees.size(), 4800u);
    EXPECT_LT(trees.size(), 4950u);
    std::set<unsigned> kinds;
    for (const PlantedTree& tree : trees)
    {
        EXPECT_EQ(roadCoverage(tree.position.x, tree.position.z), 0.0f) << tree.position;
        EXPECT_GE(tree.position.x, area.left);
        EXPECT_LE(tree.position.x, area.right);
        EXPECT_GE(tree.position.z, area.top);
        EXPECT_LE(tree.position.z, area.bottom);
        EXPECT_FLOAT_EQ(tree.position.y, hill(tree.position.x, tree.position.z));
        EXPECT_GE(tree.yawDegrees, 0.0f);
        EXPECT_LE(tree.yawDegrees, 359.0f);
        kinds.insert(tree.kind);
    }
    EXPECT_EQ(kinds, (std::set<unsigned>{0, 1}));
}

// The draws, one try after another: x, z, and only for a place that is kept, the yaw and
// then the kind's numbers; whatever ran the generator before does not matter.
TEST(TreePlanter, DrawsComeFromTheCLibraryGeneratorInTheirOrder)
{
    const TBounds area(0.0f, 0.0f, 1000.0f, 500.0f);
    const auto leftHalfCovered = [](float x, float) { return x < 500.0f ? 255.0f : 0.0f; };
    std::srand(1);
    std::rand();
    const auto trees = TreePlanter(area).plant(40, leftHalfCovered, hill, [] { return unsigned(std::rand() % 7); });

    std::srand(100000);
    const auto unit = [] { return static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX); };
    std::vector<PlantedTree> expected;
    for (int i = 0; i < 40; ++i)
    {
        const float x = 1000.0f * unit();
        const float z = 500.0f * unit();
        if (x < 500.0f)
            continue;
        const float yaw = 359.0f * unit();
        expected.push_back({Ogre::Vector3(x, hill(x, z), z), yaw, unsigned(std::rand() % 7)});
    }
    ASSERT_EQ(trees.size(), expected.size());
    ASSERT_GT(trees.size(), 10u);
    for (size_t i = 0; i < trees.size(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_NEAR(trees[i].position.x, expected[i].position.x, 1e-3f);
        EXPECT_NEAR(trees[i].position.z, expected[i].position.z, 1e-3f);
        EXPECT_NEAR(trees[i].yawDegrees, expected[i].yawDegrees, 1e-3f);
        EXPECT_EQ(trees[i].kind, expected[i].kind);
    }
}

TEST(TreePlanter, SameAreaSameForestOtherCornerAnother)
{
    const auto forest = [](const TBounds& area) { return TreePlanter(area).plant(300, roadCoverage, hill, alternate); };
    const auto first = forest(TBounds(0.0f, 0.0f, 1000.0f, 1000.0f));
    const auto again = forest(TBounds(0.0f, 0.0f, 1000.0f, 1000.0f));
    const auto other = forest(TBounds(1.0f, 0.0f, 1001.0f, 1000.0f));
    ASSERT_EQ(first.size(), again.size());
    for (size_t i = 0; i < first.size(); ++i)
    {
        EXPECT_EQ(first[i].position, again[i].position);
        EXPECT_EQ(first[i].yawDegrees, again[i].yawDegrees);
        EXPECT_EQ(first[i].kind, again[i].kind);
    }
    ASSERT_FALSE(other.empty());
    EXPECT_GT(other[0].position.distance(first[0].position), 1.0f);
}

TEST(TreePlanter, FullyCoveredAreaOrNoTriesPlantNothing)
{
    const TreePlanter planter(TBounds(0.0f, 0.0f, 100.0f, 100.0f));
    EXPECT_TRUE(planter.plant(1000, [](float, float) { return 0.5f; }, hill, alternate).empty());
    EXPECT_TRUE(planter.plant(0, roadCoverage, hill, alternate).empty());
}
}
