// The terrain's collision: its height grid cut into square triangle-mesh patches, each
// registered with the paged static store so that only patches near awake bodies exist.
#pragma once

#include <OGRE/OgreVector.h>

#include <memory>
#include <vector>

class PhysicBase;
class TerrainHeights;

namespace nxOgre
{
class NxMeshShapeTerrain;
class scene;
}

class TerrainPhysicManager
{
public:
    static constexpr unsigned kGridSize = 64;  // patches per side on pages of 65 samples or more
    static constexpr const char* kMaterialName = "terrainMaterial";

    // Where one patch lies: its first sample and its samples per side.
    struct Patch
    {
        unsigned firstX, firstZ;
        unsigned samplesX, samplesZ;
    };
    // The patches of a page of pageSize samples per side, row by row: min(64, n - 1) per
    // side, step (n - 1) / that many quads, the last in a row or column taking the rest, so
    // that neighbours share their border samples and every quad of the page is covered.
    static std::vector<Patch> layout(unsigned pageSize);
    static unsigned patchStep(unsigned pageSize);

    TerrainPhysicManager(PhysicBase* physics, TerrainHeights* terrain);
    virtual ~TerrainPhysicManager();
    TerrainPhysicManager(const TerrainPhysicManager&) = delete;
    TerrainPhysicManager& operator=(const TerrainPhysicManager&) = delete;

    // Builds every patch and registers it at its reference point, the world position one
    // patch step beyond its first sample along x and z (at y 0); its vertices are relative
    // to that point. Once per race load, after paging is switched on.
    void createPagedPatches();
    // The race scene calls this every frame; the paged store does the work.
    void update(const std::vector<Ogre::Vector3>& positions);

    size_t getPatchCount() const { return patchShapes.size(); }
    const nxOgre::NxMeshShapeTerrain& getPatchShape(size_t index) const { return *patchShapes[index]; }
    static Ogre::Vector3 referencePoint(const Patch& patch, float horizontalScale);
    float getCoveredSize() const { return coveredSize; }

private:
    void createPagedPatch(const Patch& patch);

    std::vector<std::unique_ptr<nxOgre::NxMeshShapeTerrain>> patchShapes;
    TerrainHeights* terrain;
    nxOgre::scene* scene;
    PhysicBase* physics;
    float horizontalScale = 0.0f;
    float pageSize = 0.0f;
    float coveredSize = 0.0f;  // samples from the first to the last covered, along x and z
};
