// Triangle mesh storage and its Bullet shape.
#include "platform/physics/NxTriangleMesh.h"

#include "platform/physics/NxIdleMeshShapes.h"

#include <BulletCollision/CollisionDispatch/btInternalEdgeUtility.h>
#include <BulletCollision/CollisionShapes/btTriangleInfoMap.h>
#include <btBulletCollisionCommon.h>

#include <string>

namespace nxOgre
{

std::shared_ptr<NxTriangleMesh> NxTriangleMesh::create(const NxTriangleMeshDesc& desc, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return std::shared_ptr<NxTriangleMesh>();
    };
    const std::size_t vertexCount = desc.points.size() / 3;
    const std::size_t triangleCount = desc.triangles.size() / 3;
    if (desc.points.size() % 3 != 0 || desc.triangles.size() % 3 != 0)
        return fail("point or index count is not a multiple of 3");
    if (vertexCount == 0 || triangleCount == 0)
        return fail("mesh has no triangles");
    for (std::uint32_t index : desc.triangles)
        if (index >= vertexCount)
            return fail("triangle index " + std::to_string(index) + " beyond " + std::to_string(vertexCount) +
                        " vertices");
    if (!desc.materialIndices.empty() && desc.materialIndices.size() != triangleCount)
        return fail("material count " + std::to_string(desc.materialIndices.size()) + " differs from triangle count " +
                    std::to_string(triangleCount));

    std::shared_ptr<NxTriangleMesh> mesh(new NxTriangleMesh());
    mesh->points = desc.points;
    mesh->triangles = desc.triangles;
    mesh->materials = desc.materialIndices;

    btIndexedMesh part;
    part.m_numTriangles = static_cast<int>(triangleCount);
    part.m_triangleIndexBase = reinterpret_cast<const unsigned char*>(mesh->triangles.data());
    part.m_triangleIndexStride = 3 * sizeof(std::uint32_t);
    part.m_numVertices = static_cast<int>(vertexCount);
    part.m_vertexBase = reinterpret_cast<const unsigned char*>(mesh->points.data());
    part.m_vertexStride = 3 * sizeof(float);
    part.m_indexType = PHY_INTEGER;
    part.m_vertexType = PHY_FLOAT;
    mesh->arrays = std::make_unique<btTriangleIndexVertexArray>();
    mesh->arrays->addIndexedMesh(part, PHY_INTEGER);
    return mesh;
}

void NxTriangleMesh::leaveIdle()
{
    if (idleIn)
        idleIn->remove(*this);
}

void NxTriangleMesh::freeShape()
{
    // The shape points at the info map: it goes first.
    shape.reset();
    edgeInfo.reset();
}

btBvhTriangleMeshShape* NxTriangleMesh::acquireShape()
{
    leaveIdle();
    if (!shape)
        shape = std::make_unique<btBvhTriangleMeshShape>(arrays.get(), true);
    ++shapeUsers;
    return shape.get();
}

void NxTriangleMesh::releaseShape(NxIdleMeshShapes& idleShapes)
{
    if (shapeUsers == 0 || --shapeUsers > 0)
        return;
    idleShapes.add(*this);
}

NxTriangleMesh::~NxTriangleMesh()
{
    leaveIdle();
    // The shape points at the info map and the arrays: it goes first.
    freeShape();
    arrays.reset();
}

NxMaterialIndex NxTriangleMesh::getTriangleMaterial(int triangle) const
{
    if (triangle < 0 || static_cast<std::size_t>(triangle) >= materials.size())
        return 0;
    return materials[static_cast<std::size_t>(triangle)];
}

void NxTriangleMesh::buildInternalEdgeInfo()
{
    if (edgeInfo || !shape)
        return;
    edgeInfo = std::make_unique<btTriangleInfoMap>();
    btGenerateInternalEdgeInfo(shape.get(), edgeInfo.get());
}

}
