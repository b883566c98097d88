// The fixed-step loop: step counts, alpha, the clamp, fixed-frame mode, pause, the order
// of listener calls, and world creation.
#include "ClockedPhysicBase.h"
#include "support/TempFolder.h"

#include <OGRE/OgreException.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <string>
#include <vector>

namespace
{
// Writes what it is told into a shared journal: "A step", "B frame 0.4" and so on.
struct JournalListener : PhysicListener
{
    JournalListener(const std::string& listenerName, std::vector<std::string>& sharedJournal)
        : name(listenerName), journal(sharedJournal)
    {
    }
    void onPhysicStep(float dt) override
    {
        journal.push_back(name + " step");
        lastStep = dt;
    }
    void onPhysicFrame(float alpha, float alphaTime, float frameDt) override
    {
        journal.push_back(name + " frame");
        lastAlpha = alpha;
        lastAlphaTime = alphaTime;
        lastFrameDt = frameDt;
    }
    void onPause() override { journal.push_back(name + " pause"); }
    void onResume() override { journal.push_back(name + " resume"); }

    std::string name;
    std::vector<std::string>& journal;
    float lastStep = 0, lastAlpha = -1, lastAlphaTime = -1, lastFrameDt = -1;
};

int count(const std::vector<std::string>& journal, const std::string& entry)
{
    int n = 0;
    for (const std::string& e : journal)
        n += e == entry;
    return n;
}

struct LoopFixture : ::testing::Test
{
    ClockedPhysicBase physics{nullptr, nullptr};
    std::vector<std::string> journal;
    JournalListener listener{"A", journal};

    void SetUp() override
    {
        physics.init();
        physics.addListener(&listener);
        physics.resume();
        journal.clear();
    }
    // Runs one update with the given frame time and returns the steps it took.
    int frame(unsigned long ms)
    {
        journal.clear();
        physics.frameTimesMs.push_back(ms);
        physics.update();
        return count(journal, "A step");
    }
};
}

TEST_F(LoopFixture, FrameTimesBecomeStepsAndAlpha)
{
    struct Case
    {
        const char* name;
        unsigned long frameMs;
        int steps;
        float alpha;  // after this frame
    };
    // One sequence: each frame keeps what the previous left in the accumulator.
    const Case cases[] = {
        {"4 ms: no step yet", 4, 0, 0.4f},
        {"4 more: still none", 4, 0, 0.8f},
        {"4 more: one step, 2 ms left", 4, 1, 0.2f},
        {"250 ms is clamped to 100", 250, 10, 0.2f},
        {"a frame of nothing", 0, 0, 0.2f},
        {"28 ms: 3 steps", 28, 3, 0.0f},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(frame(c.frameMs), c.steps) << c.name;
        EXPECT_NEAR(physics.getAlpha(), c.alpha, 1e-3f) << c.name;
        EXPECT_NEAR(listener.lastAlpha, c.alpha, 1e-3f) << c.name;
        EXPECT_NEAR(listener.lastAlphaTime, c.alpha * 0.01f, 1e-5f) << c.name;
        EXPECT_NEAR(listener.lastFrameDt, std::min(c.frameMs, 100ul) / 1000.0f, 1e-6f) << c.name;
        if (c.steps > 0)
        {
            EXPECT_NEAR(physics.getSimulatedTime(), c.steps * 0.01f, 1e-5f) << c.name;
        }
    }
    EXPECT_EQ(listener.lastStep, 0.01f);
}

TEST_F(LoopFixture, FixedFrameRunsOneSecondAndTimeScaleStretches)
{
    physics.setFixedFrame(true);
    EXPECT_EQ(frame(1), 100);
    EXPECT_EQ(frame(500), 100) << "real time does not matter";
    physics.setFixedFrame(false);
    physics.setTimeScale(0.5f);
    EXPECT_EQ(frame(40), 2);
    physics.setTimeScale(4.0f);
    EXPECT_EQ(frame(40), 10) << "the clamp applies after scaling";
}

TEST_F(LoopFixture, PausedLoopDoesNothingAndResumeForgetsThePause)
{
    journal.clear();
    physics.pause();
    EXPECT_EQ(journal, std::vector<std::string>{"A pause"});
    EXPECT_FALSE(physics.isRunning());
    const int readsBefore = physics.clockReads;
    physics.frameTimesMs.push_back(50);
    EXPECT_EQ(physics.update(), 0.0f);
    EXPECT_EQ(physics.clockReads, readsBefore) << "the clock is not read while paused";
    EXPECT_EQ(journal.size(), 1u);

    const int restartsBefore = physics.clockRestarts;
    physics.resume();
    EXPECT_EQ(physics.clockRestarts, restartsBefore + 1);
    EXPECT_TRUE(physics.isRunning());
    EXPECT_EQ(journal.back(), "A resume");
}

