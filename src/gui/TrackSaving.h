// Saving the editor's track for the level menu: the name check, the track file, an empty
// high-score table and no ghost, all inside the player's own maps folder.
#pragma once

#include <functional>
#include <string>

class TrackCells;

namespace TrackSaving
{
constexpr std::size_t kLongestName = 40;  // characters

// Empty when the name may be saved under; otherwise what is wrong with it, for the player.
// Letters, digits, space, '-' and '_', 1 to 40 characters: no path, no dot, no hidden file.
std::string nameProblem(const std::string& name);

// savePath: the per-user folder, ending in "/".
std::string mapPath(const std::string& savePath, const std::string& name);
std::string tablePath(const std::string& savePath, const std::string& name);
// A track of that name exists, so saving would replace it and its scores.
bool exists(const std::string& savePath, const std::string& name);

// Writes the track file and an empty high-score table and deletes the ghost, as one change
// (the folder is settled when next listed), and drops the track's cached images. False with the
// reason in error when the name is refused or a file can't be written; then the old track, its
// table and ghost stay. afterEachStep runs after each change to the folder (tests kill there).
bool save(const TrackCells& cells, const std::string& name, const std::string& terrain, const std::string& savePath,
          std::string& error, const std::function<void()>& afterEachStep = nullptr);
}
