// Several files replaced as one, through staged copies and one commit rename.
#include "FileGroupWrite.h"

#include "AtomicFile.h"
#include "FolderManager.h"
#include "RegularFile.h"

#include <cassert>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

// The lead's staged copy is an ordinary temporary "<lead>.tmp-<tag>"; it stays until the commit
// renames it. Every other change is staged under the same tag: "<file>.after-<tag>" holds a
// replacement, an empty "<file>.remove-after-<tag>" a removal. A follower whose lead temporary
// is gone belongs to a committed group and is carried out; one whose lead is still there
// belongs to a group that never committed and is dropped.
namespace
{
const std::string kReplaceMark = ".after-";
const std::string kRemoveMark = ".remove-after-";

// The follower's target and tag when fileName is a staged follower of either kind.
bool parseFollower(const std::string& fileName, const std::string& mark, std::string& target, std::string& tag)
{
    const std::size_t length = mark.size() + kTemporaryTagLength;
    if (fileName.size() <= length || fileName.compare(fileName.size() - length, mark.size(), mark) != 0)
        return false;
    target = fileName.substr(0, fileName.size() - length);
    tag = fileName.substr(fileName.size() - kTemporaryTagLength);
    return true;
}

bool hasTemporaryTagged(const std::vector<std::string>& files, const std::string& tag)
{
    for (const std::string& name : files)
        if (temporaryTag(name) == tag)
            return true;
    return false;
}

bool createEmpty(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool flushed = ::fsync(fd) == 0;
    return ::close(fd) == 0 && flushed;
}
}

FileGroupWrite::FileGroupWrite(std::string folder) : folder(std::move(folder)) {}

void FileGroupWrite::replace(const std::string& fileName, Writer writer)
{
    assert(writer && fileName.find('/') == std::string::npos);
    changes.push_back({fileName, std::move(writer), ""});
}

void FileGroupWrite::remove(const std::string& fileName)
{
    assert(fileName.find('/') == std::string::npos);
    changes.push_back({fileName, nullptr, ""});
}

void FileGroupWrite::step() const
{
    if (afterStep)
        afterStep();
}

void FileGroupWrite::dropStaged() const
{
    // Followers first: with the lead's temporary still there they can never be carried out.
    for (auto change = changes.rbegin(); change != changes.rend(); ++change)
        if (!change->staged.empty())
            ::unlink(change->staged.c_str());
}

bool FileGroupWrite::stage(std::string& tag, std::string& error)
{
    Change& lead = changes.front();
    for (const Change& change : changes)
        if (!isAbsentOrRegularFile(folder + change.fileName, &error))
        {
            error = folder + change.fileName + ": " + error;
            return false;
        }
    // The lead's temporary reserves the tag before anything else is staged.
    const int fd = createTemporaryFor(folder + lead.fileName, lead.staged);
    if (fd < 0)
    {
        error = "cannot create a temporary file for " + folder + lead.fileName + ": " + std::strerror(errno);
        lead.staged.clear();
        return false;
    }
    ::close(fd);
    step();
    tag = temporaryTag(lead.staged.substr(folder.size()));
    if (!lead.writer(lead.staged, error))
        return false;
    step();
    for (Change& change : changes)
    {
        if (&change == &lead)
            continue;
        const std::string staged = folder + change.fileName + (change.writer ? kReplaceMark : kRemoveMark) + tag;
        const bool done = change.writer ? change.writer(staged, error) : createEmpty(staged);
        if (isRegularFile(staged))
            change.staged = staged;
        if (!done)
        {
            if (error.empty())
                error = "cannot stage " + staged + ": " + std::strerror(errno);
            return false;
        }
        step();
    }
    return true;
}

bool FileGroupWrite::commit(std::string& error)
{
    if (changes.empty())
        return true;
    assert(changes.front().writer && "the commit point is a replacement");
    error.clear();
    std::string tag;
    if (!stage(tag, error))
    {
        dropStaged();
        return false;
    }
    const Change& lead = changes.front();
    if (std::rename(lead.staged.c_str(), (folder + lead.fileName).c_str()) != 0)
    {
        error = "cannot replace " + folder + lead.fileName + ": " + std::strerror(errno);
        dropStaged();
        return false;
    }
    committed = true;
    step();
    // Past the commit point: what fails now is finished when the folder is next settled.
    for (const Change& change : changes)
    {
        if (&change == &lead)
            continue;
        const std::string target = folder + change.fileName;
        const bool done = change.writer ? std::rename(change.staged.c_str(), target.c_str()) == 0
                                        : (::unlink(target.c_str()) == 0 || errno == ENOENT) &&
                                              ::unlink(change.staged.c_str()) == 0;
        if (!done && error.empty())
            error = "cannot finish " + target + ": " + std::strerror(errno);
        step();
    }
    return error.empty();
}

void settleInterruptedWrites(const std::string& folder)
{
    const std::vector<std::string> files = FolderManager::getFileList(folder);
    for (const std::string& name : files)
    {
        std::string target, tag;
        const bool replacement = parseFollower(name, kReplaceMark, target, tag);
        if (!replacement && !parseFollower(name, kRemoveMark, target, tag))
            continue;
        const std::string staged = folder + name;
        if (!isRegularFile(staged))
            continue;
        if (hasTemporaryTagged(files, tag))
            ::unlink(staged.c_str());
        else if (replacement)
            std::rename(staged.c_str(), (folder + target).c_str());
        else if (::unlink((folder + target).c_str()) == 0 || errno == ENOENT)
            ::unlink(staged.c_str());
    }
    removeStaleTemporaries(folder);
}
