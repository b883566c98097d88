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

namespace VegetationPlanning
{
VegetationPlan plan(const std::string& terrainName, float treeDensity, float grassDensity)
{
    VegetationPlan plan;
    const float trees = unit(treeDensity), grass = unit(grassDensity);
    plan.densityPercent = static_cast<int>(trees * 100.0f);
    plan.trees = trees > 0.0f;
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
        plan.treeCount = kDesertTrees;
        plan.batchRange = 150.0f;
        plan.impostorRange = 1000.0f;
        plan.grassDensity = grass * kDesertBladesPerDensity;
    }
    return plan;
}
}
