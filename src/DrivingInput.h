// Turns the driving actions into car controls once per frame. An axis steers only beyond
// a small dead zone, and an axis on a button action counts only beyond a larger one; a
// key on a one-shot action (camera, car reset, race restart) acts once per press.
#pragma once

class Action;
class DriveActions;
class DrivingControls;

class DrivingInput
{
public:
    static constexpr float kSteerDeadZone = 0.2f;
    static constexpr float kButtonDeadZone = 0.3f;

    static void apply(DriveActions& actions, Action& restartAction, DrivingControls& controls);
};
