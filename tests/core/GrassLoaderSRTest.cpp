// The race's grass near the track: blades keep their size on free ground, shrink over the
// blend of the coverage mask, and are gone before the mask is full; with no terrain or track
// the ground is flat and nothing shrinks.
#include "GrassLoaderSR.h"

#include "HeadlessOgre.h"
#include "paging/GeometryPager.h"

#include <gtest/gtest.h>

namespace
{
TEST(GrassLoaderSR, BladesShrinkWithTheTracksCoverage)
{
    const struct
    {
        const char* where;
        float coverage;
        float factor;
    } cases[] = {
        {"free ground", 0.0f, 1.0f},
        {"the mask's first step", 25.5f, 0.84f},
        {"half way to gone", 255.0f / 3.2f, 0.5f},
        {"just gone", 255.0f / 1.6f, 0.0f},
        {"on the track", 255.0f, 0.0f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(GrassLoaderSR::sizeFactor(c.coverage), c.factor, 1e-5f) << c.where;
}

TEST(GrassLoaderSR, WithoutTerrainOrTrackTheGroundIsFlatAndBladesKeepTheirSize)
{
    HeadlessOgre::root();
    GeometryPager pager;
    GrassLoaderSR loader(&pager);
    EXPECT_EQ(loader.getHeightAt(120.0f, 40.0f), 0.0f);
    float height = 0.6f, halfWidth = 0.5f;
    loader.adjustGrassSize(120.0f, 40.0f, height, halfWidth);
    EXPECT_EQ(height, 0.6f);
    EXPECT_EQ(halfWidth, 0.5f);
}
}
