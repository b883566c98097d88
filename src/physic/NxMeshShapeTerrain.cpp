// Cooking a terrain patch.
#include "physic/NxMeshShapeTerrain.h"

#include <OGRE/OgreLogManager.h>

namespace nxOgre
{

NxMeshShapeTerrain::NxMeshShapeTerrain(const std::vector<float>& x, const std::vector<float>& y,
                                       const std::vector<float>& z, unsigned rows, unsigned columns,
                                       NxMaterialIndex material)
    : shape(kShapeTypeMesh)
{
    const size_t vertexCount = static_cast<size_t>(rows) * columns;
    const std::uint32_t n = columns;
    NxTriangleMeshDesc mesh;
    if (x.size() >= vertexCount && y.size() >= vertexCount && z.size() >= vertexCount)
    {
        mesh.points.reserve(vertexCount * 3);
        for (size_t i = 0; i < vertexCount; ++i)
            mesh.points.insert(mesh.points.end(), {x[i], y[i], z[i]});
        for (std::uint32_t r = 0; r + 1 < rows; ++r)
            for (std::uint32_t c = 0; c + 1 < n; ++c)
                mesh.triangles.insert(mesh.triangles.end(), {n * (r + 1) + c, n * r + c, n * r + c + 1,
                                                             n * (r + 1) + c, n * r + c + 1, n * (r + 1) + c + 1});
        mesh.materialIndices.assign(mesh.triangles.size() / 3, material);
    }
    description.meshFlags = NX_MESH_SMOOTH_SPHERE_COLLISIONS;
    std::string error = "fewer than " + std::to_string(vertexCount) + " coordinates";
    if (!mesh.triangles.empty())
        description.meshData = NxTriangleMesh::create(mesh, &error);
    if (!description.meshData)
    {
        setFailed();
        if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
            log->logMessage("[NxOgre] Failed meshShape cooking for Entity '': terrain patch, " + error);
        return;
    }
    description.materialIndex = material;
    owner = true;
}

NxMeshShapeTerrain::NxMeshShapeTerrain(const NxMeshShapeTerrain& other)
    : shape(other), description(other.description), owner(false)
{
}

NxMeshShapeTerrain::~NxMeshShapeTerrain()
{
    releaseMesh();
}

void NxMeshShapeTerrain::releaseMesh()
{
    if (owner)
        description.meshData.reset();
    owner = false;
}

}
