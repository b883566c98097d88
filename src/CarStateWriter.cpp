// Recorded runs and their ghost files (boost.serialization binary archives).
#include "CarStateWriter.h"

#include "AtomicFile.h"
#include "BoundedInputArchive.h"

#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>

#include <memory>
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
void CarStateWriter::serialize(Archive& archive, unsigned)
{
    archive & strings & ints & floats & frames;
}

std::string CarStateWriter::toArchive() const
{
    std::ostringstream bytes;
    {
        boost::archive::binary_oarchive archive(bytes);
        const CarStateWriter* recording = this;
        archive << recording;
    }
    return bytes.str();
}

bool CarStateWriter::save(const std::string& path, std::string* error) const
{
    try
    {
        return writeFileAtomically(path, toArchive(), error);
    }
    catch (const std::exception& failure)
    {
        if (error)
            *error = path + ": " + failure.what();
        return false;
    }
}

bool CarStateWriter::load(const std::string& path, std::string* error)
{
    cursor = 0;
    std::string content;
    std::string problem;
    if (!BoundedInputArchive::readFile(path, content, problem))
    {
        if (error)
            *error = path + ": " + problem;
        return false;
    }
    std::unique_ptr<CarStateWriter> loaded;
    try
    {
        BoundedInputArchive archive(content);
        loaded = archive.loadPointer<CarStateWriter>();
        if (!loaded)
            problem = "no recording in it";
        else if (archive.remainingBytes() > 0)
            problem = "data after the end of the recording";
    }
    catch (const std::exception& failure)
    {
        problem = failure.what();
    }
    if (!problem.empty())
    {
        if (error)
            *error = path + ": not a readable recording (" + problem + ")";
        return false;
    }
    frames = std::move(loaded->frames);
    strings = std::move(loaded->strings);
    ints = std::move(loaded->ints);
    floats = std::move(loaded->floats);
    return true;
}
