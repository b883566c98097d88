// The common driving step of the computer drivers.
#include "ai/OperationalAI.h"

#include "ai/CarAiAdapter.h"
#include "physic/LinearCurve.h"

#include <OGRE/OgreStringConverter.h>

#include <algorithm>
#include <cmath>

OperationalAI::~OperationalAI() = default;

void OperationalAI::setTarget(const Ogre::Vector2& point, float speedKmh)
{
    targetPoint = point;
    targetSpeedKmh = speedKmh;
}

void OperationalAI::setCar(Car* newCar)
{
    ownAdapter = newCar ? std::make_unique<CarAiAdapter>(*newCar) : nullptr;
    car = newCar;
    aiCar = ownAdapter.get();
    resetControllers();
}

void OperationalAI::setAiCar(AiCar* newCar)
{
    ownAdapter.reset();
    car = nullptr;
    aiCar = newCar;
    resetControllers();
}

bool OperationalAI::canDrive() const
{
    return aiCar && !aiCar->isStopped();
}

float OperationalAI::getAngleToTarget(const Ogre::Vector2& point) const
{
    if (!canDrive())
        return 0.0f;
    Ogre::Vector2 toTarget = point - aiCar->getGroundPosition();
    if (toTarget.length() > 1e-8f)
        toTarget.normalise();
    const Ogre::Vector2 heading = aiCar->getGroundHeading();
    const float cosine = std::clamp(heading.dotProduct(toTarget), -1.0f, 1.0f);
    const float angle = Ogre::Radian(std::acos(cosine)).valueDegrees();
    const float cross = heading.x * toTarget.y - heading.y * toTarget.x;
    return cross >= 0.0f ? -angle : angle;
}

float OperationalAI::limitSpeed(float requestedKmh, float steering, const AiCar& car)
{
    const float magnitude = std::fabs(steering);
    if (const LinearCurve* curve = car.getSpeedCurve())
        return std::min(requestedKmh, curve->getValue(magnitude));
    // Steps for a car without its curve: the last that holds wins and replaces the request,
    // a slower one too.
    float speed = requestedKmh;
    if (magnitude > 0.8f)
        speed = 160.0f;
    if (magnitude > 1.0f)
        speed = 145.0f;
    if (magnitude > 5.0f)
        speed = 100.0f;
    if (magnitude > 10.0f)
        speed = 20.0f;
    return speed;
}

std::string OperationalAI::gainText(float kp, float ki, float kd)
{
    return "P:" + Ogre::StringConverter::toString(kp) + " I:" + Ogre::StringConverter::toString(ki) +
           " D:" + Ogre::StringConverter::toString(kd);
}

void OperationalAI::showGains(std::string& info, ShownGains& shown, float kp, float ki, float kd)
{
    const ShownGains gains{kp, ki, kd};
    if (gains == shown)
        return;
    shown = gains;
    info = gainText(kp, ki, kd);
}

void OperationalAI::drive(float dtSeconds)
{
    lastAngle = getAngleToTarget(targetPoint);
    const float steering = steeringOutput(lastAngle, dtSeconds);
    if (steering >= 0.0f)
    {
        aiCar->setSteerLeft(steering);
        aiCar->setSteerRight(0.0f);
    }
    else
    {
        aiCar->setSteerLeft(0.0f);
        aiCar->setSteerRight(steering);
    }
    targetSpeedKmh = limitSpeed(targetSpeedKmh, steering, *aiCar);
    const float speed = speedOutput(targetSpeedKmh - aiCar->getWheelSpeed(), dtSeconds);
    if (speed > 0.0f)
    {
        aiCar->setThrottle(speed);
        aiCar->setBrake(0.0f);
    }
    else
    {
        aiCar->setThrottle(0.0f);
        aiCar->setBrake(-speed);
    }
}
