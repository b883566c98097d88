// The Roadster driven round every built-in track by a scripted driver, headless: the proof
// that the car's physics, the tiles, the terrain and the driving path fit together.
#include "XMLParser.h"
#include "physic/Car.h"
#include "track/CheckPointTracker.h"
#include "track/TerrainObject.h"
#include "track/TrackSpline.h"

#include "support/BuiltInTracks.h"
#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/SplineDriver.h"
#include "support/TrackDriveScene.h"

#include <OGRE/OgreSceneNode.h>
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <vector>

namespace
{
constexpr float kCruiseKmh = 60.0f;
constexpr float kBendKmh = 35.0f;
constexpr float kSlowestLapKmh = 30.0f;  // average: a lap slower than this has gone wrong
constexpr float kCountdown = 0.5f;     // seconds held at the start
constexpr float kMostOffTrack = 9.0f;  // units from the path: still on the asphalt
constexpr float kSunk = 0.5f;          // units below the terrain: fallen through the road
}

class TrackDriveTest : public ::testing::TestWithParam<const char*>
{
};

TEST_P(TrackDriveTest, RoadsterDrivesThroughEveryGateToTheFinish)
{
    const std::string trackFile = GetParam();
    OfflineEngine::loadImageCodecs();
    TrackDriveScene race(trackFile);
    MapObject& track = race.track();
    ASSERT_NE(nullptr, track.getTrackSpline());
    CheckPointTracker& tracker = *track.getCheckPointTracker();
    ASSERT_GT(tracker.getGateCount(), 0);
    const auto desc = CarScene::roadster();
    auto car = race.makeCarAtStart(*desc);

    car->setStopped(true);  // the countdown
    for (float t = 0; t < kCountdown; t += TrackDriveScene::kStep)
        race.step(*car);
    car->setStopped(false);  // the automatic gearbox

    SplineDriver driver(*track.getTrackSpline(), kCruiseKmh, kBendKmh);
    std::vector<int32_t> gates;
    float time = 0.0f, worstOffTrack = 0.0f, fastest = 0.0f;
    bool finished = false;
    const float timeLimit = track.getTrackSpline()->getLength() / (kSlowestLapKmh / 3.6f);  // seconds
    while (!finished && time < timeLimit)
    {
        driver.drive(*car);
        const int32_t gate = tracker.getCurrentKey();
        finished = !race.step(*car);
        if (tracker.takePassed())
            gates.push_back(gate);
        time += TrackDriveScene::kStep;
        worstOffTrack = std::max(worstOffTrack, driver.getOffTrack());
        fastest = std::max(fastest, car->getSpeedKmh());
        const Ogre::Vector3 at = car->getNode()->_getDerivedPosition();
        ASSERT_FALSE(car->isUpsideDown()) << "at " << time << " s, " << driver.getProgress() << " units along";
        ASSERT_GT(at.y, race.scene().getTerrainObject()->getHeight(at.x, at.z) - kSunk) << "at " << time << " s";
    }
    std::cout << trackFile << ": lap of " << track.getTrackSpline()->getLength() << " units in " << time << " s, top "
              << fastest << " km/h, at most " << worstOffTrack << " units off the path\n";

    std::set<int32_t> numbers;
    for (const MapEntry& entry : XMLParser::getInstance()->loadMap("../media/maps/" + trackFile))
        if (entry.checkpoint >= 0)
            numbers.insert(entry.checkpoint);
    const std::vector<int32_t> expected(numbers.begin(), numbers.end());
    EXPECT_EQ(expected, gates) << "gates in number order";
    EXPECT_TRUE(finished) << "finish not reached in " << timeLimit << " s; " << driver.getProgress() << " of "
                          << track.getTrackSpline()->getLength() << " units driven";
    EXPECT_LT(worstOffTrack, kMostOffTrack);
    EXPECT_GT(fastest, kCruiseKmh * 0.8f) << "the car hardly moved";
    car.reset();
}

INSTANTIATE_TEST_SUITE_P(BuiltInTracks, TrackDriveTest, ::testing::ValuesIn(BuiltInTracks::kFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return BuiltInTracks::testName(info.param);
                         });

TEST(TrackDriveTracks, TheTableHoldsEveryTrackTheGameShips)
{
    const std::vector<std::string> shipped = BuiltInTracks::shipped();
    EXPECT_EQ(std::set<std::string>(shipped.begin(), shipped.end()),
              std::set<std::string>(std::begin(BuiltInTracks::kFiles), std::end(BuiltInTracks::kFiles)));
}
