// The facade's rules: the listener follows the camera in units per second, node sounds
// follow their nodes, and a missing file or device never breaks the game.
#include "FakeSound.h"

#include "sound/NodeSound.h"
#include "sound/SoundManager.h"
#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
struct FacadeFixture : ::testing::Test
{
    FacadeFixture()
    {
        auto fake = std::make_unique<FakeSoundBase>();
        base = fake.get();
        facade = std::make_unique<SoundManager>(std::move(fake), [this] { return now; });
        scene = HeadlessOgre::createSceneManager();
        cameraNode = scene->getRootSceneNode()->createChildSceneNode("CameraNode");
        camera = scene->createCamera("Camera");
        cameraNode->attachObject(camera);
    }
    ~FacadeFixture() override
    {
        facade.reset();
        HeadlessOgre::root().destroySceneManager(scene);
    }
    Ogre::Vector3 listenerVelocity() const
    {
        const float* v = base->getListenerVelocity();
        return {v[0], v[1], v[2]};
    }

    double now = 100.0;
    FakeSoundBase* base = nullptr;
    std::unique_ptr<SoundManager> facade;
    Ogre::SceneManager* scene = nullptr;
    Ogre::SceneNode* cameraNode = nullptr;
    Ogre::Camera* camera = nullptr;
};
}

TEST_F(FacadeFixture, ListenerVelocityIsInUnitsPerSecondWithoutAStartSpike)
{
    cameraNode->setPosition(500, 0, 0);
    facade->update();  // no camera yet: the listener stays
    facade->setCamera(camera);
    now += 0.5;
    facade->update();
    EXPECT_EQ(listenerVelocity(), Ogre::Vector3::ZERO) << "the first update after a camera is set";

    now += 0.5;
    facade->update();
    EXPECT_EQ(listenerVelocity(), Ogre::Vector3::ZERO) << "a camera that did not move";

    cameraNode->translate(10, 0, 0);
    now += 0.5;
    facade->update();
    EXPECT_TRUE(listenerVelocity().positionEquals(Ogre::Vector3(20, 0, 0), 1e-3f)) << listenerVelocity();

    // The loop updates twice per pass: an update with no time passed keeps the velocity.
    facade->update();
    EXPECT_TRUE(listenerVelocity().positionEquals(Ogre::Vector3(20, 0, 0), 1e-3f));

    // A camera handed over far away is no jump.
    facade->setCamera(nullptr);
    cameraNode->setPosition(-3000, 0, 0);
    facade->setCamera(camera);
    now += 0.01;
    facade->update();
    EXPECT_EQ(listenerVelocity(), Ogre::Vector3::ZERO);
}

TEST_F(FacadeFixture, NodeSoundsFollowTheirNodes)
{
    Ogre::SceneNode* car = scene->getRootSceneNode()->createChildSceneNode("CarNode");
    car->setPosition(1, 2, 3);
    NodeSound* engine = facade->create3DNodeSound(scene, "engine.ogg", true, "SoundEffects");
    engine->setNodeName("CarNode");
    NodeSound* unnamed = facade->create3DNodeSound(scene, "skid.ogg", true, "SoundEffects");
    unnamed->getSound()->setPosition(7, 7, 7);
    NodeSound* lost = facade->create3DNodeSound(scene, "touch.ogg", false, "SoundEffects");
    lost->setNodeName("NoSuchNode");
    facade->update();
    EXPECT_FLOAT_EQ(engine->getSound()->getPosition()[2], 3.0f);
    EXPECT_FLOAT_EQ(unnamed->getSound()->getPosition()[0], 7.0f) << "an empty node name keeps the position";
    EXPECT_FLOAT_EQ(lost->getSound()->getPosition()[0], 0.0f);

    // A destroyed node sound is no longer moved; the others still are.
    SoundFilePtr engineSound = engine->getSound();
    facade->destroyNodeSound(engine);
    car->setPosition(9, 9, 9);
    lost->setNodeName("CarNode");
    facade->update();
    EXPECT_FLOAT_EQ(engineSound->getPosition()[0], 1.0f);
    EXPECT_FLOAT_EQ(lost->getSound()->getPosition()[0], 9.0f);
    EXPECT_EQ(facade->nodeSoundCount(), 2u);
}

