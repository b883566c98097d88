// The OpenAL sound layer measured through the loopback device: what was really played.
#include "support/SoundSignals.h"

#include "platform/sound/AudioChannel.h"
#include "platform/sound/AudioSystem.h"
#include "support/TempFolder.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>
#include <dirent.h>

using namespace soundtest;

namespace
{
class LoopbackAudio : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(system.initLoopback(20, kRateHz, &error)) << error;
    }

    // Renders seconds of sound in pieces, running the system's update between them as frames do.
    Stereo render(double seconds, double frameSeconds = 0.02)
    {
        Stereo out;
        const int frames = int(std::lround(seconds * kRateHz));
        const int step = int(frameSeconds * kRateHz);
        for (int done = 0; done < frames; done += step)
        {
            const int count = std::min(step, frames - done);
            std::vector<float> piece(size_t(count) * 2);
            system.renderSamples(piece.data(), count);
            out.samples.insert(out.samples.end(), piece.begin(), piece.end());
            system.update();
        }
        return out;
    }

    std::shared_ptr<AudioSound> load(const std::string& path, AudioSoundMode mode)
    {
        std::string error;
        auto sound = system.createSound(path, mode, &error);
        EXPECT_TRUE(sound) << error;
        return sound;
    }

    TempFolder folder;
    AudioSystem system;
};

int openFileCount()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd"))
    {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}
}

TEST_F(LoopbackAudio, PitchScalesTheFrequency)
{
    writeTone(folder.path() + "tone.wav", 440.0, 2.0);
    auto sound = load(folder.path() + "tone.wav", {true, false, false});
    auto plain = system.playSound(sound, false);
    const int plainCrossings = risingZeroCrossings(render(1.0), 0);
    plain->stop();
    auto raised = system.playSound(sound, false);
    raised->setPitch(1.5f);
    const int raisedCrossings = risingZeroCrossings(render(1.0), 0);
    EXPECT_NEAR(plainCrossings, 440, 3);
    EXPECT_NEAR(double(raisedCrossings) / plainCrossings, 1.5, 0.02);
}

TEST_F(LoopbackAudio, GroupVolumeAndMasterScaleTheAmplitude)
{
    writeTone(folder.path() + "tone.wav", 440.0, 1.0);
    auto sound = load(folder.path() + "tone.wav", {true, false, false});
    auto channel = system.playSound(sound, false);
    const double full = rms(render(0.5), 0);
    ASSERT_GT(full, 0.05);

    AudioChannelGroup* effects = system.getChannelGroup("effects");
    channel->setChannelGroup(effects);
    effects->setVolume(0.5f);
    EXPECT_NEAR(rms(render(0.5), 0, 2205) / full, 0.5, 0.02);

    effects->setVolume(1.0f);
    system.getMasterChannelGroup()->setVolume(0.5f);
    EXPECT_NEAR(rms(render(0.5), 0, 2205) / full, 0.5, 0.02);

    system.getMasterChannelGroup()->setMute(true);
    EXPECT_LT(rms(render(0.5), 0, 2205), 1e-4);
}

