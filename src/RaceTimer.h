// The race clock: whole milliseconds counted from the physics steps while it runs.
#pragma once

#include <cstdint>
#include <string>

class RaceTimer
{
public:
    void start() { running = true; }
    void stop() { running = false; }
    void reset() { elapsedMs = 0; }
    void restart();
    std::uint32_t getTime() const { return elapsedMs; }
    bool isRunning() const { return running; }
    // Adds the step's whole milliseconds while running.
    void update(float dtSeconds);
    std::string toString() const { return toString(elapsedMs); }

    // "hh:mm:ss:cc": hours, minutes, seconds and hundredths, two digits at least.
    static std::string toString(std::uint32_t milliseconds);

private:
    bool running = false;
    std::uint32_t elapsedMs = 0;
};
