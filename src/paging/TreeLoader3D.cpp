// Trees with stored heights.
#include "paging/TreeLoader3D.h"

#include "paging/ColorMap.h"
#include "paging/GeometryPager.h"
#include "paging/TreeColorMap.h"

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreStringConverter.h>

#include <cmath>

TreeLoader3D::TreeLoader3D(GeometryPager* pager, const TBounds& bounds)
    : geometry(pager),
      grid(pager->getBounds().left, pager->getBounds().top, pager->getPageSize(), bounds)
{
}

TreeLoader3D::~TreeLoader3D()
{
    releaseColorMap();
}

void TreeLoader3D::releaseColorMap()
{
    TreeColorMap::release(colorMap);
}

bool TreeLoader3D::addTree(Ogre::Entity* entity, const Ogre::Vector3& position, float yawDegrees, float scale)
{
    if (!grid.contains(position.x, position.z))
    {
        Ogre::LogManager::getSingleton().logMessage(
            "TreeLoader3D: tree at " + Ogre::StringConverter::toString(position) + " is outside the bounds, not planted");
        return false;
    }
    TreeRecord3D record{};
    const std::size_t cell = grid.pack(position.x, position.z, yawDegrees, scale, record);
    record.y = position.y;
    grid.add(entity, cell, record);
    geometry->reloadGeometryPage(position);
    return true;
}

void TreeLoader3D::deleteTrees(float x, float z, float radius, Ogre::Entity* entity)
{
    for (const Ogre::Vector3& centre : grid.erase(x, z, radius, entity))
        geometry->reloadGeometryPage(centre);
}

void TreeLoader3D::loadPage(PageInfo& page)
{
    const float pageSize = grid.getPageSize();
    const int cellX = page.xIndex - static_cast<int>(std::floor(grid.getGridBounds().left / pageSize));
    const int cellZ = page.zIndex - static_cast<int>(std::floor(grid.getGridBounds().top / pageSize));
    std::size_t cell = 0;
    if (!grid.cellAt(cellX, cellZ, cell))
        return;
    for (const auto& entityGrid : grid.getEntityGrids())
        for (const TreeRecord3D& record : entityGrid.cells[cell])
        {
            const Ogre::Vector3 at = grid.position(cell, record, record.y);
            const float s = grid.scale(record);
            addEntity(entityGrid.entity, at, Ogre::Quaternion(grid.yaw(record), Ogre::Vector3::UNIT_Y),
                      Ogre::Vector3(s, s, s), TreeColorMap::colourAt(colorMap, at.x, at.z));
        }
}

void TreeLoader3D::setColorMap(const Ogre::TexturePtr& texture, MapChannel channel)
{
    colorMap = TreeColorMap::replace(colorMap, texture, channel, grid.getActualBounds(), colorMapFilter);
}

void TreeLoader3D::setColorMap(const std::string& textureName, MapChannel channel)
{
    setColorMap(TreeColorMap::byName(textureName), channel);
}

void TreeLoader3D::setColorMapFilter(MapFilter filter)
{
    colorMapFilter = filter;
    if (colorMap)
        colorMap->setFilter(filter);
}
