// Folder operations and the debug log.
#include "FolderManager.h"
#include "LogStream.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(FolderManagerTest, TestOrCreate)
{
    TempFolder temp;
    const std::string folder = temp.path() + "new";
    EXPECT_FALSE(FolderManager::folderExists(folder, false));
    EXPECT_TRUE(FolderManager::folderExists(folder, true));
    struct stat info;
    ASSERT_EQ(0, stat(folder.c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 0777u);
    EXPECT_TRUE(FolderManager::folderExists(folder, true)) << "second call finds it";
    EXPECT_TRUE(FolderManager::folderExists(folder, false));

    EXPECT_FALSE(FolderManager::folderExists(temp.path() + "missing/child", true)) << "parents are not created";
    EXPECT_FALSE(FolderManager::folderExists(temp.path() + "missing", false));

    const std::string file = temp.write("plain", "x");
    EXPECT_FALSE(FolderManager::folderExists(file, true)) << "a file of that name is no folder";
}

TEST(FolderManagerTest, CreatingAFolderLeavesTheUmaskAlone)
{
    TempFolder temp;
    const mode_t before = umask(022);
    FolderManager::createFolder(temp.path() + "f");
    const mode_t after = umask(before);
    EXPECT_EQ(022u, after);
}

TEST(FolderManagerTest, ListIsInByteOrderWithDotEntries)
{
    TempFolder temp;
    temp.write("b.map", "");
    temp.write("a.map", "");
    temp.write("Z.map", "");
    FolderManager::createFolder(temp.path() + "c");
    EXPECT_EQ((std::vector<std::string>{".", "..", "Z.map", "a.map", "b.map", "c"}),
              FolderManager::getFileList(temp.path()));
    EXPECT_TRUE(FolderManager::getFileList(temp.path() + "missing").empty());
}

TEST(LogStreamTest, TruncatesOnFirstOpenAndAppendsOnReopen)
{
    TempFolder temp;
    const std::string path = temp.write("debug.txt", "stale line from last run\n");
    LogStream::destroy();
    LogStream* log = LogStream::getInstance();
    ASSERT_TRUE(log->open(path));
    log->getStream() << "pi " << 3.14159 << std::endl;
    // An engine restart opens the same log again: the first run's lines stay.
    ASSERT_TRUE(log->open(path));
    log->getStream() << "after restart" << std::endl;
    EXPECT_EQ("pi 3.14\nafter restart\n", TempFolder::read(path));
    EXPECT_FALSE(log->open(temp.path() + "missing/debug.txt"));
    LogStream::destroy();
}
