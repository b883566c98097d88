// The player's car built from the shipped Roadster file: its inputs, the holding brakes,
// the brake lights, the pose, cameras, and a car that leaves nothing behind when it goes.
#include "support/CarScene.h"

#include "physic/CameraRig.h"
#include "physic/VehicleSR.h"
#include "platform/physics/body.h"
#include "sound/SoundBase.h"
#include "sound/SoundManager.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
struct CarTest : ::testing::Test
{
    CarScene scene;
    std::unique_ptr<CarDesc> desc = CarScene::roadster();
    std::unique_ptr<Car> car = scene.makeCar(*desc, Ogre::Vector3(100, 0, 100));

    void run(float seconds, const std::function<bool()>& each = {}) { scene.run(*car, seconds, each); }
    // Settles on the ground, then drives with the throttle until the speed is reached.
    bool accelerateTo(float kmh)
    {
        run(0.5f);
        car->setThrottle(1.0f);
        bool reached = false;
        run(20.0f, [&] { return !(reached = car->getSpeedKmh() >= kmh); });
        return reached;
    }
};
}

TEST_F(CarTest, StandsAtItsStartPoseAndTheSettersClampTheirInputs)
{
    const btVector3 at = car->getVehicle()->getBody()->getGlobalPosition();
    EXPECT_EQ(Ogre::Vector3(100, 0.8f, 100), Ogre::Vector3(at.x(), at.y(), at.z())) << "0.8 above the flat ground";
    EXPECT_EQ(4u, car->getWheels().size());
    EXPECT_EQ(4u, car->getEngineSounds().size());

    car->setThrottle(1.4f);
    car->setBrake(-0.2f);
    EXPECT_FLOAT_EQ(1.0f, car->getThrottle());
    EXPECT_FLOAT_EQ(0.0f, car->getBrake());
    car->setSteerLeft(1.4f);
    car->setSteerRight(0.3f);
    EXPECT_FLOAT_EQ(1.0f, car->getSteerLeft());
    EXPECT_FLOAT_EQ(0.0f, car->getSteerRight());
}

