// The driver selector and its debug overlay.
#include "ai/StrategicAI.h"

#include "LogStream.h"
#include "ai/AdaptivePIDOperationalAI.h"
#include "ai/AiTrackFollower.h"
#include "ai/CarAiAdapter.h"
#include "ai/NNOperationalAI.h"
#include "ai/PIDOperationalAI.h"
#include "track/CheckPointTracker.h"

#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

namespace
{
const char* const kOverlayName = "AiDebugGUI";

void setCaption(const char* element, const std::string& text)
{
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    if (overlays.hasOverlayElement(element))
        overlays.getOverlayElement(element)->setCaption(text);
}
}

StrategicAI::StrategicAI(const std::string& networkFolder, const std::string& trainingFolder)
    : follower(std::make_unique<AiTrackFollower>())
{
    const std::string speedNet = networkFolder + kSpeedNetwork;
    const std::string steerNet = networkFolder + kSteerNetwork;
    const std::string speedData = trainingFolder + kSpeedTraining;
    const std::string steerData = trainingFolder + kSteerTraining;
    drivers.push_back(nullptr);
    drivers.push_back(std::make_unique<PIDOperationalAI>());
    drivers.push_back(std::make_unique<AdaptivePIDOperationalAI>());
    auto learner = std::make_unique<NNOperationalAI>(speedNet, steerNet, speedData, steerData);
    learner->setLearning(true);
    drivers.push_back(std::move(learner));
    drivers.push_back(std::make_unique<NNOperationalAI>(speedNet, steerNet, speedData, steerData));
    follower->setOperationalAI(nullptr);
    if (Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr())
        debugOverlay = overlays->getByName(kOverlayName);
}

StrategicAI::~StrategicAI()
{
    if (debugOverlay)
        debugOverlay->hide();
    follower.reset();
    drivers.clear();  // the learning driver writes its training files now
}

void StrategicAI::setCar(Car* car)
{
    for (auto& driver : drivers)
        if (driver)
            driver->setCar(car);
    followedCar = car ? std::make_unique<CarAiAdapter>(*car) : nullptr;
    follower->setCar(followedCar.get());
}

void StrategicAI::setAiCar(AiCar* car)
{
    for (auto& driver : drivers)
        if (driver)
            driver->setAiCar(car);
    followedCar.reset();
    follower->setCar(car);
}

void StrategicAI::setMarker(Ogre::SceneNode* node)
{
    marker = node;
    follower->setMarker(node);
}

void StrategicAI::setCheckPointTracker(CheckPointTracker* newTracker)
{
    tracker = newTracker;
    follower->setCheckPointTracker(newTracker);
}

void StrategicAI::setTrackSpline(TrackSpline* spline)
{
    follower->setTrackSpline(spline);
}

void StrategicAI::reset()
{
    if (tracker)
        tracker->restart();
    follower->setDistance(0.0f);
}

void StrategicAI::nextOperationalAI()
{
    if (drivers.empty())
        return;
    index = (index + 1) % drivers.size();
    follower->setOperationalAI(drivers[index].get());
    // The two neural drivers share a name: the number tells them apart.
    const OperationalAI* driver = drivers[index].get();
    debugLog() << "Driver " << index << ": " << (driver ? driver->getName() : "the player") << std::endl;
}

void StrategicAI::setDebugGUI(bool on)
{
    debugShown = on;
    if (!on && debugOverlay)
        debugOverlay->hide();
}

void StrategicAI::showDebugOverlay()
{
    OperationalAI* driver = drivers[index].get();
    if (!debugOverlay)
        return;
    if (driver && debugShown)
    {
        if (!debugOverlay->isVisible())
            debugOverlay->show();
        setCaption("AiType", driver->getName());
        setCaption("AiInfo1", driver->getInfo1());
        setCaption("AiInfo2", driver->getInfo2());
    }
    else if (debugOverlay->isVisible())
        debugOverlay->hide();
}

void StrategicAI::onPhysicStep(float dtSeconds)
{
    showDebugOverlay();
    follower->update(dtSeconds);
}
