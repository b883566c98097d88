// The sun on a tilted daily circle.
#include "sky/SimpleSunPositionModel.h"

#include <OGRE/OgreQuaternion.h>

namespace sky
{
Ogre::Vector3 SimpleSunPositionModel::getSunDirection(float relativeDayTime)
{
    const Ogre::Vector3 axis = Ogre::Quaternion(Ogre::Radian(inclination), Ogre::Vector3::UNIT_X) * Ogre::Vector3::UNIT_Z;
    const Ogre::Radian turn(Ogre::Math::TWO_PI * relativeDayTime);
    return remember(Ogre::Quaternion(turn, axis) * Ogre::Vector3::UNIT_Y);
}
}
