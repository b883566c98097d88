// Texts of input bindings.
#include "InputKey.h"

#include <OIS/OISKeyboard.h>

std::string InputKey::toString(OIS::Keyboard* keyboard) const
{
    const std::string number = std::to_string(data);
    switch (type)
    {
    case Undefined: return "Undefined";
    case KeyboardKey:
        return "Key: " + (keyboard ? keyboard->getAsString(static_cast<OIS::KeyCode>(data)) : number);
    case JoystickButton: return "Joystick: Button " + number;
    case PovUp: return "Joystick: POV " + number + " Up";
    case PovDown: return "Joystick: POV " + number + " Down";
    case PovLeft: return "Joystick: POV " + number + " Left";
    case PovRight: return "Joystick: POV " + number + " Right";
    case AxisPositive: return "Joystick: Axis " + number + " Pos";
    case AxisNegative: return "Joystick: Axis " + number + " Neg";
    default: return "";
    }
}
