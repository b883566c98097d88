// What the car shows and sounds like: smoke, tyre tracks and the skid sound of a slide on
// the road, none on the terrain, the terrain sound, crash sounds chosen by the force of a
// crash into a wall, the shade under cover, and the car and its chase camera on a slope.
#include "support/CarScene.h"

#include "physic/CameraRig.h"
#include "physic/CarContactSounds.h"
#include "physic/VehicleSR.h"
#include "platform/physics/NxShapeDesc.h"
#include "platform/physics/scene.h"
#include "sound/NodeSound.h"
#include "sound/SoundBase.h"
#include "sound/SoundFile.h"
#include "sound/SoundManager.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <cmath>

namespace
{
size_t trackStrips(Ogre::SceneManager* manager)
{
    size_t strips = 0;
    for (Ogre::Node* node : manager->getRootSceneNode()->getChildren())
        strips += node->getName().rfind("trackLines", 0) == 0 ? 1 : 0;
    return strips;
}

size_t liveParticles(const Car& car)
{
    size_t particles = 0;
    for (const Ogre::ParticleSystem* system : car.getSmokeSystems())
        particles += system ? system->getNumParticles() : 0;
    return particles;
}

struct Effects
{
    bool smoke = false;
    bool skidSound = false;
    bool terrainSound = false;
};

// A static box of half extents size at centre, of the scene's default material.
void addBox(nxOgre::scene& scene, const btVector3& centre, const btVector3& size)
{
    nxOgre::NxBoxShapeDesc box;
    box.dimensions = size;
    nxOgre::NxActorDesc actor;
    actor.shapes.push_back(&box);
    actor.globalPose.setOrigin(centre);
    ASSERT_NE(nullptr, scene.createActor(actor));
}

struct CarEffectsTest : ::testing::Test
{
    CarScene scene;
    std::unique_ptr<CarDesc> desc = CarScene::roadster();
    std::unique_ptr<Car> car;

    void makeCar(const Ogre::Vector3& at) { car = scene.makeCar(*desc, at); }
    // Full throttle until the speed is reached.
    bool accelerateTo(float kmh)
    {
        scene.run(*car, 0.5f);
        car->setThrottle(1.0f);
        bool reached = false;
        scene.run(*car, 20.0f, [&] { return !(reached = car->getSpeedKmh() >= kmh); });
        return reached;
    }
    // Pulls the handbrake and steers for seconds, noting what the car shows.
    Effects slide(float seconds)
    {
        car->setThrottle(0.0f);
        car->setHandbrake(true);
        car->setDigitalLeft(true);
        Effects seen;
        scene.run(*car, seconds, [&] {
            for (size_t i = 0; i < car->getWheels().size(); ++i)
                seen.smoke = seen.smoke || car->isSmoking(i);
            seen.skidSound = seen.skidSound || (car->getSkidSound() && car->getSkidSound()->isPlaying());
            seen.terrainSound = seen.terrainSound || (car->getTerrainSound() && car->getTerrainSound()->isPlaying());
            return true;
        });
        return seen;
    }
    // Lets go of the throttle above the idle-brake speed and coasts to a stop, noting what
    // the car shows, the largest slip along any wheel while it still rolls, and how long it
    // takes from just below the idle-brake speed to walking pace.
    struct LiftOff
    {
        Effects seen;
        float largestSlip = 0.0f;  // units/s
        float slowingSeconds = -1.0f;
        bool stopped = false;
    };
    LiftOff liftOff()
    {
        LiftOff result;
        car->setThrottle(0.0f);
        float idleFrom = -1.0f, elapsed = 0.0f;
        scene.run(*car, 20.0f, [&] {
            elapsed += CarScene::kStep;
            const float kmh = car->getSpeedKmh();
            for (size_t i = 0; i < car->getWheels().size(); ++i)
            {
                result.seen.smoke = result.seen.smoke || car->isSmoking(i);
                const auto* contact = car->getWheels()[i]->getContactData();
                if (contact && idleFrom >= 0.0f && kmh > 5.0f)
                    result.largestSlip = std::max(result.largestSlip, std::fabs(contact->longitudalSlip));
            }
            result.seen.skidSound = result.seen.skidSound || (car->getSkidSound() && car->getSkidSound()->isPlaying());
            if (idleFrom < 0.0f && kmh < Car::kIdleBrakeKmh - 1.0f)
                idleFrom = elapsed;
            if (idleFrom >= 0.0f && result.slowingSeconds < 0.0f && kmh < 5.0f)
                result.slowingSeconds = elapsed - idleFrom;
            return !(result.stopped = kmh < 0.2f);
        });
        return result;
    }
    void expectGentleLiftOff(const char* surface)
    {
        ASSERT_TRUE(accelerateTo(45.0f));
        const LiftOff coast = liftOff();
        std::printf("%s: largest slip %.2f units/s, %.1f s from %.0f to 5 km/h\n", surface, coast.largestSlip,
                    coast.slowingSeconds, Car::kIdleBrakeKmh - 1.0f);
        EXPECT_LT(coast.largestSlip, 1.0f) << "a locked wheel slides at the car's speed";
        EXPECT_FALSE(coast.seen.smoke);
        EXPECT_FALSE(coast.seen.skidSound);
        EXPECT_TRUE(coast.stopped);
        EXPECT_GT(coast.slowingSeconds, 0.0f);
        EXPECT_LT(coast.slowingSeconds, 8.0f) << "the idle brake slows the car, not the air alone";
        // Stopped, the full brake holds it.
        const Ogre::Vector3 held = car->getNode()->getPosition();
        scene.run(*car, 2.0f);
        EXPECT_LT(car->getNode()->getPosition().distance(held), 0.01f);
    }
};
}

