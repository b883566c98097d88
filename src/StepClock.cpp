// Step times in the debug log.
#include "StepClock.h"

#include "LogStream.h"

#include <utility>

namespace
{
long millisecondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count());
}
}

StepClock::StepClock(std::string what) : work(std::move(what)) {}

void StepClock::step(const std::string& name)
{
    const Clock::time_point now = Clock::now();
    debugLog() << work << " " << name << ": " << millisecondsBetween(lastStep, now) << " ms, "
               << millisecondsBetween(started, now) << " ms in all" << std::endl;
    lastStep = now;
}
