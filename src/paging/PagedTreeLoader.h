// The paging core's tree loader, one template over the packed tree record: trees in page
// cells, handed to the geometry's pages as entity instances when they load. Its two forms
// are TreeLoader3D (each tree keeps its height) and TreeLoader2D (a height function); the
// game's own forest, src/TreeLoader.h, is a TreeLoader3D.
#pragma once

#include "paging/MapChannel.h"
#include "paging/PageLoader.h"
#include "paging/TreeGrid.h"

#include <OGRE/OgreTexture.h>

#include <string>

class ColorMap;
class GeometryPager;

template <typename Record>
class PagedTreeLoader : public PageLoader
{
public:
    PagedTreeLoader(GeometryPager* geometry, const TBounds& bounds);
    ~PagedTreeLoader() override;
    PagedTreeLoader(const PagedTreeLoader&) = delete;
    PagedTreeLoader& operator=(const PagedTreeLoader&) = delete;

    void loadPage(PageInfo& page) override;

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

    const TreeGrid<Record>& getGrid() const { return grid; }
    GeometryPager* getGeometry() const { return geometry; }

protected:
    // Plants a tree at `at` (its y kept where the record has room for it) and reloads its
    // page. Yaw in degrees, wrapped; the scale is clamped to the scale range. A position
    // outside the bounds is refused with a log line and false.
    bool plant(Ogre::Entity* entity, const Ogre::Vector3& at, float yawDegrees, float scale);
    // The height a loaded page stands the tree at, at (x, z).
    virtual float heightOf(const Record& record, float x, float z) const = 0;

private:
    GeometryPager* geometry;  // not owned
    TreeGrid<Record> grid;
    ColorMap* colorMap = nullptr;  // one reference held
    MapFilter colorMapFilter = MAPFILTER_NONE;
};

extern template class PagedTreeLoader<TreeRecord2D>;
extern template class PagedTreeLoader<TreeRecord3D>;
