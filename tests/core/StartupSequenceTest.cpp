// The race's start-up frames, one by one, and a second start after a restart.
#include "StartupSequence.h"

#include <gtest/gtest.h>

namespace
{
using Step = StartupSequence::Step;

TEST(StartupSequence, FiveFramesThenNothing)
{
    StartupSequence sequence;
    EXPECT_EQ(sequence.next(), Step::None) << "not started";
    sequence.restart();
    const Step expected[] = {Step::FixedFrameOn, Step::None, Step::EffectsOn, Step::None, Step::StartRace};
    for (int frame = 0; frame < 5; ++frame)
    {
        EXPECT_TRUE(sequence.isRunning()) << frame;
        EXPECT_EQ(sequence.next(), expected[frame]) << "frame " << frame;
    }
    EXPECT_FALSE(sequence.isRunning());
    for (int frame = 5; frame < 9; ++frame)
        EXPECT_EQ(sequence.next(), Step::None) << "frame " << frame;

    sequence.restart();
    EXPECT_EQ(sequence.next(), Step::FixedFrameOn) << "a new race starts over";
}
}
