// The passes of the main loop.
#include "MainLoop.h"

#include <OGRE/OgreFrameListener.h>

namespace
{
Ogre::FrameEvent takeFrameEvent(MainLoopHost& host)
{
    // Whole milliseconds: a pass shorter than 1 ms hands the states a time of 0.
    const float seconds = static_cast<float>(host.takeElapsedMs()) / 1000.0f;
    Ogre::FrameEvent event;
    event.timeSinceLastEvent = seconds;
    event.timeSinceLastFrame = seconds;
    return event;
}
}

bool MainLoop::runPass(MainLoopHost& host)
{
    bool running = host.frameStarted(takeFrameEvent(host));
    if (running)
        running = host.pumpMessagesAndRender();
    const Ogre::FrameEvent ended = takeFrameEvent(host);
    if (running)
        running = host.frameEnded(ended);
    if (running)
        running = !host.isWindowClosed();
    return running;
}

void MainLoop::runPasses(MainLoopHost& host)
{
    while (runPass(host))
    {
    }
}
