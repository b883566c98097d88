// Baking the queued copies of one material and format into static buffers.
#include "paging/BatchedGeometrySubBatch.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreHardwareBufferManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRenderQueue.h>
#include <OGRE/OgreSubMesh.h>
#include <OGRE/OgreTechnique.h>

#include <algorithm>
#include <cstring>
#include <sstream>

namespace
{
// Indices of 16 bits reach 65,536 vertices; bigger batches need 32-bit indices.
constexpr size_t kMax16BitVertices = 65535;

Ogre::HardwareIndexBuffer::IndexType indexType(const Ogre::SubMesh& subMesh)
{
    const Ogre::HardwareIndexBufferSharedPtr& buffer = subMesh.indexData->indexBuffer;
    return buffer ? buffer->getType() : Ogre::HardwareIndexBuffer::IT_16BIT;
}

Ogre::ColourValue swapRedBlue(Ogre::ColourValue colour)
{
    std::swap(colour.r, colour.b);
    return colour;
}

// The colour in the byte order the render system's packed colours have.
Ogre::ColourValue inVertexOrder(const Ogre::ColourValue& colour, Ogre::VertexElementType type,
                                const char* source)
{
    switch (type)
    {
    case Ogre::VET_COLOUR_ARGB:
        return swapRedBlue(colour);
    case Ogre::VET_COLOUR_ABGR:
        return colour;
    default:
        OGRE_EXCEPT(Ogre::Exception::ERR_CANNOT_WRITE_TO_FILE, "Unknown RenderSystem color format",
                    source);
    }
}

unsigned char colourByte(float value)
{
    return static_cast<unsigned char>(std::min(255.0f, std::max(0.0f, value)));
}

bool isPackedColour(Ogre::VertexElementType type)
{
    return type == Ogre::VET_COLOUR || type == Ogre::VET_COLOUR_ABGR ||
           type == Ogre::VET_COLOUR_ARGB || type == Ogre::VET_UBYTE4_NORM;
}

bool isFloatVector(Ogre::VertexElementType type)
{
    return Ogre::VertexElement::getBaseType(type) == Ogre::VET_FLOAT1 &&
           Ogre::VertexElement::getTypeCount(type) >= 3;
}

Ogre::Vector3 readVector(const unsigned char* where)
{
    float xyz[3];
    std::memcpy(xyz, where, sizeof(xyz));
    return Ogre::Vector3(xyz[0], xyz[1], xyz[2]);
}

void writeVector(unsigned char* where, const Ogre::Vector3& value)
{
    const float xyz[3] = {value.x, value.y, value.z};
    std::memcpy(where, xyz, sizeof(xyz));
}
}

BatchedGeometry::SubBatch::SubBatch(BatchedGeometry* parentBatch, Ogre::SubMesh* subMesh,
                                    const Ogre::MaterialPtr& subMaterial)
    : vertexData(subMesh->vertexData->clone(false)),
      indexData(subMesh->indexData->clone(false)),
      meshType(subMesh),
      parent(parentBatch),
      material(subMaterial)
{
    removeBlendElements();
    vertexData->vertexStart = 0;
    vertexData->vertexCount = 0;
    indexData->indexStart = 0;
    indexData->indexCount = 0;
}

BatchedGeometry::SubBatch::~SubBatch()
{
    clear();
}

std::string BatchedGeometry::SubBatch::formatString(const Ogre::SubMesh& subMesh,
                                                    const Ogre::String& materialName)
{
    std::ostringstream format;
    format << materialName << "|" << indexType(subMesh) << "|";
    for (const Ogre::VertexElement& element : subMesh.vertexData->vertexDeclaration->getElements())
        format << element.getSource() << "|" << element.getSemantic() << "|" << element.getType()
               << "|";
    return format.str();
}

