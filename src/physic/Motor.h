// The engine: rpm between its limits and the torque the throttle asks of the torque curve.
#pragma once

#include "physic/LinearCurve.h"

struct MotorDesc;

class Motor
{
public:
    explicit Motor(const MotorDesc& desc);

    // Torque curve at the current rpm times the throttle.
    float getTorque() const { return torqueCurve.getValue(rpm) * throttle; }
    // Clamped to the limits; the minimum wins when they cross.
    void setRpm(float newRpm);
    void setThrottle(float newThrottle);  // clamped to 0..1
    void resetRpm() { rpm = minRpm; }
    float getRpm() const { return rpm; }
    float getMinRpm() const { return minRpm; }
    float getMaxRpm() const { return maxRpm; }
    float getThrottle() const { return throttle; }

private:
    LinearCurve torqueCurve;
    float maxRpm;
    float minRpm;
    float rpm;
    float throttle = 0.0f;
};
