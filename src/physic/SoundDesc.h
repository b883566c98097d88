// One sound of a car description: its file, the range of the control value (rpm or
// contact force) over which it is heard, its fades and its pitch mapping.
#pragma once

#include <string>
#include <vector>

struct SoundDesc
{
    std::string path;                   // sound file; empty: no such sound
    float minValue = 0.0f;              // lower end of the audible control range
    float maxValue = 0.0f;              // upper end of that range
    std::vector<float> fadeSlopes;      // per fade: 1/(end-start) fading in, -1/(end-start) fading out
    std::vector<float> fadeBreakpoints; // per fade: the end of a fade-in, the start of a fade-out
    bool pitchControl = false;          // the pitch follows the control value
    float pitchFactor = 0.0f;           // pitch change per unit of control value
    float standardValue = 1.0f;         // control value at which the pitch is 1
};
