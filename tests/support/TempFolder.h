// A fresh folder under /tmp for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in "/".
    const std::string& path() const { return folderPath; }
    // Writes a file below the folder and returns its full path.
    std::string write(const std::string& name, const std::string& content) const;
    // Reads a whole file; empty when it can't be read.
    static std::string read(const std::string& path);

private:
    std::string folderPath;
};
