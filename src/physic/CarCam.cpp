// Car camera nodes.
#include "physic/CarCam.h"

#include "physic/CarCamDesc.h"

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

CarCam::CarCam(const std::string& carName, Ogre::SceneNode* parent, const CarCamDesc& desc)
    : parent(parent), smooth(desc.smooth)
{
    positionNode = parent->createChildSceneNode(carName + desc.name + "PositionNode", desc.position);
    if (desc.yawDegrees != 0.0f)
        positionNode->yaw(Ogre::Degree(desc.yawDegrees));
    lookAtNode = parent->createChildSceneNode(carName + desc.name + "LookAtNode", desc.lookAt);
}

CarCam::~CarCam()
{
    Ogre::SceneManager* sceneManager = parent->getCreator();
    sceneManager->destroySceneNode(positionNode);
    sceneManager->destroySceneNode(lookAtNode);
}
