// The engine.
#include "physic/Motor.h"

#include "physic/MotorDesc.h"

#include <algorithm>

Motor::Motor(const MotorDesc& desc) : torqueCurve(desc), maxRpm(desc.maxRpm), minRpm(desc.minRpm), rpm(desc.minRpm)
{
}

void Motor::setRpm(float newRpm)
{
    rpm = std::max(std::min(newRpm, maxRpm), minRpm);
}

void Motor::setThrottle(float newThrottle)
{
    throttle = std::clamp(newThrottle, 0.0f, 1.0f);
}
