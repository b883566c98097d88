// A built-in track loaded into the race scene without a window: the physics listeners'
// order, the car at the highest corner about the start and handed to the computer drivers,
// the terrain lightmap baked once and then read from the cache (the trees' variant only
// with vegetation on), and a car file that does not read stopping the load.
#include "GameConfiguration.h"
#include "GamePlay.h"
#include "GameScene.h"
#include "DesertTreeLoader.h"
#include "GrassTreeLoader.h"
#include "TreeLoader.h"
#include "VegetationManager.h"
#include "paging/TreeIterator.h"
#include "XMLParser.h"
#include "ai/OperationalAI.h"
#include "ai/StrategicAI.h"
#include "graphics/TempImageManager.h"
#include "graphics/ToyPictureGrey.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxRaycastHit.h"
#include "platform/physics/scene.h"
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
#include <sys/stat.h>
#include <unistd.h>
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

// Keeps the engine log's lines that start with a text, in order.
struct LogLines : Ogre::LogListener
{
    explicit LogLines(std::string start) : prefix(std::move(start))
    {
        Ogre::LogManager::getSingleton().getDefaultLog()->addListener(this);
    }
    ~LogLines() override { Ogre::LogManager::getSingleton().getDefaultLog()->removeListener(this); }
    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool, const Ogre::String&, bool&) override
    {
        if (message.rfind(prefix, 0) == 0)
            lines.push_back(message);
    }
    std::string prefix;
    std::vector<std::string> lines;
};

class GameSceneLoad : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static bool prepared = false;  // once for this suite and the one built on it
        if (prepared)
            return;
        prepared = true;
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
        settings.setSavePath(userFolder.path() + "/");
        settings.setAdvancedSkyEnabled(false);
        settings.setLightMapsEnabled(true);
        settings.setVegetationEnabled(false);
    }

    std::unique_ptr<GameScene> load(const std::string& carFile = GameScene::kCarFile, const std::string& track = kTrack)
    {
        auto scene = std::make_unique<GameScene>(settings);
        scene->setCarFile(carFile);
        auto map = XMLParser::getInstance()->loadMapDescription(track);
        map->filePath = track;
        map->standardMap = true;
        scene->load(*map, nullptr);
        return scene;
    }

    TempFolder userFolder;
    GameConfiguration settings;  // every scene of a test is built on these
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
    TempImageManager cache("TestLoop.map", true, settings.getSavePath());
    const std::string key =
        VegetationPlanning::plan("Grass", settings.getTreeDensity(), settings.getGrassDensity()).lightmapName();
    ASSERT_TRUE(cache.saveImage(trees, key));

    {
        const auto plain = load();
        EXPECT_NE(plain->getLightmapPicture()->getGreyData()[512 * 1024 + 512], 7) << "vegetation is off";
    }
    // One race scene at a time: the first is gone before the next loads.
    settings.setVegetationEnabled(true);
    const auto shaded = load();
    ASSERT_NE(shaded->getVegetation(), nullptr);
    EXPECT_EQ(shaded->getLightmapPicture()->getGreyData()[512 * 1024 + 512], 7);
}

// A sparse forest on the test track: loading it is quick, and its trees stand apart.
class VegetationLoad : public GameSceneLoad
{
protected:
    void SetUp() override
    {
        GameSceneLoad::SetUp();
        settings.setVegetationEnabled(true);
        settings.setTreeDensity(0.02f);  // 1000 tries
    }

    static std::vector<TreeRef> trees(const GameScene& scene)
    {
        std::vector<TreeRef> all;
        for (TreeIterator3D it(*scene.getVegetation()->getTreeLoader()); it.hasMoreElements();)
            all.push_back(it.getNext());
        return all;
    }

    // Trees of one entity with no other within radius, on ground that is nearly flat towards
    // -x, away from the track and the world's edges; at most count of them.
    static std::vector<TreeRef> loneTrees(const GameScene& scene, const std::vector<TreeRef>& all, float radius,
                                          const std::string& entity, size_t count)
    {
        std::vector<TreeRef> found;
        const TerrainObject& ground = *scene.getTerrainObject();
        for (const TreeRef& tree : all)
        {
            if (found.size() == count)
                break;
            if (tree.entity->getName() != entity)
                continue;
            const float x = tree.position.x, z = tree.position.z;
            // Well inside the planes that fence the track's world in.
            const bool inside = x > 300.0f && z > 300.0f && x < 2700.0f && z < 2700.0f;
            if (!inside || std::fabs(ground.getHeight(x - radius, z) - tree.position.y) > 1.0f)
                continue;
            if (scene.getMapObject()->getCoverage(x - radius, z) > 0.0f)
                continue;
            bool alone = true;
            for (const TreeRef& other : all)
                alone = alone && (&other == &tree || other.position.distance(tree.position) > radius);
            if (alone)
                found.push_back(tree);
        }
        if (found.empty())
            ADD_FAILURE() << "no lone " << entity;
        return found;
    }
};

