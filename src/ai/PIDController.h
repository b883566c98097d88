// A discrete PID controller over the last ten samples: the computer drivers feed it the
// heading and speed errors once per physics step and read the output in the same step.
#pragma once

#include <array>

class PIDController
{
public:
    static constexpr int kHistorySize = 10;              // samples in the sliding window
    static constexpr float kMinDerivativeStep = 0.001f;  // seconds; shorter steps saturate
    static constexpr float kSaturatedDerivative = 999999.0f;

    PIDController();

    void setGains(float kp, float ki, float kd);
    // Forgets the history; the gains stay.
    void reset();
    void addSample(float error, float dtSeconds);

    // The newest error; 0 without samples.
    float getError() const;
    // The sum of error x time step over the samples in the window.
    float getIntegral() const { return integral; }
    // The change between the last two errors per second of the newest step.
    float getDerivative() const;
    float getOutput() const;

    float getKp() const { return kp; }
    float getKi() const { return ki; }
    float getKd() const { return kd; }

private:
    float kp = 0.0f;
    float ki = 0.0f;
    float kd = 0.0f;
    std::array<float, kHistorySize> errors{};
    std::array<float, kHistorySize> timeSteps{};
    int newest = -1;    // slot of the newest sample
    int previous = -1;  // slot of the sample before it
    int count = 0;
    float integral = 0.0f;
};
