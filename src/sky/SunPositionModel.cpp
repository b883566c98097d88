// The base of the sun-position models.
#include "sky/SunPositionModel.h"

namespace sky
{
Ogre::Vector3 SunPositionModel::remember(const Ogre::Vector3& direction)
{
    const Ogre::Vector3 unit = direction.normalisedCopy();
    lastDirection = -unit;
    return unit;
}
}
