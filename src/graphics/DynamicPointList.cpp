// Point bookkeeping of the dynamic renderables.
#include "graphics/DynamicPointList.h"

void DynamicPointList::addPoint(const Ogre::Vector3& point)
{
    points.push_back(point);
    dirty = true;
}

void DynamicPointList::addPoint(Ogre::Real x, Ogre::Real y, Ogre::Real z)
{
    addPoint(Ogre::Vector3(x, y, z));
}

void DynamicPointList::clear()
{
    points.clear();
    dirty = true;
}

void DynamicPointList::update()
{
    if (dirty)
        fillHardwareBuffers();
}
