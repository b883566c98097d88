// Fills the line list's vertex buffer: one vertex per point.
#include "graphics/DynamicLines.h"

#include <OGRE/OgreHardwareBufferManager.h>

#include <cassert>

DynamicLines::DynamicLines(Ogre::RenderOperation::OperationType operationType)
{
    initialize(operationType, false);
    setMaterialName(kDefaultMaterial);
}

void DynamicLines::setPoint(std::uint16_t index, const Ogre::Vector3& point)
{
    if (index >= points.size())
        return;
    points[index] = point;
    dirty = true;
}

const Ogre::Vector3& DynamicLines::getPoint(std::uint16_t index) const
{
    assert(index < points.size());
    return points.at(index);
}

std::uint16_t DynamicLines::getNumPoints() const
{
    return static_cast<std::uint16_t>(points.size());
}

void DynamicLines::createVertexDeclaration()
{
    mRenderOp.vertexData->vertexDeclaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
}

void DynamicLines::fillHardwareBuffers()
{
    prepareHardwareBuffers(points.size(), 0);
    const auto& buffer = mRenderOp.vertexData->vertexBufferBinding->getBuffer(0);
    auto* out = static_cast<float*>(buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    for (const Ogre::Vector3& point : points)
    {
        *out++ = point.x;
        *out++ = point.y;
        *out++ = point.z;
    }
    buffer->unlock();
    setBoundsToPoints(points, points.size());
    dirty = false;
}
