// A built-in track loaded into the race scene without a window: the physics listeners'
// order, the car at the highest corner about the start and handed to the computer drivers,
// the terrain lightmap baked once and then read from the cache (the trees' variant only
// with vegetation on), and a car file that does not read stopping the load.
#include "GameConfiguration.h"
#include "GamePlay.h"
#include "GameScene.h"
#include "XMLParser.h"
#include "ai/OperationalAI.h"
#include "ai/StrategicAI.h"
#include "graphics/TempImageManager.h"
#include "graphics/ToyPictureGrey.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "track/DataFileError.h"
#include "track/MapDescription.h"
#include "track/MapObject.h"
#include "track/TerrainObject.h"

#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/RaceTestScene.h"
#include "support/TempFolder.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
const char* const kTrack = "../media/maps/TestLoop.map";

// Counts the engine log's lines that hold a text.
struct LogCounter : Ogre::LogListener
{
    explicit LogCounter(std::string wanted) : text(std::move(wanted))
    {
        Ogre::LogManager::getSingleton().getDefaultLog()->addListener(this);
    }
    ~LogCounter() override { Ogre::LogManager::getSingleton().getDefaultLog()->removeListener(this); }
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&, bool&) override
    {
        count += message.find(text) != std::string::npos;
    }
    std::string text;
    int count = 0;
};

class GameSceneLoad : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RaceTestScene::prepareMedia();
        OfflineEngine::loadSceneManagers();
        OfflineEngine::loadImageCodecs();
        CarScene::prepareMedia();
        // The sky box and the AI marker.
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        groups.addResourceLocation("../media/skybox", "FileSystem", Ogre::RGN_DEFAULT);
        Ogre::DataStreamPtr stream = groups.openResource("SkyBox.material", Ogre::RGN_DEFAULT);
        Ogre::MaterialManager::getSingleton().parseScript(stream, Ogre::RGN_DEFAULT);
    }

    void SetUp() override
    {
        GameConfiguration& settings = GameScene::getSettings();
        saved = settings;
        settings.setSavePath(userFolder.path() + "/");
        settings.setAdvancedSkyEnabled(false);
        settings.setLightMapsEnabled(true);
        settings.setVegetationEnabled(false);
    }
    void TearDown() override { GameScene::getSettings() = saved; }

    std::unique_ptr<GameScene> load(const std::string& carFile = GameScene::kCarFile)
    {
        auto scene = std::make_unique<GameScene>();
        scene->setCarFile(carFile);
        auto map = XMLParser::getInstance()->loadMapDescription(kTrack);
        map->filePath = kTrack;
        map->standardMap = true;
        scene->load(*map, nullptr);
        return scene;
    }

    TempFolder userFolder;
    GameConfiguration saved;
};

TEST_F(GameSceneLoad, CarRulesAIAndSceneStepInThatOrder)
{
    const auto scene = load();
    Car* car = scene->getCar();
    ASSERT_NE(car, nullptr);
    ASSERT_NE(scene->getStrategicAI(), nullptr);
    ASSERT_NE(scene->getGamePlay(), nullptr);
    const std::vector<PhysicListener*> expected{car, scene->getGamePlay(), scene->getStrategicAI(), scene.get()};
    EXPECT_EQ(scene->getPhysicBase()->getListeners(), expected);
    EXPECT_TRUE(scene->getPhysicBase()->isRunning());
    for (const auto& driver : scene->getStrategicAI()->getDrivers())
    {
        if (driver)
        {
            EXPECT_EQ(driver->getCar(), car) << "the drivers steer the player's car";
        }
    }
    EXPECT_TRUE(scene->getSceneManager()->hasEntity("AIDebug"));
    EXPECT_TRUE(scene->getSceneManager()->getEntity("AIDebug")->isAttached()) << "goes with the scene";
    EXPECT_TRUE(scene->getSceneManager()->hasLight("shadowLight"));
    EXPECT_TRUE(scene->getSceneManager()->hasLight("SkySun"));
    EXPECT_FALSE(scene->hasAdvancedSky());
}

TEST_F(GameSceneLoad, CarStartsAboveTheHighestCornerAboutTheStart)
{
    const auto scene = load();
    const Ogre::Vector3 start = scene->getMapObject()->getStartPosition();
    const TerrainObject& terrain = *scene->getTerrainObject();
    const float highest = terrain.getMaxHeight(start.x, start.z, 4.0f);
    for (float dx : {-2.0f, 2.0f})
        for (float dz : {-2.0f, 2.0f})
            EXPECT_GE(highest + 1e-3f, terrain.getHeight(start.x + dx, start.z + dz));
    // The car is made at that height; one step of physics has not yet moved it far.
    EXPECT_NEAR(scene->getCar()->getNode()->getPosition().y, highest, 1.5f);
}

TEST_F(GameSceneLoad, SecondLoadReadsTheLightmapFromTheCache)
{
    LogCounter bakes("Creating Lightmap...");
    ToyPictureGrey first;
    {
        const auto scene = load();
        first = *scene->getLightmapPicture();
        EXPECT_TRUE(scene->getImageCache()->exists("Lightmap"));
    }
    EXPECT_EQ(bakes.count, 1);
    const auto again = load();
    EXPECT_EQ(bakes.count, 1) << "the second load baked again";
    const ToyPictureGrey& second = *again->getLightmapPicture();
    ASSERT_EQ(second.getWidth(), first.getWidth());
    ASSERT_EQ(second.getHeight(), first.getHeight());
    EXPECT_EQ(0, std::memcmp(first.getGreyData(), second.getGreyData(), first.getWidth() * first.getHeight()));
}

TEST_F(GameSceneLoad, TreeShadowedLightmapOnlyWithVegetation)
{
    { const auto bake = load(); }
    // A cached tree-shadowed picture for the density in use: all shadow.
    ToyPictureGrey trees;
    trees.resize(1024, 1024, false);
    std::memset(trees.getGreyData(), 7, 1024 * 1024);
    TempImageManager cache("TestLoop.map", true, GameScene::getSettings().getSavePath());
    ASSERT_TRUE(cache.saveImage(trees, "VegetationLightmap100"));

    {
        const auto plain = load();
        EXPECT_NE(plain->getLightmapPicture()->getGreyData()[512 * 1024 + 512], 7) << "vegetation is off";
    }
    // One race scene at a time: the first is gone before the next loads.
    GameScene::getSettings().setVegetationEnabled(true);
    const auto shaded = load();
    EXPECT_EQ(shaded->getLightmapPicture()->getGreyData()[512 * 1024 + 512], 7);
}

TEST_F(GameSceneLoad, UnreadableCarFileStopsTheLoadNamingIt)
{
    const std::string carFile = userFolder.path() + "/Broken.xml";
    std::ofstream(carFile) << "<Car><Vehicle>";
    try
    {
        load(carFile);
        FAIL() << "a race without a car";
    }
    catch (const DataFileError& error)
    {
        EXPECT_EQ(error.getFile(), carFile);
    }
}
}
