// The checkpoint tracker following a fake car: gates in number order, strict rectangles,
// the gate ahead, the finish only after every gate, and putting the car back.
#include "track/CheckPointTracker.h"
#include "physic/TrackedCar.h"

#include "support/HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{
// A car that is only a scene node, recording the poses it is given.
class FakeCar : public TrackedCar
{
public:
    FakeCar()
    {
        sceneManager = HeadlessOgre::createSceneManager();
        node = sceneManager->getRootSceneNode()->createChildSceneNode();
    }
    ~FakeCar() { HeadlessOgre::root().destroySceneManager(sceneManager); }

    Ogre::SceneNode* getNode() override { return node; }
    void setPose(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) override
    {
        poses.push_back({position, orientation});
        node->setPosition(position);
    }
    void moveTo(float x, float z) { node->setPosition(x, 5.0f, z); }

    struct Pose
    {
        Ogre::Vector3 position;
        Ogre::Quaternion orientation;
    };
    std::vector<Pose> poses;

private:
    Ogre::SceneManager* sceneManager;
    Ogre::SceneNode* node;
};

class CheckPointTrackerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tracker.setCar(&car);
        tracker.setStart(Ogre::Vector2(0, 0), 1);
        tracker.setFinish(Ogre::Vector2(500, 0), 1);  // 2 wide along x, 30 along z
        // Added out of order: visited 2, 5, 9.
        tracker.addCheckPointByDirection(5, Ogre::Vector2(200, 0), 1);
        tracker.addCheckPointByDirection(2, Ogre::Vector2(100, 0), 1);
        tracker.addCheckPointByDirection(9, Ogre::Vector2(300, 0), 2);
    }

    // Drives the car through the gate at x and runs one update.
    bool passAt(float x, float z = 0)
    {
        car.moveTo(x, z);
        return tracker.update();
    }

    FakeCar car;
    CheckPointTracker tracker;
};

bool sameOrientation(const Ogre::Quaternion& a, const Ogre::Quaternion& b)
{
    return a.equals(b, Ogre::Radian(1e-3f));
}
}

TEST(CheckPointTrackerDirections, OrientationTurnsByDirectionCode)
{
    const struct
    {
        int direction;
        float degrees;
    } cases[] = {{0, 90}, {1, 0}, {2, -90}, {3, -180}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.direction);
        const Ogre::Quaternion expected(Ogre::Degree(c.degrees), Ogre::Vector3::UNIT_Y);
        EXPECT_TRUE(sameOrientation(expected, CheckPointTracker::directionToOrientation(c.direction)));
        // Forward (+x) turned by the orientation points where the direction code says.
        const Ogre::Vector3 forward = CheckPointTracker::directionToOrientation(c.direction) * Ogre::Vector3::UNIT_X;
        const Ogre::Vector3 wanted[] = {{0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}};
        EXPECT_TRUE(forward.positionEquals(wanted[c.direction], 1e-5f)) << forward;
    }
}

TEST(CheckPointTrackerEmpty, WithoutCarOrGatesNothingFails)
{
    CheckPointTracker tracker;
    EXPECT_TRUE(tracker.update());  // no car
    EXPECT_EQ(0, tracker.getRemainingCount());
    EXPECT_EQ(-1, tracker.getCurrentKey());
    tracker.setFinish(Ogre::Vector2(10, 10), 0);
    EXPECT_EQ(Ogre::Vector2(10, 10), tracker.getCheckPointPosition(0));
    EXPECT_EQ(Ogre::Vector2(10, 10), tracker.getCheckPointPosition(-3));
    tracker.resetCar();  // no car: nothing happens

    // Without gates the finish counts at once.
    FakeCar car;
    tracker.setCar(&car);
    car.moveTo(10, 10);
    EXPECT_FALSE(tracker.update());
}

TEST_F(CheckPointTrackerTest, GatesAreTakenInNumberOrderWhateverTheOrderOfAddition)
{
    EXPECT_EQ(3, tracker.getGateCount());
    EXPECT_EQ(2, tracker.getCurrentKey());
    EXPECT_TRUE(passAt(200));  // gate 5 first: not the current gate
    EXPECT_FALSE(tracker.takePassed());
    EXPECT_EQ(3, tracker.getRemainingCount());

    EXPECT_TRUE(passAt(100));
    EXPECT_TRUE(tracker.takePassed());
    EXPECT_FALSE(tracker.takePassed());  // cleared by reading
    EXPECT_EQ(5, tracker.getCurrentKey());
    EXPECT_TRUE(passAt(100));  // standing in a passed gate passes nothing more
    EXPECT_FALSE(tracker.takePassed());
    EXPECT_TRUE(passAt(200));
    EXPECT_EQ(9, tracker.getCurrentKey());
    EXPECT_EQ(1, tracker.getRemainingCount());
}

