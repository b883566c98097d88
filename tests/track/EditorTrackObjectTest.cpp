// Editor tiles: rotation, copies, grid back-pointers and the picture piece of each cell.
#include "track/EditorTrackObject.h"
#include "track/TrackObjectDesc.h"

#include <gtest/gtest.h>

namespace
{
TrackObjectDesc wideTile()
{
    TrackObjectDesc desc;
    desc.name = "Wide";
    desc.width = 2;
    desc.height = 1;
    desc.pictureName = "wide.png";
    desc.graphicMeshes[0] = "wide.mesh";
    desc.checkpoint = true;
    return desc;
}

void expectRect(const TileTextureRect& rect, float u1, float v1, float u2, float v2, bool swapped, const char* what)
{
    EXPECT_FLOAT_EQ(rect.u1, u1) << what;
    EXPECT_FLOAT_EQ(rect.v1, v1) << what;
    EXPECT_FLOAT_EQ(rect.u2, u2) << what;
    EXPECT_FLOAT_EQ(rect.v2, v2) << what;
    EXPECT_EQ(rect.swapped, swapped) << what;
}
}

TEST(EditorTrackObject, RotatesItsFootprint)
{
    EditorTrackObject tile(wideTile(), 1);
    EXPECT_EQ(tile.getRotation(), 1);
    EXPECT_EQ(tile.getWidth(), 1);
    EXPECT_EQ(tile.getHeight(), 2);
    EXPECT_EQ(tile.getOriginalWidth(), 2);
    for (int i = 0; i < 3; ++i)
        tile.rotate();
    EXPECT_EQ(tile.getRotation(), 0);
    EXPECT_EQ(tile.getWidth(), 2);
    tile.rotate();
    tile.resetRotation();
    EXPECT_EQ(tile.getRotation(), 0);
    EXPECT_EQ(tile.getHeight(), 1);
    EXPECT_EQ(tile.getMeshName(), "wide.mesh");
    EXPECT_EQ(tile.getCheckPointNumber(), -1);
}

TEST(EditorTrackObject, ShowsThePictureAcrossItsCellsTurnedWithTheTile)
{
    EditorTrackObject tile(wideTile(), 0);
    expectRect(tile.getCellTextureRect(0), 0, 0, 0.5f, 1, false, "cell 0 unturned");
    expectRect(tile.getCellTextureRect(1), 0.5f, 0, 1, 1, false, "cell 1 unturned");
    tile.rotate();  // 1 x 2 now: a = i / 2, b = i % 2
    expectRect(tile.getCellTextureRect(1), 0.5f, 1, 1, 0, true, "cell 1 quarter turn");
    tile.rotate();
    expectRect(tile.getCellTextureRect(0), 1, 1, 0.5f, 0, false, "cell 0 half turn");
    tile.rotate();
    expectRect(tile.getCellTextureRect(0), 1, 0, 0.5f, 1, true, "cell 0 three quarter turns");
}

TEST(EditorTrackObject, GridCellsAreEmptiedWhenTheTileGoes)
{
    EditorTrackObject* grid[2] = {nullptr, nullptr};
    EditorTrackObject* other = nullptr;
    {
        auto tile = std::make_unique<EditorTrackObject>(wideTile(), 0);
        tile->setCheckPointNumber(4);
        grid[0] = grid[1] = tile.get();
        tile->addBackPointer(&grid[0]);
        tile->addBackPointer(&grid[1]);
        EXPECT_EQ(tile->getFirstCell(), &grid[0]);
        expectRect(tile->getTextureRectForCell(&grid[1]), 0.5f, 0, 1, 1, false, "registered cell");
        expectRect(tile->getTextureRectForCell(&other), 0, 0, 1, 1, false, "cell not registered");

        const EditorTrackObject copy(*tile);
        EXPECT_EQ(copy.getFirstCell(), nullptr);
        EXPECT_EQ(copy.getCheckPointNumber(), 4);
        EXPECT_TRUE(copy.isCheckPoint());
    }
    EXPECT_EQ(grid[0], nullptr);
    EXPECT_EQ(grid[1], nullptr);
}
