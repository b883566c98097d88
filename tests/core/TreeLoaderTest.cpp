// The game's tree loaders planting a forest: one tree per try on free ground (one try more
// than the count), the kinds in their shares, the trunks' colliders where the trees stand (a
// broad-leaf box, pine capsules, each palm its own model), and the lightmap: each tree's
// shadow stamped into a copy that becomes the race's and is cached, the trees' tint made and
// cached, nothing stamped into a lightmap that has the shadows already, nothing without one.
#include "DesertTreeLoader.h"
#include "GrassTreeLoader.h"
#include "graphics/TempImageManager.h"
#include "graphics/ToyPictureGrey.h"
#include "paging/GeometryPager.h"
#include "paging/TreeIterator.h"
#include "physic/PhysicBase.h"
#include "platform/physics/NxActor.h"
#include "platform/physics/NxRaycastHit.h"
#include "platform/physics/scene.h"

#include "support/HeadlessOgre.h"
#include "support/MeshTriangles.h"
#include "support/OfflineEngine.h"
#include "support/RaceTestScene.h"
#include "support/TempFolder.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr float kSize = 1000.0f;      // the forest's square, world units
constexpr float kGround = 50.0f;      // the flat ground's height, well above the world's floor plane
constexpr std::uint8_t kLight = 200;  // the plain lightmap, everywhere
const char* const kShadowedName = "VegetationLightmap33";

class TreeLoaderTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        RaceTestScene::prepareMedia();
        OfflineEngine::loadImageCodecs();
    }

    void SetUp() override
    {
        sceneManager = HeadlessOgre::createSceneManager();
        physics.init();
        pager.setBounds(TBounds(0.0f, 0.0f, kSize, kSize));
        lightmap.resize(1024, 1024, false);
        std::memset(lightmap.getGreyData(), kLight, 1024 * 1024);
    }

    void TearDown() override { HeadlessOgre::root().destroySceneManager(sceneManager); }

    // Flat free ground, with colliders; lightmap and cache as given.
    TreeLoader::Ground ground(bool withLightmap = false, bool withPhysics = true)
    {
        TreeLoader::Ground g;
        g.sceneManager = sceneManager;
        g.physics = withPhysics ? &physics : nullptr;
        g.coverage = [this](float, float) {
            ++coverageAsked;
            return 0.0f;
        };
        g.height = [](float, float) { return kGround; };
        g.lightmap = withLightmap ? &lightmap : nullptr;
        g.cache = &cache;
        g.lightmapCacheName = kShadowedName;
        return g;
    }

    template <typename Loader>
    std::unique_ptr<Loader> plant(std::uint32_t count, TreeLoader::Ground g)
    {
        auto loader = std::make_unique<Loader>("Trees", &pager, TBounds(0.0f, 0.0f, kSize, kSize), std::move(g), count);
        loader->createTrees();
        return loader;
    }

    static std::vector<TreeRef> trees(const TreeLoader& loader)
    {
        std::vector<TreeRef> all;
        for (TreeIterator3D it(loader); it.hasMoreElements();)
            all.push_back(it.getNext());
        return all;
    }

    // The closest static shape along a ray, and its actor's name; -1 and "" for none.
    std::pair<float, std::string> cast(const Ogre::Vector3& from, const Ogre::Vector3& direction, float length)
    {
        nxOgre::NxRay ray;
        ray.orig = btVector3(from.x, from.y, from.z);
        ray.dir = btVector3(direction.x, direction.y, direction.z);
        nxOgre::NxRaycastHit hit;
        if (!physics.getScene()->raycastClosestShape(ray, nxOgre::NX_STATIC_SHAPES, hit, nxOgre::kAllShapeGroups,
                                                     length) ||
            !hit.actor)
            return {-1.0f, ""};
        return {hit.distance, hit.actor->getName()};
    }

    static bool aloneWithin(const TreeRef& tree, const std::vector<TreeRef>& all, float radius)
    {
        for (const TreeRef& other : all)
            if (&other != &tree && other.position.distance(tree.position) < radius)
                return false;
        return true;
    }

    Ogre::SceneManager* sceneManager = nullptr;
    PhysicBase physics{nullptr, nullptr};
    GeometryPager pager{nullptr, 50.0f};
    ToyPictureGrey lightmap;
    TempFolder folder;
    TempImageManager cache{"Forest.map", true, folder.path() + "/"};
    int coverageAsked = 0;
};