TEST_F(CarEffectsTest, ALiftOffSlowsTheCarToAStopWithoutLockingItsWheels)
{
    makeCar(Ogre::Vector3(500, 0, 500));
    expectGentleLiftOff("on the road");
}

TEST_F(CarEffectsTest, ALiftOffOnTheTerrainLocksNoWheelEither)
{
    // A flat terrain 5 units up: every wheel contact is the terrain's material.
    scene.loadTerrain(65, 1000.0f, 10.0f, [](unsigned, unsigned) { return 0.5f; });
    makeCar(Ogre::Vector3(500, 0, 500));
    expectGentleLiftOff("on the terrain");
}

TEST_F(CarEffectsTest, ASlideOnTheRoadSmokesLeavesTracksAndSkids)
{
    makeCar(Ogre::Vector3(100, 0, 100));
    ASSERT_TRUE(accelerateTo(70.0f));
    EXPECT_EQ(0u, trackStrips(scene.sceneManager())) << "no tracks while driving straight";
    EXPECT_EQ(0u, liveParticles(*car));
    const Effects seen = slide(0.6f);
    EXPECT_TRUE(seen.smoke);
    EXPECT_TRUE(seen.skidSound);
    EXPECT_FALSE(seen.terrainSound) << "the floor is road";
    EXPECT_GT(liveParticles(*car), 10u) << "the smoke advances with the car's steps";
    EXPECT_GT(trackStrips(scene.sceneManager()), 0u);

    // Slow: the handbrake makes neither smoke nor tracks.
    car->resetPose();
    scene.run(*car, 2.0f);
    car->setThrottle(1.0f);
    scene.run(*car, 3.0f, [&] { return car->getWheelSpeed() < 8.0f; });
    const size_t strips = trackStrips(scene.sceneManager());
    const Effects slow = slide(0.3f);
    EXPECT_LE(car->getWheelSpeed(), Car::kSmokeMinKmh);
    EXPECT_FALSE(slow.smoke);
    EXPECT_FALSE(slow.skidSound);
    EXPECT_EQ(strips, trackStrips(scene.sceneManager()));
}

TEST_F(CarEffectsTest, OnTheTerrainTheTyresMakeNoMarksButRoll)
{
    // A flat terrain 5 units up: every wheel contact is the terrain's material.
    scene.loadTerrain(65, 1000.0f, 10.0f, [](unsigned, unsigned) { return 0.5f; });
    makeCar(Ogre::Vector3(500, 0, 500));
    EXPECT_NEAR(5.8f, car->getVehicle()->getBody()->getGlobalPosition().y(), 1e-3f)
        << "set 0.8 above the highest ground around its position";
    ASSERT_TRUE(accelerateTo(60.0f));
    bool rolling = false;
    scene.run(*car, 0.2f, [&] { return !(rolling = car->getTerrainSound()->isPlaying()); });
    EXPECT_TRUE(rolling) << "the terrain sound above 40 km/h";
    const Effects seen = slide(0.6f);
    EXPECT_FALSE(seen.smoke);
    EXPECT_FALSE(seen.skidSound);
    EXPECT_EQ(0u, trackStrips(scene.sceneManager()));
}

