// The car cameras and the chase-camera rig: the camera set-up, the delayed heading, the
// follow distance, the terrain clearance, fixed cameras, and switching between a car's
// cameras, also for cars and rigs that lack one.
#include "support/CarScene.h"
#include "support/HeadlessOgre.h"

#include "physic/CameraRig.h"
#include "physic/CarCam.h"
#include "physic/CarCamDesc.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
CarCamDesc cameraDesc(const std::string& name, const Ogre::Vector3& position, const Ogre::Vector3& lookAt,
                      bool smooth, float yaw = 0.0f)
{
    CarCamDesc desc;
    desc.name = name;
    desc.position = position;
    desc.lookAt = lookAt;
    desc.smooth = smooth;
    desc.yawDegrees = yaw;
    return desc;
}

Ogre::Vector3 world(const Ogre::SceneNode* node)
{
    const_cast<Ogre::SceneNode*>(node)->_update(true, true);
    return node->_getDerivedPosition();
}

// Goes after the cameras and the rig that live in it.
struct OwnSceneManager
{
    Ogre::SceneManager* manager = HeadlessOgre::createSceneManager();
    ~OwnSceneManager() { HeadlessOgre::root().destroySceneManager(manager); }
};

// A car node on its own with a chase camera 6 units behind its look-at point.
struct CameraRigTest : OwnSceneManager, ::testing::Test
{
    Ogre::SceneNode* carNode = manager->getRootSceneNode()->createChildSceneNode("Car", Ogre::Vector3(10, 2, 10));
    CarCam chase{"Car", carNode, cameraDesc("chase", Ogre::Vector3(-6, 1.3f, 0), Ogre::Vector3(0, 1.3f, 0), true)};
    CameraRig rig{"Default_Cam", manager, 0.4f, 0.3f};

    void switchToChase()
    {
        rig.camSwitch(chase.getPositionNode(), chase.getLookAtNode());
        rig.setSmooth(chase.getFlag());
    }
    // The chase direction of the newest offset, degrees counter-clockwise from +x seen from above.
    float chaseDegrees() const
    {
        const Ogre::Vector3 behind = -rig.getLastOffset();
        return Ogre::Radian(std::atan2(-behind.z, behind.x)).valueDegrees();
    }
};
}

TEST_F(CameraRigTest, TheCameraIsSetUpForTheRaceAndGivenToTheListener)
{
    Ogre::Camera* camera = rig.getCamera();
    EXPECT_EQ("Default_Cam", camera->getName());
    EXPECT_FLOAT_EQ(0.1f, camera->getNearClipDistance());
    EXPECT_FLOAT_EQ(60.0f, camera->getFOVy().valueDegrees());
    EXPECT_FLOAT_EQ(1000.0f, camera->getFarClipDistance()) << "no render system: no infinite far plane";
}

TEST_F(CameraRigTest, ARigWithoutCarCameraDoesNothingAndFailsNowhere)
{
    rig.setSmooth(false);
    EXPECT_TRUE(rig.isSmooth()) << "without a position node the flag stays";
    rig.update(0.01f, 0.0f, Ogre::Vector2(1, 0));
    rig.follow(5.0f);  // a history but no nodes: nothing to move
    EXPECT_EQ(Ogre::Vector3::ZERO, rig.getPosition());
    EXPECT_FALSE(rig.getCamera()->isAttached());
}

TEST_F(CameraRigTest, TheChaseFollowsATurnOfTheHeadingAfterADelay)
{
    switchToChase();
    EXPECT_FLOAT_EQ(6.0f, rig.getFollowDistance());
    float followedAt = -1.0f, completedAt = -1.0f;
    for (int step = 0; step < 100; ++step)
    {
        const float t = step * 0.01f;
        // The car faces +x for half a second, then turns to -z (90 degrees left) at once.
        rig.update(0.01f, 0.0f, t < 0.5f ? Ogre::Vector2(1, 0) : Ogre::Vector2(0, -1));
        if (t >= 0.5f && followedAt < 0.0f && chaseDegrees() > 1.0f)
            followedAt = t - 0.5f;
        if (t >= 0.5f && completedAt < 0.0f && chaseDegrees() > 89.9f)
            completedAt = t - 0.5f;
    }
    EXPECT_NEAR(0.1f, followedAt, 0.015f) << "the newest 0.1 s count only by their oldest heading";
    EXPECT_NEAR(0.4f, completedAt, 0.015f) << "the old heading has aged out of the window";
    EXPECT_NEAR(6.0f, rig.getLastOffset().length(), 1e-4f);
}

