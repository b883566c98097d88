// The tree loaders: what a planted tree comes back as (packing, clamping, wrapping), trees
// at and past the bounds, the iterators, deleting, and the instances a loaded page gets.
#include "BatchMeshes.h"
#include "HeadlessOgre.h"
#include "paging/GeometryPage.h"
#include "paging/GeometryPager.h"
#include "paging/TreeIterator.h"
#include "paging/TreeLoader2D.h"
#include "paging/TreeLoader3D.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
struct Instance
{
    Ogre::Entity* entity;
    Ogre::Vector3 position;
    Ogre::Quaternion rotation;
    Ogre::Vector3 scale;
    Ogre::ColourValue colour;
};

std::vector<Instance>& loadedInstances()
{
    static std::vector<Instance> instances;
    return instances;
}

// Keeps what the loader hands it, all pages in one list.
class CapturingPage : public GeometryPage
{
public:
    void init(GeometryPager*) override {}
    void addEntity(Ogre::Entity* entity, const Ogre::Vector3& position, const Ogre::Quaternion& rotation,
                   const Ogre::Vector3& scale, const Ogre::ColourValue& colour) override
    {
        loadedInstances().push_back({entity, position, rotation, scale, colour});
    }
    void build() override {}
    void removeEntities() override {}
    void setFade(bool, float, float) override {}
    void setVisible(bool) override {}
};

constexpr float kPage = 50.0f;
constexpr float kYawStep = 360.0f / 255.0f;

class TreeLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        loadedInstances().clear();
        sceneMgr = HeadlessOgre::createSceneManager();
        camera = sceneMgr->createCamera("Viewer");
        eye = sceneMgr->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(100.0f, 2.0f, 100.0f));
        eye->attachObject(camera);
        pager = std::make_unique<GeometryPager>(camera, kPage, [this] { return nowMs; });
        pager->setBounds(TBounds(0.0f, 0.0f, 200.0f, 200.0f));
        BatchMeshes::Layout layout;
        tree = sceneMgr->createEntity(BatchMeshes::make("TreeLoaderTest.mesh", layout));
        other = sceneMgr->createEntity(BatchMeshes::make("TreeLoaderTest2.mesh", layout));
    }

    void TearDown() override
    {
        pager.reset();
        HeadlessOgre::root().destroySceneManager(sceneMgr);
    }

    // The pages unload through their loader: they must go before it does.
    struct Paged
    {
        GeometryPager* pager;
        ~Paged() { pager->removeDetailLevels(); }
    };

    // Every page in range, loaded until the result goes.
    [[nodiscard]] Paged loadAll(PageLoader& loader)
    {
        pager->setPageLoader(&loader);
        pager->addDetailLevel<CapturingPage>(1000.0f, 0.0f);
        for (int i = 0; i < 40; ++i)
        {
            nowMs += 20;
            pager->update();
        }
        return Paged{pager.get()};
    }

    static std::vector<TreeRef> all(TreeIterator3D it)
    {
        std::vector<TreeRef> trees;
        while (it.hasMoreElements())
            trees.push_back(it.getNext());
        return trees;
    }

    Ogre::SceneManager* sceneMgr = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneNode* eye = nullptr;
    std::unique_ptr<GeometryPager> pager;
    Ogre::Entity* tree = nullptr;
    Ogre::Entity* other = nullptr;
    uint32_t nowMs = 0;
};
}

TEST_F(TreeLoaderTest, ScaleAndYawArePackedAfterClampingAndWrapping)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        float yaw, scale;
        float expectedYaw, expectedScale;
    } cases[] = {
        {0.0f, 1.0f, 0.0f, 127 * 2.0f / 255},
        {359.0f, 0.0f, 254 * kYawStep, 0.0f},
        {359.99f, 2.0f, 254 * kYawStep, 2.0f},  // never the byte of a full turn
        {-90.0f, 1.0f, 191 * kYawStep, 127 * 2.0f / 255},
        {720.0f + 45.0f, 1.0f, 31 * kYawStep, 127 * 2.0f / 255},
        {nan, 5.0f, 0.0f, 2.0f},   // above the range: its top
        {10.0f, -3.0f, 7 * kYawStep, 0.0f},  // below: its bottom
        {10.0f, nan, 7 * kYawStep, 0.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "yaw " << c.yaw << " scale " << c.scale);
        TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
        ASSERT_TRUE(loader.addTree(tree, Ogre::Vector3(20.0f, 7.5f, 30.0f), c.yaw, c.scale));
        const std::vector<TreeRef> trees = all(TreeIterator3D(loader));
        ASSERT_EQ(trees.size(), 1u);
        EXPECT_NEAR(Ogre::Degree(trees[0].yaw).valueDegrees(), c.expectedYaw, 1e-3);
        EXPECT_NEAR(trees[0].scale, c.expectedScale, 1e-5);
        EXPECT_FLOAT_EQ(trees[0].position.y, 7.5f);
        EXPECT_NEAR(trees[0].position.x, 20.0f, kPage / 65535 + 1e-4);
        EXPECT_NEAR(trees[0].position.z, 30.0f, kPage / 65535 + 1e-4);
    }
}