TEST_F(LoopFixture, ListenersRunInOrderStepsBeforeFrames)
{
    JournalListener second("B", journal);
    physics.addListener(&second);
    physics.addListener(&listener);  // twice: it runs twice
    frame(20);
    const std::vector<std::string> expected = {"A step", "B step", "A step", "A step", "B step", "A step",
                                               "A frame", "B frame", "A frame"};
    EXPECT_EQ(journal, expected);
    physics.removeListener(&listener);  // the first entry only
    frame(10);
    EXPECT_EQ(journal, (std::vector<std::string>{"B step", "A step", "B frame", "A frame"}));
    physics.removeListener(&second);
    physics.removeListener(&second);  // absent: nothing happens
    frame(10);
    EXPECT_EQ(journal, (std::vector<std::string>{"A step", "A frame"}));
}

TEST_F(LoopFixture, ListenersSeeTheWorldAfterTheStep)
{
    // A sphere falls; the listener notes its height at each step.
    nxOgre::NxSphereShapeDesc ball;
    ball.radius = 0.5f;
    nxOgre::NxActorDesc desc;
    desc.dynamic = true;
    desc.mass = 1;
    desc.shapes = {&ball};
    desc.globalPose.setOrigin(btVector3(100, 50, 100));
    nxOgre::NxActor* actor = physics.getScene()->createActor(desc);
    ASSERT_NE(actor, nullptr);
    struct HeightProbe : PhysicListener
    {
        nxOgre::NxActor* actor;
        std::vector<float> heights;
        void onPhysicStep(float) override { heights.push_back(actor->getGlobalPosition().y()); }
    } probe;
    probe.actor = actor;
    physics.addListener(&probe);
    frame(20);
    ASSERT_EQ(probe.heights.size(), 2u);
    // After the first step the ball has fallen g·dt² (semi-implicit Euler) already.
    EXPECT_NEAR(probe.heights[0], 50.0f - 14.80665f * 0.0001f, 1e-5f);
    EXPECT_LT(probe.heights[1], probe.heights[0]);
    physics.removeListener(&probe);
}

TEST(PhysicBaseInit, MakesTheSceneItsFloorAndItsLog)
{
    TempFolder folder;
    ASSERT_EQ(mkdir((folder.path() + "logs").c_str(), 0700), 0);
    {
        PhysicBase physics(nullptr, nullptr, folder.path());
        nxOgre::scene* scene = physics.init();
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(scene->getName(), "DefaultScene");
        EXPECT_NEAR(scene->getGravity().y(), -14.80665f, 1e-6f);
        const nxOgre::material* standard = scene->findMaterial("Default");
        ASSERT_NE(standard, nullptr);
        EXPECT_EQ(standard->getBounce(), 0.5f);
        EXPECT_EQ(standard->getStaticFriction(), 0.6f);
        EXPECT_EQ(standard->getDynamicFriction(), 0.6f);
        EXPECT_TRUE(scene->raycastAnyShape(nxOgre::NxRay{{5, 1, 5}, {0, -1, 0}}, nxOgre::NX_STATIC_SHAPES))
            << "the floor is there";
        EXPECT_FALSE(physics.isRunning());
    }
    const std::string log = TempFolder::read(folder.path() + "logs/NxOgre.physics.log");
    EXPECT_NE(log.find("Bullet"), std::string::npos) << log;
}

TEST(PhysicBaseInit, MissingRuntimeIsReportedNotCrashed)
{
    EXPECT_TRUE(PhysicBase::isPhysXAvailable(nullptr));
    PhysicBase::simulateMissingRuntime(true);
    EXPECT_FALSE(PhysicBase::isPhysXAvailable(nullptr));
    ClockedPhysicBase physics(nullptr, nullptr);
    try
    {
        physics.init();
        ADD_FAILURE() << "init must throw";
    }
    catch (const Ogre::InternalErrorException& e)
    {
        // The cause follows the game's own sentence.
        EXPECT_EQ(e.getDescription(), "Error initializing Bullet physics. Did you install the Bullet libraries? "
                                      "Bullet physics could not be started");
        EXPECT_EQ(e.getSource(), "");
    }
    PhysicBase::simulateMissingRuntime(false);
    EXPECT_TRUE(PhysicBase::isPhysXAvailable(nullptr));
    // A world that never started still takes its frames: the clock runs, there is nothing to step.
    physics.resume();
    physics.frameTimesMs = {40};
    EXPECT_FLOAT_EQ(0.04f, physics.update());
    EXPECT_NEAR(0.04f, physics.getSimulatedTime(), 1e-5f);
    EXPECT_EQ(nullptr, physics.getScene());
}
