// A PhysicBase whose frame clock the test sets: each update takes the next frame time.
#pragma once

#include "physic/PhysicBase.h"

#include <deque>

class ClockedPhysicBase : public PhysicBase
{
public:
    using PhysicBase::PhysicBase;

    std::deque<unsigned long> frameTimesMs;  // handed out one per update
    int clockReads = 0;
    int clockRestarts = 0;

protected:
    unsigned long takeElapsedMilliseconds() override
    {
        ++clockReads;
        if (frameTimesMs.empty())
            return 0;
        const unsigned long ms = frameTimesMs.front();
        frameTimesMs.pop_front();
        return ms;
    }
    void restartClock() override { ++clockRestarts; }
};
