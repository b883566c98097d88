// The sky's elements on a headless scene: the sun's colours and disc, the starfield's
// turn, the dome's radius, the elements' names and draw order, and the sky system's frame
// update and release.
#include "sky/DayClock.h"
#include "sky/SimpleSunPositionModel.h"
#include "sky/SkyDome.h"
#include "sky/SkyListener.h"
#include "sky/SkyResourceGroup.h"
#include "sky/SkySystem.h"
#include "sky/SphereMesh.h"
#include "sky/Starfield.h"
#include "sky/StoredImageElvBasedSkyColourModel.h"
#include "sky/Sun.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>

#include <gtest/gtest.h>

#include <tuple>

namespace
{
class SkyScene : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = &HeadlessOgre::root();
        // The starfield and the dome name textures; a texture manager that loads nothing will do.
        if (!Ogre::TextureManager::getSingletonPtr())
            new Ogre::DefaultTextureManager();  // lives as long as the headless engine
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        if (!groups.resourceGroupExists(sky::getSkyResourceGroupName()))
            groups.createResourceGroup(sky::getSkyResourceGroupName());
        sky::createSphereMesh("sphere.mesh", 8, sky::SphereKind::UV);
        sceneManager = HeadlessOgre::createSceneManager();
        camera = sceneManager->createCamera("SkyTestCamera");
        sceneManager->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(10, 20, 30))->attachObject(camera);
        camera->setNearClipDistance(1.0f);
        camera->setFarClipDistance(5000.0f);
    }
    void TearDown() override { root->destroySceneManager(sceneManager); }

    Ogre::Root* root = nullptr;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Camera* camera = nullptr;
};

void expectColour(const Ogre::ColourValue& actual, const Ogre::ColourValue& expected, const char* what)
{
    EXPECT_NEAR(actual.r, expected.r, 1e-5f) << what;
    EXPECT_NEAR(actual.g, expected.g, 1e-5f) << what;
    EXPECT_NEAR(actual.b, expected.b, 1e-5f) << what;
    EXPECT_NEAR(actual.a, expected.a, 1e-5f) << what;
}

std::unique_ptr<Ogre::Image> plainPicture(const Ogre::ColourValue& colour)
{
    auto image = std::make_unique<Ogre::Image>(Ogre::PF_FLOAT32_RGBA, 4, 4);
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 4; ++x)
            image->setColourAt(colour, x, y, 0);
    return image;
}

struct StopAtStart : sky::SkyListener
{
    int calls = 0;
    bool skyUpdateStarted(const Ogre::FrameEvent&, sky::SkySystem*) override { return ++calls, false; }
    bool skyUpdateFinished(const Ogre::FrameEvent&, sky::SkySystem*) override { return true; }
};
}

TEST_F(SkyScene, SunColoursAndDisc)
{
    sky::Sun sun(sceneManager);
    EXPECT_EQ(sun.setSunPositionModel(std::make_unique<sky::SimpleSunPositionModel>(Ogre::Degree(0))), nullptr);
    EXPECT_NE(sun.setSunPositionModel(std::make_unique<sky::SimpleSunPositionModel>(Ogre::Degree(0))), nullptr);

    sun.setSunColours(Ogre::ColourValue::White);
    expectColour(sun.getLight()->getDiffuseColour(), Ogre::ColourValue(3, 3, 2.7f, 3), "light");
    expectColour(Ogre::MaterialManager::getSingleton()
                     .getByName("SkySunMaterial", sky::getSkyResourceGroupName())
                     ->getTechnique(0)
                     ->getPass(0)
                     ->getSelfIllumination(),
                 Ogre::ColourValue(3.5f, 3.4f, 2.9f, 4), "disc");

    sun.update(0.5f);
    EXPECT_NEAR(sun.getSunDirection().y, -1.0f, 1e-5f);
    sun.followCamera(camera);
    const Ogre::Vector3 offset = sun.getNode()->getPosition() - camera->getRealPosition();
    EXPECT_NEAR(offset.length(), 2499.514f, 1e-2f);
    EXPECT_GT(offset.y, 0.0f) << "the disc stands where the light comes from";
    EXPECT_NEAR(sun.getNode()->getScale().x, 0.43625f, 1e-4f);
}

TEST_F(SkyScene, StarfieldTurnsAboutItsTiltedAxis)
{
    sky::Starfield stars(sceneManager);
    stars.setInclination(Ogre::Degree(13));
    stars.update(0.0f);
    EXPECT_TRUE(stars.getNode()->getOrientation().equals(
        Ogre::Quaternion(Ogre::Degree(103), Ogre::Vector3::UNIT_X), Ogre::Degree(0.01f)));
    stars.update(0.5f);
    const Ogre::Quaternion expected =
        Ogre::Quaternion(Ogre::Degree(103), Ogre::Vector3::UNIT_X) * Ogre::Quaternion(Ogre::Degree(180), Ogre::Vector3::UNIT_Y);
    EXPECT_TRUE(stars.getNode()->getOrientation().equals(expected, Ogre::Degree(0.01f)));
}

