// Turns the driving actions into car controls once per frame. An axis steers only beyond
// a small dead zone, and an axis on a button action counts only beyond a larger one; a
// key on a one-shot action (camera, car reset, race restart) acts once per press, also a
// press released before the frame that reads it.
#pragma once

class Action;
class DriveActions;
class DrivingControls;

class DrivingInput
{
public:
    static constexpr float kSteerDeadZone = 0.2f;
    static constexpr float kButtonDeadZone = 0.3f;

    // While a computer driver has the car, the pedals and steering are its own and the
    // handbrake is off: only the one-shot actions act, or the idle keys would take back the
    // car in the first physics step of every frame.
    static void apply(DriveActions& actions, Action& restartAction, DrivingControls& controls,
                      bool computerDrives = false);

private:
    static void drive(DriveActions& actions, DrivingControls& controls);
};
