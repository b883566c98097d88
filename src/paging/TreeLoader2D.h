// The paging core's tree loader without stored heights (a PagedTreeLoader): the trees stand
// on a height function asked when their page loads, or on y = 0 without one. The game's
// forest is not this but src/TreeLoader.h, built on TreeLoader3D.
#pragma once

#include "paging/PagedTreeLoader.h"

#include <functional>

class TreeLoader2D : public PagedTreeLoader<TreeRecord2D>
{
public:
    using HeightFunction = std::function<float(float x, float z)>;

    using PagedTreeLoader<TreeRecord2D>::PagedTreeLoader;

    // As TreeLoader3D::addTree, at (position.x, position.y) on the ground plane.
    bool addTree(Ogre::Entity* entity, const Ogre::Vector2& position, float yawDegrees, float scale = 1.0f);

    void setHeightFunction(HeightFunction function) { heightFunction = std::move(function); }
    float heightAt(float x, float z) const { return heightFunction ? heightFunction(x, z) : 0.0f; }

protected:
    float heightOf(const TreeRecord2D&, float x, float z) const override { return heightAt(x, z); }

private:
    HeightFunction heightFunction;
};
