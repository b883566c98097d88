// Listing one folder's track files for the level menu.
#include "track/TrackFileList.h"

#include "FileGroupWrite.h"
#include "FolderManager.h"

#include <algorithm>

std::vector<TrackFile> listTrackFiles(const std::string& folder)
{
    std::vector<TrackFile> tracks;
    // A track save a kill interrupted is finished or dropped before the list is made.
    settleInterruptedWrites(folder);
    for (const std::string& fileName : FolderManager::getFileList(folder))
    {
        const std::string::size_type dot = fileName.rfind('.');
        if (dot == std::string::npos || dot == 0 || fileName.compare(dot, std::string::npos, ".map") != 0)
            continue;
        tracks.push_back({fileName.substr(0, dot), folder + fileName});
    }
    std::sort(tracks.begin(), tracks.end(),
              [](const TrackFile& a, const TrackFile& b) { return a.baseName < b.baseName; });
    return tracks;
}
