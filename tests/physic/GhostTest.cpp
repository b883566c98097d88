// The ghost: the recorder's cadence and frames on the Roadster, and the player's replay of
// a recording between its frames, with damaged recordings refused and another car's run
// driven without its wheels.
#include "CarPlayer.h"
#include "CarRecorder.h"

#include "support/CarScene.h"
#include "support/TempFolder.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace
{
// A run along +x at 100 units/s turning 10 degrees a frame, wheels bobbing and steering.
CarStateWriter straightRun(int frames, int wheels = 4)
{
    CarStateWriter run;
    run.setInt("updatePause", 10);
    run.setInt("wheelNr", wheels);
    for (int i = 0; i < frames; ++i)
    {
        const Ogre::Quaternion turn(Ogre::Degree(10.0f * i), Ogre::Vector3::UNIT_Y);
        CarStateWriter::Frame frame{{"posx", 10.0f * i}, {"posy", 1.0f}, {"posz", 0.0f},
                                    {"quatw", turn.w},   {"quatx", turn.x}, {"quaty", turn.y}, {"quatz", turn.z}};
        for (int w = 0; w < wheels; ++w)
        {
            frame[CarRecorder::wheelKey(w, "y")] = -0.01f * i;
            frame[CarRecorder::wheelKey(w, "steer")] = 0.02f * i;
            frame[CarRecorder::wheelKey(w, "roll")] = 0.5f * i;
        }
        run.addFrame(frame);
    }
    return run;
}

struct GhostTest : ::testing::Test
{
    CarScene scene;
    std::unique_ptr<CarDesc> desc = CarScene::roadster();
    TempFolder folder;

    std::string saved(const CarStateWriter& run)
    {
        const std::string path = folder.path() + "TestLoop.sde.shadow";
        EXPECT_TRUE(run.save(path));
        return path;
    }
};
}

TEST_F(GhostTest, RecorderTakesAFrameEveryTenStepsAndStopsWhenTold)
{
    auto car = scene.makeCar(*desc, Ogre::Vector3(100, 0, 100));
    CarRecorder recorder(car.get(), CarRecorder::kRaceInterval);
    EXPECT_FALSE(recorder.save(folder.path() + "none.shadow")) << "nothing recorded yet";
    recorder.start();
    EXPECT_EQ(recorder.getRecording()->getFrameCount(), 1u) << "the first frame at once";
    for (int step = 0; step < 25; ++step)
        recorder.record();
    EXPECT_EQ(recorder.getRecording()->getFrameCount(), 3u) << "at the 10th and 20th step after it";
    recorder.stop();
    for (int step = 0; step < 40; ++step)
        recorder.record();
    EXPECT_EQ(recorder.getRecording()->getFrameCount(), 3u) << "stopped";

    const CarStateWriter& run = *recorder.getRecording();
    EXPECT_EQ(run.getInt("updatePause"), 10);
    EXPECT_EQ(run.getInt("wheelNr"), 4);
    const CarStateWriter::Frame& first = *run.getFrame(0);
    EXPECT_FLOAT_EQ(first.at("posx"), car->getNode()->_getDerivedPosition().x);
    for (const char* key : {"quatw", "w0y", "w3steer", "w3roll"})
        EXPECT_EQ(first.count(key), 1u) << key;
    EXPECT_TRUE(recorder.save(folder.path() + "run.shadow"));
}

TEST_F(GhostTest, PlayerInterpolatesBetweenFrames)
{
    CarPlayer ghost("BestCarPlayer", scene.sceneManager());
    std::string error;
    ASSERT_TRUE(ghost.load(saved(straightRun(6)), *desc, &error)) << error;
    ASSERT_EQ(ghost.getWheelNodes().size(), 4u);
    EXPECT_EQ(ghost.getBodyNode()->getPosition(), Ogre::Vector3(0, 1, 0)) << "stopped at the first frame";
    ghost.update(1.0f);
    EXPECT_EQ(ghost.getBodyNode()->getPosition().x, 0.0f) << "not before it plays";

    ghost.play();
    ghost.update(0.0f);
    ghost.update(0.25f);  // two frames on, half way to the next
    EXPECT_NEAR(ghost.getBodyNode()->getPosition().x, 25.0f, 1e-3f);
    EXPECT_TRUE(ghost.getBodyNode()->getOrientation().equals(Ogre::Quaternion(Ogre::Degree(25), Ogre::Vector3::UNIT_Y),
                                                              Ogre::Degree(0.01f)));
    const Ogre::SceneNode* wheel = ghost.getWheelNodes()[2];
    EXPECT_NEAR(wheel->getPosition().y - desc->vehicle->wheels[2].position.y, -0.025f, 1e-5f);
    const Ogre::Quaternion steered = desc->vehicle->wheels[2].orientation *
                                     Ogre::Quaternion(Ogre::Radian(0.05f), Ogre::Vector3::UNIT_Y);
    EXPECT_TRUE(wheel->getOrientation().equals(steered, Ogre::Degree(0.01f)));

    ghost.update(10.0f);  // past the end: the ghost stands at the last frame
    EXPECT_NEAR(ghost.getBodyNode()->getPosition().x, 50.0f, 1e-3f);
}