TEST_F(CameraRigTest, TheLagScalesTheDistanceBehind)
{
    switchToChase();
    rig.setLag(0.75f);
    rig.update(0.01f, 0.0f, Ogre::Vector2(0, 1));
    EXPECT_NEAR(4.5f, rig.getFollowDistance(), 1e-5f);
    EXPECT_TRUE(rig.getLastOffset().positionEquals(Ogre::Vector3(0, 0, -4.5f), 1e-5f));
}

TEST_F(CameraRigTest, FollowInterpolatesTheLastTwoOffsetsAndKeepsTwo)
{
    switchToChase();
    rig.update(0.01f, 0.0f, Ogre::Vector2(1, 0));
    rig.update(0.01f, 0.0f, Ogre::Vector2(1, 0));
    rig.update(0.01f, 0.0f, Ogre::Vector2(1, 0));
    ASSERT_EQ(3u, rig.getHistorySize());
    rig.setAlpha(0.5f);
    rig.follow(-100.0f);
    EXPECT_EQ(2u, rig.getHistorySize());
    const Ogre::Vector3 lookAt = world(chase.getLookAtNode());
    EXPECT_TRUE(lookAt.positionEquals(Ogre::Vector3(10, 3.3f, 10), 1e-4f)) << "1.3 above the car's origin";
    const Ogre::Vector3 camera = world(rig.getSmoothNode());
    EXPECT_TRUE(camera.positionEquals(lookAt + Ogre::Vector3(-6, 0.5f, 0), 1e-4f)) << camera;
    EXPECT_TRUE(rig.getCamera()->getParentSceneNode() == rig.getSmoothNode()) << "the chase hangs at the smooth node";
}

TEST_F(CameraRigTest, TheChaseStaysClearOfTheGround)
{
    // A car low enough that the rig node sits at world height 2.
    carNode->setPosition(10, 0.7f, 10);
    switchToChase();
    rig.update(0.01f, 0.0f, Ogre::Vector2(1, 0));
    struct Case
    {
        float ground, expectedHeight;
    };
    for (const Case& c : {Case{3.0f, 4.5f}, Case{-2.0f, 2.5f}, Case{0.5f, 2.5f}})
    {
        rig.follow(c.ground);
        EXPECT_NEAR(c.expectedHeight, world(rig.getSmoothNode()).y, 1e-4f) << "ground at " << c.ground;
    }
}

TEST_F(CameraRigTest, AFixedCameraTakesItsNodesTurn)
{
    CarCam ahead{"Car", carNode, cameraDesc("ahead", Ogre::Vector3(1, 0.5f, 0), Ogre::Vector3(5, 0.5f, 0), false)};
    CarCam behind{"Car", carNode, cameraDesc("behind", Ogre::Vector3(1, 0.5f, 0), Ogre::Vector3(5, 0.5f, 0), false, 180)};
    EXPECT_EQ("CaraheadPositionNode", ahead.getPositionNode()->getName());
    EXPECT_EQ("CaraheadLookAtNode", ahead.getLookAtNode()->getName());
    auto viewDirection = [&](const CarCam& camera) {
        rig.camSwitch(camera.getPositionNode(), camera.getLookAtNode());
        rig.setSmooth(camera.getFlag());
        rig.update(0.01f, 0.0f, Ogre::Vector2(1, 0));
        rig.follow(0.0f);
        EXPECT_EQ(camera.getPositionNode(), rig.getCamera()->getParentSceneNode());
        world(camera.getPositionNode());
        return rig.getCamera()->getDerivedDirection();
    };
    const Ogre::Vector3 forward = viewDirection(ahead);
    const Ogre::Vector3 backward = viewDirection(behind);
    EXPECT_TRUE(forward.positionEquals(-backward, 1e-4f)) << forward << " against " << backward;
    EXPECT_FALSE(rig.isOnSmoothNode());
    rig.camSwitch(nullptr, nullptr);  // off the cameras' nodes before they go
}

