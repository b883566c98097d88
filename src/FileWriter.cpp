// The file operations of whole-or-nothing writes.
#include "FileWriter.h"

#include "AtomicFile.h"
#include "RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool fail(std::string& error, const std::string& what, const std::string& path)
{
    error = what + " '" + path + "': " + std::strerror(errno);
    return false;
}

// Removes the file, keeping errno for the caller's message.
void removeKeepingErrno(const std::string& path)
{
    const int saved = errno;
    ::unlink(path.c_str());
    errno = saved;
}
}  // namespace

bool FileWriter::writeTemporary(const std::string& path, const std::string& content, std::string& temporary,
                                std::string& error)
{
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
            close(fd);
            removeKeepingErrno(temporary);
            return fail(error, "cannot write", path);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    if (fsync(fd) != 0)
    {
        close(fd);
        removeKeepingErrno(temporary);
        return fail(error, "cannot flush", path);
    }
    if (close(fd) != 0)
    {
        removeKeepingErrno(temporary);
        return fail(error, "cannot flush", path);
    }
    return true;
}

bool FileWriter::keepCopy(const std::string& path, std::string& copy, std::string& error)
{
    copy.clear();
    struct stat info{};
    if (::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT || fail(error, "cannot look at", path);
    // A hard link costs nothing; where the file system has none, a copy of the bytes.
    std::string name;
    const int fd = createTemporaryFor(path, name);
    if (fd < 0)
        return fail(error, "cannot keep a copy of", path);
    close(fd);
    ::unlink(name.c_str());
    if (::link(path.c_str(), name.c_str()) == 0)
    {
        copy = name;
        return true;
    }
    std::string content;
    std::string problem;
    if (!readRegularFile(path, static_cast<std::size_t>(info.st_size), content, problem))
    {
        error = "cannot keep a copy of '" + path + "': " + problem;
        return false;
    }
    return writeTemporary(path, content, copy, error);
}

bool FileWriter::replace(const std::string& from, const std::string& to, std::string& error)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    return fail(error, "cannot replace", to);
}

void FileWriter::remove(const std::string& path)
{
    ::unlink(path.c_str());
}

FileWriter& FileWriter::system()
{
    static FileWriter writer;
    return writer;
}
