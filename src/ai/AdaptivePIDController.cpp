// A PID controller that tunes its own gains on line.
#include "ai/AdaptivePIDController.h"

#include <algorithm>
#include <cmath>

namespace
{
float sign(float value)
{
    return value > 0.0f ? 1.0f : (value < 0.0f ? -1.0f : 0.0f);
}
}

AdaptivePIDController::AdaptivePIDController()
{
    reset();
}

void AdaptivePIDController::reset()
{
    elapsedSeconds = 0.0f;
    previousAdaptationError = 0.0f;
    mode = 0;
    periodSeconds = 0.0f;
    adapting = true;
    gains.fill(0.0f);
    lastGainChange.fill(0.0f);
    rates.fill(0.0f);
    thresholds.fill(0.0f);
    damping.fill(0.0f);
    minima.fill(0.0f);
    maxima.fill(0.0f);
    controller.reset();
}

void AdaptivePIDController::setGains(float kp, float ki, float kd)
{
    gains = {kp, ki, kd};
    controller.setGains(kp, ki, kd);
}

void AdaptivePIDController::setLimits(int index, float minimum, float maximum)
{
    minima[index] = minimum;
    maxima[index] = maximum;
}

int AdaptivePIDController::tunedGain() const
{
    if (!adapting || !(periodSeconds > 0.0f))
        return -1;
    const float turns = std::trunc(elapsedSeconds / periodSeconds);
    return static_cast<int>(std::fmod(turns, static_cast<float>(kGainCount)));
}

float AdaptivePIDController::term(int index) const
{
    switch (index)
    {
    case 0: return controller.getError();
    case 1: return controller.getIntegral();
    default: return controller.getDerivative();
    }
}

void AdaptivePIDController::update(float dtSeconds, float error, float reference, float actual)
{
    controller.addSample(error, dtSeconds);
    elapsedSeconds += dtSeconds;
    const int tuned = tunedGain();
    const float adaptationError = actual - reference;

    float change = 0.0f;
    if (tuned >= 0 && std::fabs(term(tuned)) > thresholds[tuned])
    {
        change = gainDelta(tuned, adaptationError, dtSeconds);
        gains[tuned] = std::min(std::max(gains[tuned] + change * dtSeconds, minima[tuned]), maxima[tuned]);
    }
    controller.setGains(gains[0], gains[1], gains[2]);

    lastGainChange.fill(0.0f);
    if (tuned >= 0)
        lastGainChange[tuned] = change;
    previousAdaptationError = adaptationError;
}

float AdaptivePIDController::sensitivity(int index, float adaptationError, float dtSeconds) const
{
    if (!(dtSeconds > 0.0f))
        return 0.0f;
    const float errorRate = (adaptationError - previousAdaptationError) / dtSeconds;
    if (std::fabs(lastGainChange[index]) > kMinGainChange)
        return std::clamp(errorRate / lastGainChange[index], -kMaxSensitivity, kMaxSensitivity);
    if (std::fabs(errorRate) < kMinErrorChange)
        return 0.0f;
    return sign(errorRate);
}

float AdaptivePIDController::gainDelta(int index, float adaptationError, float dtSeconds) const
{
    const float s = sensitivity(index, adaptationError, dtSeconds);
    const float r = rates[index];
    switch (mode)
    {
    case 0: return -r * adaptationError * s;
    case 1: return -r * sign(adaptationError) * sign(s);
    case 2: return -r * adaptationError * sign(s);
    case 3: return -r * sign(adaptationError) * s;
    case 4:
    {
        // The normalised rule: with no damping a zero sensitivity would divide by zero.
        const float denominator = damping[index] + s * s;
        return denominator > 0.0f ? -r * adaptationError * s / denominator : 0.0f;
    }
    default: return 0.0f;
    }
}
