// One camera position of a car (follow, bumper, hood, cockpit): a node where the camera
// sits and a node it looks at, both fixed to the car's node.
#pragma once

#include <string>

namespace Ogre
{
class SceneNode;
}
class CarCamDesc;

class CarCam
{
public:
    // Nodes named car name + camera name + "PositionNode" / "LookAtNode" under parent.
    CarCam(const std::string& carName, Ogre::SceneNode* parent, const CarCamDesc& desc);
    // Destroys both nodes: the car leaves nothing in the scene.
    virtual ~CarCam();
    CarCam(const CarCam&) = delete;
    CarCam& operator=(const CarCam&) = delete;

    Ogre::SceneNode* getPositionNode() const { return positionNode; }
    Ogre::SceneNode* getLookAtNode() const { return lookAtNode; }
    // Whether the rig chases (smooth) or hangs rigidly at the position node.
    bool getFlag() const { return smooth; }

private:
    Ogre::SceneNode* parent;  // the car's node, not owned
    Ogre::SceneNode* positionNode;
    Ogre::SceneNode* lookAtNode;
    bool smooth;
};
