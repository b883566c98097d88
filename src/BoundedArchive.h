// Reading and writing the game's binary archives (ghost recordings, high-score tables)
// without trusting a file's counts: every length and count read back is checked against
// the bytes the file holds before it sizes a container, so a damaged file is refused
// instead of asking for gigabytes. Collections are written as a 64-bit count followed by
// their elements.
#pragma once

#include <boost/archive/archive_exception.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bounded_archive
{
// The largest archive file the game reads, in bytes: an hour's ghost recording is ~15 MB.
constexpr std::size_t kMaxFileBytes = 64u << 20;

// Thrown for a count or length the file cannot hold.
inline void checkCount(std::uint64_t count, std::uint64_t minBytesEach, std::size_t budgetBytes)
{
    if (minBytesEach > 0 && count > budgetBytes / minBytesEach)
        throw boost::archive::archive_exception(boost::archive::archive_exception::input_stream_error,
                                                "count larger than the file");
}

template <class Archive>
void saveString(Archive& archive, const std::string& text)
{
    const std::uint64_t length = text.size();
    archive << length;
    archive.save_binary(text.data(), text.size());
}

template <class Archive>
void loadString(Archive& archive, std::string& text, std::size_t budgetBytes)
{
    std::uint64_t length = 0;
    archive >> length;
    checkCount(length, 1, budgetBytes);
    text.resize(length);
    archive.load_binary(text.data(), length);
}

// Values are arithmetic (int, float) or std::string.
template <class Archive, class Value>
void saveValue(Archive& archive, const Value& value)
{
    if constexpr (std::is_same_v<Value, std::string>)
        saveString(archive, value);
    else
        archive << value;
}

template <class Archive, class Value>
void loadValue(Archive& archive, Value& value, std::size_t budgetBytes)
{
    if constexpr (std::is_same_v<Value, std::string>)
        loadString(archive, value, budgetBytes);
    else
        archive >> value;
}

template <class Archive, class Value>
void saveMap(Archive& archive, const std::map<std::string, Value>& values)
{
    const std::uint64_t count = values.size();
    archive << count;
    for (const auto& [key, value] : values)
    {
        saveString(archive, key);
        saveValue(archive, value);
    }
}

template <class Archive, class Value>
void loadMap(Archive& archive, std::map<std::string, Value>& values, std::size_t budgetBytes)
{
    std::uint64_t count = 0;
    archive >> count;
    checkCount(count, sizeof(std::uint64_t), budgetBytes);  // each key has its length at least
    values.clear();
    for (std::uint64_t i = 0; i < count; ++i)
    {
        std::string key;
        loadString(archive, key, budgetBytes);
        loadValue(archive, values[key], budgetBytes);
    }
}

template <class Archive, class Value>
void saveMapList(Archive& archive, const std::vector<std::map<std::string, Value>>& list)
{
    const std::uint64_t count = list.size();
    archive << count;
    for (const auto& values : list)
        saveMap(archive, values);
}

template <class Archive, class Value>
void loadMapList(Archive& archive, std::vector<std::map<std::string, Value>>& list, std::size_t budgetBytes)
{
    std::uint64_t count = 0;
    archive >> count;
    checkCount(count, sizeof(std::uint64_t), budgetBytes);  // each map has its count at least
    list.clear();
    list.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i)
    {
        list.emplace_back();
        loadMap(archive, list.back(), budgetBytes);
    }
}

// A list of values (arithmetic or std::string).
template <class Archive, class Value>
void saveList(Archive& archive, const std::vector<Value>& values)
{
    const std::uint64_t count = values.size();
    archive << count;
    for (const Value& value : values)
        saveValue(archive, value);
}

template <class Archive, class Value>
void loadList(Archive& archive, std::vector<Value>& values, std::size_t budgetBytes)
{
    std::uint64_t count = 0;
    archive >> count;
    const std::uint64_t minBytes = std::is_same_v<Value, std::string> ? sizeof(std::uint64_t) : sizeof(Value);
    checkCount(count, minBytes, budgetBytes);
    values.clear();
    values.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i)
    {
        values.emplace_back();
        loadValue(archive, values.back(), budgetBytes);
    }
}

// Whether the bytes start with the binary archive's header (its signature's length and the
// signature): the archive reads that length itself, unchecked, before anything else.
bool hasArchiveHeader(const std::string& content);

// Reads a whole regular file of at most kMaxFileBytes; false with the reason otherwise.
bool readFile(const std::string& path, std::string& content, std::string& error);
}
