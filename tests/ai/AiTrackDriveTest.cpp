// Each computer driver takes the Roadster round every built-in track on its own, headless:
// through every gate in order to the finish, within a bound of simulated steps, never on
// its roof nor through the road; and the PID driver, handed the car through the selector
// after the player ran off the road and was put back at a gate, finishes from there.
#include "XMLParser.h"
#include "ai/AdaptivePIDOperationalAI.h"
#include "ai/AiTrackFollower.h"
#include "ai/NNOperationalAI.h"
#include "ai/NeuronalNetwork.h"
#include "ai/PIDOperationalAI.h"
#include "ai/StrategicAI.h"
#include "physic/Car.h"
#include "track/CheckPointTracker.h"
#include "track/TerrainObject.h"
#include "track/TrackSpline.h"

#include "support/BuiltInTracks.h"
#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/TrackDriveScene.h"

#include <OGRE/OgreSceneNode.h>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <set>
#include <tuple>
#include <vector>

namespace
{
constexpr float kSlowestLapKmh = 25.0f;  // average: a lap slower than this has gone wrong
constexpr float kSunk = 0.5f;            // units below the terrain: fallen through the road

struct DriverCase
{
    const char* name;
    std::function<std::unique_ptr<OperationalAI>()> make;
};

void PrintTo(const DriverCase& driver, std::ostream* out)
{
    *out << driver.name;
}

const DriverCase kDrivers[] = {
    {"PID", [] { return std::make_unique<PIDOperationalAI>(); }},
    {"AdaptivePID", [] { return std::make_unique<AdaptivePIDOperationalAI>(); }},
    // The shipped networks, driving; no training files.
    {"NeuralNet",
     [] {
         return std::make_unique<NNOperationalAI>("../media/ai/NNOperationalSpeed.net",
                                                  "../media/ai/NNOperationalSteer.net", "", "");
     }},
};
}

class AiTrackDriveTest : public ::testing::TestWithParam<std::tuple<const char*, DriverCase>>
{
};

TEST_P(AiTrackDriveTest, DriverTakesTheRoadsterThroughEveryGateToTheFinish)
{
    const std::string trackFile = std::get<0>(GetParam());
    const DriverCase& driverCase = std::get<1>(GetParam());
    OfflineEngine::loadImageCodecs();
    TrackDriveScene race(trackFile);
    MapObject& track = race.track();
    ASSERT_NE(nullptr, track.getTrackSpline());
    CheckPointTracker& tracker = *track.getCheckPointTracker();
    const auto desc = CarScene::roadster();
    auto car = race.makeCarAfterTheCountdown(*desc);

    std::unique_ptr<OperationalAI> driver = driverCase.make();
    driver->setCar(car.get());
    AiTrackFollower follower;
    follower.setOperationalAI(driver.get());
    follower.setCar(driver->getAiCar());
    follower.setTrackSpline(track.getTrackSpline());

    std::vector<int32_t> gates;
    float fastest = 0.0f;
    bool finished = false;
    const float length = track.getTrackSpline()->getLength();
    const long stepLimit = static_cast<long>(length / (kSlowestLapKmh / 3.6f) / TrackDriveScene::kStep);
    long steps = 0;
    for (; !finished && steps < stepLimit; ++steps)
    {
        follower.update(TrackDriveScene::kStep);
        const int32_t gate = tracker.getCurrentKey();
        finished = !race.step(*car);
        if (tracker.takePassed())
            gates.push_back(gate);
        fastest = std::max(fastest, car->getSpeedKmh());
        const Ogre::Vector3 at = car->getNode()->_getDerivedPosition();
        ASSERT_FALSE(car->isUpsideDown()) << "after " << steps << " steps";
        ASSERT_GT(at.y, race.scene().getTerrainObject()->getHeight(at.x, at.z) - kSunk) << "after " << steps;
    }
    std::cout << trackFile << " " << driverCase.name << ": lap of " << length << " units in "
              << steps * TrackDriveScene::kStep << " s, top " << fastest << " km/h\n";

    std::set<int32_t> numbers;
    for (const MapEntry& entry : XMLParser::getInstance()->loadMap("../media/maps/" + trackFile))
        if (entry.checkpoint >= 0)
            numbers.insert(entry.checkpoint);
    EXPECT_EQ(std::vector<int32_t>(numbers.begin(), numbers.end()), gates) << "gates in number order";
    EXPECT_TRUE(finished) << "finish not reached in " << stepLimit << " steps; at gate " << tracker.getCurrentKey();
    driver->setCar(nullptr);
    car.reset();
}

