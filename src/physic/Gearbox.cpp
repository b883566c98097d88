// The drivetrain.
#include "physic/Gearbox.h"

#include "physic/GearboxDesc.h"
#include "physic/Motor.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kUpShiftClutchTime = 0.5f;     // seconds, gears 2 and up
constexpr float kStartClutchTime = 0.9f;       // seconds, pulling away at high rpm
constexpr float kStartClutchMinRpm = 3800.0f;  // rpm
constexpr float kStartClutchRpmDrop = 2000.0f; // rpm
constexpr float kDownShiftMargin = 500.0f;     // rpm below the up-shift's landing rpm
// The free-revving engine: a flywheel that the torque above 50 accelerates.
constexpr float kEngineDrag = 50.0f;
constexpr float kFlywheelMass = 200.0f;
constexpr float kFlywheelRadius = 0.02f;
constexpr float kTwoPi = 6.28318530718f;
}

Gearbox::Gearbox(const GearboxDesc& desc, Motor* motor)
    : forwardRatios(desc.forwardRatios), backwardRatio(desc.backwardRatio), motor(motor), shiftUpRpm(desc.gearUpRpm)
{
}

float Gearbox::getRatio(int g) const
{
    if (g >= 1 && g <= getGearCount())
        return forwardRatios[static_cast<size_t>(g - 1)];
    if (g == -1)
        return backwardRatio;
    return 0.0f;
}

void Gearbox::setClutch(float c)
{
    clutch = std::clamp(c, 0.0f, 1.0f);
}

void Gearbox::startClutch(float timeSeconds, float thresholdRpm)
{
    clutchTime = timeSeconds;
    clutchThresholdRpm = thresholdRpm;
    clutch = 1.0f;
}

void Gearbox::updateClutch(float dt)
{
    if (clutch > 0.0f && motor->getRpm() > clutchThresholdRpm)
        setClutch(clutchTime > 0.0f ? clutch - dt / clutchTime : 0.0f);
}

void Gearbox::setGear(int g)
{
    if (g < -1 || g > getGearCount())
        return;
    if (g >= 2)
    {
        startClutch(kUpShiftClutchTime, 0.0f);
    }
    else if (g == 1 || g == -1)
    {
        const float threshold = std::max(kStartClutchMinRpm, motor->getRpm() - kStartClutchRpmDrop);
        startClutch(threshold == kStartClutchMinRpm ? kUpShiftClutchTime : kStartClutchTime, threshold);
    }
    gear = g;
}

void Gearbox::shiftUp()
{
    if (gear >= getGearCount())
        return;
    const float landingRpm = getRatio(gear + 1) * wheelRpm;
    shiftDownRpm[gear + 1] = landingRpm - kDownShiftMargin;
    setGear(gear + 1);
}

void Gearbox::shiftDown()
{
    if (gear > 1)
        setGear(gear - 1);
}

float Gearbox::getDriveTorque() const
{
    if (gear == 0)
        return 0.0f;
    return motor->getTorque() * getCurrentRatio() * (1.0f - clutch);
}

void Gearbox::setWheelRpm(float newWheelRpm, bool ground)
{
    onGround = ground;
    if (gear == 0)
        return;
    wheelRpm = std::fabs(newWheelRpm);
    wheelEngineRpm = getCurrentRatio() * wheelRpm;
    if (gear == -1)
        wheelEngineRpm = -wheelEngineRpm;
}

bool Gearbox::getShiftDownRpm(int g, float& rpm) const
{
    const auto entry = shiftDownRpm.find(g);
    if (entry == shiftDownRpm.end())
        return false;
    rpm = entry->second;
    return true;
}

void Gearbox::update(float dt)
{
    if (!(dt > 0.0f))
        return;
    if (clutch == 0.0f || clutch == 1.0f)
        freeRpm = motor->getRpm();
    freeRpm += (motor->getTorque() - kEngineDrag) / (kFlywheelMass * kFlywheelRadius) * dt /
               (kTwoPi * kFlywheelRadius) * 60.0f;

    if (gear == 0)
        clutch = 1.0f;
    else
        updateClutch(dt);

    motor->setRpm(freeRpm * clutch + wheelEngineRpm * (1.0f - clutch));

    if (gear > 0 && onGround && automatic && clutch == 0.0f)
    {
        float downRpm = 0.0f;
        if (!getShiftDownRpm(gear, downRpm) || downRpm > motor->getRpm())
            shiftDown();
        else if (motor->getRpm() >= shiftUpRpm && gear < getGearCount())
            shiftUp();
    }
}
