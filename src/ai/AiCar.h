// What a computer driver reads of a car and the inputs it sets: the player's setters, so
// that a driver takes the wheel exactly as the player would.
#pragma once

#include <OGRE/OgreVector.h>

class LinearCurve;

class AiCar
{
public:
    virtual ~AiCar() = default;
    virtual bool isStopped() const = 0;
    // Where the car stands on the ground (world x, z).
    virtual Ogre::Vector2 getGroundPosition() const = 0;
    // The forward direction on the ground (x, z), interpolated between physics states.
    virtual Ogre::Vector2 getGroundHeading() const = 0;
    virtual float getWheelSpeed() const = 0;  // km/h, never negative
    // Steering magnitude to the highest speed (km/h) the car takes it at; may be null.
    virtual const LinearCurve* getSpeedCurve() const = 0;
    virtual void setSteerLeft(float value) = 0;   // 0..1
    virtual void setSteerRight(float value) = 0;  // -1..0
    virtual void setThrottle(float value) = 0;
    virtual void setBrake(float value) = 0;
};
