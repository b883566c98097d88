// Chooses the computer driver's target each physics step: the next checkpoint, or a point
// on the track's centre spline a speed-dependent distance ahead of the car. The spline
// target follows the car while the player drives too, so that a driver handed the car
// takes up the road where it stands.
#pragma once

#include <OGRE/OgreVector.h>

namespace Ogre
{
class SceneNode;
}

class AiCar;
class CheckPointTracker;
class OperationalAI;
class TrackSpline;

class AiTrackFollower
{
public:
    static constexpr float kMinLookAhead = 20.0f;         // world units
    static constexpr float kLookAheadPerKmh = 0.28f;      // world units per km/h
    static constexpr float kCheckPointSpeedKmh = 300.0f;  // before the driver's limit
    static constexpr float kSplineSpeedKmh = 200.0f;
    static constexpr float kMarkerHeight = 50.0f;
    // A target this many look-aheads away means the car was put back: find it on the path.
    static constexpr float kLostLookAheads = 3.0f;

    void setOperationalAI(OperationalAI* driver) { this->driver = driver; }
    // The car followed (borrowed), whoever drives it; null for none.
    void setCar(AiCar* car) { this->car = car; }
    void setCheckPointTracker(CheckPointTracker* tracker) { this->tracker = tracker; }
    void setTrackSpline(TrackSpline* spline) { this->spline = spline; }
    void setMarker(Ogre::SceneNode* marker) { this->marker = marker; }
    CheckPointTracker* getCheckPointTracker() const { return tracker; }
    TrackSpline* getTrackSpline() const { return spline; }
    float getDistance() const { return distance; }
    float getLookAhead() const { return lookAhead; }
    // The spline target's distance from the start, never below the look-ahead.
    void setDistance(float d) { distance = d < lookAhead ? lookAhead : d; }

    // Moves the spline target along with the car; with a driver, sets its target and steps
    // it once (the spline wins when both are set).
    void update(float dtSeconds);

private:
    void followSpline();
    void followCheckPoints();
    // Units along the spline of its point nearest the ground position, searched up to the
    // current target; the first of equally near points, so a loop's start is not its end.
    float nearestDistance(const Ogre::Vector2& position) const;
    Ogre::Vector2 splinePoint(float at) const;

    OperationalAI* driver = nullptr;
    AiCar* car = nullptr;
    CheckPointTracker* tracker = nullptr;
    TrackSpline* spline = nullptr;
    float distance = kMinLookAhead;
    float lookAhead = kMinLookAhead;
    Ogre::SceneNode* marker = nullptr;
};
