// The paging core's trees with stored heights, under the game's src/TreeLoader.
#include "paging/TreeLoader3D.h"

bool TreeLoader3D::addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale)
{
    return plant(entity, position, yawDegrees, scale);
}