TEST_F(TreeLoaderTest, ScaleRangeRunsFromMinimumOverSpan)
{
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    loader.setMinimumScale(0.5f);
    loader.setMaximumScale(1.0f);
    loader.addTree(tree, Ogre::Vector3(1.0f, 0.0f, 1.0f), 0.0f, 1.5f);
    loader.addTree(tree, Ogre::Vector3(2.0f, 0.0f, 1.0f), 0.0f, 0.25f);
    const std::vector<TreeRef> trees = all(TreeIterator3D(loader));
    ASSERT_EQ(trees.size(), 2u);
    EXPECT_FLOAT_EQ(trees[0].scale, 1.5f);
    EXPECT_FLOAT_EQ(trees[1].scale, 0.5f);
}

TEST_F(TreeLoaderTest, PositionsOutsideTheBoundsAreRefused)
{
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Ogre::Vector3& at : {Ogre::Vector3(-0.01f, 0, 10), Ogre::Vector3(10, 0, 200.5f),
                                    Ogre::Vector3(1e9f, 0, 10), Ogre::Vector3(nan, 0, 10)})
        EXPECT_FALSE(loader.addTree(tree, at, 0.0f, 1.0f)) << at;
    EXPECT_FALSE(TreeIterator3D(loader).hasMoreElements());

    TreeLoader2D flat(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    EXPECT_FALSE(flat.addTree(tree, Ogre::Vector2(-5.0f, 5.0f), 0.0f));
    EXPECT_FALSE(TreeIterator2D(flat).hasMoreElements());
}

TEST_F(TreeLoaderTest, EmptyLoaderIteratesNothingAndThrowsPastTheEnd)
{
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    TreeIterator3D it(loader);
    EXPECT_FALSE(it.hasMoreElements());
    try
    {
        it.getNext();
        FAIL() << "no exception";
    }
    catch (const Ogre::InvalidStateException& e)
    {
        EXPECT_EQ(e.getDescription(), "Cannot read past end of TreeIterator list");
    }

    loader.addTree(tree, Ogre::Vector3(5, 0, 5), 0.0f);
    TreeIterator3D one(loader);
    one.getNext();
    EXPECT_FALSE(one.hasMoreElements());
    EXPECT_THROW(one.moveNext(), Ogre::InvalidStateException);
}

TEST_F(TreeLoaderTest, IteratorWalksEntitiesThenCellsXFastest)
{
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    loader.addTree(tree, Ogre::Vector3(10, 0, 60), 0.0f);   // cell (0, 1)
    loader.addTree(other, Ogre::Vector3(10, 0, 10), 0.0f);  // the second entity
    loader.addTree(tree, Ogre::Vector3(60, 0, 10), 0.0f);   // cell (1, 0)
    loader.addTree(tree, Ogre::Vector3(70, 0, 10), 0.0f);   // cell (1, 0), after
    const std::vector<TreeRef> trees = all(TreeIterator3D(loader));
    ASSERT_EQ(trees.size(), 4u);
    const float expectedX[] = {60, 70, 10, 10};
    const Ogre::Entity* expectedEntity[] = {tree, tree, tree, other};
    for (size_t i = 0; i < trees.size(); ++i)
    {
        EXPECT_NEAR(trees[i].position.x, expectedX[i], 1e-3) << i;
        EXPECT_EQ(trees[i].entity, expectedEntity[i]) << i;
    }
}

