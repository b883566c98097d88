// Damaging the game's archive files at the places that matter, for the tests of their readers.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace damaged
{
// boost's binary archive header: the signature's length and text, the library version, four
// type sizes and the byte order.
constexpr std::size_t kHeaderBytes = 8 + 22 + 2 + 4 + 4;

// Where two files first differ: with all else equal, the count or length that differs.
inline std::size_t firstDifference(const std::string& a, const std::string& b)
{
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return at;
}

// The file with the value at `offset` replaced.
template <class Value>
std::string patched(std::string bytes, std::size_t offset, Value value)
{
    std::memcpy(&bytes[offset], &value, sizeof value);
    return bytes;
}

// A ghost file with the class id of its pointer, right after the header, replaced.
inline std::string withClassId(const std::string& bytes, std::int16_t id)
{
    return patched(bytes, kHeaderBytes, id);
}
}  // namespace damaged
