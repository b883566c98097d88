// The built-in tracks.
#include "BuiltInTracks.h"

#include "FolderManager.h"

namespace BuiltInTracks
{
std::string testName(const std::string& file)
{
    return file.substr(0, file.find('.'));
}

std::vector<std::string> shipped()
{
    std::vector<std::string> tracks;
    // Listed in name order.
    for (const std::string& name : FolderManager::getFileList(QUILLMOR_BUILD_DIR "/media/maps"))
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".map") == 0)
            tracks.push_back(name);
    return tracks;
}
}
