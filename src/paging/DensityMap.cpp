// Density maps and their registry.
#include "paging/DensityMap.h"

#include "paging/MapSampling.h"
#include "paging/PropertyMapPixels.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreImage.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreTextureManager.h>

#include <map>

namespace
{
std::map<std::string, DensityMap*>& registry()
{
    static std::map<std::string, DensityMap*> maps;
    return maps;
}
}

DensityMap* DensityMap::load(const std::string& textureName, const Ogre::PixelBox& pixels,
                             MapChannel channel)
{
    const std::string key = textureName + std::to_string(static_cast<int>(channel));
    auto found = registry().find(key);
    DensityMap* map = nullptr;
    if (found != registry().end())
        map = found->second;
    else
        map = new DensityMap(key, pixels, channel);  // throws before it is registered
    ++map->refCount;
    return map;
}

DensityMap* DensityMap::load(const Ogre::TexturePtr& texture, MapChannel channel)
{
    const std::string key = texture->getName() + std::to_string(static_cast<int>(channel));
    auto found = registry().find(key);
    if (found != registry().end())
    {
        ++found->second->refCount;
        return found->second;
    }
    Ogre::Image image = PropertyMapPixels::readTexture(texture);
    return load(texture->getName(), image.getPixelBox(), channel);
}

DensityMap* DensityMap::load(const std::string& fileName, MapChannel channel)
{
    Ogre::TexturePtr texture = Ogre::TextureManager::getSingleton().load(
        fileName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, Ogre::TEX_TYPE_2D,
        Ogre::MIP_DEFAULT, 1.0f);
    return load(texture, channel);
}

DensityMap::DensityMap(std::string mapKey, const Ogre::PixelBox& pixels, MapChannel channel)
    : key(std::move(mapKey)), width(pixels.getWidth()), height(pixels.getHeight())
{
    if (channel == CHANNEL_COLOR)
        density = PropertyMapPixels::convert(pixels, Ogre::PF_BYTE_L);
    else
        density = PropertyMapPixels::channelBytes(pixels, channel, "GrassLayer::setDensityMap()");
    registry()[key] = this;
}

DensityMap::~DensityMap() { registry().erase(key); }

void DensityMap::unload()
{
    if (--refCount == 0)
        delete this;
}

float DensityMap::_getDensityAt_Unfiltered(float x, float z) const
{
    uint32_t texelX = 0;
    uint32_t texelZ = 0;
    if (!MapSampling::nearestTexel(mapBounds, width, height, x, z, texelX, texelZ))
        return 0.0f;
    return texel(texelX, texelZ);
}

float DensityMap::_getDensityAt_Bilinear(float x, float z) const
{
    MapSampling::Bilinear s{};
    if (!MapSampling::bilinearTexels(mapBounds, width, height, x, z, s))
        return 0.0f;
    const float top = (1.0f - s.xRatio) * texel(s.x0, s.z0) + s.xRatio * texel(s.x1, s.z0);
    const float bottom = (1.0f - s.xRatio) * texel(s.x0, s.z1) + s.xRatio * texel(s.x1, s.z1);
    return (1.0f - s.zRatio) * top + s.zRatio * bottom;
}
