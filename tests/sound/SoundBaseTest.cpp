// The sound system's rules: groups, one-shots and the sound list, on a fake back end.
#include "FakeSound.h"

#include "sound/SoundGroup.h"

#include <gtest/gtest.h>

TEST(SoundGroup, VolumeAndMuteReachEveryMember)
{
    auto first = std::make_shared<FakeSoundFile>("a", false, false);
    auto second = std::make_shared<FakeSoundFile>("b", false, false);
    first->setVolume(0.5f);
    SoundGroup group("Music");
    group.setVolume(0.8f);
    group.addSound(first);
    group.addSound(second);
    EXPECT_FLOAT_EQ(first->getEffectiveVolume(), 0.4f);
    EXPECT_FLOAT_EQ(second->getEffectiveVolume(), 0.8f);

    group.setMute(true);
    EXPECT_FLOAT_EQ(first->getGroupVolume(), 0.0f);
    EXPECT_FLOAT_EQ(first->getEffectiveVolume(), 0.0f);
    group.setVolume(0.6f);  // while muted the members stay silent
    EXPECT_FLOAT_EQ(second->getEffectiveVolume(), 0.0f);
    group.setMute(false);
    EXPECT_FLOAT_EQ(first->getEffectiveVolume(), 0.3f);

    group.removeSound(first);
    EXPECT_FLOAT_EQ(first->getGroupVolume(), 1.0f);
    EXPECT_FLOAT_EQ(first->getEffectiveVolume(), 0.5f);
    EXPECT_EQ(group.size(), 1u);
}

TEST(SoundGroup, AnUnchangedGroupVolumeDoesNotTouchTheSound)
{
    FakeSoundFile sound("a", false, false);
    sound.setGroupVolume(1.0f);
    EXPECT_EQ(sound.setVolumeCalls, 0);
    sound.setGroupVolume(0.5f);
    EXPECT_EQ(sound.setVolumeCalls, 1);
}

TEST(SoundGroup, DestroyingAGroupLeavesItsMembersAtFullGroupVolume)
{
    auto sound = std::make_shared<FakeSoundFile>("a", false, false);
    {
        SoundGroup group("SoundEffects");
        group.addSound(sound);
        group.setMute(true);
    }
    EXPECT_FLOAT_EQ(sound->getGroupVolume(), 1.0f);
}

TEST(SoundBase, CreatedSoundsJoinTheListAndTheirGroup)
{
    FakeSoundBase base;
    base.getGroup("Music")->setVolume(0.5f);
    SoundFilePtr music = base.create2DSound("song.ogg", false, "Music");
    SoundFilePtr engine = base.create3DSound("engine.ogg", true, "SoundEffects");
    EXPECT_FLOAT_EQ(music->getEffectiveVolume(), 0.5f);
    EXPECT_EQ(base.getSound(0), music);
    EXPECT_EQ(base.getSound(1), engine);
    EXPECT_FALSE(base.getSound(-1));
    EXPECT_FALSE(base.getSound(2));

    base.removeSound(music);
    EXPECT_EQ(base.soundCount(), 1u);
    EXPECT_EQ(base.getGroup("Music")->size(), 0u);
    EXPECT_FLOAT_EQ(music->getGroupVolume(), 1.0f);
    EXPECT_EQ(base.made[0]->stopCalls, 1);
    base.removeSound(nullptr);

    base.missing.insert("gone.ogg");
    EXPECT_THROW(base.createSound("gone.ogg", false, true, false, "SoundEffects"), std::string);
    EXPECT_EQ(base.soundCount(), 1u);
}

TEST(SoundBase, AtMostEightOneShotsStartPerFrame)
{
    FakeSoundBase base;
    SoundFilePtr crash = base.create3DSound("crash.ogg", false, "SoundEffects");
    for (int i = 0; i < 9; ++i)
        base.playOnce(crash);
    EXPECT_EQ(base.oneShotCount(), 8u);
    base.update();
    base.playOnce(crash);
    EXPECT_EQ(base.oneShotCount(), 9u) << "a new frame allows new one-shots";
}

TEST(SoundBase, UpdateKeepsTheTenNewestOneShotsAndDropsFinishedOnes)
{
    FakeSoundBase base;
    SoundFilePtr crash = base.create3DSound("crash.ogg", false, "SoundEffects");
    for (int i = 0; i < 12; ++i)
    {
        base.playOnce(crash);
        if (i == 7)
            base.update();
    }
    // made[0] is the source sound; made[1..12] the copies, oldest first.
    base.update();
    EXPECT_EQ(base.oneShotCount(), 10u);
    EXPECT_FALSE(base.made[1]->isPlaying());
    EXPECT_FALSE(base.made[2]->isPlaying());
    EXPECT_TRUE(base.made[3]->isPlaying());

    base.made[5]->finish();
    base.made[12]->finish();
    base.update();
    EXPECT_EQ(base.oneShotCount(), 8u);
}

TEST(SoundBase, AOneShotCopyTakesTheSettingsWithTheGroupVolumeOnce)
{
    FakeSoundBase base;
    base.getGroup("SoundEffects")->setVolume(0.5f);
    SoundFilePtr touch = base.create3DSound("touch.ogg", false, "SoundEffects");
    touch->setVolume(0.5f);
    touch->setPitch(1.25f);
    touch->setPosition(1, 2, 3);
    touch->setVelocity(4, 5, 6);
    base.playOnce(touch);
    const FakeSoundFile& copy = base.last();
    EXPECT_FLOAT_EQ(copy.getEffectiveVolume(), 0.25f);
    EXPECT_FLOAT_EQ(copy.getPitch(), 1.25f);
    EXPECT_FLOAT_EQ(copy.getPosition()[2], 3.0f);
    EXPECT_FLOAT_EQ(copy.getVelocity()[0], 4.0f);
    EXPECT_FALSE(copy.isLooping());
    EXPECT_TRUE(copy.playing);
    EXPECT_EQ(base.soundCount(), 1u) << "a copy is not in the sound list";
}

TEST(SoundBase, AOneShotOfAFileThatCannotLoadIsSkipped)
{
    FakeSoundBase base;
    SoundFilePtr touch = base.create3DSound("touch.ogg", false, "SoundEffects");
    base.missing.insert("touch.ogg");
    EXPECT_NO_THROW(base.playOnce(touch));
    EXPECT_EQ(base.oneShotCount(), 0u);
}

TEST(SoundBase, AMutedSoundIsStoppedByUpdate)
{
    FakeSoundBase base;
    SoundFilePtr skid = base.create3DSound("skid.ogg", true, "SoundEffects");
    skid->play();
    skid->setMute(true);
    base.update();
    EXPECT_FALSE(skid->isPlaying());
}
