// Terrain collision patches.
#include "physic/TerrainPhysicManager.h"

#include "physic/NxMeshShapeTerrain.h"
#include "physic/PhysicBase.h"
#include "physic/TerrainHeights.h"

#include <algorithm>

unsigned TerrainPhysicManager::patchStep(unsigned pageSize)
{
    if (pageSize < 2)
        return 0;
    const unsigned quads = pageSize - 1;
    return quads / std::min(kGridSize, quads);
}

std::vector<TerrainPhysicManager::Patch> TerrainPhysicManager::layout(unsigned pageSize)
{
    std::vector<Patch> patches;
    const unsigned step = patchStep(pageSize);
    if (step == 0)
        return patches;
    const unsigned quads = pageSize - 1, perSide = std::min(kGridSize, quads);
    // The last patch of a row or column takes the quads the step leaves over.
    auto samplesAt = [&](unsigned index) { return (index + 1 == perSide ? quads - step * index : step) + 1; };
    for (unsigned z = 0; z < perSide; ++z)
        for (unsigned x = 0; x < perSide; ++x)
            patches.push_back({x * step, z * step, samplesAt(x), samplesAt(z)});
    return patches;
}

Ogre::Vector3 TerrainPhysicManager::referencePoint(const Patch& patch, float horizontalScale)
{
    return Ogre::Vector3(static_cast<float>(patch.firstX + patch.samplesX), 0.0f,
                         static_cast<float>(patch.firstZ + patch.samplesZ)) *
           horizontalScale;
}

TerrainPhysicManager::TerrainPhysicManager(PhysicBase* physics, TerrainHeights* terrain)
    : terrain(terrain), scene(physics->getScene()), physics(physics)
{
}

TerrainPhysicManager::~TerrainPhysicManager() = default;

void TerrainPhysicManager::createPagedPatches()
{
    const unsigned samples = static_cast<unsigned>(terrain->getPageSize());
    horizontalScale = terrain->getHorizontalScale();
    pageSize = terrain->getPageSize();
    coveredSize = samples > 1 ? static_cast<float>(samples - 1) : 0.0f;
    if (!terrain->getHeightData())
        return;
    for (const Patch& patch : layout(samples))
        createPagedPatch(patch);
}

void TerrainPhysicManager::createPagedPatch(const Patch& patch)
{
    const unsigned pageSamples = static_cast<unsigned>(pageSize);
    const float verticalScale = terrain->getVerticalScale();
    const float* heights = terrain->getHeightData();
    const Ogre::Vector3 reference = referencePoint(patch, horizontalScale);
    // Rows run along x, so vertex (dx, dz) has the index dx * samplesZ + dz.
    const size_t vertexCount = static_cast<size_t>(patch.samplesX) * patch.samplesZ;
    std::vector<float> xs(vertexCount), ys(vertexCount), zs(vertexCount);
    for (unsigned dx = 0; dx < patch.samplesX; ++dx)
        for (unsigned dz = 0; dz < patch.samplesZ; ++dz)
        {
            const unsigned sx = patch.firstX + dx, sz = patch.firstZ + dz;
            const size_t index = static_cast<size_t>(dx) * patch.samplesZ + dz;
            xs[index] = sx * horizontalScale - reference.x;
            ys[index] = heights[static_cast<size_t>(sz) * pageSamples + sx] * verticalScale;
            zs[index] = sz * horizontalScale - reference.z;
        }
    const nxOgre::NxMaterialIndex material = scene ? scene->findMaterialIndex(kMaterialName) : 0;
    auto shape = std::make_unique<nxOgre::NxMeshShapeTerrain>(xs, ys, zs, patch.samplesX, patch.samplesZ, material);
    if (shape->getDescription())
    {
        std::string name;  // the store makes one up
        physics->addStaticShape(name, &shape->getShapeDescription(), reference);
    }
    patchShapes.push_back(std::move(shape));
}

void TerrainPhysicManager::update(const std::vector<Ogre::Vector3>&) {}
