// World transforms walked up the parent chain.
#include "graphics/WorldTransform.h"

#include <OGRE/OgreNode.h>

namespace WorldTransform
{
Ogre::Quaternion orientation(const Ogre::Node* node)
{
    const Ogre::Node* parent = node->getParent();
    if (!parent || !node->getInheritOrientation())
        return node->getOrientation();
    return orientation(parent) * node->getOrientation();
}

Ogre::Vector3 position(const Ogre::Node* node)
{
    const Ogre::Node* parent = node->getParent();
    if (!parent)
        return node->getPosition();
    Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
    for (const Ogre::Node* up = parent; up && node->getInheritScale(); up = up->getParent())
        scale *= up->getScale();
    return position(parent) + orientation(parent) * (scale * node->getPosition());
}
}
