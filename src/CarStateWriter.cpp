// Recorded runs and their ghost files (binary archives).
#include "CarStateWriter.h"

#include "AtomicFile.h"
#include "BoundedArchive.h"

#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>

#include <sstream>

namespace
{
template <class Map>
typename Map::mapped_type valueOr(const Map& values, const std::string& key, typename Map::mapped_type fallback)
{
    auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
}
}

const CarStateWriter::Frame* CarStateWriter::getFrame(unsigned index) const
{
    if (frames.empty())
        return nullptr;
    return &frames[std::min<std::size_t>(index, frames.size() - 1)];
}

const CarStateWriter::Frame* CarStateWriter::nextFrame()
{
    const Frame* frame = getFrame(cursor);
    if (cursor < frames.size())
        ++cursor;
    return frame;
}

int CarStateWriter::getInt(const std::string& key) const
{
    return valueOr(ints, key, 0);
}

float CarStateWriter::getFloat(const std::string& key) const
{
    return valueOr(floats, key, 0.0f);
}

std::string CarStateWriter::getString(const std::string& key) const
{
    return valueOr(strings, key, std::string());
}

bool CarStateWriter::hasKey(const std::string& key) const
{
    return ints.count(key) || floats.count(key) || strings.count(key);
}

template <class Archive>
void CarStateWriter::save(Archive& archive, unsigned) const
{
    bounded_archive::saveMap(archive, strings);
    bounded_archive::saveMap(archive, ints);
    bounded_archive::saveMap(archive, floats);
    bounded_archive::saveMapList(archive, frames);
}

template <class Archive>
void CarStateWriter::load(Archive& archive, unsigned)
{
    bounded_archive::loadMap(archive, strings, loadBudgetBytes);
    bounded_archive::loadMap(archive, ints, loadBudgetBytes);
    bounded_archive::loadMap(archive, floats, loadBudgetBytes);
    bounded_archive::loadMapList(archive, frames, loadBudgetBytes);
}

bool CarStateWriter::save(const std::string& path, std::string* error) const
{
    std::ostringstream bytes;
    try
    {
        boost::archive::binary_oarchive archive(bytes);
        save(archive, 0);
    }
    catch (const std::exception& failure)
    {
        if (error)
            *error = path + ": " + failure.what();
        return false;
    }
    return writeFileAtomically(path, bytes.str(), error);
}

bool CarStateWriter::load(const std::string& path, std::string* error)
{
    cursor = 0;
    std::string content;
    std::string problem;
    if (!bounded_archive::readFile(path, content, problem))
    {
        if (error)
            *error = problem;
        return false;
    }
    CarStateWriter loaded;
    loaded.loadBudgetBytes = content.size();
    try
    {
        if (!bounded_archive::hasArchiveHeader(content))
            throw std::runtime_error("no archive header");
        std::istringstream bytes(content);
        boost::archive::binary_iarchive archive(bytes);
        loaded.load(archive, 0);
        if (bytes.peek() != std::char_traits<char>::eof())
            throw std::runtime_error("data after the end of the recording");
    }
    catch (const std::exception& failure)
    {
        if (error)
            *error = path + ": not a readable recording (" + failure.what() + ")";
        return false;
    }
    frames = std::move(loaded.frames);
    strings = std::move(loaded.strings);
    ints = std::move(loaded.ints);
    floats = std::move(loaded.floats);
    return true;
}
