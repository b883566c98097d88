// The rules of one race: countdown, clock, checkpoint differences, finish and saving.
#include "RaceRules.h"

#include "AtomicFile.h"
#include "FileGroupWrite.h"
#include "CarStateWriter.h"
#include "LogStream.h"
#include "RaceServices.h"

#include <cmath>
#include <cstdio>
#include <vector>

RaceRules::RaceRules(RaceServices* services, const std::string& highScorePath, WholeFileWriter writer)
    : services(services), writer(std::move(writer)), highScorePath(highScorePath)
{
    reset();
}

void RaceRules::reset()
{
    best = nullptr;
    bestCheckPoint = 0;
    current = std::make_unique<Score>();
    raceRank = 0;
    secondsAfterFinish = 0.0f;
    active = false;
    started = false;
    finished = false;

    loadError.clear();
    table = HighScore::load(highScorePath, &loadError);  // logs what was wrong with the file
    best = table.getScore(1);
    if (best)
        bestTimeText = best->getTotalText();

    startCountdown.reset();
    finishCountdown.reset();
    phase = kPrepared;

    services->restartCourse();
    services->holdCar(true);
    services->stopCarSounds();
    timer.stop();
    timer.reset();
    differenceSeconds = 0.0f;
    differenceText.clear();
}

void RaceRules::startRace()
{
    services->loadGhost(getGhostPath());
    active = true;
    lastSecond = 0;
    services->playMusic();
    services->enableCarSounds();
}

void RaceRules::update(float dtSeconds)
{
    services->updateMusic();
    services->recordStep();
    if (!active)
        return;

    tickStartCountdown(dtSeconds);
    finishCountdown.update(dtSeconds);

    if (finished)
        secondsAfterFinish += dtSeconds;
    else {
        timer.update(dtSeconds);
        if (!services->updateCourse())
            finish();
        else if (services->takePassedCheckPoint())
            passCheckPoint();
    }

    if (differenceSeconds > 0.0f)
        differenceSeconds -= dtSeconds;
    else
        differenceText.clear();
}

void RaceRules::tickStartCountdown(float dtSeconds)
{
    startCountdown.update(dtSeconds);
    if (startCountdown.isRunning()) {
        const int second = countdownSecond();
        if (second != lastSecond) {
            lastSecond = second;
            services->playCountdownBeep();
        }
    }
    // The clock has just been released.
    if (lastSecond == 1 && timer.isRunning()) {
        lastSecond = 0;
        services->playStartBeep();
        services->startRecording();
        services->playGhost();
    }
}

void RaceRules::finish()
{
    finished = true;
    timer.stop();
    // The recording goes on: the ghost also shows the car standing after the line.
    current->setTotal(timer.getTime(), timer.toString());
    // The finish shows the whole run against the best one, not the last checkpoint's split.
    if (best) {
        differenceText = formatDifference(timer.getTime(), best->getTotalTime());
        differenceSeconds = kDifferenceSeconds;
    }
    table.addScore(current.get());
    raceRank = table.getLastRank();
    std::ostream& log = debugLog() << "Finish at " << timer.toString() << ", rank " << raceRank;
    if (!differenceText.empty())
        log << ", " << differenceText << " to the best";
    log << std::endl;
}

void RaceRules::passCheckPoint()
{
    const std::uint32_t nowMs = timer.getTime();
    current->addCheckPoint(static_cast<std::int32_t>(nowMs), timer.toString());
    std::ostream& log = debugLog() << "Checkpoint " << current->getCheckPointCount() << " at " << timer.toString();
    if (best) {
        const std::int64_t bestMs = best->getCheckPointTime(bestCheckPoint);
        ++bestCheckPoint;
        differenceText = formatDifference(nowMs, bestMs);
        differenceSeconds = kDifferenceSeconds;
        log << ", " << differenceText << " to the best";
    }
    log << std::endl;
}

void RaceRules::updatePhase()
{
    if (!active)
        return;
    if (startCountdown.isEnabled()) {
        phase = kCountdown;
        startCountdown.start();
        services->holdCar(true);
    }
    if (!startCountdown.isEnabled() && !startCountdown.isRunning() && !started) {
        phase = kRacing;
        started = true;
        services->holdCar(false);
        timer.start();
        debugLog() << "Race started" << std::endl;
    }
    if (finished && finishCountdown.isEnabled()) {
        phase = kFinished;
        services->holdCar(true);
        finishCountdown.start();
    }
    if (finished && !finishCountdown.isEnabled() && !finishCountdown.isRunning() && phase != kSaved) {
        services->stopRecording();
        saveResults();
        active = false;
        phase = kSaved;
    }
}

bool RaceRules::saveResults()
{
    saveError.clear();
    // A new best's table and ghost go together, as one change of their folder: the ghost beside
    // rank 1 is always its run, even if the game dies between the two.
    const std::size_t slash = highScorePath.rfind('/');  // npos + 1 is 0: no folder
    const std::string folder = slash == std::string::npos ? "./" : highScorePath.substr(0, slash + 1);
    const std::string tableName = highScorePath.substr(slash + 1);
    FileGroupWrite files(folder);
    std::string tableBytes, ghostBytes;
    try {
        tableBytes = HighScore::toArchive(table);
        files.replace(tableName, [&](const std::string& staged, std::string& error) { return writer(staged, tableBytes, error); });
        if (table.getLastRank() == 1) {
            const CarStateWriter* recording = services->getRecording();
            if (recording) {
                ghostBytes = recording->toArchive();
                files.replace(tableName + kGhostSuffix, [&](const std::string& staged, std::string& error) { return writer(staged, ghostBytes, error); });
            } else
                saveError = "no run was recorded for the ghost " + getGhostPath();
        }
    } catch (const std::exception& failure) {
        saveError = failure.what();
    }
    if (saveError.empty() && files.commit(saveError)) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.2f", secondsAfterFinish);
        debugLog() << "Race results saved " << seconds << " s after the finish" << std::endl;
        return true;
    }
    debugLog() << "Error saving the race results: " << saveError << std::endl;
    return false;
}

bool RaceRules::restart()
{
    if (phase <= kCountdown)
        return false;
    if (finished && phase < kSaved)
        saveResults();
    reset();
    services->resetCarToCheckPoint();
    services->resetDrivers();
    services->stopRecording();
    services->stopGhost();
    return true;
}

bool RaceRules::resetCar()
{
    if (phase != kRacing)
        return false;
    services->resetCarToCheckPoint();
    return true;
}

void RaceRules::pause()
{
    services->pauseMusic();
}

void RaceRules::resume()
{
    if (active)
        services->playMusic();
}

std::string RaceRules::getCountdownText() const
{
    if (phase != kCountdown)
        return "";
    return std::to_string(countdownSecond());
}

int RaceRules::countdownSecond() const
{
    // Rounded up, so the full three seconds show as "3", never as "4".
    return static_cast<int>(std::ceil(startCountdown.getRemaining()));
}

std::string RaceRules::formatDifference(std::int64_t nowMs, std::int64_t bestMs)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f", static_cast<double>(nowMs - bestMs) / 1000.0);
    return text;
}

std::string RaceRules::gearText(int gear)
{
    if (gear == 0)
        return "N";
    if (gear < 0)
        return "R";
    return std::to_string(gear);
}
