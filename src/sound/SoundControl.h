// Drives several sounds from one control value (engine rpm, contact force): each sound is
// audible only inside its value range, and its pitch and volume follow lines of the value.
#pragma once

#include "sound/SoundFile.h"

#include <map>

class SoundControl
{
public:
    SoundControl() = default;
    virtual ~SoundControl() { clear(); }

    // Registers the sound with its audible range under its id, which is returned; -1 for
    // an empty sound.
    int addSound(const SoundFilePtr& sound, float min, float max);
    // pitch = slope × (value − offset) + 1; a later call for the id replaces it.
    void setPitchMapping(int id, float slope, float offset);
    // volume = slope × (value − offset) + 1. A rising line is the sound's fade-in, a falling
    // one its fade-out; a sound keeps one of each, and the lower of the two counts.
    void setVolumeMapping(int id, float slope, float offset);
    // Volume rises from 0 at from to 1 at to; nothing unless to > from.
    void setFadeIn(int id, float from, float to);
    // Volume falls from 1 at from to 0 at to; nothing unless to > from.
    void setFadeOut(int id, float from, float to);
    void update(float value);
    void clear();

private:
    struct Line
    {
        float slope = 0.0f;
        float offset = 0.0f;
        float at(float value) const { return slope * (value - offset) + 1.0f; }
    };
    struct Range
    {
        float min = 0.0f;
        float max = 0.0f;
    };

    std::map<int, SoundFilePtr> sounds;
    std::map<int, Range> ranges;
    std::map<int, Line> pitchLines;
    std::map<int, Line> fadeInLines;
    std::map<int, Line> fadeOutLines;
};
