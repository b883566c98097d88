// One logical input (accelerate, brake, ...), set by the ActionMapper from bound keys,
// buttons, POV directions and axes.
#pragma once

class Action
{
public:
    bool isPressed() const { return pressed; }
    void press()
    {
        pressed = true;
        pressWaiting = true;
    }
    void release() { pressed = false; }
    // True once for each press, also for a press released before anyone looked (a quick tap
    // between two frames); the action is then released, so a held key counts once.
    bool takePress()
    {
        const bool taken = pressWaiting;
        pressWaiting = false;
        pressed = false;
        return taken;
    }
    // Forgets a press nobody took: keys typed while another screen had the input.
    void dropPress() { pressWaiting = false; }
    // True when the key last bound to it is an axis side.
    bool isAnalog() const { return analog; }
    void setAnalog(bool isAnalog) { analog = isAnalog; }
    // Last value of a bound axis side, 0..1.
    float getValue() const { return value; }
    void setValue(float newValue) { value = newValue; }

private:
    bool pressed = false;
    bool pressWaiting = false;  // pressed since the last takePress
    bool analog = false;
    float value = 0.0f;
};
