// The paging core's tree loader for trees the program plants itself, each with its own
// height (a PagedTreeLoader). The game's forest, src/TreeLoader.h, is one of these; the
// loader without heights is TreeLoader2D.
#pragma once

#include "paging/PagedTreeLoader.h"

class TreeLoader3D : public PagedTreeLoader<TreeRecord3D>
{
public:
    using PagedTreeLoader<TreeRecord3D>::PagedTreeLoader;

    // Yaw in degrees, wrapped; the scale is clamped to the scale range. A position outside
    // the bounds is refused with a log line and false.
    virtual bool addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale = 1.0f);

protected:
    float heightOf(const TreeRecord3D& record, float, float) const override { return record.y; }
};
