// A computer driver: turns a target point on the ground and a target speed into a car's
// steering, throttle and brake, one physics step at a time. Angles in degrees, speeds in
// km/h, points are ground positions (x, z).
#pragma once

#include "ai/AiCar.h"

#include <OGRE/OgreVector.h>

#include <array>
#include <limits>
#include <memory>
#include <string>

class Car;

class OperationalAI
{
public:
    virtual ~OperationalAI();

    // One driving step; nothing without a car or while the car is held.
    virtual void update(float dtSeconds) = 0;
    virtual void setTarget(const Ogre::Vector2& point, float speedKmh);
    // The car to drive (borrowed); null for none. The controllers start afresh.
    virtual void setCar(Car* car);
    // The same for a car seen only through the driver's interface (tests).
    virtual void setAiCar(AiCar* car);
    Car* getCar() const { return car; }
    AiCar* getAiCar() const { return aiCar; }

    const std::string& getName() const { return name; }
    const std::string& getInfo1() const { return info1; }
    const std::string& getInfo2() const { return info2; }
    // The signed angle from the car's heading to the point: negative to its right.
    float getAngleToTarget(const Ogre::Vector2& point) const;
    float getLastAngle() const { return lastAngle; }
    float getTargetSpeed() const { return targetSpeedKmh; }

    // The target speed for a steering output: the car's curve, which only ever lowers the
    // request, or for a car without one fixed steps that replace it.
    static float limitSpeed(float requestedKmh, float steering, const AiCar& car);

protected:
    explicit OperationalAI(std::string name) : name(std::move(name)) {}
    // Clears the controllers' history when a car is given.
    virtual void resetControllers() = 0;
    // Whether the step may drive: a car that is not held.
    bool canDrive() const;
    // The common step around the driver's two outputs.
    void drive(float dtSeconds);
    virtual float steeringOutput(float angleDegrees, float dtSeconds) = 0;
    virtual float speedOutput(float speedErrorKmh, float dtSeconds) = 0;
    static std::string gainText(float kp, float ki, float kd);
    // The gains a line of text shows; nothing shown yet compares unequal to any gain.
    using ShownGains = std::array<float, 3>;
    static constexpr ShownGains kNothingShown{std::numeric_limits<float>::quiet_NaN(),
                                              std::numeric_limits<float>::quiet_NaN(),
                                              std::numeric_limits<float>::quiet_NaN()};
    // Writes the gains into an info line only when one of them moved: formatting three
    // floats at every physics step cost the driver ten times its own driving.
    static void showGains(std::string& info, ShownGains& shown, float kp, float ki, float kd);

    Ogre::Vector2 targetPoint = Ogre::Vector2::ZERO;
    float targetSpeedKmh = 0.0f;
    Car* car = nullptr;
    AiCar* aiCar = nullptr;
    float lastAngle = 0.0f;
    std::string name;
    std::string info1;
    std::string info2;
    ShownGains info1Gains = kNothingShown;
    ShownGains info2Gains = kNothingShown;

private:
    std::unique_ptr<AiCar> ownAdapter;  // for a Car given by setCar
};
