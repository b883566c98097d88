// One placed tile of a track file.
#pragma once

#include <string>
#include <vector>

struct MapEntry
{
    std::string name;      // tile type
    int checkpoint = -1;   // checkpoint number, -1 for none
    int rotation = 0;      // quarter turns 0..3
    int x = 0;             // first footprint cell, 0..79
    int y = 0;
};

using MapEntries = std::vector<MapEntry>;
