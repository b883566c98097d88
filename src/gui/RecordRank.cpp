// The rank of a new record in a loaded table, for the name dialog.
#include "gui/RecordRank.h"

#include "HighScore.h"

int recordRankToName(const HighScore& table, int raceRank, const Score& raceScore)
{
    if (raceRank < 1 || raceRank > HighScore::kRanks)
        return 0;
    const Score* stored = table.getScore(raceRank);
    return stored && *stored == raceScore ? raceRank : 0;
}
