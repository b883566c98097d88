// The one question the lightmap baker asks of the world: does anything lie along this
// segment? The physics scene answers it in a race, a fake scene in tests.
#pragma once

#include <OGRE/OgreVector.h>

class LightRayCaster
{
public:
    virtual ~LightRayCaster() = default;
    // Whether anything lies within length of origin along the unit direction. With impact
    // given, the closest hit's world point is written there.
    virtual bool castRay(const Ogre::Vector3& origin, const Ogre::Vector3& direction, float length,
                         Ogre::Vector3* impact) = 0;
};
