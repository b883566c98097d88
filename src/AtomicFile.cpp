// Whole-or-nothing file writes through a temporary file and rename.
#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
mode_t currentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

bool fail(std::string* error, const std::string& what, const std::string& path)
{
    if (error)
        *error = what + " '" + path + "': " + std::strerror(errno);
    return false;
}
}

bool writeFileAtomically(const std::string& path, const std::string& content, std::string* error)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return fail(error, "cannot create a temporary file for", path);
    // mkstemp makes 0600; the game's files are the user's, readable by others as usual.
    fchmod(fd, 0644 & ~currentUmask());

    const char* data = content.data();
    size_t left = content.size();
    while (left > 0)
    {
        const ssize_t written = write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
        {
            const int saved = errno;
            close(fd);
            unlink(temporary.c_str());
            errno = saved;
            return fail(error, "cannot write", path);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    if (fsync(fd) != 0 || close(fd) != 0)
    {
        const int saved = errno;
        unlink(temporary.c_str());
        errno = saved;
        return fail(error, "cannot flush", path);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        const int saved = errno;
        unlink(temporary.c_str());
        errno = saved;
        return fail(error, "cannot replace", path);
    }
    return true;
}
