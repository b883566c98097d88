// The race music player.
#include "sound/SBMusicPlayer.h"

#include "FolderManager.h"
#include "LogStream.h"
#include "sound/SoundBase.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

SBMusicPlayer::SBMusicPlayer(SoundBase* base) : SBMusicPlayer(base, [] { return std::time(nullptr); })
{
}

SBMusicPlayer::SBMusicPlayer(SoundBase* base, std::function<std::time_t()> clock)
    : soundBase(base), clock(std::move(clock))
{
    if (!soundBase)
        throw "SBMusicPlayer ERROR";
}

SBMusicPlayer::~SBMusicPlayer()
{
    queue.clear();
    for (auto& track : tracks)
    {
        track->stop();
        soundBase->removeSound(track);
    }
    tracks.clear();
}

bool SBMusicPlayer::addTrack(const std::string& file, const std::string& group)
{
    SoundFilePtr track;
    try
    {
        track = soundBase->createSound(file, false, false, true, group);
    }
    catch (const std::string&)
    {
        // Not a sound file: the music folder may hold anything.
    }
    if (!track)
        return false;
    tracks.push_back(track);
    queue.push_back(track);
    if (shuffleOn)
        drawIndex();
    return true;
}

bool SBMusicPlayer::loadPlaylist(const std::string& folder, const std::string& group)
{
    bool loaded = false;
    for (const std::string& entry : FolderManager::getFileList(folder))
        if (entry != "." && entry != "..")
            loaded = addTrack(folder + "/" + entry, group) || loaded;
    return loaded;
}

void SBMusicPlayer::play()
{
    requestedState = kPlaying;
    update();
}

void SBMusicPlayer::pause()
{
    requestedState = kPaused;
    update();
}

void SBMusicPlayer::stop()
{
    requestedState = kStopped;
    update();
}

SoundFilePtr SBMusicPlayer::getCurrentTrack() const
{
    return queue.empty() ? nullptr : queue[static_cast<size_t>(index)];
}

void SBMusicPlayer::drawIndex()
{
    if (queue.empty())
        return;
    std::srand(static_cast<unsigned>(clock()));
    const int count = static_cast<int>(queue.size());
    // The C generator's values run up to 2^31 - 1: a place in [0, count), kept below count
    // where the float rounds up.
    const float place = static_cast<float>(count * (std::rand() / 2147483648.0));
    index = std::min(static_cast<int>(std::trunc(place)), count - 1);
}

void SBMusicPlayer::update()
{
    if (queue.empty() || failedTracks.size() == tracks.size())
        return;
    if (index == previousIndex && currentState == kPlaying)
    {
        if (getCurrentTrack()->isPlaying())
            getCurrentTrack()->play();
        else
            next();
    }
    if (requestedState != currentState)
    {
        if (requestedState == kPlaying)
            startCurrent();
        else if (requestedState == kPaused)
            getCurrentTrack()->pause();
        else
            getCurrentTrack()->stop();
        currentState = requestedState;
    }
    previousIndex = index;
}

void SBMusicPlayer::startCurrent()
{
    for (size_t attempt = 0; attempt < tracks.size(); ++attempt)
    {
        SoundFilePtr track = getCurrentTrack();
        if (!hasFailed(track))
        {
            if (track->play() && track->isPlaying())
                return;
            failedTracks.insert(track->getId());
            debugLog() << "Music: cannot play " << track->getFileName() << ", skipped\n";
        }
        if (failedTracks.size() == tracks.size())
            return;
        advance();
    }
}

void SBMusicPlayer::next()
{
    if (queue.empty())
        return;
    getCurrentTrack()->stop();
    currentState = kStopped;
    advance();
}

void SBMusicPlayer::advance()
{
    if (shuffleOn)
    {
        const SoundFilePtr finished = getCurrentTrack();
        queue.erase(queue.begin() + index);
        if (queue.empty())
        {
            queue = tracks;
            // The new cycle must not open with the track that closed the last one.
            if (queue.size() > 1)
                for (auto track = queue.begin(); track != queue.end(); ++track)
                    if ((*track)->getId() == finished->getId())
                    {
                        queue.erase(track);
                        break;
                    }
        }
        drawIndex();
    }
    else
    {
        ++index;
    }
    while (index >= static_cast<int>(queue.size()))
        index -= static_cast<int>(queue.size());
}

void SBMusicPlayer::previous()
{
    if (queue.empty())
        return;
    getCurrentTrack()->stop();
    currentState = kStopped;
    --index;
    while (index < 0)
        index += static_cast<int>(queue.size());
}
