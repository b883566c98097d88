// Per-test scratch folders.
#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempFolder::TempFolder()
{
    char pattern[] = "/tmp/quillmor-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create a temporary folder");
    folderPath = std::string(pattern) + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folderPath, ignored);
}

std::string TempFolder::write(const std::string& name, const std::string& content) const
{
    const std::string fullPath = folderPath + name;
    std::ofstream(fullPath, std::ios::binary) << content;
    return fullPath;
}

std::string TempFolder::read(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}
