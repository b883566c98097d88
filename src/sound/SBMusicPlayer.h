// Plays the race music: the files of one folder as a playlist of streamed 2D sounds in a
// sound group, in order or shuffled (no track twice in a row across cycles); play, pause
// and stop requests take effect in update, which runs every frame.
#pragma once

#include "sound/SoundFile.h"

#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <vector>

class SoundBase;

class SBMusicPlayer
{
public:
    enum State
    {
        kStopped = 0,
        kPlaying = 1,
        kPaused = 2
    };

    // Throws "SBMusicPlayer ERROR" (a C string) for a null sound system. Each shuffled draw
    // seeds the C library's generator with the clock's second, so two draws in one second
    // over a queue of one length pick the same place.
    explicit SBMusicPlayer(SoundBase* soundBase);
    // The same with another clock (tests).
    SBMusicPlayer(SoundBase* soundBase, std::function<std::time_t()> clock);
    // Stops every track and takes it out of the sound system.
    virtual ~SBMusicPlayer();

    void setShuffle(bool shuffle) { shuffleOn = shuffle; }
    // False when the file can't be played (it is not added).
    bool addTrack(const std::string& file, const std::string& group);
    // Every file of the folder, in name order; true when at least one was loaded.
    bool loadPlaylist(const std::string& folder, const std::string& group);

    void play();
    void pause();
    void stop();
    // Moves on at a track's end and applies the requests.
    void update();
    void next();
    void previous();

    // The track that plays or would play; empty when there is none.
    SoundFilePtr getCurrentTrack() const;
    int getState() const { return currentState; }
    size_t trackCount() const { return tracks.size(); }

private:
    void drawIndex();
    // Steps to the next track of the queue without touching the play state.
    void advance();
    // Plays the current track; a track that will not play is skipped for good.
    void startCurrent();
    bool hasFailed(const SoundFilePtr& track) const { return failedTracks.count(track->getId()) > 0; }

    SoundBase* soundBase;
    std::vector<SoundFilePtr> tracks;
    std::vector<SoundFilePtr> queue;  // the current cycle; shuffled: the tracks not yet played in it
    int requestedState = kStopped;
    int currentState = kStopped;
    int index = 0;
    int previousIndex = 0;
    bool shuffleOn = true;
    std::function<std::time_t()> clock;  // seconds, seeding each draw
    std::set<int> failedTracks;  // ids of tracks that would not play
};
