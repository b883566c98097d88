// The editor's track without a window: placing and replacing tiles, 2 x 2 footprints,
// checkpoint numbers, validity, the scroll window, the pane under the pointer and loading.
#include "gui/EditorPane.h"
#include "gui/TrackCells.h"
#include "gui/TrackPainter.h"
#include "track/TrackObjectDesc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
TrackObjectDesc tileType(const std::string& name, int width = 1, int height = 1)
{
    TrackObjectDesc desc;
    desc.name = name;
    desc.width = width;
    desc.height = height;
    desc.pictureName = name + ".png";
    desc.graphicMeshes[0] = name + ".mesh";
    desc.start = name == "Start" || name == "StartFinish";
    desc.finish = name == "Finish" || name == "StartFinish";
    desc.checkpoint = name == "Checkpoint";
    desc.clear = name == "Eraser";
    return desc;
}

TrackObjectDescs catalogue()
{
    TrackObjectDescs descs;
    for (const char* name : {"Straight", "Start", "Finish", "StartFinish", "Checkpoint", "Eraser"})
        descs[name] = std::make_unique<TrackObjectDesc>(tileType(name));
    descs["Wide"] = std::make_unique<TrackObjectDesc>(tileType("Wide", 2, 2));
    descs["Long"] = std::make_unique<TrackObjectDesc>(tileType("Long", 3, 1));
    return descs;
}

struct Editor
{
    TrackObjectDescs types = catalogue();
    TrackCells cells{80, 80};
    TrackPainter painter{cells};

    EditorTrackObject brush(const std::string& name, int turns = 0) const { return EditorTrackObject(*types.at(name), turns); }
    bool place(const std::string& name, int column, int row, int turns = 0)
    {
        return painter.place(brush(name, turns), column, row);
    }
    int numberAt(int column, int row) const { return cells.at(column, row)->getCheckPointNumber(); }
};
}

TEST(EditorTrack, PlacingReplacesWhatTheFootprintCovers)
{
    Editor editor;
    ASSERT_TRUE(editor.place("Straight", 10, 10));
    ASSERT_TRUE(editor.place("Straight", 11, 11));
    // A 2 x 2 tile over both straights takes their cells and is one tile in four cells.
    ASSERT_TRUE(editor.place("Wide", 10, 10));
    const EditorTrackObject* wide = editor.cells.at(10, 10);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->getName(), "Wide");
    for (const auto& [c, r] : {std::pair{11, 10}, {10, 11}, {11, 11}})
        EXPECT_EQ(editor.cells.at(c, r), wide) << c << "," << r;
    EXPECT_EQ(editor.cells.at(12, 10), nullptr);
    EXPECT_EQ(editor.cells.tileCount(), 1u);
    EXPECT_EQ(wide->getFirstCell(), editor.cells.slot(10, 10));

    // A straight on one of its cells removes the whole wide tile.
    ASSERT_TRUE(editor.place("Straight", 11, 11));
    EXPECT_EQ(editor.cells.at(10, 10), nullptr);
    EXPECT_EQ(editor.cells.at(11, 10), nullptr);
    EXPECT_EQ(editor.cells.at(11, 11)->getName(), "Straight");

    // The eraser empties its footprint and leaves nothing behind.
    ASSERT_TRUE(editor.place("Eraser", 11, 11));
    EXPECT_EQ(editor.cells.at(11, 11), nullptr);
    EXPECT_EQ(editor.cells.tileCount(), 0u);

    // Turned, a 3 x 1 tile covers 1 x 3 cells; it may not reach past the 80 x 80 field.
    EXPECT_TRUE(editor.place("Long", 79, 77, 1));
    EXPECT_EQ(editor.cells.at(79, 79)->getName(), "Long");
    EXPECT_FALSE(editor.place("Long", 79, 78, 1));
    EXPECT_FALSE(editor.place("Long", 78, 0));
    EXPECT_FALSE(editor.place("Straight", -1, 0));
    EXPECT_FALSE(editor.place("Straight", 0, 80));
}

TEST(EditorTrack, OnlyOneStartAndOneFinishStayOnTheTrack)
{
    Editor editor;
    editor.place("Start", 0, 0);
    editor.place("Finish", 79, 79);
    editor.place("Straight", 5, 5);
    // A second start anywhere takes the first one off, far outside any visible window too.
    editor.place("Start", 40, 40);
    EXPECT_EQ(editor.cells.at(0, 0), nullptr);
    EXPECT_TRUE(editor.cells.at(40, 40)->isStart());
    // A start-finish is both: it removes the start and the finish.
    editor.place("StartFinish", 20, 20);
    EXPECT_EQ(editor.cells.at(40, 40), nullptr);
    EXPECT_EQ(editor.cells.at(79, 79), nullptr);
    EXPECT_NE(editor.cells.at(5, 5), nullptr);
    EXPECT_EQ(editor.cells.tileCount(), 2u);
}

