// The ghost car and its replay.
#include "CarPlayer.h"

#include "CarRecorder.h"
#include "LogStream.h"
#include "graphics/EntityMaterialInstance.h"
#include "physic/MeshEntity.h"
#include "physic/CarDesc.h"
#include "physic/VehicleDesc.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <cmath>

namespace
{
float valueOf(const CarStateWriter::Frame& frame, const std::string& key)
{
    auto found = frame.find(key);
    return found == frame.end() ? 0.0f : found->second;
}

float lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

// Roll angles wrap at a whole turn: interpolate the short way round.
float lerpAngle(float a, float b, float t)
{
    float difference = std::remainder(b - a, Ogre::Math::TWO_PI);
    return a + difference * t;
}
}

CarPlayer::CarPlayer(const std::string& playerName, Ogre::SceneManager* manager)
    : name(playerName), sceneManager(manager)
{
}

CarPlayer::~CarPlayer()
{
    clear();
}

std::string CarPlayer::wheelName(std::size_t i) const
{
    return name + "_PlayerCarWheel" + std::to_string(i);
}

bool CarPlayer::load(const std::string& path, const CarDesc& car, std::string* error)
{
    auto refuse = [&](const std::string& reason) {
        clear();
        if (error)
            *error = path + ": " + reason;
        return false;
    };
    clear();
    std::string problem;
    if (!recording.load(path, &problem))
    {
        if (error)
            *error = problem;
        return false;
    }
    if (recording.getFrameCount() == 0)
        return refuse("the recording holds no frames");
    const int interval = recording.getInt("updatePause");
    const int wheels = recording.getInt("wheelNr");
    if (interval < 0 || interval > kMaxIntervalSteps)
        return refuse("a frame interval of " + std::to_string(interval) + " steps");
    intervalSteps = interval;
    // The wheels go where the car's description puts them: a run of another car has none.
    if (wheels == static_cast<int>(car.vehicle->wheels.size()))
        wheelCount = static_cast<std::size_t>(wheels);
    else
        debugLog() << "The ghost " << path << " was recorded with " << wheels << " wheels, the car has "
                   << car.vehicle->wheels.size() << ": it drives without wheels" << std::endl;
    frameInterval = intervalSteps > 0 ? intervalSteps * kStepSeconds : kStepSeconds;

    try
    {
        bodyEntity = createMeshEntity(*sceneManager, name + "_PlayerCar", car.vehicle->graphicMesh);
        bodyNode = sceneManager->getRootSceneNode()->createChildSceneNode(name + "_PlayerCarNode");
        bodyNode->attachObject(bodyEntity);
        bodyMaterial = std::make_unique<EntityMaterialInstance>(bodyEntity);
        bodyMaterial->setTransparency(kTransparency);
        for (std::size_t i = 0; i < wheelCount; ++i)
        {
            const WheelDesc& wheel = car.vehicle->wheels[i];
            Ogre::Entity* entity = createMeshEntity(*sceneManager, wheelName(i), wheel.mesh);
            wheelEntities.push_back(entity);
            // The same nodes the car has: the wheel turned a quarter, its roll node again.
            Ogre::SceneNode* wheelNode =
                bodyNode->createChildSceneNode(wheelName(i) + "Node", wheel.position, wheel.orientation);
            wheelNode->setInitialState();
            wheelNodes.push_back(wheelNode);
            Ogre::SceneNode* rollNode =
                wheelNode->createChildSceneNode(wheelName(i) + "NodeRoll", Ogre::Vector3::ZERO, wheel.orientation);
            rollNode->setInitialState();
            rollNode->attachObject(entity);
            rollNodes.push_back(rollNode);
            wheelMaterials.push_back(std::make_unique<EntityMaterialInstance>(entity));
            wheelMaterials.back()->setTransparency(kTransparency);
        }
    }
    catch (const Ogre::Exception& failure)
    {
        return refuse("the car's meshes: " + failure.getDescription());
    }
    applyFrame(recording.nextFrame());
    applyFrame(recording.nextFrame());
    place(0.0f);
    return true;
}

void CarPlayer::play()
{
    playing = true;
    paused = false;
}

float CarPlayer::getRunSeconds() const
{
    const unsigned frames = recording.getFrameCount();
    return frames > 1 ? static_cast<float>(frames - 1) * frameInterval : 0.0f;
}

