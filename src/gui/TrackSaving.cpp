// Saving an editor track.
#include "gui/TrackSaving.h"

#include "FileGroupWrite.h"
#include "FolderManager.h"
#include "HighScore.h"
#include "HighScorePath.h"
#include "LogStream.h"
#include "XMLParser.h"
#include "gui/TrackCells.h"
#include "track/MapDescription.h"

#include <cstdio>
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
          std::string& error, const std::function<void()>& afterEachStep)
{
    error = nameProblem(name);
    if (!error.empty())
        return false;
    // Images of an earlier track of this name go first: dropping them is harmless either way.
    dropCachedImages(savePath, name);
    // The track, its empty table and the ghost's removal as one: a save killed at any instant
    // leaves the old track with its scores and ghost, or the new one with neither.
    const std::string folder = savePath + "maps/";
    const std::string table = tablePath(savePath, name);
    const std::string ghost = ghostPathFor(table);
    if (table.compare(0, folder.size(), folder) != 0 || ghost.compare(0, folder.size(), folder) != 0)
    {
        error = "The track's table " + table + " lies outside " + folder + ".";
        return false;
    }
    FileGroupWrite files(folder);
    files.setStepHook(afterEachStep);
    files.replace(name + ".map", [&](const std::string& staged, std::string& problem) {
        if (XMLParser::getInstance()->writeMap(cells.placedTiles(), terrain, name, staged))
            return true;
        problem = "cannot write " + staged + " (the debug log says why)";
        return false;
    });
    files.replace(table.substr(folder.size()), [](const std::string& staged, std::string& problem) {
        return HighScore::save(staged, HighScore(), &problem);
    });
    files.remove(ghost.substr(folder.size()));
    std::string problem;
    if (!files.commit(problem))
    {
        error = files.isCommitted() ? "The track was saved, but not all of it: " + problem
                                    : "The track could not be written: " + problem;
        return false;
    }
    debugLog() << "Editor: saved track \"" << name << "\" to " << mapPath(savePath, name) << std::endl;
    return true;
}
}
