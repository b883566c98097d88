// Impostor pages on the offline engine: which atlas picture a view or a tree's heading picks,
// the atlas cache's file names and files, and the lifetime of the atlases that pages share.
// The pictures themselves need a GL context: tools/pagingscene renders and checks them.
#include "BatchMeshes.h"
#include "HeadlessOgre.h"
#include "TempFolder.h"
#include "paging/GeometryPager.h"
#include "paging/ImpostorAtlasCache.h"
#include "paging/ImpostorBatch.h"
#include "paging/ImpostorPage.h"
#include "paging/ImpostorTexture.h"
#include "paging/StaticBillboardSet.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <cmath>

TEST(ImpostorViewTest, ElevationAndBearingPickTheirAtlasCell)
{
    struct Case
    {
        float degrees;
        uint16_t index;
    };
    const Case pitches[] = {{-30.0f, 0}, {0.0f, 0},     {16.8f, 0},  {16.875f, 1}, {33.7f, 1},
                            {33.75f, 2}, {50.625f, 3}, {89.9f, 3}, {NAN, 0}};
    for (const Case& c : pitches)
        EXPECT_EQ(ImpostorPage::pitchIndex(c.degrees), c.index) << "pitch " << c.degrees;

    const Case yaws[] = {{0.0f, 0},     {22.4f, 0},  {22.6f, 1},  {-22.5f, 0}, {-23.0f, 7},
                         {180.0f, 4},   {-180.0f, 4}, {90.0f, 2}, {-90.0f, 6}, {337.6f, 0}, {NAN, 0}};
    for (const Case& c : yaws)
        EXPECT_EQ(ImpostorPage::yawIndex(c.degrees), c.index) << "yaw " << c.degrees;
}

TEST(ImpostorViewTest, ATreesHeadingShiftsItsAtlasColumn)
{
    struct Case
    {
        float yawDegrees;  // the tree's turn about the vertical
        uint16_t column;
    };
    // Turned one cell to the left, the tree shows the cell one to the right of the view's.
    const Case cases[] = {{0.0f, 0}, {45.0f, 7}, {90.0f, 6}, {-90.0f, 2}, {180.0f, 4}, {337.5f, 0}, {350.0f, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ImpostorBatch::columnOffset(Ogre::Quaternion(Ogre::Degree(c.yawDegrees), Ogre::Vector3::UNIT_Y)),
                  c.column)
            << "tree turned by " << c.yawDegrees;
}

namespace
{
class ImpostorCacheTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { HeadlessOgre::root(); }

    static Ogre::MeshPtr tree(const std::string& name, size_t vertices = 6)
    {
        BatchMeshes::Layout layout;
        layout.vertices = vertices;
        layout.materials = {"ImpostorTest/Bark", "ImpostorTest/Leaves"};
        return BatchMeshes::make(name, layout);
    }

    static Ogre::Image atlas(uint32_t width, uint32_t height)
    {
        Ogre::Image image;
        image.create(Ogre::PF_BYTE_RGBA, width, height);
        uint8_t* bytes = image.getData();
        for (size_t i = 0; i < image.getSize(); ++i)
            bytes[i] = static_cast<uint8_t>(i * 7);
        return image;
    }

    TempFolder folder;
};
}

TEST_F(ImpostorCacheTest, TheFileNameFollowsTheMeshContentAndTheResolution)
{
    const std::string first = ImpostorAtlasCache::fileName(*tree("CacheTree"), 128);
    EXPECT_EQ(first.rfind("Impostor." + std::string(Ogre::RGN_DEFAULT) + ".CacheTree.", 0), 0u) << first;
    EXPECT_EQ(first.substr(first.size() - 8), ".128.png");

    // The same mesh made again (a later run) finds its atlas.
    EXPECT_EQ(ImpostorAtlasCache::fileName(*tree("CacheTree"), 128), first);

    // Another resolution: another file, differing in that field only.
    std::string low = ImpostorAtlasCache::fileName(*tree("CacheTree"), 64);
    EXPECT_EQ(low.substr(0, low.size() - 7), first.substr(0, first.size() - 8));

    // A changed mesh of the same name: one vertex moved, or one vertex more.
    Ogre::MeshPtr moved = tree("CacheTree");
    const auto& buffer = moved->getSubMesh(1)->vertexData->vertexBufferBinding->getBuffer(0);
    float x = 0.0f;
    buffer->readData(0, sizeof(float), &x);
    x += 0.25f;
    buffer->writeData(0, sizeof(float), &x);
    EXPECT_NE(ImpostorAtlasCache::fileName(*moved, 128), first);
    EXPECT_NE(ImpostorAtlasCache::fileName(*tree("CacheTree", 7), 128), first);

    // Mesh names with folders stay one file name in the cache folder.
    EXPECT_EQ(ImpostorAtlasCache::fileName(*tree("trees/pine.mesh"), 128).find('/'), std::string::npos);
}

