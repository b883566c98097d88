// The ten best runs and their table file (a binary archive).
#include "HighScore.h"

#include "AtomicFile.h"
#include "BoundedArchive.h"
#include "LogStream.h"

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <sys/stat.h>

template <class Archive>
void Score::save(Archive& archive) const
{
    archive << totalMs;
    bounded_archive::saveString(archive, totalText);
    bounded_archive::saveList(archive, checkPointMs);
    bounded_archive::saveList(archive, checkPointTexts);
    bounded_archive::saveString(archive, name);
}

template <class Archive>
void Score::load(Archive& archive, std::size_t budgetBytes)
{
    archive >> totalMs;
    bounded_archive::loadString(archive, totalText, budgetBytes);
    bounded_archive::loadList(archive, checkPointMs, budgetBytes);
    bounded_archive::loadList(archive, checkPointTexts, budgetBytes);
    bounded_archive::loadString(archive, name, budgetBytes);
    if (checkPointMs.size() != checkPointTexts.size())
        throw std::runtime_error("checkpoint times and texts differ in number");
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
}

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
    if (!bounded_archive::readFile(path, content, problem))
    {
        report(problem);
        return HighScore();
    }
    HighScore table;
    try
    {
        if (!bounded_archive::hasArchiveHeader(content))
            throw std::runtime_error("no archive header");
        std::istringstream bytes(content);
        boost::archive::binary_iarchive archive(bytes);
        archive >> table.lastRank;
        std::uint64_t count = 0;
        archive >> count;
        if (count > static_cast<std::uint64_t>(kRanks))
            throw std::runtime_error(std::to_string(count) + " ranks");
        for (std::uint64_t i = 0; i < count; ++i)
        {
            int rank = 0;
            archive >> rank;
            if (rank != static_cast<int>(i) + 1)
                throw std::runtime_error("rank " + std::to_string(rank) + " out of order");
            table.ranks[rank].load(archive, content.size());
        }
        if (table.lastRank < 0 || table.lastRank > static_cast<int>(count))
            throw std::runtime_error("last rank " + std::to_string(table.lastRank));
        if (bytes.peek() != std::char_traits<char>::eof())
            throw std::runtime_error("data after the table");
    }
    catch (const std::exception& failure)
    {
        report(std::string("not a high-score table (") + failure.what() + "), " + keepAside(path));
        return HighScore();
    }
    return table;
}

bool HighScore::save(const std::string& path, const HighScore& table, std::string* error)
{
    std::ostringstream bytes;
    std::string problem;
    try
    {
        boost::archive::binary_oarchive archive(bytes);
        archive << table.lastRank;
        const std::uint64_t count = table.ranks.size();
        archive << count;
        for (const auto& [rank, score] : table.ranks)
        {
            archive << rank;
            score.save(archive);
        }
    }
    catch (const std::exception& failure)
    {
        problem = path + ": " + failure.what();
    }
    if (problem.empty() && writeFileAtomically(path, bytes.str(), &problem))
        return true;
    debugLog() << "Error saving HighScore: " << path << ": " << problem << std::endl;
    if (error)
        *error = problem;
    return false;
}