TEST(EditorTrack, CheckpointsAreNumberedInPlacingOrderWithoutGaps)
{
    Editor editor;
    editor.place("Checkpoint", 1, 0);
    editor.place("Checkpoint", 2, 0);
    editor.place("Checkpoint", 3, 0);
    EXPECT_EQ(editor.numberAt(1, 0), 1);
    EXPECT_EQ(editor.numberAt(3, 0), 3);
    // Removing 2 of 1, 2, 3 leaves 1 and 2; the next placed checkpoint is 3.
    editor.place("Straight", 2, 0);
    EXPECT_EQ(editor.numberAt(1, 0), 1);
    EXPECT_EQ(editor.numberAt(3, 0), 2);
    EXPECT_EQ(editor.painter.getNextCheckpoint(), 3);
    // Overwriting checkpoint 1 with a checkpoint renumbers the rest before it takes its number.
    editor.place("Checkpoint", 1, 0);
    EXPECT_EQ(editor.numberAt(3, 0), 1);
    EXPECT_EQ(editor.numberAt(1, 0), 2);
    // A wide tile over two checkpoints removes both.
    editor.place("Checkpoint", 3, 1);
    editor.place("Wide", 3, 0);
    EXPECT_EQ(editor.numberAt(1, 0), 1);
    EXPECT_EQ(editor.painter.getNextCheckpoint(), 2);
    editor.place("Checkpoint", 9, 9);
    EXPECT_EQ(editor.numberAt(9, 9), 2);
}

TEST(EditorTrack, DraggingNeverRelaysTheSameTile)
{
    Editor editor;
    const EditorTrackObject checkpoint = editor.brush("Checkpoint");
    EXPECT_TRUE(editor.painter.paint(checkpoint, 4, 4));
    EXPECT_TRUE(editor.painter.paint(checkpoint, 5, 4));
    // Back over the first: no re-laying, so no renumbering.
    EXPECT_FALSE(editor.painter.paint(checkpoint, 4, 4));
    EXPECT_EQ(editor.numberAt(4, 4), 1);
    EXPECT_EQ(editor.numberAt(5, 4), 2);
    // Another tile kind paints over.
    EXPECT_TRUE(editor.painter.paint(editor.brush("Straight"), 4, 4));
    EXPECT_EQ(editor.numberAt(5, 4), 1);
}

TEST(EditorTrack, ValidityNeedsStartFinishAndACheckpoint)
{
    struct Case
    {
        const char* what;
        std::vector<const char*> tiles;
        bool valid;
    };
    const Case cases[] = {
        {"empty", {}, false},
        {"start, finish, checkpoint", {"Start", "Finish", "Checkpoint"}, true},
        {"no checkpoint", {"Start", "Finish", "Straight"}, false},
        {"no finish", {"Start", "Checkpoint"}, false},
        {"no start", {"Finish", "Checkpoint"}, false},
        {"start-finish and checkpoint", {"StartFinish", "Checkpoint"}, true},
    };
    for (const Case& c : cases)
    {
        Editor editor;
        int column = 0;
        for (const char* tile : c.tiles)
            editor.place(tile, column += 2, 7);
        EXPECT_EQ(editor.cells.isValid(), c.valid) << c.what;
    }
    // A checkpoint that is flagged start too counts as a checkpoint only.
    Editor editor;
    TrackObjectDesc odd = tileType("Checkpoint");
    odd.start = true;
    editor.painter.place(EditorTrackObject(odd, 0), 1, 1);
    editor.place("Finish", 2, 2);
    EXPECT_FALSE(editor.cells.isValid());
}

TEST(EditorTrack, SavedTilesAreListedOnceByColumnThenRow)
{
    Editor editor;
    editor.place("Straight", 5, 9);
    editor.place("Wide", 3, 20);
    editor.place("Start", 5, 2);
    editor.place("Straight", 0, 79);
    const PlacedEditorTiles placed = editor.cells.placedTiles();
    ASSERT_EQ(placed.size(), 4u);
    const std::pair<float, float> expected[] = {{0, 79}, {3, 20}, {5, 2}, {5, 9}};
    for (std::size_t i = 0; i < placed.size(); ++i)
    {
        EXPECT_EQ(placed[i].second.x, expected[i].first) << i;
        EXPECT_EQ(placed[i].second.y, expected[i].second) << i;
    }
    EXPECT_EQ(placed[1].first->getName(), "Wide");
}

