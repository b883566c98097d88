// Where the sun stands: turns the relative time of day into the direction in which the
// sunlight travels (down at noon, up at midnight).
#pragma once

#include <OGRE/OgreVector.h>

namespace sky
{
class SunPositionModel
{
public:
    virtual ~SunPositionModel() = default;
    // relativeDayTime in [0, 1): 0 midnight, 0.5 noon. The result is a unit vector.
    virtual Ogre::Vector3 getSunDirection(float relativeDayTime) = 0;
    // Towards the sun, as of the last direction given.
    const Ogre::Vector3& getLastDirection() const { return lastDirection; }

protected:
    // Stores the opposite of the direction and returns the direction, both normalised.
    Ogre::Vector3 remember(const Ogre::Vector3& direction);

private:
    Ogre::Vector3 lastDirection = Ogre::Vector3::UNIT_Y;
};
}
