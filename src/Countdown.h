// A one-shot timer of the race rules: the start countdown and the pause after the finish.
#pragma once

class Countdown
{
public:
    // Disabled when the duration is 0 or less.
    explicit Countdown(float durationSeconds);

    void setDuration(float durationSeconds);
    // Back to the full duration, armed again, not running.
    void reset();
    // Starts once per reset: a started countdown stays disabled until the next reset.
    void start();
    void update(float dtSeconds);

    // Armed: may still be started.
    bool isEnabled() const { return enabled; }
    bool isRunning() const { return running; }
    float getRemaining() const { return remainingSeconds; }

private:
    bool enabled = false;
    bool running = false;
    float durationSeconds = 0.0f;
    float remainingSeconds = 0.0f;
};
