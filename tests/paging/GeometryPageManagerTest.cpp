// The grid of a detail level along scripted camera paths: which pages load, show, queue,
// expire and scroll.
#include "PagingFakes.h"

#include "paging/GeometryPager.h"

#include <OGRE/OgreException.h>

#include <cmath>
#include <gtest/gtest.h>

namespace
{
constexpr uint32_t kFrameMs = 20;

RecordingPage& pageAt(const GeometryPageManager& level, int x, int z)
{
    GeometryPage* page = level.getGridPage(x, z);
    EXPECT_NE(page, nullptr);
    return static_cast<RecordingPage&>(*page);
}

struct Level
{
    RecordingLoader loader;  // outlives the pager, which unloads through it
    GeometryPager pager;
    GeometryPageManager* level = nullptr;

    Level(float pageSize, const TBounds* bounds, float farRange)
    {
        pager.setPageSize(pageSize);
        if (bounds)
            pager.setBounds(*bounds);
        pager.setPageLoader(&loader);
        level = pager.addDetailLevel<RecordingPage>(farRange, 0.0f);
    }

    void frame(const Ogre::Vector3& camPos, uint32_t deltaMs = kFrameMs,
               const Ogre::Vector3& speed = Ogre::Vector3::ZERO)
    {
        bool enableCache = true;
        level->update(deltaMs, camPos, speed, enableCache, nullptr);
    }
};
}

TEST(GeometryPageManagerTest, BoundedGridCoversTheEdgeStripsToo)
{
    const TBounds bounds(0.0f, 0.0f, 250.0f, 250.0f);
    Level tl(100.0f, &bounds, 70.0f);
    EXPECT_FALSE(tl.level->isInfinite());
    ASSERT_EQ(tl.level->getGridSize(), 3);
    EXPECT_FLOAT_EQ(tl.level->getGridBounds().right, 300.0f);

    // A camera in the last half page sees the edge strip's page.
    tl.frame(Ogre::Vector3(240.0f, 5.0f, 240.0f));
    RecordingPage& corner = pageAt(*tl.level, 2, 2);
    EXPECT_TRUE(corner.isLoaded());
    EXPECT_TRUE(corner.shown);
    EXPECT_EQ(corner.getCenterPoint(), Ogre::Vector3(250.0f, 0.0f, 250.0f));
    EXPECT_EQ(tl.level->getGridPage(3, 2), nullptr);
}

TEST(GeometryPageManagerTest, PagesAreLaidOutFromTheBoundsWithWorldIndices)
{
    const TBounds bounds(-200.0f, 100.0f, 200.0f, 500.0f);
    Level tl(100.0f, &bounds, 70.0f);
    ASSERT_EQ(tl.level->getGridSize(), 4);
    for (int x = 0; x < 4; ++x)
    {
        for (int z = 0; z < 4; ++z)
        {
            const RecordingPage& page = pageAt(*tl.level, x, z);
            EXPECT_EQ(page.initCalls, 1);
            EXPECT_EQ(page.getXIndex(), x - 2);
            EXPECT_EQ(page.getZIndex(), z + 1);
            EXPECT_FLOAT_EQ(page.getCenterPoint().x, -150.0f + 100.0f * x);
            EXPECT_FLOAT_EQ(page.getCenterPoint().z, 150.0f + 100.0f * z);
        }
    }
}

TEST(GeometryPageManagerTest, FarOutsideABoundedGridNothingIsTouched)
{
    const TBounds bounds(0.0f, 0.0f, 200.0f, 200.0f);
    Level tl(100.0f, &bounds, 70.0f);
    for (const Ogre::Vector3 camPos : {Ogre::Vector3(-1000.0f, 0.0f, 50.0f),
                                       Ogre::Vector3(50.0f, 0.0f, 5000.0f),
                                       Ogre::Vector3(-1e9f, 0.0f, 1e9f)})
        tl.frame(camPos);
    EXPECT_EQ(tl.loader.loads, 0);
    EXPECT_EQ(tl.level->getPendingPageCount(), 0u);
}

