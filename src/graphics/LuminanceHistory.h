// The eye's adaptation: the scene's mean luminance over the last readings, so the picture
// brightens or darkens over about a second instead of at once.
#pragma once

#include <deque>

class LuminanceHistory
{
public:
    static constexpr float kFixedLuminance = 0.4f;  // without fading

    // fadingFrames: readings kept besides the newest; 0 means no adaptation.
    explicit LuminanceHistory(int fadingFrames) : fading(fadingFrames > 0 ? fadingFrames : 0) {}

    // Adds a reading and gives the adapted luminance.
    float add(float luminance);
    bool isFading() const { return fading > 0; }
    std::size_t size() const { return readings.size(); }

private:
    int fading;
    std::deque<float> readings;  // oldest first
};
