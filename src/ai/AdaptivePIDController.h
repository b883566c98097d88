// A PID controller that tunes its own gains while it drives: one gain at a time, each for
// one period in the order P, I, D, from how fast the error shrinks against a reference.
#pragma once

#include "ai/PIDController.h"

#include <array>

class AdaptivePIDController
{
public:
    static constexpr int kGainCount = 3;  // 0 P, 1 I, 2 D
    static constexpr float kMaxSensitivity = 1000.0f;
    static constexpr float kMinGainChange = 1e-7f;  // below it the last change says nothing
    static constexpr float kMinErrorChange = 0.0001f;  // per second

    AdaptivePIDController();

    // Everything back to zero, adaptation on with mode 0 and no period.
    void reset();
    void setGains(float kp, float ki, float kd);
    float getGain(int index) const { return gains[index]; }
    void setAdaptive(bool on) { adapting = on; }
    void setMode(int newMode) { mode = newMode; }
    // Seconds each gain is tuned before the next one's turn; 0 or less tunes none.
    void setPeriod(float seconds) { periodSeconds = seconds; }
    void setRate(int index, float rate) { rates[index] = rate; }
    void setThreshold(int index, float threshold) { thresholds[index] = threshold; }
    void setLimits(int index, float minimum, float maximum);

    // One control step: the error is fed to the controller, and the gain whose turn it is
    // moves so that actual approaches reference.
    void update(float dtSeconds, float error, float reference, float actual);
    float getOutput() const { return controller.getOutput(); }
    float getDerivative() const { return controller.getDerivative(); }
    // Clears the controller's history only; the tuned gains stay.
    void resetPID() { controller.reset(); }

    // The gain tuned in this step, or -1 when none is.
    int tunedGain() const;
    float getLastGainChange(int index) const { return lastGainChange[index]; }

private:
    float sensitivity(int index, float adaptationError, float dtSeconds) const;
    float gainDelta(int index, float adaptationError, float dtSeconds) const;
    float term(int index) const;

    float elapsedSeconds = 0.0f;  // a float sum: the turn of a gain falls where its rounding puts it
    std::array<float, kGainCount> gains{};
    float previousAdaptationError = 0.0f;
    std::array<float, kGainCount> lastGainChange{};  // per second, only the last tuned gain's is non-zero
    bool adapting = true;
    int mode = 0;
    float periodSeconds = 0.0f;
    std::array<float, kGainCount> rates{};
    std::array<float, kGainCount> thresholds{};
    std::array<float, kGainCount> damping{};  // zero: no driver damps the normalised rule
    std::array<float, kGainCount> minima{};
    std::array<float, kGainCount> maxima{};
    PIDController controller;
};