TEST(CarCameras, SwitchingWalksTheCarsCamerasAndFallsBackToTheFirst)
{
    CarScene scene;
    CameraRig rig("Default_Cam", scene.sceneManager(), 0.4f, 0.3f);
    struct Case
    {
        const char* what;
        std::vector<std::string> roles;  // follow, bumper, hood, cockpit; empty: none
        std::vector<int> indices;        // the camera index after each nextCamera
        std::string firstCamera;         // the camera the rig shows after setCameraRig
    };
    const Case cases[] = {
        {"all four", {"follow", "bumper", "hood", "cockpit"}, {2, 3, 4, 1, 2}, "follow"},
        {"follow and cockpit", {"follow", "", "", "cockpit"}, {4, 1, 4}, "follow"},
        {"no follow camera", {"", "bumper", "", "cockpit"}, {2, 4, 2}, "bumper"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto desc = CarScene::roadster();
        desc->followCamera = c.roles[0];
        desc->bumperCamera = c.roles[1];
        desc->hoodCamera = c.roles[2];
        desc->cockpitCamera = c.roles[3];
        auto car = scene.makeCar(*desc, Ogre::Vector3(20, 0, 20));
        car->nextCamera();
        EXPECT_EQ(Car::kFollowCamera, car->getCameraIndex()) << "without a rig nothing switches";
        car->setCameraRig(&rig);
        EXPECT_EQ("Player" + c.firstCamera + "PositionNode", rig.getPositionNode()->getName());
        for (int expected : c.indices)
        {
            car->nextCamera();
            EXPECT_EQ(expected, car->getCameraIndex());
        }
        car.reset();
        EXPECT_EQ(nullptr, rig.getPositionNode()) << "the car takes the rig off its nodes when it goes";
    }
}

TEST(CarCameras, TheRoadstersFixedCamerasLookAlongItsHeading)
{
    CarScene scene;
    CameraRig rig("Default_Cam", scene.sceneManager(), 0.4f, 0.3f);
    const auto desc = CarScene::roadster();
    // Turned off the world's axes, so that a camera looking along one of them by chance shows.
    auto car = scene.makeCar(*desc, Ogre::Vector3(20, 0, 20), Ogre::Quaternion(Ogre::Degree(35), Ogre::Vector3::UNIT_Y));
    car->setCameraRig(&rig);
    car->setStopped(true);
    car->setStopped(false);
    const auto raceFrame = [&] {
        rig.update(CarScene::kStep, car->getAcceleration(), car->getHeading(true));
        rig.follow(0.0f);
        return true;
    };
    // On a straight at speed.
    scene.run(*car, 3.0f, [&] {
        car->setThrottle(1.0f);
        return raceFrame();
    });
    ASSERT_GT(car->getSpeedKmh(), 30.0f);
    const Ogre::Vector2 heading = car->getHeading(false);
    const Ogre::Vector3 forward = Ogre::Vector3(heading.x, 0.0f, heading.y).normalisedCopy();
    int fixedCameras = 0;
    for (int index = Car::kFollowCamera + 1; index <= Car::kCockpitCamera; ++index)
    {
        car->nextCamera();
        ASSERT_EQ(index, car->getCameraIndex());
        raceFrame();
        if (rig.isSmooth())
            continue;
        ++fixedCameras;
        Ogre::SceneNode* at = rig.getCamera()->getParentSceneNode();
        world(at);
        const Ogre::Vector3 view = rig.getCamera()->getDerivedDirection();
        const float degrees = Ogre::Math::ACos(std::clamp(view.dotProduct(forward), -1.0f, 1.0f)).valueDegrees();
        EXPECT_LT(degrees, 5.0f) << at->getName() << " looks along " << view << ", the car along " << forward;
    }
    EXPECT_EQ(3, fixedCameras) << "bumper, hood and cockpit";
    car.reset();
}
