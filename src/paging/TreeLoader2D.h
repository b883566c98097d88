// The tree loader without stored heights: the trees stand on a height function asked when
// their page loads, or on y = 0 without one.
#pragma once

#include "paging/MapChannel.h"
#include "paging/PageLoader.h"
#include "paging/TreeGrid.h"

#include <OGRE/OgreTexture.h>

#include <functional>
#include <string>

class ColorMap;
class GeometryPager;

class TreeLoader2D : public PageLoader
{
public:
    using HeightFunction = std::function<float(float x, float z)>;

    TreeLoader2D(GeometryPager* geometry, const TBounds& bounds);
    ~TreeLoader2D() override;
    TreeLoader2D(const TreeLoader2D&) = delete;
    TreeLoader2D& operator=(const TreeLoader2D&) = delete;

    void loadPage(PageInfo& page) override;

    // As TreeLoader3D::addTree, at (position.x, position.y) on the ground plane.
    bool addTree(Ogre::Entity* entity, const Ogre::Vector2& position, float yawDegrees, float scale = 1.0f);
    void deleteTrees(float x, float z, float radius, Ogre::Entity* entity = nullptr);

    void setHeightFunction(HeightFunction function) { heightFunction = std::move(function); }
    float heightAt(float x, float z) const { return heightFunction ? heightFunction(x, z) : 0.0f; }

    void setColorMap(const Ogre::TexturePtr& texture, MapChannel channel = CHANNEL_COLOR);
    void setColorMap(const std::string& textureName, MapChannel channel = CHANNEL_COLOR);
    ColorMap* getColorMap() const { return colorMap; }
    void setColorMapFilter(MapFilter filter);

    void setMaximumScale(float span) { grid.maximumScale = span; }
    void setMinimumScale(float minimum) { grid.minimumScale = minimum; }

    const TreeGrid<TreeRecord2D>& getGrid() const { return grid; }

private:
    void releaseColorMap();

    HeightFunction heightFunction;
    GeometryPager* geometry;  // not owned
    TreeGrid<TreeRecord2D> grid;
    ColorMap* colorMap = nullptr;
    MapFilter colorMapFilter = MAPFILTER_NONE;
};
