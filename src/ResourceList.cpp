// Reading and checking a resource list.
#include "ResourceList.h"

#include <OGRE/OgreConfigFile.h>
#include <OGRE/OgreDataStream.h>

#include <algorithm>
#include <array>

namespace
{
const std::array<const char*, 2> kLocationTypes = {"FileSystem", "Zip"};
}

bool parseResourceList(const std::string& text, std::vector<ResourceLocation>& locations, std::string& problem)
{
    std::string copy = text;
    Ogre::ConfigFile list;
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(&copy[0], copy.size(), false, true));
    list.load(stream, "\t:=", true);
    locations.clear();
    for (const auto& [group, settings] : list.getSettingsBySection())
        for (const auto& [type, place] : settings)
        {
            if (group.empty())
            {
                problem = "the setting \"" + type + "\" stands outside any resource group";
                return false;
            }
            if (std::find(kLocationTypes.begin(), kLocationTypes.end(), type) == kLocationTypes.end())
            {
                problem = "\"" + type + "\" is no kind of resource location";
                return false;
            }
            locations.push_back({group, type, place});
        }
    if (locations.empty())
    {
        problem = "it names no resource location";
        return false;
    }
    return true;
}