TEST_F(TreeLoaderTest, GrassTrunksAreABoxAndCapsulesCentredOnTheirFeet)
{
    const auto loader = plant<GrassTreeLoader>(199, ground());
    EXPECT_EQ(coverageAsked, 200) << "one try more than the count";
    const std::vector<TreeRef> all = trees(*loader);
    ASSERT_EQ(all.size(), 200u);
    ASSERT_EQ(loader->getTreesAdded(), 200u);
    const std::vector<std::string> names = loader->getActorNames();
    ASSERT_EQ(names.size(), 200u);
    for (size_t i = 0; i < names.size(); ++i)
        ASSERT_EQ(names[i], "TreesStaticActor" + std::to_string(i));

    physics.setPaging(false);  // every actor made
    std::map<std::string, int> checked;
    for (const TreeRef& tree : all)
    {
        if (!aloneWithin(tree, all, 5.0f))
            continue;
        const std::string kind = tree.entity->getName();
        SCOPED_TRACE(kind + " at " + Ogre::StringConverter::toString(tree.position));
        const bool box = kind == "m_Entity1";
        // Across the trunk from -x a unit up: the box's face turns with the tree's yaw, which
        // the stored tree has to within a step of 360/255 degrees below it.
        const auto across = [box](float yawDegrees) {
            const float yaw = Ogre::Degree(yawDegrees).valueRadians();
            return box ? 0.25f / std::max(std::fabs(std::cos(yaw)), std::fabs(std::sin(yaw))) : 0.1f;
        };
        const float stored = tree.yaw.valueDegrees();
        float nearest = across(stored), farthest = nearest;
        for (float step = 0.01f; step <= 360.0f / 255.0f; step += 0.01f)
        {
            nearest = std::min(nearest, across(stored + step));
            farthest = std::max(farthest, across(stored + step));
        }
        // The physics' rays meet convex shapes to within about a hundredth, worst at edges.
        constexpr float kRayPrecision = 0.015f;
        const auto side = cast(tree.position + Ogre::Vector3(-3.0f, 1.0f, 0.0f), Ogre::Vector3::UNIT_X, 6.0f);
        EXPECT_GT(side.first, 3.0f - farthest - kRayPrecision);
        EXPECT_LT(side.first, 3.0f - nearest + kRayPrecision);
        EXPECT_TRUE(side.second.rfind("TreesStaticActor", 0) == 0) << side.second;
        // Down and up its axis: the box reaches 4 units either side of the foot, a capsule 2.1.
        const float reach = box ? 4.0f : 2.1f;
        EXPECT_NEAR(cast(tree.position + Ogre::Vector3(0.0f, 10.0f, 0.0f), -Ogre::Vector3::UNIT_Y, 20.0f).first,
                    10.0f - reach, 0.01f);
        EXPECT_NEAR(cast(tree.position - Ogre::Vector3(0.0f, 10.0f, 0.0f), Ogre::Vector3::UNIT_Y, 20.0f).first,
                    10.0f - reach, 0.01f);
        ++checked[kind];
    }
    EXPECT_EQ(checked.size(), 4u) << "a kind without a lone tree to look at";
}