void CarPlayer::stop()
{
    playing = false;
    paused = false;
}

void CarPlayer::applyFrame(const CarStateWriter::Frame* frame)
{
    if (!bodyNode || !frame)
        return;
    previousPosition = currentPosition;
    previousOrientation = currentOrientation;
    currentPosition = Ogre::Vector3(valueOf(*frame, "posx"), valueOf(*frame, "posy"), valueOf(*frame, "posz"));
    currentOrientation = Ogre::Quaternion(valueOf(*frame, "quatw"), valueOf(*frame, "quatx"),
                                          valueOf(*frame, "quaty"), valueOf(*frame, "quatz"));
    currentOrientation.normalise();
    previousOffsets = currentOffsets;
    previousSteer = currentSteer;
    previousRoll = currentRoll;
    currentOffsets.assign(wheelCount, 0.0f);
    currentSteer.assign(wheelCount, 0.0f);
    currentRoll.assign(wheelCount, 0.0f);
    for (std::size_t i = 0; i < wheelCount; ++i)
    {
        currentOffsets[i] = valueOf(*frame, CarRecorder::wheelKey(i, "y"));
        currentSteer[i] = valueOf(*frame, CarRecorder::wheelKey(i, "steer"));
        currentRoll[i] = valueOf(*frame, CarRecorder::wheelKey(i, "roll"));
    }
}

void CarPlayer::update(float seconds)
{
    if (!playing || paused || !bodyNode)
        return;
    playedSeconds += seconds;
    accumulator += seconds;
    if (accumulator >= frameInterval)
    {
        const int frames = static_cast<int>(accumulator / frameInterval);
        accumulator -= frames * frameInterval;
        for (int i = 0; i < frames; ++i)
            applyFrame(recording.nextFrame());
    }
    place(accumulator > 0.0f ? accumulator / frameInterval : 0.0f);
}

void CarPlayer::place(float t)
{
    bodyNode->setPosition(previousPosition + (currentPosition - previousPosition) * t);
    bodyNode->setOrientation(Ogre::Quaternion::Slerp(t, previousOrientation, currentOrientation, true));
    const bool haveWheels = previousOffsets.size() == wheelCount && wheelNodes.size() == wheelCount;
    for (std::size_t i = 0; haveWheels && i < wheelCount; ++i)
    {
        wheelNodes[i]->resetToInitialState();
        wheelNodes[i]->translate(0, lerp(previousOffsets[i], currentOffsets[i], t), 0, Ogre::Node::TS_PARENT);
        wheelNodes[i]->yaw(Ogre::Radian(lerp(previousSteer[i], currentSteer[i], t)), Ogre::Node::TS_LOCAL);
        rollNodes[i]->resetToInitialState();
        rollNodes[i]->roll(Ogre::Radian(lerpAngle(previousRoll[i], currentRoll[i], t)), Ogre::Node::TS_LOCAL);
    }
}

void CarPlayer::clear()
{
    bodyMaterial.reset();
    wheelMaterials.clear();
    for (std::size_t i = 0; i < wheelNodes.size(); ++i)
    {
        rollNodes[i]->detachAllObjects();
        sceneManager->destroySceneNode(rollNodes[i]);
        sceneManager->destroySceneNode(wheelNodes[i]);
    }
    for (Ogre::Entity* entity : wheelEntities)
        sceneManager->destroyEntity(entity);
    wheelNodes.clear();
    rollNodes.clear();
    wheelEntities.clear();
    if (bodyNode)
    {
        bodyNode->detachAllObjects();
        sceneManager->destroySceneNode(bodyNode);
        bodyNode = nullptr;
    }
    if (bodyEntity)
    {
        sceneManager->destroyEntity(bodyEntity);
        bodyEntity = nullptr;
    }
    playing = paused = false;
    intervalSteps = 0;
    frameInterval = kStepSeconds;
    accumulator = 0.0f;
    playedSeconds = 0.0f;
    wheelCount = 0;
    previousPosition = currentPosition = Ogre::Vector3::ZERO;
    previousOrientation = currentOrientation = Ogre::Quaternion::IDENTITY;
    previousOffsets.clear();
    currentOffsets.clear();
    previousSteer.clear();
    currentSteer.clear();
    previousRoll.clear();
    currentRoll.clear();
    recording = CarStateWriter();
}
