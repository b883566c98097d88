// The main loop's passes: frame times from a fake millisecond timer, and what ends the loop.
#include "MainLoop.h"

#include <OGRE/OgreFrameListener.h>
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace
{
// Plays back timer readings and handler results; records what the loop did.
class FakeHost : public MainLoopHost
{
public:
    std::deque<unsigned long> elapsedMs;
    std::deque<bool> startedResults, renderResults, endedResults, closedResults;
    std::vector<std::string> calls;
    std::vector<float> startedTimes, endedTimes;

    unsigned long takeElapsedMs() override
    {
        calls.push_back("timer");
        return take(elapsedMs, 0ul);
    }
    bool frameStarted(const Ogre::FrameEvent& event) override
    {
        calls.push_back("started");
        EXPECT_EQ(event.timeSinceLastEvent, event.timeSinceLastFrame);
        startedTimes.push_back(event.timeSinceLastFrame);
        return take(startedResults, true);
    }
    bool pumpMessagesAndRender() override
    {
        calls.push_back("render");
        return take(renderResults, true);
    }
    bool frameEnded(const Ogre::FrameEvent& event) override
    {
        calls.push_back("ended");
        endedTimes.push_back(event.timeSinceLastFrame);
        return take(endedResults, true);
    }
    bool isWindowClosed() override
    {
        calls.push_back("closed?");
        return take(closedResults, false);
    }

private:
    template <typename T>
    static T take(std::deque<T>& queue, T otherwise)
    {
        if (queue.empty())
            return otherwise;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};
}

TEST(MainLoopTest, APassReadsTheTimerBeforeEachHandler)
{
    FakeHost host;
    host.elapsedMs = {16, 3};
    EXPECT_TRUE(MainLoop::runPass(host));
    EXPECT_EQ((std::vector<std::string>{"timer", "started", "render", "timer", "ended", "closed?"}), host.calls);
    EXPECT_FLOAT_EQ(0.016f, host.startedTimes[0]);
    EXPECT_FLOAT_EQ(0.003f, host.endedTimes[0]);
}

TEST(MainLoopTest, TimesAreWholeMillisecondsInSeconds)
{
    struct Case
    {
        unsigned long ms;
        float seconds;
    };
    for (const Case& c : {Case{0, 0.0f}, Case{1, 0.001f}, Case{100, 0.1f}, Case{1500, 1.5f}})
    {
        FakeHost host;
        host.elapsedMs = {c.ms, c.ms};
        MainLoop::runPass(host);
        EXPECT_FLOAT_EQ(c.seconds, host.startedTimes[0]) << c.ms;
        EXPECT_FLOAT_EQ(c.seconds, host.endedTimes[0]) << c.ms;
    }
}

TEST(MainLoopTest, WhatEndsThePass)
{
    struct Case
    {
        const char* what;
        bool started, rendered, ended, closed;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"frame-started false skips rendering and frame-ended", false, true, true, false,
         {"timer", "started", "timer"}},
        {"rendering failed skips frame-ended", true, false, true, false, {"timer", "started", "render", "timer"}},
        {"frame-ended false skips the window check", true, true, false, false,
         {"timer", "started", "render", "timer", "ended"}},
        {"window closed", true, true, true, true, {"timer", "started", "render", "timer", "ended", "closed?"}},
    };
    for (const Case& c : cases)
    {
        FakeHost host;
        host.startedResults = {c.started};
        host.renderResults = {c.rendered};
        host.endedResults = {c.ended};
        host.closedResults = {c.closed};
        EXPECT_FALSE(MainLoop::runPass(host)) << c.what;
        EXPECT_EQ(c.calls, host.calls) << c.what;
    }
}

TEST(MainLoopTest, PassesRunUntilOneFails)
{
    FakeHost host;
    host.endedResults = {true, true, false};
    MainLoop::runPasses(host);
    EXPECT_EQ(3u, host.startedTimes.size());
}
