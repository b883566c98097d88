// The rules of one race without the engine: the start countdown and its beeps, the race
// clock, the checkpoint differences to the track's best run, the finish, and saving the
// high-score table and the best run's ghost.
#pragma once

#include "Countdown.h"
#include "AtomicFile.h"
#include "HighScore.h"
#include "RaceTimer.h"
#include "Score.h"

#include <cstdint>
#include <memory>
#include <string>

class RaceServices;

class RaceRules
{
public:
    enum Phase
    {
        kPrepared = 0,
        kCountdown = 10,
        kRacing = 20,
        kFinished = 30,
        kSaved = 40  // the race is over
    };
    static constexpr float kStartSeconds = 3.0f;
    static constexpr float kFinishSeconds = 3.0f;     // the car stands before the results are saved
    static constexpr float kDifferenceSeconds = 4.0f;  // a checkpoint's or the finish's difference stays this long
    static constexpr const char* kGhostSuffix = ".shadow";

    // services and writer are borrowed and must outlive the rules. The table is read at once
    // (reset).
    RaceRules(RaceServices* services, const std::string& highScorePath, WholeFileWriter writer = wholeFileWriter());

    // Reloads the table and puts everything back to phase 0, the car held at the start.
    void reset();
    // Loads the ghost and starts the music; the countdown begins at the next phase update.
    void startRace();
    // Once per physics step.
    void update(float dtSeconds);
    // Once per frame: moves between the phases.
    void updatePhase();
    // Not before the countdown is over (false, nothing changes). A finished race is saved
    // first, unless it was saved already.
    bool restart();
    // Only while racing.
    bool resetCar();
    void pause();
    void resume();
    // Writes the table, and the ghost when this run is the new best, as one: when either
    // can't be written, neither is (false, with the reason in getSaveError).
    bool saveResults();

    int getPhase() const { return phase; }
    bool isActive() const { return active; }
    bool isStarted() const { return started; }
    bool isFinished() const { return finished; }
    bool isRaceOver() const { return phase == kSaved; }
    const RaceTimer& getTimer() const { return timer; }
    const HighScore& getHighScore() const { return table; }
    const Score& getCurrentScore() const { return *current; }
    // The rank this race's run took in the table, 0 before the finish or when it missed it.
    int getRaceRank() const { return raceRank; }
    const std::string& getHighScorePath() const { return highScorePath; }
    std::string getGhostPath() const { return highScorePath + kGhostSuffix; }
    const std::string& getBestTimeText() const { return bestTimeText; }
    const std::string& getDifferenceText() const { return differenceText; }
    // The seconds left in phase 10 ("3", "2", "1"), else "".
    std::string getCountdownText() const;
    // Empty when the last load and save went well.
    const std::string& getLoadError() const { return loadError; }
    const std::string& getSaveError() const { return saveError; }

    // "+1.25", "-0.40": seconds from the best run's split to this one.
    static std::string formatDifference(std::int64_t nowMs, std::int64_t bestMs);
    // "N" for neutral, "R" for any reverse gear, else the gear's number.
    static std::string gearText(int gear);

private:
    void tickStartCountdown(float dtSeconds);
    // The second of the start countdown in progress: 3, 2, 1.
    int countdownSecond() const;
    void passCheckPoint();
    void finish();

    RaceServices* services;
    WholeFileWriter writer;
    std::string highScorePath;
    RaceTimer timer;
    HighScore table;
    std::unique_ptr<Score> current;
    const Score* best = nullptr;  // rank 1 of the table, or null
    std::string bestTimeText;
    std::size_t bestCheckPoint = 0;  // the best run's next split to compare with
    std::string differenceText;
    float differenceSeconds = 0.0f;
    Countdown startCountdown{kStartSeconds};
    Countdown finishCountdown{kFinishSeconds};
    int phase = kPrepared;
    int lastSecond = 0;  // the last countdown second that beeped
    int raceRank = 0;
    float secondsAfterFinish = 0.0f;  // counted in steps, until the results are saved
    bool active = false;
    bool started = false;
    bool finished = false;
    std::string loadError;
    std::string saveError;
};
