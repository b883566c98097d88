// The high-score table and the ghost in boost.serialization's own form: what the game writes
// is byte for byte what boost writes for the same values, and files boost wrote are read back
// to those values.
#include "CarStateWriter.h"
#include "HighScore.h"
#include "RaceTimer.h"
#include "ReferenceRaceFiles.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Entry
{
    unsigned long ms;
    std::vector<long> splitsMs;
    std::string name;
};

HighScore gameTable(const std::vector<Entry>& runs)
{
    HighScore table;
    for (const Entry& run : runs)
    {
        Score score;
        score.setTotal(run.ms, RaceTimer::toString(static_cast<std::uint32_t>(run.ms)));
        for (long split : run.splitsMs)
            score.addCheckPoint(split, RaceTimer::toString(static_cast<std::uint32_t>(split)));
        score.setName(run.name);
        table.addScore(&score);
    }
    return table;
}

// The same table in the reference types: the runs in rank order, the last one's rank.
reference::HighScore referenceTable(const HighScore& game)
{
    reference::HighScore table;
    table.lastRank = game.getLastRank();
    for (int rank = 1; rank <= static_cast<int>(game.size()); ++rank)
    {
        const Score& from = *game.getScore(rank);
        reference::Score& to = table.ranks[rank];
        to.totalTime = from.getTotalTime();
        to.totalText = from.getTotalText();
        for (std::size_t i = 0; i < from.getCheckPointCount(); ++i)
        {
            to.checkPointTimes.push_back(from.getCheckPointTime(i));
            to.checkPointTexts.push_back(from.getCheckPointText(i));
        }
        to.name = from.getName();
    }
    return table;
}

struct Recording
{
    std::map<std::string, std::string> strings;
    std::map<std::string, int> ints;
    std::map<std::string, float> floats;
    std::vector<CarStateWriter::Frame> frames;
};

CarStateWriter gameRecording(const Recording& recording)
{
    CarStateWriter writer;
    for (const auto& [key, value] : recording.strings)
        writer.setString(key, value);
    for (const auto& [key, value] : recording.ints)
        writer.setInt(key, value);
    for (const auto& [key, value] : recording.floats)
        writer.setFloat(key, value);
    for (const CarStateWriter::Frame& frame : recording.frames)
        writer.addFrame(frame);
    return writer;
}

reference::CarStateWriter referenceRecording(const Recording& recording)
{
    reference::CarStateWriter writer;
    writer.strings = recording.strings;
    writer.ints = recording.ints;
    writer.floats = recording.floats;
    writer.frames = recording.frames;
    return writer;
}

CarStateWriter::Frame raceFrame(float x)
{
    CarStateWriter::Frame frame{{"posx", x},      {"posy", 2.5f},   {"posz", -x},   {"quatw", 0.7071f},
                                {"quatx", 0.0f},  {"quaty", 0.7071f}, {"quatz", 0.0f}};
    for (int wheel = 0; wheel < 4; ++wheel)
    {
        const std::string prefix = "w" + std::to_string(wheel);
        frame[prefix + "y"] = -0.05f * wheel;
        frame[prefix + "steer"] = 0.1f * x;
        frame[prefix + "roll"] = 3.0f * x;
    }
    return frame;
}
}  // namespace

