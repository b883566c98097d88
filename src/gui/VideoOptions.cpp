// Video lists of the options menu.
#include "gui/VideoOptions.h"

#include "GameConfiguration.h"
#include "SingleBlanks.h"

#include <OGRE/OgreException.h>

#include <algorithm>

namespace
{
const char* const kOpenGL = "OpenGL Rendering Subsystem";
const char* const kDirect3D9 = "Direct3D9 Rendering Subsystem";

bool acceptedBySettings(const std::string& name)
{
    GameConfiguration probe;
    try
    {
        probe.setRenderer(name);
        return true;
    }
    catch (const Ogre::Exception&)
    {
        return false;
    }
}

// "800 x 600 @ 32-bit colour" keeps "800 x 600".
std::string withoutColourDepth(const std::string& mode)
{
    const std::size_t at = mode.rfind('@');
    if (at == std::string::npos)
        return mode;
    return mode.substr(0, at > 0 ? at - 1 : 0);
}
}

namespace VideoOptions
{
std::vector<std::string> offeredRenderers(const std::vector<std::string>& available)
{
    std::vector<std::string> offered;
    for (const std::string& name : available)
        if (acceptedBySettings(name) && std::find(offered.begin(), offered.end(), name) == offered.end())
            offered.push_back(name);
    return offered;
}

std::vector<std::string> videoModes(const std::string& renderer, const std::vector<std::string>& values,
                                    const std::string& kept)
{
    std::vector<std::string> modes;
    const auto add = [&modes](const std::string& mode) {
        if (!mode.empty() && std::find(modes.begin(), modes.end(), mode) == modes.end())
            modes.push_back(mode);
    };
    for (const std::string& value : values)
        add(singleBlanks(renderer == kDirect3D9 ? withoutColourDepth(value) : value));
    add(singleBlanks(kept));
    return modes;
}

std::string antiAliasingOption(const std::string& renderer)
{
    if (renderer == kOpenGL)
        return "FSAA";
    if (renderer == kDirect3D9)
        return "Anti aliasing";
    return "";
}
}
