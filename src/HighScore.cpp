// The ten best runs and their table file (a boost.serialization binary archive).
#include "HighScore.h"

#include "AtomicFile.h"
#include "BoundedInputArchive.h"
#include "LogStream.h"

#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <sys/stat.h>

template <class Archive>
void Score::serialize(Archive& archive, unsigned)
{
    archive & totalMs & totalText & checkPointMs & checkPointTexts & name;
}

template <class Archive>
void HighScore::serialize(Archive& archive, unsigned)
{
    archive & lastRank & ranks;
}

void HighScore::addScore(const Score* score)
{
    if (!score)
        return;
    int rank = static_cast<int>(ranks.size()) + 1;
    ranks[rank] = *score;
    lastRank = rank;
    for (int i = rank - 1; i >= 1; --i)
        if (ranks[i].getTotalTime() > score->getTotalTime())
        {
            std::swap(ranks[i], ranks[i + 1]);
            lastRank = i;
        }
    if (ranks.size() > static_cast<std::size_t>(kRanks))
        ranks.erase(kRanks + 1);
    if (lastRank > kRanks)
        lastRank = 0;
}

const Score* HighScore::getScore(int rank) const
{
    auto found = ranks.find(rank);
    return found == ranks.end() ? nullptr : &found->second;
}

Score* HighScore::getScore(int rank)
{
    auto found = ranks.find(rank);
    return found == ranks.end() ? nullptr : &found->second;
}

std::string HighScore::problem() const
{
    if (ranks.size() > static_cast<std::size_t>(kRanks))
        return std::to_string(ranks.size()) + " ranks";
    int expected = 1;
    for (const auto& [rank, score] : ranks)
    {
        if (rank != expected++)
            return "rank " + std::to_string(rank) + " out of order";
        const std::string wrong = score.problem();
        if (!wrong.empty())
            return wrong + " at rank " + std::to_string(rank);
    }
    if (lastRank < 0 || lastRank > static_cast<int>(ranks.size()))
        return "last rank " + std::to_string(lastRank);
    return "";
}

namespace
{
// Moves a damaged table out of the way so that its records can still be recovered.
std::string keepAside(const std::string& path)
{
    const std::string aside = path + HighScore::kDamagedSuffix;
    if (std::rename(path.c_str(), aside.c_str()) != 0)
        return "could not be kept aside (" + std::string(std::strerror(errno)) + ")";
    return "kept aside as " + aside;
}
}  // namespace

HighScore HighScore::load(const std::string& path, std::string* error)
{
    auto report = [&](const std::string& reason) {
        debugLog() << "Error loading HighScore: " << path << ": " << reason << std::endl;
        if (error)
            *error = path + ": " + reason;
    };
    struct stat info{};
    // A track nobody has finished yet has no table: nothing is wrong.
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return HighScore();
    std::string content;
    std::string problem;
    if (!BoundedInputArchive::readFile(path, content, problem))
    {
        report(problem);
        return HighScore();
    }
    HighScore table;
    try
    {
        BoundedInputArchive archive(content);
        archive >> table;
        problem = archive.remainingBytes() > 0 ? "data after the table" : table.problem();
    }
    catch (const std::exception& failure)
    {
        problem = failure.what();
    }
    if (!problem.empty())
    {
        report("not a high-score table (" + problem + "), " + keepAside(path));
        return HighScore();
    }
    return table;
}

std::string HighScore::toArchive(const HighScore& table)
{
    std::ostringstream bytes;
    {
        boost::archive::binary_oarchive archive(bytes);
        archive << table;
    }
    return bytes.str();
}

bool HighScore::save(const std::string& path, const HighScore& table, std::string* error)
{
    std::string problem;
    try
    {
        if (writeFileAtomically(path, toArchive(table), &problem))
            return true;
    }
    catch (const std::exception& failure)
    {
        problem = path + ": " + failure.what();
    }
    debugLog() << "Error saving HighScore: " << path << ": " << problem << std::endl;
    if (error)
        *error = problem;
    return false;
}
