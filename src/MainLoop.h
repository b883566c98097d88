// The passes of the main loop: timer, frame-started, window messages and rendering,
// timer again, frame-ended, window check. Kept apart from the GameManager so its timing
// can be tested with a fake timer and a fake window.
#pragma once

namespace Ogre
{
struct FrameEvent;
}

class MainLoopHost
{
public:
    virtual ~MainLoopHost() = default;
    // Whole milliseconds since the last reset; the timer is reset.
    virtual unsigned long takeElapsedMs() = 0;
    virtual bool frameStarted(const Ogre::FrameEvent& event) = 0;
    // Delivers the window's pending messages and renders one frame; false when rendering failed.
    virtual bool pumpMessagesAndRender() = 0;
    virtual bool frameEnded(const Ogre::FrameEvent& event) = 0;
    virtual bool isWindowClosed() = 0;
};

class MainLoop
{
public:
    // Runs passes until one of them fails: a handler returned false, rendering failed or
    // the window was closed.
    static void runPasses(MainLoopHost& host);
    // One pass; false ends the loop.
    static bool runPass(MainLoopHost& host);
};