TEST_F(ImpostorCacheTest, AtlasFilesRoundTripAndBadFilesOrFoldersOnlyCostTheCache)
{
    const Ogre::Image written = atlas(16, 8);
    ASSERT_TRUE(ImpostorAtlasCache::save(folder.path() + "tmp/", "Impostor.a.png", written));
    Ogre::Image read;
    ASSERT_TRUE(ImpostorAtlasCache::load(folder.path() + "tmp/", "Impostor.a.png", read));
    ASSERT_EQ(read.getWidth(), 16u);
    ASSERT_EQ(read.getHeight(), 8u);
    ASSERT_EQ(read.getFormat(), Ogre::PF_BYTE_RGBA);
    EXPECT_EQ(std::memcmp(read.getData(), written.getData(), written.getSize()), 0);

    // A folder that can't be made (its parent is a file; root may write anywhere else).
    const std::string blocked = folder.write("blocker", "") + "/tmp/";
    EXPECT_FALSE(ImpostorAtlasCache::save(blocked, "Impostor.a.png", written));
    EXPECT_FALSE(ImpostorAtlasCache::load(blocked, "Impostor.a.png", read));
    EXPECT_FALSE(ImpostorAtlasCache::save("", "Impostor.a.png", written)) << "no folder, no cache";

    // A damaged or missing file leaves the image alone and means "render".
    folder.write("tmp/Impostor.b.png", "not a picture");
    Ogre::Image untouched = atlas(2, 2);
    EXPECT_FALSE(ImpostorAtlasCache::load(folder.path() + "tmp/", "Impostor.b.png", untouched));
    EXPECT_FALSE(ImpostorAtlasCache::load(folder.path() + "tmp/", "Impostor.c.png", untouched));
    EXPECT_EQ(untouched.getWidth(), 2u);
}

namespace
{
size_t impostorMaterials()
{
    size_t count = 0;
    for (const auto& entry : Ogre::MaterialManager::getSingleton().getResourceIterator())
        count += entry.second->getName().rfind("ImpostorMaterial", 0) == 0 ? 1 : 0;
    return count;
}

class ImpostorPageTest : public ImpostorCacheTest
{
protected:
    void SetUp() override
    {
        sceneMgr = HeadlessOgre::createSceneManager();
        camera = sceneMgr->createCamera("Viewer");
        eye = sceneMgr->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0.0f, 10.0f, 0.0f));
        eye->attachObject(camera);
        pager = std::make_unique<GeometryPager>(camera, 50.0f, [] { return 0u; });
        pager->setImpostorCacheFolder(folder.path() + "tmp/");
    }
    void TearDown() override
    {
        pager.reset();
        HeadlessOgre::root().destroySceneManager(sceneMgr);
    }

    std::unique_ptr<ImpostorPage> page(float left, float top)
    {
        auto made = std::make_unique<ImpostorPage>();
        made->init(pager.get());
        made->setRegion(left, top, left + 50.0f, top + 50.0f);
        return made;
    }

    Ogre::SceneManager* sceneMgr = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneNode* eye = nullptr;
    std::unique_ptr<GeometryPager> pager;
};
}

