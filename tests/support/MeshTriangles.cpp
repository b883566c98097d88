// Reading a mesh's triangles back.
#include "MeshTriangles.h"

#include <OGRE/OgreHardwareBuffer.h>
#include <OGRE/OgreMath.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubMesh.h>

#include <cstring>

std::vector<MeshTriangle> meshTriangles(const Ogre::Mesh& mesh, const std::string& material)
{
    std::vector<MeshTriangle> triangles;
    for (const Ogre::SubMesh* sub : mesh.getSubMeshes())
    {
        if (!material.empty() && sub->getMaterialName() != material)
            continue;
        const Ogre::VertexData& vertices = sub->useSharedVertices ? *mesh.sharedVertexData : *sub->vertexData;
        const Ogre::VertexElement* position = vertices.vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
        const Ogre::HardwareVertexBufferSharedPtr buffer = vertices.vertexBufferBinding->getBuffer(position->getSource());
        std::vector<unsigned char> bytes(buffer->getSizeInBytes());
        buffer->readData(0, bytes.size(), bytes.data());
        const auto vertex = [&](std::uint32_t i) {
            float xyz[3];
            std::memcpy(xyz, bytes.data() + (vertices.vertexStart + i) * buffer->getVertexSize() + position->getOffset(),
                        sizeof xyz);
            return Ogre::Vector3(xyz[0], xyz[1], xyz[2]);
        };
        const Ogre::IndexData& indexData = *sub->indexData;
        const size_t indexSize = indexData.indexBuffer->getIndexSize();
        std::vector<std::uint32_t> indices(indexData.indexCount);
        for (size_t i = 0; i < indexData.indexCount; ++i)
        {
            std::uint32_t index = 0;  // little-endian: a 16-bit index fills the low half
            indexData.indexBuffer->readData((indexData.indexStart + i) * indexSize, indexSize, &index);
            indices[i] = index;
        }
        for (size_t i = 0; i + 2 < indices.size(); i += 3)
            triangles.push_back({vertex(indices[i]), vertex(indices[i + 1]), vertex(indices[i + 2])});
    }
    return triangles;
}

float nearestHit(const std::vector<MeshTriangle>& triangles, const Ogre::Ray& ray)
{
    float nearest = -1.0f;
    for (const MeshTriangle& t : triangles)
        if (const auto hit = Ogre::Math::intersects(ray, t[0], t[1], t[2], true, true);
            hit.first && (nearest < 0.0f || hit.second < nearest))
            nearest = hit.second;
    return nearest;
}
