// Following one car through the start, the checkpoint gates and the finish box.
#include "track/CheckPointTracker.h"

#include "physic/TrackedCar.h"

#include <OGRE/OgreSceneNode.h>

#include <iterator>

namespace
{
// Roads running along z (directions 0 and 2) are crossed by a gate wide along x.
bool runsAlongZ(int direction)
{
    return direction == 0 || direction == 2;
}
}

CheckPointTracker::CheckPointTracker()
{
    reset();
}

CheckPointTracker::~CheckPointTracker() = default;

void CheckPointTracker::setStart(const Ogre::Vector2& position, int direction)
{
    startPosition = position;
    startOrientation = directionToOrientation(direction);
}

void CheckPointTracker::addCheckPoint(int32_t number, const Ogre::Vector2& position, int direction, float extentX,
                                      float extentZ)
{
    gates[number] = Gate{position, extentX, extentZ, directionToOrientation(direction)};
    gateCount = static_cast<int32_t>(gates.size());
    rewind();
}

void CheckPointTracker::addCheckPointByDirection(int32_t number, const Ogre::Vector2& position, int direction)
{
    if (runsAlongZ(direction))
        addCheckPoint(number, position, direction, kGateWidth, kGateDepth);
    else
        addCheckPoint(number, position, direction, kGateDepth, kGateWidth);
}

void CheckPointTracker::setFinishBox(const Ogre::Vector2& position, float extentX, float extentZ)
{
    finishPosition = position;
    finishExtentX = extentX;
    finishExtentZ = extentZ;
}

void CheckPointTracker::setFinish(const Ogre::Vector2& position, int direction)
{
    if (runsAlongZ(direction))
        setFinishBox(position, kGateWidth, kGateDepth);
    else
        setFinishBox(position, kGateDepth, kGateWidth);
}

Ogre::Quaternion CheckPointTracker::directionToOrientation(int direction)
{
    return Ogre::Quaternion(Ogre::Degree(90.0f - 90.0f * static_cast<float>(direction)), Ogre::Vector3::UNIT_Y);
}

bool CheckPointTracker::isInside(const Ogre::Vector2& centre, float extentX, float extentZ) const
{
    if (!car || !car->getNode())
        return false;
    const Ogre::Vector3& p = car->getNode()->getPosition();
    return centre.x - extentX / 2 < p.x && p.x < centre.x + extentX / 2 && centre.y - extentZ / 2 < p.z &&
           p.z < centre.y + extentZ / 2;
}

bool CheckPointTracker::update()
{
    if (!car)
        return true;
    if (passedCount < gateCount)
    {
        const Gate& gate = currentGate->second;
        if (isInside(gate.position, gate.extentX, gate.extentZ))
        {
            passed = true;
            ++currentGate;
            ++passedCount;
            if (passedCount < gateCount)
                currentKey = currentGate->first;
        }
        return true;
    }
    return !isInside(finishPosition, finishExtentX, finishExtentZ);
}

bool CheckPointTracker::takePassed()
{
    const bool wasPassed = passed;
    passed = false;
    return wasPassed;
}

int32_t CheckPointTracker::getRemainingCount() const
{
    return gates.empty() ? 0 : gateCount - passedCount;
}

Ogre::Vector2 CheckPointTracker::getCheckPointPosition(int32_t offset) const
{
    const int32_t index = passedCount + offset;
    if (index >= gateCount || gates.empty())
        return finishPosition;
    if (index < 1)
        return gates.begin()->second.position;
    // The current gate is always the one at passedCount in number order.
    return std::next(gates.begin(), index)->second.position;
}

void CheckPointTracker::rewind()
{
    passedCount = 0;
    currentGate = gates.begin();
    if (!gates.empty())
        currentKey = currentGate->first;
}

void CheckPointTracker::reset()
{
    currentKey = -1;
    rewind();
}

void CheckPointTracker::resetCar()
{
    if (!car)
        return;
    Ogre::Vector2 position = startPosition;
    Ogre::Quaternion orientation = startOrientation;
    if (passedCount > 0)
    {
        const Gate& last = std::next(gates.begin(), passedCount - 1)->second;
        position = last.position;
        orientation = last.orientation;
    }
    car->setPose(Ogre::Vector3(position.x, 0.0f, position.y), orientation);
}
