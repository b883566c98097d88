// A loaded sound: a decoded buffer, or the name of a file that is streamed each time it
// plays, with the playing mode and the 3D distances of its channels.
#pragma once

#include <memory>
#include <string>

class AudioBuffer;

struct AudioSoundMode
{
    bool loop = false;
    bool is3D = false;   // streams are always 2D
    bool stream = false;
};

class AudioSound
{
public:
    AudioSound(std::string path, AudioSoundMode mode, std::shared_ptr<AudioBuffer> buffer)
        : filePath(std::move(path)), soundMode(mode), decoded(std::move(buffer))
    {
    }

    const std::string& path() const { return filePath; }
    const AudioSoundMode& mode() const { return soundMode; }
    // The decoded data; null for a stream.
    const std::shared_ptr<AudioBuffer>& buffer() const { return decoded; }

    // Distances (in world units) where a 3D sound starts to fade and stops fading.
    void set3DMinMaxDistance(float minDistance, float maxDistance);
    float minDistance() const { return minDistanceUnits; }
    float maxDistance() const { return maxDistanceUnits; }

private:
    std::string filePath;
    AudioSoundMode soundMode;
    std::shared_ptr<AudioBuffer> decoded;
    float minDistanceUnits = 1.0f;
    float maxDistanceUnits = 10000.0f;
};
