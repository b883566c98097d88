// What the game does when the X display fails it. Xlib's own handlers end the process with
// exit() from inside whatever call met the failure: the libraries' static objects are then
// destroyed under the code still using them (a crash inside the shutdown, then a hang).
#pragma once

namespace XErrorHandlers
{
// Once per process, before any display is opened: a protocol error is logged with its request
// and the game goes on; a lost display connection (the X server ended, the window manager
// killed the client) is logged and the game ends at once with status 0, running no destructors.
void install();
// The protocol errors logged so far.
int errorCount();
}
