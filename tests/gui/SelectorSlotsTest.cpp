// The tile palette's slots without a window: places from the descriptions, pages, overlaps
// and places outside the palette.
#include "gui/SelectorSlots.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{
std::unique_ptr<TrackObjectDesc> placedAt(const std::string& name, int x, int y, int page, int width = 1,
                                          int height = 1)
{
    auto desc = std::make_unique<TrackObjectDesc>();
    desc->name = name;
    desc->width = width;
    desc->height = height;
    desc->selectorX = x;
    desc->selectorY = y;
    desc->selectorPage = page;
    return desc;
}
}

TEST(SelectorSlots, TilesTakeTheirDescribedPlaces)
{
    TrackObjectDescs descs;
    descs["Wide"] = placedAt("Wide", 3, 0, 0, 2, 1);
    descs["Second"] = placedAt("Second", 0, 2, 1);
    SelectorSlots slots(5, 20, 5, 10);
    std::vector<std::string> skipped;
    slots.load(descs, skipped);
    EXPECT_TRUE(skipped.empty());

    // A 2 x 1 tile at x 3 fills slots (3, 0) and (4, 0), framed from (3, 0).
    EditorTrackObject* wide = slots.at(3, 0);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(slots.at(4, 0), wide);
    EXPECT_EQ(slots.shownAt(4, 0), wide);
    EXPECT_EQ(slots.shownCellOf(*wide).column, 3);
    EXPECT_EQ(slots.shownCellOf(*wide).row, 0);
    // Page 1, row 2 lies in slot row 12, not shown on page 0.
    EditorTrackObject* second = slots.at(0, 12);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(slots.shownAt(0, 2), nullptr);
    EXPECT_TRUE(slots.shownCellOf(*second).isNone());

    int moved = 0;
    EXPECT_FALSE(slots.scrollUp(moved)) << "no page above the first";
    ASSERT_TRUE(slots.scrollDown(moved));
    EXPECT_EQ(moved, -10);
    EXPECT_EQ(slots.getRowOffset(), 10);
    EXPECT_EQ(slots.shownAt(0, 2), second);
    EXPECT_EQ(slots.shownCellOf(*second).row, 2);
    EXPECT_TRUE(slots.shownCellOf(*wide).isNone());
    EXPECT_FALSE(slots.scrollDown(moved)) << "no page below the last";
    EXPECT_EQ(slots.getRowOffset(), 10);
    ASSERT_TRUE(slots.scrollUp(moved));
    EXPECT_EQ(moved, 10);
    EXPECT_EQ(slots.shownAt(3, 0), wide);
    EXPECT_EQ(slots.shownAt(5, 0), nullptr);
    EXPECT_EQ(slots.shownAt(0, 10), nullptr);
}

TEST(SelectorSlots, LaterNameWinsAnOverlapAndTheEarlierLeavesAllItsSlots)
{
    TrackObjectDescs descs;
    descs["A"] = placedAt("A", 0, 0, 0, 2, 2);
    descs["B"] = placedAt("B", 1, 1, 0);
    SelectorSlots slots(5, 20, 5, 10);
    std::vector<std::string> skipped;
    slots.load(descs, skipped);
    EXPECT_EQ(slots.at(1, 1)->getName(), "B");
    for (const auto& [c, r] : {std::pair{0, 0}, {1, 0}, {0, 1}})
        EXPECT_EQ(slots.at(c, r), nullptr) << c << "," << r;
}

TEST(SelectorSlots, PlacesOutsideThePaletteAreSkippedAndNamed)
{
    const int huge = std::numeric_limits<int>::max();
    struct Case
    {
        const char* what;
        int x, y, page, width, height;
    };
    const Case cases[] = {
        {"column past the palette", 5, 0, 0, 1, 1},
        {"footprint past the right edge", 4, 0, 0, 2, 1},
        {"negative column", -1, 0, 0, 1, 1},
        {"negative row", 0, -1, 0, 1, 1},
        {"page past the last", 0, 0, 2, 1, 1},
        {"footprint past the last row", 0, 9, 1, 1, 2},
        {"negative page", 0, 5, -1, 1, 1},
        {"huge column", huge, 0, 0, 2, 1},
        {"huge page", 0, 0, huge, 1, 1},
    };
    for (const Case& c : cases)
    {
        TrackObjectDescs descs;
        descs["Odd"] = placedAt("Odd", c.x, c.y, c.page, c.width, c.height);
        descs["Fine"] = placedAt("Fine", 0, 0, 0);
        SelectorSlots slots(5, 20, 5, 10);
        std::vector<std::string> skipped;
        slots.load(descs, skipped);
        ASSERT_EQ(skipped.size(), 1u) << c.what;
        EXPECT_NE(skipped[0].find("\"Odd\""), std::string::npos) << c.what << ": " << skipped[0];
        EXPECT_EQ(slots.at(0, 0)->getName(), "Fine") << c.what;
        for (int column = 0; column < 5; ++column)
        {
            for (int row = 0; row < 20; ++row)
            {
                const EditorTrackObject* tile = slots.at(column, row);
                EXPECT_TRUE(!tile || tile->getName() == "Fine") << c.what << ": " << tile->getName();
            }
        }
    }
}
