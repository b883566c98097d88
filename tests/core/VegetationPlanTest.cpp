// What each terrain grows and the names its pictures are cached under; where the planter
// puts trees (never on the track, never off the terrain) and that a seed gives one forest.
#include "TreePlanter.h"
#include "VegetationPlan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace
{
constexpr float kSize = 3072.0f;

TEST(VegetationPlan, TreeCountsAndRangesByTerrain)
{
    struct Case
    {
        const char* terrain;
        float trees, grass;
        VegetationKind kind;
        std::uint32_t count;
        float batchRange;
    } cases[] = {
        {"Grass", 1.0f, 1.0f, VegetationKind::Grass, 50000, 70.0f},
        {"Grass", 0.004f, 0.0f, VegetationKind::Grass, 200, 70.0f},
        {"Grass", 0.0f, 1.0f, VegetationKind::Grass, 0, 70.0f},
        {"Grass", 3.0f, 0.0f, VegetationKind::Grass, 50000, 70.0f},  // settings past the top
        {"Grass", -1.0f, 0.0f, VegetationKind::Grass, 0, 70.0f},
        {"Desert", 0.01f, 0.0f, VegetationKind::Desert, 3000, 150.0f},
        {"Desert", 0.0f, 0.0f, VegetationKind::Desert, 0, 150.0f},
        {"Valley", 1.0f, 1.0f, VegetationKind::None, 0, 0.0f},
        {"grass", 1.0f, 1.0f, VegetationKind::None, 0, 0.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.terrain) + " " + std::to_string(c.trees));
        const VegetationPlan plan = VegetationPlanning::plan(c.terrain, kSize, c.trees, c.grass);
        EXPECT_EQ(plan.kind, c.kind);
        EXPECT_EQ(plan.treeCount, c.count);
        EXPECT_EQ(plan.hasTrees(), c.count > 0);
        EXPECT_EQ(plan.batchRange, c.batchRange);
        EXPECT_EQ(plan.seed, 100000u);
    }
}

TEST(VegetationPlan, CacheNamesTellApartEveryCountAndSeed)
{
    // Densities 0.001 and 0.004 both read as "0" in hundredths, yet plant 50 and 200 trees.
    VegetationPlan sparse = VegetationPlanning::plan("Grass", kSize, 0.001f, 0.0f);
    VegetationPlan fewer = VegetationPlanning::plan("Grass", kSize, 0.004f, 0.0f);
    VegetationPlan full = VegetationPlanning::plan("Grass", kSize, 1.0f, 0.0f);
    VegetationPlan otherSeed = full;
    otherSeed.seed = 7;
    EXPECT_EQ(full.lightmapName(), "VegetationLightmap50000_100000");
    std::set<std::string> names;
    for (const VegetationPlan* plan : {&sparse, &fewer, &full, &otherSeed})
        for (const std::string& name : {plan->lightmapName(), plan->grassColorMapName(), plan->treeLightmapName()})
            names.insert(name);
    EXPECT_EQ(names.size(), 12u) << "a name shared between two forests";
}

TEST(VegetationPlan, SeedComesFromTheAreasCorner)
{
    EXPECT_EQ(VegetationPlanning::seedFor(TBounds(0, 0, 10, 10)), 100000u);
    EXPECT_EQ(VegetationPlanning::seedFor(TBounds(2.9f, 1.5f, 10, 10)), 2000u + 100000u + 100000u);
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

unsigned alternate(TreePlanter& planter)
{
    return planter.next() & 1;
}

TEST(TreePlanter, TreesStandOnTheGroundOffTheRoadInsideTheArea)
{
    const TBounds area(0.0f, 0.0f, 1000.0f, 1000.0f);
    TreePlanter planter(area, 100000);
    const auto trees = planter.plant(5000, roadCoverage, hill, alternate);
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

TEST(TreePlanter, SameSeedSameForestOtherSeedAnother)
{
    const TBounds area(0.0f, 0.0f, 1000.0f, 1000.0f);
    const auto forest = [&](std::uint32_t seed) {
        TreePlanter planter(area, seed);
        return planter.plant(300, roadCoverage, hill, alternate);
    };
    const auto first = forest(100000), again = forest(100000), other = forest(100001);
    ASSERT_EQ(first.size(), again.size());
    for (size_t i = 0; i < first.size(); ++i)
    {
        EXPECT_EQ(first[i].position, again[i].position);
        EXPECT_EQ(first[i].yawDegrees, again[i].yawDegrees);
        EXPECT_EQ(first[i].kind, again[i].kind);
    }
    ASSERT_FALSE(other.empty());
    EXPECT_NE(first[0].position, other[0].position);
}

TEST(TreePlanter, FullyCoveredOrEmptyAreaPlantsNothing)
{
    TreePlanter planter(TBounds(0.0f, 0.0f, 100.0f, 100.0f), 1);
    EXPECT_TRUE(planter.plant(1000, [](float, float) { return 0.5f; }, hill, alternate).empty());
    EXPECT_TRUE(planter.plant(0, roadCoverage, hill, alternate).empty());
}
}
