// The race clock's texts, the ten best runs, and the table file with damaged and hostile files.
#include "CarStateWriter.h"
#include "DamagedArchives.h"
#include "HighScore.h"
#include "HighScorePath.h"
#include "RaceTimer.h"
#include "ReferenceRaceFiles.h"
#include "track/MapDescription.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

namespace
{
Score run(std::uint32_t ms, const std::string& name = "")
{
    Score score;
    score.setTotal(ms, RaceTimer::toString(ms));
    score.addCheckPoint(static_cast<std::int32_t>(ms / 2), RaceTimer::toString(ms / 2));
    score.setName(name);
    return score;
}

HighScore tableOf(std::initializer_list<std::uint32_t> times)
{
    HighScore table;
    for (std::uint32_t ms : times)
    {
        const Score score = run(ms, std::to_string(ms));
        table.addScore(&score);
    }
    return table;
}

std::vector<std::uint32_t> timesOf(const HighScore& table)
{
    std::vector<std::uint32_t> times;
    for (int rank = 1; rank <= static_cast<int>(table.size()); ++rank)
        times.push_back(table.getScore(rank)->getTotalTime());
    return times;
}

bool exists(const std::string& path)
{
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0;
}
}

TEST(RaceTimer, ClockTexts)
{
    struct Case
    {
        std::uint32_t ms;
        const char* text;
    };
    const Case cases[] = {{0, "00:00:00:00"},          {83456, "00:01:23:45"},     {59999, "00:00:59:99"},
                          {60000, "00:01:00:00"},      {3600000, "01:00:00:00"},   {360000000, "100:00:00:00"},
                          {4294967295u, "1193:02:47:29"}};
    for (const Case& c : cases)
        EXPECT_EQ(RaceTimer::toString(c.ms), c.text) << c.ms;
}

TEST(RaceTimer, CountsWholeMillisecondsWhileRunning)
{
    RaceTimer timer;
    timer.update(1.0f);
    EXPECT_EQ(timer.getTime(), 0u) << "stopped";
    timer.start();
    timer.update(0.0149f);
    EXPECT_EQ(timer.getTime(), 14u);
    for (int step = 0; step < 100; ++step)
        timer.update(0.01f);
    EXPECT_EQ(timer.getTime(), 1014u);
    timer.restart();
    EXPECT_EQ(timer.getTime(), 0u);
    EXPECT_TRUE(timer.isRunning());
}

