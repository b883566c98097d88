// Vertex positions of an entity's mesh.
#include "physic/getMeshVertices.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubMesh.h>

void appendVertexPositions(const Ogre::VertexData& vertexData, const Ogre::Vector3& scale, std::vector<float>& out)
{
    const Ogre::VertexElement* element =
        vertexData.vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    if (!element || vertexData.vertexCount == 0)
        return;
    const Ogre::HardwareVertexBufferSharedPtr buffer = vertexData.vertexBufferBinding->getBuffer(element->getSource());
    const auto* base = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    base += vertexData.vertexStart * buffer->getVertexSize();
    for (std::size_t i = 0; i < vertexData.vertexCount; ++i, base += buffer->getVertexSize())
    {
        float* position = nullptr;
        element->baseVertexPointerToElement(const_cast<unsigned char*>(base), &position);
        out.push_back(position[0] * scale.x);
        out.push_back(position[1] * scale.y);
        out.push_back(position[2] * scale.z);
    }
    buffer->unlock();
}

std::vector<Ogre::Vector3> getMeshVertices(Ogre::Entity* entity)
{
    std::vector<float> flat;
    const Ogre::MeshPtr& mesh = entity->getMesh();
    bool sharedDone = false;
    for (unsigned short i = 0; i < mesh->getNumSubMeshes(); ++i)
    {
        const Ogre::SubMesh* sub = mesh->getSubMesh(i);
        if (sub->useSharedVertices)
        {
            if (sharedDone || !mesh->sharedVertexData)
                continue;
            sharedDone = true;
            appendVertexPositions(*mesh->sharedVertexData, Ogre::Vector3::UNIT_SCALE, flat);
        }
        else if (sub->vertexData)
            appendVertexPositions(*sub->vertexData, Ogre::Vector3::UNIT_SCALE, flat);
    }
    std::vector<Ogre::Vector3> vertices;
    vertices.reserve(flat.size() / 3);
    for (std::size_t i = 0; i + 2 < flat.size(); i += 3)
        vertices.emplace_back(flat[i], flat[i + 1], flat[i + 2]);
    return vertices;
}
