// Fills the quad strip's vertex buffer: four vertices per pair of pairs.
#include "graphics/DynamicQuads.h"

#include <OGRE/OgreHardwareBufferManager.h>

DynamicQuads::DynamicQuads(Ogre::RenderOperation::OperationType operationType)
{
    initialize(operationType, false);
    setMaterialName(kDefaultMaterial);
}

void DynamicQuads::createVertexDeclaration()
{
    Ogre::VertexDeclaration* declaration = mRenderOp.vertexData->vertexDeclaration;
    declaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration->addElement(0, Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT3), Ogre::VET_FLOAT2,
                            Ogre::VES_TEXTURE_COORDINATES, 0);
}

void DynamicQuads::fillHardwareBuffers()
{
    const std::size_t pointCount = points.size() & ~std::size_t(1);
    // A quad needs two pairs: until then the buffers keep what they had.
    if (pointCount < 4)
        return;
    prepareHardwareBuffers(2 * pointCount - 4, 0);

    const auto& buffer = mRenderOp.vertexData->vertexBufferBinding->getBuffer(0);
    auto* out = static_cast<float*>(buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    auto writeVertex = [&out](const Ogre::Vector3& position, float u, float v) {
        *out++ = position.x;
        *out++ = position.y;
        *out++ = position.z;
        *out++ = u;
        *out++ = v;
    };
    for (std::size_t i = 0; i + 2 < pointCount; i += 2)
    {
        writeVertex(points[i], 0.0f, 0.0f);
        writeVertex(points[i + 1], 1.0f, 0.0f);
        writeVertex(points[i + 2], 0.0f, 1.0f);
        writeVertex(points[i + 3], 1.0f, 1.0f);
    }
    buffer->unlock();
    setBoundsToPoints(points, pointCount);
    dirty = false;
}
