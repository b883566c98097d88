// Which files of a folder the level menu lists as tracks, and in what order.
#include "track/TrackFileList.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

TEST(TrackFileList, ListsOnlyMapFilesInByteOrderOfTheirNames)
{
    TempFolder folder;
    for (const char* name : {"b.map", "Z.map", "a.map", "a.map.bak", "UPPER.MAP", "noextension", "notes.txt",
                             "two.dots.map", ".map"})
        folder.write(name, "<Map/>");

    std::vector<std::string> names, paths;
    for (const TrackFile& track : listTrackFiles(folder.path()))
    {
        names.push_back(track.baseName);
        paths.push_back(track.path);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Z", "a", "b", "two.dots"}));
    EXPECT_EQ(paths.front(), folder.path() + "Z.map");
}

TEST(TrackFileList, MissingOrEmptyFolderListsNothing)
{
    TempFolder folder;
    EXPECT_TRUE(listTrackFiles(folder.path()).empty());
    EXPECT_TRUE(listTrackFiles(folder.path() + "absent/").empty());
}
