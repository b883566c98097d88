// Atlas files: content hashes of meshes, and PNG files read and written by path.
#include "paging/ImpostorAtlasCache.h"

#include "FolderManager.h"
#include "LogStream.h"
#include "RegularFile.h"
#include "graphics/PictureFile.h"

#include <OGRE/OgreHardwareBuffer.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubMesh.h>

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace
{
// FNV-1a, 64 bits: enough to tell versions of one mesh apart, and stable across runs.
class Fnv1a
{
public:
    void add(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i)
        {
            value ^= bytes[i];
            value *= 1099511628211ULL;
        }
    }
    void add(const std::string& text) { add(text.data(), text.size() + 1); }
    uint64_t get() const { return value; }

private:
    uint64_t value = 14695981039346656037ULL;
};

void addVertices(Fnv1a& hash, const Ogre::VertexData* vertices)
{
    if (!vertices)
        return;
    for (const Ogre::VertexElement& element : vertices->vertexDeclaration->getElements())
    {
        const int layout[4] = {element.getSource(), static_cast<int>(element.getOffset()), element.getType(),
                               element.getSemantic() * 16 + element.getIndex()};
        hash.add(layout, sizeof(layout));
    }
    for (const auto& binding : vertices->vertexBufferBinding->getBindings())
    {
        const Ogre::HardwareVertexBufferSharedPtr& buffer = binding.second;
        const size_t size = buffer->getVertexSize();
        Ogre::HardwareBufferLockGuard lock(buffer, vertices->vertexStart * size, vertices->vertexCount * size,
                                           Ogre::HardwareBuffer::HBL_READ_ONLY);
        hash.add(lock.pData, vertices->vertexCount * size);
    }
}

void addIndices(Fnv1a& hash, const Ogre::IndexData* indices)
{
    if (!indices || !indices->indexBuffer || indices->indexCount == 0)
        return;
    const Ogre::HardwareIndexBufferSharedPtr& buffer = indices->indexBuffer;
    const size_t size = buffer->getIndexSize();
    Ogre::HardwareBufferLockGuard lock(buffer, indices->indexStart * size, indices->indexCount * size,
                                       Ogre::HardwareBuffer::HBL_READ_ONLY);
    hash.add(lock.pData, indices->indexCount * size);
}

std::string withoutSlashes(std::string name)
{
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

}

namespace ImpostorAtlasCache
{
uint64_t contentHash(const Ogre::Mesh& mesh)
{
    Fnv1a hash;
    addVertices(hash, mesh.sharedVertexData);
    for (const Ogre::SubMesh* subMesh : mesh.getSubMeshes())
    {
        hash.add(subMesh->getMaterialName());
        if (!subMesh->useSharedVertices)
            addVertices(hash, subMesh->vertexData);
        addIndices(hash, subMesh->indexData);
    }
    return hash.get();
}

std::string fileName(const Ogre::Mesh& mesh, uint32_t resolution)
{
    std::ostringstream name;
    name << "Impostor." << withoutSlashes(mesh.getGroup()) << "." << withoutSlashes(mesh.getName()) << "."
         << std::hex << std::setw(16) << std::setfill('0') << contentHash(mesh) << std::dec << "." << resolution
         << ".png";
    return name.str();
}

bool load(const std::string& folder, const std::string& name, Ogre::Image& image)
{
    if (folder.empty() || !isRegularFile(folder + name))
        return false;
    return PictureFile::readImage(folder + name, image);
}

bool save(const std::string& folder, const std::string& name, const Ogre::Image& image)
{
    if (folder.empty() || !FolderManager::folderExists(folder, true))
    {
        debugLog() << "Impostor atlas '" << name << "' not kept: the folder '" << folder
                   << "' can't be made" << std::endl;
        return false;
    }
    const Ogre::PixelBox box = image.getPixelBox();
    std::vector<std::uint8_t> pixels(static_cast<const std::uint8_t*>(box.data),
                                     static_cast<const std::uint8_t*>(box.data) + image.getSize());
    if (image.getFormat() != Ogre::PF_BYTE_RGBA ||
        !PictureFile::encodeAndWrite(pixels, image.getWidth(), image.getHeight(), Ogre::PF_BYTE_RGBA,
                                     folder + name))
    {
        debugLog() << "Impostor atlas '" << folder << name << "' can't be written: the trees are drawn "
                   << "from the pictures in memory and rendered again next time" << std::endl;
        return false;
    }
    return true;
}
}
