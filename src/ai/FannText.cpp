// Strict reading of FANN's text formats.
#include "ai/FannText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace
{
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
}

bool FannText::blank() const
{
    if (position >= text.size())
        return false;
    const char c = text[position];
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

void FannText::skipBlanks()
{
    for (; blank(); ++position)
        if (text[position] == '\n')
            ++currentLine;
}

bool FannText::literal(const char* expected)
{
    for (const char* c = expected; *c; ++c)
    {
        if (*c == ' ')
        {
            skipBlanks();
            continue;
        }
        if (position >= text.size() || text[position] != *c)
            return false;
        if (text[position++] == '\n')
            ++currentLine;
    }
    return true;
}

bool FannText::number(std::uint32_t& value)
{
    const char* begin = text.data() + position;
    const char* end = text.data() + text.size();
    if (begin == end || !isDigit(*begin))
        return false;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc())
        return false;
    position += static_cast<std::size_t>(stop - begin);
    return true;
}

bool FannText::number(float& value)
{
    // [+-] digits [. digits] [e [+-] digits], or [+-] . digits [...]: what strtof and scanf
    // read alike, in any locale (from_chars ignores it).
    std::size_t end = position;
    if (end < text.size() && (text[end] == '-' || text[end] == '+'))
        ++end;
    const std::size_t mantissa = end;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    bool digits = end > mantissa;
    if (end < text.size() && text[end] == '.')
    {
        const std::size_t fraction = ++end;
        while (end < text.size() && isDigit(text[end]))
            ++end;
        digits = digits || end > fraction;
    }
    if (!digits)
        return false;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E'))
    {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+'))
            ++exponent;
        const std::size_t exponentDigits = exponent;
        while (exponent < text.size() && isDigit(text[exponent]))
            ++exponent;
        if (exponent == exponentDigits)
            return false;  // "1e" is no number to scanf either
        end = exponent;
    }
    // from_chars takes no leading '+'.
    const std::size_t from = text[position] == '+' ? position + 1 : position;
    const auto [stop, error] = std::from_chars(text.data() + from, text.data() + end, value);
    if (error != std::errc() || stop != text.data() + end || !std::isfinite(value))
        return false;
    position = end;
    return true;
}

bool FannText::atEnd()
{
    skipBlanks();
    return position == text.size();
}

std::string FannText::at(const std::string& problem) const
{
    return "line " + std::to_string(currentLine) + ": " + problem;
}
