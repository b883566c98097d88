// Hash-based value noise.
#include "ValueNoise.h"

#include <cmath>

float latticeNoise(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

float valueNoise(float x, float y, uint32_t seed)
{
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = latticeNoise(ix, iy, seed) * (1 - sx) + latticeNoise(ix + 1, iy, seed) * sx;
    const float bottom = latticeNoise(ix, iy + 1, seed) * (1 - sx) + latticeNoise(ix + 1, iy + 1, seed) * sx;
    return top * (1 - sy) + bottom * sy;
}