TEST_F(FacadeFixture, AMissingFileGivesAnEmptyNodeSoundThatDoesNothing)
{
    base->missing.insert("../media/sounds/none.ogg");
    NodeSound* missing = facade->create2DNodeSound(nullptr, "../media/sounds/none.ogg", false, "SoundEffects");
    ASSERT_NE(missing, nullptr);
    EXPECT_FALSE(missing->getSound());
    missing->play();
    missing->setVelocity(1, 2, 3);
    missing->setNodeName("Anything");
    EXPECT_FALSE(missing->isPlaying());
    facade->update();
    facade->destroyNodeSound(missing);
    EXPECT_EQ(facade->nodeSoundCount(), 0u);
}

TEST_F(FacadeFixture, DestroyingANodeSoundStopsAndRemovesItsSound)
{
    NodeSound* beep = facade->create2DNodeSound(nullptr, "beep.ogg", false, "SoundEffects");
    beep->play();
    EXPECT_TRUE(beep->isPlaying());
    facade->destroyNodeSound(beep);
    EXPECT_FALSE(base->last().playing);
    EXPECT_EQ(base->soundCount(), 0u);
    EXPECT_EQ(facade->nodeSoundCount(), 0u);
    facade->destroyNodeSound(nullptr);

    // A second destroy of the same pointer, or one the facade never made, touches nothing.
    NodeSound* other = facade->create2DNodeSound(nullptr, "beep.ogg", false, "SoundEffects");
    other->play();
    facade->destroyNodeSound(beep);
    NodeSound stranger(nullptr, nullptr);
    facade->destroyNodeSound(&stranger);
    EXPECT_TRUE(other->isPlaying());
    EXPECT_EQ(facade->nodeSoundCount(), 1u);

    // An engine restart destroys whatever is left, stopped and removed from the sound system.
    facade->create3DNodeSound(scene, "engine.ogg", true, "SoundEffects")->play();
    facade->clearNodeSounds();
    EXPECT_EQ(facade->nodeSoundCount(), 0u);
    EXPECT_EQ(base->soundCount(), 0u);
    EXPECT_FALSE(base->last().playing);
}

TEST_F(FacadeFixture, MuteAndVolumeReachTheSoundSystem)
{
    facade->setVolume(0.4f);
    facade->setMute(true);
    EXPECT_TRUE(facade->isMuted());
    EXPECT_FLOAT_EQ(facade->getVolume(), 0.4f);
    facade->getGroup("Music")->setVolume(0.8f);
    EXPECT_FLOAT_EQ(base->getGroup("Music")->getVolume(), 0.8f);
}

// The shared facade opens the default device: without one it must be silent and harmless.
TEST(StaticFacade, WithoutADeviceEveryCallDoesNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The facade is made at its first use, in the child process, with this driver list: no device.
    setenv("ALSOFT_DRIVERS", "nosuchdriver", 1);
    EXPECT_EXIT(
        {
            SoundManager* facade = SoundManager::getInstance();
            NodeSound* music = facade->create2DNodeSound(nullptr, "../media/sounds/menu_theme.ogg", true, "Music");
            music->play();
            facade->setMute(true);
            facade->setVolume(0.5f);
            facade->getGroup("Music")->setVolume(0.2f);
            facade->getSoundBase()->playOnce(music->getSound());
            facade->update();
            const bool silent = music && !music->getSound() && !music->isPlaying();
            facade->destroyNodeSound(music);
            std::exit(silent ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    unsetenv("ALSOFT_DRIVERS");
}
