// Reading an archive file whole, as a regular file of bounded size.
#include "BoundedArchive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Non-blocking, so that a FIFO in the file's place cannot stall the game.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info{};
    std::string problem;
    if (::fstat(fd, &info) != 0)
        problem = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        problem = "not a regular file";
    else if (static_cast<std::size_t>(info.st_size) > kMaxFileBytes)
        problem = "larger than " + std::to_string(kMaxFileBytes) + " bytes";
    const bool ok = problem.empty();
    if (!ok)
        error = path + ": " + problem;
    else
    {
        content.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < content.size())
        {
            const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        content.resize(done);
    }
    ::close(fd);
    return ok;
}
}