// A batch is never skinned: the bone weights and their buffer go, when they have one of
// their own. The remaining sources are renumbered without gaps.
void BatchedGeometry::SubBatch::removeBlendElements()
{
    Ogre::VertexDeclaration* declaration = vertexData->vertexDeclaration;
    Ogre::VertexBufferBinding* binding = vertexData->vertexBufferBinding;
    const Ogre::VertexElement* blendIndices =
        declaration->findElementBySemantic(Ogre::VES_BLEND_INDICES);
    const Ogre::VertexElement* blendWeights =
        declaration->findElementBySemantic(Ogre::VES_BLEND_WEIGHTS);
    if (blendIndices && blendWeights)
    {
        const unsigned short blendSource = blendIndices->getSource();
        bool ownSource = true;
        for (const Ogre::VertexElement& element : declaration->findElementsBySource(blendSource))
            ownSource = ownSource && (element.getSemantic() == Ogre::VES_BLEND_INDICES ||
                                      element.getSemantic() == Ogre::VES_BLEND_WEIGHTS);
        if (ownSource && blendWeights->getSource() == blendSource)
        {
            binding->unsetBinding(blendSource);
            declaration->removeElement(Ogre::VES_BLEND_INDICES);
            declaration->removeElement(Ogre::VES_BLEND_WEIGHTS);
        }
    }

    Ogre::VertexBufferBinding::BindingIndexMap renumbered;
    binding->closeGaps(renumbered);
    const Ogre::VertexDeclaration::VertexElementList elements = declaration->getElements();
    unsigned short elementIndex = 0;
    for (const Ogre::VertexElement& element : elements)
    {
        declaration->modifyElement(elementIndex++, renumbered[element.getSource()],
                                   element.getOffset(), element.getType(), element.getSemantic(),
                                   element.getIndex());
    }
    submeshSource.assign(renumbered.size(), -1);
    for (const auto& entry : renumbered)
        submeshSource[entry.second] = entry.first;
}

void BatchedGeometry::SubBatch::addSubMesh(Ogre::SubMesh* subMesh, const Ogre::Vector3& position,
                                           const Ogre::Quaternion& orientation,
                                           const Ogre::Vector3& scale,
                                           const Ogre::ColourValue& color)
{
    QueuedMesh copy;
    copy.subMesh = subMesh;
    copy.position = position;
    copy.orientation = orientation;
    copy.scale = scale;
    copy.color = inVertexOrder(color, parent->getColourType(),
                               "BatchedGeometry::SubBatch::addSubMesh()");
    meshQueue.push_back(copy);
    vertexData->vertexCount += subMesh->vertexData->vertexCount;
    indexData->indexCount += subMesh->indexData->indexCount;
}

