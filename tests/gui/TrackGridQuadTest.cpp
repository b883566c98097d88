// A cell quad of the editor's track pane on a headless engine: which picture and number it
// shows for the cell it is bound to, and the brush's hover preview over both.
#include "gui/TrackGridQuad.h"
#include "track/TrackObjectDesc.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
TrackObjectDesc checkpointType()
{
    TrackObjectDesc desc;
    desc.name = "Checkpoint";
    desc.width = 1;
    desc.height = 1;
    desc.checkpoint = true;
    desc.pictureName = "TileCheckpoint.png";
    return desc;
}

class TrackGridQuadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessOgre::rootWithTextures();
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        // The generated checkpoint numbers; without them a quad could not tell which exist.
        if (!groups.resourceGroupExists("EditorPictures"))
        {
            groups.createResourceGroup("EditorPictures");
            groups.addResourceLocation(QUILLMOR_BUILD_DIR "/media/editor", "FileSystem", "EditorPictures");
            groups.initialiseResourceGroup("EditorPictures");
        }
        scene = HeadlessOgre::createSceneManager();
    }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(scene); }

    Ogre::SceneManager* scene = nullptr;
};
}

TEST_F(TrackGridQuadTest, ShowsTheTileOfItsCellWithTheCheckpointNumber)
{
    EditorTrackObject* cell = nullptr;
    TrackGridQuad::resetCounter();
    TrackGridQuad quad(&cell, scene->getRootSceneNode(), 1, -1, 0, 0, -1);
    EXPECT_EQ(quad.getNode()->getName(), "TrackGridQuad0_node");
    EXPECT_EQ(quad.getPictureTexture(), "transparent.png");
    EXPECT_EQ(quad.getOverlayTexture(), "transparent.png");

    auto tile = std::make_unique<EditorTrackObject>(checkpointType(), 0);
    tile->setCheckPointNumber(3);
    cell = tile.get();
    tile->addBackPointer(&cell);
    quad.refresh();
    EXPECT_EQ(quad.getPictureTexture(), "TileCheckpoint.png");
    EXPECT_EQ(quad.getOverlayTexture(), "Overlay_3.png");

    // A number past the pictures made shows the tile without one rather than a missing texture.
    tile->setCheckPointNumber(100000);
    quad.refresh();
    EXPECT_EQ(quad.getOverlayTexture(), "transparent.png");

    // The hover preview takes the quad over until it is cleared.
    quad.setPreview("TileStraight.png", TileTextureRect(0, 0, 1, 1, false));
    Ogre::Pass* pass = Ogre::MaterialManager::getSingleton().getByName("TrackGridQuad0_material")->getTechnique(0)->getPass(0);
    EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), "TileStraight.png");
    EXPECT_EQ(pass->getTextureUnitState(1)->getTextureName(), "transparent.png");
    quad.setPreview("", TileTextureRect(0, 0, 1, 1, false));
    EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), "TileCheckpoint.png");

    // Deleting the tile empties the cell; the quad then shows nothing.
    tile.reset();
    EXPECT_EQ(cell, nullptr);
    quad.refresh();
    EXPECT_EQ(quad.getPictureTexture(), "transparent.png");
    EXPECT_EQ(quad.getOverlayTexture(), "transparent.png");
}

TEST_F(TrackGridQuadTest, ClearingRemovesItsObjectsFromTheScene)
{
    EditorTrackObject* cell = nullptr;
    TrackGridQuad::resetCounter();
    {
        TrackGridQuad quad(&cell, scene->getRootSceneNode(), 1, -1, 0, 0, -1);
        EXPECT_TRUE(scene->hasManualObject("TrackGridQuad0"));
    }
    EXPECT_FALSE(scene->hasManualObject("TrackGridQuad0"));
    EXPECT_FALSE(scene->hasSceneNode("TrackGridQuad0_node"));
    // The next grid makes its quads under the same names, reusing their materials.
    TrackGridQuad::resetCounter();
    TrackGridQuad again(&cell, scene->getRootSceneNode(), 1, -1, 0, 0, -1);
    EXPECT_TRUE(scene->hasManualObject("TrackGridQuad0"));
}
