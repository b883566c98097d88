// The music player's order, requests and failures, on a fake back end with a clock that
// stands still unless a test moves it.
#include "FakeSound.h"

#include "sound/SBMusicPlayer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
struct MusicFixture : ::testing::Test
{
    // Loads n tracks "t0".."t<n-1>" and returns the player.
    std::unique_ptr<SBMusicPlayer> player(int n, bool shuffle, std::function<std::time_t()> clock = [] { return 7; })
    {
        auto result = std::make_unique<SBMusicPlayer>(&base, std::move(clock));
        result->setShuffle(shuffle);
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(result->addTrack("t" + std::to_string(i), "Music"));
        return result;
    }
    // Ends the current track and runs a frame; returns the file that plays next.
    std::string endTrack(SBMusicPlayer& music)
    {
        static_cast<FakeSoundFile&>(*music.getCurrentTrack()).finish();
        music.update();
        return music.getCurrentTrack()->getFileName();
    }
    FakeSoundFile& current(SBMusicPlayer& music) { return static_cast<FakeSoundFile&>(*music.getCurrentTrack()); }

    FakeSoundBase base;
};
}

TEST_F(MusicFixture, InOrderTheListStartsAgainAfterTheLast)
{
    auto music = player(3, false);
    music->play();
    EXPECT_EQ(music->getCurrentTrack()->getFileName(), "t0");
    EXPECT_TRUE(current(*music).playing);
    EXPECT_EQ(endTrack(*music), "t1");
    EXPECT_EQ(endTrack(*music), "t2");
    EXPECT_EQ(endTrack(*music), "t0");
    EXPECT_TRUE(current(*music).playing);
}

TEST_F(MusicFixture, ShufflePlaysEveryTrackOncePerCycleAndNeverTwiceInARow)
{
    auto music = player(5, true, [second = std::time_t(12345)]() mutable { return second++; });
    music->play();
    std::vector<std::string> order{music->getCurrentTrack()->getFileName()};
    for (int i = 1; i < 20; ++i)
        order.push_back(endTrack(*music));
    // The first cycle holds all five; each later one leaves out the track that closed the last.
    size_t first = 0;
    for (const size_t length : {5u, 4u, 4u, 4u})
    {
        std::set<std::string> heard(order.begin() + first, order.begin() + first + length);
        EXPECT_EQ(heard.size(), length) << "cycle from " << first;
        first += length;
    }
    EXPECT_EQ(std::set<std::string>(order.begin() + 5, order.end()).size(), 5u);
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_NE(order[i], order[i - 1]) << "at " << i;
}

TEST_F(MusicFixture, ShuffleWithOneOrTwoTracks)
{
    auto single = player(1, true);
    single->play();
    EXPECT_EQ(endTrack(*single), "t0");
    EXPECT_TRUE(current(*single).playing);

    auto pair = player(2, true);
    pair->play();
    std::string playing = pair->getCurrentTrack()->getFileName();
    for (int i = 0; i < 6; ++i)
    {
        const std::string next = endTrack(*pair);
        EXPECT_NE(next, playing);
        playing = next;
    }
}

TEST_F(MusicFixture, DrawsInOneSecondPickTheSamePlace)
{
    // The place is the C generator's first value after seeding with the second, scaled to the
    // queue: the last draw, over all six tracks, picks the first one to play.
    std::srand(99);
    const int expected = static_cast<int>(6 * (std::rand() / 2147483648.0));
    auto first = player(6, true, [] { return 99; });
    auto second = player(6, true, [] { return 99; });
    EXPECT_EQ(first->getCurrentTrack()->getFileName(), "t" + std::to_string(expected));
    first->play();
    second->play();
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(endTrack(*first), endTrack(*second));
}

TEST_F(MusicFixture, PauseResumesAndStopStartsAgain)
{
    auto music = player(2, false);
    music->play();
    FakeSoundFile& track = current(*music);
    music->pause();
    EXPECT_TRUE(track.paused);
    EXPECT_EQ(music->getState(), SBMusicPlayer::kPaused);
    music->update();  // a paused track is not taken for ended
    EXPECT_EQ(&current(*music), &track);
    music->play();
    EXPECT_FALSE(track.paused);
    EXPECT_EQ(track.freshStarts, 1) << "resumed, not started again";

    music->stop();
    EXPECT_FALSE(track.playing);
    music->play();
    EXPECT_EQ(track.freshStarts, 2);
    EXPECT_EQ(&current(*music), &track);
}

TEST_F(MusicFixture, NextAndPreviousWrapAround)
{
    auto music = player(3, false);
    music->previous();
    EXPECT_EQ(music->getCurrentTrack()->getFileName(), "t2");
    music->next();
    EXPECT_EQ(music->getCurrentTrack()->getFileName(), "t0");
}

TEST_F(MusicFixture, ATrackThatWillNotPlayIsSkippedForGood)
{
    base.unplayable.insert("t1");
    auto music = player(3, false);
    music->play();
    EXPECT_EQ(endTrack(*music), "t2");
    FakeSoundFile& broken = *base.made[1];
    const int attempts = broken.playCalls;
    EXPECT_EQ(attempts, 1);
    for (int i = 0; i < 5; ++i)
        endTrack(*music);
    EXPECT_EQ(broken.playCalls, attempts);
}

TEST_F(MusicFixture, WhenNoTrackPlaysThePlayerGivesUp)
{
    base.unplayable = {"t0", "t1"};
    auto music = player(2, true);
    music->play();
    for (int frame = 0; frame < 100; ++frame)
        music->update();
    EXPECT_EQ(base.made[0]->playCalls + base.made[1]->playCalls, 2);
}

TEST_F(MusicFixture, APlaylistTakesTheFolderInNameOrderAndSkipsWhatIsNotSound)
{
    TempFolder folder;
    for (const char* name : {"b.ogg", "a.ogg", "notes.txt"})
        folder.write(name, "x");
    base.missing.insert(folder.path() + "/notes.txt");
    SBMusicPlayer music(&base);
    music.setShuffle(false);
    EXPECT_TRUE(music.loadPlaylist(folder.path(), "Music"));
    EXPECT_EQ(music.trackCount(), 2u);
    EXPECT_EQ(music.getCurrentTrack()->getFileName(), folder.path() + "/a.ogg");
    EXPECT_EQ(base.getGroup("Music")->size(), 2u);

    SBMusicPlayer empty(&base);
    EXPECT_FALSE(empty.loadPlaylist(folder.path() + "none", "Music"));
    empty.play();
    empty.next();
    EXPECT_FALSE(empty.getCurrentTrack());
}

TEST_F(MusicFixture, TheTracksLeaveTheSoundSystemWithThePlayer)
{
    {
        auto music = player(3, false);
        music->play();
        EXPECT_EQ(base.soundCount(), 3u);
    }
    EXPECT_EQ(base.soundCount(), 0u);
    EXPECT_FALSE(base.made[0]->playing);
    EXPECT_THROW(SBMusicPlayer(nullptr), const char*);
}
