// A page loader for trees the program plants itself, each with its own height: packed
// records in page cells, handed to the pages as entity instances when they load.
#pragma once

#include "paging/MapChannel.h"
#include "paging/PageLoader.h"
#include "paging/TreeGrid.h"

#include <OGRE/OgreTexture.h>

#include <string>

class ColorMap;
class GeometryPager;

class TreeLoader3D : public PageLoader
{
public:
    TreeLoader3D(GeometryPager* geometry, const TBounds& bounds);
    ~TreeLoader3D() override;
    TreeLoader3D(const TreeLoader3D&) = delete;
    TreeLoader3D& operator=(const TreeLoader3D&) = delete;

    void loadPage(PageInfo& page) override;

    // Yaw in degrees, wrapped; the scale is clamped to the scale range. A position outside
    // the bounds is refused with a log line and false.
    virtual bool addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale = 1.0f);
    // Removes the trees within radius of (x, z), of one entity or of every one (null).
    void deleteTrees(float x, float z, float radius, Ogre::Entity* entity = nullptr);

    // Replaces the colour map; an empty name or a null texture leaves none.
    void setColorMap(const Ogre::TexturePtr& texture, MapChannel channel = CHANNEL_COLOR);
    void setColorMap(const std::string& textureName, MapChannel channel = CHANNEL_COLOR);
    ColorMap* getColorMap() const { return colorMap; }
    void setColorMapFilter(MapFilter filter);

    // Stored scales run from the minimum to minimum + maximum; set them before planting.
    void setMaximumScale(float span) { grid.maximumScale = span; }
    void setMinimumScale(float minimum) { grid.minimumScale = minimum; }
    float getMaximumScale() const { return grid.maximumScale; }
    float getMinimumScale() const { return grid.minimumScale; }

    const TreeGrid<TreeRecord3D>& getGrid() const { return grid; }
    GeometryPager* getGeometry() const { return geometry; }

private:
    void releaseColorMap();

    GeometryPager* geometry;  // not owned
    TreeGrid<TreeRecord3D> grid;
    ColorMap* colorMap = nullptr;  // one reference held
    MapFilter colorMapFilter = MAPFILTER_NONE;
};
