// The motor of a vehicle description: full-throttle torque over engine rpm, and rpm limits.
#pragma once

#include "physic/LinearCurve.h"

struct MotorDesc : public LinearCurve
{
    float maxRpm = 5000.0f;  // rpm
    float minRpm = 1000.0f;  // rpm

    // No torque points, 5000 and 1000 rpm.
    void setToDefault()
    {
        clear();
        maxRpm = 5000.0f;
        minRpm = 1000.0f;
    }
};
