// Where a world point falls on a property map's texels, shared by the density and colour maps.
#pragma once

#include "paging/TBounds.h"

#include <cstdint>

namespace MapSampling
{
// The texel under (x, z); false outside the map.
bool nearestTexel(const TBounds& bounds, uint32_t width, uint32_t height, float x, float z,
                  uint32_t& texelX, uint32_t& texelZ);

// The four texels around (x, z) and the mix ratios between them, clamped to the edge texels so
// that the mix never leaves the texel values' range; false outside the map.
struct Bilinear
{
    uint32_t x0, x1, z0, z1;
    float xRatio, zRatio;  // 0..1, towards x1 and z1
};
bool bilinearTexels(const TBounds& bounds, uint32_t width, uint32_t height, float x, float z,
                    Bilinear& sample);
}
