// What the checkpoint tracker needs of the car it follows: where it is, and a way to put
// it back on the track. The player's car implements it.
#pragma once

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

namespace Ogre
{
class SceneNode;
}

class TrackedCar
{
public:
    // The car's scene node; its position is the car's position.
    virtual Ogre::SceneNode* getNode() = 0;
    // Puts the car at a world position and orientation; the car lifts itself onto the ground.
    virtual void setPose(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) = 0;

protected:
    ~TrackedCar() = default;
};
