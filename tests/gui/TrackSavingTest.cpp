// Saving an editor track: the name check, the files written (track, empty table, no ghost),
// the same bytes on a second save, nothing outside the player's maps folder, and a save
// killed midway leaving a whole track.
#include "HighScore.h"
#include "XMLParser.h"
#include "gui/TrackCells.h"
#include "gui/TrackPainter.h"
#include "gui/TrackSaving.h"
#include "track/TrackFileList.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

namespace
{
std::unique_ptr<TrackObjectDesc> tileType(const std::string& name, int width = 1, int height = 1)
{
    auto desc = std::make_unique<TrackObjectDesc>();
    desc->name = name;
    desc->width = width;
    desc->height = height;
    desc->start = name == "Start";
    desc->finish = name == "Finish";
    desc->checkpoint = name == "Checkpoint";
    return desc;
}

TrackObjectDescs catalogue()
{
    TrackObjectDescs descs;
    for (const char* name : {"Start", "Finish", "Checkpoint", "Straight"})
        descs[name] = tileType(name);
    descs["Wide"] = tileType("Wide", 2, 2);
    return descs;
}

// Every file below the folder, relative to it.
void listFiles(const std::string& folder, const std::string& prefix, std::set<std::string>& files)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir))
    {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat status{};
        const std::string path = folder + name;
        if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            listFiles(path + "/", prefix + name + "/", files);
        else
            files.insert(prefix + name);
    }
    closedir(dir);
}

struct UserFolder
{
    TempFolder home;
    UserFolder()
    {
        mkdir((home.path() + "maps").c_str(), 0700);
        mkdir((home.path() + "maps/stdHighscore").c_str(), 0700);
    }
    std::set<std::string> files() const
    {
        std::set<std::string> found;
        listFiles(home.path(), "", found);
        return found;
    }
};

void placeTrack(TrackCells& cells, const TrackObjectDescs& types)
{
    TrackPainter painter(cells);
    painter.place(EditorTrackObject(*types.at("Start"), 1), 30, 32);
    painter.place(EditorTrackObject(*types.at("Straight"), 0), 30, 33);
    painter.place(EditorTrackObject(*types.at("Wide"), 2), 31, 34);
    painter.place(EditorTrackObject(*types.at("Checkpoint"), 3), 30, 34);
    painter.place(EditorTrackObject(*types.at("Finish"), 0), 29, 35);
}
}

TEST(TrackSaving, BadNamesAreRefusedAndWriteNothing)
{
    const char* refused[] = {
        "", "../escape", "a/b", "/abs", ".", "..", ".hidden", "name.map", "tab\there", "line\nbreak",
        "caf\xc3\xa9", "star*", "back\\slash", "quote\"", "12345678901234567890123456789012345678901",
    };
    const TrackObjectDescs types = catalogue();
    TrackCells cells(80, 80);
    placeTrack(cells, types);
    for (const char* name : refused)
    {
        UserFolder user;
        const std::set<std::string> before = user.files();
        std::string error;
        EXPECT_FALSE(TrackSaving::save(cells, name, "Grass", user.home.path(), error)) << name;
        EXPECT_FALSE(error.empty()) << name;
        EXPECT_FALSE(TrackSaving::nameProblem(name).empty()) << name;
        EXPECT_EQ(user.files(), before) << name;
        EXPECT_FALSE(TrackSaving::exists(user.home.path(), name)) << name;
    }
    for (const char* name : {"E2E Test", "a", "my-track_2", "1234567890123456789012345678901234567890"})
        EXPECT_EQ(TrackSaving::nameProblem(name), "") << name;
}

TEST(TrackSaving, SavesTrackAndEmptyTableAndTheSameBytesAfterALoad)
{
    UserFolder user;
    const TrackObjectDescs types = catalogue();
    TrackCells cells(80, 80);
    placeTrack(cells, types);
    std::string error;
    ASSERT_TRUE(TrackSaving::save(cells, "E2E Test", "Grass", user.home.path(), error)) << error;
    EXPECT_EQ(user.files(), (std::set<std::string>{"maps/E2E Test.map", "maps/E2E Test.sde"}));
    EXPECT_TRUE(TrackSaving::exists(user.home.path(), "E2E Test"));
    EXPECT_EQ(HighScore::load(TrackSaving::tablePath(user.home.path(), "E2E Test")).size(), 0u);

    const std::string path = user.home.path() + "maps/E2E Test.map";
    const std::string first = TempFolder::read(path);
    const auto description = XMLParser::getInstance()->loadMapDescription(path);
    EXPECT_EQ(description->name, "E2E Test.map");
    EXPECT_EQ(description->highscoreName, "E2E Test.sde");
    EXPECT_EQ(description->terrainName, "Grass");

    // Loaded back, the same cells hold the same tiles, and a second save writes the same bytes.
    TrackCells loaded(80, 80);
    std::vector<std::string> skipped;
    EXPECT_EQ(loaded.load(XMLParser::getInstance()->loadMap(path, &types), types, skipped), 1);
    EXPECT_TRUE(skipped.empty());
    for (int column = 0; column < 80; ++column)
    {
        for (int row = 0; row < 80; ++row)
        {
            const EditorTrackObject* a = cells.at(column, row);
            const EditorTrackObject* b = loaded.at(column, row);
            ASSERT_EQ(a == nullptr, b == nullptr) << column << "," << row;
            if (!a)
                continue;
            EXPECT_EQ(a->getName(), b->getName());
            EXPECT_EQ(a->getRotation(), b->getRotation());
            EXPECT_EQ(a->getCheckPointNumber(), b->getCheckPointNumber());
        }
    }
    EXPECT_EQ(loaded.placedTiles().size(), 5u) << "the wide tile is one entry";
    ASSERT_TRUE(TrackSaving::save(loaded, "E2E Test", "Grass", user.home.path(), error)) << error;
    EXPECT_EQ(TempFolder::read(path), first);
}

