// Batch pages loaded by a real pager on the offline engine: the material copies they draw with,
// the bounds the page manager sees, and what an empty or emptied page leaves in the scene.
#include "BatchMeshes.h"
#include "HeadlessOgre.h"
#include "paging/BatchPage.h"
#include "paging/BatchedGeometrySubBatch.h"
#include "paging/GeometryPager.h"
#include "paging/PageLoader.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <set>

namespace
{
// Places the same tree a few times on every page it loads.
class TreeLoader : public PageLoader
{
public:
    void loadPage(PageInfo& info) override
    {
        for (const Ogre::Vector3& offset : offsets)
            addEntity(tree, info.centerPoint + offset, rotation, scale);
    }

    Ogre::Entity* tree = nullptr;
    std::vector<Ogre::Vector3> offsets = {Ogre::Vector3(5.0f, 0.0f, -3.0f)};
    Ogre::Quaternion rotation = Ogre::Quaternion::IDENTITY;
    Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
};

const Ogre::ColourValue kGreySpecular(0.5f, 0.5f, 0.5f, 1.0f);

class BatchPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sceneMgr = HeadlessOgre::createSceneManager();
        Ogre::Camera* camera = sceneMgr->createCamera("Viewer");
        eye = sceneMgr->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(50.0f, 2.0f, 50.0f));
        eye->attachObject(camera);
        pager = std::make_unique<GeometryPager>(camera, 50.0f, [this] { return nowMs; });
        pager->setBounds(TBounds(0.0f, 0.0f, 100.0f, 100.0f));  // 2 x 2 pages
        pager->setPageLoader(&loader);
        level = pager->addDetailLevel<BatchPage>(200.0f, 0.0f);  // every page at once
    }

    void TearDown() override
    {
        pager.reset();  // the pages' scene nodes go before their scene manager
        HeadlessOgre::root().destroySceneManager(sceneMgr);
    }

    Ogre::Entity* treeEntity(const std::string& name)
    {
        BatchMeshes::Layout layout;
        layout.vertices = 6;
        layout.materials = {"BatchPageTest/Bark", "BatchPageTest/Leaves"};
        Ogre::Entity* tree = sceneMgr->createEntity(BatchMeshes::make(name, layout));
        for (const std::string& material : layout.materials)
        {
            Ogre::Pass* pass = Ogre::MaterialManager::getSingleton()
                                   .getByName(material)
                                   ->getTechnique(0)
                                   ->getPass(0);
            pass->setSpecular(kGreySpecular);
            pass->setVertexColourTracking(Ogre::TVC_NONE);
        }
        return tree;
    }

    void frame()
    {
        nowMs += 20;
        pager->update();
    }

    BatchPage& page(int x, int z) { return static_cast<BatchPage&>(*level->getGridPage(x, z)); }

    Ogre::SceneManager* sceneMgr = nullptr;
    Ogre::SceneNode* eye = nullptr;
    uint32_t nowMs = 0;
    TreeLoader loader;
    std::unique_ptr<GeometryPager> pager;
    GeometryPageManager* level = nullptr;
};
}

TEST_F(BatchPageTest, PagesDrawWithSharedCopiesAndTheOriginalsKeepTheirLook)
{
    loader.tree = treeEntity("PagedTree");
    // Every pass without a program of its own loses its specular, not only the first.
    Ogre::MaterialPtr leaves = Ogre::MaterialManager::getSingleton().getByName("BatchPageTest/Leaves");
    leaves->getTechnique(0)->createPass()->setSpecular(kGreySpecular);
    leaves->load();

    frame();
    ASSERT_EQ(level->getLoadedPageCount(), 4u);

    std::set<Ogre::Material*> copies;
    for (int x = 0; x < 2; ++x)
        for (int z = 0; z < 2; ++z)
            for (const Ogre::MaterialPtr& material : page(x, z).getUnfadedMaterials())
                copies.insert(material.get());
    ASSERT_EQ(copies.size(), 2u) << "one copy per original, shared by the pages";

    for (Ogre::Material* copy : copies)
    {
        SCOPED_TRACE(copy->getName());
        const bool isLeaves = copy->getName().find("Leaves") != std::string::npos;
        const Ogre::MaterialPtr original = Ogre::MaterialManager::getSingleton().getByName(
            isLeaves ? "BatchPageTest/Leaves" : "BatchPageTest/Bark");
        EXPECT_NE(copy, original.get());
        const Ogre::Pass* copyPass = copy->getTechnique(0)->getPass(0);
        const Ogre::Pass* originalPass = original->getTechnique(0)->getPass(0);
        EXPECT_EQ(copyPass->getVertexColourTracking(), Ogre::TVC_AMBIENT);
        EXPECT_EQ(copyPass->getSpecular(), Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
        EXPECT_EQ(originalPass->getVertexColourTracking(), Ogre::TVC_NONE);
        EXPECT_EQ(originalPass->getSpecular(), kGreySpecular);
        if (isLeaves)
        {
            ASSERT_EQ(copy->getTechnique(0)->getNumPasses(), 2u);
            EXPECT_EQ(copy->getTechnique(0)->getPass(1)->getSpecular(),
                      Ogre::ColourValue(0.0f, 0.0f, 0.0f, 1.0f));
            EXPECT_EQ(original->getTechnique(0)->getPass(1)->getSpecular(), kGreySpecular);
        }
    }
    for (const Ogre::MaterialPtr& material : page(0, 0).getUnfadedMaterials())
    {
        BatchedGeometry::SubBatchIterator subBatches = page(0, 0).getBatch()->getSubBatchIterator();
        bool drawn = false;
        while (subBatches.hasMoreElements())
            drawn = (subBatches.getNext()->getMaterial() == material) || drawn;
        EXPECT_TRUE(drawn) << "the copies are what the page draws";
    }

    // The copies stay while any page holds trees, and go with the last one.
    std::vector<std::string> names;
    for (Ogre::Material* copy : copies)
        names.push_back(copy->getName());
    copies.clear();
    pager->reloadGeometryPage(Ogre::Vector3(25.0f, 0.0f, 25.0f));
    ASSERT_EQ(level->getLoadedPageCount(), 3u);
    for (const std::string& name : names)
        EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists(name)) << name;
    pager->reloadGeometry();
    for (const std::string& name : names)
        EXPECT_FALSE(Ogre::MaterialManager::getSingleton().resourceExists(name)) << name;
}