TEST(GeometryPageManagerTest, InfiniteGridIsSizedByTheRangeAndScrollsWithTheCamera)
{
    Level tl(50.0f, nullptr, 70.0f);
    ASSERT_TRUE(tl.level->isInfinite());
    ASSERT_EQ(tl.level->getGridSize(), 6);  // 2 * 70 / 50 + 4
    EXPECT_FLOAT_EQ(tl.level->getGridBounds().right, 300.0f);

    // Fly east and then north; every page must stay where its indices say it is, every page
    // within range must be loaded and shown, and the loader sees each page loaded once at a time.
    Ogre::Vector3 camPos(150.0f, 0.0f, 150.0f);
    for (int step = 0; step < 400; ++step)
    {
        camPos += step < 200 ? Ogre::Vector3(3.0f, 0.0f, 0.0f) : Ogre::Vector3(0.0f, 0.0f, 4.0f);
        tl.frame(camPos);
        for (int x = 0; x < 6; ++x)
        {
            for (int z = 0; z < 6; ++z)
            {
                const RecordingPage& page = pageAt(*tl.level, x, z);
                ASSERT_FLOAT_EQ(page.getCenterPoint().x, (page.getXIndex() + 0.5f) * 50.0f);
                ASSERT_FLOAT_EQ(page.getCenterPoint().z, (page.getZIndex() + 0.5f) * 50.0f);
                if (page.needsUnloading())
                {
                    ASSERT_FALSE(page.shown) << "a page scrolled away keeps nothing on screen";
                }
                const float dx = page.getCenterPoint().x - camPos.x;
                const float dz = page.getCenterPoint().z - camPos.z;
                if (dx * dx + dz * dz < 70.0f * 70.0f)
                {
                    ASSERT_TRUE(page.isLoaded() && page.shown)
                        << "step " << step << " page " << page.getXIndex() << ","
                        << page.getZIndex();
                }
            }
        }
    }
    EXPECT_GT(tl.level->getGridBounds().left, 500.0f);
    EXPECT_GT(tl.level->getGridBounds().top, 600.0f);
    EXPECT_LE(tl.loader.liveCount(), 36);
}

TEST(GeometryPageManagerTest, AJumpOffTheGridUnloadsEveryPage)
{
    Level tl(50.0f, nullptr, 70.0f);
    tl.frame(Ogre::Vector3(150.0f, 0.0f, 150.0f));
    ASSERT_GT(tl.loader.liveCount(), 0);
    const int loadedBefore = tl.loader.liveCount();

    tl.frame(Ogre::Vector3(100150.0f, 0.0f, 150.0f));
    EXPECT_EQ(tl.loader.unloads, loadedBefore);
    EXPECT_EQ(tl.loader.liveCount(), static_cast<int>(tl.level->getLoadedPageCount()));
    EXPECT_TRUE(pageAt(*tl.level, 3, 3).isLoaded());
}

TEST(GeometryPageManagerTest, VisibleExactlyBetweenNearAndFarRange)
{
    RecordingLoader loader;
    GeometryPager pager;
    pager.setPageSize(10.0f);
    pager.setBounds(TBounds(0.0f, 0.0f, 400.0f, 400.0f));
    pager.setPageLoader(&loader);
    pager.addDetailLevel<RecordingPage>(50.0f, 0.0f);
    GeometryPageManager* level = pager.addDetailLevel<RecordingPage>(100.0f, 0.0f);
    EXPECT_FLOAT_EQ(level->getNearRange(), 50.0f);

    const Ogre::Vector3 camPos(205.0f, 0.0f, 205.0f);
    for (int frame = 0; frame < 200; ++frame)  // long enough to work off the queue
    {
        bool enableCache = true;
        level->update(kFrameMs, camPos, Ogre::Vector3::ZERO, enableCache, nullptr);
    }
    int shown = 0;
    for (int x = 0; x < level->getGridSize(); ++x)
    {
        for (int z = 0; z < level->getGridSize(); ++z)
        {
            const RecordingPage& page = pageAt(*level, x, z);
            const float distance = page.getCenterPoint().distance(camPos);
            if (!page.isLoaded())
                continue;
            EXPECT_EQ(page.shown, distance >= 50.0f && distance < 100.0f)
                << "page at distance " << distance;
            shown += page.shown ? 1 : 0;
        }
    }
    EXPECT_GT(shown, 50);
}

TEST(GeometryPageManagerTest, QueuedPagesLoadOneAtATimeAtTheInterval)
{
    // Near range 50: the pages nearer than that are only cached, one every 200 ms at rest.
    RecordingLoader loader;
    GeometryPager pager;
    pager.setPageSize(10.0f);
    pager.setBounds(TBounds(0.0f, 0.0f, 400.0f, 400.0f));
    pager.setPageLoader(&loader);
    pager.addDetailLevel<RecordingPage>(50.0f, 0.0f);
    GeometryPageManager* level = pager.addDetailLevel<RecordingPage>(100.0f, 0.0f);
    const Ogre::Vector3 camPos(205.0f, 0.0f, 205.0f);

    bool enableCache = true;
    level->update(0, camPos, Ogre::Vector3::ZERO, enableCache, nullptr);
    const int immediate = loader.loads;  // within range: in the same frame
    EXPECT_GT(immediate, 0);
    ASSERT_GT(level->getPendingPageCount(), 2u);

    for (uint32_t elapsedMs = kFrameMs; elapsedMs <= 600; elapsedMs += kFrameMs)
    {
        enableCache = true;
        level->update(kFrameMs, camPos, Ogre::Vector3::ZERO, enableCache, nullptr);
        EXPECT_EQ(loader.loads - immediate, static_cast<int>(elapsedMs / 200)) << elapsedMs;
    }

    // Another level that already loaded a queued page this frame holds this one back.
    enableCache = false;
    const int before = loader.loads;
    level->update(1000, camPos, Ogre::Vector3::ZERO, enableCache, nullptr);
    EXPECT_EQ(loader.loads, before);
}

