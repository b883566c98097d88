// A track's ten best runs, ranks 1 to 10, and the rank the last run entered at; kept in
// the track's ".sde" file in the per-user maps folder.
#pragma once

#include "Score.h"

#include <map>
#include <string>

class HighScore
{
public:
    static constexpr int kRanks = 10;

    // Enters a copy of the run; a tie ranks below the older entry. Null is ignored.
    void addScore(const Score* score);
    // Null for a rank not in the table.
    const Score* getScore(int rank) const;
    Score* getScore(int rank);
    // The rank the last run entered at, 0 when it did not make the table.
    int getLastRank() const { return lastRank; }
    void setLastRank(int rank) { lastRank = rank; }
    std::size_t size() const { return ranks.size(); }

    // The table in the file. A missing file gives an empty table. A damaged, foreign or
    // truncated one, or one whose texts are not UTF-8, gives an empty table too and is kept
    // aside beside it (renamed with kDamagedSuffix), so the next save never writes over the
    // old records with a part of them; *error then says what happened, naming the file.
    static HighScore load(const std::string& path, std::string* error = nullptr);
    // Writes the table whole or not at all; false with the reason.
    static bool save(const std::string& path, const HighScore& table, std::string* error = nullptr);
    // The file's bytes: a boost.serialization binary archive holding the table as its one
    // object.
    static std::string toArchive(const HighScore& table);
    static constexpr const char* kDamagedSuffix = ".damaged";

private:
    friend class boost::serialization::access;
    template <class Archive>
    void serialize(Archive& archive, unsigned version);
    // What makes a table read from a file unusable; "" when nothing does.
    std::string problem() const;

    std::map<int, Score> ranks;
    int lastRank = 0;
};
