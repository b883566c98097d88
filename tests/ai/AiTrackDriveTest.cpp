// Each computer driver takes the Roadster round every built-in track on its own, headless:
// through every gate in order to the finish, within a bound of simulated steps, never on
// its roof nor through the road.
#include "XMLParser.h"
#include "ai/AdaptivePIDOperationalAI.h"
#include "ai/AiTrackFollower.h"
#include "ai/NNOperationalAI.h"
#include "ai/NeuronalNetwork.h"
#include "ai/PIDOperationalAI.h"
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
constexpr float kCountdown = 0.5f;       // seconds held at the start
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
    auto car = race.makeCarAtStart(*desc);

    car->setStopped(true);  // the countdown
    for (float t = 0; t < kCountdown; t += TrackDriveScene::kStep)
        race.step(*car);
    car->setStopped(false);

    std::unique_ptr<OperationalAI> driver = driverCase.make();
    driver->setCar(car.get());
    AiTrackFollower follower;
    follower.setOperationalAI(driver.get());
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
