// One run's times and driver.
#include "Score.h"

#include "Utf8Text.h"

#include <algorithm>

void Score::setTotal(unsigned long milliseconds, const std::string& text)
{
    totalMs = milliseconds;
    totalText = text;
}

void Score::addCheckPoint(long milliseconds, const std::string& text)
{
    checkPointMs.push_back(milliseconds);
    checkPointTexts.push_back(text);
}

long Score::getCheckPointTime(std::size_t index) const
{
    return index < checkPointMs.size() ? checkPointMs[index] : 0;
}

std::string Score::getCheckPointText(std::size_t index) const
{
    return index < checkPointTexts.size() ? checkPointTexts[index] : std::string();
}

void Score::setName(const std::string& newName)
{
    name = utf8Prefix(newName, kMaxNameLength);
}

std::string Score::problem() const
{
    if (checkPointMs.size() != checkPointTexts.size())
        return "checkpoint times and texts differ in number";
    if (!isValidUtf8(totalText) || !isValidUtf8(name) ||
        !std::all_of(checkPointTexts.begin(), checkPointTexts.end(), isValidUtf8))
        return "a text that is not UTF-8";
    return "";
}

bool Score::operator==(const Score& other) const
{
    return totalMs == other.totalMs && totalText == other.totalText && checkPointMs == other.checkPointMs &&
           checkPointTexts == other.checkPointTexts && name == other.name;
}
