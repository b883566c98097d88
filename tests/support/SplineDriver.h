// A scripted driver for tests: steers the car towards the point of the track spline a
// little ahead of it, with a wheel or with the keys, and holds a cruising speed with
// throttle and brake, slowing down for the bends it sees coming.
#pragma once

#include <OGRE/OgreVector.h>

class Car;
class TrackSpline;

class SplineDriver
{
public:
    static constexpr float kLookAhead = 10.0f;     // units along the spline
    static constexpr float kSearchBack = 3.0f;     // units: where the car is found again
    static constexpr float kSearchAhead = 25.0f;   // units
    static constexpr float kFullSteer = 0.5f;      // radians off the aim for full lock
    static constexpr float kThrottlePerKmh = 0.1f;
    static constexpr float kBrakeOverKmh = 5.0f;   // brakes this far above the wanted speed
    static constexpr float kBendAhead = 25.0f;     // units: how far ahead bends are looked for
    static constexpr float kBendProbe = 2.0f;      // units: the chord a direction is taken over

    static constexpr float kKeyDeadBand = 0.05f;  // of full lock: a driver on the keys leaves it be

    enum class Steering
    {
        Analogue,  // a wheel: the angle in proportion to the aim
        Keys,      // left and right tapped and held, as a player on the keyboard
    };

    // A right-angle bend is taken at bendKmh, straights at cruiseKmh.
    SplineDriver(const TrackSpline& spline, float cruiseKmh, float bendKmh, Steering steering = Steering::Analogue);

    // Sets the car's inputs for the next step. The progress only moves forward, so a track
    // ending where it starts is driven round, not finished at once.
    void drive(Car& car);
    // Units along the spline of the point nearest the car.
    float getProgress() const { return progress; }
    // Units from the car to the spline at the last call.
    float getOffTrack() const { return offTrack; }

private:
    void findCar(const Ogre::Vector2& at);
    Ogre::Vector2 direction(float distance) const;
    float wantedKmh() const;

    const TrackSpline& spline;
    float cruiseKmh;
    float bendKmh;
    Steering steering;
    float progress = 0.0f;
    float offTrack = 0.0f;
};
