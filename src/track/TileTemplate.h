// The template entities of one tile type, from which a placed tile clones its own render
// mesh and entity. Lives only while the loaded track makes one tile from it.
#pragma once

#include <OGRE/OgreMesh.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Ogre
{
class Entity;
class SceneManager;
}

class TileTemplate
{
public:
    // Creates the template entities from the meshes (engine resources, loaded by name).
    // An empty render mesh name makes no render entity. A mesh the engine can't load
    // throws std::runtime_error naming it; nothing made so far is kept.
    TileTemplate(const std::string& name, const std::string& renderMesh, const std::vector<std::string>& physicMeshes,
                 const std::vector<std::string>& smoothMeshes, Ogre::SceneManager* sceneManager, bool lightMapped);
    ~TileTemplate();
    TileTemplate(const TileTemplate&) = delete;
    TileTemplate& operator=(const TileTemplate&) = delete;

    // name + "." + the instance counter, which then goes up.
    std::string nextInstanceName();
    bool isLightMapped() const { return lightMapped; }
    // Clones the render mesh and makes the instance's entity; returns the instance name.
    // renderEntity is null when the template has no render mesh. The physics meshes are the
    // type's own, not copies: the collision shapes are made from them placed, so a full
    // track does not hold thousands of engine copies while it builds.
    std::string createInstance(Ogre::Entity*& renderEntity, std::vector<Ogre::MeshPtr>& physicMeshes,
                               std::vector<Ogre::MeshPtr>& smoothMeshes);
    Ogre::SceneManager* getSceneManager() const { return sceneManager; }

private:
    Ogre::Entity* createTemplateEntity(const std::string& entityName, const std::string& meshName);
    void destroyAll();

    Ogre::SceneManager* sceneManager;
    uint32_t instanceCounter = 0;
    Ogre::Entity* renderEntity = nullptr;
    std::vector<Ogre::Entity*> physicEntities;
    std::vector<Ogre::Entity*> smoothEntities;
    std::string name;
    bool lightMapped;
};
