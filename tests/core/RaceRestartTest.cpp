// Restarting a race: one fixed second of physics with the car at the start, whether the
// physics runs or a menu has paused it (it stays paused); a refused restart does nothing.
#include "RaceRestart.h"
#include "physic/ClockedPhysicBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct CountingListener : PhysicListener
{
    int steps = 0;
    void onPhysicStep(float) override { ++steps; }
};

struct RaceRestartTest : ::testing::Test
{
    ClockedPhysicBase physics{nullptr, nullptr};
    CountingListener listener;
    std::vector<std::string> journal;
    void SetUp() override
    {
        physics.init();
        physics.addListener(&listener);
    }
    bool restart(bool rulesAccept)
    {
        return RaceRestart::run(
            physics, [&] { journal.push_back("rules"); return rulesAccept; },
            [&] { journal.push_back("start " + std::to_string(listener.steps)); });
    }
};

TEST_F(RaceRestartTest, RunningPhysicsStepsOneSecondAndKeepsRunning)
{
    physics.resume();
    ASSERT_TRUE(restart(true));
    EXPECT_EQ(listener.steps, 100);
    EXPECT_TRUE(physics.isRunning());
    EXPECT_EQ(journal, (std::vector<std::string>{"rules", "start 100"}));
    physics.frameTimesMs.push_back(20);
    physics.update();
    EXPECT_EQ(listener.steps, 102) << "the fixed second is switched off again";
}

TEST_F(RaceRestartTest, PausedPhysicsStepsOneSecondAndStaysPaused)
{
    physics.pause();
    ASSERT_TRUE(restart(true));
    EXPECT_EQ(listener.steps, 100);
    EXPECT_FALSE(physics.isRunning());
    EXPECT_EQ(journal.back(), "start 100");
}

TEST_F(RaceRestartTest, RefusedRestartChangesNothing)
{
    physics.pause();
    EXPECT_FALSE(restart(false));
    EXPECT_EQ(listener.steps, 0);
    EXPECT_FALSE(physics.isRunning());
    EXPECT_EQ(journal, (std::vector<std::string>{"rules"})) << "no countdown started";
}
}
