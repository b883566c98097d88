// The race rules against fake services: the countdown's beeps, the clock, the checkpoint
// differences, the finish and its saving, restarts and car resets in every phase.
#include "CarStateWriter.h"
#include "FolderManager.h"
#include "RaceRules.h"

#include "AtomicFile.h"
#include "RaceServices.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace
{
constexpr float kStep = 0.01f;  // seconds

// Counts what the rules asked for; the test moves the car through the course by hand.
class FakeServices : public RaceServices
{
public:
    bool updateCourse() override { return !atFinish; }
    bool takePassedCheckPoint() override
    {
        const bool was = passed;
        passed = false;
        return was;
    }
    void restartCourse() override { ++calls["restartCourse"]; atFinish = false; }
    void resetCarToCheckPoint() override { ++calls["resetCar"]; }
    void holdCar(bool held) override { carHeld = held; }
    void stopCarSounds() override { ++calls["stopCarSounds"]; }
    void enableCarSounds() override { ++calls["enableCarSounds"]; }
    void playCountdownBeep() override { beeps.push_back(1); }
    void playStartBeep() override { beeps.push_back(2); }
    void playMusic() override { ++calls["playMusic"]; }
    void pauseMusic() override { ++calls["pauseMusic"]; }
    void updateMusic() override {}
    // A frame per step while recording, numbered from the start.
    void startRecording() override
    {
        recording = true;
        ++calls["startRecording"];
        run = std::make_unique<CarStateWriter>();
        recordStep();
    }
    void recordStep() override
    {
        if (recording)
            run->addFrame({{"step", static_cast<float>(recordedSteps++)}});
    }
    void stopRecording() override { recording = false; }
    const CarStateWriter* getRecording() const override { return run.get(); }
    void loadGhost(const std::string& path) override { loadedGhosts.push_back(path); }
    void playGhost() override { ++calls["playGhost"]; }
    void stopGhost() override { ++calls["stopGhost"]; }
    void resetDrivers() override { ++calls["resetDrivers"]; }

    bool atFinish = false;
    bool passed = false;
    bool carHeld = false;
    bool recording = false;
    int recordedSteps = 0;
    std::unique_ptr<CarStateWriter> run;
    std::vector<int> beeps;
    std::vector<std::string> loadedGhosts;
    std::map<std::string, int> calls;
};

class RaceRulesTest : public ::testing::Test
{
protected:
    // One physics step and the frame after it.
    void frame()
    {
        rules.update(kStep);
        rules.updatePhase();
    }
    void frames(int count)
    {
        for (int i = 0; i < count; ++i)
            frame();
    }
    void runUntilPhase(int phase)
    {
        for (int i = 0; i < 100000 && rules.getPhase() != phase; ++i)
            frame();
        ASSERT_EQ(rules.getPhase(), phase);
    }
    void passCheckPoint()
    {
        services.passed = true;
        frame();
    }
    // A whole race: start, optional checkpoints after the given seconds of racing, finish.
    void race(const std::vector<float>& checkPointSeconds, float finishSeconds)
    {
        rules.startRace();
        runUntilPhase(RaceRules::kRacing);
        float at = 0.0f;
        for (float seconds : checkPointSeconds) {
            frames(static_cast<int>((seconds - at) / kStep + 0.5f) - 1);
            passCheckPoint();
            at = seconds;
        }
        frames(static_cast<int>((finishSeconds - at) / kStep + 0.5f) - 1);
        services.atFinish = true;
        runUntilPhase(RaceRules::kSaved);
    }
    bool tableFileExists() const { return std::ifstream(path).good(); }
    // The frames of the ghost file, -1 when there is none.
    int ghostFrames() const
    {
        CarStateWriter ghost;
        return ghost.load(path + ".shadow") ? static_cast<int>(ghost.getFrameCount()) : -1;
    }

    TempFolder folder;
    std::string path = folder.path() + "Oval.sde";
    FakeServices services;
    // Writes whole files, until told to fail its n-th write from then on (a full disk).
    int writes = 0;
    int failingWrite = 0;
    RaceRules rules{&services, path, [this](const std::string& file, const std::string& content, std::string& error) {
                        if (++writes == failingWrite) {
                            error = "injected failure";
                            return false;
                        }
                        return writeFileAtomically(file, content, &error);
                    }};
};
}  // namespace

