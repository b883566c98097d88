// Sound control: ranges, pitch lines and fades driven by one value.
#include "FakeSound.h"

#include "sound/SoundControl.h"

#include <gtest/gtest.h>

TEST(SoundControl, AnEmptySoundIsNotRegistered)
{
    SoundControl control;
    EXPECT_EQ(control.addSound(nullptr, 0.0f, 1.0f), -1);
    control.update(0.5f);  // nothing registered: nothing happens
}

TEST(SoundControl, TheRangeMutesOutsideAndUnmutesInside)
{
    auto engine = std::make_shared<FakeSoundFile>("engine.ogg", true, false);
    SoundControl control;
    EXPECT_EQ(control.addSound(engine, 1000.0f, 3000.0f), engine->getId());
    const struct
    {
        float value;
        bool muted;
    } cases[] = {{999.0f, true}, {1000.0f, false}, {3000.0f, false}, {3001.0f, true}};
    for (const auto& c : cases)
    {
        control.update(c.value);
        EXPECT_EQ(engine->isMuted(), c.muted) << "at " << c.value;
    }
}

TEST(SoundControl, LinesSetPitchAndVolume)
{
    const struct
    {
        const char* what;
        void (*setUp)(SoundControl&, int id);
        float value;
        float pitch;
        float volume;
    } cases[] = {
        {"pitch line at its offset", [](SoundControl& c, int id) { c.setPitchMapping(id, 0.0005f, 1000.0f); }, 1000.0f,
         1.0f, 0.7f},
        {"pitch line above", [](SoundControl& c, int id) { c.setPitchMapping(id, 0.0005f, 1000.0f); }, 2000.0f, 1.5f,
         0.7f},
        {"fade-in start", [](SoundControl& c, int id) { c.setFadeIn(id, 1000.0f, 2000.0f); }, 1000.0f, 1.0f, 0.0f},
        {"fade-in middle", [](SoundControl& c, int id) { c.setFadeIn(id, 1000.0f, 2000.0f); }, 1500.0f, 1.0f, 0.5f},
        {"fade-in end", [](SoundControl& c, int id) { c.setFadeIn(id, 1000.0f, 2000.0f); }, 2000.0f, 1.0f, 1.0f},
        {"fade-in beyond (the back end clamps)", [](SoundControl& c, int id) { c.setFadeIn(id, 1000.0f, 2000.0f); },
         2500.0f, 1.0f, 1.5f},
        {"fade-out start", [](SoundControl& c, int id) { c.setFadeOut(id, 3000.0f, 4000.0f); }, 3000.0f, 1.0f, 1.0f},
        {"fade-out middle", [](SoundControl& c, int id) { c.setFadeOut(id, 3000.0f, 4000.0f); }, 3500.0f, 1.0f, 0.5f},
        {"fade-out end", [](SoundControl& c, int id) { c.setFadeOut(id, 3000.0f, 4000.0f); }, 4000.0f, 1.0f, 0.0f},
        {"empty fade-in", [](SoundControl& c, int id) { c.setFadeIn(id, 2000.0f, 2000.0f); }, 500.0f, 1.0f, 0.7f},
        {"reversed fade-out", [](SoundControl& c, int id) { c.setFadeOut(id, 4000.0f, 3000.0f); }, 3900.0f, 1.0f,
         0.7f},
        // A sound with both ramps keeps both: the lower one counts.
        {"both, on the way in",
         [](SoundControl& c, int id) {
             c.setFadeIn(id, 1000.0f, 2000.0f);
             c.setFadeOut(id, 3000.0f, 4000.0f);
         },
         1250.0f, 1.0f, 0.25f},
        {"both, between", [](SoundControl& c, int id) {
             c.setFadeIn(id, 1000.0f, 2000.0f);
             c.setFadeOut(id, 3000.0f, 4000.0f);
         }, 2500.0f, 1.0f, 1.5f},
        {"both, on the way out", [](SoundControl& c, int id) {
             c.setFadeIn(id, 1000.0f, 2000.0f);
             c.setFadeOut(id, 3000.0f, 4000.0f);
         }, 3750.0f, 1.0f, 0.25f},
        {"a later fade-in replaces the earlier", [](SoundControl& c, int id) {
             c.setFadeIn(id, 0.0f, 100.0f);
             c.setFadeIn(id, 1000.0f, 2000.0f);
         }, 1500.0f, 1.0f, 0.5f},
    };
    for (const auto& c : cases)
    {
        auto sound = std::make_shared<FakeSoundFile>("engine.ogg", true, false);
        sound->setVolume(0.7f);
        SoundControl control;
        const int id = control.addSound(sound, 0.0f, 10000.0f);
        c.setUp(control, id);
        control.update(c.value);
        EXPECT_FLOAT_EQ(sound->getPitch(), c.pitch) << c.what;
        EXPECT_NEAR(sound->getVolume(), c.volume, 1e-5) << c.what;
    }
}

TEST(SoundControl, ClearForgetsEverything)
{
    auto sound = std::make_shared<FakeSoundFile>("engine.ogg", true, false);
    SoundControl control;
    const int id = control.addSound(sound, 0.0f, 1.0f);
    control.setPitchMapping(id, 1.0f, 0.0f);
    control.clear();
    control.update(5.0f);
    EXPECT_FALSE(sound->isMuted());
    EXPECT_FLOAT_EQ(sound->getPitch(), 1.0f);
    EXPECT_EQ(sound.use_count(), 1);
}
