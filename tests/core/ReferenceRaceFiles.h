// The race files as boost.serialization itself writes them, from types written here after the
// files' description (the fields, their types and their order) and shared with nothing in the
// game: the reference that the game's own files are held to.
#pragma once

#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace reference
{
struct Score
{
    unsigned long totalTime = 0;
    std::string totalText;
    std::vector<long> checkPointTimes;
    std::vector<std::string> checkPointTexts;
    std::string name;

    template <class Archive>
    void serialize(Archive& archive, unsigned)
    {
        archive & totalTime & totalText & checkPointTimes & checkPointTexts & name;
    }
};

// The table: one top-level object.
struct HighScore
{
    int lastRank = 0;
    std::map<int, Score> ranks;

    template <class Archive>
    void serialize(Archive& archive, unsigned)
    {
        archive & lastRank & ranks;
    }
};

// The ghost: stored through a pointer.
struct CarStateWriter
{
    std::vector<std::map<std::string, float>> frames;
    std::map<std::string, std::string> strings;
    std::map<std::string, int> ints;
    std::map<std::string, float> floats;

    template <class Archive>
    void serialize(Archive& archive, unsigned)
    {
        archive & strings & ints & floats & frames;
    }
};

// A binary archive with the default flags (0) holding the one value.
template <class Value>
std::string archiveOf(const Value& value)
{
    std::ostringstream bytes;
    {
        boost::archive::binary_oarchive archive(bytes);
        archive << value;
    }
    return bytes.str();
}

inline std::string tableFile(const HighScore& table)
{
    return archiveOf(table);
}

// A null pointer gives the file of no recording.
inline std::string ghostFile(const CarStateWriter* recording)
{
    return archiveOf(recording);
}
}  // namespace reference
