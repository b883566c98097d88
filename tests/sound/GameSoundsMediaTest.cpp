// The sounds the media builder makes: every file the game names is there and decodes,
// sounds played in 3D are mono, and loops join without a jump at the seam.
#include "platform/sound/AudioDecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace
{
const std::string kMediaDir = std::string(QUILLMOR_BUILD_DIR) + "/media/";

struct Expected
{
    const char* file;
    bool mono;  // played in 3D
    bool loop;
};

const Expected kSounds[] = {
    {"sounds/countdown_beep1.ogg", false, false}, {"sounds/countdown_beep2.ogg", false, false},
    {"sounds/menu_theme.ogg", false, true},       {"sounds/engine_0900.ogg", true, true},
    {"sounds/engine_2500.ogg", true, true},       {"sounds/engine_4500.ogg", true, true},
    {"sounds/engine_6500.ogg", true, true},       {"sounds/skid.ogg", true, true},
    {"sounds/terrain_roll.ogg", true, true},      {"sounds/touch.ogg", true, true},
    {"sounds/crash.ogg", true, false},            {"sounds/crash_light.ogg", true, false},
    {"music/race_01.ogg", false, false},          {"music/race_02.ogg", false, false},
    {"music/race_03.ogg", false, false},
};
}

TEST(GameSoundsMedia, EveryNamedSoundDecodesInTheRightShape)
{
    for (const Expected& expected : kSounds)
    {
        SCOPED_TRACE(expected.file);
        AudioDecoder decoder;
        std::string error;
        ASSERT_TRUE(decoder.open(kMediaDir + expected.file, &error)) << error;
        if (expected.mono)
        {
            EXPECT_EQ(decoder.channels(), 1);
        }
        std::vector<short> samples;
        ASSERT_TRUE(decoder.readAll(samples, true));
        int peak = 0;
        for (short s : samples)
            peak = std::max(peak, std::abs(int(s)));
        EXPECT_GT(peak, 8000) << "audible";
        EXPECT_LT(peak, 32767) << "not clipped";
        if (!expected.loop)
            continue;
        // The step from the last sample back to the first is no bigger than steps inside.
        int largestStep = 0;
        for (size_t i = 1; i < samples.size(); ++i)
            largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
        EXPECT_LE(std::abs(samples.front() - samples.back()), largestStep);
    }
}
