// What vegetation a race gets from its terrain and the settings: how many tree tries, the
// detail ranges and the names its pictures are cached under. Decided before anything is
// built, so the race scene can pick its lightmap by the same names.
#pragma once

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
    bool trees = false;           // the tree density is above 0
    std::uint32_t treeCount = 0;  // the planter makes one try more
    int densityPercent = 0;       // the tree density in hundredths, truncated
    float batchRange = 0.0f;      // world units up to which trees are full geometry
    float impostorRange = 0.0f;   // and up to which they are impostors
    float grassDensity = 0.0f;    // blades per square unit; 0 builds no grass

    bool hasTrees() const { return kind != VegetationKind::None && trees; }
    // The pictures that depend on where the trees stand carry the density.
    std::string lightmapName() const { return "VegetationLightmap" + std::to_string(densityPercent); }
    std::string grassColorMapName() const { return "GrassColorMap" + std::to_string(densityPercent); }
};

namespace VegetationPlanning
{
// Densities are the settings', 0 to 1.
VegetationPlan plan(const std::string& terrainName, float treeDensity, float grassDensity);
}
