// Reads a track's race files back with the game's own readers, for the end-to-end tests:
//   quillmor_race_files table <track>.sde
//       -> "last rank <n>", then one line per rank, fields split by tabs:
//          <rank> <name> <milliseconds> <time text> <checkpoints> <checkpoint milliseconds...>
//   quillmor_race_files ghost <track>.sde.shadow
//       -> "frames <n> interval <steps> wheels <n> seconds <recorded span>"
// A file that does not read exits with status 1 and the reason. The table reader keeps a
// damaged file aside, as the game does.
#include "CarStateWriter.h"
#include "HighScore.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace
{
constexpr float kStepSeconds = 0.01f;  // the physics step the recorder counts in

int dumpTable(const char* path)
{
    if (!std::ifstream(path).good())
    {
        std::fprintf(stderr, "%s: no such file\n", path);
        return 1;
    }
    std::string error;
    const HighScore table = HighScore::load(path, &error);
    if (!error.empty())
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("last rank %d\n", table.getLastRank());
    for (int rank = 1; rank <= HighScore::kRanks; ++rank)
    {
        const Score* score = table.getScore(rank);
        if (!score)
            break;
        std::printf("%d\t%s\t%lu\t%s\t%zu", rank, score->getName().c_str(), score->getTotalTime(),
                    score->getTotalText().c_str(), score->getCheckPointCount());
        for (std::size_t i = 0; i < score->getCheckPointCount(); ++i)
            std::printf("\t%ld", score->getCheckPointTime(i));
        std::printf("\n");
    }
    return 0;
}

int dumpGhost(const char* path)
{
    CarStateWriter recording;
    std::string error;
    if (!recording.load(path, &error))
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const int interval = recording.getInt("updatePause");
    const unsigned frames = recording.getFrameCount();
    const float span = frames > 0 ? static_cast<float>(frames - 1) * static_cast<float>(interval) * kStepSeconds : 0.0f;
    std::printf("frames %u interval %d wheels %d seconds %.2f\n", frames, interval, recording.getInt("wheelNr"), span);
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "table") == 0)
        return dumpTable(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "ghost") == 0)
        return dumpGhost(argv[2]);
    std::fprintf(stderr, "usage: see the head of RaceFilesDump.cpp\n");
    return 2;
}
