// The race's first five frames: two of them simulate a whole second of physics each so
// the car settles on its wheels before anything is shown; then the view's effects come on,
// and two frames later the race display and the countdown.
#pragma once

class StartupSequence
{
public:
    enum class Step
    {
        None,
        FixedFrameOn,    // each frame now simulates one fixed second
        EffectsOn,       // fixed seconds off; the race view and its effects on
        StartRace,       // the display on and the countdown started; the sequence ends
    };

    void restart();
    // This frame's step; None once the sequence is over.
    Step next();
    bool isRunning() const { return running; }
    int getFrame() const { return frame; }

private:
    int frame = 0;
    bool running = false;
};
