// Status checks and whole-file reads of regular files only.
#include "RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string kindProblem(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return "a folder, not a file";
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    return "";
}
}

std::string regularFileProblem(const std::string& path)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    return kindProblem(info);
}

bool isRegularFile(const std::string& path)
{
    return regularFileProblem(path).empty();
}

bool isAbsentOrRegularFile(const std::string& path, std::string* problem)
{
    struct stat info{};
    std::string reason;
    if (::stat(path.c_str(), &info) == 0)
        reason = kindProblem(info);
    else if (errno != ENOENT)
        reason = std::strerror(errno);
    if (problem)
        *problem = reason;
    return reason.empty();
}

bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& content, std::string& problem)
{
    problem = regularFileProblem(path);
    if (!problem.empty())
        return false;
    // Non-blocking too, so that a FIFO swapped in after the check cannot stall the game.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        problem = std::strerror(errno);
        return false;
    }
    struct stat info{};
    if (::fstat(fd, &info) != 0)
        problem = std::strerror(errno);
    else
        problem = kindProblem(info);
    if (problem.empty() && static_cast<std::size_t>(info.st_size) > maxBytes)
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
