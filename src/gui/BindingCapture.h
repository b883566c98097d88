// The options menu's eight bindings while the player edits them: one binding at a time is
// armed and waits for an input; the first fitting key, joystick button, pure POV direction or
// axis deflection completes it, and the same input is taken from every other binding.
#pragma once

#include "InputKey.h"
#include "gui/OptionsChoices.h"

#include <array>
#include <vector>

class BindingCapture
{
public:
    // What an input did: the binding it completed (-1 when none) and the bindings it was taken from.
    struct Completion
    {
        int bound = -1;
        std::vector<int> cleared;
    };

    void setKey(int slot, const InputKey& key) { keys.at(slot) = key; }
    const InputKey& getKey(int slot) const { return keys.at(slot); }
    const std::array<InputKey, kBindingCount>& getKeys() const { return keys; }

    // The binding waiting for an input, -1 when none.
    int getArmed() const { return armed; }
    // Makes the slot wait for an input instead of the one armed before.
    void arm(int slot) { armed = (slot >= 0 && slot < kBindingCount) ? slot : -1; }
    void cancel() { armed = -1; }

    // A key press; Escape never binds (it leaves the menu).
    Completion key(int keyCode);
    Completion joystickButton(int button);
    // A POV move with its OIS direction bits; centred and diagonal directions keep waiting.
    Completion pov(int povIndex, int direction);
    // An axis move, position in -32768..32767; a deflection of 0.3 of full or less keeps waiting.
    Completion axis(int axisIndex, int position);

private:
    Completion complete(const InputKey& key);

    std::array<InputKey, kBindingCount> keys;
    int armed = -1;
};
