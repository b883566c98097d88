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

TEST(RaceSettings, OnlyHighTextureQualityFiltersAnisotropically)
{
    EXPECT_EQ(RaceSettings::textureAnisotropy(0), 1u);
    EXPECT_EQ(RaceSettings::textureAnisotropy(1), 1u);
    EXPECT_EQ(RaceSettings::textureAnisotropy(2), 8u);
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
