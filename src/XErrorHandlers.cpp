// Logging X errors instead of dying of them.
#include "XErrorHandlers.h"

#include "LogStream.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <unistd.h>

namespace
{
int errorsSeen = 0;

int logError(Display* display, XErrorEvent* error)
{
    ++errorsSeen;
    char text[256] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    debugLog() << "X error: " << text << " (request " << static_cast<int>(error->request_code) << "."
               << static_cast<int>(error->minor_code) << ", resource 0x" << std::hex << error->resourceid << std::dec
               << ")" << std::endl;
    return 0;
}

int endOnLostDisplay(Display*)
{
    // No X call can succeed any more, and returning would let Xlib call exit() from inside the
    // failing call, under the running game: the log is flushed and the process ends here, with
    // the status of a game an error stopped.
    debugLog() << "The X display connection was lost: the game ends." << std::endl;
    std::fflush(nullptr);
    _exit(1);
}
}

namespace XErrorHandlers
{
void install()
{
    static const bool installed = [] {
        XSetErrorHandler(logError);
        XSetIOErrorHandler(endOnLostDisplay);
        return true;
    }();
    (void)installed;
}

int errorCount()
{
    return errorsSeen;
}
}
