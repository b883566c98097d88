// Whole-or-nothing file writes through a temporary file and rename.
#include "AtomicFile.h"

#include "FolderManager.h"
#include "RegularFile.h"

#include <cctype>
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

const char* const kTemporaryInfix = ".tmp-";

std::string temporaryTag(const std::string& fileName)
{
    const std::size_t infix = std::strlen(kTemporaryInfix);
    if (fileName.size() <= infix + kTemporaryTagLength)
        return "";
    const std::size_t at = fileName.size() - kTemporaryTagLength - infix;
    if (fileName.compare(at, infix, kTemporaryInfix) != 0)
        return "";
    const std::string tag = fileName.substr(at + infix);
    for (const char c : tag)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return "";
    return tag;
}

int createTemporaryFor(const std::string& path, std::string& temporary)
{
    temporary = path + kTemporaryInfix + std::string(kTemporaryTagLength, 'X');
    const int fd = mkstemp(temporary.data());
    // mkstemp makes 0600; the game's files are the user's, readable by others as usual.
    if (fd >= 0)
        fchmod(fd, 0644 & ~currentUmask());
    return fd;
}

int removeStaleTemporaries(const std::string& folder)
{
    int removed = 0;
    for (const std::string& name : FolderManager::getFileList(folder))
        if (!temporaryTag(name).empty() && isRegularFile(folder + name) && unlink((folder + name).c_str()) == 0)
            ++removed;
    return removed;
}

bool writeFileAtomically(const std::string& path, const std::string& content, std::string* error)
{
    std::string problem;
    if (!isAbsentOrRegularFile(path, &problem))
    {
        if (error)
            *error = "cannot replace '" + path + "': " + problem;
        return false;
    }
    std::string temporary;
    const int fd = createTemporaryFor(path, temporary);
    if (fd < 0)
        return fail(error, "cannot create a temporary file for", path);

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

WholeFileWriter wholeFileWriter()
{
    return [](const std::string& path, const std::string& content, std::string& error) {
        return writeFileAtomically(path, content, &error);
    };
}