TEST(EditorTrack, LoadingSkipsUnknownOffGridAndOverlappingEntries)
{
    Editor editor;
    editor.place("Straight", 50, 50);
    const MapEntries entries = {
        {"Wide", -1, 0, 10, 10},       // covers 10..11 x 10..11
        {"Straight", -1, 0, 11, 11},   // overlaps the wide tile: skipped
        {"NoSuchTile", -1, 0, 20, 20}, // unknown: skipped
        {"Long", -1, 1, 5, 78},        // turned 1 x 3 from row 78: off the grid, skipped
        {"Long", -1, 0, 77, 0},        // 77..79: fits
        {"Checkpoint", 5, 2, 1, 1},
        {"Straight", 2, 0, 2, 1},      // a numbered entry becomes a checkpoint
        {"Straight", -1, 7, 3, 3},     // a rotation outside 0..3 is taken modulo 4
    };
    std::vector<std::string> skipped;
    EXPECT_EQ(editor.cells.load(entries, editor.types, skipped), 5);
    ASSERT_EQ(skipped.size(), 3u);
    EXPECT_NE(skipped[0].find("overlaps"), std::string::npos) << skipped[0];
    EXPECT_NE(skipped[1].find("unknown tile \"NoSuchTile\""), std::string::npos) << skipped[1];
    EXPECT_NE(skipped[2].find("off the grid"), std::string::npos) << skipped[2];
    EXPECT_EQ(editor.cells.at(50, 50), nullptr) << "the earlier track is replaced";
    EXPECT_EQ(editor.cells.at(11, 11)->getName(), "Wide");
    EXPECT_EQ(editor.cells.at(79, 0)->getName(), "Long");
    EXPECT_TRUE(editor.cells.at(2, 1)->isCheckPoint());
    EXPECT_EQ(editor.cells.at(2, 1)->getCheckPointNumber(), 2);
    EXPECT_EQ(editor.cells.at(3, 3)->getRotation(), 3);
    EXPECT_EQ(editor.cells.tileCount(), 5u);

    // A loaded track with checkpoint 5 as its highest continues at 6.
    editor.painter.setNextCheckpoint(6);
    editor.place("Checkpoint", 30, 30);
    EXPECT_EQ(editor.numberAt(30, 30), 6);
}

TEST(EditorPane, ScrollWindowIsClampedToTheTrack)
{
    struct Case
    {
        float position;
        int firstColumn;  // of 80 with 20 shown
        int firstRow;     // of 80 with 16 shown
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {0.0f, 0, 0}, {0.5f, 30, 32}, {1.0f, 60, 64}, {-3.0f, 0, 0}, {7.0f, 60, 64}, {nan, 0, 0}, {0.01f, 1, 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(scrollOffset(80, 20, c.position), c.firstColumn) << c.position;
        EXPECT_EQ(scrollOffset(80, 16, c.position), c.firstRow) << c.position;
    }
    EXPECT_EQ(scrollOffset(10, 20, 1.0f), 0) << "a window wider than the track does not scroll";
}

TEST(EditorPane, TilesMustLieWhollyInTheVisibleWindow)
{
    struct Case
    {
        int column, row, width, height;
        bool fits;
    };
    const Case cases[] = {
        {18, 0, 2, 1, true}, {19, 0, 2, 1, false}, {0, 15, 1, 1, true}, {0, 15, 1, 2, false},
        {-1, 0, 1, 1, false}, {0, -1, 1, 1, false}, {20, 0, 1, 1, false}, {0, 16, 1, 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitsWindow(c.column, c.row, c.width, c.height, 20, 16), c.fits)
            << c.column << "," << c.row << " " << c.width << "x" << c.height;
}

TEST(EditorPane, PointerFindsTheCellUnderIt)
{
    const EditorPane pane{0.1f, 0.2f, 0.5f, 0.4f, 20, 16};
    struct Case
    {
        float x, y;
        int column, row;
    };
    const Case cases[] = {
        {0.1f, 0.2f, 0, 0},         {0.5999f, 0.5999f, 19, 15}, {0.1251f, 0.2251f, 1, 1},
        {0.0999f, 0.3f, -1, -1},    {0.6f, 0.3f, -1, -1},       {0.3f, 0.6f, -1, -1},
        {0.3f, 0.1999f, -1, -1},
    };
    for (const Case& c : cases)
    {
        const PaneCell cell = pane.cellAt(c.x, c.y);
        EXPECT_EQ(cell.column, c.column) << c.x << "," << c.y;
        EXPECT_EQ(cell.row, c.row) << c.x << "," << c.y;
    }
}

TEST(EditorPane, BackgroundShowsTheTerrainUnderTheShownCells)
{
    const BackgroundRect rect = backgroundRect(30, 32, 80, 80, 20, 16);
    const float border = 8.0f / 3.0f;
    EXPECT_FLOAT_EQ(rect.left, (30 + border) / 80);
    EXPECT_FLOAT_EQ(rect.top, (32 + border) / 80);
    EXPECT_FLOAT_EQ(rect.right, (50 - border) / 80);
    EXPECT_FLOAT_EQ(rect.bottom, (48 - border) / 80);
}
