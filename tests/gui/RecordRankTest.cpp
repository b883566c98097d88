// The new-record dialog names only this race's own entry of the table read back.
#include "HighScore.h"
#include "gui/RecordRank.h"

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