TEST_F(RaceRulesTest, CountsDownWithBeepsThenRacesFinishesAndSaves)
{
    EXPECT_EQ(rules.getPhase(), RaceRules::kPrepared);
    EXPECT_TRUE(services.carHeld);
    rules.updatePhase();
    EXPECT_EQ(rules.getPhase(), RaceRules::kPrepared) << "nothing happens before the start";

    rules.startRace();
    EXPECT_EQ(services.loadedGhosts, std::vector<std::string>{path + ".shadow"});
    std::vector<std::string> shown;
    while (rules.getPhase() != RaceRules::kRacing) {
        frame();
        ASSERT_LT(shown.size() + services.beeps.size(), 1000u);
        if (rules.getPhase() != RaceRules::kCountdown)
            continue;
        if (shown.empty() || shown.back() != rules.getCountdownText())
            shown.push_back(rules.getCountdownText());
        EXPECT_TRUE(services.carHeld);
        EXPECT_EQ(rules.getTimer().getTime(), 0u);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(services.beeps, (std::vector<int>{1, 1, 1}));
    EXPECT_FALSE(services.carHeld);
    EXPECT_EQ(rules.getCountdownText(), "");
    EXPECT_EQ(services.calls["startRecording"], 0);

    frame();
    EXPECT_EQ(services.beeps, (std::vector<int>{1, 1, 1, 2})) << "the start signal on the first step of the clock";
    EXPECT_EQ(services.calls["startRecording"], 1);
    EXPECT_EQ(services.calls["playGhost"], 1);
    frames(50);
    EXPECT_EQ(services.beeps.size(), 4u);
    EXPECT_GT(rules.getTimer().getTime(), 0u);

    passCheckPoint();
    EXPECT_EQ(rules.getCurrentScore().getCheckPointCount(), 1u);
    EXPECT_EQ(rules.getDifferenceText(), "") << "no best run, no difference";

    services.atFinish = true;
    frame();
    EXPECT_EQ(rules.getPhase(), RaceRules::kFinished);
    EXPECT_TRUE(services.carHeld);
    EXPECT_TRUE(services.recording) << "the ghost also shows the car standing after the line";
    const int stepsAtFinish = services.recordedSteps;
    const unsigned long total = rules.getTimer().getTime();
    frames(100);
    EXPECT_EQ(rules.getTimer().getTime(), total) << "the clock stopped at the finish";
    EXPECT_FALSE(rules.isRaceOver());
    EXPECT_FALSE(tableFileExists());

    runUntilPhase(RaceRules::kSaved);
    EXPECT_TRUE(rules.isRaceOver());
    EXPECT_FALSE(rules.isActive());
    EXPECT_EQ(rules.getRaceRank(), 1);
    EXPECT_FALSE(services.recording) << "until the results are saved";
    EXPECT_NEAR((services.recordedSteps - stepsAtFinish) * kStep, RaceRules::kFinishSeconds, 1.5f * kStep)
        << "recorded until the results were saved";
    EXPECT_EQ(ghostFrames(), services.recordedSteps) << "the ghost file holds the whole recording";
    const HighScore saved = HighScore::load(path);
    ASSERT_NE(saved.getScore(1), nullptr);
    EXPECT_EQ(saved.getScore(1)->getTotalTime(), total);
    EXPECT_EQ(saved.getLastRank(), 1);
    EXPECT_EQ(rules.getSaveError(), "");
}

TEST_F(RaceRulesTest, FinishIsSavedThreeSecondsAfterIt)
{
    rules.startRace();
    runUntilPhase(RaceRules::kRacing);
    frames(10);
    services.atFinish = true;
    frame();
    ASSERT_EQ(rules.getPhase(), RaceRules::kFinished);
    frames(static_cast<int>(RaceRules::kFinishSeconds / kStep) - 2);
    EXPECT_EQ(rules.getPhase(), RaceRules::kFinished);
    frames(3);
    EXPECT_EQ(rules.getPhase(), RaceRules::kSaved);
}

TEST_F(RaceRulesTest, DifferencesToTheBestRunShowForFourSeconds)
{
    race({1.0f, 2.0f}, 5.0f);
    const HighScore firstTable = HighScore::load(path);
    const Score* first = firstTable.getScore(1);
    ASSERT_NE(first, nullptr);
    const std::int64_t split1 = first->getCheckPointTime(0);
    const std::int64_t split2 = first->getCheckPointTime(1);
    const int firstGhostFrames = ghostFrames();
    ASSERT_GT(firstGhostFrames, 0);

    ASSERT_TRUE(rules.restart());
    EXPECT_EQ(rules.getBestTimeText(), first->getTotalText());
    rules.startRace();
    runUntilPhase(RaceRules::kRacing);
    frames(59);
    passCheckPoint();  // 0.4 s faster than the best run
    const std::int64_t now1 = rules.getCurrentScore().getCheckPointTime(0);
    EXPECT_EQ(rules.getDifferenceText(), RaceRules::formatDifference(now1, split1));
    EXPECT_EQ(rules.getDifferenceText().front(), '-');

    frames(static_cast<int>(RaceRules::kDifferenceSeconds / kStep) - 2);
    EXPECT_NE(rules.getDifferenceText(), "") << "still shown just before 4 s";
    passCheckPoint();  // the second one restarts the 4 s
    const std::int64_t now2 = rules.getCurrentScore().getCheckPointTime(1);
    EXPECT_EQ(rules.getDifferenceText(), RaceRules::formatDifference(now2, split2));
    EXPECT_EQ(rules.getDifferenceText().front(), '+');
    frames(static_cast<int>(RaceRules::kDifferenceSeconds / kStep) - 2);
    EXPECT_NE(rules.getDifferenceText(), "");
    frames(3);
    EXPECT_EQ(rules.getDifferenceText(), "") << "gone 4 s after the checkpoint";

    // A slower run enters at rank 2: the table is written, the ghost is not.
    frames(500);
    services.atFinish = true;
    runUntilPhase(RaceRules::kSaved);
    EXPECT_EQ(rules.getRaceRank(), 2);
    EXPECT_EQ(ghostFrames(), firstGhostFrames) << "only a new best writes the ghost";
    EXPECT_EQ(HighScore::load(path).size(), 2u);
    EXPECT_EQ(services.loadedGhosts.size(), 2u) << "the second race replays the best run";
}

TEST_F(RaceRulesTest, FinishShowsTheWholeRunAgainstTheBest)
{
    race({1.0f}, 5.0f);
    const unsigned long bestMs = HighScore::load(path).getScore(1)->getTotalTime();

    // A checkpoint 0.4 s ahead, then the finish 1 s ahead while that split still shows.
    ASSERT_TRUE(rules.restart());
    rules.startRace();
    runUntilPhase(RaceRules::kRacing);
    frames(59);
    passCheckPoint();
    const std::string splitText = rules.getDifferenceText();
    frames(339);
    services.atFinish = true;
    frame();
    ASSERT_EQ(rules.getPhase(), RaceRules::kFinished);
    const unsigned long nowMs = rules.getCurrentScore().getTotalTime();
    EXPECT_EQ(rules.getDifferenceText(), RaceRules::formatDifference(nowMs, bestMs));
    EXPECT_NE(rules.getDifferenceText(), splitText);
    EXPECT_EQ(rules.getDifferenceText().front(), '-');
    frames(static_cast<int>(RaceRules::kFinishSeconds / kStep) - 2);
    EXPECT_NE(rules.getDifferenceText(), "") << "shown until the results open";
}

TEST(RaceRulesText, DifferencesAndGears)
{
    struct Case
    {
        std::int64_t nowMs, bestMs;
        const char* text;
    };
    const Case differences[] = {
        {1250, 0, "+1.25"},  // the best run had fewer checkpoints
        {600, 1000, "-0.40"},
        {1000, 1000, "+0.00"},
        {0, 4000000000LL, "-4000000.00"},  // far faster than a huge split: no wrap-around
        {4000000000LL, 10, "+3999999.99"},
    };
    for (const Case& c : differences)
        EXPECT_EQ(RaceRules::formatDifference(c.nowMs, c.bestMs), c.text) << c.nowMs << " vs " << c.bestMs;

    const std::pair<int, const char*> gears[] = {{-1, "R"}, {-2, "R"}, {0, "N"}, {1, "1"}, {6, "6"}};
    for (const auto& [gear, text] : gears)
        EXPECT_EQ(RaceRules::gearText(gear), text) << gear;
}

TEST_F(RaceRulesTest, RestartInEveryPhase)
{
    EXPECT_FALSE(rules.restart()) << "prepared";
    EXPECT_EQ(services.calls["resetCar"], 0);

    rules.startRace();
    frame();
    ASSERT_EQ(rules.getPhase(), RaceRules::kCountdown);
    frames(50);
    const std::string countdown = rules.getCountdownText();
    const auto calls = services.calls;
    EXPECT_FALSE(rules.restart()) << "a restart during the countdown changes nothing";
    EXPECT_EQ(rules.getPhase(), RaceRules::kCountdown);
    EXPECT_EQ(rules.getCountdownText(), countdown);
    EXPECT_EQ(services.calls, calls);
    EXPECT_TRUE(rules.isActive());

    runUntilPhase(RaceRules::kRacing);
    frames(20);
    EXPECT_TRUE(rules.restart()) << "racing";
    EXPECT_EQ(rules.getPhase(), RaceRules::kPrepared);
    EXPECT_FALSE(rules.isActive());
    EXPECT_EQ(rules.getTimer().getTime(), 0u);
    EXPECT_TRUE(services.carHeld);
    EXPECT_EQ(services.calls["resetCar"], 1);
    EXPECT_EQ(services.calls["resetDrivers"], 1);
    EXPECT_EQ(services.calls["stopGhost"], 1);
    EXPECT_FALSE(services.recording);
    EXPECT_FALSE(tableFileExists()) << "an unfinished race saves nothing";

    rules.startRace();
    runUntilPhase(RaceRules::kRacing);
    frames(20);
    services.atFinish = true;
    frame();
    ASSERT_EQ(rules.getPhase(), RaceRules::kFinished);
    EXPECT_TRUE(rules.restart()) << "finished";
    EXPECT_EQ(HighScore::load(path).size(), 1u) << "the finished race is saved before the reset";
    EXPECT_GT(ghostFrames(), 0);

    race({}, 1.0f);
    EXPECT_EQ(HighScore::load(path).size(), 2u);
    std::remove(path.c_str());
    EXPECT_TRUE(rules.restart()) << "saved";
    EXPECT_FALSE(tableFileExists()) << "nothing more is saved once saved";
    EXPECT_EQ(rules.getPhase(), RaceRules::kPrepared);
}

TEST_F(RaceRulesTest, ResetCarOnlyWhileRacing)
{
    EXPECT_FALSE(rules.resetCar());
    rules.startRace();
    frame();
    EXPECT_FALSE(rules.resetCar()) << "countdown";
    runUntilPhase(RaceRules::kRacing);
    EXPECT_TRUE(rules.resetCar());
    services.atFinish = true;
    frame();
    EXPECT_FALSE(rules.resetCar()) << "finished";
    runUntilPhase(RaceRules::kSaved);
    EXPECT_FALSE(rules.resetCar()) << "saved";
    EXPECT_EQ(services.calls["resetCar"], 1);
}

TEST_F(RaceRulesTest, ANewBestsTableAndGhostAreWrittenAsOneOrNotAtAll)
{
    race({}, 5.0f);
    const std::string oldTable = TempFolder::read(path);
    const std::string oldGhost = TempFolder::read(path + ".shadow");
    ASSERT_FALSE(oldGhost.empty());

    // A faster run, and the second file can't be written (a full disk).
    ASSERT_TRUE(rules.restart());
    writes = 0;
    failingWrite = 2;
    race({}, 4.0f);
    EXPECT_TRUE(rules.isRaceOver());
    EXPECT_EQ(rules.getRaceRank(), 1);
    EXPECT_NE(rules.getSaveError().find("injected failure"), std::string::npos) << rules.getSaveError();
    EXPECT_EQ(TempFolder::read(path), oldTable) << "the old best keeps its table";
    EXPECT_EQ(TempFolder::read(path + ".shadow"), oldGhost) << "and its ghost";
    EXPECT_EQ(FolderManager::getFileList(folder.path()),
              (std::vector<std::string>{".", "..", "Oval.sde", "Oval.sde.shadow"}))
        << "no temporary left behind";
}

TEST_F(RaceRulesTest, AFailedSaveNamesTheFileAndTheRaceStillEnds)
{
    const std::string missing = folder.path() + "no/such/folder/Oval.sde";
    RaceRules unsaved(&services, missing);
    unsaved.startRace();
    for (int i = 0; i < 1000 && unsaved.getPhase() != RaceRules::kRacing; ++i) {
        unsaved.update(kStep);
        unsaved.updatePhase();
    }
    services.atFinish = true;
    for (int i = 0; i < 1000 && !unsaved.isRaceOver(); ++i) {
        unsaved.update(kStep);
        unsaved.updatePhase();
    }
    ASSERT_TRUE(unsaved.isRaceOver());
    EXPECT_NE(unsaved.getSaveError().find("no/such/folder/Oval.sde"), std::string::npos) << unsaved.getSaveError();
    EXPECT_FALSE(unsaved.saveResults());
}

TEST_F(RaceRulesTest, MusicResumesOnlyDuringARace)
{
    rules.resume();
    EXPECT_EQ(services.calls["playMusic"], 0);
    rules.startRace();
    rules.pause();
    rules.resume();
    EXPECT_EQ(services.calls["pauseMusic"], 1);
    EXPECT_EQ(services.calls["playMusic"], 2);
}
