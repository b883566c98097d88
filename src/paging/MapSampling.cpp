// Texel positions of a property map lookup, in signed arithmetic so that points far outside
// never wrap onto the map.
#include "paging/MapSampling.h"

#include <algorithm>
#include <cmath>

namespace
{
// The texel coordinate of a world coordinate; false outside [0, texels) or for no number.
bool texelCoordinate(float world, float origin, float extent, uint32_t texels, double& coordinate)
{
    coordinate = static_cast<double>(texels) * (static_cast<double>(world) - origin) / extent;
    return coordinate >= 0.0 && coordinate < static_cast<double>(texels);
}

void bilinearAxis(double coordinate, uint32_t texels, uint32_t& first, uint32_t& second,
                  float& ratio)
{
    const double last = static_cast<double>(texels - 1);
    const double centred = std::clamp(coordinate - 0.5, 0.0, last);
    first = static_cast<uint32_t>(centred);
    second = std::min(first + 1, texels - 1);
    ratio = static_cast<float>(centred - first);
}
}

bool MapSampling::nearestTexel(const TBounds& bounds, uint32_t width, uint32_t height, float x,
                               float z, uint32_t& texelX, uint32_t& texelZ)
{
    double fx = 0.0;
    double fz = 0.0;
    if (!texelCoordinate(x, bounds.left, bounds.width(), width, fx) ||
        !texelCoordinate(z, bounds.top, bounds.height(), height, fz))
        return false;
    texelX = std::min(static_cast<uint32_t>(fx), width - 1);
    texelZ = std::min(static_cast<uint32_t>(fz), height - 1);
    return true;
}

bool MapSampling::bilinearTexels(const TBounds& bounds, uint32_t width, uint32_t height, float x,
                                 float z, Bilinear& sample)
{
    double fx = 0.0;
    double fz = 0.0;
    if (!texelCoordinate(x, bounds.left, bounds.width(), width, fx) ||
        !texelCoordinate(z, bounds.top, bounds.height(), height, fz))
        return false;
    bilinearAxis(fx, width, sample.x0, sample.x1, sample.xRatio);
    bilinearAxis(fz, height, sample.z0, sample.z1, sample.zRatio);
    return true;
}
