// Replaces and removes several files of one folder as one change: whatever instant the process
// dies at, once the folder has been settled (settleInterruptedWrites) its files are either all
// the old ones or all the new ones.
#pragma once

#include <functional>
#include <string>
#include <vector>

class FileGroupWrite
{
public:
    // Writes a file's new content to the path it is given (a staging name); false with the
    // reason in error when it could not.
    using Writer = std::function<bool(const std::string& stagingPath, std::string& error)>;
    // Called after every change to the folder while committing; tests kill the process there.
    using StepHook = std::function<void()>;

    // folder ends in "/"; every file of the group lies directly in it.
    explicit FileGroupWrite(std::string folder);

    // The first file replaced is the group's commit point: the group counts as written from
    // the instant it takes its place.
    void replace(const std::string& fileName, Writer writer);
    void remove(const std::string& fileName);
    void setStepHook(StepHook hook) { afterStep = std::move(hook); }

    // Stages every file, then commits. False with the reason in error when a file could not be
    // staged (nothing changed then) or, after the commit point, when a later step failed.
    bool commit(std::string& error);
    // The commit point was passed: the new files count, even if a later step failed.
    bool isCommitted() const { return committed; }

private:
    struct Change
    {
        std::string fileName;
        Writer writer;  // empty for a removal
        std::string staged;
    };

    void step() const;
    bool stage(std::string& tag, std::string& error);
    void dropStaged() const;

    std::string folder;
    std::vector<Change> changes;
    StepHook afterStep;
    bool committed = false;
};

// Finishes the groups whose commit point was passed, drops those whose was not, and removes
// the temporaries that killed writers left; run before a folder of the game's files is read.
void settleInterruptedWrites(const std::string& folder);
