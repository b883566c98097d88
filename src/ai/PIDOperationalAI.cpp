// The fixed-gain PID driver.
#include "ai/PIDOperationalAI.h"

PIDOperationalAI::PIDOperationalAI() : OperationalAI("PID")
{
    speedController.setGains(0.05f, 0.02f, 0.0f);
    steerController.setGains(0.05f, 0.03f, 0.02f);
}

void PIDOperationalAI::resetControllers()
{
    steerController.reset();
    speedController.reset();
}

void PIDOperationalAI::update(float dtSeconds)
{
    if (!canDrive())
        return;
    showGains(info1, info1Gains, steerController.getKp(), steerController.getKi(), steerController.getKd());
    showGains(info2, info2Gains, speedController.getKp(), speedController.getKi(), speedController.getKd());
    drive(dtSeconds);
}

float PIDOperationalAI::steeringOutput(float angleDegrees, float dtSeconds)
{
    steerController.addSample(angleDegrees, dtSeconds);
    return steerController.getOutput();
}

float PIDOperationalAI::speedOutput(float speedErrorKmh, float dtSeconds)
{
    speedController.addSample(speedErrorKmh, dtSeconds);
    return speedController.getOutput();
}
