// Density and colour map lookups at the edges and outside, the shared registry and failed
// builds.
#include "HeadlessOgre.h"
#include "paging/ColorMap.h"
#include "paging/DensityMap.h"

#include <OGRE/OgreException.h>
#include <OGRE/OgreRoot.h>

#include <cmath>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>

namespace
{
// 4 x 2 texels over the world square (100, 200)..(140, 220): a texel is 10 x 10 units.
// Red rises along x, green along z, blue is 255 - red, alpha 255 except the last texel.
constexpr uint32_t kWidth = 4;
constexpr uint32_t kHeight = 2;
const TBounds kBounds(100.0f, 200.0f, 140.0f, 220.0f);

struct Texels
{
    std::array<uint8_t, kWidth * kHeight * 4> bytes{};
    Texels()
    {
        for (uint32_t z = 0; z < kHeight; ++z)
        {
            for (uint32_t x = 0; x < kWidth; ++x)
            {
                uint8_t* texel = &bytes[(z * kWidth + x) * 4];
                texel[0] = static_cast<uint8_t>(x * 85);  // 0, 85, 170, 255
                texel[1] = static_cast<uint8_t>(z * 255);
                texel[2] = static_cast<uint8_t>(255 - x * 85);
                texel[3] = (x == kWidth - 1 && z == kHeight - 1) ? 0 : 255;
            }
        }
    }
    Ogre::PixelBox box() { return Ogre::PixelBox(kWidth, kHeight, 1, Ogre::PF_BYTE_RGBA, bytes.data()); }
};

class PropertyMapTest : public ::testing::Test
{
protected:
    void SetUp() override { HeadlessOgre::root(); }

    DensityMap* redDensity(MapFilter filter)
    {
        DensityMap* map = DensityMap::load("ramp.png", texels.box(), CHANNEL_RED);
        map->setMapBounds(kBounds);
        map->setFilter(filter);
        return map;
    }

    Texels texels;
};

uint8_t byteOf(uint32_t color, int index) { return static_cast<uint8_t>(color >> (8 * index)); }
}

