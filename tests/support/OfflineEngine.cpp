// The image codec for the headless engine of the graphics tests.
#include "OfflineEngine.h"

#include "HeadlessOgre.h"

#include <OGRE/Ogre.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace
{
std::string pluginFolder()
{
    std::ifstream config(std::string(QUILLMOR_BUILD_DIR) + "/bin/Plugins.cfg");
    const std::string key = "PluginFolder=";
    for (std::string line; std::getline(config, line);)
        if (line.compare(0, key.size(), key) == 0)
            return line.substr(key.size());
    throw std::runtime_error("no PluginFolder in the build's Plugins.cfg");
}
}

void OfflineEngine::loadImageCodecs()
{
    static bool loaded = false;
    if (loaded)
        return;
    HeadlessOgre::root().loadPlugin(pluginFolder() + "/Codec_STBI");
    loaded = true;
}

// The engine's PNG codec hands its encoded bytes from malloc to a stream that frees them
// with delete[]: in sanitizer builds, judge only our own code.
extern "C" const char* __asan_default_options()
{
    return "alloc_dealloc_mismatch=0";
}
