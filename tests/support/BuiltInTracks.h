// The tracks the game ships in media/maps/: the one list the tests that drive or build each of
// them share, and what the build's folder really holds, to check the list against.
#pragma once

#include <string>
#include <vector>

namespace BuiltInTracks
{
// File names in media/maps/.
constexpr const char* kFiles[] = {"TestLoop.map", "FigureEight.map", "DesertRun.map"};

// A track's file name without ".map", for a test's name.
std::string testName(const std::string& file);

// The .map files in the build's media/maps/, sorted.
std::vector<std::string> shipped();
}
