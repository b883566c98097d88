// A cell quad of the editor's tile palette on a headless engine: it shows the picture of the
// tile in its slot, under its own name, and nothing for an empty slot.
#include "gui/SelectorGridQuad.h"
#include "track/TrackObjectDesc.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

TEST(SelectorGridQuad, ShowsThePictureOfTheTileInItsSlot)
{
    HeadlessOgre::rootWithTextures();
    Ogre::SceneManager* scene = HeadlessOgre::createSceneManager();
    TrackObjectDesc desc;
    desc.name = "Straight";
    desc.pictureName = "TileStraight.png";
    EditorTrackObject tile(desc, 0);
    EditorTrackObject* full = &tile;
    EditorTrackObject* empty = nullptr;
    {
        SelectorGridQuad::resetCounter();
        SelectorGridQuad first(&empty, scene->getRootSceneNode(), 1, -1, 0, 0, -2);
        SelectorGridQuad second(&full, scene->getRootSceneNode(), 1, -1, 1, 0, -2);
        EXPECT_EQ(first.getNode()->getName(), "SelectorGridQuad0_node");
        EXPECT_TRUE(scene->hasManualObject("SelectorGridQuad1"));
        const Ogre::Pass* pass =
            Ogre::MaterialManager::getSingleton().getByName("SelectorGridQuad1_material")->getTechnique(0)->getPass(0);
        EXPECT_EQ(second.getTexture(), "TileStraight.png");
        EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), "TileStraight.png");
        EXPECT_EQ(first.getTexture(), "transparent.png");

        // Scrolling the palette binds the quad to another slot.
        second.setSlot(&empty);
        EXPECT_EQ(second.getTile(), nullptr);
        EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), "transparent.png");
        first.setSlot(&full);
        EXPECT_EQ(first.getTexture(), "TileStraight.png");
    }
    EXPECT_FALSE(scene->hasSceneNode("SelectorGridQuad0_node"));
    HeadlessOgre::root().destroySceneManager(scene);
}
