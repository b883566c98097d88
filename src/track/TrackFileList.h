// The track files of one folder, as the level menu lists them.
#pragma once

#include <string>
#include <vector>

struct TrackFile
{
    std::string baseName;  // the file name without ".map"
    std::string path;      // folder followed by the file name
};

// Every "<name>.map" of the folder (the extension is the part from the last dot on, in
// lower case only), in byte order of the base names. A missing folder lists nothing. Saves
// interrupted in the folder are settled first (folder ends in "/").
std::vector<TrackFile> listTrackFiles(const std::string& folder);
