// Whole-file reads of regular files only.
#include "RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& content, std::string& problem)
{
    // Non-blocking, so that opening a FIFO in the file's place cannot stall the game.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        problem = std::strerror(errno);
        return false;
    }
    struct stat info{};
    problem.clear();
    if (::fstat(fd, &info) != 0)
        problem = std::strerror(errno);
    else if (S_ISDIR(info.st_mode))
        problem = "a folder, not a file";
    else if (!S_ISREG(info.st_mode))
        problem = "not a regular file";
    else if (static_cast<std::size_t>(info.st_size) > maxBytes)
        problem = "larger than " + std::to_string(maxBytes) + " bytes";
    if (problem.empty())
    {
        content.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < content.size())
        {
            const ssize_t got = ::read(fd, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        content.resize(done);
    }
    ::close(fd);
    return problem.empty();
}
