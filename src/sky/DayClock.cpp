// The sky's day clock.
#include "sky/DayClock.h"

#include <cmath>

namespace sky
{
DayClock::DayClock()
{
    setDayLength(86400.0f);
    setYearLength(365.0f);
    setTimeScale(1.0f);
    setUpdateRate(0.0f);
}

void DayClock::setDayLength(float seconds)
{
    dayLength = seconds;
    totalTime = dayLength * yearLength;
    forceUpdate();
}

void DayClock::setYearLength(float days)
{
    yearLength = days;
    totalTime = dayLength * yearLength;
    forceUpdate();
}

void DayClock::setUpdateRate(float seconds)
{
    updateRate = seconds < 0.0f ? 0.0 : seconds;
    forceUpdate();
}

void DayClock::setCurrentTime(double seconds)
{
    if (!(totalTime > 0.0) || !std::isfinite(seconds))
    {
        currentTime = 0.0;
        return;
    }
    // A time before the year's start counts as far after it, so a clock run backwards comes to
    // rest at the start.
    const double magnitude = std::fabs(seconds);
    currentTime = magnitude - std::floor(magnitude / totalTime) * totalTime;
    if (currentTime >= totalTime)  // rounding
        currentTime = 0.0;
}

void DayClock::setCurrentRelativeTime(double fractionOfYear)
{
    setCurrentTime(totalTime * fractionOfYear);
}

float DayClock::getCurrentRelativeYearTime() const
{
    return totalTime > 0.0 ? static_cast<float>(currentTime / totalTime) : 0.0f;
}

double DayClock::getCurrentDayTime() const
{
    if (!(dayLength > 0.0))
        return 0.0;
    return currentTime - std::floor(currentTime / dayLength) * dayLength;
}

float DayClock::getCurrentRelativeDayTime() const
{
    if (!(dayLength > 0.0))
        return 0.0f;
    const float relative = static_cast<float>(getCurrentDayTime() / dayLength);
    return relative < 1.0f ? relative : 0.0f;
}

bool DayClock::update(float dtSeconds)
{
    setCurrentTime(currentTime + static_cast<double>(timeScale) * dtSeconds);
    secondsSinceUpdate += dtSeconds;
    if (!(secondsSinceUpdate > updateRate))
        return false;
    if (updateRate > 0.0)
        secondsSinceUpdate -= std::floor(secondsSinceUpdate / updateRate) * updateRate;
    return true;
}
}
