// A patch of terrain heights as a static triangle-mesh collision shape: a grid of vertices,
// two triangles per quad, contacts smoothed over the inner edges.
#pragma once

#include "platform/physics/material.h"
#include "platform/physics/shape.h"

#include <vector>

namespace nxOgre
{

class NxMeshShapeTerrain : public shape
{
public:
    // Vertex i = (x[i], y[i], z[i]) for i < n * n, in rows of n. On failure the shape has no
    // mesh, is marked failed, and the reason goes to the engine log.
    NxMeshShapeTerrain(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z,
                       unsigned n, NxMaterialIndex material)
        : NxMeshShapeTerrain(x, y, z, n, n, material)
    {
    }
    // The same for a grid of `rows` rows of `columns` vertices (a patch at the page's far edge).
    NxMeshShapeTerrain(const std::vector<float>& x, const std::vector<float>& y, const std::vector<float>& z,
                       unsigned rows, unsigned columns, NxMaterialIndex material);
    // Shares the other patch's mesh without owning it.
    NxMeshShapeTerrain(const NxMeshShapeTerrain& other);
    NxMeshShapeTerrain& operator=(const NxMeshShapeTerrain&) = delete;
    ~NxMeshShapeTerrain() override;

    const char* getShapeAsString() const override { return "Mesh"; }
    const NxShapeDesc* getDescription() const override { return description.meshData ? &description : nullptr; }
    NxTriangleMeshShapeDesc& getShapeDescription() { return description; }
    const NxTriangleMeshShapeDesc& getShapeDescription() const { return description; }
    // Lets go of the mesh when this patch made it; actors keep their share until released.
    void releaseMesh();
    bool ownsMesh() const { return owner; }

private:
    NxTriangleMeshShapeDesc description;
    bool owner = false;
};

}
