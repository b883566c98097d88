// Screen to world through a camera.
#include "ScreenProjection.h"

#include <OGRE/OgreCamera.h>

namespace
{
Ogre::Matrix4 inverseViewProjection(const Ogre::Camera& camera)
{
    return (camera.getProjectionMatrix() * camera.getViewMatrix()).inverse();
}
}

Ogre::Vector3 screenExtentToWorld(const Ogre::Camera& camera, const Ogre::Vector2& screen)
{
    const Ogre::Vector4 extent = inverseViewProjection(camera) * Ogre::Vector4(2 * screen.x, -2 * screen.y, 0, 0);
    return Ogre::Vector3(extent.x, extent.y, extent.z);
}

Ogre::Vector3 screenPointToWorld(const Ogre::Camera& camera, const Ogre::Vector2& screen)
{
    return inverseViewProjection(camera) * Ogre::Vector3(2 * (screen.x - 0.5f), -2 * (screen.y - 0.5f), 0);
}
