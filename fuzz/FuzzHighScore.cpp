// Fuzzes the high-score table reader: a table it accepts holds only what the game could
// have written, and writes and reads back the same.
#include "FuzzInput.h"
#include "HighScore.h"
#include "Utf8Text.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = writeFuzzInput("track.sde", data, size);
    std::string error;
    const HighScore table = HighScore::load(path, &error);
    if (!error.empty())
    {
        if (table.size() != 0 || table.getLastRank() != 0)
            std::abort();  // a refused table must be empty
        return 0;
    }
    if (table.size() > HighScore::kRanks || table.getLastRank() < 0 ||
        table.getLastRank() > static_cast<int>(table.size()))
        std::abort();
    for (int rank = 1; rank <= static_cast<int>(table.size()); ++rank)
    {
        const Score* score = table.getScore(rank);
        if (!score || !isValidUtf8(score->getName()) || !isValidUtf8(score->getTotalText()))
            std::abort();
    }
    const std::string again = fuzzFolder() + "again.sde";
    if (!HighScore::save(again, table))
        std::abort();
    std::string reread;
    const HighScore back = HighScore::load(again, &reread);
    if (!reread.empty() || back.size() != table.size() || back.getLastRank() != table.getLastRank())
        std::abort();
    for (int rank = 1; rank <= static_cast<int>(table.size()); ++rank)
        if (!(*back.getScore(rank) == *table.getScore(rank)))
            std::abort();
    return 0;
}
