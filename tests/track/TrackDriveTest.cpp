// The Roadster driven round every built-in track by a scripted driver, headless, with a
// wheel and with the keys: the proof that the car's physics, the tiles, the terrain and the
// driving path fit together, and that a player on the keys takes every bend.
#include "XMLParser.h"
#include "physic/Car.h"
#include "track/CheckPointTracker.h"
#include "track/TerrainObject.h"
#include "track/TrackSpline.h"

#include "support/BuiltInTracks.h"
#include "support/CarScene.h"
#include "support/OfflineEngine.h"
#include "support/RoadsterDrive.h"
#include "support/SplineDriver.h"
#include "support/TrackDriveScene.h"

#include <OGRE/OgreSceneNode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <tuple>
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

class TrackDriveTest : public ::testing::TestWithParam<std::tuple<const char*, SplineDriver::Steering>>
{
};

TEST_P(TrackDriveTest, RoadsterDrivesThroughEveryGateToTheFinish)
{
    const std::string trackFile = std::get<0>(GetParam());
    const SplineDriver::Steering steering = std::get<1>(GetParam());
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

    SplineDriver driver(*track.getTrackSpline(), kCruiseKmh, kBendKmh, steering);
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
    std::cout << trackFile << (steering == SplineDriver::Steering::Keys ? " on the keys" : "") << ": lap of " << track.getTrackSpline()->getLength() << " units in " << time << " s, top "
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

INSTANTIATE_TEST_SUITE_P(BuiltInTracks, TrackDriveTest,
                         ::testing::Combine(::testing::ValuesIn(BuiltInTracks::kFiles),
                                            ::testing::Values(SplineDriver::Steering::Analogue,
                                                              SplineDriver::Steering::Keys)),
                         [](const ::testing::TestParamInfo<TrackDriveTest::ParamType>& info) {
                             const bool keys = std::get<1>(info.param) == SplineDriver::Steering::Keys;
                             return BuiltInTracks::testName(std::get<0>(info.param)) + (keys ? "_Keys" : "_Wheel");
                         });

namespace
{
// The radius of the path's tightest bend, from circles through points a few units apart.
float tightestBendRadius(const TrackSpline& spline)
{
    constexpr float kChord = 6.0f;  // units
    float tightest = 1e9f;
    for (float along = kChord; along + kChord < spline.getLength(); along += 1.0f)
    {
        const Ogre::Vector3 a = spline.getPointAt(along - kChord), b = spline.getPointAt(along),
                            c = spline.getPointAt(along + kChord);
        const Ogre::Vector2 p(a.x, a.z), q(b.x, b.z), r(c.x, c.z);
        const float cross = std::fabs((q - p).crossProduct(r - p));
        if (cross > 1e-4f)
            tightest = std::min(tightest, p.distance(q) * q.distance(r) * r.distance(p) / (2.0f * cross));
    }
    return tightest;
}
}

class TightestBendTest : public ::testing::TestWithParam<const char*>
{
};

// A player on the keys holds the key through a bend: at the speed a bend is taken, the
// circle the car turns on with the key held is no wider than the track's tightest bend.
TEST_P(TightestBendTest, AHeldKeyTurnsTighterThanTheTightestBend)
{
    constexpr float kBendEntryKmh = 40.0f;
    OfflineEngine::loadImageCodecs();
    float bend = 0.0f;
    {
        TrackDriveScene race(GetParam());
        ASSERT_NE(nullptr, race.track().getTrackSpline());
        bend = tightestBendRadius(*race.track().getTrackSpline());
    }
    RoadsterDrive drive(std::string(QUILLMOR_BUILD_DIR) + "/media");
    drive.run(1.0f);
    drive.inputs.throttle = 1.0f;
    drive.run(20.0f, [&] { return drive.forwardKmh() < kBendEntryKmh; });
    drive.inputs.steer = 1.0f;  // a key, at the car's steering speed
    float turned = 0.0f;
    drive.run(3.0f, [&] {
        drive.inputs.throttle = std::clamp(0.3f + 0.15f * (kBendEntryKmh - drive.forwardKmh()), 0.02f, 1.0f);
        turned += drive.yawRate() * drive.stepSeconds();
        return turned < Ogre::Math::HALF_PI;
    });
    const float circle = drive.velocity().length() / std::fabs(drive.yawRate());
    std::cout << GetParam() << ": tightest bend " << bend << " units, the held key's circle at "
              << drive.forwardKmh() << " km/h " << circle << " units\n";
    EXPECT_GE(turned, Ogre::Math::HALF_PI) << "a right angle turned within 3 s";
    EXPECT_LE(circle, bend);
}

INSTANTIATE_TEST_SUITE_P(BuiltInTracks, TightestBendTest, ::testing::ValuesIn(BuiltInTracks::kFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return BuiltInTracks::testName(info.param);
                         });

TEST(TrackDriveTracks, TheTableHoldsEveryTrackTheGameShips)
{
    const std::vector<std::string> shipped = BuiltInTracks::shipped();
    EXPECT_EQ(std::set<std::string>(shipped.begin(), shipped.end()),
              std::set<std::string>(std::begin(BuiltInTracks::kFiles), std::end(BuiltInTracks::kFiles)));
}
