// The spline-following test driver.
#include "SplineDriver.h"

#include "physic/Car.h"
#include "track/TrackSpline.h"

#include <OGRE/OgreSceneNode.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kSearchStep = 0.5f;  // units

Ogre::Vector2 ground(const Ogre::Vector3& point)
{
    return Ogre::Vector2(point.x, point.z);
}
}

SplineDriver::SplineDriver(const TrackSpline& spline, float cruiseKmh, float bendKmh, Steering steering)
    : spline(spline), cruiseKmh(cruiseKmh), bendKmh(bendKmh), steering(steering)
{
}

Ogre::Vector2 SplineDriver::direction(float distance) const
{
    return (ground(spline.getPointAt(distance + kBendProbe)) - ground(spline.getPointAt(distance)))
        .normalisedCopy();
}

float SplineDriver::wantedKmh() const
{
    // The sharpest turn between here and the road ahead, as a share of a right angle.
    const Ogre::Vector2 now = direction(progress);
    float sharpest = 0.0f;
    for (float ahead = kBendProbe; ahead <= kBendAhead; ahead += kBendProbe)
    {
        const float cosine = std::clamp(now.dotProduct(direction(progress + ahead)), -1.0f, 1.0f);
        sharpest = std::max(sharpest, std::acos(cosine) / Ogre::Math::HALF_PI);
    }
    return cruiseKmh - (cruiseKmh - bendKmh) * std::min(sharpest, 1.0f);
}

void SplineDriver::findCar(const Ogre::Vector2& at)
{
    const float from = std::max(0.0f, progress - kSearchBack);
    const float to = std::min(spline.getLength(), progress + kSearchAhead);
    float best = progress;
    float bestDistance = at.distance(ground(spline.getPointAt(progress)));
    for (float distance = from; distance <= to; distance += kSearchStep)
    {
        const float d = at.distance(ground(spline.getPointAt(distance)));
        if (d < bestDistance)
        {
            bestDistance = d;
            best = distance;
        }
    }
    progress = std::max(progress, best);
    offTrack = bestDistance;
}

void SplineDriver::drive(Car& car)
{
    const Ogre::Vector2 at = ground(car.getNode()->_getDerivedPosition());
    findCar(at);
    const Ogre::Vector2 aim = ground(spline.getPointAt(progress + kLookAhead)) - at;
    const Ogre::Vector2 heading = car.getHeading(true);
    // Positive turns left: about +y, from +x towards -z.
    const float angle = std::atan2(heading.y * aim.x - heading.x * aim.y, heading.dotProduct(aim));
    const float steer = std::clamp(angle / kFullSteer, -1.0f, 1.0f);
    if (steering == Steering::Keys)
    {
        // As a player taps: the key is held while the wheels are short of the wanted
        // angle, and let go (the wheels come back) once they are past it.
        const float wheels = car.getSteerRatio();
        car.setDigitalLeft(steer > kKeyDeadBand && wheels < steer);
        car.setDigitalRight(steer < -kKeyDeadBand && wheels > steer);
    }
    else
    {
        car.setSteerLeft(std::max(steer, 0.0f));
        car.setSteerRight(std::min(steer, 0.0f));
    }

    const float speed = car.getSpeedKmh();
    const float wanted = wantedKmh();
    car.setThrottle(std::clamp((wanted - speed) * kThrottlePerKmh, 0.0f, 1.0f));
    car.setBrake(speed > wanted + kBrakeOverKmh ? 1.0f : 0.0f);
}
