// Trains the neural driver's networks "NNOperationalSpeed.net" and "NNOperationalSteer.net":
// the learning driver takes the Roadster round every built-in track, headless, recording
// its PID controllers' outputs; both networks are then trained from those samples with a
// fixed seed. The same build makes the same files. Run from the build's tools folder.
// usage: quillmor_nntrainer <output folder>   (the source tree's media/ai)
#include "ai/AiTrackFollower.h"
#include "ai/NNOperationalAI.h"
#include "ai/NeuronalNetwork.h"
#include "physic/Car.h"
#include "track/CheckPointTracker.h"
#include "track/TrackSpline.h"

#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/TrackDriveScene.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace
{
constexpr float kSlowestLapKmh = 25.0f;  // a lap slower than this is given up
constexpr unsigned kMaxEpochs = 2000;
constexpr unsigned kHiddenLayers = 3;
constexpr unsigned kHiddenNeurons = 3;
const char* const kTracks[] = {"TestLoop.map", "FigureEight.map", "DesertRun.map"};

// One lap with the learning driver at the wheel; false when the finish is not reached.
bool recordLap(const std::string& trackFile, NNOperationalAI& driver)
{
    TrackDriveScene race(trackFile);
    const auto desc = CarScene::roadster();
    auto car = race.makeCarAfterTheCountdown(*desc);
    driver.setCar(car.get());
    AiTrackFollower follower;
    follower.setOperationalAI(&driver);
    follower.setCar(driver.getAiCar());
    follower.setTrackSpline(race.track().getTrackSpline());
    const long limit = static_cast<long>(race.track().getTrackSpline()->getLength() / (kSlowestLapKmh / 3.6f) /
                                         TrackDriveScene::kStep);
    bool finished = false;
    long steps = 0;
    for (; !finished && steps < limit; ++steps)
    {
        follower.update(TrackDriveScene::kStep);
        finished = !race.step(*car);
    }
    driver.setCar(nullptr);
    std::cout << trackFile << ": " << (finished ? "lap" : "no lap") << " in " << steps * TrackDriveScene::kStep
              << " s\n";
    return finished;
}

bool train(const std::string& trainingFile, const std::string& input, const std::string& output,
           const std::string& networkFile)
{
    NeuronalNetwork network(kHiddenLayers, kHiddenNeurons);
    network.addName(input, true);
    network.addName(output, false);
    std::string problem;
    if (!network.trainFromFile(trainingFile, kMaxEpochs, 0, NeuronalNetwork::kDefaultTrainingSeed, &problem))
    {
        std::cerr << "cannot train " << networkFile << ": " << problem << '\n';
        return false;
    }
    if (network.save(networkFile) != 0)
    {
        std::cerr << "cannot write " << networkFile << '\n';
        return false;
    }
    std::cout << "trained " << networkFile << '\n';
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: quillmor_nntrainer <output folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string speedTraining = folder + "/speedtraining.data";
    const std::string steerTraining = folder + "/steertraining.data";
    OfflineEngine::loadImageCodecs();
    bool allLaps = true;
    {
        // No network files: the learning driver drives with its PID controllers.
        NNOperationalAI driver("", "", speedTraining, steerTraining);
        driver.setLearning(true);
        for (const char* track : kTracks)
            allLaps = recordLap(track, driver) && allLaps;
        driver.setLearning(false);  // writes both training files
    }
    const bool trained = train(speedTraining, "speeddiff", "speedresult", folder + "/NNOperationalSpeed.net") &&
                         train(steerTraining, "diffphi1", "steerresult", folder + "/NNOperationalSteer.net");
    // The samples are large and made again from the tracks: only the networks are kept.
    std::remove(speedTraining.c_str());
    std::remove(steerTraining.c_str());
    return allLaps && trained ? 0 : 1;
}
