// The point list shared by the dynamic quads and lines: points in the coordinate space of
// the node the object hangs from, and a flag saying the buffers are out of date.
#pragma once

#include "graphics/DynamicRenderable.h"

#include <OGRE/OgreVector.h>

#include <vector>

class DynamicPointList : public DynamicRenderable
{
public:
    void addPoint(const Ogre::Vector3& point);
    void addPoint(Ogre::Real x, Ogre::Real y, Ogre::Real z);
    void clear();
    // Refills the buffers when the points changed.
    void update();

    static constexpr const char* kDefaultMaterial = "BaseWhiteNoLighting";

protected:
    std::vector<Ogre::Vector3> points;
    bool dirty = true;
};
