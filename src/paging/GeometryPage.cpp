// The shared part of every page: its true bounds.
#include "paging/GeometryPage.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMatrix4.h>

void GeometryPage::setRegion(float, float, float, float) {}

void GeometryPage::addEntityToBoundingBox(Ogre::Entity* entity, const Ogre::Vector3& position,
                                          const Ogre::Quaternion& rotation,
                                          const Ogre::Vector3& scale)
{
    Ogre::Matrix4 transform;
    transform.makeTransform(Ogre::Vector3::ZERO, scale, rotation);
    Ogre::AxisAlignedBox box = entity->getBoundingBox();
    box.transform(transform);

    const Ogre::Vector3 offset = position - centerPoint;
    if (trueBoundsUndefined)
    {
        trueBounds.setExtents(box.getMinimum() + offset, box.getMaximum() + offset);
        trueBoundsUndefined = false;
    }
    else
    {
        trueBounds.merge(box.getMinimum() + offset);
        trueBounds.merge(box.getMaximum() + offset);
    }
}

void GeometryPage::clearBoundingBox()
{
    trueBounds.setExtents(Ogre::Vector3::ZERO, Ogre::Vector3::ZERO);
    trueBoundsUndefined = true;
}
