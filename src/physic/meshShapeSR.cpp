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
}

meshShapeSR::meshShapeSR(Ogre::Entity* entity, scene* physicsScene, bool smooth, const MeshShapeParams& params)
    : shape(kShapeTypeMesh)
{
    NxTriangleMeshDesc mesh;
    const Ogre::MeshPtr& source = entity->getMesh();
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
                appendVertexPositions(*source->sharedVertexData, params.scale, mesh.points);
            }
            blockStart = sharedStart;
        }
        else if (sub->vertexData)
            appendVertexPositions(*sub->vertexData, params.scale, mesh.points);
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
        physicsScene->logLine("Failed meshShape cooking for Entity '" + entity->getName() + "': " + error);
    }
}

}
