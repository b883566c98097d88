// The player's car as a computer driver sees it.
#pragma once

#include "ai/AiCar.h"

class Car;

class CarAiAdapter : public AiCar
{
public:
    explicit CarAiAdapter(Car& car) : car(car) {}

    bool isStopped() const override;
    Ogre::Vector2 getGroundPosition() const override;
    Ogre::Vector2 getGroundHeading() const override;
    float getWheelSpeed() const override;
    const LinearCurve* getSpeedCurve() const override;
    void setSteerLeft(float value) override;
    void setSteerRight(float value) override;
    void setThrottle(float value) override;
    void setBrake(float value) override;

private:
    Car& car;
};
