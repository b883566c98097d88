// Which entry of a loaded table the new-record dialog names.
#pragma once

class HighScore;
class Score;

// The rank this race holds in the table as read back from its file, 0 when the table does
// not hold this race there (it did not make the table, or its save failed): the dialog must
// never rename somebody else's record.
int recordRankToName(const HighScore& table, int raceRank, const Score& raceScore);