INSTANTIATE_TEST_SUITE_P(BuiltInTracks, AiTrackDriveTest,
                         ::testing::Combine(::testing::ValuesIn(BuiltInTracks::kFiles), ::testing::ValuesIn(kDrivers)),
                         [](const auto& info) {
                             return BuiltInTracks::testName(std::get<0>(info.param)) + "_" +
                                    std::get<1>(info.param).name;
                         });

// The player drives through the first gates, runs off the road, presses T (back to the last
// gate) and hands the car to the PID driver through the selector, as the game does: the
// driver takes up the road where the car stands and finishes. After every gate of a track.
class AiTakeOverTest : public ::testing::TestWithParam<const char*>
{
protected:
    // The seconds the driver took from the take-over to the finish; negative when it did not finish.
    static float raceAfterGate(const std::string& trackFile, int gatesByThePlayer, int& gateCount);
};

float AiTakeOverTest::raceAfterGate(const std::string& trackFile, int gatesByThePlayer, int& gateCount)
{
    TrackDriveScene race(trackFile);
    MapObject& track = race.track();
    CheckPointTracker& tracker = *track.getCheckPointTracker();
    gateCount = tracker.getGateCount();
    const auto desc = CarScene::roadster();
    auto car = race.makeCarAfterTheCountdown(*desc);
    StrategicAI selector("", "");
    selector.setCar(car.get());
    selector.setTrackSpline(track.getTrackSpline());
    const auto step = [&] {
        const bool going = race.step(*car);
        selector.onPhysicStep(TrackDriveScene::kStep);
        EXPECT_FALSE(car->isUpsideDown());
        return going;
    };

    // The player: a good line to the gate (a driver of its own), then two seconds at full lock.
    PIDOperationalAI player;
    player.setCar(car.get());
    AiTrackFollower playerLine;
    playerLine.setOperationalAI(&player);
    playerLine.setCar(player.getAiCar());
    playerLine.setTrackSpline(track.getTrackSpline());
    for (long steps = 0; tracker.getPassedCount() < gatesByThePlayer; ++steps)
    {
        if (steps == 100000)
            return -1.0f;
        playerLine.update(TrackDriveScene::kStep);
        step();
    }
    player.setCar(nullptr);
    for (float t = 0; t < 2.0f; t += TrackDriveScene::kStep)
    {
        car->setSteerLeft(1.0f);
        car->setThrottle(1.0f);
        step();
    }
    tracker.resetCar();  // T
    selector.nextOperationalAI();
    EXPECT_EQ(selector.getSelected()->getName(), "PID");

    const float length = track.getTrackSpline()->getLength();
    const long stepLimit = static_cast<long>(length / (kSlowestLapKmh / 3.6f) / TrackDriveScene::kStep);
    for (long steps = 0; steps < stepLimit; ++steps)
        if (!step())
            return steps * TrackDriveScene::kStep;
    return -1.0f;
}

TEST_P(AiTakeOverTest, PidDriverFinishesAfterThePlayerRanOffAndPutTheCarBack)
{
    const std::string trackFile = GetParam();
    OfflineEngine::loadImageCodecs();
    int gateCount = 0;
    for (int gate = 0; gate <= gateCount; ++gate)
    {
        const float seconds = raceAfterGate(trackFile, gate, gateCount);
        std::cout << trackFile << ", put back at gate " << gate << ": the finish " << seconds
                  << " s after the take-over\n";
        EXPECT_GT(seconds, 0.0f) << "no finish after the player was put back at gate " << gate;
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltInTracks, AiTakeOverTest, ::testing::ValuesIn(BuiltInTracks::kFiles),
                         [](const auto& info) { return BuiltInTracks::testName(info.param); });

TEST(ShippedNetworks, BothLoadWithOneInputAndOneOutput)
{
    for (const char* file : {"../media/ai/NNOperationalSpeed.net", "../media/ai/NNOperationalSteer.net"})
    {
        NeuronalNetwork network(3, 3);
        ASSERT_TRUE(network.load(file)) << file;
        EXPECT_EQ(1u, network.getInputCount()) << file;
        EXPECT_EQ(1u, network.getOutputCount()) << file;
    }
}
