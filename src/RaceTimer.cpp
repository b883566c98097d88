// The race clock and its clock text.
#include "RaceTimer.h"

#include <cstdio>

void RaceTimer::restart()
{
    stop();
    reset();
    start();
}

void RaceTimer::update(float dtSeconds)
{
    if (running && dtSeconds > 0.0f)
        elapsedMs += static_cast<std::uint32_t>(dtSeconds * 1000.0f);
}

std::string RaceTimer::toString(std::uint32_t milliseconds)
{
    const std::uint32_t hours = milliseconds / 3600000;
    std::uint32_t rest = milliseconds - hours * 3600000;
    const std::uint32_t minutes = rest / 60000;
    rest -= minutes * 60000;
    const std::uint32_t seconds = rest / 1000;
    rest -= seconds * 1000;
    const std::uint32_t hundredths = rest / 10;
    char text[32];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u:%02u", hours, minutes, seconds, hundredths);
    return text;
}
