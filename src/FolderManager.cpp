// Folder operations over POSIX.
#include "FolderManager.h"

#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

bool FolderManager::createFolder(const std::string& path)
{
    // The process umask stays as the user set it: 0700 is not widened by any umask,
    // and the files the game writes must not become world-writable.
    return mkdir(path.c_str(), 0700) == 0;
}

bool FolderManager::folderExists(const std::string& path, bool create)
{
    if (DIR* folder = opendir(path.c_str()))
    {
        closedir(folder);
        return true;
    }
    return create && createFolder(path);
}

std::vector<std::string> FolderManager::getFileList(const std::string& path)
{
    std::vector<std::string> names;
    if (!folderExists(path, false))
        return names;
    dirent** entries = nullptr;
    const int count = scandir(path.c_str(), &entries, nullptr, alphasort);
    if (count < 0)
        return names;
    for (int i = 0; i < count; ++i)
    {
        names.emplace_back(entries[i]->d_name);
        free(entries[i]);
    }
    free(entries);
    return names;
}
