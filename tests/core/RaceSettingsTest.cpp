// The race scene's choices: shadow texture sizes, texture filtering and which lightmap picture a load uses.
#include "RaceSettings.h"

#include <gtest/gtest.h>

namespace
{
using RaceSettings::LightmapSource;

TEST(RaceSettings, ShadowTextureSizeByQuality)
{
    EXPECT_EQ(RaceSettings::shadowTextureSize(0), 128u);
    EXPECT_EQ(RaceSettings::shadowTextureSize(1), 512u);
    EXPECT_EQ(RaceSettings::shadowTextureSize(2), 1024u);
}

TEST(RaceSettings, OnlyHighTextureQualityFiltersAnisotropicallyAndNeverInSoftware)
{
    EXPECT_EQ(RaceSettings::textureAnisotropy(0, false), 1u);
    EXPECT_EQ(RaceSettings::textureAnisotropy(1, false), 1u);
    EXPECT_EQ(RaceSettings::textureAnisotropy(2, false), 8u);
    for (int quality : {0, 1, 2})
        EXPECT_EQ(RaceSettings::textureAnisotropy(quality, true), 1u) << quality;
}

TEST(RaceSettings, SoftwareRenderersByTheirDeviceName)
{
    const struct
    {
        const char* device;
        bool software;
    } cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Mesa DRI swrast", true},
        {"Software Rasterizer", true},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-18-amd64)", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RaceSettings::isSoftwareRenderer(c.device), c.software) << c.device;
}

TEST(RaceSettings, LightmapSourceUsesTheTreeVariantOnlyWithVegetation)
{
    struct Case
    {
        bool vegetation, vegetationCached, plainCached;
        LightmapSource expected;
    };
    for (const Case& c : {Case{true, true, true, LightmapSource::VegetationCache},
                          Case{true, true, false, LightmapSource::VegetationCache},
                          Case{false, true, true, LightmapSource::PlainCache},  // vegetation off: never the tree picture
                          Case{false, true, false, LightmapSource::Compute},
                          Case{true, false, true, LightmapSource::PlainCache},
                          Case{true, false, false, LightmapSource::Compute}})
        EXPECT_EQ(RaceSettings::chooseLightmapSource(c.vegetation, c.vegetationCached, c.plainCached), c.expected)
            << c.vegetation << c.vegetationCached << c.plainCached;
}
}
