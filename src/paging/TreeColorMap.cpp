// Tree loaders' colour maps.
#include "paging/TreeColorMap.h"

#include "paging/ColorMap.h"

#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreTextureManager.h>

namespace TreeColorMap
{
ColorMap* replace(ColorMap* old, const Ogre::TexturePtr& texture, MapChannel channel, const TBounds& bounds,
                  MapFilter filter)
{
    release(old);
    if (!texture)
        return nullptr;
    ColorMap* map = ColorMap::load(texture, channel);
    map->setMapBounds(bounds);
    map->setFilter(filter);
    return map;
}

Ogre::TexturePtr byName(const std::string& name)
{
    if (name.empty())
        return Ogre::TexturePtr();
    return Ogre::TextureManager::getSingleton().load(name, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
}

void release(ColorMap*& map)
{
    if (map)
        map->unload();
    map = nullptr;
}

Ogre::ColourValue colourAt(const ColorMap* map, float x, float z)
{
    return map ? map->getColorAt_Unpacked(x, z) : Ogre::ColourValue::White;
}
}
