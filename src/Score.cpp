// One run's times and driver.
#include "Score.h"

void Score::setTotal(std::uint32_t milliseconds, const std::string& text)
{
    totalMs = milliseconds;
    totalText = text;
}

void Score::addCheckPoint(std::int32_t milliseconds, const std::string& text)
{
    checkPointMs.push_back(milliseconds);
    checkPointTexts.push_back(text);
}

std::int32_t Score::getCheckPointTime(std::size_t index) const
{
    return index < checkPointMs.size() ? checkPointMs[index] : 0;
}

std::string Score::getCheckPointText(std::size_t index) const
{
    return index < checkPointTexts.size() ? checkPointTexts[index] : std::string();
}

void Score::setName(const std::string& newName)
{
    name = newName.substr(0, kMaxNameLength);
}

bool Score::operator==(const Score& other) const
{
    return totalMs == other.totalMs && totalText == other.totalText && checkPointMs == other.checkPointMs &&
           checkPointTexts == other.checkPointTexts && name == other.name;
}