TEST_F(LoopbackAudio, NegativeVolumeSilencesAndBadPitchIsClamped)
{
    writeTone(folder.path() + "tone.wav", 440.0, 1.0);
    auto channel = system.playSound(load(folder.path() + "tone.wav", {true, false, false}), false);
    channel->setVolume(-0.5f);
    channel->setPitch(-2.0f);
    EXPECT_LT(rms(render(0.3), 0, 2205), 1e-4);
    ALfloat pitch = 0.0f;
    alGetSourcef(channel->source(), AL_PITCH, &pitch);
    EXPECT_GT(pitch, 0.0f);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(LoopbackAudio, A3DSoundOnTheRightIsLouderOnTheRight)
{
    // A stereo file played in 3D is mixed down, so it can be placed.
    writeTone(folder.path() + "tone.wav", 440.0, 1.0, 2);
    auto sound = load(folder.path() + "tone.wav", {true, true, false});
    system.set3DSettings(1.0f, 3.5f, 0.5f);
    system.set3DListenerAttributes({0, 0, 0}, {0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    auto channel = system.playSound(sound, false);
    channel->set3DAttributes({5, 0, 0}, {0, 0, 0});
    const Stereo right = render(0.5);
    EXPECT_GT(rms(right, 1, 2205), 2.0 * rms(right, 0, 2205));

    // Turning the listener round puts the same sound on its left.
    system.set3DListenerAttributes({0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 0});
    const Stereo left = render(0.5);
    EXPECT_GT(rms(left, 0, 2205), 2.0 * rms(left, 1, 2205));
}

TEST_F(LoopbackAudio, ADistantSoundIsQuieterThanANearOne)
{
    writeTone(folder.path() + "tone.wav", 440.0, 1.0);
    auto sound = load(folder.path() + "tone.wav", {true, true, false});
    system.set3DSettings(1.0f, 3.5f, 0.5f);
    auto channel = system.playSound(sound, false);
    channel->set3DAttributes({0, 0, -1}, {0, 0, 0});
    const double near = rms(render(0.3), 0, 2205);
    channel->set3DAttributes({0, 0, -41}, {0, 0, 0});
    const double far = rms(render(0.3), 0, 2205);
    // Inverse distance clamped, roll-off 0.5, reference 1: gain 1 / (1 + 0.5 * 40).
    EXPECT_NEAR(far / near, 1.0 / 21.0, 0.01);
}

TEST_F(LoopbackAudio, LoopsHaveNoGap)
{
    // 0.25 s of 440 Hz holds whole periods only when cut at a period: 110 periods.
    const double seconds = 110.0 / 440.0;
    writeTone(folder.path() + "loop.ogg", 440.0, seconds);
    writeTone(folder.path() + "loop.wav", 440.0, seconds);
    for (const AudioSoundMode mode : {AudioSoundMode{true, false, true}, AudioSoundMode{true, false, false}})
    {
        SCOPED_TRACE(mode.stream ? "stream" : "decoded");
        auto channel = system.playSound(load(folder.path() + (mode.stream ? "loop.ogg" : "loop.wav"), mode), false);
        const Stereo played = render(2.0);
        const double whole = rms(played, 0);
        ASSERT_GT(whole, 0.1);
        // Every 5 ms window carries the tone, across every seam of the loop.
        for (size_t first = 0; first + 220 < played.frames(); first += 220)
            ASSERT_GT(rms(played, 0, first, 220), 0.5 * whole) << "gap at frame " << first;
        EXPECT_TRUE(channel->isPlaying());
        channel->stop();
    }
}

TEST_F(LoopbackAudio, AStreamHasMoreThanASecondQueued)
{
    writeTone(folder.path() + "music.ogg", 440.0, 5.0);
    auto channel = system.playSound(load(folder.path() + "music.ogg", {false, false, true}), false);
    // A long frame: 1.2 s rendered with no update to refill the queue.
    Stereo stalled;
    stalled.samples.resize(size_t(1.2 * kRateHz) * 2);
    system.renderSamples(stalled.samples.data(), int(stalled.frames()));
    EXPECT_GT(rms(stalled, 0, stalled.frames() - 2205, 2205), 0.1);
}

TEST_F(LoopbackAudio, PauseAndResumeContinueWhereTheyStopped)
{
    // A slow ramp: the level tells where in the file the sound is.
    writeSignal(folder.path() + "ramp.wav", 1.0, 1, [](double t, int) { return -0.8 + 1.6 * t; });
    for (const bool stream : {false, true})
    {
        SCOPED_TRACE(stream ? "stream" : "decoded");
        auto channel = system.playSound(load(folder.path() + "ramp.wav", {false, false, stream}), false);
        const Stereo before = render(0.3);
        channel->setPaused(true);
        EXPECT_TRUE(channel->isPlaying());
        EXPECT_LT(rms(render(0.2), 0), 1e-4);
        channel->setPaused(false);
        const Stereo after = render(0.1);
        const float lastBefore = before.at(before.frames() - 1, 0);
        EXPECT_NEAR(after.at(0, 0), lastBefore, 0.01);
        EXPECT_GT(std::fabs(lastBefore - before.at(0, 0)), 0.1);
        channel->stop();
        EXPECT_FALSE(channel->isPlaying());
    }
}

TEST_F(LoopbackAudio, SourcesAreStolenFromTheOldestOneShotFirst)
{
    writeTone(folder.path() + "tone.wav", 440.0, 2.0);
    auto loopSound = load(folder.path() + "tone.wav", {true, true, false});
    auto shotSound = load(folder.path() + "tone.wav", {false, true, false});
    EXPECT_EQ(loopSound->buffer(), shotSound->buffer()) << "one file is decoded once";

    auto engine = system.playSound(loopSound, false);
    std::vector<std::shared_ptr<AudioChannel>> shots;
    for (int i = 0; i < 19; ++i)
        shots.push_back(system.playSound(shotSound, false));
    EXPECT_EQ(system.busySourceCount(), 20);

    auto extra = system.playSound(shotSound, false);
    EXPECT_TRUE(extra->isPlaying());
    EXPECT_FALSE(shots[0]->isPlaying()) << "the oldest one-shot gave up its source";
    EXPECT_TRUE(shots[1]->isPlaying());
    EXPECT_TRUE(engine->isPlaying()) << "a loop outlives one-shots";
    // A stolen handle stays safe to use.
    shots[0]->setVolume(0.5f);
    shots[0]->stop();
}

TEST_F(LoopbackAudio, EndedChannelsGiveBackSourcesAndStreamsCloseTheirFiles)
{
    writeTone(folder.path() + "short.ogg", 440.0, 0.05);
    auto shot = load(folder.path() + "short.ogg", {false, false, false});
    auto stream = load(folder.path() + "short.ogg", {false, false, true});
    const int filesBefore = openFileCount();
    for (int round = 0; round < 50; ++round)
    {
        system.playSound(shot, false);           // handle dropped at once: plays on to its end
        auto music = system.playSound(stream, false);
        render(0.1);
        EXPECT_FALSE(music->isPlaying());
    }
    EXPECT_EQ(system.busySourceCount(), 0);
    EXPECT_EQ(openFileCount(), filesBefore);
}

TEST_F(LoopbackAudio, UnreadableFilesAreRefusedWithAReason)
{
    const std::string notSound = folder.write("notes.txt", "not a sound");
    for (const bool stream : {false, true})
    {
        std::string error;
        EXPECT_FALSE(system.createSound(notSound, {false, false, stream}, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(system.createSound(folder.path() + "missing.ogg", {false, false, stream}, &error));
    }
}

TEST_F(LoopbackAudio, ReleaseLeavesHandlesSafe)
{
    writeTone(folder.path() + "tone.wav", 440.0, 1.0);
    auto sound = load(folder.path() + "tone.wav", {true, false, false});
    auto channel = system.playSound(sound, false);
    system.release();
    EXPECT_FALSE(system.isActive());
    EXPECT_FALSE(channel->isPlaying());
    channel->setPitch(2.0f);
    channel->stop();
    EXPECT_FALSE(system.playSound(sound, false));
}

// Drivers are chosen when OpenAL starts in a process, so these run in a fresh child.
TEST(AudioSystemDevice, NoDeviceMeansSoundIsOff)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "nosuchdriver", 1);
            AudioSystem system;
            std::string error;
            const bool started = system.init(20, &error);
            const bool silent = !system.createSound("/nonexistent.ogg", {}, nullptr) &&
                                !system.playSound(nullptr, false);
            system.update();
            system.getMasterChannelGroup()->setVolume(0.3f);
            system.set3DListenerAttributes({}, {}, {0, 0, -1}, {0, 1, 0});
            std::exit(!started && !error.empty() && silent && !system.isActive() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(AudioSystemDevice, TheNullDriverPlaysIntoNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempFolder folder;
    writeTone(folder.path() + "tone.wav", 440.0, 0.5);
    EXPECT_EXIT(
        {
            setenv("ALSOFT_DRIVERS", "null", 1);
            AudioSystem system;
            const bool started = system.init(20, nullptr);
            auto sound = system.createSound(folder.path() + "tone.wav", {false, true, false}, nullptr);
            auto channel = system.playSound(sound, false);
            const bool playing = channel && channel->isPlaying();
            system.update();
            std::exit(started && system.sourceCount() == 20 && playing ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
