// Checked entity creation for data-file meshes.
#include "physic/MeshEntity.h"

#include <OGRE/Ogre.h>

#include <cstdint>

namespace
{
constexpr std::uint16_t kHeaderChunk = 0x1000;
constexpr std::size_t kChunkHeaderBytes = 6;  // id (16 bits), length (32 bits)

// The engine's reader stops quietly at the end of the file: a mesh cut short loads part of
// its geometry. Its chunks must fill the file exactly, each within it.
std::string structureProblem(const std::string& bytes)
{
    if (bytes.size() < 2)
        return "too short to be a mesh";
    const auto byte = [&](std::size_t at) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])); };
    const bool little = (byte(0) | byte(1) << 8) == kHeaderChunk;
    if (!little && (byte(1) | byte(0) << 8) != kHeaderChunk)
        return "not a mesh file";
    std::size_t at = bytes.find('\n', 2);
    if (at == std::string::npos)
        return "not a mesh file";
    ++at;
    if (at == bytes.size())
        return "holds no mesh";
    while (at < bytes.size())
    {
        if (bytes.size() - at < kChunkHeaderBytes)
            return "cut short";
        const std::uint32_t length = little ? byte(at + 2) | byte(at + 3) << 8 | byte(at + 4) << 16 | byte(at + 5) << 24
                                            : byte(at + 5) | byte(at + 4) << 8 | byte(at + 3) << 16 | byte(at + 2) << 24;
        if (length < kChunkHeaderBytes || length > bytes.size() - at)
            return "cut short or damaged";
        at += length;
    }
    return "";
}

bool hasGeometry(const Ogre::Mesh& mesh)
{
    if (mesh.sharedVertexData && mesh.sharedVertexData->vertexCount > 0)
        return true;
    for (unsigned short i = 0; i < mesh.getNumSubMeshes(); ++i)
    {
        const Ogre::SubMesh* sub = mesh.getSubMesh(i);
        if (!sub->useSharedVertices && sub->vertexData && sub->vertexData->vertexCount > 0)
            return true;
    }
    return false;
}
}

void checkMeshFile(const std::string& meshName, const std::string& group)
{
    const Ogre::MeshPtr known = Ogre::MeshManager::getSingleton().getByName(meshName, Ogre::RGN_AUTODETECT);
    if (known && (known->isLoaded() || known->isManuallyLoaded()))
        return;
    const Ogre::DataStreamPtr stream =
        Ogre::ResourceGroupManager::getSingleton().openResource(meshName, group.empty() ? Ogre::RGN_DEFAULT : group);
    const std::string problem = structureProblem(stream->getAsString());
    if (!problem.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "mesh \"" + meshName + "\": " + problem, "createMeshEntity");
}

Ogre::Entity* createMeshEntity(Ogre::SceneManager& sceneManager, const std::string& name, const std::string& meshName)
{
    Ogre::Entity* entity = nullptr;
    try
    {
        checkMeshFile(meshName);
        entity = sceneManager.createEntity(name, meshName);
    }
    catch (const Ogre::Exception& error)
    {
        if (error.getDescription().rfind("mesh \"", 0) == 0)
            throw;
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "mesh \"" + meshName + "\": " + error.getDescription(),
                    "createMeshEntity");
    }
    if (entity->getNumSubEntities() == 0 || !hasGeometry(*entity->getMesh()))
    {
        sceneManager.destroyEntity(entity);
        OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, "mesh \"" + meshName + "\" holds no geometry (damaged?)",
                    "createMeshEntity");
    }
    return entity;
}
