// Crash sounds: picked by the strongest contact force, started once per chassis contact.
#include "TestCar.h"
#include "physic/CarContactSounds.h"
#include "platform/physics/convexShape.h"
#include "platform/physics/world.h"
#include "sound/FakeSound.h"

#include <gtest/gtest.h>

using namespace nxOgre;

namespace
{
convexShape boxHull(float half)
{
    std::vector<NxVec3> corners;
    for (float x : {-half, half})
        for (float y : {-half, half})
            for (float z : {-half, half})
                corners.emplace_back(x, y, z);
    return convexShape(corners, 0);
}

struct CarContactSoundsTest : ::testing::Test
{
    world physics{0, 1, ""};
    scene* sc = testcar::makeGameScene(physics);
    convexShape hull = boxHull(0.5f);
    body* car = sc->createBody("car", hull, 1000.0f, pose(btVector3(0, 3, 0)));
    body* other = sc->createBody("crate", hull, 10.0f, pose(btVector3(20, 3, 0)));
    FakeSoundBase sounds;
    CarContactSounds reporter{car, &sounds};
    SoundFilePtr soft = sounds.create3DSound("crash_light.ogg", false, "SoundEffects");
    SoundFilePtr hard = sounds.create3DSound("crash.ogg", false, "SoundEffects");
    size_t oneShots() const { return sounds.made.size() - 2; }

    void SetUp() override
    {
        reporter.addCarCrashSound(soft, 0, 5000);
        reporter.addCarCrashSound(hard, 5000, 100000);
    }

    // A pair with one chassis contact point and the given push between the bodies.
    NxContactPair pair(float force) const
    {
        NxContactPair contact;
        contact.sumNormalForce = btVector3(0, force, 0);
        contact.points.emplace_back();
        return contact;
    }

    bool report(const NxContactPair& contact, body* a, body* b)
    {
        reporter.currentPair = &contact;
        return reporter.onContact(a, b);
    }
};
}

TEST_F(CarContactSoundsTest, TheForcePicksTheSound)
{
    const NxContactPair contact = pair(8000);
    EXPECT_TRUE(report(contact, nullptr, car)) << "the car as the second actor";
    reporter.update();
    ASSERT_EQ(2u, oneShots()) << "every car-crash sound is started, the selected one unmuted";
    EXPECT_TRUE(sounds.made[2]->isMuted()) << "0..5000 is not heard at 8000";
    EXPECT_FALSE(sounds.made[3]->isMuted()) << "5000..100000 is heard at 8000";
    EXPECT_TRUE(reporter.hasCarContact());
}

TEST_F(CarContactSoundsTest, AContactIsHeardOnceUntilItEnds)
{
    const NxContactPair contact = pair(1000);
    for (int step = 0; step < 5; ++step)
    {
        report(contact, car, nullptr);
        reporter.update();
    }
    EXPECT_EQ(2u, oneShots()) << "a lasting contact plays once";
    reporter.update();  // a step without contact
    EXPECT_FALSE(reporter.hasCarContact());
    report(contact, car, nullptr);
    reporter.update();
    EXPECT_EQ(4u, oneShots()) << "a new contact plays again";
}

TEST_F(CarContactSoundsTest, PairsWithoutTheCarAreRefused)
{
    const NxContactPair contact = pair(50000);
    EXPECT_FALSE(report(contact, other, nullptr));
    reporter.update();
    EXPECT_EQ(0u, oneShots());
    EXPECT_FALSE(reporter.hasCarContact());
}

TEST_F(CarContactSoundsTest, LandingOnTheFloorIsOneCrash)
{
    car->getNxActor()->setGroup(sc->findGroupIndex("car"));
    sc->setGroupContactReport(sc->findGroupIndex("car"), true);
    sc->addContactReporter(&reporter);
    for (int step = 0; step < 300; ++step)
    {
        physics.frameStarted(FrameEvent{testcar::kStep, testcar::kStep});
        reporter.update();
    }
    EXPECT_EQ(2u, oneShots()) << "falling 2.5 units and then resting is one crash";
    EXPECT_TRUE(reporter.hasCarContact()) << "resting on the floor is an ongoing contact";
    sc->removeContactReporter(&reporter);
}
