// Cooking an entity's triangles into a collision mesh.
#include "physic/meshShapeSR.h"

#include "physic/getMeshVertices.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubMesh.h>

namespace nxOgre
{
namespace
{
void appendIndices(const Ogre::IndexData& indexData, std::uint32_t base, std::vector<std::uint32_t>& out)
{
    if (!indexData.indexBuffer || indexData.indexCount == 0)
        return;
    const Ogre::HardwareIndexBufferSharedPtr& buffer = indexData.indexBuffer;
    const void* data = buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY);
    const bool wide = buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT;
    for (std::size_t i = indexData.indexStart; i < indexData.indexStart + indexData.indexCount; ++i)
        out.push_back(base + (wide ? static_cast<const std::uint32_t*>(data)[i] : static_cast<const std::uint16_t*>(data)[i]));
    buffer->unlock();
}

void appendPlacedPositions(const Ogre::VertexData& vertexData, const meshShapeSR::PlaceVertex& place,
                           std::vector<float>& out)
{
    const std::size_t first = out.size();
    appendVertexPositions(vertexData, Ogre::Vector3::UNIT_SCALE, out);
    for (std::size_t i = first; i + 2 < out.size(); i += 3)
    {
        const Ogre::Vector3 placed = place(Ogre::Vector3(out[i], out[i + 1], out[i + 2]));
        out[i] = placed.x;
        out[i + 1] = placed.y;
        out[i + 2] = placed.z;
    }
}
}

meshShapeSR::meshShapeSR(Ogre::Entity* entity, scene* physicsScene, bool smooth, const MeshShapeParams& params)
    : meshShapeSR(entity->getMesh(), "Entity '" + entity->getName() + "'", physicsScene, smooth,
                  [&params](const Ogre::Vector3& p) { return p * params.scale; })
{
}

meshShapeSR::meshShapeSR(const Ogre::MeshPtr& source, const std::string& owner, scene* physicsScene, bool smooth,
                         const PlaceVertex& place)
    : shape(kShapeTypeMesh)
{
    NxTriangleMeshDesc mesh;
    bool haveShared = false;
    std::uint32_t sharedStart = 0;
    for (unsigned short i = 0; i < source->getNumSubMeshes(); ++i)
    {
        const Ogre::SubMesh* sub = source->getSubMesh(i);
        const NxMaterialIndex materialIndex = physicsScene->findMaterialIndex(sub->getMaterialName());
        std::uint32_t blockStart = static_cast<std::uint32_t>(mesh.points.size() / 3);
        if (sub->useSharedVertices)
        {
            if (!haveShared && source->sharedVertexData)
            {
                sharedStart = blockStart;
                haveShared = true;
                appendPlacedPositions(*source->sharedVertexData, place, mesh.points);
            }
            blockStart = sharedStart;
        }
        else if (sub->vertexData)
            appendPlacedPositions(*sub->vertexData, place, mesh.points);
        const std::size_t before = mesh.triangles.size();
        appendIndices(*sub->indexData, blockStart, mesh.triangles);
        mesh.triangles.resize(mesh.triangles.size() - (mesh.triangles.size() - before) % 3);
        mesh.materialIndices.insert(mesh.materialIndices.end(), (mesh.triangles.size() - before) / 3, materialIndex);
    }
    if (smooth)
        description.meshFlags = NX_MESH_SMOOTH_SPHERE_COLLISIONS;
    std::string error;
    description.meshData = NxTriangleMesh::create(mesh, &error);
    if (!description.meshData)
    {
        setFailed();
        physicsScene->logLine("Failed meshShape cooking for " + owner + ": " + error);
    }
}

}