TEST_F(GhostTest, PlayerReachesItsLastFrameAfterTheRunsSpan)
{
    CarPlayer ghost("BestCarPlayer", scene.sceneManager());
    ASSERT_TRUE(ghost.load(saved(straightRun(6)), *desc));
    EXPECT_FLOAT_EQ(ghost.getRunSeconds(), 0.5f) << "six frames a tenth apart";
    ghost.play();
    // Uneven frames, as a busy machine draws them; 0.49 s in all, then 0.02 s more.
    for (float seconds : {0.07f, 0.13f, 0.01f, 0.2f, 0.08f})
    {
        ghost.update(seconds);
        EXPECT_FALSE(ghost.isAtEnd()) << "after " << ghost.getPlayedSeconds() << " s";
    }
    EXPECT_NEAR(ghost.getPlayedSeconds(), 0.49f, 1e-5f);
    EXPECT_NEAR(ghost.getBodyNode()->getPosition().x, 49.0f, 1e-2f);
    ghost.update(0.02f);
    EXPECT_TRUE(ghost.isAtEnd());
    EXPECT_NEAR(ghost.getBodyNode()->getPosition().x, 50.0f, 1e-3f);

    ASSERT_TRUE(ghost.load(saved(straightRun(6)), *desc));
    EXPECT_FALSE(ghost.isAtEnd()) << "a new load plays from the start";
    EXPECT_EQ(ghost.getPlayedSeconds(), 0.0f);
}

TEST_F(GhostTest, OneFrameStandsStill)
{
    CarPlayer ghost("BestCarPlayer", scene.sceneManager());
    ASSERT_TRUE(ghost.load(saved(straightRun(1)), *desc));
    ghost.play();
    for (int frame = 0; frame < 5; ++frame)
    {
        ghost.update(0.07f);
        EXPECT_EQ(ghost.getBodyNode()->getPosition(), Ogre::Vector3(0, 1, 0));
    }
}

TEST_F(GhostTest, ARunOfAnotherWheelCountDrivesAsABodyWithoutWheels)
{
    CarStateWriter huge = straightRun(3);
    huge.setInt("wheelNr", 1 << 30);
    CarStateWriter none = straightRun(3);
    none.setInt("wheelNr", 0);
    struct Case
    {
        const char* what;
        CarStateWriter run;
    };
    const Case cases[] = {
        {"three wheels", straightRun(3, 3)},
        {"a huge wheel count", huge},
        {"no wheels", none},
    };
    const std::size_t entitiesBefore = scene.sceneManager()->getMovableObjects("Entity").size();
    for (const Case& c : cases)
    {
        CarPlayer ghost("BestCarPlayer", scene.sceneManager());
        std::string error;
        ASSERT_TRUE(ghost.load(saved(c.run), *desc, &error)) << c.what << ": " << error;
        EXPECT_TRUE(ghost.hasGhost()) << c.what;
        EXPECT_TRUE(ghost.getWheelNodes().empty()) << c.what;
        EXPECT_EQ(scene.sceneManager()->getMovableObjects("Entity").size(), entitiesBefore + 1)
            << c.what << ": the body alone";
        ghost.play();
        ghost.update(0.15f);
        EXPECT_NEAR(ghost.getBodyNode()->getPosition().x, 15.0f, 1e-3f) << c.what << ": it drives";
    }
}

TEST_F(GhostTest, ForeignAndDamagedRecordingsGiveNoGhost)
{
    CarStateWriter slow = straightRun(3);
    slow.setInt("updatePause", -5);
    struct Case
    {
        const char* what;
        CarStateWriter run;
        const char* reason;
    };
    const Case cases[] = {
        {"no frames", straightRun(0), "no frames"},
        {"a negative interval", slow, "interval"},
    };
    const std::size_t nodesBefore = scene.sceneManager()->getRootSceneNode()->numChildren();
    for (const Case& c : cases)
    {
        CarPlayer ghost("BestCarPlayer", scene.sceneManager());
        std::string error;
        EXPECT_FALSE(ghost.load(saved(c.run), *desc, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(".shadow"), std::string::npos) << c.what << ": the file is named";
        EXPECT_FALSE(ghost.hasGhost()) << c.what;
        EXPECT_EQ(scene.sceneManager()->getRootSceneNode()->numChildren(), nodesBefore) << c.what;
    }
    CarPlayer ghost("BestCarPlayer", scene.sceneManager());
    folder.write("garbage.shadow", "not a recording");
    std::string error;
    EXPECT_FALSE(ghost.load(folder.path() + "garbage.shadow", *desc, &error));
    EXPECT_NE(error.find("garbage.shadow"), std::string::npos) << error;
}

TEST_F(GhostTest, ClearedGhostLeavesNothingBehind)
{
    const std::size_t nodesBefore = scene.sceneManager()->getRootSceneNode()->numChildren();
    const std::size_t entitiesBefore = scene.sceneManager()->getMovableObjects("Entity").size();
    {
        CarPlayer ghost("BestCarPlayer", scene.sceneManager());
        ASSERT_TRUE(ghost.load(saved(straightRun(4)), *desc));
        ASSERT_TRUE(ghost.load(saved(straightRun(5)), *desc)) << "a second load replaces the first";
        EXPECT_EQ(scene.sceneManager()->getMovableObjects("Entity").size(), entitiesBefore + 5);
    }
    EXPECT_EQ(scene.sceneManager()->getRootSceneNode()->numChildren(), nodesBefore);
    EXPECT_EQ(scene.sceneManager()->getMovableObjects("Entity").size(), entitiesBefore);
}
