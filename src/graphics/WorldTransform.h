// A node's world position and orientation computed from its parents now, not from the
// scene graph's cache, which lags until the next render after a parent moved.
#pragma once

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

namespace Ogre
{
class Node;
}

namespace WorldTransform
{
Ogre::Vector3 position(const Ogre::Node* node);
Ogre::Quaternion orientation(const Ogre::Node* node);
}
