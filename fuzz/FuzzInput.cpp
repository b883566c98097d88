// Scratch files for the fuzz targets.
#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

const std::string& fuzzFolder()
{
    static const std::string folder = [] {
        std::string pattern = "/tmp/quillmor-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("no scratch folder");
        return pattern + "/";
    }();
    return folder;
}

std::string writeFuzzInput(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = fuzzFolder() + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}
