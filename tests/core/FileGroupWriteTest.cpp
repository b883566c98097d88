// Several files replaced as one: a writer killed at any step, then the folder settled, leaves
// all the old files or all the new ones; a failed staging leaves the old ones untouched.
#include "AtomicFile.h"
#include "FileGroupWrite.h"
#include "FolderManager.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using Files = std::map<std::string, std::string>;

Files filesIn(const std::string& folder)
{
    Files files;
    for (const std::string& name : FolderManager::getFileList(folder))
        if (name != "." && name != "..")
            files[name] = TempFolder::read(folder + name);
    return files;
}

FileGroupWrite::Writer writing(const std::string& content)
{
    return [content](const std::string& path, std::string& error) { return writeFileAtomically(path, content, &error); };
}

const Files kOld = {{"a.map", "old map"}, {"a.sde", "old table"}, {"a.sde.shadow", "old ghost"}, {"b.map", "other"}};
const Files kNew = {{"a.map", "new map"}, {"a.sde", "new table"}, {"b.map", "other"}};

void writeOld(const TempFolder& temp)
{
    for (const auto& [name, content] : kOld)
        temp.write(name, content);
}

bool commitNew(const std::string& folder, const FileGroupWrite::StepHook& hook, std::string& error)
{
    FileGroupWrite group(folder);
    group.setStepHook(hook);
    group.replace("a.map", writing("new map"));
    group.replace("a.sde", writing("new table"));
    group.remove("a.sde.shadow");
    return group.commit(error);
}
}

TEST(FileGroupWriteTest, AWriterKilledAtAnyStepLeavesTheOldSetOrTheNewOne)
{
    int oldSets = 0, newSets = 0;
    for (int killAt = 1;; ++killAt)
    {
        TempFolder temp;
        writeOld(temp);
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0)
        {
            int steps = 0;
            std::string error;
            commitNew(temp.path(), [&] {
                if (++steps == killAt)
                    raise(SIGKILL);
            }, error);
            _exit(0);
        }
        int status = 0;
        waitpid(writer, &status, 0);
        settleInterruptedWrites(temp.path());
        const Files files = filesIn(temp.path());
        if (files == kOld)
            ++oldSets;
        else if (files == kNew)
            ++newSets;
        else
            ADD_FAILURE() << "killed at step " << killAt << ": neither the old files nor the new ones";
        if (!WIFSIGNALED(status))
        {
            EXPECT_EQ(kNew, files) << "the writer that finished";
            break;
        }
        ASSERT_LT(killAt, 50) << "the steps never end";
    }
    EXPECT_GE(oldSets, 2) << "kills before the commit point";
    EXPECT_GE(newSets, 2) << "kills after it";
}

TEST(FileGroupWriteTest, AFileThatCannotBeStagedChangesNothing)
{
    TempFolder temp;
    writeOld(temp);
    FileGroupWrite group(temp.path());
    group.replace("a.map", writing("new map"));
    group.replace("a.sde", [](const std::string&, std::string& error) {
        error = "disk full";
        return false;
    });
    group.remove("a.sde.shadow");
    std::string error;
    EXPECT_FALSE(group.commit(error));
    EXPECT_FALSE(group.isCommitted());
    EXPECT_EQ("disk full", error);
    EXPECT_EQ(kOld, filesIn(temp.path())) << "no staged file left, nothing replaced";
}

TEST(FileGroupWriteTest, SettlingLeavesThePlayersFilesAlone)
{
    TempFolder temp;
    const Files players = {{"a.map.backup", "1"}, {"a.sde.after-12345", "2"}, {"a.sde.after-1234567", "3"},
                           {"a.remove-after-abc", "4"}, {"after-abcdef", "5"}};
    for (const auto& [name, content] : players)
        temp.write(name, content);
    settleInterruptedWrites(temp.path());
    EXPECT_EQ(players, filesIn(temp.path()));
}
