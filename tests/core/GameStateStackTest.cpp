// The state stack's call order: pause before enter, exit before resume, nothing below the top.
#include "GameState.h"
#include "GameStateStack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::string> calls;

class RecordingState : public GameState
{
public:
    explicit RecordingState(std::string name) : name(std::move(name)) {}
    void enter() override { calls.push_back(name + ".enter"); }
    void exit() override { calls.push_back(name + ".exit"); }
    void pause() override { calls.push_back(name + ".pause"); }
    void resume() override { calls.push_back(name + ".resume"); }
    bool frameStarted(GameManager*, const Ogre::FrameEvent&) override { return true; }
    bool frameEnded(GameManager*, const Ogre::FrameEvent&) override { return true; }

private:
    std::string name;
};

class GameStateStackTest : public ::testing::Test
{
protected:
    void SetUp() override { calls.clear(); }
    RecordingState a{"a"}, b{"b"}, c{"c"};
    GameStateStack stack;
};
}

TEST_F(GameStateStackTest, ChangeOnAnEmptyStackOnlyEnters)
{
    stack.change(&a);
    EXPECT_EQ((std::vector<std::string>{"a.enter"}), calls);
    EXPECT_EQ(&a, stack.top());
}

TEST_F(GameStateStackTest, PushPausesTheOldTopBeforeEnteringTheNew)
{
    stack.change(&a);
    stack.push(&b);
    EXPECT_EQ((std::vector<std::string>{"a.enter", "a.pause", "b.enter"}), calls);
    EXPECT_EQ(&b, stack.top());
}

TEST_F(GameStateStackTest, ChangeExitsTheTopOnly)
{
    stack.change(&a);
    stack.push(&b);
    calls.clear();
    stack.change(&c);
    EXPECT_EQ((std::vector<std::string>{"b.exit", "c.enter"}), calls);
    stack.pop();
    EXPECT_EQ(&a, stack.top()) << "the state below a changed top stays";
}

TEST_F(GameStateStackTest, PopExitsBeforeResuming)
{
    stack.change(&a);
    stack.push(&b);
    calls.clear();
    stack.pop();
    EXPECT_EQ((std::vector<std::string>{"b.exit", "a.resume"}), calls);
    calls.clear();
    stack.pop();
    EXPECT_EQ((std::vector<std::string>{"a.exit"}), calls) << "popping the last state resumes nothing";
    EXPECT_TRUE(stack.empty());
    stack.pop();
    EXPECT_EQ(1u, calls.size()) << "popping an empty stack does nothing";
}

TEST_F(GameStateStackTest, ClearExitsTopFirstAndResumesNone)
{
    stack.change(&a);
    stack.push(&b);
    stack.push(&c);
    calls.clear();
    stack.clear();
    EXPECT_EQ((std::vector<std::string>{"c.exit", "b.exit", "a.exit"}), calls);
    EXPECT_EQ(nullptr, stack.top());
}
