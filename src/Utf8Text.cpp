// Checking and repairing UTF-8.
#include "Utf8Text.h"

namespace
{
const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// How many bytes from text[at] on belong to the sequence starting there: all of them when it is
// well-formed (complete then true), else its longest start that could still have become one
// (at least the first byte), which is replaced as one.
std::size_t sequenceAt(std::string_view text, std::size_t at, bool& complete)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    complete = lead < 0x80;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        else if (lead == 0xED)
            high = 0x9F;  // no surrogates
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    }
    else
        return 1;  // ASCII, or a byte no sequence starts with
    std::size_t matched = 1;
    while (matched < length && at + matched < text.size())
    {
        const unsigned char next = byte(at + matched);
        if (matched == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF))
            break;
        ++matched;
    }
    complete = matched == length;
    return matched;
}
}

bool isValidUtf8(std::string_view text)
{
    bool complete = true;
    for (std::size_t at = 0; at < text.size() && complete;)
        at += sequenceAt(text, at, complete);
    return complete;
}

std::string repairedUtf8(std::string_view text)
{
    std::string repaired;
    repaired.reserve(text.size());
    for (std::size_t at = 0; at < text.size();)
    {
        bool complete = false;
        const std::size_t length = sequenceAt(text, at, complete);
        if (complete)
            repaired.append(text.substr(at, length));
        else
            repaired += kReplacement;
        at += length;
    }
    return repaired;
}

std::string utf8Prefix(const std::string& text, std::size_t characters)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size() && count < characters; ++count)
    {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return text.substr(0, end);
}
