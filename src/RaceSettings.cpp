// The race scene's choices from the settings.
#include "RaceSettings.h"

namespace RaceSettings
{
unsigned shadowTextureSize(int shadowQuality)
{
    switch (shadowQuality)
    {
    case 0:
        return 128;
    case 1:
        return 512;
    default:
        return 1024;
    }
}

unsigned textureAnisotropy(int textureQuality, bool softwareRenderer)
{
    return textureQuality >= 2 && !softwareRenderer ? 8 : 1;
}

bool isSoftwareRenderer(const std::string& deviceName)
{
    for (const char* rasteriser : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (deviceName.find(rasteriser) != std::string::npos)
            return true;
    return false;
}

LightmapSource chooseLightmapSource(bool vegetationEnabled, bool vegetationCached, bool plainCached)
{
    if (vegetationEnabled && vegetationCached)
        return LightmapSource::VegetationCache;
    return plainCached ? LightmapSource::PlainCache : LightmapSource::Compute;
}
}
