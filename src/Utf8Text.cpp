// Checking and cutting UTF-8 text.
#include "Utf8Text.h"

namespace
{
bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence starting at `at`, 0 when there is none.
std::size_t sequenceLength(const std::string& text, std::size_t at)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byteAt(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // overlong below
        if (lead == 0xED)
            high = 0x9F;  // surrogates above
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;  // overlong below
        if (lead == 0xF4)
            high = 0x8F;  // past U+10FFFF above
    }
    else
        return 0;  // a continuation byte, an overlong lead (C0, C1) or F5..FF
    if (at + length > text.size() || byteAt(at + 1) < low || byteAt(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!isContinuation(byteAt(at + i)))
            return 0;
    return length;
}
}

bool isValidUtf8(const std::string& text)
{
    for (std::size_t at = 0; at < text.size();)
    {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string utf8Prefix(const std::string& text, std::size_t characters)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < characters; ++count)
    {
        ++end;
        while (end < text.size() && isContinuation(static_cast<unsigned char>(text[end])))
            ++end;
    }
    return text.substr(0, end);
}
