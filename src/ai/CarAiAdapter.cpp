// The player's car behind the computer drivers' interface.
#include "ai/CarAiAdapter.h"

#include "physic/Car.h"

#include <OGRE/OgreSceneNode.h>

bool CarAiAdapter::isStopped() const
{
    return car.isStopped();
}

Ogre::Vector2 CarAiAdapter::getGroundPosition() const
{
    const Ogre::Vector3 position = car.getNode()->getPosition();
    return Ogre::Vector2(position.x, position.z);
}

Ogre::Vector2 CarAiAdapter::getGroundHeading() const
{
    return car.getHeading(true);
}

float CarAiAdapter::getWheelSpeed() const
{
    return car.getWheelSpeed();
}

const LinearCurve* CarAiAdapter::getSpeedCurve() const
{
    return &car.getAISpeedCurve();
}

void CarAiAdapter::setSteerLeft(float value)
{
    car.setSteerLeft(value);
}

void CarAiAdapter::setSteerRight(float value)
{
    car.setSteerRight(value);
}

void CarAiAdapter::setThrottle(float value)
{
    car.setThrottle(value);
}

void CarAiAdapter::setBrake(float value)
{
    car.setBrake(value);
}
