// The drivetrain between the driven wheels and the motor: gears, a clutch that slips after
// each change, the engine's free-revving rpm and automatic shifting.
#pragma once

#include <map>
#include <vector>

class Motor;
struct GearboxDesc;

class Gearbox
{
public:
    // Starts in neutral with the clutch engaged; the motor is borrowed.
    Gearbox(const GearboxDesc& desc, Motor* motor);

    int getGear() const { return gear; }
    int getCurrentGear() const { return gear; }
    int getGearCount() const { return static_cast<int>(forwardRatios.size()); }
    void setAutomatic(bool on) { automatic = on; }
    bool isAutomatic() const { return automatic; }

    // Forward ratio for 1..count, the backward ratio for -1, 0 otherwise.
    float getRatio(int g) const;
    float getCurrentRatio() const { return getRatio(gear); }

    void setClutch(float c);  // 0 engaged .. 1 open
    float getClutch() const { return clutch; }
    // Opens the clutch; it closes over timeSeconds once the motor turns faster than thresholdRpm.
    void startClutch(float timeSeconds, float thresholdRpm);
    void updateClutch(float dt);

    // Engages -1 (reverse), 0 (neutral) or 1..count; anything else is ignored.
    void setGear(int g);
    void shiftUp();
    void shiftDown();

    // Motor torque through the current ratio and the clutch; 0 in neutral.
    float getDriveTorque() const;
    // The driven wheels' rpm (sign ignored) and whether they touch the ground.
    void setWheelRpm(float wheelRpm, bool onGround);
    // One physics step: free rpm, clutch, motor rpm, automatic shifting.
    void update(float dt);

    float getFreeRpm() const { return freeRpm; }
    float getClutchTime() const { return clutchTime; }
    float getClutchThresholdRpm() const { return clutchThresholdRpm; }
    // The rpm below which the gear shifts down; false when the gear has none.
    bool getShiftDownRpm(int g, float& rpm) const;

private:
    std::vector<float> forwardRatios;
    float backwardRatio;
    int gear = 0;
    bool automatic = false;
    Motor* motor;
    float wheelRpm = 0.0f;
    float wheelEngineRpm = 0.0f;
    float freeRpm = 0.0f;
    bool onGround = false;
    std::map<int, float> shiftDownRpm{{1, 0.0f}};
    float shiftUpRpm;
    float clutch = 0.0f;
    float clutchThresholdRpm = 0.0f;
    float clutchTime = 0.0f;  // seconds
};
