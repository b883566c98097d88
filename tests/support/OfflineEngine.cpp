// The image codec and scene manager plug-ins for the headless engine of the tests.
#include "OfflineEngine.h"

#include "HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgrePlugin.h>

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

namespace
{
void loadPluginOnce(const std::string& name, bool& loaded)
{
    if (loaded)
        return;
    HeadlessOgre::root().loadPlugin(pluginFolder() + "/" + name);
    loaded = true;
}
}

void OfflineEngine::loadImageCodecs()
{
    static bool loaded = false;
    loadPluginOnce("Codec_STBI", loaded);
}

void OfflineEngine::loadSceneManagers()
{
    static bool loaded = false;
    if (loaded)
        return;
    Ogre::Root& root = HeadlessOgre::root();
    const size_t before = root.getInstalledPlugins().size();
    loadPluginOnce("Plugin_OctreeSceneManager", loaded);
    // A root without a renderer is never initialised, and a plug-in registers its factories
    // only then: do it by hand.
    for (size_t i = before; i < root.getInstalledPlugins().size(); ++i)
        root.getInstalledPlugins()[i]->initialise();
}

// The engine's PNG codec hands its encoded bytes from malloc to a stream that frees them
// with delete[]: in sanitizer builds, judge only our own code.
extern "C" const char* __asan_default_options()
{
    return "alloc_dealloc_mismatch=0";
}
