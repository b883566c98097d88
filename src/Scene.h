// A scene drawn by the engine: the race scene and the GUI scene share this interface.
#pragma once

#include <OGRE/OgreVector.h>

namespace Ogre
{
class SceneManager;
class SceneNode;
}

class Scene
{
public:
    virtual void create() = 0;
    virtual void destroy() = 0;
    // Puts the scene's viewport on the window / takes it off.
    virtual void enable() = 0;
    virtual void disable() = 0;
    virtual Ogre::SceneManager* getSceneManager() = 0;
    virtual void addToStaticGeometry(Ogre::SceneNode* node) = 0;
    // A screen extent (fractions of the window, y downwards) as a world extent.
    virtual Ogre::Vector3 screenToWorld(const Ogre::Vector2& screen) = 0;
    // A screen position (fractions of the window from its top-left) as the world point under it.
    virtual Ogre::Vector3 screenToWorldRay(const Ogre::Vector2& screen) = 0;

protected:
    ~Scene() = default;
};
