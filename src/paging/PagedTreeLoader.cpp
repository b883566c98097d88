// Planting, deleting and paging the packed trees, for either record.
#include "paging/PagedTreeLoader.h"

#include "paging/ColorMap.h"
#include "paging/GeometryPager.h"
#include "paging/TreeColorMap.h"

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreStringConverter.h>

#include <cmath>

namespace
{
// What the records differ in: only the 3D one has room for the height, and each loader logs
// a refused position the way it was given.
void keepHeight(TreeRecord3D& record, float y)
{
    record.y = y;
}

void keepHeight(TreeRecord2D&, float) {}

std::string refusedTree(const TreeRecord3D&, const Ogre::Vector3& at)
{
    return "TreeLoader3D: tree at " + Ogre::StringConverter::toString(at);
}

std::string refusedTree(const TreeRecord2D&, const Ogre::Vector3& at)
{
    return "TreeLoader2D: tree at " + Ogre::StringConverter::toString(Ogre::Vector2(at.x, at.z));
}
}

template <typename Record>
PagedTreeLoader<Record>::PagedTreeLoader(GeometryPager* pager, const TBounds& bounds)
    : geometry(pager),
      grid(pager->getBounds().left, pager->getBounds().top, pager->getPageSize(), bounds)
{
}

template <typename Record>
PagedTreeLoader<Record>::~PagedTreeLoader()
{
    TreeColorMap::release(colorMap);
}

template <typename Record>
bool PagedTreeLoader<Record>::plant(Ogre::Entity* entity, const Ogre::Vector3& at, float yawDegrees, float scale)
{
    Record record{};
    if (!grid.contains(at.x, at.z))
    {
        Ogre::LogManager::getSingleton().logMessage(refusedTree(record, at) + " is outside the bounds, not planted");
        return false;
    }
    const std::size_t cell = grid.pack(at.x, at.z, yawDegrees, scale, record);
    keepHeight(record, at.y);
    grid.add(entity, cell, record);
    geometry->reloadGeometryPage(at);
    return true;
}

template <typename Record>
void PagedTreeLoader<Record>::deleteTrees(float x, float z, float radius, Ogre::Entity* entity)
{
    for (const Ogre::Vector3& centre : grid.erase(x, z, radius, entity))
        geometry->reloadGeometryPage(centre);
}

template <typename Record>
void PagedTreeLoader<Record>::loadPage(PageInfo& page)
{
    const float pageSize = grid.getPageSize();
    const int cellX = page.xIndex - static_cast<int>(std::floor(grid.getGridBounds().left / pageSize));
    const int cellZ = page.zIndex - static_cast<int>(std::floor(grid.getGridBounds().top / pageSize));
    std::size_t cell = 0;
    if (!grid.cellAt(cellX, cellZ, cell))
        return;
    for (const auto& entityGrid : grid.getEntityGrids())
        for (const Record& record : entityGrid.cells[cell])
        {
            Ogre::Vector3 at = grid.position(cell, record, 0.0f);
            at.y = heightOf(record, at.x, at.z);
            const float s = grid.scale(record);
            addEntity(entityGrid.entity, at, Ogre::Quaternion(grid.yaw(record), Ogre::Vector3::UNIT_Y),
                      Ogre::Vector3(s, s, s), TreeColorMap::colourAt(colorMap, at.x, at.z));
        }
}

template <typename Record>
void PagedTreeLoader<Record>::setColorMap(const Ogre::TexturePtr& texture, MapChannel channel)
{
    colorMap = TreeColorMap::replace(colorMap, texture, channel, grid.getActualBounds(), colorMapFilter);
}

template <typename Record>
void PagedTreeLoader<Record>::setColorMap(const std::string& textureName, MapChannel channel)
{
    setColorMap(TreeColorMap::byName(textureName), channel);
}

template <typename Record>
void PagedTreeLoader<Record>::setColorMapFilter(MapFilter filter)
{
    colorMapFilter = filter;
    if (colorMap)
        colorMap->setFilter(filter);
}

template class PagedTreeLoader<TreeRecord2D>;
template class PagedTreeLoader<TreeRecord3D>;
