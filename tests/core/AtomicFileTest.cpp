// Whole-or-nothing writes of one file: a killed writer leaves the old file, and its temporary is
// told apart from the player's files and removed.
#include "AtomicFile.h"
#include "FolderManager.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(AtomicFileTest, ReplacesTheFileAndLeavesNoTemporary)
{
    TempFolder temp;
    const std::string path = temp.write("track.map", "old");
    ASSERT_TRUE(writeFileAtomically(path, "new content"));
    EXPECT_EQ("new content", TempFolder::read(path));
    EXPECT_EQ((std::vector<std::string>{".", "..", "track.map"}), FolderManager::getFileList(temp.path()));
    struct stat info;
    ASSERT_EQ(0, stat(path.c_str(), &info));
    EXPECT_EQ(0u, info.st_mode & 0022u) << "never group- or world-writable";
}

TEST(AtomicFileTest, AFailedWriteKeepsTheOldFile)
{
    TempFolder temp;
    const std::string path = temp.write("quillmor.cfg", "old");
    // A folder where the file should be: the rename fails after the data was written.
    std::string error;
    EXPECT_FALSE(writeFileAtomically(temp.path() + "missing/x.cfg", "data", &error));
    EXPECT_NE(std::string::npos, error.find("missing/x.cfg"));
    FolderManager::createFolder(temp.path() + "dir");
    EXPECT_FALSE(writeFileAtomically(temp.path() + "dir", "data", &error));
    EXPECT_EQ("old", TempFolder::read(path));
    EXPECT_EQ((std::vector<std::string>{".", "..", "dir", "quillmor.cfg"}), FolderManager::getFileList(temp.path()))
        << "no temporary file left behind";
}

TEST(AtomicFileTest, AWriterKilledMidwayLeavesThePreviousFile)
{
    TempFolder temp;
    const std::string path = temp.write("quillmor.cfg", "the settings of yesterday");
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
    {
        // Long enough to be caught in the middle of it.
        const std::string huge(512u << 20, 'x');
        writeFileAtomically(path, huge);
        _exit(0);
    }
    usleep(150 * 1000);
    kill(writer, SIGKILL);
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer finished before it could be killed";
    EXPECT_EQ("the settings of yesterday", TempFolder::read(path));
}

TEST(AtomicFileTest, ATargetThatIsNoFileIsLeftAlone)
{
    TempFolder temp;
    const std::string fifo = temp.path() + "ghost.sde.shadow";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    std::string error;
    EXPECT_FALSE(writeFileAtomically(fifo, "a ghost", &error));
    EXPECT_NE(std::string::npos, error.find("ghost.sde.shadow': not a regular file")) << error;
    struct stat info{};
    ASSERT_EQ(0, stat(fifo.c_str(), &info));
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ((std::vector<std::string>{".", "..", "ghost.sde.shadow"}), FolderManager::getFileList(temp.path()));
}

TEST(AtomicFileTest, TheTemporaryOfAWriterKilledAtItsFirstWriteIsRemovedAndNothingElse)
{
    TempFolder temp;
    const std::string path = temp.write("quillmor.cfg", "the settings of yesterday");
    // A player's own files with names close to a temporary's.
    for (const char* name : {"quillmor.cfg.backup", "track.map.tmp-abc", "track.map.tmp-abcdefg", "track.tmp-ab.cd"})
        temp.write(name, "mine");
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0)
    {
        // No byte may be written: the first write kills the writer (SIGXFSZ), right after
        // its temporary was made.
        const struct rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
        writeFileAtomically(path, "today's settings");
        _exit(0);
    }
    int status = 0;
    waitpid(writer, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer was not stopped at its write";
    std::vector<std::string> files = FolderManager::getFileList(temp.path());
    ASSERT_EQ(8u, files.size()) << "an empty temporary is left beside the settings";
    EXPECT_FALSE(temporaryTag(files[4]).empty()) << files[4];

    EXPECT_EQ(1, removeStaleTemporaries(temp.path()));
    EXPECT_EQ((std::vector<std::string>{".", "..", "quillmor.cfg", "quillmor.cfg.backup", "track.map.tmp-abc",
                                        "track.map.tmp-abcdefg", "track.tmp-ab.cd"}),
              FolderManager::getFileList(temp.path()));
    EXPECT_EQ("the settings of yesterday", TempFolder::read(path));
}