TEST_F(CarEffectsTest, ACrashIsHeardWithTheSoundOfItsForce)
{
    SoundBase& sounds = *SoundManager::getInstance()->getSoundBase();
    // A wall across the road 40 units ahead.
    addBox(scene.physicsScene(), btVector3(150, 2, 100), btVector3(1, 2, 20));
    makeCar(Ogre::Vector3(100, 0, 100));
    ASSERT_EQ(2u, car->getCarCrashSounds().size());
    const SoundFilePtr light = car->getCarCrashSounds()[0]->getSound();
    const SoundFilePtr hard = car->getCarCrashSounds()[1]->getSound();
    ASSERT_TRUE(light && hard) << "the crash sounds load from the build's media";
    scene.run(*car, 1.0f);  // landed and settled: the floor touches only the wheels
    const size_t before = sounds.oneShotCount();
    car->setThrottle(1.0f);
    bool crashed = false;
    scene.run(*car, 8.0f, [&] { return !(crashed = car->getContactSounds()->hasCarContact()); });
    ASSERT_TRUE(crashed) << "the car hit the wall at " << car->getSpeedKmh() << " km/h";
    EXPECT_EQ(before + 2, sounds.oneShotCount()) << "each crash sound starts once, the chosen one unmuted";
    EXPECT_FALSE(hard->isMuted()) << "a crash at full speed is the hard one";
    EXPECT_TRUE(light->isMuted());
}

TEST_F(CarEffectsTest, UnderCoverTheCarFadesToShade)
{
    makeCar(Ogre::Vector3(100, 0, 100));
    scene.run(*car, 0.5f);
    EXPECT_FLOAT_EQ(1.0f, car->getShade());
    // A roof over the back probe and the centre only: still in the open.
    addBox(scene.physicsScene(), btVector3(99.5f, 6, 100), btVector3(1.0f, 0.2f, 3));
    scene.run(*car, 0.5f);
    EXPECT_FLOAT_EQ(1.0f, car->getShade());
    // A bridge over the whole car: dark within about 0.2 s at rest.
    addBox(scene.physicsScene(), btVector3(100, 8, 100), btVector3(4, 0.2f, 3));
    scene.run(*car, 0.1f);
    EXPECT_GT(car->getShade(), 0.0f);
    EXPECT_LT(car->getShade(), 1.0f);
    scene.run(*car, 0.15f);
    EXPECT_FLOAT_EQ(0.0f, car->getShade());
}

TEST_F(CarEffectsTest, TheChaseCameraStaysAboveASlope)
{
    // Ground rising along +x by 0.05 per unit: the chase camera looks from downhill. Steeper,
    // the race's slippery terrain (friction 0.2) leaves the Roadster spinning its wheels.
    constexpr float kWorld = 1000.0f, kRise = 50.0f;
    scene.loadTerrain(65, kWorld, kRise, [](unsigned, unsigned column) { return column / 64.0f; });
    makeCar(Ogre::Vector3(500, 0, 500));
    CameraRig rig("Default_Cam", scene.sceneManager(), 0.4f, 0.3f);
    car->setCameraRig(&rig);
    TerrainObject& terrain = *scene.terrain();
    float lowestClearance = 1e9f, distanceBehind = 0.0f;
    scene.run(*car, 0.5f);  // settles on the slope
    car->setThrottle(1.0f);
    scene.run(*car, 4.0f, [&] {
        rig.update(CarScene::kStep, car->getAcceleration(), car->getHeading(true));
        rig.setAlpha(1.0f);
        const Ogre::Vector3 at = rig.getPosition();
        rig.follow(terrain.getHeight(at.x, at.z));
        const Ogre::Vector3 camera = rig.getPosition();
        lowestClearance = std::min(lowestClearance, camera.y - terrain.getHeight(camera.x, camera.z));
        distanceBehind = car->getNode()->getPosition().x - camera.x;
        return true;
    });
    EXPECT_GT(car->getNode()->getPosition().x, 505.0f) << "the car climbed";
    EXPECT_GE(lowestClearance, 1.0f) << "never into the hill behind the car";
    EXPECT_GT(distanceBehind, 4.0f) << "behind the car";
    car->clearCameraRig();  // the rig goes first
}
