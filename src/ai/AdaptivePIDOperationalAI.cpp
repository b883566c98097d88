// The self-tuning PID driver.
#include "ai/AdaptivePIDOperationalAI.h"

#include <cmath>

AdaptivePIDOperationalAI::AdaptivePIDOperationalAI() : OperationalAI("Adaptive PID")
{
    steerController.setAdaptive(true);
    steerController.setMode(0);
    steerController.setGains(0.03f, 0.03f, 0.02f);
    steerController.setPeriod(0.06f);
    for (int gain = 0; gain < AdaptivePIDController::kGainCount; ++gain)
        steerController.setThreshold(gain, 0.2f);
    steerController.setRate(0, 0.001f);
    steerController.setRate(1, 0.001f);
    steerController.setRate(2, 0.0001f);
    steerController.setLimits(0, 0.015f, 0.15f);
    steerController.setLimits(1, 0.015f, 0.08f);
    steerController.setLimits(2, 0.008f, 0.05f);

    speedController.setGains(0.05f, 0.02f, 0.0f);
    speedController.setAdaptive(false);

    for (auto [angle, rate] : {std::pair{0.0f, 0.0f}, {0.01f, -0.001f}, {1.0f, -0.005f}, {10.0f, -0.05f},
                               {20.0f, -0.05f}, {30.0f, -0.05f}})
        steerReference.addPoint(angle, rate);
    for (auto [error, rate] : {std::pair{0.0f, 0.0f}, {10.0f, -0.01f}, {20.0f, -0.02f}, {30.0f, -0.05f}})
        speedReference.addPoint(error, rate);
}

void AdaptivePIDOperationalAI::resetControllers()
{
    steerController.resetPID();
    speedController.resetPID();
}

void AdaptivePIDOperationalAI::update(float dtSeconds)
{
    if (!canDrive())
        return;
    showGains(info1, info1Gains, steerController.getGain(0), steerController.getGain(1), steerController.getGain(2));
    showGains(info2, info2Gains, speedController.getGain(0), speedController.getGain(1), speedController.getGain(2));
    drive(dtSeconds);
}

float AdaptivePIDOperationalAI::measuredRate(float error, float derivative)
{
    const float rate = std::fabs(derivative);
    return error * derivative < 0.0f ? -rate : rate;
}

float AdaptivePIDOperationalAI::steeringOutput(float angleDegrees, float dtSeconds)
{
    const float reference = steerReference.getValue(std::fabs(angleDegrees));
    // The rate is the one measured before this step's sample.
    steerController.update(dtSeconds, angleDegrees, reference,
                           measuredRate(angleDegrees, steerController.getDerivative()));
    return steerController.getOutput();
}

float AdaptivePIDOperationalAI::speedOutput(float speedErrorKmh, float dtSeconds)
{
    const float reference = speedReference.getValue(std::fabs(speedErrorKmh));
    speedController.update(dtSeconds, speedErrorKmh, reference,
                           measuredRate(speedErrorKmh, speedController.getDerivative()));
    return speedController.getOutput();
}
