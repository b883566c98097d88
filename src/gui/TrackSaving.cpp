// Saving an editor track.
#include "gui/TrackSaving.h"

#include "FolderManager.h"
#include "HighScore.h"
#include "HighScorePath.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/TrackCells.h"
#include "track/MapDescription.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace
{
// Images made for an earlier track of this name must not be used again: the files of the
// user-track image cache named "<name>.map." + anything (the cache's own naming).
void dropCachedImages(const std::string& savePath, const std::string& name)
{
    const std::string folder = savePath + "tmp/mapdata/";
    const std::string ownStart = name + ".map.";
    for (const std::string& file : FolderManager::getFileList(folder))
        if (file.compare(0, ownStart.size(), ownStart) == 0)
            std::remove((folder + file).c_str());
}
}

namespace TrackSaving
{
std::string nameProblem(const std::string& name)
{
    if (name.empty())
        return "Please type a name for the track.";
    if (name.size() > kLongestName)
        return "The track name is too long: at most " + std::to_string(kLongestName) + " characters.";
    if (!XMLParser::isSafeMapName(name))
        return "The track name may hold only letters, digits, spaces, '-' and '_'.";
    return "";
}

std::string mapPath(const std::string& savePath, const std::string& name)
{
    return savePath + "maps/" + name + ".map";
}

std::string tablePath(const std::string& savePath, const std::string& name)
{
    // The same rule the race uses to find the table, so both meet the same file.
    MapDescription description;
    description.name = name + ".map";
    description.highscoreName = name + ".sde";
    description.filePath = mapPath(savePath, name);
    description.standardMap = false;
    return highScorePathFor(savePath, description);
}

bool exists(const std::string& savePath, const std::string& name)
{
    struct stat status{};
    return nameProblem(name).empty() && ::stat(mapPath(savePath, name).c_str(), &status) == 0;
}

bool save(const TrackCells& cells, const std::string& name, const std::string& terrain, const std::string& savePath,
          std::string& error)
{
    error = nameProblem(name);
    if (!error.empty())
        return false;
    // The track file first: if it fails, the old track keeps its scores and ghost.
    if (!XMLParser::getInstance()->saveMap(cells.placedTiles(), terrain, name, savePath + "maps"))
    {
        error = "The track file " + mapPath(savePath, name) + " could not be written.";
        return false;
    }
    const std::string table = tablePath(savePath, name);
    std::string tableError;
    if (!HighScore::save(table, HighScore(), &tableError))
    {
        error = "The track was saved, but its high-score table could not be emptied: " + tableError;
        return false;
    }
    const std::string ghost = ghostPathFor(table);
    if (std::remove(ghost.c_str()) != 0 && errno != ENOENT)
    {
        error = "The track was saved, but its ghost " + ghost + " could not be deleted: " + std::strerror(errno);
        return false;
    }
    dropCachedImages(savePath, name);
    debugLog() << "Editor: saved track \"" << name << "\" to " << mapPath(savePath, name) << std::endl;
    return true;
}
}
