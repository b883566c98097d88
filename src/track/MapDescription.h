// What a track file says about itself: its name, high-score file and terrain.
#pragma once

#include <string>

struct MapDescription
{
    std::string name;           // "<map name>.map"
    std::string highscoreName;  // "<map name>.sde"
    std::string terrainName;    // a name of the terrain list
    std::string filePath;       // set by whoever lists the tracks
    bool standardMap = false;   // built in (under ../media/maps/) rather than the player's
};
