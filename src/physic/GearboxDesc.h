// The gearbox of a vehicle description. The ratios are stored already multiplied by the
// final ratio, as the car file reader makes them.
#pragma once

#include <vector>

struct GearboxDesc
{
    std::vector<float> forwardRatios;  // first gear first
    float backwardRatio = 0.0f;
    float finalRatio = 0.0f;
    float gearUpRpm = 1500.0f;    // rpm; the automatic shifts up from here
    float gearDownRpm = 4000.0f;  // rpm; kept for the car file, the gearbox doesn't use it

    // Resets the backward ratio and the shift points; the forward and final ratios stay.
    void setToDefault()
    {
        backwardRatio = 0.0f;
        gearUpRpm = 1500.0f;
        gearDownRpm = 4000.0f;
    }
};