TEST_F(CarTest, ThrottleDrivesForwardAndSteeringTurnsLeftOrRight)
{
    ASSERT_TRUE(accelerateTo(40.0f)) << "full throttle reaches 40 km/h";
    EXPECT_GT(car->getNode()->getPosition().x, 105.0f) << "forward is +x";
    EXPECT_GE(car->getGear(), 1);
    EXPECT_GT(car->getRpm(), 900.0f);

    struct Case
    {
        const char* what;
        std::function<void(Car&)> steer;
        float headingSign;  // + turns left (counter-clockwise from above)
    };
    const Case cases[] = {
        {"keys left", [](Car& c) { c.setDigitalLeft(true); }, 1.0f},
        {"keys right", [](Car& c) { c.setDigitalRight(true); }, -1.0f},
        {"analogue left", [](Car& c) { c.setSteerLeft(0.6f); }, 1.0f},
        {"analogue right", [](Car& c) { c.setSteerRight(-0.6f); }, -1.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        car->resetPose();
        ASSERT_TRUE(accelerateTo(30.0f));
        const float before = car->getHeadingAngle();
        c.steer(*car);
        car->setThrottle(0.4f);
        run(1.0f);
        EXPECT_GT(c.headingSign * (car->getHeadingAngle() - before), 10.0f)
            << "heading from " << before << " to " << car->getHeadingAngle();
        car->setDigitalLeft(false);
        car->setDigitalRight(false);
    }
}

TEST_F(CarTest, TheIdleBrakeHoldsTheCarOnlyBelowIdleSpeed)
{
    ASSERT_TRUE(accelerateTo(60.0f));
    car->setThrottle(0.0f);
    bool heldAbove = false;
    float lightsOnAt = -1.0f;
    run(20.0f, [&] {
        if (car->areBrakeLightsOn() && lightsOnAt < 0.0f)
            lightsOnAt = car->getWheelSpeed();
        heldAbove = heldAbove || (car->getWheelSpeed() >= Car::kIdleBrakeKmh && car->areBrakeLightsOn());
        return car->getSpeedKmh() > 0.2f;
    });
    EXPECT_FALSE(heldAbove) << "coasting above 35 km/h is not braked";
    EXPECT_GT(lightsOnAt, 25.0f) << "the idle brake takes over just below 35 km/h";
    EXPECT_LT(car->getSpeedKmh(), 0.2f) << "and stops the car";

    // Stopped: held with brake 5, lights on, even with the throttle pressed.
    car->setStopped(true);
    car->setThrottle(1.0f);
    const Ogre::Vector3 before = car->getNode()->getPosition();
    run(2.0f);
    EXPECT_LT(car->getNode()->getPosition().distance(before), 0.05f);
    EXPECT_TRUE(car->areBrakeLightsOn());
    EXPECT_EQ(0, car->getGear()) << "neutral";
    car->setStopped(false);
    run(2.0f);
    EXPECT_GT(car->getSpeedKmh(), 10.0f) << "released, it drives";
}

TEST_F(CarTest, TheBrakeLightMaterialLightsWithTheBrake)
{
    const Ogre::MaterialPtr& lights = car->getBrakeLightMaterial();
    ASSERT_TRUE(lights) << "the Roadster's brake lights have their clone";
    EXPECT_EQ("PlayerShadowMaterialRoadster/BrakeLight", lights->getName());
    auto illumination = [&] { return lights->getTechnique(0)->getPass(0)->getSelfIllumination(); };

    ASSERT_TRUE(accelerateTo(50.0f));
    scene.frame(*car);
    EXPECT_EQ(Ogre::ColourValue::Black, illumination()) << "driving";
    car->setThrottle(0.0f);
    car->setBrake(1.0f);
    scene.step(*car);
    scene.step(*car);
    scene.frame(*car);
    EXPECT_EQ(Ogre::ColourValue::White, illumination()) << "braking";
    car->setBrake(0.0f);
    car->setThrottle(1.0f);
    scene.step(*car);
    scene.frame(*car);
    EXPECT_EQ(Ogre::ColourValue::Black, illumination()) << "off again";
}

TEST_F(CarTest, ResetPutsTheCarBackAtRest)
{
    ASSERT_TRUE(accelerateTo(40.0f));
    car->setDigitalLeft(true);
    car->setHandbrake(true);
    car->resetPose();
    EXPECT_FLOAT_EQ(0.0f, car->getThrottle()) << "inputs are cleared";
    scene.step(*car);
    EXPECT_LT(car->getNode()->getPosition().distance(Ogre::Vector3(100, 0.8f, 100)), 0.05f);
    run(1.0f);
    EXPECT_LT(car->getSpeedKmh(), 1.0f) << "at rest";
    EXPECT_LT(std::fabs(car->getHeadingAngle()), 1.0f) << "facing its start orientation";
    EXPECT_FALSE(car->isUpsideDown());
}

TEST(CarLifetime, AHundredCarsLeaveNothingBehind)
{
    CarScene scene;
    const auto desc = CarScene::roadster();
    SoundManager& sounds = *SoundManager::getInstance();
    Ogre::SceneManager& manager = *scene.sceneManager();
    CameraRig rig("Default_Cam", &manager, 0.4f, 0.3f);
    auto count = [&] {
        size_t nodes = 0;
        std::function<void(Ogre::Node*)> walk = [&](Ogre::Node* node) {
            ++nodes;
            for (Ogre::Node* child : node->getChildren())
                walk(child);
        };
        walk(manager.getRootSceneNode());
        size_t materials = 0;
        for (auto it = Ogre::MaterialManager::getSingleton().getResourceIterator(); it.hasMoreElements(); it.moveNext())
            ++materials;
        return std::vector<size_t>{sounds.nodeSoundCount(), sounds.getSoundBase()->soundCount(), nodes,
                                   manager.getMovableObjects("Entity").size(),
                                   manager.getMovableObjects("ParticleSystem").size(), materials,
                                   scene.physicsScene().getActiveBodies().size()};
    };
    const std::vector<size_t> before = count();
    for (int i = 0; i < 100; ++i)
    {
        auto car = scene.makeCar(*desc, Ogre::Vector3(50, 0, 50));
        car->setCameraRig(&rig);
        car->setThrottle(1.0f);
        scene.run(*car, 0.05f);
        if (i == 0)
        {
            EXPECT_GT(count()[0], before[0]) << "the car has sounds to release";
        }
    }
    EXPECT_EQ(before, count()) << "node sounds, sounds, scene nodes, entities, particle systems, materials, bodies";
}
