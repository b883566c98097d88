// The engine's resource list ("resources_high.cfg" and its kin): resource groups, each a section,
// with the folders and archives the engine finds its media in.
#pragma once

#include <string>
#include <vector>

struct ResourceLocation
{
    std::string group;
    std::string type;  // "FileSystem" or "Zip"
    std::string place;
};

// The list's locations group by group (the engine's order), from its text. False, with what is wrong in problem,
// when the text is no resource list: no location at all, a setting outside any group (the
// plug-in list has those), or a location type the engine doesn't know.
bool parseResourceList(const std::string& text, std::vector<ResourceLocation>& locations, std::string& problem);
