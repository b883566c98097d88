// The F8 screenshot: the window's pixels as a PNG file, written whole or not at all with
// mode 0644 whatever the umask, replacing a symbolic link rather than writing through it.
#pragma once

#include <string>

namespace Ogre
{
class RenderTarget;
}

// False, with the reason naming the file in *problem, when it cannot be written.
bool writeScreenshot(Ogre::RenderTarget& window, const std::string& path, std::string* problem);
