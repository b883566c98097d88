// Capturing inputs for the bindings.
#include "gui/BindingCapture.h"

#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>

#include <cstdlib>

namespace
{
constexpr float kAxisFullDeflection = 32767.0f;
constexpr float kAxisThreshold = 0.3f;  // of full deflection; a resting stick drifts below it
}

BindingCapture::Completion BindingCapture::key(int keyCode)
{
    if (keyCode == OIS::KC_ESCAPE)
        return {};
    return complete(InputKey(InputKey::KeyboardKey, keyCode));
}

BindingCapture::Completion BindingCapture::joystickButton(int button)
{
    return complete(InputKey(InputKey::JoystickButton, button));
}

BindingCapture::Completion BindingCapture::pov(int povIndex, int direction)
{
    switch (direction)
    {
    case OIS::Pov::North: return complete(InputKey(InputKey::PovUp, povIndex));
    case OIS::Pov::South: return complete(InputKey(InputKey::PovDown, povIndex));
    case OIS::Pov::West: return complete(InputKey(InputKey::PovLeft, povIndex));
    case OIS::Pov::East: return complete(InputKey(InputKey::PovRight, povIndex));
    // Centred, or a diagonal: no one direction the bindings could name.
    default: return {};
    }
}

BindingCapture::Completion BindingCapture::axis(int axisIndex, int position)
{
    const float deflection = static_cast<float>(position) / kAxisFullDeflection;
    if (std::abs(deflection) <= kAxisThreshold)
        return {};
    return complete(InputKey(deflection > 0.0f ? InputKey::AxisPositive : InputKey::AxisNegative, axisIndex));
}

BindingCapture::Completion BindingCapture::complete(const InputKey& key)
{
    Completion done;
    if (armed < 0)
        return done;
    keys[armed] = key;
    done.bound = armed;
    // One input drives one action.
    for (int slot = 0; slot < kBindingCount; ++slot)
        if (slot != armed && keys[slot] == key)
        {
            keys[slot] = InputKey();
            done.cleared.push_back(slot);
        }
    armed = -1;
    return done;
}
