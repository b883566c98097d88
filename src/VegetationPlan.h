// What vegetation a race gets from its terrain and the settings: how many tree tries, the
// seed, the detail ranges and the names its pictures are cached under. Decided before
// anything is built, so the race scene can pick its lightmap by the same names.
#pragma once

#include "paging/TBounds.h"

#include <cstdint>
#include <string>

enum class VegetationKind
{
    None,
    Grass,   // broad-leaf trees and pines, green grass
    Desert,  // palms, dry grass
};

struct VegetationPlan
{
    VegetationKind kind = VegetationKind::None;
    std::uint32_t treeCount = 0;  // tries at placing a tree; 0 plants none
    std::uint32_t seed = 0;
    float batchRange = 0.0f;      // world units up to which trees are full geometry
    float impostorRange = 0.0f;   // and up to which they are impostors
    float grassDensity = 0.0f;    // 0 builds no grass

    bool hasTrees() const { return treeCount > 0; }
    // Every picture that depends on where the trees stand carries the count and the seed.
    std::string cacheSuffix() const;
    std::string lightmapName() const { return "VegetationLightmap" + cacheSuffix(); }
    std::string grassColorMapName() const { return "GrassColorMap" + cacheSuffix(); }
    std::string treeLightmapName() const { return "TreeLightmap" + cacheSuffix(); }
};

namespace VegetationPlanning
{
// The terrain spans (0, 0) to (size, size); densities are the settings', 0 to 1.
VegetationPlan plan(const std::string& terrainName, float terrainSize, float treeDensity, float grassDensity);
// The forest's seed, from the corner of the area the trees are placed in.
std::uint32_t seedFor(const TBounds& bounds);
}
