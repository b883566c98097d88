// Screen to world through a camera's inverse projection and view: shared by the scenes.
#pragma once

#include <OGRE/OgreVector.h>

namespace Ogre
{
class Camera;
}

// A screen extent (fractions of the window, y downwards) as a world extent (no perspective division).
Ogre::Vector3 screenExtentToWorld(const Ogre::Camera& camera, const Ogre::Vector2& screen);
// A screen position (fractions from the top-left) as the world point on the near plane under it.
Ogre::Vector3 screenPointToWorld(const Ogre::Camera& camera, const Ogre::Vector2& screen);
