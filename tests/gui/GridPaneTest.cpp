// The editor panes' shared frame on a headless engine: the names of what it puts in the GUI
// scene (the game's materials are found by them), its cells, its quad table and its place.
#include "gui/GridPane.h"

#include "Scene.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
// An orthographic view 40 x 30 world units across, centred on the origin, y up.
class FlatScene : public Scene
{
public:
    explicit FlatScene(Ogre::SceneManager* manager) : manager(manager) {}
    void create() override {}
    void destroy() override {}
    void enable() override {}
    void disable() override {}
    Ogre::SceneManager* getSceneManager() override { return manager; }
    void addToStaticGeometry(Ogre::SceneNode*) override {}
    Ogre::Vector3 screenToWorld(const Ogre::Vector2& screen) override
    {
        return Ogre::Vector3(screen.x * kWidth, -screen.y * kHeight, 0);
    }
    Ogre::Vector3 screenToWorldRay(const Ogre::Vector2& screen) override
    {
        return Ogre::Vector3((screen.x - 0.5f) * kWidth, (0.5f - screen.y) * kHeight, 0);
    }

    static constexpr float kWidth = 40.0f, kHeight = 30.0f;

private:
    Ogre::SceneManager* manager;
};

// Stands for a pane's quad: remembers what the pane made it with.
struct QuadArgs
{
    QuadArgs(int slot, Ogre::SceneNode* parent, float width, float height, float x, float y, float z)
        : slot(slot), parent(parent), width(width), height(height), x(x), y(y), z(z)
    {
    }
    int slot;
    Ogre::SceneNode* parent;
    float width, height, x, y, z;
};

class GridPaneTest : public testing::Test
{
protected:
    void SetUp() override
    {
        HeadlessOgre::root();
        scene = HeadlessOgre::createSceneManager();
    }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(scene); }

    Ogre::SceneManager* scene = nullptr;
};
}

TEST_F(GridPaneTest, NamesItsNodesAndLinesAfterThePaneAndTakesThemAllAway)
{
    FlatScene flat(scene);
    // The game's scripts define the lines' material; a missing one would be replaced.
    if (!Ogre::MaterialManager::getSingleton().resourceExists("TrackGrid_material", Ogre::RGN_DEFAULT))
        Ogre::MaterialManager::getSingleton().create("TrackGrid_material", Ogre::RGN_DEFAULT);
    {
        GridPane pane(flat, "TrackGrid", 0.5f, 0.4f, 20, 16, Ogre::ColourValue::White, -1.0f);
        EXPECT_EQ(pane.getNode()->getName(), "TrackGridPane_node");
        ASSERT_TRUE(scene->hasManualObject("TrackGrid"));
        Ogre::ManualObject* lines = scene->getManualObject("TrackGrid");
        EXPECT_EQ(lines->getSections()[0]->getMaterialName(), "TrackGrid_material");
        EXPECT_EQ(lines->getParentSceneNode()->getName(), "TrackGrid_node");
        EXPECT_EQ(lines->getParentSceneNode()->getParent(), pane.getNode());
        EXPECT_EQ(lines->getParentSceneNode()->getPosition(), Ogre::Vector3(0, 0, -1));
        // A line along each of the 21 column edges and 17 row edges, across the whole pane.
        EXPECT_EQ(lines->getSections()[0]->getRenderOperation()->vertexData->vertexCount, 2u * (21 + 17));
        const Ogre::AxisAlignedBox box = lines->getBoundingBox();
        EXPECT_FLOAT_EQ(box.getMinimum().y, -12.0f);
        EXPECT_FLOAT_EQ(box.getMaximum().x, 20.0f);

        // The screen's y runs down, the world's up.
        EXPECT_FLOAT_EQ(pane.getCellWidth(), 1.0f);
        EXPECT_FLOAT_EQ(pane.getCellHeight(), -0.75f);
        EXPECT_FLOAT_EQ(pane.getWorldHeight(), -12.0f);
        pane.getNode()->createChildSceneNode("background_node");
    }
    EXPECT_FALSE(scene->hasSceneNode("TrackGridPane_node"));
    EXPECT_FALSE(scene->hasSceneNode("TrackGrid_node"));
    EXPECT_FALSE(scene->hasSceneNode("background_node")) << "what the grid hung on the pane goes with it";
    EXPECT_FALSE(scene->hasManualObject("TrackGrid"));
    // The next visit to the editor makes them again under the same names.
    GridPane again(flat, "TrackGrid", 0.5f, 0.4f, 20, 16, Ogre::ColourValue::White, 0.0f);
    EXPECT_TRUE(scene->hasManualObject("TrackGrid"));
}

TEST_F(GridPaneTest, QuadsCoverTheCellsColumnByColumnAndNoneLiesOutside)
{
    FlatScene flat(scene);
    GridPane pane(flat, "SelectorGrid", 0.2f, 0.5f, 5, 10, Ogre::ColourValue::White, -1.0f);
    const auto quads = pane.makeQuads<QuadArgs>([](int column, int row) { return column * 100 + row; }, -2.0f);
    ASSERT_EQ(quads.size(), 50u);
    for (const auto& [column, row] : {std::pair{0, 0}, {4, 0}, {0, 9}, {2, 7}, {4, 9}})
    {
        SCOPED_TRACE(testing::Message() << column << "," << row);
        const QuadArgs* quad = pane.quadAt(quads, column, row);
        ASSERT_NE(quad, nullptr);
        EXPECT_EQ(quad->slot, column * 100 + row);
        EXPECT_EQ(quad->parent, pane.getNode());
        EXPECT_FLOAT_EQ(quad->width, 1.6f);
        EXPECT_FLOAT_EQ(quad->height, -1.5f);
        EXPECT_FLOAT_EQ(quad->x, 1.6f * static_cast<float>(column));
        EXPECT_FLOAT_EQ(quad->y, -1.5f * static_cast<float>(row));
        EXPECT_EQ(quad->z, -2.0f);
    }
    for (const auto& [column, row] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 10}, {5, 10}})
        EXPECT_EQ(pane.quadAt(quads, column, row), nullptr) << column << "," << row;
}

TEST_F(GridPaneTest, LiesUnderItsPaneWindowAndFindsTheCellUnderThePointer)
{
    FlatScene flat(scene);
    GridPane pane(flat, "TrackGrid", 0.6f, 0.64f, 20, 16, Ogre::ColourValue::White, 0.0f);
    pane.setPosition(0.02f, 0.03f);
    const Ogre::Vector3 corner = flat.screenToWorldRay(Ogre::Vector2(0.02f, 0.03f));
    EXPECT_EQ(pane.getNode()->getPosition(), Ogre::Vector3(corner.x, corner.y, 0));
    // The editor's tests click cell (5, 9) at the middle of its 0.03 x 0.04 of the window.
    const PaneCell cell = pane.getArea().cellAt(0.02f + 0.03f * 5.5f, 0.03f + 0.04f * 9.5f);
    EXPECT_EQ(cell.column, 5);
    EXPECT_EQ(cell.row, 9);
    EXPECT_TRUE(pane.getArea().cellAt(0.01f, 0.5f).isNone());
}