TEST(RaceFileForm, TablesAreWrittenAndReadInBoostsForm)
{
    std::vector<Entry> tenRuns;
    for (unsigned long rank = 10; rank >= 1; --rank)
        tenRuns.push_back(
            {60000 + 1000 * rank, {20000 + 100 * static_cast<long>(rank), 41000}, "Driver " + std::to_string(rank)});
    struct Case
    {
        const char* what;
        std::vector<Entry> runs;
    };
    const Case cases[] = {
        {"no runs", {}},
        {"one run without checkpoints", {{83456, {}, "Ada"}}},
        {"runs out of order, names in UTF-8",
         {{90000, {30000}, "Zoë"}, {80000, {29000}, "Łukasz"}, {85000, {31000}, ""}}},
        {"ten runs, each with two checkpoints", tenRuns},
        {"an eleventh run that missed the table",
         [&] {
             auto runs = tenRuns;
             runs.push_back({99999999, {}, "Slow"});
             return runs;
         }()},
        {"the longest time there is", {{4294967295ul, {-1, 2147483647}, "Marathon"}}},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        const HighScore game = gameTable(c.runs);
        const reference::HighScore expected = referenceTable(game);
        const std::string boostBytes = reference::tableFile(expected);
        EXPECT_EQ(HighScore::toArchive(game), boostBytes) << c.what;

        // boost's own file, read by the game.
        const std::string path = folder.write("Reference.sde", boostBytes);
        std::string error;
        const HighScore read = HighScore::load(path, &error);
        EXPECT_EQ(error, "") << c.what;
        EXPECT_EQ(read.getLastRank(), expected.lastRank) << c.what;
        ASSERT_EQ(read.size(), expected.ranks.size()) << c.what;
        for (const auto& [rank, score] : expected.ranks)
        {
            const Score* got = read.getScore(rank);
            ASSERT_NE(got, nullptr) << c.what << ", rank " << rank;
            EXPECT_EQ(got->getName(), score.name) << c.what << ", rank " << rank;
            EXPECT_EQ(got->getTotalTime(), score.totalTime) << c.what << ", rank " << rank;
            EXPECT_EQ(got->getTotalText(), score.totalText) << c.what << ", rank " << rank;
            ASSERT_EQ(got->getCheckPointCount(), score.checkPointTimes.size()) << c.what << ", rank " << rank;
            for (std::size_t i = 0; i < score.checkPointTimes.size(); ++i)
            {
                EXPECT_EQ(got->getCheckPointTime(i), score.checkPointTimes[i]) << c.what << ", rank " << rank;
                EXPECT_EQ(got->getCheckPointText(i), score.checkPointTexts[i]) << c.what << ", rank " << rank;
            }
        }
    }
}

TEST(RaceFileForm, GhostsAreWrittenAndReadInBoostsForm)
{
    std::vector<CarStateWriter::Frame> race;
    for (int i = 0; i < 40; ++i)
        race.push_back(raceFrame(0.5f * i));
    struct Case
    {
        const char* what;
        Recording recording;
    };
    const Case cases[] = {
        {"an empty recording", {}},
        {"a race's recording", {{}, {{"updatePause", 10}, {"wheelNr", 4}}, {}, race}},
        {"every kind of attribute, no frames",
         {{{"car", "Roadster"}, {"track", "Désert"}}, {{"updatePause", -3}}, {{"scale", 0.25f}, {"z", -1e30f}}, {}}},
        {"frames of other keys, one empty",
         {{}, {{"wheelNr", 0}}, {}, {{{"posx", 1.0f}}, {}, {{"a", 2.0f}, {"b", 3.0f}}}}},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        const reference::CarStateWriter expected = referenceRecording(c.recording);
        const std::string boostBytes = reference::ghostFile(&expected);
        EXPECT_EQ(gameRecording(c.recording).toArchive(), boostBytes) << c.what;

        const std::string path = folder.write("Reference.sde.shadow", boostBytes);
        CarStateWriter read;
        std::string error;
        ASSERT_TRUE(read.load(path, &error)) << c.what << ": " << error;
        ASSERT_EQ(read.getFrameCount(), expected.frames.size()) << c.what;
        for (unsigned i = 0; i < read.getFrameCount(); ++i)
            EXPECT_EQ(*read.getFrame(i), expected.frames[i]) << c.what << ", frame " << i;
        for (const auto& [key, value] : expected.ints)
            EXPECT_EQ(read.getInt(key), value) << c.what << ": " << key;
        for (const auto& [key, value] : expected.floats)
            EXPECT_EQ(read.getFloat(key), value) << c.what << ": " << key;
        for (const auto& [key, value] : expected.strings)
            EXPECT_EQ(read.getString(key), value) << c.what << ": " << key;
    }
}