TEST_F(TreeLoaderTest, LoadedPagesGetTheirTreesWhiteWithoutColourMap)
{
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    loader.addTree(tree, Ogre::Vector3(25.0f, 3.0f, 75.0f), 90.0f, 1.0f);
    loader.addTree(tree, Ogre::Vector3(200.0f, 1.0f, 200.0f), 0.0f, 1.0f);  // the far corner
    const Paged paged = loadAll(loader);
    ASSERT_EQ(loadedInstances().size(), 2u);
    bool sawCorner = false;
    for (const Instance& instance : loadedInstances())
    {
        EXPECT_EQ(instance.entity, tree);
        EXPECT_EQ(instance.colour, Ogre::ColourValue::White);
        EXPECT_FLOAT_EQ(instance.scale.x, 127 * 2.0f / 255);
        EXPECT_EQ(instance.scale.x, instance.scale.z);
        if (instance.position.x > 150.0f)
        {
            sawCorner = true;
            EXPECT_NEAR(instance.position.z, 200.0f, 1e-3);
            continue;
        }
        EXPECT_NEAR(instance.position.x, 25.0f, 1e-3);
        EXPECT_FLOAT_EQ(instance.position.y, 3.0f);
        const Ogre::Vector3 facing = instance.rotation * Ogre::Vector3::UNIT_Z;
        EXPECT_NEAR(facing.x, std::sin(Ogre::Degree(63 * kYawStep).valueRadians()), 1e-4);
    }
    EXPECT_TRUE(sawCorner) << "a tree on the far edge loads with the last page";
}

TEST_F(TreeLoaderTest, PagesOutsideTheLoaderBoundsGetNoTrees)
{
    // The loader covers only the top-left page of the geometry.
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 40.0f, 40.0f));
    loader.addTree(tree, Ogre::Vector3(10, 0, 10), 0.0f);
    EXPECT_FALSE(loader.addTree(tree, Ogre::Vector3(120, 0, 120), 0.0f));
    const Paged paged = loadAll(loader);
    ASSERT_EQ(loadedInstances().size(), 1u);
    EXPECT_NEAR(loadedInstances()[0].position.x, 10.0f, 1e-3);
}

TEST_F(TreeLoaderTest, TwoDimensionalTreesStandOnTheHeightFunction)
{
    TreeLoader2D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    loader.addTree(tree, Ogre::Vector2(30.0f, 40.0f), 0.0f);
    {
        TreeIterator2D flat(loader);
        ASSERT_TRUE(flat.hasMoreElements());
        EXPECT_EQ(flat.peekNext().position.y, 0.0f);
    }
    loader.setHeightFunction([](float x, float z) { return x + z; });
    TreeIterator2D it(loader);
    EXPECT_NEAR(it.getNext().position.y, 70.0f, 1e-2);
    const Paged paged = loadAll(loader);
    ASSERT_EQ(loadedInstances().size(), 1u);
    EXPECT_NEAR(loadedInstances()[0].position.y, 70.0f, 1e-2);
}

TEST_F(TreeLoaderTest, DeleteTreesTakesThoseWithinTheRadius)
{
    TreeLoader3D loader(pager.get(), TBounds(0.0f, 0.0f, 200.0f, 200.0f));
    loader.addTree(tree, Ogre::Vector3(0, 0, 0), 0.0f);  // decodes exactly
    loader.addTree(tree, Ogre::Vector3(0.5f, 0, 0), 0.0f);
    loader.addTree(other, Ogre::Vector3(48, 0, 0), 0.0f);
    loader.addTree(tree, Ogre::Vector3(52, 0, 0), 0.0f);  // the next cell
    loader.addTree(tree, Ogre::Vector3(100, 0, 100), 0.0f);

    loader.deleteTrees(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(all(TreeIterator3D(loader)).size(), 4u);
    loader.deleteTrees(50.0f, 0.0f, 3.0f, tree);  // only this entity, across two cells
    std::vector<TreeRef> left = all(TreeIterator3D(loader));
    ASSERT_EQ(left.size(), 3u);
    loader.deleteTrees(50.0f, 0.0f, 3.0f);
    left = all(TreeIterator3D(loader));
    ASSERT_EQ(left.size(), 2u);
    for (const TreeRef& t : left)
        EXPECT_NE(t.entity, other);
}
