// Engine plug-ins for headless tests.
#include "EnginePlugins.h"

#include "HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgrePlugin.h>

#include <fstream>
#include <set>
#include <stdexcept>

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

void EnginePlugins::load(const std::string& name)
{
    static std::set<std::string> loaded;
    if (loaded.count(name))
        return;
    Ogre::Root& root = HeadlessOgre::root();
    const size_t before = root.getInstalledPlugins().size();
    root.loadPlugin(pluginFolder() + "/" + name);
    // A root without a renderer is never initialised, and a plug-in registers some of its
    // factories (scene managers) only then: do it by hand.
    for (size_t i = before; i < root.getInstalledPlugins().size(); ++i)
        root.getInstalledPlugins()[i]->initialise();
    loaded.insert(name);
}