void BatchedGeometry::SubBatch::build()
{
    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    Ogre::VertexDeclaration* declaration = vertexData->vertexDeclaration;
    Ogre::VertexBufferBinding* binding = vertexData->vertexBufferBinding;

    // A sub-batch whose only copy was refused holds nothing, and the engine makes no empty
    // buffer: such a sub-batch gets buffers of one element and draws nothing.
    const Ogre::HardwareIndexBuffer::IndexType outType =
        vertexData->vertexCount > kMax16BitVertices ? Ogre::HardwareIndexBuffer::IT_32BIT
                                                    : indexType(*meshType);
    indexData->indexBuffer = buffers.createIndexBuffer(
        outType, std::max<size_t>(indexData->indexCount, 1), Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    void* indexPos = indexData->indexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);

    std::vector<unsigned char*> writePos(submeshSource.size());
    const size_t vertexCount = std::max<size_t>(vertexData->vertexCount, 1);
    for (size_t source = 0; source < submeshSource.size(); ++source)
    {
        const auto index = static_cast<unsigned short>(source);
        const size_t vertexSize =
            meshType->vertexData->vertexBufferBinding->getBuffer(submeshSource[source])->getVertexSize();
        Ogre::HardwareVertexBufferSharedPtr buffer = buffers.createVertexBuffer(
            vertexSize, vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        binding->setBinding(index, buffer);
        writePos[source] = static_cast<unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    }
    if (!declaration->findElementBySemantic(Ogre::VES_DIFFUSE))
    {
        // A colour of our own per vertex carries the copies' tints.
        const auto index = static_cast<unsigned short>(submeshSource.size());
        declaration->addElement(index, 0, parent->getColourType(), Ogre::VES_DIFFUSE);
        Ogre::HardwareVertexBufferSharedPtr buffer = buffers.createVertexBuffer(
            declaration->getVertexSize(index), vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        binding->setBinding(index, buffer);
        submeshSource.push_back(-1);
        writePos.push_back(static_cast<unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD)));
    }

    // The tints reach the lighting through the ambient colour.
    Ogre::ColourValue ambient = Ogre::ColourValue::White;
    if (material->getNumTechniques() > 0 && material->getTechnique(0)->getNumPasses() > 0)
    {
        Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
        pass->setVertexColourTracking(Ogre::TVC_AMBIENT);
        ambient = pass->getAmbient();
    }
    ambient = inVertexOrder(ambient, parent->getColourType(), "BatchedGeometry::SubBatch::build()");

    size_t vertexOffset = 0;
    for (const QueuedMesh& copy : meshQueue)
    {
        bakeVertices(copy, writePos, ambient);
        bakeIndices(copy, indexPos, vertexOffset);
        const size_t copyVertices = copy.subMesh->vertexData->vertexCount;
        const size_t copyIndices = copy.subMesh->indexData->indexCount;
        for (size_t source = 0; source < writePos.size(); ++source)
            writePos[source] += copyVertices * binding->getBuffer(static_cast<unsigned short>(source))->getVertexSize();
        indexPos = static_cast<unsigned char*>(indexPos) +
                   copyIndices * indexData->indexBuffer->getIndexSize();
        vertexOffset += copyVertices;
    }

    indexData->indexBuffer->unlock();
    for (size_t source = 0; source < writePos.size(); ++source)
        binding->getBuffer(static_cast<unsigned short>(source))->unlock();
    meshQueue.clear();
    built = true;
}

void BatchedGeometry::SubBatch::bakeVertices(const QueuedMesh& copy,
                                             const std::vector<unsigned char*>& writePos,
                                             const Ogre::ColourValue& ambient)
{
    const Ogre::VertexData& source = *copy.subMesh->vertexData;
    const Ogre::Vector3 offset = copy.position - parent->getCenter();
    const float tint[3] = {ambient.r * copy.color.r, ambient.g * copy.color.g,
                           ambient.b * copy.color.b};
    for (size_t bufferIndex = 0; bufferIndex < writePos.size(); ++bufferIndex)
    {
        unsigned char* out = writePos[bufferIndex];
        const int from = submeshSource[bufferIndex];
        if (from < 0)
        {
            const unsigned char colour[4] = {colourByte(tint[0] * 255.0f),
                                             colourByte(tint[1] * 255.0f),
                                             colourByte(tint[2] * 255.0f), 255};
            for (size_t vertex = 0; vertex < source.vertexCount; ++vertex, out += 4)
                std::memcpy(out, colour, sizeof(colour));
            continue;
        }

        const Ogre::HardwareVertexBufferSharedPtr& input =
            source.vertexBufferBinding->getBuffer(static_cast<unsigned short>(from));
        const size_t inSize = input->getVertexSize();
        const size_t outSize =
            vertexData->vertexBufferBinding->getBuffer(static_cast<unsigned short>(bufferIndex))
                ->getVertexSize();
        const auto elements = vertexData->vertexDeclaration->findElementsBySource(
            static_cast<unsigned short>(bufferIndex));
        Ogre::HardwareBufferLockGuard lock(input, source.vertexStart * inSize,
                                           source.vertexCount * inSize,
                                           Ogre::HardwareBuffer::HBL_READ_ONLY);
        const auto* in = static_cast<const unsigned char*>(lock.pData);
        for (size_t vertex = 0; vertex < source.vertexCount; ++vertex, in += inSize, out += outSize)
        {
            std::memcpy(out, in, std::min(inSize, outSize));
            for (const Ogre::VertexElement& element : elements)
            {
                unsigned char* field = out + element.getOffset();
                switch (element.getSemantic())
                {
                case Ogre::VES_POSITION:
                    if (isFloatVector(element.getType()))
                        writeVector(field, copy.orientation * (readVector(field) * copy.scale) + offset);
                    break;
                case Ogre::VES_NORMAL:
                case Ogre::VES_BINORMAL:
                case Ogre::VES_TANGENT:
                    if (isFloatVector(element.getType()))
                        writeVector(field, copy.orientation * readVector(field));
                    break;
                case Ogre::VES_DIFFUSE:
                    if (isPackedColour(element.getType()))
                        for (int component = 0; component < 3; ++component)
                            field[component] = colourByte(field[component] * tint[component]);
                    break;
                default:
                    break;
                }
            }
        }
    }
}

