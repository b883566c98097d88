// The driving input table.
#include "DrivingInput.h"

#include "Action.h"
#include "DriveActions.h"
#include "DrivingControls.h"

namespace
{
float pedal(const Action& action)
{
    if (action.isAnalog())
        return action.getValue();
    return action.isPressed() ? 1.0f : 0.0f;
}

bool buttonHeld(const Action& action)
{
    return action.isAnalog() ? action.getValue() > DrivingInput::kButtonDeadZone : action.isPressed();
}

// An axis repeats in every frame it is held; a key acts once per press, also for a press
// that came and went between two frames.
template <typename Do>
void oneShot(Action& action, Do act)
{
    if (action.isAnalog() ? buttonHeld(action) : action.takePress())
        act();
}
}

void DrivingInput::drive(DriveActions& actions, DrivingControls& controls)
{
    controls.setThrottle(pedal(actions.accelerate));
    controls.setBrake(pedal(actions.brake));
    if (actions.left.isAnalog())
    {
        const float value = actions.left.getValue();
        controls.setSteerLeft(value > kSteerDeadZone ? value : 0.0f);
    }
    else
        controls.setDigitalLeft(actions.left.isPressed());
    if (actions.right.isAnalog())
    {
        const float value = actions.right.getValue();
        controls.setSteerRight(value > kSteerDeadZone ? -value : 0.0f);
    }
    else
        controls.setDigitalRight(actions.right.isPressed());
    controls.setHandbrake(buttonHeld(actions.handbrake));
}

void DrivingInput::apply(DriveActions& actions, Action& restartAction, DrivingControls& controls,
                         bool computerDrives)
{
    if (!computerDrives)
        drive(actions, controls);
    else
        controls.setHandbrake(false);  // the drivers never pull it: one the player held would stay on
    oneShot(actions.changeCamera, [&] { controls.nextCamera(); });
    oneShot(actions.resetCar, [&] { controls.resetCar(); });
    oneShot(restartAction, [&] { controls.restartRace(); });
}