TEST_F(TreeLoaderTest, EachPalmCollidesAsItsOwnModelWhereItStands)
{
    const auto loader = plant<DesertTreeLoader>(59, ground());
    for (unsigned kind = 0; kind < DesertTreeLoader::treeKinds().size(); ++kind)
    {
        SCOPED_TRACE(DesertTreeLoader::treeKinds()[kind].mesh);
        const auto* collider = loader->getCollider(kind);
        ASSERT_NE(collider, nullptr);
        ASSERT_EQ(collider->type, nxOgre::NxShapeType::TriangleMesh);
        const nxOgre::NxTriangleMesh& cooked = *static_cast<const nxOgre::NxTriangleMeshShapeDesc*>(collider)->meshData;
        const std::vector<MeshTriangle> model = meshTriangles(*loader->getEntity(kind)->getMesh());
        ASSERT_EQ(cooked.getTriangleCount(), model.size());
        const auto point = [&](std::uint32_t index) {
            const float* p = &cooked.getPoints()[index * 3];
            return Ogre::Vector3(p[0], p[1], p[2]);
        };
        for (size_t i = 0; i < model.size(); ++i)
            for (int corner = 0; corner < 3; ++corner)
                ASSERT_TRUE(point(cooked.getTriangles()[i * 3 + corner]).positionEquals(model[i][corner], 1e-5f)) << i;
    }
    // Placed at the tree's foot, turned with it: a ray a unit up meets the palm's own trunk.
    physics.setPaging(false);
    const std::vector<TreeRef> all = trees(*loader);
    int checked = 0;
    for (const TreeRef& tree : all)
    {
        if (!aloneWithin(tree, all, 10.0f))
            continue;
        const Ogre::Quaternion turn(tree.yaw, Ogre::Vector3::UNIT_Y);
        const std::vector<MeshTriangle> model = meshTriangles(*tree.entity->getMesh());
        std::vector<MeshTriangle> placed;
        for (const MeshTriangle& t : model)
            placed.push_back({turn * t[0] + tree.position, turn * t[1] + tree.position, turn * t[2] + tree.position});
        for (float height : {1.0f, 2.5f})
        {
            const Ogre::Ray ray(tree.position + Ogre::Vector3(-3.0f, height, 0.0f), Ogre::Vector3::UNIT_X);
            EXPECT_NEAR(cast(ray.getOrigin(), ray.getDirection(), 6.0f).first, nearestHit(placed, ray), 0.01f)
                << tree.entity->getName() << " " << height;
        }
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

TEST_F(TreeLoaderTest, KindsComeInTheirShares)
{
    const struct
    {
        bool desert;
        std::map<std::string, double> shares;
    } cases[] = {
        {false, {{"m_Entity1", 1.0 / 2}, {"m_Entity2", 1.0 / 3}, {"m_Entity3", 1.0 / 12}, {"m_Entity4", 1.0 / 12}}},
        {true, {{"m_VG_Palmtree", 2.0 / 3}, {"m_VG_Palmtree2", 1.0 / 6}, {"m_VG_Palmtree3", 1.0 / 6}}},
    };
    for (const auto& c : cases)
    {
        std::unique_ptr<TreeLoader> loader;
        if (c.desert)
            loader = plant<DesertTreeLoader>(11999, ground(false, false));
        else
            loader = plant<GrassTreeLoader>(11999, ground(false, false));
        std::map<std::string, int> planted;
        for (const TreeRef& tree : trees(*loader))
            ++planted[tree.entity->getName()];
        ASSERT_EQ(planted.size(), c.shares.size());
        for (const auto& [entity, share] : c.shares)
            EXPECT_NEAR(planted[entity] / 12000.0, share, 0.015) << entity;
        EXPECT_EQ(physics.getPagedActorCount(), 0u) << "no physics, no colliders";
    }
}

TEST_F(TreeLoaderTest, ShadowsGoIntoACopyThatBecomesTheRacesLightmapAndIsCached)
{
    const std::vector<TreeRef> planted = trees(*plant<GrassTreeLoader>(49, ground(true)));
    ToyPictureGrey cached;
    ASSERT_TRUE(cache.loadImage(cached, kShadowedName));
    ASSERT_EQ(cached.getWidth(), 1024u);
    EXPECT_EQ(std::memcmp(cached.getGreyData(), lightmap.getGreyData(), 1024 * 1024), 0) << "the race's is the cached one";
    // Under each tree (the terrain's 1000 units over the picture's 1024 pixels) it is darker.
    for (const TreeRef& tree : planted)
    {
        const auto px = static_cast<std::uint32_t>(tree.position.x / kSize * 1024.0f);
        const auto py = static_cast<std::uint32_t>(tree.position.z / kSize * 1024.0f);
        EXPECT_LT(lightmap.getGreyData()[py * 1024 + px], kLight - 50) << tree.position;
    }
    size_t untouched = 0;
    for (size_t i = 0; i < 1024 * 1024; ++i)
        untouched += lightmap.getGreyData()[i] == kLight;
    EXPECT_GT(untouched, 1024u * 1024u * 99 / 100) << "the stamps are the trees' alone";
}

TEST_F(TreeLoaderTest, TintIsThePictureAtItsOwnSizeInTheLightmapsShadeAndIsCached)
{
    ToyPictureGrey tint;
    ASSERT_TRUE(tint.loadFromFile(GrassTreeLoader::kTintPicture, 0, 0, Ogre::RGN_DEFAULT));
    ASSERT_EQ(tint.getWidth(), 1024u) << "as large as the lightmap";
    {
        const auto loader = plant<GrassTreeLoader>(9, ground(true));
        ASSERT_NE(loader->getShadowPicture(), nullptr);
        EXPECT_EQ(loader->getShadowPicture()->getWidth(), 8u) << "the stamp at its own size";
        const ToyPictureGrey* colours = loader->getTreeColourPicture();
        ASSERT_NE(colours, nullptr);
        ASSERT_EQ(colours->getWidth(), 1024u);
        ToyPictureGrey cached;
        ASSERT_TRUE(cache.loadImage(cached, GrassTreeLoader::kTintCacheName));
        for (std::uint32_t at : {0u, 1024u * 1024u / 2 + 300u, 1024u * 1024u - 1u})
        {
            const int expected = tint.getGreyData()[at] * kLight / 255;
            EXPECT_NEAR(colours->getGreyData()[at], expected, 1) << at;
            EXPECT_EQ(cached.getGreyData()[at], colours->getGreyData()[at]) << at;
        }
    }
    // A cached tint is taken as it is.
    ToyPictureGrey flat(16, 16);
    std::memset(flat.getGreyData(), 42, 16 * 16);
    ASSERT_TRUE(cache.saveImage(flat, GrassTreeLoader::kTintCacheName));
    const auto again = plant<GrassTreeLoader>(9, ground(true));
    ASSERT_EQ(again->getTreeColourPicture()->getWidth(), 16u);
    EXPECT_EQ(again->getTreeColourPicture()->getGreyData()[17], 42);
}

TEST_F(TreeLoaderTest, TheDesertTintIsTheLightmapBeforeTheShadows)
{
    const auto loader = plant<DesertTreeLoader>(49, ground(true));
    const ToyPictureGrey& colours = *loader->getTreeColourPicture();
    ASSERT_EQ(colours.getWidth(), 1024u);
    for (size_t i = 0; i < 1024 * 1024; ++i)
        ASSERT_EQ(colours.getGreyData()[i], kLight) << i;
}

TEST_F(TreeLoaderTest, NoStampsOnALightmapWithTheShadowsAlreadyOrWithoutOne)
{
    TreeLoader::Ground shadowed = ground(true);
    shadowed.lightmapHasTrees = true;
    plant<GrassTreeLoader>(49, std::move(shadowed));
    for (size_t i = 0; i < 1024 * 1024; ++i)
        ASSERT_EQ(lightmap.getGreyData()[i], kLight) << i;
    EXPECT_FALSE(cache.exists(kShadowedName));

    const auto plain = plant<GrassTreeLoader>(49, ground(false));
    EXPECT_EQ(plain->getShadowPicture(), nullptr);
    EXPECT_EQ(plain->getTreeColourPicture(), nullptr);
    EXPECT_FALSE(cache.exists(kShadowedName));
    EXPECT_EQ(plain->getTreesAdded(), 50u);
}

TEST_F(TreeLoaderTest, TheLoaderTakesItsActorsAndEntitiesWithIt)
{
    {
        const auto loader = plant<DesertTreeLoader>(49, ground());
        physics.setPaging(false);
        EXPECT_EQ(physics.getPagedActorCount(), 50u);
        EXPECT_TRUE(sceneManager->hasEntity("m_VG_Palmtree"));
    }
    physics.setPaging(false);  // whatever is still registered is made
    EXPECT_EQ(physics.getPagedActorCount(), 0u);
    EXPECT_FALSE(sceneManager->hasEntity("m_VG_Palmtree"));
}
}
