// Restarting a race.
#include "RaceRestart.h"

#include "physic/PhysicBase.h"

namespace RaceRestart
{
bool run(PhysicBase& physics, const std::function<bool()>& rulesRestart, const std::function<void()>& startRace)
{
    if (rulesRestart && !rulesRestart())
        return false;
    const bool wasRunning = physics.isRunning();
    if (!wasRunning)
        physics.resume();
    physics.setFixedFrame(true);
    physics.update();
    physics.setFixedFrame(false);
    if (!wasRunning)
        physics.pause();
    if (startRace)
        startRace();
    return true;
}
}
