// Sound control by one value.
#include "sound/SoundControl.h"

#include <algorithm>

int SoundControl::addSound(const SoundFilePtr& sound, float min, float max)
{
    if (!sound)
        return -1;
    const int id = sound->getId();
    sounds[id] = sound;
    ranges[id] = Range{min, max};
    return id;
}

void SoundControl::setPitchMapping(int id, float slope, float offset)
{
    pitchLines[id] = Line{slope, offset};
}

void SoundControl::setVolumeMapping(int id, float slope, float offset)
{
    (slope < 0.0f ? fadeOutLines : fadeInLines)[id] = Line{slope, offset};
}

void SoundControl::setFadeIn(int id, float from, float to)
{
    if (to > from)
        setVolumeMapping(id, 1.0f / (to - from), to);
}

void SoundControl::setFadeOut(int id, float from, float to)
{
    if (to > from)
        setVolumeMapping(id, -1.0f / (to - from), from);
}

void SoundControl::update(float value)
{
    if (sounds.empty())
        return;
    for (const auto& [id, line] : pitchLines)
    {
        auto sound = sounds.find(id);
        if (sound != sounds.end())
            sound->second->setPitch(line.at(value));
    }
    for (const auto& [id, sound] : sounds)
    {
        auto fadeIn = fadeInLines.find(id);
        auto fadeOut = fadeOutLines.find(id);
        if (fadeIn == fadeInLines.end() && fadeOut == fadeOutLines.end())
            continue;
        if (fadeIn == fadeInLines.end())
            sound->setVolume(fadeOut->second.at(value));
        else if (fadeOut == fadeOutLines.end())
            sound->setVolume(fadeIn->second.at(value));
        else
            sound->setVolume(std::min(fadeIn->second.at(value), fadeOut->second.at(value)));
    }
    for (const auto& [id, range] : ranges)
    {
        auto sound = sounds.find(id);
        if (sound != sounds.end())
            sound->second->setMute(value < range.min || value > range.max);
    }
}

void SoundControl::clear()
{
    sounds.clear();
    ranges.clear();
    pitchLines.clear();
    fadeInLines.clear();
    fadeOutLines.clear();
}