TEST_F(SkyScene, DomeFollowsTheCameraAtItsRadius)
{
    sky::SkyDome dome(sceneManager, sky::ShaderSupport{});
    dome.followCamera(camera);
    EXPECT_EQ(dome.getNode()->getPosition(), camera->getRealPosition());
    EXPECT_FLOAT_EQ(dome.getNode()->getScale().x, 4999.9f);
    dome.setFarDistance(5000.0f);
    camera->setFarClipDistance(800.0f);
    dome.followCamera(camera);
    EXPECT_FLOAT_EQ(dome.getNode()->getScale().x, 5000.0f) << "a fixed radius";
    dome.setFarDistance(0.0f);
    dome.followCamera(camera);
    EXPECT_FLOAT_EQ(dome.getNode()->getScale().x, 799.9f);
    camera->setFarClipDistance(0.0f);  // infinite
    dome.followCamera(camera);
    EXPECT_FLOAT_EQ(dome.getNode()->getScale().x, 1.1f);
    EXPECT_NE(dome.getGradientTextureUnit(), nullptr);
}

TEST_F(SkyScene, ElementsAreNamedAndDrawnStarsDomeThenSun)
{
    sky::Starfield stars(sceneManager);
    sky::SkyDome dome(sceneManager, sky::ShaderSupport{});
    sky::Sun sun(sceneManager);
    // The queues draw the stars first, the dome over them and the sun's disc last.
    struct Case
    {
        const char* entity;
        const char* mesh;
        const char* material;
        Ogre::uint8 queue;
        Ogre::SceneNode* node;
    } cases[] = {
        {"StarfieldDome", "SkyStarfieldDome", "SkyStarfieldMaterial", 6, stars.getNode()},
        {"Dome", "SkySphericDome", "SkyDomeMaterial", 7, dome.getNode()},
        {"SkySun", "sphere.mesh", "SkySunMaterial", 8, sun.getNode()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.entity);
        ASSERT_TRUE(sceneManager->hasEntity(c.entity));
        Ogre::Entity* entity = sceneManager->getEntity(c.entity);
        EXPECT_EQ(entity->getMesh()->getName(), c.mesh);
        EXPECT_EQ(entity->getSubEntity(0)->getMaterialName(), c.material);
        EXPECT_EQ(entity->getSubEntity(0)->getMaterial()->getGroup(), sky::getSkyResourceGroupName());
        EXPECT_EQ(entity->getRenderQueueGroup(), c.queue);
        EXPECT_FALSE(entity->getCastShadows());
        EXPECT_EQ(entity->getParentSceneNode(), c.node);
        EXPECT_EQ(c.node->getParentSceneNode(), sceneManager->getRootSceneNode());
    }
}

TEST_F(SkyScene, FrozenClockColoursFogAndSunEveryFrame)
{
    sky::SkySystem system(root, sceneManager, true, "Sky", true, true, true);
    system.getSun()->setSunPositionModel(std::make_unique<sky::SimpleSunPositionModel>(Ogre::Degree(13)));
    sky::StoredImageElvBasedSkyColourModel model;
    model.setImages(plainPicture(Ogre::ColourValue(0.5f, 0.6f, 0.7f, 1.0f)),
                    plainPicture(Ogre::ColourValue(0.2f, 0.4f, 0.6f, 0.5f)));
    model.setFogDensity(0.0015f);
    system.setSkyColourModel(&model);
    system.setManageFog(true);
    system.getDayClock()->setCurrentTime(36000.0);
    system.getDayClock()->setTimeScale(0.0f);

    Ogre::FrameEvent frame{};
    frame.timeSinceLastFrame = 0.016f;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(system.frameStarted(frame));
    EXPECT_EQ(sceneManager->getFogMode(), Ogre::FOG_EXP2);
    EXPECT_FLOAT_EQ(sceneManager->getFogDensity(), 0.00075f);
    expectColour(sceneManager->getFogColour(), Ogre::ColourValue(0.14f, 0.28f, 0.42f, 0.35f), "fog x 0.7");
    expectColour(system.getSun()->getSunColour(), Ogre::ColourValue(1.5f, 1.8f, 1.89f, 3.0f), "sun");
    EXPECT_LT(system.getSun()->getSunDirection().y, -0.7f) << "10:00 is daylight";

    StopAtStart stopper;
    system.addListener(&stopper);
    EXPECT_FALSE(system.frameStarted(frame));
    EXPECT_EQ(stopper.calls, 1);
    system.shutdown(true);
}

TEST_F(SkyScene, RacesLeaveNothingBehind)
{
    auto counts = [&] {
        auto materials = Ogre::MaterialManager::getSingleton().getResourceIterator();
        std::size_t materialCount = 0;
        for (; materials.hasMoreElements(); materials.moveNext())
            ++materialCount;
        return std::make_tuple(materialCount,
                               sceneManager->getRootSceneNode()->numChildren(),
                               sceneManager->getMovableObjects("Entity").size(), sceneManager->hasLight("SkySun"));
    };
    decltype(counts()) afterFirst;
    for (int race = 0; race < 10; ++race)
    {
        {
            sky::SkySystem system(root, sceneManager, false, "Sky", true, true, true);
            system.getDayClock()->setTimeScale(0.0f);
            system.shutdown(true);
        }
        if (race == 0)
            afterFirst = counts();
        EXPECT_EQ(counts(), afterFirst) << race;
    }
    EXPECT_FALSE(std::get<3>(afterFirst)) << "the sun's light is gone";
    EXPECT_EQ(std::get<1>(afterFirst), 1u) << "only the camera's node stays";
}
