// A sound system that plays nothing and records what it was asked, for the rules of the
// facade, the groups, the one-shots and the music player.
#pragma once

#include "sound/SoundBase.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class FakeSoundFile : public SoundFile
{
public:
    FakeSoundFile(const std::string& file, bool loop, bool refuses) : SoundFile(file, loop), refusesToPlay(refuses) {}

    bool play() override
    {
        ++playCalls;
        if (refusesToPlay)
            return false;
        if (!playing)
            ++freshStarts;  // a paused sound counts as playing: play resumes it
        playing = true;
        paused = false;
        return true;
    }
    void stop() override
    {
        ++stopCalls;
        playing = paused = false;
    }
    void pause() override
    {
        paused = playing;
    }
    bool isPlaying() override { return playing; }
    void setVolume(float v) override
    {
        ++setVolumeCalls;
        SoundFile::setVolume(v);
    }
    // The sound ends by itself.
    void finish() { playing = paused = false; }

    bool refusesToPlay;
    bool playing = false;
    bool paused = false;
    int playCalls = 0;
    int freshStarts = 0;
    int stopCalls = 0;
    int setVolumeCalls = 0;
};

class FakeSoundBase : public SoundBase
{
public:
    bool init() override { return true; }
    bool release() override { return true; }
    SoundFilePtr newSoundFile(const std::string& file, bool loop, bool, bool) override
    {
        if (missing.count(file))
            throw std::string("OpenAL SoundFile Error: ") + file;
        auto sound = std::make_shared<FakeSoundFile>(file, loop, unplayable.count(file) > 0);
        made.push_back(sound);
        return sound;
    }
    FakeSoundFile& last() { return *made.back(); }

    std::set<std::string> missing;     // loading throws
    std::set<std::string> unplayable;  // loads, but play fails
    std::vector<std::shared_ptr<FakeSoundFile>> made;
};
