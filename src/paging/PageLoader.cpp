// Entities added by a loader go to the page being loaded.
#include "paging/PageLoader.h"

#include "paging/GeometryPage.h"

void PageLoader::addEntity(Ogre::Entity* entity, const Ogre::Vector3& position,
                           const Ogre::Quaternion& rotation, const Ogre::Vector3& scale,
                           const Ogre::ColourValue& color)
{
    geomPage->addEntity(entity, position, rotation, scale, color);
    geomPage->addEntityToBoundingBox(entity, position, rotation, scale);
}
