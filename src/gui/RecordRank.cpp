// The rank of a new record in a loaded table, and its name saved with the table.
#include "gui/RecordRank.h"

#include "HighScore.h"

int recordRankToName(const HighScore& table, int raceRank, const Score& raceScore)
{
    if (raceRank < 1 || raceRank > HighScore::kRanks)
        return 0;
    const Score* stored = table.getScore(raceRank);
    return stored && *stored == raceScore ? raceRank : 0;
}

bool nameRecord(HighScore& table, int rank, const std::string& name, const std::string& path, std::string& error)
{
    HighScore named = table;
    Score* score = named.getScore(rank);
    if (!score)
    {
        error = "there is no entry at rank " + std::to_string(rank);
        return false;
    }
    score->setName(name);
    if (!HighScore::save(path, named, &error))
        return false;
    table = named;
    return true;
}
