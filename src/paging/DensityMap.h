// A texture read once into memory as a density 0..1 over a world rectangle, shared by every
// user of the same texture and channel.
#pragma once

#include "paging/MapChannel.h"
#include "paging/SharedPropertyMap.h"
#include "paging/TBounds.h"

#include <OGRE/OgrePixelFormat.h>
#include <OGRE/OgreTexture.h>

#include <cstdint>
#include <string>
#include <vector>

class DensityMap : public SharedPropertyMap<DensityMap>
{
public:
    void setFilter(MapFilter newFilter) { filter = newFilter; }
    MapFilter getFilter() const { return filter; }
    void setMapBounds(const TBounds& bounds) { mapBounds = bounds; }
    const TBounds& getMapBounds() const { return mapBounds; }

    // 0..1; 0 outside the map bounds.
    float getDensityAt(float x, float z) const
    {
        return filter == MAPFILTER_NONE ? _getDensityAt_Unfiltered(x, z)
                                        : _getDensityAt_Bilinear(x, z);
    }
    float _getDensityAt_Unfiltered(float x, float z) const;
    float _getDensityAt_Bilinear(float x, float z) const;

private:
    friend class SharedPropertyMap<DensityMap>;
    DensityMap(std::string key, const Ogre::PixelBox& pixels, MapChannel channel);
    ~DensityMap() = default;
    float texel(uint32_t x, uint32_t z) const { return density[z * width + x] / 255.0f; }

    MapFilter filter = MAPFILTER_BILINEAR;
    uint32_t width = 0;   // texels
    uint32_t height = 0;
    std::vector<uint8_t> density;  // one byte a texel, row by row
    TBounds mapBounds;
};
