// The computer driver on two fixed-gain PID controllers: one steers, one holds the speed.
#pragma once

#include "ai/OperationalAI.h"
#include "ai/PIDController.h"

class PIDOperationalAI : public OperationalAI
{
public:
    PIDOperationalAI();
    void update(float dtSeconds) override;

    const PIDController& getSteerController() const { return steerController; }
    const PIDController& getSpeedController() const { return speedController; }

protected:
    void resetControllers() override;
    float steeringOutput(float angleDegrees, float dtSeconds) override;
    float speedOutput(float speedErrorKmh, float dtSeconds) override;

private:
    PIDController steerController;
    PIDController speedController;
};
