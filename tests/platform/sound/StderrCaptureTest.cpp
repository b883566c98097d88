// The drivers' terminal output is held back while a device opens, and stderr comes back after.
#include "platform/sound/StderrCapture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace
{
void writeRaw(const char* text)
{
    // The ALSA library writes with fprintf, other drivers straight to the descriptor.
    ASSERT_EQ(write(STDERR_FILENO, text, std::strlen(text)), static_cast<ssize_t>(std::strlen(text)));
}
}

TEST(StderrCapture, HoldsBothStreamAndDescriptorWritesUntilFinished)
{
    StderrCapture capture;
    std::fprintf(stderr, "ALSA lib pcm.c: Unknown PCM default\n");
    writeRaw("AL lib: (EE) could not open playback device\n");
    EXPECT_EQ(capture.finish(), "ALSA lib pcm.c: Unknown PCM default\nAL lib: (EE) could not open playback device\n");
    EXPECT_EQ(capture.finish(), "") << "a second finish has nothing more";
}

TEST(StderrCapture, GivesStderrBackAfterwards)
{
    {
        StderrCapture first;
        std::fprintf(stderr, "held back\n");
    }  // finished by the destructor
    // A later capture sees only what came after: the first one let go of the descriptor.
    StderrCapture second;
    writeRaw("after\n");
    EXPECT_EQ(second.finish(), "after\n");

    testing::internal::CaptureStderr();
    std::fprintf(stderr, "on the terminal again\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "on the terminal again\n");
}
