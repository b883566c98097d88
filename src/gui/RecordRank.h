// Which entry of a loaded table the new-record dialog names, and naming it in the file.
#pragma once

#include <string>

class HighScore;
class Score;

// The rank this race holds in the table as read back from its file, 0 when the table does
// not hold this race there (it did not make the table, or its save failed): the dialog must
// never rename somebody else's record.
int recordRankToName(const HighScore& table, int raceRank, const Score& raceScore);

// Gives the entry at rank its name and writes the table to its file. When the file can't be
// written the table keeps the old name, so the list never shows a name that was not saved:
// false, with the reason.
bool nameRecord(HighScore& table, int rank, const std::string& name, const std::string& path, std::string& error);
