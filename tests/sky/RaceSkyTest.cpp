// The race's advanced sky built from the build's sky media on a headless engine, released
// after every race, its stars drawn only by night, and a broken sky leaving nothing behind.
#include "RaceSky.h"

#include "sky/DayClock.h"
#include "sky/SkySystem.h"
#include "sky/Starfield.h"
#include "sky/Sun.h"

#include "support/HeadlessOgre.h"
#include "support/OfflineEngine.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <tuple>

namespace
{
struct RaceSkyTest : ::testing::Test
{
    Ogre::SceneManager* sceneManager = nullptr;

    void SetUp() override
    {
        HeadlessOgre::root();
        OfflineEngine::loadImageCodecs();
        if (!Ogre::TextureManager::getSingletonPtr())
            new Ogre::DefaultTextureManager();  // lives as long as the headless engine
        sceneManager = HeadlessOgre::createSceneManager();
    }
    void TearDown() override { HeadlessOgre::root().destroySceneManager(sceneManager); }

    static void useSkyMedia(bool present)
    {
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        const std::string folder = std::string(QUILLMOR_BUILD_DIR) + "/media/sky";
        if (present && !groups.resourceLocationExists(folder, "Sky"))
            groups.addResourceLocation(folder, "FileSystem", "Sky");
        if (!present && groups.resourceGroupExists("Sky"))
            groups.destroyResourceGroup("Sky");
    }

    auto counts() const
    {
        auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
        std::size_t materialCount = 0;
        for (; materials.hasMoreElements(); materials.moveNext())
            ++materialCount;
        return std::make_tuple(materialCount, sceneManager->getRootSceneNode()->numChildren(),
                               sceneManager->getMovableObjects("Entity").size(), sceneManager->hasLight("SkySun"));
    }
};
}

TEST_F(RaceSkyTest, StandsAtTenAndIsReleasedAfterEveryRace)
{
    useSkyMedia(true);
    const auto before = counts();
    for (int race = 0; race < 10; ++race)
    {
        RaceSky sky;
        std::string error;
        ASSERT_TRUE(sky.create(&HeadlessOgre::root(), sceneManager, nullptr, error)) << error;
        EXPECT_FLOAT_EQ(sky.getSkySystem()->getDayClock()->getCurrentRelativeDayTime(), 10.0f / 24.0f);
        EXPECT_EQ(sky.getSkySystem()->getDayClock()->getTimeScale(), 0.0f);
        Ogre::FrameEvent frame{};
        frame.timeSinceLastFrame = 0.02f;
        EXPECT_TRUE(sky.getSkySystem()->frameStarted(frame));
        EXPECT_LT(sky.getSkySystem()->getSun()->getSunDirection().y, 0.0f) << "daylight";
        EXPECT_EQ(sceneManager->getFogMode(), Ogre::FOG_EXP2);
        EXPECT_TRUE(sceneManager->hasLight("SkySun"));
        sky.destroy();
        EXPECT_EQ(counts(), before) << "race " << race;
    }
}

TEST_F(RaceSkyTest, AMissingGradientLeavesNoSkyBehind)
{
    useSkyMedia(false);
    Ogre::ResourceGroupManager::getSingleton().createResourceGroup("Sky");
    const auto before = counts();
    RaceSky sky;
    std::string error;
    EXPECT_FALSE(sky.create(&HeadlessOgre::root(), sceneManager, nullptr, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(sky.getSkySystem(), nullptr);
    EXPECT_EQ(counts(), before);
    EXPECT_FALSE(sceneManager->hasLight("SkySun")) << "the sky box's sun can take the name";
    useSkyMedia(false);
}

TEST_F(RaceSkyTest, StarsAreDrawnOnlyWhileTheSunIsDown)
{
    useSkyMedia(true);
    RaceSky sky;
    std::string error;
    ASSERT_TRUE(sky.create(&HeadlessOgre::root(), sceneManager, nullptr, error)) << error;
    sky::SkySystem* system = sky.getSkySystem();
    const Ogre::MovableObject* stars = system->getStarfield()->getNode()->getAttachedObject(0);
    struct Case
    {
        const char* what;
        double hour;
        bool starsShown;
    };
    EXPECT_FALSE(stars->getVisible()) << "hidden until the sky has placed the sun";
    Ogre::Camera* camera = sceneManager->createCamera("Eye");
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(camera);
    const Case cases[] = {{"the race's ten o'clock", 10.0, false}, {"noon", 12.0, false},
                          {"midnight", 0.0, true},                 {"just after sunset", 18.2, true},
                          {"the morning after", 10.0, false}};
    bool shownYet = false;
    for (const Case& c : cases)
    {
        system->getDayClock()->setCurrentTime(c.hour * 3600.0);
        system->getDayClock()->forceUpdate();
        Ogre::FrameEvent frame{};
        frame.timeSinceLastFrame = 0.02f;
        ASSERT_TRUE(system->frameStarted(frame));
        system->getStarfield()->followCamera(camera);  // as before every view is drawn
        EXPECT_EQ(stars->getVisible(), c.starsShown) << c.what;
        // The star map is loaded once stars first show, and kept.
        shownYet = shownYet || c.starsShown;
        EXPECT_EQ(system->getStarfield()->isTextureLoaded(), shownYet) << c.what;
        EXPECT_EQ(Ogre::TextureManager::getSingleton().resourceExists("Starfield.jpg", "Sky"), shownYet) << c.what;
    }
}
