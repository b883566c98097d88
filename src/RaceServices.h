// What the race rules drive around them: the checkpoint tracker, the player's car, the
// countdown beeps and the music, the run recording and the ghost. GamePlay wires them to
// the real objects; the rules' tests to fakes.
#pragma once

#include <string>

class CarStateWriter;

class RaceServices
{
public:
    virtual ~RaceServices() = default;

    // The tracker: false once the finish is reached.
    virtual bool updateCourse() = 0;
    // Whether a checkpoint was passed since the last call.
    virtual bool takePassedCheckPoint() = 0;
    // Rewinds the tracker to the start.
    virtual void restartCourse() = 0;
    // The car back at the last passed checkpoint (the start before the first).
    virtual void resetCarToCheckPoint() = 0;

    virtual void holdCar(bool held) = 0;
    virtual void stopCarSounds() = 0;
    virtual void enableCarSounds() = 0;

    virtual void playCountdownBeep() = 0;
    virtual void playStartBeep() = 0;
    virtual void playMusic() = 0;
    virtual void pauseMusic() = 0;
    virtual void updateMusic() = 0;

    virtual void startRecording() = 0;
    // Every physics step; samples only while recording.
    virtual void recordStep() = 0;
    virtual void stopRecording() = 0;
    // The run recorded since the last start; null when none was.
    virtual const CarStateWriter* getRecording() const = 0;
    // No file or an unreadable one: no ghost this race.
    virtual void loadGhost(const std::string& path) = 0;
    // From the ghost's first frame.
    virtual void playGhost() = 0;
    virtual void stopGhost() = 0;

    // The computer drivers, when there are any.
    virtual void resetDrivers() = 0;
};
