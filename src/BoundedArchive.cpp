// Reading an archive file whole, as a regular file of bounded size.
#include "BoundedArchive.h"

#include "RegularFile.h"

#include <cstring>

namespace bounded_archive
{
bool hasArchiveHeader(const std::string& content)
{
    static const std::string signature = "serialization::archive";
    const std::uint64_t length = signature.size();
    return content.size() >= sizeof length + signature.size() &&
           std::memcmp(content.data(), &length, sizeof length) == 0 &&
           content.compare(sizeof length, signature.size(), signature) == 0;
}

bool readFile(const std::string& path, std::string& content, std::string& error)
{
    std::string problem;
    if (readRegularFile(path, kMaxFileBytes, content, problem))
        return true;
    error = path + ": " + problem;
    return false;
}
}
