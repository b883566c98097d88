// What may stand where the game reads or writes a file, told from the file's status alone.
#include "RegularFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(RegularFileTest, OnlyRegularFilesAreOpenedAndNothingIsTheOnlyOtherPlaceToWrite)
{
    TempFolder temp;
    temp.write("table.sde", "bytes");
    ASSERT_EQ(0, mkdir((temp.path() + "folder").c_str(), 0700));
    ASSERT_EQ(0, mkfifo((temp.path() + "ghost.shadow").c_str(), 0600));
    ASSERT_EQ(0, symlink((temp.path() + "table.sde").c_str(), (temp.path() + "link.sde").c_str()));
    ASSERT_EQ(0, symlink((temp.path() + "nowhere").c_str(), (temp.path() + "dangling.sde").c_str()));
    struct Case
    {
        const char* what;
        std::string path;
        bool regular;
        bool absentOrRegular;
        const char* problem;
    };
    const Case cases[] = {
        {"a regular file", temp.path() + "table.sde", true, true, ""},
        {"a link to one", temp.path() + "link.sde", true, true, ""},
        {"nothing", temp.path() + "none.sde", false, true, "No such file"},
        {"a dangling link: writing replaces the link", temp.path() + "dangling.sde", false, true, "No such file"},
        {"a folder", temp.path() + "folder", false, false, "a folder, not a file"},
        {"a FIFO", temp.path() + "ghost.shadow", false, false, "not a regular file"},
        {"a device", "/dev/null", false, false, "not a regular file"},
        {"below a file", temp.path() + "table.sde/x", false, false, "Not a directory"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.regular, isRegularFile(c.path)) << c.what;
        std::string problem = "unchanged";
        EXPECT_EQ(c.absentOrRegular, isAbsentOrRegularFile(c.path, &problem)) << c.what;
        EXPECT_EQ(c.absentOrRegular, problem.empty()) << c.what << ": " << problem;
        const std::string regularProblem = regularFileProblem(c.path);
        EXPECT_EQ(0u, regularProblem.find(c.problem)) << c.what << ": " << regularProblem;
    }
}
