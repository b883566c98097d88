// The computer driver's target on the track.
#include "ai/AiTrackFollower.h"

#include "ai/AiCar.h"
#include "ai/OperationalAI.h"
#include "track/CheckPointTracker.h"
#include "track/TrackSpline.h"

#include <OGRE/OgreSceneNode.h>

#include <algorithm>

namespace
{
constexpr float kSearchStep = 2.0f;   // world units along the spline
constexpr float kSameNearness = 1.0f; // world units
}

void AiTrackFollower::update(float dtSeconds)
{
    if (spline)
        followSpline();
    if (!driver)
        return;
    if (!spline && tracker)
        followCheckPoints();
    driver->update(dtSeconds);
}

void AiTrackFollower::followCheckPoints()
{
    tracker->update();
    driver->setTarget(tracker->getCheckPointPosition(0), kCheckPointSpeedKmh);
}

Ogre::Vector2 AiTrackFollower::splinePoint(float at) const
{
    const Ogre::Vector3 point = spline->getPointAt(at);
    return Ogre::Vector2(point.x, point.z);
}

float AiTrackFollower::nearestDistance(const Ogre::Vector2& position) const
{
    const float end = std::min(distance, spline->getLength());
    float best = 0.0f;
    float bestSquared = position.squaredDistance(splinePoint(0.0f));
    for (float at = kSearchStep; at <= end; at += kSearchStep)
    {
        const float squared = position.squaredDistance(splinePoint(at));
        if (std::sqrt(squared) < std::sqrt(bestSquared) - kSameNearness)
        {
            best = at;
            bestSquared = squared;
        }
    }
    return best;
}

void AiTrackFollower::followSpline()
{
    if (!car)
        return;
    const Ogre::Vector2 position = car->getGroundPosition();
    lookAhead = std::max(kMinLookAhead, car->getWheelSpeed() * kLookAheadPerKmh);
    Ogre::Vector2 target = splinePoint(distance);
    float away = target.distance(position);
    if (away > kLostLookAheads * lookAhead)
    {
        setDistance(nearestDistance(position) + lookAhead);
        target = splinePoint(distance);
        away = target.distance(position);
    }
    if (lookAhead > away)
    {
        distance += lookAhead - away;
        target = splinePoint(distance);
    }
    if (driver)
        driver->setTarget(target, kSplineSpeedKmh);
    if (marker)
        marker->setPosition(target.x, kMarkerHeight, target.y);
}