TEST_F(PropertyMapTest, NearestLookupSamplesTheTexelUnderThePoint)
{
    DensityMap* map = redDensity(MAPFILTER_NONE);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        const char* name;
        float x, z;
        float density;
    };
    const Case cases[] = {
        {"left top corner", 100.0f, 200.0f, 0.0f},
        {"second texel", 115.0f, 205.0f, 85.0f / 255.0f},
        {"just inside the right edge", 139.99f, 219.99f, 1.0f},
        {"on the right edge", 140.0f, 210.0f, 0.0f},
        {"on the bottom edge", 135.0f, 220.0f, 0.0f},
        {"half a texel left of the map", 95.0f, 205.0f, 0.0f},
        {"half a texel above the map", 135.0f, 195.0f, 0.0f},
        {"far left", -1e9f, 205.0f, 0.0f},
        {"far left and below", -4e9f, 4e9f, 0.0f},
        {"no number", nan, 205.0f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(map->getDensityAt(c.x, c.z), c.density) << c.name;
    map->unload();
}

TEST_F(PropertyMapTest, BilinearLookupMixesNeighboursAndClampsAtTheEdges)
{
    DensityMap* map = redDensity(MAPFILTER_BILINEAR);
    struct Case
    {
        const char* name;
        float x, z;
        float density;
    };
    const Case cases[] = {
        {"texel centre", 115.0f, 205.0f, 85.0f / 255.0f},
        {"between two texels", 120.0f, 205.0f, 127.5f / 255.0f},
        {"left edge: the edge texel", 100.0f, 210.0f, 0.0f},
        {"last half texel: the edge texel", 139.0f, 219.0f, 1.0f},
        {"outside right", 140.0f, 205.0f, 0.0f},
        {"outside top", 115.0f, 199.0f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(map->getDensityAt(c.x, c.z), c.density, 1e-5f) << c.name;

    // Never beyond the texels' own range, anywhere on or around the map.
    for (float x = 90.0f; x <= 150.0f; x += 0.25f)
    {
        for (float z = 190.0f; z <= 230.0f; z += 0.25f)
        {
            const float density = map->getDensityAt(x, z);
            ASSERT_GE(density, 0.0f) << x << "," << z;
            ASSERT_LE(density, 1.0f) << x << "," << z;
        }
    }
    map->unload();
}

TEST_F(PropertyMapTest, ColourLookupsOutsideAndAtTheEdges)
{
    ColorMap* map = ColorMap::load("ramp.png", texels.box(), CHANNEL_COLOR);
    map->setMapBounds(kBounds);

    map->setFilter(MAPFILTER_NONE);
    EXPECT_EQ(map->getColorAt(99.0f, 205.0f), 0xFFFFFFFFu) << "outside: opaque white";
    const Ogre::ColourValue second = map->getColorAt_Unpacked(115.0f, 205.0f);
    EXPECT_NEAR(second.r, 85.0f / 255.0f, 1e-6f);
    EXPECT_NEAR(second.g, 0.0f, 1e-6f);
    EXPECT_NEAR(second.b, 170.0f / 255.0f, 1e-6f);
    EXPECT_NEAR(second.a, 1.0f, 1e-6f);
    EXPECT_NEAR(map->getColorAt_Unpacked(135.0f, 215.0f).a, 0.0f, 1e-6f);

    map->setFilter(MAPFILTER_BILINEAR);
    EXPECT_EQ(map->getColorAt(140.0f, 205.0f), 0u) << "outside: nothing";
    // Every byte stays within its texels' range: no extrapolation, no wrapped bytes.
    for (float x = 100.0f; x < 140.0f; x += 0.25f)
    {
        for (float z = 200.0f; z < 220.0f; z += 0.25f)
        {
            const Ogre::ColourValue colour = map->getColorAt_Unpacked(x, z);
            // red + blue = 255, less what truncating each of the three mixes loses
            ASSERT_GE(colour.b + colour.r, 249.0f / 255.0f) << x << "," << z;
            ASSERT_LE(colour.b + colour.r, 1.0f + 1e-6f) << x << "," << z;
        }
    }
    const Ogre::ColourValue lastCorner = map->getColorAt_Unpacked(139.9f, 219.9f);
    EXPECT_NEAR(lastCorner.r, 1.0f, 1e-6f);
    EXPECT_NEAR(lastCorner.a, 0.0f, 1e-6f);
    map->unload();
}

TEST_F(PropertyMapTest, ASingleChannelColourMapIsGrey)
{
    ColorMap* map = ColorMap::load("ramp.png", texels.box(), CHANNEL_BLUE);
    map->setMapBounds(kBounds);
    map->setFilter(MAPFILTER_NONE);
    const uint32_t color = map->getColorAt(125.0f, 215.0f);  // blue 85
    for (int index : {0, 1, 2})
        EXPECT_EQ(byteOf(color, index), 85) << "byte " << index;
    EXPECT_EQ(byteOf(color, 3), 255);
    map->unload();
}

TEST_F(PropertyMapTest, MapsAreSharedByKeyUntilTheLastUnload)
{
    DensityMap* first = DensityMap::load("shared.png", texels.box(), CHANNEL_GREEN);
    DensityMap* second = DensityMap::load("shared.png", texels.box(), CHANNEL_GREEN);
    DensityMap* otherChannel = DensityMap::load("shared.png", texels.box(), CHANNEL_RED);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, otherChannel);
    EXPECT_EQ(first->getReferenceCount(), 2u);
    otherChannel->unload();

    first->unload();
    EXPECT_EQ(second->getReferenceCount(), 1u);
    second->unload();

    // Rebuilt from what it is given now: the old map is gone.
    texels.bytes[1] = 0;  // green of the first texel
    DensityMap* rebuilt = DensityMap::load("shared.png", texels.box(), CHANNEL_GREEN);
    rebuilt->setMapBounds(kBounds);
    rebuilt->setFilter(MAPFILTER_NONE);
    EXPECT_EQ(rebuilt->getReferenceCount(), 1u);
    EXPECT_FLOAT_EQ(rebuilt->getDensityAt(135.0f, 215.0f), 1.0f);
    rebuilt->unload();
}

TEST_F(PropertyMapTest, AMapThatFailsToBuildIsNotRegistered)
{
    const auto badChannel = static_cast<MapChannel>(7);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        EXPECT_THROW(DensityMap::load("bad.png", texels.box(), badChannel), Ogre::IOException);
        EXPECT_THROW(ColorMap::load("bad.png", texels.box(), badChannel), Ogre::IOException);
    }
    try
    {
        DensityMap::load("bad.png", texels.box(), badChannel);
    }
    catch (const Ogre::Exception& error)
    {
        EXPECT_EQ(error.getDescription(), "Invalid channel");
        EXPECT_EQ(error.getSource(), "GrassLayer::setDensityMap()");
    }
}
