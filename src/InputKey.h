// One input binding: a keyboard key, a joystick button, a POV direction or an axis side.
#pragma once

#include <string>

namespace OIS
{
class Keyboard;
}

class InputKey
{
public:
    enum Type
    {
        Undefined = 0,
        KeyboardKey = 1,
        JoystickButton = 2,
        PovUp = 3,
        PovDown = 4,
        PovLeft = 5,
        PovRight = 6,
        AxisPositive = 7,
        AxisNegative = 8
    };

    InputKey() = default;
    InputKey(int type, int data) : type(type), data(data) {}

    int getType() const { return type; }
    // Key code, button, POV or axis number, by type.
    int getData() const { return data; }

    bool isAxis() const { return type == AxisPositive || type == AxisNegative; }
    // The text shown in the options menu; a keyboard key is named by the given keyboard.
    std::string toString(OIS::Keyboard* keyboard) const;

    bool operator<(const InputKey& other) const
    {
        return type < other.type || (type == other.type && data < other.data);
    }
    bool operator==(const InputKey& other) const { return type == other.type && data == other.data; }

private:
    int type = Undefined;
    int data = 0;
};
