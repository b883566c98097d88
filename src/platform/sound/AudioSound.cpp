// A loaded sound.
#include "AudioSound.h"

#include <algorithm>

void AudioSound::set3DMinMaxDistance(float minDistance, float maxDistance)
{
    constexpr float kSmallestDistance = 0.001f;  // world units; OpenAL needs a positive reference
    minDistanceUnits = std::max(kSmallestDistance, minDistance);
    maxDistanceUnits = std::max(minDistanceUnits, maxDistance);
}
