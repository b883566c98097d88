// The driver selector: the computer drivers a key press hands the car to (none first: the
// player drives), stepped each physics step with a target from the track follower, and
// the debug overlay that shows the selected driver and its gains.
#pragma once

#include "physic/PhysicListener.h"

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class Overlay;
class SceneNode;
}

class AiCar;
class AiTrackFollower;
class Car;
class CheckPointTracker;
class OperationalAI;
class TrackSpline;

class StrategicAI : public PhysicListener
{
public:
    static constexpr const char* kSpeedNetwork = "NNOperationalSpeed.net";
    static constexpr const char* kSteerNetwork = "NNOperationalSteer.net";
    static constexpr const char* kSpeedTraining = "speedtraining.data";
    static constexpr const char* kSteerTraining = "steertraining.data";

    // networkFolder holds the trained networks (the media), trainingFolder receives the
    // learning driver's samples (the per-user folder); both end in "/" or are empty.
    StrategicAI(const std::string& networkFolder, const std::string& trainingFolder);
    ~StrategicAI() override;
    StrategicAI(const StrategicAI&) = delete;
    StrategicAI& operator=(const StrategicAI&) = delete;

    // The car every driver steers and the follower follows (borrowed).
    void setCar(Car* car);
    // The same for a car seen only through the drivers' interface (tests).
    void setAiCar(AiCar* car);
    void setMarker(Ogre::SceneNode* marker);
    void setCheckPointTracker(CheckPointTracker* tracker);
    void setTrackSpline(TrackSpline* spline);
    // Back to the start: the tracker rewound, the spline target at the look-ahead.
    void reset();
    // none, PID, adaptive PID, neural learning, neural driving, none, ...; logged with the
    // driver's number.
    void nextOperationalAI();
    void setDebugGUI(bool on);

    void onPhysicStep(float dtSeconds) override;

    unsigned getIndex() const { return index; }
    OperationalAI* getSelected() const { return drivers[index].get(); }
    const std::vector<std::unique_ptr<OperationalAI>>& getDrivers() const { return drivers; }
    AiTrackFollower* getFollower() const { return follower.get(); }

private:
    void showDebugOverlay();

    CheckPointTracker* tracker = nullptr;
    std::unique_ptr<AiCar> followedCar;  // the follower's view of the car given by setCar
    std::unique_ptr<AiTrackFollower> follower;
    std::vector<std::unique_ptr<OperationalAI>> drivers;
    unsigned index = 0;
    Ogre::Overlay* debugOverlay = nullptr;  // null where the overlay scripts are not loaded
    bool debugShown = false;
    Ogre::SceneNode* marker = nullptr;
};
