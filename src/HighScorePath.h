// Where a track's high-score table and ghost live: the per-user "maps/" folder, its
// "stdHighscore/" subfolder for the built-in tracks. A shared track's file may name any
// table; only a plain name of safe characters is taken, anything else is replaced by one
// made from the track file's own name.
#pragma once

#include <string>

struct MapDescription;

// savePath ends in "/". Logs when the track's own name for the table is refused.
std::string highScorePathFor(const std::string& savePath, const MapDescription& map);
// The ghost recording beside a table.
inline std::string ghostPathFor(const std::string& highScorePath)
{
    return highScorePath + ".shadow";
}
