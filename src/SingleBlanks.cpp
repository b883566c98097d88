// Video mode names with their padding squeezed to single blanks.
#include "SingleBlanks.h"

std::string singleBlanks(const std::string& text)
{
    std::string result;
    for (const char c : text)
        if (c != ' ' || (!result.empty() && result.back() != ' '))
            result += c;
    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}
