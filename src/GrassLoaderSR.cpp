// Grass on the race's terrain, kept off the track.
#include "GrassLoaderSR.h"

#include "track/MapObject.h"
#include "track/TerrainObject.h"

#include <algorithm>

namespace
{
// How fast blades shrink towards the track: at a coverage of 1 / 1.6 of full they are gone,
// so the verge stays clear where the mask's blend reaches out of the tiles.
constexpr float kShrinkRate = 1.6f;
}

float GrassLoaderSR::getHeightAt(float x, float z)
{
    return terrain ? terrain->getHeight(x, z) : 0.0f;
}

float GrassLoaderSR::sizeFactor(float coverage)
{
    return std::clamp(1.0f - coverage / 255.0f * kShrinkRate, 0.0f, 1.0f);
}

void GrassLoaderSR::adjustGrassSize(float x, float z, float& height, float& halfWidth)
{
    if (!track)
        return;
    const float factor = sizeFactor(track->getCoverage(x, z));
    height *= factor;
    halfWidth *= factor;
}
