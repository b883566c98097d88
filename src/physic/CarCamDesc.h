// One camera of a car description, placed in the frame of the car's scene node.
#pragma once

#include <OGRE/OgreVector.h>

#include <string>

class CarCamDesc
{
public:
    virtual ~CarCamDesc() = default;

    std::string name;
    Ogre::Vector3 position = Ogre::Vector3::ZERO;  // units, car frame
    Ogre::Vector3 lookAt = Ogre::Vector3::ZERO;    // units, car frame
    bool smooth = false;                           // the rig eases towards this camera
    float yawDegrees = 0.0f;
};
