// Times the steps of a long piece of work (start-up, a race load) into the debug log, so a
// slow step shows itself without a profiler.
#pragma once

#include <chrono>
#include <string>

class StepClock
{
public:
    // what: the work's name, the start of every line ("start-up", "race load").
    explicit StepClock(std::string what);

    // Logs "<what> <step>: <ms of this step> ms, <ms since the start> ms in all".
    void step(const std::string& name);

private:
    using Clock = std::chrono::steady_clock;
    std::string work;
    Clock::time_point started = Clock::now();
    Clock::time_point lastStep = started;
};
