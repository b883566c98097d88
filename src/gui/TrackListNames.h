// The names the level menu lists its tracks under: a track's own name, and for a track of the
// player's named like a built-in one, that name marked as the player's, so that the two
// entries are told apart.
#pragma once

#include <string>
#include <vector>

struct ListedTrack
{
    std::string name;
    bool builtIn;
};

std::vector<std::string> trackListNames(const std::vector<ListedTrack>& tracks);
