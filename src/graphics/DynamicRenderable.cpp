// Buffer sizing and bounds of the growable renderables.
#include "graphics/DynamicRenderable.h"

#include "LogStream.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgreMaterialManager.h>

#include <algorithm>

namespace
{
const char* const kFallbackMaterial = "BaseWhiteNoLighting";
}

DynamicRenderable::DynamicRenderable() = default;

DynamicRenderable::~DynamicRenderable()
{
    mRenderOp.vertexData = nullptr;
    mRenderOp.indexData = nullptr;
}

void DynamicRenderable::initialize(Ogre::RenderOperation::OperationType operationType, bool useIndexes)
{
    mRenderOp.operationType = operationType;
    mRenderOp.useIndexes = useIndexes;
    vertexData = std::make_unique<Ogre::VertexData>();
    mRenderOp.vertexData = vertexData.get();
    indexData.reset();
    if (useIndexes)
        indexData = std::make_unique<Ogre::IndexData>();
    mRenderOp.indexData = indexData.get();
    vertexBufferCapacity = 0;
    indexBufferCapacity = 0;
    createVertexDeclaration();
}

std::uint32_t DynamicRenderable::nextCapacity(std::uint32_t capacity, std::size_t count)
{
    if (count > capacity || capacity == 0)
    {
        std::uint32_t grown = capacity == 0 ? 1 : capacity;
        while (grown < count)
            grown *= 2;
        return grown;
    }
    // Shrink only once less than half is used, so a count wobbling round a power of two
    // does not reallocate every time.
    if (count < capacity / 2)
    {
        std::uint32_t shrunk = capacity;
        while (shrunk / 2 > count)
            shrunk /= 2;
        return shrunk;
    }
    return capacity;
}

void DynamicRenderable::prepareHardwareBuffers(std::size_t vertexCount, std::size_t indexCount)
{
    auto& bufferManager = Ogre::HardwareBufferManager::getSingleton();
    const std::uint32_t vertexCapacity = nextCapacity(vertexBufferCapacity, vertexCount);
    if (vertexCapacity != vertexBufferCapacity)
    {
        vertexBufferCapacity = vertexCapacity;
        auto buffer = bufferManager.createVertexBuffer(vertexData->vertexDeclaration->getVertexSize(0), vertexCapacity,
                                                       Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY, false);
        vertexData->vertexBufferBinding->setBinding(0, buffer);
    }
    vertexData->vertexStart = 0;
    vertexData->vertexCount = vertexCount;

    if (!mRenderOp.useIndexes)
        return;
    const std::uint32_t indexCapacity = nextCapacity(indexBufferCapacity, indexCount);
    if (indexCapacity != indexBufferCapacity)
    {
        indexBufferCapacity = indexCapacity;
        indexData->indexBuffer = bufferManager.createIndexBuffer(Ogre::HardwareIndexBuffer::IT_16BIT, indexCapacity,
                                                                 Ogre::HardwareBuffer::HBU_DYNAMIC_WRITE_ONLY, false);
    }
    indexData->indexStart = 0;
    indexData->indexCount = indexCount;
}

Ogre::Real DynamicRenderable::getBoundingRadius() const
{
    if (!mBox.isFinite())
        return 0.0f;
    return Ogre::Math::Sqrt(std::max(mBox.getMinimum().squaredLength(), mBox.getMaximum().squaredLength()));
}

Ogre::Real DynamicRenderable::getSquaredViewDepth(const Ogre::Camera* camera) const
{
    if (!mBox.isFinite())
        return 0.0f;
    return camera->getDerivedPosition().squaredDistance(mBox.getCenter());
}

void DynamicRenderable::setMaterialName(const std::string& name)
{
    Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(name);
    if (!material)
    {
        debugLog() << "DynamicRenderable: material \"" << name << "\" not found, using " << kFallbackMaterial
                   << std::endl;
        material = Ogre::MaterialManager::getSingleton().getByName(kFallbackMaterial);
    }
    setMaterial(material);
}

void DynamicRenderable::setBoundsToPoints(const std::vector<Ogre::Vector3>& points, std::size_t count)
{
    if (count == 0)
    {
        setBoundingBox(Ogre::AxisAlignedBox(Ogre::Vector3::ZERO, Ogre::Vector3::ZERO));
        return;
    }
    Ogre::Vector3 minimum = points[0];
    Ogre::Vector3 maximum = points[0];
    for (std::size_t i = 1; i < count; ++i)
    {
        minimum.makeFloor(points[i]);
        maximum.makeCeil(points[i]);
    }
    setBoundingBox(Ogre::AxisAlignedBox(minimum, maximum));
}
