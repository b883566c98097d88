// The render window's own X events, which the engine leaves to an event pump the game doesn't
// use: the window manager's close request, and moves and resizes the engine must hear of.
#pragma once

namespace Ogre
{
class RenderWindow;
}

class WindowEvents
{
public:
    explicit WindowEvents(Ogre::RenderWindow& window);

    // Reads the window's pending events.
    void pump();
    // The window manager asked the window to close (WM_DELETE_WINDOW).
    bool isCloseRequested() const { return closeRequested; }

private:
    Ogre::RenderWindow& window;
    void* display = nullptr;      // the engine's X connection
    unsigned long xWindow = 0;
    unsigned long deleteAtom = 0;
    bool closeRequested = false;
};
