// Meshes for the batching tests.
#include "BatchMeshes.h"

#include <OGRE/Ogre.h>

#include <cstring>

namespace
{
// Position, normal and texture coordinate in source 0 (colour too when asked), the bone
// weights in source 1 and a second texture coordinate in the last source, so that a batch
// dropping the bones must renumber the sources behind them.
Ogre::VertexData* makeVertices(const BatchMeshes::Layout& layout)
{
    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    auto* data = new Ogre::VertexData();
    data->vertexCount = layout.vertices;
    Ogre::VertexDeclaration* declaration = data->vertexDeclaration;
    size_t offset = 0;
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_POSITION).getSize();
    offset += declaration->addElement(0, offset, Ogre::VET_FLOAT3, Ogre::VES_NORMAL).getSize();
    if (layout.diffuse)
        offset += declaration->addElement(0, offset, Ogre::VET_COLOUR_ABGR, Ogre::VES_DIFFUSE).getSize();
    declaration->addElement(0, offset, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 0);
    unsigned short lastSource = 1;
    if (layout.blendWeights)
    {
        declaration->addElement(1, 0, Ogre::VET_UBYTE4, Ogre::VES_BLEND_INDICES);
        declaration->addElement(1, 4, Ogre::VET_FLOAT1, Ogre::VES_BLEND_WEIGHTS);
        lastSource = 2;
    }
    declaration->addElement(lastSource, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES, 1);

    for (unsigned short source = 0; source <= lastSource; ++source)
    {
        const size_t size = declaration->getVertexSize(source);
        Ogre::HardwareVertexBufferSharedPtr buffer = buffers.createVertexBuffer(
            size, layout.vertices, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
        auto* out = static_cast<unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_DISCARD));
        std::memset(out, 0, size * layout.vertices);
        for (size_t n = 0; n < layout.vertices; ++n, out += size)
        {
            for (const Ogre::VertexElement& element : declaration->findElementsBySource(source))
            {
                unsigned char* field = out + element.getOffset();
                const Ogre::Vector3 p = BatchMeshes::vertexPosition(n);
                const float position[3] = {p.x, p.y, p.z};
                const float normal[3] = {0.0f, 0.0f, 1.0f};
                const float uv[2] = {static_cast<float>(n), 2.0f * n};
                switch (element.getSemantic())
                {
                case Ogre::VES_POSITION: std::memcpy(field, position, sizeof(position)); break;
                case Ogre::VES_NORMAL: std::memcpy(field, normal, sizeof(normal)); break;
                case Ogre::VES_DIFFUSE: std::memcpy(field, BatchMeshes::kVertexColour, 4); break;
                case Ogre::VES_TEXTURE_COORDINATES: std::memcpy(field, uv, sizeof(uv)); break;
                default: break;  // bones stay zero
                }
            }
        }
        buffer->unlock();
        data->vertexBufferBinding->setBinding(source, buffer);
    }
    return data;
}

void makeIndices(Ogre::IndexData& data, const BatchMeshes::Layout& layout)
{
    data.indexCount = BatchMeshes::indexCount(layout.vertices);
    data.indexBuffer = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        layout.indexType, data.indexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY);
    void* out = data.indexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    for (size_t k = 0; k + 2 < layout.vertices; ++k)
    {
        for (size_t corner = 0; corner < 3; ++corner)
        {
            const size_t at = 3 * k + corner;
            if (layout.indexType == Ogre::HardwareIndexBuffer::IT_32BIT)
                static_cast<uint32_t*>(out)[at] = static_cast<uint32_t>(k + corner);
            else
                static_cast<uint16_t*>(out)[at] = static_cast<uint16_t>(k + corner);
        }
    }
    data.indexBuffer->unlock();
}
}

Ogre::Vector3 BatchMeshes::vertexPosition(size_t n)
{
    return Ogre::Vector3(static_cast<float>(n % 5), 0.5f * static_cast<float>(n % 3), 1.0f);
}

size_t BatchMeshes::indexCount(size_t vertices) { return vertices < 3 ? 0 : 3 * (vertices - 2); }

Ogre::MeshPtr BatchMeshes::make(const std::string& name, const Layout& layout)
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    for (const std::string& material : layout.materials)
        if (!materials.resourceExists(material))
            materials.create(material, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);

    Ogre::MeshManager& meshes = Ogre::MeshManager::getSingleton();
    if (meshes.resourceExists(name))
        meshes.remove(name);
    Ogre::MeshPtr mesh =
        meshes.createManual(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    if (layout.sharedVertices)
        mesh->sharedVertexData = makeVertices(layout);
    for (const std::string& material : layout.materials)
    {
        Ogre::SubMesh* subMesh = mesh->createSubMesh();
        subMesh->useSharedVertices = layout.sharedVertices;
        if (!layout.sharedVertices)
            subMesh->vertexData = makeVertices(layout);
        makeIndices(*subMesh->indexData, layout);
        subMesh->setMaterialName(material);
    }
    Ogre::AxisAlignedBox bounds;
    for (size_t n = 0; n < layout.vertices; ++n)
        bounds.merge(vertexPosition(n));
    mesh->_setBounds(bounds, false);  // exact, so the tests can compare bounds
    mesh->load();
    return mesh;
}
