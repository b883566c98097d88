// The sky's entities on their nodes.
#include "sky/SceneElement.h"

#include "sky/SkyResourceGroup.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

namespace sky
{
SceneElement::SceneElement(Ogre::SceneManager* manager, const std::string& entityName, const std::string& meshName,
                           const std::string& materialName, Ogre::uint8 renderQueue)
    : sceneManager(manager)
{
    entity = sceneManager->createEntity(entityName, meshName, getSkyResourceGroupName());
    try
    {
        entity->setMaterialName(materialName, getSkyResourceGroupName());
        entity->setRenderQueueGroup(renderQueue);
        entity->setCastShadows(false);
        node = sceneManager->getRootSceneNode()->createChildSceneNode();
        node->attachObject(entity);
    }
    catch (...)
    {
        release();  // the destructor does not run for an element that was never made
        throw;
    }
}

SceneElement::~SceneElement()
{
    release();
}

void SceneElement::release()
{
    if (node)
    {
        node->detachAllObjects();
        sceneManager->destroySceneNode(node);
    }
    sceneManager->destroyEntity(entity);
}
}
