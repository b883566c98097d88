// One car's progress over a loaded track: the start pose, the checkpoint gates taken in
// ascending number, the finish box, and putting the car back at the last gate it passed.
// Positions are ground positions (world x, z).
#pragma once

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <map>

class TrackedCar;

class CheckPointTracker
{
public:
    static constexpr float kGateWidth = 30.0f;  // world units across the road
    static constexpr float kGateDepth = 2.0f;   // world units along the road

    CheckPointTracker();
    ~CheckPointTracker();

    // The car followed (borrowed); null for none.
    void setCar(TrackedCar* newCar) { car = newCar; }
    TrackedCar* getCar() const { return car; }

    // direction: 0 -z, 1 +x, 2 +z, 3 -x.
    void setStart(const Ogre::Vector2& position, int direction);
    // Replaces a gate of the same number, then rewinds.
    void addCheckPoint(int32_t number, const Ogre::Vector2& position, int direction, float extentX, float extentZ);
    // A gate across a road running in the direction.
    void addCheckPointByDirection(int32_t number, const Ogre::Vector2& position, int direction);
    void setFinishBox(const Ogre::Vector2& position, float extentX, float extentZ);
    void setFinish(const Ogre::Vector2& position, int direction);
    // A turn by (90 - 90 * direction) degrees about +y.
    static Ogre::Quaternion directionToOrientation(int direction);

    // Whether the car's ground position lies strictly inside the rectangle.
    bool isInside(const Ogre::Vector2& centre, float extentX, float extentZ) const;
    // Passes at most one gate; false once the car is in the finish box after every gate.
    bool update();
    // The passed flag, cleared by reading it.
    bool takePassed();
    int32_t getRemainingCount() const;
    // The gate offset places after the current one; the finish past the last gate.
    Ogre::Vector2 getCheckPointPosition(int32_t offset) const;
    void rewind();
    void reset();
    void restart() { reset(); }
    // The car back at the last gate passed, or at the start before the first.
    void resetCar();

    const Ogre::Vector2& getStartPosition() const { return startPosition; }
    const Ogre::Quaternion& getStartOrientation() const { return startOrientation; }
    const Ogre::Vector2& getFinishPosition() const { return finishPosition; }
    int32_t getGateCount() const { return gateCount; }
    int32_t getCurrentKey() const { return currentKey; }
    int32_t getPassedCount() const { return passedCount; }

private:
    struct Gate
    {
        Ogre::Vector2 position;
        float extentX;
        float extentZ;
        Ogre::Quaternion orientation;
    };
    using Gates = std::map<int32_t, Gate>;

    TrackedCar* car = nullptr;
    bool passed = false;
    Ogre::Vector2 startPosition = Ogre::Vector2::ZERO;
    Ogre::Quaternion startOrientation = Ogre::Quaternion::IDENTITY;
    Ogre::Vector2 finishPosition = Ogre::Vector2::ZERO;
    float finishExtentX = 0.0f;
    float finishExtentZ = 0.0f;
    Gates gates;  // by checkpoint number: visited in ascending order
    Gates::const_iterator currentGate;
    int32_t gateCount = 0;
    int32_t currentKey = -1;
    int32_t passedCount = 0;
};
