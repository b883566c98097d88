// Reading the render window's X events.
#include "WindowEvents.h"

#include <OGRE/OgreRenderWindow.h>
#include <X11/Xlib.h>

WindowEvents::WindowEvents(Ogre::RenderWindow& window) : window(window)
{
    Display* xDisplay = nullptr;
    Window handle = 0;
    window.getCustomAttribute("XDISPLAY", &xDisplay);
    window.getCustomAttribute("WINDOW", &handle);
    display = xDisplay;
    xWindow = handle;
    if (xDisplay)
        deleteAtom = XInternAtom(xDisplay, "WM_DELETE_WINDOW", False);
}

void WindowEvents::pump()
{
    Display* xDisplay = static_cast<Display*>(display);
    if (!xDisplay)
        return;
    XEvent event;
    while (XCheckWindowEvent(xDisplay, xWindow, StructureNotifyMask, &event))
        if (event.type == ConfigureNotify)
            window.windowMovedOrResized();
    // Client messages have no event mask: they are taken by type.
    while (XCheckTypedWindowEvent(xDisplay, xWindow, ClientMessage, &event))
        if (static_cast<unsigned long>(event.xclient.data.l[0]) == deleteAtom)
            closeRequested = true;
}
