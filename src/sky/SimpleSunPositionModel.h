// The sun on a circle tilted by an inclination, once round per day.
#pragma once

#include "sky/SunPositionModel.h"

#include <OGRE/OgreMath.h>

namespace sky
{
class SimpleSunPositionModel : public SunPositionModel
{
public:
    explicit SimpleSunPositionModel(Ogre::Degree inclination) : inclination(inclination) {}

    void setInclination(Ogre::Degree angle) { inclination = angle; }
    Ogre::Degree getInclination() const { return inclination; }

    Ogre::Vector3 getSunDirection(float relativeDayTime) override;

private:
    Ogre::Degree inclination;
};
}