TEST_F(VegetationLoad, TreesStandOffTheTrackOnTheTerrainWithANamedColliderEach)
{
    const auto scene = load();
    ASSERT_NE(scene->getVegetation(), nullptr);
    const TreeLoader& loader = *scene->getVegetation()->getTreeLoader();
    const std::vector<TreeRef> all = trees(*scene);
    ASSERT_GT(all.size(), 500u);
    EXPECT_EQ(all.size(), loader.getTreesAdded());
    const MapObject& track = *scene->getMapObject();
    for (const TreeRef& tree : all)
    {
        EXPECT_EQ(track.getCoverage(tree.position.x, tree.position.z), 0.0f) << tree.position;
        EXPECT_GE(tree.position.x, 0.0f);
        EXPECT_LE(tree.position.x, 3072.0f);
        EXPECT_GE(tree.position.z, 0.0f);
        EXPECT_LE(tree.position.z, 3072.0f);
        EXPECT_NEAR(tree.position.y, scene->getTerrainObject()->getHeight(tree.position.x, tree.position.z), 0.01f);
    }
    const std::vector<std::string> names = loader.getActorNames();
    ASSERT_EQ(names.size(), all.size());
    for (size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(names[i], "GrassTreesStaticActor" + std::to_string(i));
}

TEST_F(VegetationLoad, SameSettingsSameForestAndShadowsCachedUnderItsName)
{
    std::vector<TreeRef> first;
    std::vector<std::string> firstKinds;  // the entities go with their scene
    std::string key;
    {
        const auto scene = load();
        first = trees(*scene);
        for (const TreeRef& tree : first)
            firstKinds.push_back(tree.entity->getName());
        key = scene->getVegetation()->getPlan().lightmapName();
        EXPECT_TRUE(scene->getImageCache()->exists(key));
        // Under a tree the lightmap is darker than the plain one there.
        ToyPictureGrey plain;
        ASSERT_TRUE(scene->getImageCache()->loadImage(plain, "Lightmap"));
        const ToyPictureGrey& shaded = *scene->getLightmapPicture();
        int darker = 0;
        for (const TreeRef& tree : first)
        {
            const auto px = static_cast<uint32_t>(tree.position.x / 3072.0f * shaded.getWidth());
            const auto py = static_cast<uint32_t>(tree.position.z / 3072.0f * shaded.getHeight());
            const size_t at = py * shaded.getWidth() + px;
            darker += shaded.getGreyData()[at] < plain.getGreyData()[at];
        }
        EXPECT_GT(darker, static_cast<int>(first.size() * 9 / 10));
    }
    const auto again = load();
    EXPECT_TRUE(again->lightmapHasTrees()) << "the cached picture with the shadows is taken";
    const std::vector<TreeRef> second = trees(*again);
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
    {
        EXPECT_EQ(second[i].position, first[i].position);
        EXPECT_EQ(second[i].yaw, first[i].yaw);
        EXPECT_EQ(second[i].entity->getName(), firstKinds[i]);
    }
}

// The grass terrain's build is logged step by step, a second race's from the cache; the
// desert's not at all.
TEST_F(VegetationLoad, GrassLogsItsStepsTheDesertNone)
{
    const std::vector<std::string> first = {
        "init trees ... ", "init trees ... done", "init grass ...", "init grass [load image]...",
        "init grass [multiply image]...", "init grass [convert image]...", "init grass [last steps]...",
        "init grass ... done"};
    const std::vector<std::string> cached = {"init trees ... ",           "init trees ... done",
                                             "init grass ...",            "init grass [load image]...",
                                             "init grass [last steps]...", "init grass ... done"};
    {
        LogLines steps("init ");
        const auto scene = load();
        EXPECT_EQ(steps.lines, first);
        EXPECT_TRUE(scene->getImageCache()->exists("GrassColorMap2"));  // density 0.02
    }
    {
        LogLines steps("init ");
        const auto again = load();
        EXPECT_EQ(steps.lines, cached);
    }
    LogLines steps("init ");
    LogLines none("No vegetation");
    const auto desert = load(GameScene::kCarFile, "../media/maps/DesertRun.map");
    ASSERT_NE(desert->getVegetation(), nullptr);
    EXPECT_TRUE(steps.lines.empty()) << steps.lines.front();
    EXPECT_TRUE(none.lines.empty());
}

// The grass's colours missing: the race goes on without vegetation, and without the shadows
// the trees stamped into its lightmap before the grass failed.
TEST_F(VegetationLoad, AFailureAfterTheShadowsLeavesThePlainLightmap)
{
    const std::string trees = userFolder.path() + "/trees";
    ASSERT_EQ(mkdir(trees.c_str(), 0755), 0);
    const std::string media = "../media/trees";
    for (const char* file : {"NormalTree.mesh", "pinetree_01.mesh", "pinetree_02.mesh", "pinetree_03.mesh",
                             "treeshadow.png", "map1_TX_light_new3.png", "TreeBark.png", "TreeLeaves.png",
                             "PineNeedles.png"})
        ASSERT_EQ(symlink((std::string(QUILLMOR_BUILD_DIR) + "/media/trees/" + file).c_str(), (trees + "/" + file).c_str()), 0);
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    Ogre::MeshManager::getSingleton().unloadAll();
    groups.removeResourceLocation(media, Ogre::RGN_DEFAULT);
    groups.addResourceLocation(trees, "FileSystem", Ogre::RGN_DEFAULT);
    const auto scene = load();
    groups.removeResourceLocation(trees, Ogre::RGN_DEFAULT);
    groups.addResourceLocation(media, "FileSystem", Ogre::RGN_DEFAULT);
    EXPECT_EQ(scene->getVegetation(), nullptr);
    EXPECT_FALSE(settings.isVegetationEnabled());
    ToyPictureGrey plain;
    ASSERT_TRUE(scene->getImageCache()->loadImage(plain, "Lightmap"));
    ASSERT_EQ(scene->getLightmapPicture()->getWidth(), plain.getWidth());
    EXPECT_EQ(std::memcmp(scene->getLightmapPicture()->getGreyData(), plain.getGreyData(),
                          plain.getWidth() * plain.getHeight()),
              0)
        << "shadows of trees that are not there";
    EXPECT_EQ(scene->getPhysicBase()->getPagedActorCount(), 0u);
}

TEST_F(VegetationLoad, MissingTreeMeshLeavesTheRaceAsWithoutVegetation)
{
    { const auto bake = load(); }  // the plain lightmap, and the trees' one, cached
    settings.setVegetationEnabled(true);
    Ogre::MeshManager::getSingleton().unloadAll();
    Ogre::ResourceGroupManager::getSingleton().removeResourceLocation("../media/trees", Ogre::RGN_DEFAULT);
    const auto scene = load();
    Ogre::ResourceGroupManager::getSingleton().addResourceLocation("../media/trees", "FileSystem", Ogre::RGN_DEFAULT);
    EXPECT_EQ(scene->getVegetation(), nullptr);
    EXPECT_FALSE(settings.isVegetationEnabled());
    EXPECT_FALSE(scene->lightmapHasTrees()) << "shadows of trees that are not there";
    EXPECT_EQ(scene->getPhysicBase()->getPagedActorCount(), 0u);
    ASSERT_NE(scene->getCar(), nullptr);
}

// The closest static shape a ray along +x meets within length, from 3 units before the tree
// at a height above its foot; -1 for none.
float rayAtTree(PhysicBase& physics, const TreeRef& tree, float height, float length = 6.0f)
{
    nxOgre::NxRay ray;
    ray.orig = btVector3(tree.position.x - 3.0f, tree.position.y + height, tree.position.z);
    ray.dir = btVector3(1, 0, 0);
    nxOgre::NxRaycastHit hit;
    const bool hitSomething =
        physics.getScene()->raycastClosestShape(ray, nxOgre::NX_STATIC_SHAPES, hit, nxOgre::kAllShapeGroups, length);
    return hitSomething ? hit.distance : -1.0f;
}

TEST_F(VegetationLoad, RayHitsATrunkUpToItsColliderAndTheCarStopsAgainstIt)
{
    const auto scene = load();
    const std::vector<TreeRef> all = trees(*scene);
    PhysicBase& physics = *scene->getPhysicBase();
    Car& car = *scene->getCar();
    // The broad-leaf box reaches 0.25 to 0.36 from its axis (by the tree's turn) and 4 units
    // up; a pine's capsule 0.1 from its axis, 2.1 up.
    struct Case
    {
        const char* entity;
        float nearest, farthest;  // where the ray from 3 units away meets the trunk
        std::vector<float> hitHeights;
        float missHeight;
    } cases[] = {
        {"m_Entity1", 2.64f, 2.76f, {0.5f, 2.0f, 3.8f}, 4.2f},
        {"m_Entity2", 2.89f, 2.91f, {0.5f, 1.5f, 2.0f}, 2.3f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.entity);
        const std::vector<TreeRef> lone = loneTrees(*scene, all, 30.0f, c.entity, 1);
        ASSERT_FALSE(lone.empty());
        const TreeRef& tree = lone.front();
        physics.setPaging(false);  // every cell's actors made
        for (float height : c.hitHeights)
        {
            const float distance = rayAtTree(physics, tree, height);
            EXPECT_GT(distance, c.nearest) << height;
            EXPECT_LT(distance, c.farthest) << height;
        }
        EXPECT_LT(rayAtTree(physics, tree, c.missHeight), 0.0f) << "the collider reaches higher";

        // Full throttle at the trunk from 25 units away.
        physics.setPaging(true);
        const Ogre::Vector3 start(tree.position.x - 25.0f, tree.position.y, tree.position.z);
        car.setPose(start, Ogre::Quaternion::IDENTITY);  // the chassis' x ahead
        physics.setFixedFrame(true);
        float furthest = 0.0f;
        std::vector<float> places;  // x after each second
        for (int second = 0; second < 10; ++second)
        {
            car.setStopped(false);
            car.setThrottle(1.0f);
            physics.update();
            const Ogre::Vector3 at = car.getNode()->getPosition();
            furthest = std::max(furthest, at.x - start.x);
            places.push_back(at.x);
        }
        physics.setFixedFrame(false);
        EXPECT_GT(furthest, 20.0f) << "the car drove up to the tree";
        EXPECT_LT(furthest, 25.0f - 1.0f) << "the car went through the tree";
        // Pushed on against the trunk, its wheels spinning, it stays there, its nose (2.4 units
        // ahead of its middle) at the trunk, rocking at most.
        for (const float place : {places[8], places[9]})
        {
            EXPECT_GT(place, tree.position.x - 6.0f) << "the car is not held at the trunk";
            EXPECT_LT(place, tree.position.x - 2.2f) << "the trunk is inside the car";
        }
    }
}

// Lone trees of every kind on both terrains, each driven at straight from 20 units before it
// at 50, 100 and 150 km/h, the accelerator held, with the physics' cells paged once a frame
// of three steps as in a race: the car comes up to each trunk and never gets past it.
TEST_F(VegetationLoad, CarsDrivenFastAtTrunksOfEveryKindStopAtThem)
{
    constexpr int kStepsPerFrame = 3;
    constexpr float kRunUp = 20.0f;  // units
    const struct
    {
        const char* track;
        std::vector<TreeKind> kinds;
    } tracks[] = {
        {"../media/maps/TestLoop.map", GrassTreeLoader::treeKinds()},
        {"../media/maps/DesertRun.map", DesertTreeLoader::treeKinds()},
    };
    for (const auto& t : tracks)
    {
        SCOPED_TRACE(t.track);
        const auto scene = load(GameScene::kCarFile, t.track);
        ASSERT_NE(scene->getVegetation(), nullptr);
        const std::vector<TreeRef> all = trees(*scene);
        PhysicBase& physics = *scene->getPhysicBase();
        Car& car = *scene->getCar();
        const auto run = [&](int steps, float speedKmh) {
            for (int step = 0; step < steps; ++step)
            {
                if (step % kStepsPerFrame == 0)
                    physics.pagingUpdate();
                car.setStopped(false);
                car.setThrottle(speedKmh > 0.0f ? 1.0f : 0.0f);
                physics.simulate(0.0f);
            }
        };
        for (const TreeKind& kind : t.kinds)
            for (const TreeRef& tree : loneTrees(*scene, all, kRunUp + 5.0f, kind.entityName, 3))
                for (float speedKmh : {50.0f, 100.0f, 150.0f})
                {
                    SCOPED_TRACE(testing::Message() << kind.entityName << " at " << tree.position << ", "
                                                    << speedKmh << " km/h");
                    car.setPose(Ogre::Vector3(tree.position.x - kRunUp, tree.position.y, tree.position.z),
                                Ogre::Quaternion::IDENTITY);
                    run(30, 0.0f);  // settled, its cells made
                    car.setRollingSpeed(speedKmh);
                    float furthest = -kRunUp;
                    for (int frame = 0; frame < 60; ++frame)
                    {
                        run(kStepsPerFrame, speedKmh);
                        furthest = std::max(furthest, car.getNode()->getPosition().x - tree.position.x);
                    }
                    EXPECT_GT(furthest, -6.0f) << "the car did not come up to the trunk";
                    EXPECT_LT(furthest, -1.0f) << "the car went through the trunk";
                }
    }
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