TEST(GeometryPageManagerTest, CacheIntervalShrinksWithSpeedAndNeverBreaks)
{
    Level tl(50.0f, nullptr, 70.0f);
    EXPECT_EQ(tl.level->cacheInterval(1.0f), 200u) << "nothing pending";

    RecordingLoader loader;
    GeometryPager pager;
    pager.setPageSize(10.0f);
    pager.setBounds(TBounds(0.0f, 0.0f, 400.0f, 400.0f));
    pager.setPageLoader(&loader);
    pager.addDetailLevel<RecordingPage>(50.0f, 0.0f);
    GeometryPageManager* level = pager.addDetailLevel<RecordingPage>(100.0f, 0.0f);
    bool enableCache = false;
    level->update(0, Ogre::Vector3(205.0f, 0.0f, 205.0f), Ogre::Vector3::ZERO, enableCache, nullptr);
    const auto pending = static_cast<float>(level->getPendingPageCount());
    ASSERT_GT(pending, 0.0f);

    struct Case
    {
        const char* name;
        float speedPerMs;
        uint32_t expectedMs;
    };
    const Case cases[] = {
        {"at rest", 0.0f, 200u},
        {"slow: capped", 0.0001f, 200u},
        {"too slow to divide by", 1e-38f, 200u},
        {"denormal speed", 1e-44f, 200u},
        {"fast", 1.0f, static_cast<uint32_t>(8.0f / pending)},
        {"very fast", 1e30f, 0u},
        {"infinite", INFINITY, 0u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(level->cacheInterval(c.speedPerMs), c.expectedMs) << c.name;
}

TEST(GeometryPageManagerTest, PagesExpireAfterTheirInactiveLife)
{
    const TBounds bounds(0.0f, 0.0f, 1000.0f, 1000.0f);
    Level tl(50.0f, &bounds, 70.0f);
    tl.frame(Ogre::Vector3(125.0f, 0.0f, 125.0f), 0);
    RecordingPage& page = pageAt(*tl.level, 2, 2);
    ASSERT_TRUE(page.isLoaded());

    // Far away: the page stops being refreshed and ages by 100 ms a frame.
    const Ogre::Vector3 away(900.0f, 0.0f, 900.0f);
    for (int frame = 0; frame < 20; ++frame)
    {
        tl.frame(away, 100);
        ASSERT_TRUE(page.isLoaded()) << "frame " << frame;
        EXPECT_FALSE(page.shown);
    }
    // 2000 ms reached in the last frame: unloaded in the next one.
    tl.frame(away, 100);
    EXPECT_FALSE(page.isLoaded());
    EXPECT_EQ(page.entities, 0);
    EXPECT_EQ(tl.loader.live[RecordingLoader::Index(2, 2)], 0);
}

TEST(GeometryPageManagerTest, ReloadingUnloadsOnlyLoadedPagesInsideTheGrid)
{
    const TBounds bounds(0.0f, 0.0f, 200.0f, 200.0f);
    Level tl(100.0f, &bounds, 70.0f);
    tl.frame(Ogre::Vector3(50.0f, 0.0f, 50.0f));
    ASSERT_TRUE(pageAt(*tl.level, 0, 0).isLoaded());
    const size_t loaded = tl.level->getLoadedPageCount();

    tl.pager.reloadGeometryPage(Ogre::Vector3(-10.0f, 0.0f, 50.0f));
    tl.pager.reloadGeometryPage(Ogre::Vector3(250.0f, 0.0f, 50.0f));
    EXPECT_EQ(tl.loader.unloads, 0);

    tl.pager.reloadGeometryPage(Ogre::Vector3(99.0f, 0.0f, 1.0f));
    EXPECT_FALSE(pageAt(*tl.level, 0, 0).isLoaded());
    EXPECT_EQ(tl.level->getLoadedPageCount(), loaded - 1);

    tl.pager.reloadGeometry();
    EXPECT_EQ(tl.level->getLoadedPageCount(), 0u);
    EXPECT_EQ(tl.loader.liveCount(), 0);
    tl.frame(Ogre::Vector3(50.0f, 0.0f, 50.0f));
    EXPECT_TRUE(pageAt(*tl.level, 0, 0).isLoaded());
}

TEST(GeometryPageManagerTest, DeletingALevelUnloadsItsPagesThroughTheLoader)
{
    Level tl(50.0f, nullptr, 70.0f);
    Ogre::Vector3 camPos(150.0f, 0.0f, 150.0f);
    for (int step = 0; step < 50; ++step)  // scrolls, leaving pages that still hold entities
    {
        camPos.x += 5.0f;
        tl.frame(camPos);
    }
    ASSERT_GT(tl.loader.liveCount(), 0);
    tl.pager.removeDetailLevels();
    EXPECT_EQ(tl.loader.liveCount(), 0);
}

TEST(GeometryPageManagerTest, TransitionsFadeTheFarEdgeAndTheNextLevelIn)
{
    // The engine offline reports no vertex programs, so the levels are set up by hand here.
    RecordingLoader loader;
    GeometryPager pager;
    pager.setPageSize(10.0f);
    pager.setBounds(TBounds(0.0f, 0.0f, 400.0f, 400.0f));
    pager.setPageLoader(&loader);
    GeometryPageManager* nearLevel = pager.addDetailLevel<RecordingPage>(50.0f, 0.0f);
    GeometryPageManager* farLevel = pager.addDetailLevel<RecordingPage>(100.0f, 0.0f);
    nearLevel->setTransition(20.0f);

    const Ogre::Vector3 camPos(205.0f, 0.0f, 205.0f);
    for (int frame = 0; frame < 300; ++frame)
    {
        bool enableCache = true;
        nearLevel->update(kFrameMs, camPos, Ogre::Vector3::ZERO, enableCache, nullptr);
        farLevel->update(kFrameMs, camPos, Ogre::Vector3::ZERO, enableCache, nearLevel);
    }
    // A near page at 60 units is in its fade band: fading out from 50 to 70.
    const RecordingPage& fadingOut = pageAt(*nearLevel, 26, 20);  // centre (265, 205)
    ASSERT_TRUE(fadingOut.isLoaded());
    EXPECT_TRUE(fadingOut.shown && fadingOut.fadeOn);
    EXPECT_FLOAT_EQ(fadingOut.fadeVisible, 50.0f);
    EXPECT_FLOAT_EQ(fadingOut.fadeInvisible, 70.0f);
    // The far level's page there fades in: whole from 60, gone at 50.
    const RecordingPage& fadingIn = pageAt(*farLevel, 26, 20);
    ASSERT_TRUE(fadingIn.isLoaded());
    EXPECT_TRUE(fadingIn.shown && fadingIn.fadeOn);
    EXPECT_FLOAT_EQ(fadingIn.fadeVisible, 60.0f);
    EXPECT_FLOAT_EQ(fadingIn.fadeInvisible, 50.0f);
}

TEST(GeometryPagerLayoutTest, LevelsAndLayoutAreCheckedWhenSet)
{
    GeometryPager pager;
    EXPECT_THROW(pager.setBounds(TBounds(0.0f, 0.0f, 100.0f, 90.0f)),
                 Ogre::InvalidParametersException);
    EXPECT_THROW(pager.setBounds(TBounds(10.0f, 10.0f, 10.0f, 10.0f)),
                 Ogre::InvalidParametersException);
    EXPECT_THROW(pager.setBounds(TBounds(10.0f, 10.0f, 0.0f, 0.0f)),
                 Ogre::InvalidParametersException);
    EXPECT_FLOAT_EQ(pager.getBounds().width(), 0.0f) << "nothing changes on failure";

    pager.addDetailLevel<RecordingPage>(70.0f, 0.0f);
    EXPECT_THROW(pager.addDetailLevel<RecordingPage>(70.0f, 0.0f), Ogre::InvalidStateException);
    EXPECT_THROW(pager.addDetailLevel<RecordingPage>(30.0f, 0.0f), Ogre::InvalidStateException);
    EXPECT_EQ(pager.getDetailLevels().size(), 1u);
    EXPECT_THROW(pager.setPageSize(20.0f), Ogre::IOException);
    EXPECT_THROW(pager.setInfinite(), Ogre::IOException);
    EXPECT_THROW(pager.setBounds(TBounds(0.0f, 0.0f, 100.0f, 100.0f)), Ogre::IOException);

    pager.removeDetailLevels();
    pager.setPageSize(20.0f);
    EXPECT_FLOAT_EQ(pager.getPageSize(), 20.0f);
}
