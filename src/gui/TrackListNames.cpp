// Naming the level menu's entries.
#include "gui/TrackListNames.h"

#include <algorithm>

std::vector<std::string> trackListNames(const std::vector<ListedTrack>& tracks)
{
    const auto isBuiltInName = [&](const std::string& name) {
        return std::any_of(tracks.begin(), tracks.end(),
                           [&](const ListedTrack& track) { return track.builtIn && track.name == name; });
    };
    std::vector<std::string> names;
    names.reserve(tracks.size());
    for (const ListedTrack& track : tracks)
        names.push_back(!track.builtIn && isBuiltInName(track.name) ? track.name + " (your track)" : track.name);
    return names;
}
