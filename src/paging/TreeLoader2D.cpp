// Trees standing on a height function.
#include "paging/TreeLoader2D.h"

#include "paging/ColorMap.h"
#include "paging/GeometryPager.h"
#include "paging/TreeColorMap.h"

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreStringConverter.h>

#include <cmath>

TreeLoader2D::TreeLoader2D(GeometryPager* pager, const TBounds& bounds)
    : geometry(pager),
      grid(pager->getBounds().left, pager->getBounds().top, pager->getPageSize(), bounds)
{
}

TreeLoader2D::~TreeLoader2D()
{
    releaseColorMap();
}

void TreeLoader2D::releaseColorMap()
{
    TreeColorMap::release(colorMap);
}

bool TreeLoader2D::addTree(Ogre::Entity* entity, const Ogre::Vector2& position, float yawDegrees, float scale)
{
    if (!grid.contains(position.x, position.y))
    {
        Ogre::LogManager::getSingleton().logMessage(
            "TreeLoader2D: tree at " + Ogre::StringConverter::toString(position) + " is outside the bounds, not planted");
        return false;
    }
    TreeRecord2D record{};
    const std::size_t cell = grid.pack(position.x, position.y, yawDegrees, scale, record);
    grid.add(entity, cell, record);
    geometry->reloadGeometryPage(Ogre::Vector3(position.x, 0.0f, position.y));
    return true;
}

void TreeLoader2D::deleteTrees(float x, float z, float radius, Ogre::Entity* entity)
{
    for (const Ogre::Vector3& centre : grid.erase(x, z, radius, entity))
        geometry->reloadGeometryPage(centre);
}

void TreeLoader2D::loadPage(PageInfo& page)
{
    const float pageSize = grid.getPageSize();
    const int cellX = page.xIndex - static_cast<int>(std::floor(grid.getGridBounds().left / pageSize));
    const int cellZ = page.zIndex - static_cast<int>(std::floor(grid.getGridBounds().top / pageSize));
    std::size_t cell = 0;
    if (!grid.cellAt(cellX, cellZ, cell))
        return;
    for (const auto& entityGrid : grid.getEntityGrids())
        for (const TreeRecord2D& record : entityGrid.cells[cell])
        {
            Ogre::Vector3 at = grid.position(cell, record, 0.0f);
            at.y = heightAt(at.x, at.z);
            const float s = grid.scale(record);
            addEntity(entityGrid.entity, at, Ogre::Quaternion(grid.yaw(record), Ogre::Vector3::UNIT_Y),
                      Ogre::Vector3(s, s, s), TreeColorMap::colourAt(colorMap, at.x, at.z));
        }
}

void TreeLoader2D::setColorMap(const Ogre::TexturePtr& texture, MapChannel channel)
{
    colorMap = TreeColorMap::replace(colorMap, texture, channel, grid.getActualBounds(), colorMapFilter);
}

void TreeLoader2D::setColorMap(const std::string& textureName, MapChannel channel)
{
    setColorMap(TreeColorMap::byName(textureName), channel);
}

void TreeLoader2D::setColorMapFilter(MapFilter filter)
{
    colorMapFilter = filter;
    if (colorMap)
        colorMap->setFilter(filter);
}
