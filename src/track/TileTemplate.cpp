// Template entities of a tile type and the per-tile clones made from them.
#include "track/TileTemplate.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSceneManager.h>

#include <stdexcept>

namespace
{
// Clones the entity's mesh (in the group of the mesh it copies) and makes an entity of it.
Ogre::Entity* cloneEntity(Ogre::SceneManager& sceneManager, const Ogre::Entity& source, const std::string& meshName,
                          const std::string& entityName)
{
    Ogre::MeshPtr mesh = source.getMesh()->clone(meshName);
    return sceneManager.createEntity(entityName, mesh);
}
}

TileTemplate::TileTemplate(const std::string& name, const std::string& renderMesh,
                           const std::vector<std::string>& physicMeshes, const std::vector<std::string>& smoothMeshes,
                           Ogre::SceneManager* sceneManager, bool lightMapped)
    : sceneManager(sceneManager), name(name), lightMapped(lightMapped)
{
    try
    {
        if (!renderMesh.empty())
            renderEntity = createTemplateEntity(name + "_RenderEntity_Template", renderMesh);
        for (size_t i = 0; i < physicMeshes.size(); ++i)
            physicEntities.push_back(
                createTemplateEntity(name + "_PhysicEntity_Template" + std::to_string(i), physicMeshes[i]));
        for (size_t i = 0; i < smoothMeshes.size(); ++i)
            smoothEntities.push_back(
                createTemplateEntity(name + "_PhysicSmoothEntity_Template" + std::to_string(i), smoothMeshes[i]));
    }
    catch (...)
    {
        destroyAll();
        throw;
    }
}

TileTemplate::~TileTemplate()
{
    destroyAll();
}

Ogre::Entity* TileTemplate::createTemplateEntity(const std::string& entityName, const std::string& meshName)
{
    try
    {
        return sceneManager->createEntity(entityName, meshName);
    }
    catch (const Ogre::Exception& error)
    {
        throw std::runtime_error("mesh \"" + meshName + "\" can't be loaded (" + error.getDescription() + ")");
    }
}

void TileTemplate::destroyAll()
{
    if (renderEntity)
        sceneManager->destroyEntity(renderEntity);
    renderEntity = nullptr;
    for (Ogre::Entity* entity : physicEntities)
        sceneManager->destroyEntity(entity);
    physicEntities.clear();
    for (Ogre::Entity* entity : smoothEntities)
        sceneManager->destroyEntity(entity);
    smoothEntities.clear();
}

std::string TileTemplate::nextInstanceName()
{
    return name + "." + std::to_string(instanceCounter++);
}

std::string TileTemplate::createInstance(Ogre::Entity*& renderClone, std::vector<Ogre::MeshPtr>& physicMeshes,
                                         std::vector<Ogre::MeshPtr>& smoothMeshes)
{
    const std::string instance = nextInstanceName();
    renderClone = renderEntity
                      ? cloneEntity(*sceneManager, *renderEntity, instance + "_RenderMesh", instance + "_RenderEntity")
                      : nullptr;
    for (const Ogre::Entity* entity : physicEntities)
        physicMeshes.push_back(entity->getMesh());
    for (const Ogre::Entity* entity : smoothEntities)
        smoothMeshes.push_back(entity->getMesh());
    return instance;
}