TEST_F(BatchPageTest, BoundsFollowWhatThePageHoldsNow)
{
    loader.tree = treeEntity("BoundedTree");
    loader.rotation = Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y);
    struct Case
    {
        const char* name;
        Ogre::Vector3 scale;
    };
    // The mesh spans (0, 0, 1)..(4, 1, 1); turned a quarter about y, x becomes -z and z becomes x.
    const Case cases[] = {
        {"tall trees", Ogre::Vector3(2.0f, 3.0f, 2.0f)},
        {"then small ones in their place", Ogre::Vector3(0.5f, 0.5f, 0.5f)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        loader.scale = c.scale;
        pager->reloadGeometry();
        for (int x = 0; x < 2; ++x)
            for (int z = 0; z < 2; ++z)
                EXPECT_TRUE(page(x, z).isBoundsUndefined()) << "an unloaded page has no bounds";
        frame();
        ASSERT_EQ(level->getLoadedPageCount(), 4u);

        const Ogre::Vector3 offset = loader.offsets[0];
        const Ogre::Vector3 low(offset.x + 1.0f * c.scale.z, 0.0f, offset.z - 4.0f * c.scale.x);
        const Ogre::Vector3 high(offset.x + 1.0f * c.scale.z, 1.0f * c.scale.y, offset.z);
        const Ogre::AxisAlignedBox& bounds = page(1, 1).getBoundingBox();
        EXPECT_TRUE(bounds.getMinimum().positionEquals(low, 1e-4f)) << bounds.getMinimum();
        EXPECT_TRUE(bounds.getMaximum().positionEquals(high, 1e-4f)) << bounds.getMaximum();
    }
}

TEST_F(BatchPageTest, EmptyAndEmptiedPagesLeaveNothingInTheScene)
{
    const unsigned short sceneNodesBefore = sceneMgr->getRootSceneNode()->numChildren();
    loader.offsets.clear();
    frame();
    ASSERT_EQ(level->getLoadedPageCount(), 4u);
    EXPECT_EQ(page(0, 0).getBatch(), nullptr);
    EXPECT_EQ(sceneMgr->getRootSceneNode()->numChildren(), sceneNodesBefore);

    loader.tree = treeEntity("ClearedTree");
    loader.offsets = {Ogre::Vector3(5.0f, 0.0f, -3.0f), Ogre::Vector3(-8.0f, 0.0f, 8.0f)};
    pager->reloadGeometry();
    frame();
    EXPECT_EQ(sceneMgr->getRootSceneNode()->numChildren(), sceneNodesBefore + 4);
    BatchPage& first = page(0, 0);
    ASSERT_NE(first.getBatch(), nullptr);
    EXPECT_TRUE(first.getBatch()->isVisible());

    // The page manager's fade requests change nothing: batch pages switch without fading.
    const Ogre::uint8 group = first.getBatch()->getRenderQueueGroup();
    const std::vector<Ogre::MaterialPtr> materials = first.getUnfadedMaterials();
    first.setFade(true, 10.0f, 20.0f);
    EXPECT_EQ(first.getBatch()->getRenderQueueGroup(), group);
    EXPECT_EQ(first.getUnfadedMaterials(), materials);
    const Ogre::Pass* pass = materials[0]->getTechnique(0)->getPass(0);
    EXPECT_EQ(pass->getSceneBlendingOperation(), Ogre::SBO_ADD);
    EXPECT_TRUE(pass->getDepthWriteEnabled());

    first.setVisible(false);
    EXPECT_FALSE(first.getBatch()->isVisible());

    pager->reloadGeometry();
    EXPECT_EQ(sceneMgr->getRootSceneNode()->numChildren(), sceneNodesBefore);
    EXPECT_EQ(first.getBatch()->getSubBatchCount(), 0u);
    EXPECT_TRUE(first.getUnfadedMaterials().empty());
}
