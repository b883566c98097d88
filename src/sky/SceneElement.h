// One drawn piece of the sky: an entity of the sky's resource group on its own node under
// the scene's root, made whole or not at all and released node first.
#pragma once

#include <OGRE/OgrePrerequisites.h>

#include <string>

namespace Ogre
{
class Entity;
class SceneManager;
class SceneNode;
}

namespace sky
{
class SceneElement
{
public:
    // Drawn in renderQueue, casting no shadow; the mesh and the material must exist.
    SceneElement(Ogre::SceneManager* sceneManager, const std::string& entityName, const std::string& meshName,
                 const std::string& materialName, Ogre::uint8 renderQueue);
    ~SceneElement();
    SceneElement(const SceneElement&) = delete;
    SceneElement& operator=(const SceneElement&) = delete;

    Ogre::Entity* getEntity() const { return entity; }
    Ogre::SceneNode* getNode() const { return node; }

private:
    void release();

    Ogre::SceneManager* sceneManager;  // not owned
    Ogre::Entity* entity = nullptr;    // the scene manager's, destroyed here
    Ogre::SceneNode* node = nullptr;   // likewise
};
}