TEST(HighScore, RunsEnterInOrderAndTiesRankBelow)
{
    HighScore table;
    const Score first = run(50000);
    table.addScore(&first);
    EXPECT_EQ(table.getLastRank(), 1);
    table.addScore(nullptr);
    EXPECT_EQ(table.size(), 1u);

    HighScore full = tableOf({10, 20, 30, 40, 50, 60, 70, 80, 90, 100});
    const Score tie = run(30, "tie");
    full.addScore(&tie);
    EXPECT_EQ(full.getLastRank(), 4);
    EXPECT_EQ(full.getScore(4)->getName(), "tie");
    EXPECT_EQ(full.getScore(3)->getName(), "30") << "the older entry stays above";
    EXPECT_EQ(timesOf(full), (std::vector<std::uint32_t>{10, 20, 30, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(full.getScore(11), nullptr);

    const Score slow = run(1000);
    full.addScore(&slow);
    EXPECT_EQ(full.getLastRank(), 0) << "an 11th never stays";
    EXPECT_EQ(full.size(), 10u);
    EXPECT_EQ(full.getScore(10)->getTotalTime(), 90u);

    const Score best = run(1);
    full.addScore(&best);
    EXPECT_EQ(full.getLastRank(), 1);
    EXPECT_EQ(timesOf(full).front(), 1u);
    EXPECT_EQ(timesOf(full).back(), 80u);
}

TEST(HighScore, NamesAreCutToWholeCharacters)
{
    const auto times = [](std::size_t count, const std::string& character) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += character;
        return text;
    };
    struct Case
    {
        const char* what;
        std::string typed;
        std::string kept;
    };
    const Case cases[] = {
        {"short", "Ada", "Ada"},
        {"ASCII, too long", std::string(200, 'x'), std::string(Score::kMaxNameLength, 'x')},
        {"23 two-byte characters fit", times(23, "é"), times(23, "é")},
        {"30 two-byte characters", times(30, "é"), times(Score::kMaxNameLength, "é")},
        {"an odd byte before them", "a" + times(30, "é"), "a" + times(Score::kMaxNameLength - 1, "é")},
        {"four-byte characters", times(25, "🏁"), times(Score::kMaxNameLength, "🏁")},
    };
    for (const Case& c : cases)
    {
        Score score;
        score.setName(c.typed);
        EXPECT_EQ(score.getName(), c.kept) << c.what;
    }
}

TEST(HighScore, FileRoundTrip)
{
    TempFolder folder;
    const std::string path = folder.path() + "TestLoop.sde";
    HighScore table = tableOf({300, 100, 200});
    table.getScore(2)->setName("[colour='FFFF0000']Ada");
    ASSERT_TRUE(HighScore::save(path, table));
    std::string error;
    const HighScore loaded = HighScore::load(path, &error);
    EXPECT_TRUE(error.empty()) << error;
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded.getLastRank(), table.getLastRank());
    for (int rank = 1; rank <= 3; ++rank)
        EXPECT_EQ(*loaded.getScore(rank), *table.getScore(rank)) << rank;
    EXPECT_EQ(loaded.getScore(2)->getName(), "[colour='FFFF0000']Ada") << "stored as typed";
}

TEST(HighScore, DamagedTablesAreKeptAsideAndGiveAnEmptyTable)
{
    const HighScore three = tableOf({100, 200, 300});
    const std::string good = HighScore::toArchive(three);
    HighScore four = three;
    const Score fourth = run(400, "400");
    four.addScore(&fourth);
    four.setLastRank(three.getLastRank());
    HighScore longerName = three;
    longerName.getScore(1)->setName("1000");

    // Tables boost writes well but that no game writes: from the reference types.
    reference::HighScore eleven;
    for (int rank = 1; rank <= 11; ++rank)
        eleven.ranks[rank].totalTime = 1000ul * rank;
    reference::HighScore gap;
    gap.ranks[1].totalTime = 1;
    gap.ranks[3].totalTime = 3;
    reference::HighScore lastRankPastTheTable;
    lastRankPastTheTable.ranks[1].totalTime = 1;
    lastRankPastTheTable.lastRank = 2;
    reference::HighScore splitsWithoutTexts;
    splitsWithoutTexts.ranks[1].checkPointTimes = {100, 200};
    splitsWithoutTexts.ranks[1].checkPointTexts = {"00:00:00:10"};
    const auto withText = [](std::string reference::Score::*field, const std::string& text) {
        reference::HighScore table;
        table.ranks[1].*field = text;
        return reference::tableFile(table);
    };
    reference::HighScore badSplitText;
    badSplitText.ranks[1].checkPointTimes = {100};
    badSplitText.ranks[1].checkPointTexts = {"00:00:00:\xff"};

    // The layout of the game before it wrote boost's form: a header, then its own counts.
    std::string oldLayout = good.substr(0, damaged::kHeaderBytes);
    const auto append = [&oldLayout](auto value) {
        oldLayout.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    append(std::int32_t(1));
    append(std::uint64_t(1));
    append(std::int32_t(1));
    append(std::uint32_t(83456));
    append(std::uint64_t(11));
    oldLayout += "00:01:23:45";
    append(std::uint64_t(0));
    append(std::uint64_t(0));
    append(std::uint64_t(3));
    oldLayout += "Ada";

    struct Case
    {
        const char* what;
        std::string content;
        const char* reason;
    };
    const Case cases[] = {
        {"zero length", "", "input stream error"},
        {"garbage", "this is no table", "text longer than"},
        {"a header claiming a huge signature", std::string("\0\0\0\0\4\0\0\0serialization::archive", 30),
         "text longer than"},
        {"truncated", good.substr(0, good.size() - 7), "input stream error"},
        {"cut in the header", good.substr(0, 30), "unsupported version"},
        {"trailing data", good + "more", "data after the table"},
        {"a huge rank count",
         damaged::patched(good, damaged::firstDifference(good, HighScore::toArchive(four)), std::uint64_t(1) << 60),
         "count larger than"},
        {"a huge name length",
         damaged::patched(good, damaged::firstDifference(good, HighScore::toArchive(longerName)), std::uint64_t(1) << 40),
         "text longer than"},
        {"a ghost file instead", CarStateWriter().toArchive(), "data after the table"},
        {"the old layout", oldLayout, "count larger than"},
        {"eleven ranks", reference::tableFile(eleven), "11 ranks"},
        {"ranks 1 and 3", reference::tableFile(gap), "rank 3 out of order"},
        {"the last rank past the table", reference::tableFile(lastRankPastTheTable), "last rank 2"},
        {"checkpoint times without their texts", reference::tableFile(splitsWithoutTexts), "texts differ in number"},
        {"a name that is not UTF-8", withText(&reference::Score::name, "Ad\xe9"), "UTF-8"},
        {"a time text cut in a character", withText(&reference::Score::totalText, "00:01:23:4\xc3"), "UTF-8"},
        {"an overlong slash in a name", withText(&reference::Score::name, "a\xc0\xaf" "b"), "UTF-8"},
        {"a checkpoint text that is not UTF-8", reference::tableFile(badSplitText), "UTF-8"},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        const std::string path = folder.write("damaged.sde", c.content);
        std::string error;
        const HighScore table = HighScore::load(path, &error);
        EXPECT_EQ(table.size(), 0u) << c.what;
        EXPECT_EQ(table.getLastRank(), 0) << c.what;
        EXPECT_NE(error.find(path), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_FALSE(exists(path)) << c.what << ": moved away";
        EXPECT_EQ(TempFolder::read(path + HighScore::kDamagedSuffix), c.content) << c.what << ": nothing lost";
        std::remove((path + HighScore::kDamagedSuffix).c_str());
    }

    std::string error;
    const HighScore missing = HighScore::load(folder.path() + "never.sde", &error);
    EXPECT_EQ(missing.size(), 0u);
    EXPECT_EQ(error, "") << "a track nobody has finished yet is no error";
    EXPECT_FALSE(exists(folder.path() + "never.sde" + HighScore::kDamagedSuffix));
}

TEST(HighScore, AFailedSaveKeepsTheOldTable)
{
    TempFolder folder;
    const std::string path = folder.path() + "TestLoop.sde";
    ASSERT_TRUE(HighScore::save(path, tableOf({100})));
    const std::string before = TempFolder::read(path);
    std::string error;
    EXPECT_FALSE(HighScore::save(folder.path() + "missing/TestLoop.sde", tableOf({50}), &error));
    EXPECT_NE(error.find("missing/TestLoop.sde"), std::string::npos) << error;
    EXPECT_EQ(TempFolder::read(path), before);
}

TEST(HighScorePath, OnlyPlainNamesInThePlayersMapsFolder)
{
    struct Case
    {
        const char* what;
        const char* highscore;
        const char* file;
        bool standard;
        const char* expected;
    };
    const Case cases[] = {
        {"a built-in track", "TestLoop.sde", "../media/maps/TestLoop.map", true, "/home/p/maps/stdHighscore/TestLoop.sde"},
        {"the player's track", "My Track.sde", "/home/p/maps/My Track.map", false, "/home/p/maps/My Track.sde"},
        {"climbing out", "../../.bashrc.sde", "/home/p/maps/Evil.map", false, "/home/p/maps/Evil.sde"},
        {"into a folder", "sub/x.sde", "/home/p/maps/Sub.map", false, "/home/p/maps/Sub.sde"},
        {"another extension", "x.cfg", "/home/p/maps/Cfg.map", false, "/home/p/maps/Cfg.sde"},
        {"a built-in's table from a player's track", "TestLoop.sde", "/home/p/maps/Copy.map", false,
         "/home/p/maps/TestLoop.sde"},
        {"odd characters in the file name", "", "/home/p/maps/we;rd$.map", false, "/home/p/maps/we_rd_.sde"},
    };
    for (const Case& c : cases)
    {
        MapDescription map;
        map.highscoreName = c.highscore;
        map.filePath = c.file;
        map.standardMap = c.standard;
        EXPECT_EQ(highScorePathFor("/home/p/", map), c.expected) << c.what;
    }
    EXPECT_EQ(ghostPathFor("/home/p/maps/A.sde"), "/home/p/maps/A.sde.shadow");
}