void BatchedGeometry::SubBatch::bakeIndices(const QueuedMesh& copy, void* indexPos,
                                            size_t vertexOffset)
{
    const Ogre::IndexData& source = *copy.subMesh->indexData;
    if (source.indexCount == 0)
        return;
    const Ogre::HardwareIndexBufferSharedPtr& input = source.indexBuffer;
    const size_t inputSize = input->getIndexSize();
    Ogre::HardwareBufferLockGuard lock(input, source.indexStart * inputSize,
                                       source.indexCount * inputSize,
                                       Ogre::HardwareBuffer::HBL_READ_ONLY);
    const bool wideOut = indexData->indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT;
    for (size_t i = 0; i < source.indexCount; ++i)
    {
        uint32_t index = 0;
        if (input->getType() == Ogre::HardwareIndexBuffer::IT_32BIT)
            index = static_cast<const uint32_t*>(lock.pData)[i];
        else
            index = static_cast<const uint16_t*>(lock.pData)[i];
        index += static_cast<uint32_t>(vertexOffset);
        if (wideOut)
            static_cast<uint32_t*>(indexPos)[i] = index;
        else
            static_cast<uint16_t*>(indexPos)[i] = static_cast<uint16_t>(index);
    }
}

void BatchedGeometry::SubBatch::clear()
{
    if (built)
    {
        indexData->indexBuffer.reset();
        vertexData->vertexBufferBinding->unsetAllBindings();
        vertexData->vertexStart = 0;
        vertexData->vertexCount = 0;
        indexData->indexStart = 0;
        indexData->indexCount = 0;
    }
    meshQueue.clear();
    built = false;
}

void BatchedGeometry::SubBatch::addSelfToRenderQueue(Ogre::RenderQueue* queue, Ogre::uint8 group)
{
    if (!built)
        return;
    bestTechnique =
        material->getBestTechnique(material->getLodIndex(parent->getMinDistanceSquared()), this);
    queue->addRenderable(this, group);
}

Ogre::Technique* BatchedGeometry::SubBatch::getTechnique() const
{
    return bestTechnique ? bestTechnique : material->getBestTechnique(0, this);
}

void BatchedGeometry::SubBatch::getRenderOperation(Ogre::RenderOperation& op)
{
    op.operationType = Ogre::RenderOperation::OT_TRIANGLE_LIST;
    op.srcRenderable = this;
    op.useIndexes = true;
    op.vertexData = vertexData.get();
    op.indexData = indexData.get();
}

void BatchedGeometry::SubBatch::getWorldTransforms(Ogre::Matrix4* xform) const
{
    *xform = parent->_getParentNodeFullTransform();
}

Ogre::Real BatchedGeometry::SubBatch::getSquaredViewDepth(const Ogre::Camera* camera) const
{
    return camera->getDerivedPosition().squaredDistance(parent->getCenter());
}

const Ogre::LightList& BatchedGeometry::SubBatch::getLights() const
{
    return parent->queryLights();
}
