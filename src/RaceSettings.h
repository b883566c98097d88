// Choices the race scene makes from the settings and the image cache before it builds.
#pragma once

#include <string>

namespace RaceSettings
{
// Edge length in pixels of the shadow textures for the shadow quality 0, 1 or 2.
unsigned shadowTextureSize(int shadowQuality);

// Anisotropic filtering degree of the lightmapped materials for the texture quality 0, 1 or
// 2: only the high quality pays for it; 1 means trilinear. A software renderer gets 1 at
// every quality: filtering anisotropically, it draws a race at a tenth of the frame rate.
unsigned textureAnisotropy(int textureQuality, bool softwareRenderer);
// Whether the render system's device name is one of Mesa's software rasterisers.
bool isSoftwareRenderer(const std::string& deviceName);

constexpr const char* kLightmapName = "Lightmap";

enum class LightmapSource
{
    VegetationCache,  // the cached picture with the trees' shadows, uploaded after the trees
    PlainCache,       // the cached picture without them
    Compute,          // nothing cached: bake it and store it
};
LightmapSource chooseLightmapSource(bool vegetationEnabled, bool vegetationCached, bool plainCached);
}
