// A texture read once into memory as colours over a world rectangle, in the render system's
// vertex colour layout, shared by every user of the same texture and channel.
#pragma once

#include "paging/MapChannel.h"
#include "paging/SharedPropertyMap.h"
#include "paging/TBounds.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgrePixelFormat.h>
#include <OGRE/OgreTexture.h>

#include <cstdint>
#include <string>
#include <vector>

class ColorMap : public SharedPropertyMap<ColorMap>
{
public:
    void setFilter(MapFilter newFilter) { filter = newFilter; }
    MapFilter getFilter() const { return filter; }
    void setMapBounds(const TBounds& bounds) { mapBounds = bounds; }
    const TBounds& getMapBounds() const { return mapBounds; }

    // Packed for vertex buffers; outside the map opaque white unfiltered, 0 bilinear.
    uint32_t getColorAt(float x, float z) const
    {
        return filter == MAPFILTER_NONE ? _getColorAt(x, z) : _getColorAt_Bilinear(x, z);
    }
    Ogre::ColourValue getColorAt_Unpacked(float x, float z) const;
    uint32_t _getColorAt(float x, float z) const;
    uint32_t _getColorAt_Bilinear(float x, float z) const;
    // Each byte mixed on its own: ratio 0 gives color1, 1 gives color2.
    static uint32_t _interpolateColor(uint32_t color1, uint32_t color2, float ratio,
                                      float ratioInv);

private:
    friend class SharedPropertyMap<ColorMap>;
    ColorMap(std::string key, const Ogre::PixelBox& pixels, MapChannel channel);
    ~ColorMap() = default;
    uint32_t texel(uint32_t x, uint32_t z) const { return colors[z * width + x]; }

    MapFilter filter = MAPFILTER_BILINEAR;
    uint32_t width = 0;  // texels
    uint32_t height = 0;
    std::vector<uint32_t> colors;  // one word a texel, row by row
    TBounds mapBounds;
};