TEST_F(ImpostorPageTest, PagesShareTheAtlasOfAMeshUntilTheLastOfThemGoes)
{
    Ogre::Entity* tree = sceneMgr->createEntity(ImpostorCacheTest::tree("SharedTree"));
    const size_t materialsBefore = impostorMaterials();
    auto first = page(0.0f, 0.0f);
    auto second = page(50.0f, 0.0f);
    // Without a renderer the atlas can't be drawn: that is logged and the trees are left out.
    EXPECT_NO_THROW(first->addEntity(tree, Ogre::Vector3(10, 0, 10), Ogre::Quaternion::IDENTITY,
                                     Ogre::Vector3::UNIT_SCALE, Ogre::ColourValue::White));
    second->addEntity(tree, Ogre::Vector3(60, 0, 10), Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE,
                      Ogre::ColourValue::White);
    first->build();
    second->build();

    ASSERT_EQ(first->getBatches().size(), 1u);
    const std::shared_ptr<ImpostorTexture>& shared = first->getBatches().begin()->second->getTexture();
    EXPECT_EQ(second->getBatches().begin()->second->getTexture(), shared);
    EXPECT_FALSE(shared->hasPictures());
    EXPECT_EQ(ImpostorTexture::registeredCount(), 1u);
    EXPECT_EQ(impostorMaterials(), materialsBefore + 32);
    EXPECT_TRUE(sceneMgr->hasSceneNode("ImpostorPage::renderNode"));

    // The page that made the atlas goes first: the other keeps drawing with it.
    first.reset();
    EXPECT_EQ(ImpostorTexture::getTexture(nullptr, tree), second->getBatches().begin()->second->getTexture());
    EXPECT_EQ(impostorMaterials(), materialsBefore + 32);
    second->removeEntities();
    second->addEntity(tree, Ogre::Vector3(60, 0, 10), Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE,
                      Ogre::ColourValue::White);
    second->build();
    second->update();

    second.reset();
    EXPECT_EQ(ImpostorTexture::registeredCount(), 0u);
    EXPECT_EQ(ImpostorTexture::getTexture(nullptr, tree), nullptr);
    EXPECT_EQ(impostorMaterials(), materialsBefore);
    EXPECT_FALSE(sceneMgr->hasSceneNode("ImpostorPage::renderNode"));
    EXPECT_EQ(ImpostorPage::instanceCount(), 0u);

    // A new page of the same mesh later makes a fresh atlas.
    auto third = page(0.0f, 0.0f);
    third->addEntity(tree, Ogre::Vector3(10, 0, 10), Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE,
                     Ogre::ColourValue::White);
    EXPECT_EQ(ImpostorTexture::registeredCount(), 1u);
}

TEST_F(ImpostorPageTest, NearPagesShowTheViewDirectionAndFarPagesTheirBearing)
{
    Ogre::Entity* tree = sceneMgr->createEntity(ImpostorCacheTest::tree("ViewTree"));
    auto near = page(-25.0f, -75.0f);    // centre (0, -50): in front of the camera
    auto far = page(975.0f, -25.0f);     // centre (1000, 0): far to the east
    for (ImpostorPage* each : {near.get(), far.get()})
    {
        each->addEntity(tree, Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY, Ogre::Vector3::UNIT_SCALE,
                        Ogre::ColourValue::White);
        each->build();
    }
    ImpostorBatch& nearBatch = *near->getBatches().begin()->second;
    ImpostorBatch& farBatch = *far->getBatches().begin()->second;
    EXPECT_EQ(nearBatch.getYawIndex(), 0u) << "the first material is set on construction";

    // Looking west from high above: the near page turns with the view, the far one keeps its
    // bearing (the camera is west of it).
    eye->setPosition(0.0f, 70.0f, 0.0f);
    eye->setDirection(Ogre::Vector3::NEGATIVE_UNIT_X, Ogre::Node::TS_WORLD);
    near->update();
    far->update();
    EXPECT_EQ(nearBatch.getYawIndex(), 2u);
    EXPECT_EQ(nearBatch.getPitchIndex(), 3u) << "atan(70 / 50) is above 50.6 degrees";
    EXPECT_EQ(farBatch.getYawIndex(), 6u);
    EXPECT_EQ(farBatch.getPitchIndex(), 0u) << "4 degrees up";
    EXPECT_EQ(nearBatch.getBillboardSet().getMaterial()->getName(),
              nearBatch.getTexture()->getMaterialName(3, 2));
}
