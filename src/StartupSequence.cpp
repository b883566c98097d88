// The start-up frames of a race.
#include "StartupSequence.h"

void StartupSequence::restart()
{
    frame = 0;
    running = true;
}

StartupSequence::Step StartupSequence::next()
{
    if (!running)
        return Step::None;
    Step step = Step::None;
    switch (frame)
    {
    case 0:
        step = Step::FixedFrameOn;
        break;
    case 2:
        step = Step::EffectsOn;
        break;
    case 4:
        step = Step::StartRace;
        running = false;
        break;
    default:
        break;
    }
    ++frame;
    return step;
}
