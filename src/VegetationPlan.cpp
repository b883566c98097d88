// The vegetation of each terrain.
#include "VegetationPlan.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kGrassTreesAtFullDensity = 50000.0f;
constexpr std::uint32_t kDesertTrees = 3000;  // palms are sparse at any density
constexpr float kGrassBladesPerDensity = 2.5f;
constexpr float kDesertBladesPerDensity = 0.16f;

float unit(float density)
{
    return std::isfinite(density) ? std::clamp(density, 0.0f, 1.0f) : 0.0f;
}
}

std::string VegetationPlan::cacheSuffix() const
{
    return std::to_string(treeCount) + "_" + std::to_string(seed);
}

namespace VegetationPlanning
{
std::uint32_t seedFor(const TBounds& bounds)
{
    const auto left = static_cast<std::int64_t>(bounds.left), top = static_cast<std::int64_t>(bounds.top);
    return static_cast<std::uint32_t>(left * 1000 + top * 100000 + 100000);
}

VegetationPlan plan(const std::string& terrainName, float terrainSize, float treeDensity, float grassDensity)
{
    VegetationPlan plan;
    const float trees = unit(treeDensity), grass = unit(grassDensity);
    plan.seed = seedFor(TBounds(0.0f, 0.0f, terrainSize, terrainSize));
    if (terrainName == "Grass")
    {
        plan.kind = VegetationKind::Grass;
        plan.treeCount = static_cast<std::uint32_t>(trees * kGrassTreesAtFullDensity);
        plan.batchRange = 70.0f;
        plan.impostorRange = 700.0f;
        plan.grassDensity = grass * kGrassBladesPerDensity;
    }
    else if (terrainName == "Desert")
    {
        plan.kind = VegetationKind::Desert;
        plan.treeCount = trees > 0.0f ? kDesertTrees : 0;
        plan.batchRange = 150.0f;
        plan.impostorRange = 1000.0f;
        plan.grassDensity = grass * kDesertBladesPerDensity;
    }
    return plan;
}
}