TEST_F(CheckPointTrackerTest, RectangleEdgesAreOutside)
{
    // Gate 2 at (100, 0), direction 1: 2 along x, 30 along z.
    const struct
    {
        float x, z;
        bool inside;
    } cases[] = {{100, 0, true},   {100.99f, 14.99f, true}, {101, 0, false},
                 {99, 0, false},   {100, 15, false},        {100, -15, false}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.z);
        car.moveTo(c.x, c.z);
        EXPECT_EQ(c.inside, tracker.isInside(Ogre::Vector2(100, 0), 2, 30));
    }
    // Heights play no part.
    car.getNode()->setPosition(100, -1000, 0);
    EXPECT_TRUE(tracker.isInside(Ogre::Vector2(100, 0), 2, 30));
}

TEST_F(CheckPointTrackerTest, GateExtentsFollowTheRoadDirection)
{
    CheckPointTracker gates;
    gates.setCar(&car);
    gates.addCheckPointByDirection(0, Ogre::Vector2(0, 0), 0);  // road along z: 30 across x
    car.moveTo(14, 0.5f);
    EXPECT_TRUE(gates.update());
    EXPECT_TRUE(gates.takePassed());

    gates.addCheckPointByDirection(0, Ogre::Vector2(0, 0), 3);  // replaced: road along x
    EXPECT_EQ(1, gates.getGateCount());
    EXPECT_EQ(1, gates.getRemainingCount());  // adding rewinds
    car.moveTo(14, 0.5f);
    gates.update();
    EXPECT_FALSE(gates.takePassed());
    car.moveTo(0.5f, 14);
    gates.update();
    EXPECT_TRUE(gates.takePassed());
}

TEST_F(CheckPointTrackerTest, GateAheadAndFinish)
{
    EXPECT_EQ(Ogre::Vector2(100, 0), tracker.getCheckPointPosition(0));
    EXPECT_EQ(Ogre::Vector2(200, 0), tracker.getCheckPointPosition(1));
    EXPECT_EQ(Ogre::Vector2(500, 0), tracker.getCheckPointPosition(3));
    EXPECT_EQ(Ogre::Vector2(100, 0), tracker.getCheckPointPosition(-2));
    passAt(100);
    passAt(200);
    EXPECT_EQ(1, tracker.getRemainingCount());
    EXPECT_EQ(Ogre::Vector2(300, 0), tracker.getCheckPointPosition(0));
    EXPECT_EQ(Ogre::Vector2(500, 0), tracker.getCheckPointPosition(1));
    EXPECT_EQ(Ogre::Vector2(200, 0), tracker.getCheckPointPosition(-1));
}

TEST_F(CheckPointTrackerTest, FinishCountsOnlyAfterEveryGate)
{
    EXPECT_TRUE(passAt(500));  // in the finish box, gates still ahead
    passAt(100);
    passAt(200);
    EXPECT_TRUE(passAt(500));
    EXPECT_TRUE(passAt(300));
    EXPECT_EQ(0, tracker.getRemainingCount());
    EXPECT_TRUE(passAt(400));  // past the last gate, outside the finish
    EXPECT_TRUE(passAt(400));
    EXPECT_FALSE(passAt(500));
    EXPECT_FALSE(passAt(500));

    tracker.restart();
    EXPECT_EQ(3, tracker.getRemainingCount());
    EXPECT_EQ(2, tracker.getCurrentKey());
    EXPECT_TRUE(passAt(500));
}

TEST_F(CheckPointTrackerTest, ResetCarGoesToTheStartThenToTheLastGatePassed)
{
    car.moveTo(50, 3);
    tracker.resetCar();
    ASSERT_EQ(1u, car.poses.size());
    EXPECT_EQ(Ogre::Vector3(0, 0, 0), car.poses.back().position);
    EXPECT_TRUE(sameOrientation(CheckPointTracker::directionToOrientation(1), car.poses.back().orientation));

    passAt(100);
    tracker.resetCar();
    EXPECT_EQ(Ogre::Vector3(100, 0, 0), car.poses.back().position);
    EXPECT_EQ(5, tracker.getCurrentKey());  // the current gate stays

    passAt(200);
    passAt(300);
    tracker.resetCar();
    EXPECT_EQ(Ogre::Vector3(300, 0, 0), car.poses.back().position);  // the last gate, height 0
    EXPECT_TRUE(sameOrientation(CheckPointTracker::directionToOrientation(2), car.poses.back().orientation));
    EXPECT_EQ(0, tracker.getRemainingCount());
}
