// One entry of the terrain list.
#pragma once

#include <map>
#include <string>

struct TerrainDesc
{
    std::string name;
    std::string file;        // the terrain's world-geometry file
    std::string levelImage;  // the picture the menus show
};

// Terrains by name, in byte order of the names.
using TerrainDescs = std::map<std::string, TerrainDesc>;
