// The game's sounds over OpenAL, measured through the loopback device.
#include "platform/sound/AudioSystem.h"
#include "sound/SoundBaseOpenAL.h"
#include "sound/SoundGroup.h"
#include "support/SoundSignals.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace soundtest;

namespace
{
struct LoopbackSounds : ::testing::Test
{
    void SetUp() override
    {
        base.init();
        writeTone(folder.path() + "tone.wav", 440.0, 1.0);
    }
    // Renders a frame's worth of sound per update, as the main loop does.
    Stereo render(double seconds)
    {
        Stereo out;
        const int step = kRateHz / 50;
        for (int done = 0; done < int(seconds * kRateHz); done += step)
        {
            std::vector<float> piece(size_t(step) * 2);
            base.getAudioSystem()->renderSamples(piece.data(), step);
            out.samples.insert(out.samples.end(), piece.begin(), piece.end());
            base.update();
        }
        return out;
    }
    double level(double seconds = 0.3) { return rms(render(seconds), 0, 2 * kRateHz / 50); }

    TempFolder folder;
    SoundBaseOpenAL base{kRateHz};
};
}

TEST_F(LoopbackSounds, AGroupAtHalfVolumeHalvesTheAmplitude)
{
    SoundFilePtr sound = base.create2DSound(folder.path() + "tone.wav", true, "SoundEffects");
    ASSERT_TRUE(sound->play());
    const double full = level();
    ASSERT_GT(full, 0.05);
    base.getGroup("SoundEffects")->setVolume(0.5f);
    EXPECT_NEAR(level() / full, 0.5, 0.02);
    base.getGroup("SoundEffects")->setMute(true);
    EXPECT_LT(level(), 1e-4);
}

TEST_F(LoopbackSounds, MasterVolumeSetWhileMutedStaysSilent)
{
    SoundFilePtr sound = base.create2DSound(folder.path() + "tone.wav", true, "Music");
    sound->play();
    const double full = level();
    base.setMute(true);
    base.setVolume(0.5f);
    EXPECT_TRUE(base.isMuted());
    EXPECT_LT(level(), 1e-4);
    base.setMute(false);
    EXPECT_NEAR(level() / full, 0.5, 0.02);
}

TEST_F(LoopbackSounds, OutOfRangeVolumeAndPitchAreClamped)
{
    SoundFilePtr sound = base.create3DSound(folder.path() + "tone.wav", true, "SoundEffects");
    sound->play();
    const double full = level();
    sound->setVolume(1.5f);  // a fade line beyond its end
    EXPECT_NEAR(level() / full, 1.0, 0.02);
    sound->setVolume(-0.5f);  // OpenAL would refuse it and keep the old gain
    EXPECT_LT(level(), 1e-4);
    sound->setVolume(1.0f);
    sound->setPitch(-1.0f);
    EXPECT_TRUE(sound->isPlaying());
}

TEST_F(LoopbackSounds, OneShotsPlayAtTheSourceLevelAndAreReleasedWhenDone)
{
    writeTone(folder.path() + "touch.wav", 440.0, 0.1);
    base.getGroup("SoundEffects")->setVolume(0.5f);
    SoundFilePtr touch = base.create2DSound(folder.path() + "tone.wav", true, "SoundEffects");
    touch->play();
    const double looped = level();
    touch->stop();

    SoundFilePtr shot = base.create3DSound(folder.path() + "touch.wav", false, "SoundEffects");
    for (int round = 0; round < 200; ++round)
    {
        base.playOnce(shot);
        render(0.04);
    }
    render(0.2);  // the last ones end
    EXPECT_EQ(base.oneShotCount(), 0u);
    EXPECT_EQ(base.getAudioSystem()->busySourceCount(), 0) << "hours of contacts must not use up the sources";

    // A copy of a sound in a group at 0.5 with volume 1 plays at 0.5, not 0.25.
    SoundFilePtr long3D = base.create3DSound(folder.path() + "tone.wav", false, "SoundEffects");
    base.playOnce(long3D);
    EXPECT_NEAR(level() / looped, 1.0, 0.05);
}

TEST_F(LoopbackSounds, PauseResumesAndRestartBeginsAgain)
{
    writeSignal(folder.path() + "ramp.wav", 1.0, 1, [](double t, int) { return -0.8 + 1.6 * t; });
    SoundFilePtr sound = base.create2DSound(folder.path() + "ramp.wav", false, "Music");
    sound->play();
    const Stereo before = render(0.4);
    sound->pause();
    EXPECT_TRUE(sound->isPlaying());
    render(0.2);
    sound->play();
    const Stereo resumed = render(0.1);
    EXPECT_NEAR(resumed.at(0, 0), before.at(before.frames() - 1, 0), 0.01);
    sound->restart();
    const Stereo restarted = render(0.1);
    EXPECT_NEAR(restarted.at(0, 0), before.at(0, 0), 0.01);
}

TEST_F(LoopbackSounds, AnUnreadableFileThrowsItsName)
{
    const std::string path = folder.write("broken.ogg", "not a sound");
    try
    {
        base.create3DSound(path, false, "SoundEffects");
        FAIL() << "no error";
    }
    catch (const std::string& message)
    {
        EXPECT_EQ(message, "OpenAL SoundFile Error: " + path);
    }
    EXPECT_EQ(base.soundCount(), 0u);
}

TEST(SoundBaseOpenALDevice, NoDeviceThrowsAndLeavesTheSystemSilent)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setenv("ALSOFT_DRIVERS", "nosuchdriver", 1);
    EXPECT_EXIT(
        {
            SoundBaseOpenAL base;
            std::string message;
            try
            {
                base.init();
            }
            catch (const std::string& thrown)
            {
                message = thrown;
            }
            const bool silent = !base.create3DSound("../media/sounds/crash.ogg", false, "SoundEffects");
            base.setVolume(0.3f);
            base.update();
            std::exit(message == "OpenAL error: init" && silent ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    unsetenv("ALSOFT_DRIVERS");
}
