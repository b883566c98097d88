// Whole-or-nothing writes of one file or of files that belong together, and the temporary
// files they go through.
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
    return writeFilesAtomically({{path, content}}, error);
}

bool writeFilesAtomically(const std::vector<FileContent>& files, std::string* error, FileWriter& writer)
{
    std::vector<std::string> temporaries;  // "" once renamed
    std::vector<std::string> oldCopies;    // "" where there was no file, or once put back
    const auto removeLeftovers = [&] {
        for (const std::vector<std::string>* names : {&temporaries, &oldCopies})
            for (const std::string& name : *names)
                if (!name.empty())
                    writer.remove(name);
    };
    const auto failWith = [&](const std::string& reason) {
        removeLeftovers();
        if (error)
            *error = reason;
        return false;
    };
    std::string reason;
    for (const FileContent& file : files)
        if (!isAbsentOrRegularFile(file.path, &reason))
            return failWith("cannot replace '" + file.path + "': " + reason);
    for (const FileContent& file : files)
    {
        std::string temporary;
        if (!writer.writeTemporary(file.path, file.content, temporary, reason))
            return failWith(reason);
        temporaries.push_back(temporary);
    }
    // One rename is a single step; with more, the old files are kept under second names, so
    // that a failed rename can put back the ones renamed before it.
    if (files.size() > 1)
        for (const FileContent& file : files)
        {
            std::string copy;
            if (!writer.keepCopy(file.path, copy, reason))
                return failWith(reason);
            oldCopies.push_back(copy);
        }
    for (std::size_t i = 0; i < files.size(); ++i)
    {
        if (writer.replace(temporaries[i], files[i].path, reason))
        {
            temporaries[i].clear();
            continue;
        }
        for (std::size_t j = 0; j < i; ++j)
        {
            std::string why;
            if (oldCopies[j].empty())
                writer.remove(files[j].path);  // there was none before
            else if (writer.replace(oldCopies[j], files[j].path, why))
                oldCopies[j].clear();
            else
            {
                reason += "; the old '" + files[j].path + "' could not be put back (" + why + ") and is kept as '" +
                          oldCopies[j] + "'";
                oldCopies[j].clear();
            }
        }
        return failWith(reason);
    }
    removeLeftovers();
    return true;
}
