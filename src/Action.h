// One logical input (accelerate, brake, ...), set by the ActionMapper from bound keys,
// buttons, POV directions and axes.
#pragma once

class Action
{
public:
    bool isPressed() const { return pressed; }
    void press() { pressed = true; }
    void release() { pressed = false; }
    // True when the key last bound to it is an axis side.
    bool isAnalog() const { return analog; }
    void setAnalog(bool isAnalog) { analog = isAnalog; }
    // Last value of a bound axis side, 0..1.
    float getValue() const { return value; }
    void setValue(float newValue) { value = newValue; }

private:
    bool pressed = false;
    bool analog = false;
    float value = 0.0f;
};
