// A discrete PID controller with a sliding-window integral.
#include "ai/PIDController.h"

PIDController::PIDController()
{
    reset();
}

void PIDController::setGains(float newKp, float newKi, float newKd)
{
    kp = newKp;
    ki = newKi;
    kd = newKd;
}

void PIDController::reset()
{
    newest = -1;
    previous = -1;
    count = 0;
    integral = 0.0f;
    errors.fill(0.0f);
    timeSteps.fill(0.0f);
}

void PIDController::addSample(float error, float dtSeconds)
{
    previous = newest;
    newest = (newest + 1) % kHistorySize;
    // A full window drops its oldest sample, which sits in the slot about to be reused.
    if (count == kHistorySize)
        integral -= errors[newest] * timeSteps[newest];
    errors[newest] = error;
    timeSteps[newest] = dtSeconds;
    integral += error * dtSeconds;
    if (count < kHistorySize)
        ++count;
}

float PIDController::getError() const
{
    return count > 0 ? errors[newest] : 0.0f;
}

float PIDController::getDerivative() const
{
    if (count < 2)
        return 0.0f;
    const float dt = timeSteps[newest];
    if (dt <= kMinDerivativeStep)
        return kSaturatedDerivative;
    return (errors[newest] - errors[previous]) / dt;
}

float PIDController::getOutput() const
{
    return kp * getError() + ki * getIntegral() + kd * getDerivative();
}
