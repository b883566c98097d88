// The paging core's trees standing on a height function (not the game's src/TreeLoader).
#include "paging/TreeLoader2D.h"

bool TreeLoader2D::addTree(Ogre::Entity* entity, const Ogre::Vector2& position, float yawDegrees, float scale)
{
    return plant(entity, Ogre::Vector3(position.x, 0.0f, position.y), yawDegrees, scale);
}
