// The pager's frame around a real camera of the offline engine: speed, camera switches and
// the levels sharing one queued load per frame.
#include "PagingFakes.h"

#include "HeadlessOgre.h"
#include "paging/GeometryPager.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

namespace
{
class GeometryPagerTest : public ::testing::Test
{
protected:
    void SetUp() override { sceneMgr = HeadlessOgre::createSceneManager(); }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(sceneMgr); }

    Ogre::Camera* cameraAt(const std::string& name, const Ogre::Vector3& position)
    {
        Ogre::Camera* camera = sceneMgr->createCamera(name);
        Ogre::SceneNode* node = sceneMgr->getRootSceneNode()->createChildSceneNode(position);
        node->attachObject(camera);
        return camera;
    }

    // Near range 50 and far range 100 on 10-unit pages: a ring of pages loads at once, the
    // pages inside it are queued.
    void addRingLevels(GeometryPager& pager)
    {
        pager.setPageSize(10.0f);
        pager.setInfinite();
        pager.addDetailLevel<RecordingPage>(50.0f, 0.0f);
        pager.addDetailLevel<RecordingPage>(100.0f, 0.0f);
    }

    Ogre::SceneManager* sceneMgr = nullptr;
    uint32_t nowMs = 0;
    GeometryPager::Clock clock = [this] { return nowMs; };
};
}

TEST_F(GeometryPagerTest, WithoutCameraOrLoaderNothingLoads)
{
    RecordingLoader loader;
    GeometryPager pager(nullptr, 100.0f, clock);
    addRingLevels(pager);
    pager.setPageLoader(&loader);
    nowMs += 100;
    pager.update();
    EXPECT_EQ(loader.frames, 0);

    pager.setPageLoader(nullptr);
    pager.setCamera(cameraAt("still", Ogre::Vector3(0.0f, 10.0f, 0.0f)));
    EXPECT_EQ(pager.getSceneManager(), sceneMgr);
    nowMs += 100;
    pager.update();
    for (const auto& level : pager.getDetailLevels())
        EXPECT_EQ(level->getLoadedPageCount(), 0u);
}

TEST_F(GeometryPagerTest, OneQueuedLoadPerFrameOverAllLevels)
{
    RecordingLoader loader;
    GeometryPager pager(cameraAt("still", Ogre::Vector3(0.0f, 10.0f, 0.0f)), 100.0f, clock);
    addRingLevels(pager);
    pager.setPageLoader(&loader);
    pager.update();
    const int immediate = loader.loads;
    ASSERT_GT(immediate, 0);
    for (int frame = 1; frame <= 10; ++frame)
    {
        nowMs += 200;
        pager.update();
        EXPECT_EQ(loader.loads - immediate, frame);
    }
    EXPECT_EQ(loader.frames, 11);
}

// Only pages within their level's range load at once; a queued page is one outside it.
static bool loadedQueuedPage(const GeometryPager& pager, const Ogre::Vector3& camPos)
{
    for (const auto& level : pager.getDetailLevels())
    {
        for (int x = 0; x < level->getGridSize(); ++x)
        {
            for (int z = 0; z < level->getGridSize(); ++z)
            {
                const GeometryPage* page = level->getGridPage(x, z);
                const Ogre::Vector3 offset = page->getCenterPoint() - camPos;
                const float distance = Ogre::Vector2(offset.x, offset.z).length();
                if (page->isLoaded() &&
                    (distance < level->getNearRange() || distance >= level->getFarRange()))
                    return true;
            }
        }
    }
    return false;
}

TEST_F(GeometryPagerTest, ANewCameraStartsAtRest)
{
    // Were the jump between the cameras taken for speed, a queued page would load at once.
    RecordingLoader loader;
    const Ogre::Vector3 farAway(5000.0f, 10.0f, 0.0f);
    Ogre::Camera* first = cameraAt("first", Ogre::Vector3(0.0f, 10.0f, 0.0f));
    Ogre::Camera* second = cameraAt("second", farAway);
    GeometryPager pager(first, 100.0f, clock);
    addRingLevels(pager);
    pager.setPageLoader(&loader);
    nowMs += 20;
    pager.update();

    pager.setCamera(second);
    nowMs += 20;
    pager.update();
    EXPECT_GT(loader.liveCount(), 0);
    EXPECT_FALSE(loadedQueuedPage(pager, farAway));

    // The same jump made by one camera is real speed: the queue is worked off at once.
    second->getParentSceneNode()->setPosition(0.0f, 10.0f, 0.0f);
    nowMs += 20;
    pager.update();
    EXPECT_TRUE(loadedQueuedPage(pager, Ogre::Vector3::ZERO));
}

TEST_F(GeometryPagerTest, ACameraOfAnotherSceneIsRefused)
{
    Ogre::SceneManager* other = HeadlessOgre::createSceneManager();
    Ogre::Camera* stranger = other->createCamera("stranger");
    GeometryPager pager(cameraAt("own", Ogre::Vector3::ZERO), 100.0f, clock);
    EXPECT_THROW(pager.setCamera(stranger), Ogre::InvalidParametersException);
    EXPECT_NE(pager.getCamera(), stranger);
    HeadlessOgre::root().destroySceneManager(other);
}
