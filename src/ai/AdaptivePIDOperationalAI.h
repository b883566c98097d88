// The computer driver whose steering controller tunes its own gains while it drives,
// against a reference rate at which the angle to the target should shrink.
#pragma once

#include "ai/AdaptivePIDController.h"
#include "ai/OperationalAI.h"
#include "physic/LinearCurve.h"

class AdaptivePIDOperationalAI : public OperationalAI
{
public:
    AdaptivePIDOperationalAI();
    void update(float dtSeconds) override;

    const AdaptivePIDController& getSteerController() const { return steerController; }

protected:
    void resetControllers() override;
    float steeringOutput(float angleDegrees, float dtSeconds) override;
    float speedOutput(float speedErrorKmh, float dtSeconds) override;

private:
    // The error's rate of change, signed by whether it moves towards zero.
    static float measuredRate(float error, float derivative);

    AdaptivePIDController steerController;
    AdaptivePIDController speedController;
    LinearCurve steerReference;  // |angle| -> wanted rate of change
    LinearCurve speedReference;  // |speed error| -> wanted rate of change
};
