// Grass pages: one scene node per added entity, holding a clone of it.
#include "paging/GrassPage.h"

#include "paging/GeometryPager.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <string>

namespace
{
unsigned clonesMade = 0;  // names the clones "GrassPage" + n, program-wide
}

GrassPage::~GrassPage() { removeEntities(); }

void GrassPage::init(GeometryPager* owner)
{
    pager = owner;
    sceneMgr = owner->getSceneManager();
}

void GrassPage::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                          const Ogre::Quaternion&, const Ogre::Vector3&, const Ogre::ColourValue&)
{
    if (!sceneMgr)
        sceneMgr = pager->getSceneManager();  // the pager had no camera at init
    Ogre::SceneNode* node = sceneMgr->getRootSceneNode()->createChildSceneNode(
        Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    node->setPosition(position);
    nodeList.push_back(node);

    Ogre::Entity* copy = entity->clone("GrassPage" + std::to_string(++clonesMade));
    copy->setCastShadows(false);
    copy->setRenderQueueGroup(entity->getRenderQueueGroup());
    node->attachObject(copy);
}

void GrassPage::removeEntities()
{
    for (Ogre::SceneNode* node : nodeList)
    {
        if (node->numAttachedObjects() > 0)
            sceneMgr->destroyEntity(static_cast<Ogre::Entity*>(node->getAttachedObject(0)));
        sceneMgr->destroySceneNode(node);  // unnamed: the pointer, not the name
    }
    nodeList.clear();
}

void GrassPage::setVisible(bool visible)
{
    for (Ogre::SceneNode* node : nodeList)
        node->setVisible(visible, true);
}
