// What the driving input acts on: the player's car, the race rules' car reset and the
// race restart. The play state forwards to the real ones; tests record the calls.
#pragma once

class DrivingControls
{
public:
    virtual ~DrivingControls() = default;
    virtual void setThrottle(float value) = 0;
    virtual void setBrake(float value) = 0;
    virtual void setSteerLeft(float value) = 0;   // 0..1
    virtual void setSteerRight(float value) = 0;  // -1..0
    virtual void setDigitalLeft(bool on) = 0;
    virtual void setDigitalRight(bool on) = 0;
    virtual void setHandbrake(bool on) = 0;
    virtual void nextCamera() = 0;
    virtual void resetCar() = 0;
    virtual void restartRace() = 0;
};
