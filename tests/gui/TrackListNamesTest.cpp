// The level menu's names: a player's track named like a built-in one is told apart from it.
#include "gui/TrackListNames.h"

#include <gtest/gtest.h>

TEST(TrackListNames, APlayersTrackNamedLikeABuiltInOneIsMarkedAndNoOtherIs)
{
    const std::vector<ListedTrack> tracks = {
        {"DesertRun", true}, {"TestLoop", true}, {"Oval", false}, {"TestLoop", false}, {"testloop", false},
    };
    EXPECT_EQ(trackListNames(tracks), (std::vector<std::string>{"DesertRun", "TestLoop", "Oval",
                                                                 "TestLoop (your track)", "testloop"}));
    EXPECT_TRUE(trackListNames({}).empty());
}