TEST(TrackSaving, OverwritingEmptiesTheTableAndDeletesTheGhostOfThatTrackOnly)
{
    UserFolder user;
    const std::string maps = user.home.path() + "maps/";
    // A built-in track of the same name keeps its table and ghost in stdHighscore/.
    user.home.write("maps/stdHighscore/TestLoop.sde", "built-in table");
    user.home.write("maps/stdHighscore/TestLoop.sde.shadow", "built-in ghost");
    user.home.write("maps/TestLoop.sde", "old table");
    user.home.write("maps/TestLoop.sde.shadow", "old ghost");
    user.home.write("maps/Other.sde.shadow", "other ghost");
    mkdir((user.home.path() + "tmp").c_str(), 0700);
    mkdir((user.home.path() + "tmp/mapdata").c_str(), 0700);
    user.home.write("tmp/mapdata/TestLoop.map.Lightmap.png", "stale");
    user.home.write("tmp/mapdata/TestLoop.map2.Lightmap.png", "another track's");

    const TrackObjectDescs types = catalogue();
    TrackCells cells(80, 80);
    placeTrack(cells, types);
    std::string error;
    ASSERT_TRUE(TrackSaving::save(cells, "TestLoop", "Grass", user.home.path(), error)) << error;
    EXPECT_EQ(HighScore::load(maps + "TestLoop.sde").size(), 0u);
    EXPECT_NE(TempFolder::read(maps + "TestLoop.sde"), "old table");
    EXPECT_EQ(TempFolder::read(maps + "TestLoop.sde.shadow"), "");
    EXPECT_EQ(TempFolder::read(maps + "stdHighscore/TestLoop.sde"), "built-in table");
    EXPECT_EQ(TempFolder::read(maps + "stdHighscore/TestLoop.sde.shadow"), "built-in ghost");
    EXPECT_EQ(TempFolder::read(maps + "Other.sde.shadow"), "other ghost");
    const std::set<std::string> files = user.files();
    EXPECT_EQ(files.count("tmp/mapdata/TestLoop.map.Lightmap.png"), 0u);
    EXPECT_EQ(files.count("tmp/mapdata/TestLoop.map2.Lightmap.png"), 1u);
}

TEST(TrackSaving, AFailedWriteIsReportedAndLeavesTheScoresAlone)
{
    // "maps" is a file, not a folder: nothing can be written below it.
    TempFolder home;
    home.write("maps", "not a folder");
    const TrackObjectDescs types = catalogue();
    TrackCells cells(80, 80);
    placeTrack(cells, types);
    std::string error;
    EXPECT_FALSE(TrackSaving::save(cells, "Track", "Grass", home.path(), error));
    EXPECT_NE(error.find("could not be written"), std::string::npos) << error;
    EXPECT_EQ(TempFolder::read(home.path() + "maps"), "not a folder");
}

TEST(TrackSaving, ASaveOverATrackKilledAtAnyStepLeavesTheOldTrackOrTheNewOneWhole)
{
    const TrackObjectDescs types = catalogue();
    TrackCells cells(80, 80);
    placeTrack(cells, types);
    bool sawOld = false, sawNew = false;
    for (int killAt = 1;; ++killAt)
    {
        UserFolder user;
        const std::string maps = user.home.path() + "maps/";
        user.home.write("maps/Oval.map", "old track");
        user.home.write("maps/Oval.sde", "old table");
        user.home.write("maps/Oval.sde.shadow", "old ghost");
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0)
        {
            int steps = 0;
            std::string error;
            TrackSaving::save(cells, "Oval", "Grass", user.home.path(), error, [&] {
                if (++steps == killAt)
                    raise(SIGKILL);
            });
            _exit(0);
        }
        int status = 0;
        waitpid(saver, &status, 0);
        // The level menu's listing settles the folder before anything reads it.
        ASSERT_EQ(listTrackFiles(maps).size(), 1u);
        const std::set<std::string> files = user.files();
        const std::string track = TempFolder::read(maps + "Oval.map");
        if (track == "old track")
        {
            sawOld = true;
            EXPECT_EQ(TempFolder::read(maps + "Oval.sde"), "old table") << "killed at " << killAt;
            EXPECT_EQ(TempFolder::read(maps + "Oval.sde.shadow"), "old ghost") << "killed at " << killAt;
            EXPECT_EQ(files.size(), 3u) << "killed at " << killAt;
        }
        else
        {
            sawNew = true;
            EXPECT_NE(track.find("<Map name=\"Oval.map\""), std::string::npos) << "killed at " << killAt;
            EXPECT_NE(TempFolder::read(maps + "Oval.sde"), "old table") << "killed at " << killAt;
            EXPECT_EQ(HighScore::load(maps + "Oval.sde").size(), 0u) << "killed at " << killAt;
            EXPECT_EQ(files, (std::set<std::string>{"maps/Oval.map", "maps/Oval.sde"})) << "killed at " << killAt;
        }
        if (!WIFSIGNALED(status))
            break;
        ASSERT_LT(killAt, 50) << "the save never ends";
    }
    EXPECT_TRUE(sawOld && sawNew);
}
