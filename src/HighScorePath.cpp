// The per-user paths of a track's table and ghost.
#include "HighScorePath.h"

#include "LogStream.h"
#include "XMLParser.h"
#include "track/MapDescription.h"

namespace
{
const std::string kExtension = ".sde";

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "Oval.sde" for "Oval.sde"; "" for "../x.sde", "a/b.sde" or "evil".
std::string safeTableName(const std::string& name)
{
    if (!endsWith(name, kExtension))
        return "";
    const std::string stem = name.substr(0, name.size() - kExtension.size());
    return XMLParser::isSafeMapName(stem) ? name : "";
}

// The track file's name without its folder and extension, unsafe characters replaced.
std::string nameFromTrackFile(const std::string& trackPath)
{
    std::string stem = trackPath.substr(trackPath.find_last_of('/') + 1);
    if (endsWith(stem, ".map"))
        stem.resize(stem.size() - 4);
    for (char& c : stem)
        if (!XMLParser::isSafeMapName(std::string(1, c)))
            c = '_';
    return (stem.empty() ? std::string("track") : stem) + kExtension;
}
}

std::string highScorePathFor(const std::string& savePath, const MapDescription& map)
{
    std::string table = safeTableName(map.highscoreName);
    if (table.empty())
    {
        table = nameFromTrackFile(map.filePath);
        debugLog() << "High scores: " << map.filePath << " names its table \"" << map.highscoreName
                   << "\", which is not a plain file name; using \"" << table << "\"" << std::endl;
    }
    return savePath + "maps/" + (map.standardMap ? "stdHighscore/" : "") + table;
}
