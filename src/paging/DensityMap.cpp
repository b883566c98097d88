// Density maps: reading the texels and sampling them.
#include "paging/DensityMap.h"

#include "paging/MapSampling.h"
#include "paging/PropertyMapPixels.h"

#include <OGRE/OgreException.h>

DensityMap::DensityMap(std::string mapKey, const Ogre::PixelBox& pixels, MapChannel channel)
    : SharedPropertyMap(std::move(mapKey)), width(pixels.getWidth()), height(pixels.getHeight())
{
    if (channel == CHANNEL_COLOR)
        density = PropertyMapPixels::convert(pixels, Ogre::PF_BYTE_L);
    else
        density = PropertyMapPixels::channelBytes(pixels, channel, "GrassLayer::setDensityMap()");
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
