// The game's only access to folders: test-or-create a folder and list its entries.
#pragma once

#include <string>
#include <vector>

class FolderManager
{
public:
    virtual ~FolderManager() = default;

    // Creates one folder, readable and writable by its owner only (mode 0700).
    // False when it exists already, its parent is missing or permission is denied.
    static bool createFolder(const std::string& path);
    // True when path opens as a folder; otherwise creates it when create is set.
    // Only the last component is created.
    static bool folderExists(const std::string& path, bool create);
    // Every entry of the folder ("." and ".." included) in byte order; empty when it can't be read.
    static std::vector<std::string> getFileList(const std::string& path);
};
