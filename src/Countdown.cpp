// The race rules' one-shot timer.
#include "Countdown.h"

Countdown::Countdown(float durationSeconds)
{
    setDuration(durationSeconds);
    remainingSeconds = durationSeconds;
}

void Countdown::setDuration(float seconds)
{
    durationSeconds = seconds;
    enabled = seconds > 0.0f;
}

void Countdown::reset()
{
    setDuration(durationSeconds);
    remainingSeconds = durationSeconds;
    running = false;
}

void Countdown::start()
{
    if (enabled && !running) {
        running = true;
        enabled = false;
    }
}

void Countdown::update(float dtSeconds)
{
    if (!running)
        return;
    const float left = remainingSeconds - dtSeconds;
    if (left <= 0.0f) {
        running = false;
        remainingSeconds = 0.0f;
    } else {
        remainingSeconds = left;
    }
}
