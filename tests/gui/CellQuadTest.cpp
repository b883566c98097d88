// The editor panes' cell quad on a headless engine: the part of the picture it lays on its
// corners (a swapped part transposed), the overlay over the whole quad, and the material it
// leaves for the next quad of its name.
#include "gui/CellQuad.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
class CellQuadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessOgre::rootWithTextures();
        scene = HeadlessOgre::createSceneManager();
    }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(scene); }

    // One element of each of the quad's four vertices, in strip order; empty when it has none.
    std::vector<Ogre::Vector2> element(const std::string& name, Ogre::VertexElementSemantic semantic,
                                       unsigned short index = 0) const
    {
        const Ogre::VertexData& data = *scene->getManualObject(name)->getSections()[0]->getRenderOperation()->vertexData;
        const Ogre::VertexElement* found = data.vertexDeclaration->findElementBySemantic(semantic, index);
        if (!found)
            return {};
        const Ogre::HardwareVertexBufferSharedPtr& buffer = data.vertexBufferBinding->getBuffer(found->getSource());
        // The headless engine keeps buffers in memory: a read lock stays valid after unlocking.
        const auto* base = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
        buffer->unlock();
        std::vector<Ogre::Vector2> values;
        for (std::size_t vertex = 0; vertex < data.vertexCount; ++vertex)
        {
            float xy[2];
            std::memcpy(xy, base + vertex * buffer->getVertexSize() + found->getOffset(), sizeof(xy));
            values.emplace_back(xy[0], xy[1]);
        }
        return values;
    }

    Ogre::Pass* passOf(const std::string& name) const
    {
        return Ogre::MaterialManager::getSingleton().getByName(name + "_material")->getTechnique(0)->getPass(0);
    }

    Ogre::SceneManager* scene = nullptr;
};
}

TEST_F(CellQuadTest, LaysThePartOfThePictureOnItsCornersTransposedWhenSwapped)
{
    const struct Case
    {
        const char* name;
        CellQuad::Layers layers;
        TileTextureRect part;
        std::vector<Ogre::Vector2> coords;  // at (0, 0), (0, h), (w, 0), (w, h)
    } cases[] = {
        {"PlainPart", CellQuad::Layers::Picture, {0.25f, 0.5f, 0.75f, 1.0f, false}, {{0.25f, 0.5f}, {0.25f, 1.0f}, {0.75f, 0.5f}, {0.75f, 1.0f}}},
        {"SwappedPart", CellQuad::Layers::Picture, {0.25f, 0.5f, 0.75f, 1.0f, true}, {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.25f, 1.0f}, {0.75f, 1.0f}}},
        // A tile turned three quarters: its part runs backwards, swapped.
        {"TurnedPart", CellQuad::Layers::PictureAndOverlay, {1.0f, 0.0f, 0.0f, 1.0f, true}, {{1.0f, 0.0f}, {0.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}}},
    };
    const std::vector<Ogre::Vector2> corners = {{0, 0}, {0, -3}, {2, 0}, {2, -3}};
    const std::vector<Ogre::Vector2> whole = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CellQuad quad(c.name, c.layers, scene->getRootSceneNode(), 2, -3, 0, 0, -1);
        EXPECT_EQ(element(c.name, Ogre::VES_TEXTURE_COORDINATES), whole) << "before a part is shown";
        quad.showPart(c.part);
        EXPECT_EQ(element(c.name, Ogre::VES_TEXTURE_COORDINATES), c.coords);
        EXPECT_EQ(element(c.name, Ogre::VES_POSITION), corners);
        // The checkpoint number lies over the whole cell whatever part of the tile is under it.
        const bool overlay = c.layers == CellQuad::Layers::PictureAndOverlay;
        EXPECT_EQ(element(c.name, Ogre::VES_TEXTURE_COORDINATES, 1), overlay ? whole : std::vector<Ogre::Vector2>());
        EXPECT_EQ(passOf(c.name)->getNumTextureUnitStates(), overlay ? 2u : 1u);
    }
}

TEST_F(CellQuadTest, LeavesItsMaterialClearForTheNextQuadOfItsName)
{
    Ogre::Pass* pass = nullptr;
    {
        CellQuad quad("Kept", CellQuad::Layers::PictureAndOverlay, scene->getRootSceneNode(), 1, -1, 0, 0, -1);
        EXPECT_TRUE(scene->hasSceneNode("Kept_node"));
        quad.setPicture("TileStraight.png");
        quad.setOverlay("Overlay_2.png");
        pass = passOf("Kept");
        EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), "TileStraight.png");
        EXPECT_EQ(pass->getTextureUnitState(1)->getTextureName(), "Overlay_2.png");
        EXPECT_EQ(pass->getTextureUnitState(1)->getTextureCoordSet(), 1u);
    }
    EXPECT_FALSE(scene->hasManualObject("Kept"));
    EXPECT_FALSE(scene->hasSceneNode("Kept_node"));
    EXPECT_EQ(pass->getTextureUnitState(0)->getTextureName(), CellQuad::kClear);
    EXPECT_EQ(pass->getTextureUnitState(1)->getTextureName(), CellQuad::kClear);

    CellQuad again("Kept", CellQuad::Layers::PictureAndOverlay, scene->getRootSceneNode(), 1, -1, 0, 0, -1);
    EXPECT_EQ(passOf("Kept"), pass) << "the next quad of the name takes the same material";
    EXPECT_EQ(pass->getNumTextureUnitStates(), 2u);
}
