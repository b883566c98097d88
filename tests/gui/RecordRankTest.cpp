// The new-record dialog names only this race's own entry of the table read back, and the
// name is kept only when the table was written with it.
#include "HighScore.h"
#include "gui/RecordRank.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
Score run(std::uint32_t ms, const std::string& name = "")
{
    Score score;
    score.setTotal(ms, std::to_string(ms));
    score.setName(name);
    return score;
}
}

TEST(RecordRank, NamesOnlyTheEntryThatIsThisRace)
{
    HighScore table;
    for (std::uint32_t ms : {1000u, 2000u, 3000u})
    {
        const Score score = run(ms, "old");
        table.addScore(&score);
    }
    const Score thisRace = run(1500);
    HighScore saved = table;
    saved.addScore(&thisRace);  // rank 2 once saved

    struct Case
    {
        const char* what;
        const HighScore& read;
        int raceRank;
        int expected;
    };
    const Case cases[] = {
        {"saved at its rank", saved, 2, 2},
        {"save failed: rank 2 is an older record", table, 2, 0},
        {"did not make the table", saved, 0, 0},
        {"rank past the table", saved, 11, 0},
        {"negative rank", saved, -1, 0},
        {"rank of an empty slot", table, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(recordRankToName(c.read, c.raceRank, thisRace), c.expected) << c.what;
}

TEST(RecordRank, ANameIsShownOnlyWhenItWasSaved)
{
    TempFolder folder;
    HighScore table;
    const Score score = run(1500);
    table.addScore(&score);
    const std::string path = folder.path() + "Oval.sde";
    ASSERT_TRUE(HighScore::save(path, table));

    std::string error;
    EXPECT_FALSE(nameRecord(table, 1, "Ada", folder.path() + "gone/Oval.sde", error)) << "the file can't be written";
    EXPECT_NE(error.find("gone/Oval.sde"), std::string::npos) << error;
    EXPECT_EQ(table.getScore(1)->getName(), "") << "the list keeps showing what the file holds";

    ASSERT_TRUE(nameRecord(table, 1, "Ada", path, error)) << error;
    EXPECT_EQ(table.getScore(1)->getName(), "Ada");
    EXPECT_EQ(HighScore::load(path).getScore(1)->getName(), "Ada");
    EXPECT_FALSE(nameRecord(table, 2, "Bob", path, error)) << "no entry at rank 2";
}
